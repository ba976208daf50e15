// SPDX-License-Identifier: GPL-3.0-or-later
#include "cdtext/cli/importcommand.h"

#include "cdtext/cli/command.h"
#include "cdtext/cli/commandio.h"
#include "cdtext/cli/messages.h"
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
                                             .ignoreCrc = m_options.ignoreCrc,
                                             .encoding = m_options.encoding});
    report(result);
    if (!result.store)
        return refuse(Messages::nothingRead(m_options.file));
    if (const int written = deliver(m_options.output, result.titleFile()); written != ExitDone)
        return written;
    say(Messages::imported(m_options.file, *kind, result.store->trackCount, result.sections));
    return ExitDone;
}

void ImportRun::report(const ImportResult &result)
{
    int crcMismatches = 0;
    for (const SourceNote &note : result.notes) {
        if (note.kind == SourceNote::CrcMismatch && ++crcMismatches > CrcMismatchesShown)
            continue;
        say(Messages::warning(Messages::note(note)));
    }
    if (crcMismatches > CrcMismatchesShown)
        say(Messages::warning(Messages::moreCrcMismatches(crcMismatches - CrcMismatchesShown)));
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
