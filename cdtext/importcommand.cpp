// SPDX-License-Identifier: GPL-3.0-or-later
#include "cdtext/importcommand.h"

#include "cdtext/command.h"
#include "cdtext/importmessages.h"
#include "model/safefile.h"

#include <QFile>
#include <QFileInfo>

#include <sys/stat.h>

namespace sonolabe::cdtext {

using namespace Qt::Literals::StringLiterals;

namespace {

// Sources are a few kilobytes; a pack file holds at most 8 x 256 packs.
constexpr qint64 MaxSourceBytes = qint64(16) << 20;
// A broken pack file may have a wrong CRC in every pack; the first few tell.
constexpr int CrcMismatchesShown = 10;

// True when both paths name one file (or one path that does not exist yet).
bool sameFile(const QString &a, const QString &b)
{
    struct stat sa, sb;
    if (::stat(QFile::encodeName(a).constData(), &sa) == 0 &&
        ::stat(QFile::encodeName(b).constData(), &sb) == 0)
        return sa.st_dev == sb.st_dev && sa.st_ino == sb.st_ino;
    return QFileInfo(a).absoluteFilePath() == QFileInfo(b).absoluteFilePath();
}

class ImportRun
{
public:
    ImportRun(const ImportOptions &options, QIODevice &out, QIODevice &err, UiLanguage language)
        : m_options(options), m_out(out), m_err(err), m_say(language)
    {}

    int run();

private:
    void say(const QString &text) { m_err.write((text + u'\n').toUtf8()); }
    int usage(const QString &text)
    {
        say(u"sonolabe-cdtext: "_s % text);
        say(m_say.tryHelp());
        return ExitUsage;
    }
    int refuse(const QString &text)
    {
        say(m_say.error(text));
        return ExitRefused;
    }
    void report(const ImportResult &result);
    int deliver(const QByteArray &bytes);

    const ImportOptions &m_options;
    QIODevice &m_out;
    QIODevice &m_err;
    ImportMessages m_say;
};

int ImportRun::run()
{
    if (m_options.block && (*m_options.block < 0 || *m_options.block >= MaxBlocks))
        return usage(m_say.blockOutOfRange(*m_options.block));
    if (!m_options.output.isEmpty() && sameFile(m_options.output, m_options.source))
        return usage(m_say.outputIsSource(m_options.output));
    const FileReadResult read = ReadRegularFile(m_options.source, MaxSourceBytes);
    if (!read.ok)
        return refuse(m_say.cannotReadSource(m_options.source, read.reason));
    const std::optional<ImportKind> kind =
        m_options.from ? m_options.from : DetectImportKind(read.bytes);
    if (!kind)
        return refuse(m_say.kindUnknown(m_options.source));
    if (*kind == ImportKind::Cue && m_options.block)
        return usage(m_say.blockNotForCue());

    const ImportResult result =
        ImportTexts(read.bytes, *kind, {m_options.block, m_options.lang, m_options.ignoreCrc});
    report(result);
    if (!result.store)
        return refuse(m_say.nothingRead(m_options.source));
    if (const int written = deliver(result.titleFile()); written != ExitDone)
        return written;
    say(m_say.imported(m_options.source, *kind, result.store->trackCount, result.sections));
    return ExitDone;
}

void ImportRun::report(const ImportResult &result)
{
    int crcMismatches = 0;
    for (const SourceNote &note : result.notes) {
        if (note.kind == SourceNote::CrcMismatch && ++crcMismatches > CrcMismatchesShown)
            continue;
        say(m_say.warning(m_say.note(note)));
    }
    if (crcMismatches > CrcMismatchesShown)
        say(m_say.warning(m_say.moreCrcMismatches(crcMismatches - CrcMismatchesShown)));
    for (const Replacement &replacement : result.replacements)
        say(m_say.warning(m_say.replacement(replacement)));
}

int ImportRun::deliver(const QByteArray &bytes)
{
    if (m_options.output.isEmpty()) {
        if (m_out.write(bytes) != bytes.size())
            return refuse(m_say.cannotWrite(u"-"_s, m_out.errorString()));
        return ExitDone;
    }
    const SaveResult saved = WriteFileAtomically(m_options.output, bytes);
    if (!saved.ok)
        return refuse(m_say.cannotWrite(m_options.output, saved.reason));
    return ExitDone;
}

} // namespace

int RunImport(const ImportOptions &options, QIODevice &out, QIODevice &err, UiLanguage language)
{
    ImportRun run(options, out, err, language);
    return run.run();
}

} // namespace sonolabe::cdtext
