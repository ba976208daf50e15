// SPDX-License-Identifier: GPL-3.0-or-later
#include "cdtext/cli/command.h"

#include "cdtext/cli/commandio.h"
#include "cdtext/cli/commandline.h"
#include "cdtext/cli/importcommand.h"
#include "cdtext/cue/cuesheet.h"
#include "cdtext/disc/burnroutes.h"
#include "cdtext/disc/discblocks.h"
#include "cdtext/packs/packs.h"
#include "cdtext/toc/tocfile.h"
#include "cdtext/v07t/v07t.h"
#include "model/safefile.h"
#include "model/titlefile.h"

#include <QDir>
#include <QFileInfo>

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
    Session(QIODevice &out, QIODevice &err) : CommandIo(out, err) {}

    int run(const QStringList &arguments) { return finish(runCommand(arguments)); }

private:
    int runCommand(const QStringList &arguments);
    void reportFileLines(QByteArrayView bytes);
    void reportRoutes(const Options &args, const std::vector<DiscBlock> &blocks);
    std::optional<CdrdaoVersion> cdrdaoVersion(const Options &args);
    int check(const Options &args, const TitleStore &store, QByteArrayView bytes);
    int write(const Options &args, const TitleStore &store);
    bool sayProblems(const TitleStore &store, const std::vector<DiscBlock> &blocks);
    bool sayOverBudget(const Options &args, const std::vector<DiscBlock> &blocks);
    int writePacks(const Options &args, const std::vector<DiscBlock> &blocks);
    int writeV07t(const Options &args, const std::vector<DiscBlock> &blocks);
    int rewriteCue(const Options &args, const QByteArray &sheet, const TitleStore &store);
    int rewriteToc(const Options &args, const QByteArray &sheet, const TitleStore &store,
                   const std::vector<DiscBlock> &blocks, bool declareMsJis);
    std::optional<QByteArray> readSheet(const QString &path);
};

LanguageChoice choiceOf(const Options &args)
{
    if (!args.language)
        return {};
    return {*args.language == English, *args.language == Japanese};
}

// The refusal of a block that needs more text packs than fit, or nothing
// when it fits. Where the command can write Tab repeats (canRepeat) and
// they are not on yet, the refusal says whether they would make it fit.
std::optional<QString> overBudget(const DiscBlock &block, int number, bool tabRepeat,
                                  bool canRepeat)
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
    return Messages::overBudget(block.language, number, needed, TextPackBudget, withRepeat);
}

int Session::runCommand(const QStringList &arguments)
{
    const CommandLine line = ReadCommandLine(arguments);
    switch (line.outcome) {
    case CommandLine::Help:
        print(m_out, Messages::help());
        return ExitDone;
    case CommandLine::Version:
        print(m_out, Messages::version());
        return ExitDone;
    case CommandLine::WrongUsage:
        return usage(line.error);
    case CommandLine::Run:
        break;
    }
    const Options &args = line.options;
    if (args.command == u"import")
        return RunImport(args, m_out, m_err);

    if (args.output) {
        for (const std::optional<QString> &input : {std::optional<QString>(args.file), args.into}) {
            if (input && SameFile(*args.output, *input))
                return usage(Messages::outputIsInput(*args.output));
        }
    }

    // The file is read once: parsed here, and looked at line by line by check.
    const FileReadResult file = readRegularFile(args.file, MaxTitleFileBytes);
    if (!file.ok)
        return refuse(Messages::cannotReadTitleFile(args.file, file.reason));
    const std::optional<TitleStore> disc = parseTitleFile(file.bytes);
    if (!disc) {
        if (hasOnlyLfLineEnds(file.bytes))
            return refuse(Messages::lfLineEnds(args.file));
        return refuse(Messages::notATitleFile(args.file));
    }
    if (args.command == u"check")
        return check(args, *disc, file.bytes);
    return write(args, *disc);
}

