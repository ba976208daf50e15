// SPDX-License-Identifier: GPL-3.0-or-later
#include "cdtext/cli/importcommand.h"

#include "cdtext/audio/audiotags.h"
#include "cdtext/cli/command.h"
#include "cdtext/cli/commandio.h"
#include "cdtext/cli/messages.h"
#include "cdtext/list/tracklist.h"
#include "model/safefile.h"

#include <QFileInfo>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include <unistd.h>

namespace sonolabe::cdtext {

using namespace Qt::Literals::StringLiterals;

namespace {

// Sources are a few kilobytes; a pack file holds at most 8 x 256 packs.
constexpr qint64 MaxSourceBytes = qint64(16) << 20;
// A broken pack file may have a wrong CRC in every pack; the first few tell.
constexpr int CrcMismatchesShown = 10;

const QString StandardInput = u"-"_s;

// Standard input to its end, at most maxBytes.
FileReadResult readStandardInput(qint64 maxBytes)
{
    FileReadResult result;
    char buffer[65536];
    for (;;) {
        const ssize_t got = ::read(STDIN_FILENO, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0 || result.bytes.size() + got > maxBytes) {
            result.reason = QString::fromLocal8Bit(std::strerror(got < 0 ? errno : EFBIG));
            return result;
        }
        if (got == 0)
            break;
        result.bytes.append(buffer, got);
    }
    result.ok = true;
    return result;
}

SourceKind sourceKindOf(ImportKind kind)
{
    switch (kind) {
    case ImportKind::Packs:
        return SourceKind::Packs;
    case ImportKind::V07t:
        return SourceKind::V07t;
    case ImportKind::Cue:
        return SourceKind::Cue;
    case ImportKind::Toc:
        break;
    }
    return SourceKind::Toc;
}

// The notes that refuse the source as a whole.
bool refuses(const AudioNote &note)
{
    return note.kind == AudioNote::TooManyFiles || note.kind == AudioNote::NoAudioFiles ||
           note.kind == AudioNote::DiscsMixed || note.kind == AudioNote::NoSuchDisc;
}

bool refuses(const TrackListNote &note)
{
    return note.kind == TrackListNote::TooManyTracks;
}

class ImportRun : private CommandIo
{
public:
    ImportRun(const Options &options, QIODevice &out, QIODevice &err)
        : CommandIo(out, err), m_options(options)
    {}

    int run();

private:
    std::optional<int> unfitOption(SourceKind kind);
    int importSheet(const QByteArray &bytes, ImportKind kind);
    int importList(const QByteArray &bytes);
    int importAudio();
    // Tells the reader's notes, the refusing ones as errors; true when one
    // refused the source.
    template<typename Note>
    bool tell(const std::vector<Note> &notes);
    int finishImport(const ImportResult &result, const QString &source, SourceKind kind);
    void report(const ImportResult &result);

