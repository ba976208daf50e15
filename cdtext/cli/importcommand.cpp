// SPDX-License-Identifier: GPL-3.0-or-later
#include "cdtext/cli/importcommand.h"

#include "cdtext/cli/command.h"
#include "cdtext/cli/commandio.h"
#include "cdtext/cli/messages.h"
#include "model/safefile.h"

#include <algorithm>

namespace sonolabe::cdtext {

using namespace Qt::Literals::StringLiterals;

namespace {

// Sources are a few kilobytes; a pack file holds at most 8 x 256 packs.
constexpr qint64 MaxSourceBytes = qint64(16) << 20;
// A broken pack file may have a wrong CRC in every pack; the first few tell.
constexpr int CrcMismatchesShown = 10;

class ImportRun : private CommandIo
{
public:
    ImportRun(const Options &options, QIODevice &out, QIODevice &err)
        : CommandIo(out, err), m_options(options)
    {}

    int run();

private:
    void report(const ImportResult &result);

    const Options &m_options;
};

int ImportRun::run()
{
    if (m_options.block && (*m_options.block < 0 || *m_options.block >= MaxBlocks))
        return usage(Messages::blockOutOfRange(*m_options.block));
    if (m_options.output && SameFile(*m_options.output, m_options.file))
        return usage(Messages::outputIsSource(*m_options.output));
    const FileReadResult read = readRegularFile(m_options.file, MaxSourceBytes);
    if (!read.ok)
        return refuse(Messages::cannotRead(m_options.file, read.reason));
    const std::optional<ImportKind> kind =
        m_options.from ? m_options.from : DetectImportKind(read.bytes);
    if (!kind)
        return refuse(Messages::kindUnknown(m_options.file));
    if (*kind == ImportKind::Cue && m_options.block)
        return usage(Messages::blockNotForCue());

    const ImportResult result = ImportTexts(read.bytes, *kind,
                                            {.block = m_options.block,
                                             .language = m_options.language,
                                             .ignoreCrc = m_options.ignoreCrc});
    report(result);
    const bool crcRefused =
        std::any_of(result.notes.begin(), result.notes.end(),
                    [](const SourceNote &note) { return note.kind == SourceNote::CrcMismatch; });
    if (!result.store)
        return refuse(crcRefused ? Messages::crcRefused(m_options.file)
                                 : Messages::nothingRead(m_options.file));
    if (const int written = deliver(m_options.output, result.titleFile()); written != ExitDone)
        return written;
    say(Messages::imported(m_options.file, *kind, result.store->trackCount, result.sections));
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