int Session::check(const Options &args, const TitleStore &store, QByteArrayView bytes)
{
    const LanguageChoice choice = choiceOf(args);
    const std::vector<DiscBlock> blocks = DiscBlocks(store, choice);
    QStringList errors;
    QStringList warnings;

    print(m_out, Messages::reportHeader(args.file, store.trackCount));
    reportFileLines(bytes);
    if (store.trackCount == 0)
        errors << Messages::noTracks();
    for (const int language : {English, Japanese}) {
        if (!choice.includes(language))
            continue;
        const auto block = std::find_if(blocks.begin(), blocks.end(),
                                        [&](const DiscBlock &b) { return b.language == language; });
        if (block == blocks.end()) {
            print(m_out, Messages::reportNoBlock(language));
            continue;
        }
        const int number = static_cast<int>(block - blocks.begin());
        const int needed = TextPacksNeeded(block->pack, args.tabRepeat);
        print(m_out, Messages::reportBlock(language, number, needed, TextPackBudget));
        if (const std::optional<QString> line = overBudget(*block, number, args.tabRepeat, true))
            errors << *line;
        for (const TextProblem &problem : FindProblems(store, language))
            (IsError(problem.problem) ? errors : warnings) << Messages::problem(problem);
    }
    reportRoutes(args, blocks);
    for (const QString &line : std::as_const(errors))
        print(m_out, Messages::error(line));
    for (const QString &line : std::as_const(warnings))
        print(m_out, Messages::warning(line));
    print(m_out, Messages::reportVerdict(static_cast<int>(errors.size()),
                                         static_cast<int>(warnings.size())));
    return errors.isEmpty() ? ExitDone : ExitRefused;
}

// Lines of the title file that are neither a section name, nor empty, nor
// a number of one or two digits, Tab, text: read as the editor reads them,
// but hardly what was meant.
void Session::reportFileLines(QByteArrayView bytes)
{
    const bool lfOnly = hasOnlyLfLineEnds(bytes);
    const bool utf8 = isUtf8TitleFile(bytes);
    if (bytes.startsWith("\xEF\xBB\xBF"))
        bytes = bytes.sliced(3);
    int number = 0;
    int shown = 0;
    constexpr int MaxShown = 20;
    qsizetype pos = 0;
    while (pos < bytes.size() && shown < MaxShown) {
        qsizetype end = bytes.indexOf('\r', pos);
        if (end < 0)
            end = bytes.size();
        const QByteArrayView line = bytes.sliced(pos, end - pos);
        ++number;
        pos = end + 1;
        if (pos < bytes.size() && bytes[pos] == '\n')
            ++pos;
        const bool numbered =
            line.size() >= 2 && QChar::isDigit(line[0]) &&
            (line[1] == '\t' || (line.size() >= 3 && QChar::isDigit(line[1]) && line[2] == '\t'));
        if (line.isEmpty() || line == "ja" || line == "en" || numbered)
            continue;
        const QString text = decodeTitleFileLine(line, utf8);
        print(m_out, Messages::warning(Messages::reportStrayLine(number, text.left(40))));
        ++shown;
    }
    if (lfOnly)
        print(m_out, Messages::warning(Messages::reportLfLineEnds()));
}

std::optional<CdrdaoVersion> Session::cdrdaoVersion(const Options &args)
{
    return args.cdrdaoVersion ? args.cdrdaoVersion : CdrdaoVersion::installed();
}