    const Options &m_options;
};

int ImportRun::run()
{
    const QStringList &files = m_options.files;
    if (m_options.block && (*m_options.block < 0 || *m_options.block >= MaxBlocks))
        return usage(Messages::blockOutOfRange(*m_options.block));
    for (const QString &file : files) {
        if (m_options.output && file != StandardInput && SameFile(*m_options.output, file))
            return usage(Messages::outputIsSource(*m_options.output));
    }
    std::optional<SourceKind> from = m_options.from;
    if (!from && (files.size() > 1 || QFileInfo(m_options.file).isDir()))
        from = SourceKind::Audio;
    if (from == SourceKind::Audio)
        return importAudio();
    if (files.size() > 1)
        return usage(Messages::extraArgument(files[1]));

    const bool standardInput = m_options.file == StandardInput;
    const FileReadResult read = standardInput ? readStandardInput(MaxSourceBytes)
                                              : readRegularFile(m_options.file, MaxSourceBytes);
    if (!from && read.ok) {
        if (const std::optional<ImportKind> kind = DetectImportKind(read.bytes))
            return importSheet(read.bytes, *kind);
    }
    // Audio files are larger than any sheet: TagLib reads them where they are.
    if (!from && !standardInput && readAudioTrack(m_options.file))
        return importAudio();
    if (!read.ok)
        return refuse(Messages::cannotRead(m_options.file, read.reason));
    if (!from)
        return refuse(Messages::kindUnknown(m_options.file));
    if (*from == SourceKind::List)
        return importList(read.bytes);
    return importSheet(read.bytes, *ImportKindOf(*from));
}

// The usage error of an option the source does not take, or nothing.
std::optional<int> ImportRun::unfitOption(SourceKind kind)
{
    const bool sheet = kind != SourceKind::List && kind != SourceKind::Audio;
    const QString source = Messages::sourceName(kind);
    if (m_options.block && kind == SourceKind::Cue)
        return usage(Messages::blockNotForCue());
    if (m_options.block && !sheet)
        return usage(Messages::optionNotForSource(u"--block"_s, source));
    if (m_options.ignoreCrc && !sheet)
        return usage(Messages::optionNotForSource(u"--ignore-crc"_s, source));
    if (m_options.disc && sheet)
        return usage(Messages::optionNotForSource(u"--disc"_s, source));
    if (m_options.artist && kind != SourceKind::List)
        return usage(Messages::optionNotForSource(u"--artist"_s, source));
    if (m_options.encoding && kind != SourceKind::Cue)
        return usage(Messages::optionNotForSource(u"--encoding"_s, source));
    return std::nullopt;
}

int ImportRun::importSheet(const QByteArray &bytes, ImportKind kind)
{
    const SourceKind source = sourceKindOf(kind);
    if (const std::optional<int> unfit = unfitOption(source))
        return *unfit;
    return finishImport(ImportTexts(bytes, kind,
                                    {.block = m_options.block,
                                     .language = m_options.language,
                                     .ignoreCrc = m_options.ignoreCrc,
                                     .encoding = m_options.encoding}),
                        m_options.file, source);
}

int ImportRun::importList(const QByteArray &bytes)
{
    if (const std::optional<int> unfit = unfitOption(SourceKind::List))
        return *unfit;
    const TrackList list = readTrackList(bytes);
    if (tell(list.notes))
        return ExitRefused;
    SourceTexts texts = trackListSourceTexts(list);
    if (!texts.blocks.empty()) {
        texts.blocks.front().discTitle = m_options.disc.value_or(QString());
        if (m_options.artist)
            texts.blocks.front().discPerformer = *m_options.artist;
    }
    ImportChoice choice;
    choice.language = m_options.language;
    return finishImport(ImportSourceTexts(texts, choice), m_options.file, SourceKind::List);
}

int ImportRun::importAudio()
{
    if (const std::optional<int> unfit = unfitOption(SourceKind::Audio))
        return *unfit;
    AudioChoice choice;
    if (m_options.disc) {
        bool ok = false;
        choice.disc = m_options.disc->toInt(&ok);
        if (!ok || *choice.disc < 1)
            return usage(Messages::notANumber(u"--disc"_s, *m_options.disc));
    }
    const AudioTexts texts = readAudioTags(m_options.files, choice);
    if (tell(texts.notes))
        return ExitRefused;
    const QString source =
        m_options.files.size() == 1 ? m_options.file : m_options.file + u" …"_s;
    ImportChoice language;
    language.language = m_options.language;
    return finishImport(ImportSourceTexts(audioSourceTexts(texts), language), source,
                        SourceKind::Audio);
}

template<typename Note>
bool ImportRun::tell(const std::vector<Note> &notes)
{
    bool refused = false;
    for (const Note &note : notes) {
        if (refuses(note)) {
            refuse(Messages::note(note));
            refused = true;
        } else {
            say(Messages::warning(Messages::note(note)));
        }
    }
    return refused;
}

int ImportRun::finishImport(const ImportResult &result, const QString &source, SourceKind kind)
{
    report(result);
    const bool crcRefused =
        std::any_of(result.notes.begin(), result.notes.end(),
                    [](const SourceNote &note) { return note.kind == SourceNote::CrcMismatch; });
    if (!result.store)
        return refuse(crcRefused ? Messages::crcRefused(source) : Messages::nothingRead(source));
    if (const int written = deliver(m_options.output, result.titleFile()); written != ExitDone)
        return written;
    say(Messages::imported(source, kind, result.store->trackCount, result.sections));
    return ExitDone;
}

void ImportRun::report(const ImportResult &result)
{
    // What was read all the same, or as the source has it, is a note.
    const auto said = [](const SourceNote &note) {
        const bool notice = note.kind == SourceNote::CrcIgnored ||
                            note.kind == SourceNote::CrcNotFilledIn ||
                            note.kind == SourceNote::FirstTrackNotOne;
        return notice ? Messages::notice(Messages::note(note))
                      : Messages::warning(Messages::note(note));
    };
    int crcMismatches = 0;
    std::optional<SourceNote> lastCrc;
    for (const SourceNote &note : result.notes) {
        const bool crc =
            note.kind == SourceNote::CrcMismatch || note.kind == SourceNote::CrcIgnored;
        if (crc)
            lastCrc = note;
        if (crc && ++crcMismatches > CrcMismatchesShown)
            continue;
        say(said(note));
    }
    if (crcMismatches > CrcMismatchesShown) {
        const QString more = Messages::moreCrcMismatches(crcMismatches - CrcMismatchesShown);
        say(lastCrc->kind == SourceNote::CrcIgnored ? Messages::notice(more)
                                                    : Messages::warning(more));
    }
    for (const Replacement &replacement : result.replacements)
        say(Messages::warning(Messages::replacement(replacement)));
}

} // namespace

int RunImport(const Options &options, QIODevice &out, QIODevice &err)
{
    ImportRun run(options, out, err);
    return run.run();
}

} // namespace sonolabe::cdtext
