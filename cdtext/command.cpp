// SPDX-License-Identifier: GPL-3.0-or-later
#include "cdtext/command.h"

#include "cdtext/commandio.h"
#include "cdtext/commandline.h"
#include "cdtext/cuesheet.h"
#include "cdtext/discblocks.h"
#include "cdtext/importcommand.h"
#include "cdtext/packs.h"
#include "cdtext/tocfile.h"
#include "cdtext/v07t.h"
#include "model/safefile.h"
#include "model/titlefile.h"

#include <algorithm>
#include <optional>

namespace sonolabe::cdtext {

using namespace Qt::Literals::StringLiterals;

namespace {

// CUE sheets and TOC files are a few kilobytes.
constexpr qint64 MaxSheetBytes = qint64(16) << 20;

class Session : private CommandIo
{
public:
    Session(QIODevice &out, QIODevice &err, UiLanguage language)
        : CommandIo(out, err, language), m_language(language), m_say(language)
    {}

    int run(const QStringList &arguments);

private:
    int check(const Arguments &args, const TitleStore &store);
    int write(const Arguments &args, const TitleStore &store);
    bool sayProblems(const TitleStore &store, const std::vector<DiscBlock> &blocks);
    bool sayOverBudget(const Arguments &args, const std::vector<DiscBlock> &blocks);
    int writePacks(const Arguments &args, const std::vector<DiscBlock> &blocks);
    int writeV07t(const Arguments &args, const std::vector<DiscBlock> &blocks);
    int rewriteCue(const Arguments &args, const QByteArray &sheet, const TitleStore &store);
    int rewriteToc(const Arguments &args, const QByteArray &sheet, const TitleStore &store,
                   const std::vector<DiscBlock> &blocks);
    std::optional<QByteArray> readSheet(const QString &path);