// Whether each road burns the blocks as they are.
void Session::reportRoutes(const Options &args, const std::vector<DiscBlock> &blocks)
{
    if (blocks.empty())
        return;
    const auto verdict = [&](RouteFault fault, std::optional<CdrdaoVersion> cdrdao = {}) {
        return fault == RouteFault::None ? Messages::routeBurnsAsIs()
                                         : Messages::routeFault(fault, cdrdao);
    };
    const bool japanese = HasJapaneseBlock(blocks);
    const bool english = blocks.front().language == English;
    print(m_out, u"packs: "_s + verdict(RouteFault::None));
    print(m_out, u"v07t: "_s + verdict(V07tFault(blocks)));
    print(m_out, u"cue: "_s + Messages::cueRouteVerdict(english, japanese));
    const std::optional<CdrdaoVersion> cdrdao =
        japanese ? cdrdaoVersion(args) : std::optional<CdrdaoVersion>();
    print(m_out, u"toc: "_s + verdict(TocFault(blocks, cdrdao), cdrdao));
}

int Session::write(const Options &args, const TitleStore &store)
{
    if (store.trackCount == 0)
        return refuse(Messages::noTracks());
    const std::vector<DiscBlock> blocks = DiscBlocks(store, choiceOf(args));
    if (blocks.empty())
        return refuse(args.language ? Messages::noTextInLanguage(*args.language)
                                    : Messages::noText());
    // Every problem and every block over the budget is told before refusing.
    const bool problems = sayProblems(store, blocks);
    const bool overBudget = sayOverBudget(args, blocks);
    if (problems || overBudget)
        return ExitRefused;
    if (args.command == u"v07t" && V07tFault(blocks) != RouteFault::None)
        return refuse(Messages::routeFault(V07tFault(blocks), {}));
    std::optional<CdrdaoVersion> cdrdao;
    if (args.command == u"toc" && HasJapaneseBlock(blocks)) {
        cdrdao = cdrdaoVersion(args);
        if (const RouteFault fault = TocFault(blocks, cdrdao); fault != RouteFault::None)
            return refuse(Messages::routeFault(fault, cdrdao));
    }
    if (args.command == u"cue" && *args.language == Japanese && !args.output)
        return refuse(Messages::cueJapaneseNeedsOutput());

    if (args.command == u"packs")
        return writePacks(args, blocks);
    if (args.command == u"v07t")
        return writeV07t(args, blocks);
    const std::optional<QByteArray> sheet = readSheet(*args.into);
    if (!sheet)
        return ExitRefused;
    if (args.command == u"cue")
        return rewriteCue(args, *sheet, store);
    return rewriteToc(args, *sheet, store, blocks, cdrdao && cdrdao->knowsMsJis());
}

// Tells the problems of the blocks' texts; true when one of them is an
// error.
bool Session::sayProblems(const TitleStore &store, const std::vector<DiscBlock> &blocks)
{
    bool refused = false;
    for (const DiscBlock &block : blocks) {
        for (const TextProblem &problem : FindProblems(store, block.language)) {
            if (IsError(problem.problem)) {
                say(Messages::error(Messages::problem(problem)));
                refused = true;
            } else {
                say(Messages::warning(Messages::problem(problem)));
            }
        }
    }
    return refused;
}

// Tells every block that needs more text packs than fit; true when there is
// one.
bool Session::sayOverBudget(const Options &args, const std::vector<DiscBlock> &blocks)
{
    // libburn builds the packs of v07t and CUE sheets itself, with Tab
    // repeats, and the pack file of a Japanese CUE sheet has them too;
    // cdrdao's repeats are not known, so a TOC file counts none.
    const bool packs = args.command == u"packs";
    const bool repeats = packs ? args.tabRepeat : args.command != u"toc";
    bool refused = false;
    for (size_t b = 0; b < blocks.size(); ++b) {
        if (const std::optional<QString> line =
                overBudget(blocks[b], static_cast<int>(b), repeats, packs)) {
            say(Messages::error(*line));
            refused = true;
        }
    }
    return refused;
}

int Session::writePacks(const Options &args, const std::vector<DiscBlock> &blocks)
{
    PackOptions options;
    options.tabRepeat = args.tabRepeat;
    const std::optional<QByteArray> packs = BuildPacks(PackBlocksOf(blocks), options);
    Q_ASSERT(packs); // the budget was checked before
    return deliver(args.output, PackFileBytes(packs.value_or(QByteArray())));
}

