// SPDX-License-Identifier: GPL-3.0-or-later
#include "cdtext/cli/importcommand.h"

#include "cdtext/cli/command.h"
#include "cdtext/cli/commandio.h"
#include "cdtext/cli/importmessages.h"
#include "model/safefile.h"

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
    ImportRun(const ImportOptions &options, QIODevice &out, QIODevice &err, UiLanguage language)
        : CommandIo(out, err, language), m_options(options), m_say(language)
    {}

    int run();

private:
    void report(const ImportResult &result);
    // Standard output when the options name no output file.
    std::optional<QString> output() const;

    const ImportOptions &m_options;
    ImportMessages m_say;
};

int ImportRun::run()
{
    if (m_options.block && (*m_options.block < 0 || *m_options.block >= MaxBlocks))
        return usage(m_say.blockOutOfRange(*m_options.block));
    if (!m_options.output.isEmpty() && SameFile(m_options.output, m_options.source))
        return usage(m_say.outputIsSource(m_options.output));
    const FileReadResult read = readRegularFile(m_options.source, MaxSourceBytes);
    if (!read.ok)
        return refuse(m_say.cannotRead(m_options.source, read.reason));
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
    if (const int written = deliver(output(), result.titleFile()); written != ExitDone)
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

std::optional<QString> ImportRun::output() const
{
    if (m_options.output.isEmpty())
        return std::nullopt;
    return m_options.output;
}

} // namespace

int RunImport(const ImportOptions &options, QIODevice &out, QIODevice &err, UiLanguage language)
{
    ImportRun run(options, out, err, language);
    return run.run();
}

} // namespace sonolabe::cdtext