    UiLanguage m_language;
    Messages m_say;
};

LanguageChoice choiceOf(const Arguments &args)
{
    if (!args.language)
        return {};
    return {*args.language == English, *args.language == Japanese};
}

// The refusal of a block that needs more text packs than fit, or nothing
// when it fits. Where the command can write Tab repeats (canRepeat) and
// they are not on yet, the refusal says whether they would make it fit.
std::optional<QString> overBudget(const Messages &say, const DiscBlock &block, int number,
                                  bool tabRepeat, bool canRepeat)
{
    const int needed = TextPacksNeeded(block.pack, tabRepeat);
    if (needed <= TextPackBudget)
        return std::nullopt;
    std::optional<int> withRepeat;
    if (canRepeat && !tabRepeat) {
        const int packs = TextPacksNeeded(block.pack, true);
        if (packs <= TextPackBudget)
            withRepeat = packs;
    }
    return say.overBudget(block.language, number, needed, TextPackBudget, withRepeat);
}

int Session::run(const QStringList &arguments)
{
    const CommandLine line = ReadCommandLine(arguments, m_say);
    if (line.outcome == CommandLine::Help) {
        print(m_out, m_say.help());
        return ExitDone;
    }
    if (line.outcome == CommandLine::WrongUsage)
        return usage(line.error);
    const Arguments &args = line.arguments;
    if (args.command == u"import")
        return RunImport({args.file, args.output.value_or(QString()), args.from, args.block,
                          args.ignoreCrc, args.language},
                         m_out, m_err, m_language);

    if (args.output) {
        for (const std::optional<QString> &input : {std::optional<QString>(args.file), args.into}) {
            if (input && SameFile(*args.output, *input))
                return usage(m_say.outputIsInput(*args.output));
        }
    }

    const LoadResult loaded = readTitleFile(args.file);
    if (!loaded.ok()) {
        if (loaded.failure() == LoadFailure::NotATitleFile)
            return refuse(m_say.notATitleFile(args.file));
        return refuse(m_say.cannotReadTitleFile(args.file, loaded.reason()));
    }
    if (args.command == u"check")
        return check(args, loaded.disc());
    return write(args, loaded.disc());
}

int Session::check(const Arguments &args, const TitleStore &store)
{
    const LanguageChoice choice = choiceOf(args);
    const std::vector<DiscBlock> blocks = DiscBlocks(store, choice);
    QStringList errors;
    QStringList warnings;

    print(m_out, m_say.reportHeader(args.file, store.trackCount));
    if (store.trackCount == 0)
        errors << m_say.noTracks();
    for (const int language : {English, Japanese}) {
        if (!choice.includes(language))
            continue;
        const auto block = std::find_if(blocks.begin(), blocks.end(),
                                        [&](const DiscBlock &b) { return b.language == language; });
        if (block == blocks.end()) {
            print(m_out, m_say.reportNoBlock(language));
            continue;
        }
        const int number = static_cast<int>(block - blocks.begin());
        const int needed = TextPacksNeeded(block->pack, args.tabRepeat);
        print(m_out, m_say.reportBlock(language, number, needed, TextPackBudget));
        if (const std::optional<QString> line =
                overBudget(m_say, *block, number, args.tabRepeat, true))
            errors << *line;
        for (const TextProblem &problem : FindProblems(store, language))
            (IsError(problem.problem) ? errors : warnings) << m_say.problem(problem);
    }
    for (const QString &line : std::as_const(errors))
        print(m_out, m_say.error(line));
    for (const QString &line : std::as_const(warnings))
        print(m_out, m_say.warning(line));
    print(m_out,
          m_say.reportVerdict(static_cast<int>(errors.size()), static_cast<int>(warnings.size())));
    return errors.isEmpty() ? ExitDone : ExitRefused;
}

int Session::write(const Arguments &args, const TitleStore &store)
{
    if (store.trackCount == 0)
        return refuse(m_say.noTracks());
    const std::vector<DiscBlock> blocks = DiscBlocks(store, choiceOf(args));
    if (blocks.empty())
        return refuse(args.language ? m_say.noTextInLanguage(*args.language) : m_say.noText());
    // Every problem and every block over the budget is told before refusing.
    const bool problems = sayProblems(store, blocks);
    const bool overBudget = sayOverBudget(args, blocks);
    if (problems || overBudget)
        return ExitRefused;

    if (args.command == u"packs")
        return writePacks(args, blocks);
    if (args.command == u"v07t")
        return writeV07t(args, blocks);
    const std::optional<QByteArray> sheet = readSheet(*args.into);
    if (!sheet)
        return ExitRefused;
    if (args.command == u"cue")
        return rewriteCue(args, *sheet, store);
    return rewriteToc(args, *sheet, store, blocks);
}

// Tells the problems of the blocks' texts; true when one of them is an
// error.
bool Session::sayProblems(const TitleStore &store, const std::vector<DiscBlock> &blocks)
{
    bool refused = false;
    for (const DiscBlock &block : blocks) {
        for (const TextProblem &problem : FindProblems(store, block.language)) {
            if (IsError(problem.problem)) {
                say(m_say.error(m_say.problem(problem)));
                refused = true;
            } else {
                say(m_say.warning(m_say.problem(problem)));
            }
        }
    }
    return refused;
}

// Tells every block that needs more text packs than fit; true when there is
// one.
bool Session::sayOverBudget(const Arguments &args, const std::vector<DiscBlock> &blocks)
{
    // The burning tools build the packs from sheets themselves, without
    // repeats, so only the pack file may count on them.
    const bool packs = args.command == u"packs";
    bool refused = false;
    for (size_t b = 0; b < blocks.size(); ++b) {
        if (const std::optional<QString> line =
                overBudget(m_say, blocks[b], static_cast<int>(b), packs && args.tabRepeat, packs)) {
            say(m_say.error(*line));
            refused = true;
        }
    }
    return refused;
}

int Session::writePacks(const Arguments &args, const std::vector<DiscBlock> &blocks)
{
    PackOptions options;
    options.tabRepeat = args.tabRepeat;
    const std::optional<QByteArray> packs = BuildPacks(PackBlocksOf(blocks), options);
    Q_ASSERT(packs); // the budget was checked before
    return deliver(args.output, PackFileBytes(packs.value_or(QByteArray())));
}

int Session::writeV07t(const Arguments &args, const std::vector<DiscBlock> &blocks)
{
    const V07tSheets sheets = WriteV07tSheets(blocks);
    if (!sheets.ok())
        return refuse(m_say.notWritableInSheet(*sheets.leadingSpace, m_say.leadingSpaceInSheet()));
    return deliver(args.output, sheets.bytes);
}

int Session::rewriteCue(const Arguments &args, const QByteArray &sheet, const TitleStore &store)
{
    const CueRewrite cue = RewriteCueSheet(sheet, store, *args.language);
    switch (cue.fault) {
    case CueRewrite::None:
        break;
    case CueRewrite::TrackCount:
        return refuse(m_say.trackCountDiffers(*args.into, cue.sheetTracks, store.trackCount));
    case CueRewrite::Quote:
        return refuse(m_say.notWritableInSheet(cue.text, m_say.quoteInCueText()));
    case CueRewrite::BackslashAtEnd:
        return refuse(m_say.notWritableInSheet(cue.text, m_say.backslashEndsCueText()));
    }
    return deliver(args.output, cue.sheet);
}

int Session::rewriteToc(const Arguments &args, const QByteArray &sheet, const TitleStore &store,
                        const std::vector<DiscBlock> &blocks)
{
    const TocRewrite toc = RewriteTocFile(sheet, store, blocks);
    switch (toc.fault) {
    case TocRewrite::None:
        break;
    case TocRewrite::TrackCount:
        return refuse(m_say.trackCountDiffers(*args.into, toc.sheetTracks, store.trackCount));
    case TocRewrite::NotUnderstood:
        return refuse(m_say.sheetNotUnderstood(*args.into, toc.line, toc.what));
    case TocRewrite::NoFreeLanguageNumber:
        return refuse(m_say.noFreeLanguageNumber(*args.into));
    }
    return deliver(args.output, toc.toc);
}

// Reads a whole sheet. Only regular files are read, opened without blocking,
// so that a FIFO or a device can neither hang nor flood the command.
std::optional<QByteArray> Session::readSheet(const QString &path)
{
    FileReadResult sheet = readRegularFile(path, MaxSheetBytes);
    if (!sheet.ok) {
        refuse(m_say.cannotRead(path, sheet.reason));
        return std::nullopt;
    }
    return std::move(sheet.bytes);
}

} // namespace

int RunCdTextCommand(const QStringList &arguments, QIODevice &out, QIODevice &err,
                     UiLanguage language)
{
    Session session(out, err, language);
    return session.run(arguments);
}

} // namespace sonolabe::cdtext