int Session::writeV07t(const Options &args, const std::vector<DiscBlock> &blocks)
{
    const V07tSheets sheets = WriteV07tSheets(blocks);
    if (!sheets.ok())
        return refuse(
            Messages::notWritableInSheet(*sheets.leadingSpace, Messages::leadingSpaceInSheet()));
    return deliver(args.output, sheets.bytes);
}

int Session::rewriteCue(const Options &args, const QByteArray &sheet, const TitleStore &store)
{
    // A Japanese block goes to the disc as a pack file beside the sheet,
    // which the sheet names by its file name: cdrskin, like the sheet's FILE
    // lines, looks for it in the folder it runs in.
    std::optional<QString> packPath;
    std::optional<QByteArray> packName;
    if (*args.language == Japanese) {
        const QFileInfo output(*args.output);
        packPath = output.dir().filePath(output.completeBaseName() + u".cdt"_s);
        packName = nativePath(QFileInfo(*packPath).fileName());
        for (const QString &input : {args.file, *args.into, *args.output}) {
            if (SameFile(*packPath, input))
                return refuse(Messages::cuePackFileIsInput(*packPath));
        }
    }
    const CueRewrite cue = RewriteCueSheet(sheet, store, *args.language, packName);
    switch (cue.fault) {
    case CueRewrite::None:
        break;
    case CueRewrite::TrackCount:
        return refuse(Messages::trackCountDiffers(*args.into, cue.sheetTracks, store.trackCount));
    case CueRewrite::Quote:
        return refuse(Messages::notWritableInSheet(cue.text, Messages::quoteInCueText()));
    case CueRewrite::BackslashAtEnd:
        return refuse(Messages::notWritableInSheet(cue.text, Messages::backslashEndsCueText()));
    case CueRewrite::PackFileName:
        return refuse(Messages::cuePackFileNameUnusable(*packPath));
    }
    if (packPath) {
        const std::optional<QByteArray> packs =
            BuildPacks(PackBlocksOf(DiscBlocks(store, {false, true})), {.tabRepeat = true});
        Q_ASSERT(packs); // the budget was checked before, with repeats
        if (const int written = deliver(packPath, PackFileBytes(packs.value_or(QByteArray())));
            written != ExitDone)
            return written;
    }
    return deliver(args.output, cue.sheet);
}

int Session::rewriteToc(const Options &args, const QByteArray &sheet, const TitleStore &store,
                        const std::vector<DiscBlock> &blocks, bool declareMsJis)
{
    const TocRewrite toc = RewriteTocFile(sheet, store, blocks, declareMsJis);
    switch (toc.fault) {
    case TocRewrite::None:
        break;
    case TocRewrite::TrackCount:
        return refuse(Messages::trackCountDiffers(*args.into, toc.sheetTracks, store.trackCount));
    case TocRewrite::NotUnderstood:
        return refuse(Messages::sheetNotUnderstood(*args.into, toc.line, toc.problem));
    case TocRewrite::NoFreeLanguageNumber:
        return refuse(Messages::noFreeLanguageNumber(*args.into));
    }
    return deliver(args.output, toc.toc);
}

// Reads a whole sheet. Only regular files are read, opened without blocking,
// so that a FIFO or a device can neither hang nor flood the command.
std::optional<QByteArray> Session::readSheet(const QString &path)
{
    FileReadResult sheet = readRegularFile(path, MaxSheetBytes);
    if (!sheet.ok) {
        refuse(Messages::cannotRead(path, sheet.reason));
        return std::nullopt;
    }
    return std::move(sheet.bytes);
}

} // namespace

int RunCdTextCommand(const QStringList &arguments, QIODevice &out, QIODevice &err)
{
    Session session(out, err);
    return session.run(arguments);
}

} // namespace sonolabe::cdtext
