// SPDX-License-Identifier: GPL-3.0-or-later
#include "cdtext/cli/command.h"

#include "cdtext/disc/burnroutes.h"
#include "cdtext/cli/commandio.h"
#include "cdtext/cli/commandline.h"
#include "cdtext/cue/cuesheet.h"
#include "cdtext/disc/discblocks.h"
#include "cdtext/cli/importcommand.h"
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
    Session(QIODevice &out, QIODevice &err, UiLanguage language)
        : CommandIo(out, err, language), m_language(language), m_say(language)
    {}

    int run(const QStringList &arguments) { return finish(runCommand(arguments)); }

private:
    int runCommand(const QStringList &arguments);
    void reportFileLines(QByteArrayView bytes);
    void reportRoutes(const Arguments &args, const std::vector<DiscBlock> &blocks);
    std::optional<CdrdaoVersion> cdrdaoVersion(const Arguments &args);
    int check(const Arguments &args, const TitleStore &store, QByteArrayView bytes);
    int write(const Arguments &args, const TitleStore &store);
    bool sayProblems(const TitleStore &store, const std::vector<DiscBlock> &blocks);
    bool sayOverBudget(const Arguments &args, const std::vector<DiscBlock> &blocks);
    int writePacks(const Arguments &args, const std::vector<DiscBlock> &blocks);
    int writeV07t(const Arguments &args, const std::vector<DiscBlock> &blocks);
    int rewriteCue(const Arguments &args, const QByteArray &sheet, const TitleStore &store);
    int rewriteToc(const Arguments &args, const QByteArray &sheet, const TitleStore &store,
                   const std::vector<DiscBlock> &blocks, bool declareMsJis);
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

int Session::runCommand(const QStringList &arguments)
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

    // The file is read once: parsed here, and looked at line by line by check.
    const FileReadResult file = readRegularFile(args.file, MaxTitleFileBytes);
    if (!file.ok)
        return refuse(m_say.cannotReadTitleFile(args.file, file.reason));
    const std::optional<TitleStore> disc = parseTitleFile(file.bytes);
    if (!disc) {
        if (hasOnlyLfLineEnds(file.bytes))
            return refuse(u"'%1': "_s.arg(args.file) % m_say.reportLfLineEnds());
        return refuse(m_say.notATitleFile(args.file));
    }
    if (args.command == u"check")
        return check(args, *disc, file.bytes);
    return write(args, *disc);
}

int Session::check(const Arguments &args, const TitleStore &store, QByteArrayView bytes)
{
    const LanguageChoice choice = choiceOf(args);
    const std::vector<DiscBlock> blocks = DiscBlocks(store, choice);
    QStringList errors;
    QStringList warnings;

    print(m_out, m_say.reportHeader(args.file, store.trackCount));
    reportFileLines(bytes);
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
    reportRoutes(args, blocks);
    for (const QString &line : std::as_const(errors))
        print(m_out, m_say.error(line));
    for (const QString &line : std::as_const(warnings))
        print(m_out, m_say.warning(line));
    print(m_out,
          m_say.reportVerdict(static_cast<int>(errors.size()), static_cast<int>(warnings.size())));
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
        print(m_out, m_say.warning(m_say.reportStrayLine(number, text.left(40))));
        ++shown;
    }
    if (lfOnly)
        print(m_out, m_say.warning(m_say.reportLfLineEnds()));
}

std::optional<CdrdaoVersion> Session::cdrdaoVersion(const Arguments &args)
{
    return args.cdrdaoVersion ? args.cdrdaoVersion : CdrdaoVersion::installed();
}

// Whether each road burns the blocks as they are.
void Session::reportRoutes(const Arguments &args, const std::vector<DiscBlock> &blocks)
{
    if (blocks.empty())
        return;
    const auto verdict = [&](RouteFault fault, std::optional<CdrdaoVersion> cdrdao = {}) {
        return fault == RouteFault::None ? m_say.routeBurnsAsIs() : m_say.routeFault(fault, cdrdao);
    };
    const bool japanese = HasJapaneseBlock(blocks);
    const bool english = blocks.front().language == English;
    print(m_out, m_say.reportRoute(u"packs"_s, verdict(RouteFault::None)));
    print(m_out, m_say.reportRoute(u"v07t"_s, verdict(V07tFault(blocks))));
    print(m_out, m_say.reportRoute(u"cue"_s, m_say.cueRouteVerdict(english, japanese)));
    const std::optional<CdrdaoVersion> cdrdao =
        japanese ? cdrdaoVersion(args) : std::optional<CdrdaoVersion>();
    print(m_out, m_say.reportRoute(u"toc"_s, verdict(TocFault(blocks, cdrdao), cdrdao)));
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
    if (args.command == u"v07t" && V07tFault(blocks) != RouteFault::None)
        return refuse(m_say.routeFault(V07tFault(blocks), {}));
    std::optional<CdrdaoVersion> cdrdao;
    if (args.command == u"toc" && HasJapaneseBlock(blocks)) {
        cdrdao = cdrdaoVersion(args);
        if (const RouteFault fault = TocFault(blocks, cdrdao); fault != RouteFault::None)
            return refuse(m_say.routeFault(fault, cdrdao));
    }
    if (args.command == u"cue" && *args.language == Japanese && !args.output)
        return refuse(m_say.cueJapaneseNeedsOutput());

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
    // libburn builds the packs of v07t and CUE sheets itself, with Tab
    // repeats, and the pack file of a Japanese CUE sheet has them too;
    // cdrdao's repeats are not known, so a TOC file counts none.
    const bool packs = args.command == u"packs";
    const bool repeats = packs ? args.tabRepeat : args.command != u"toc";
    bool refused = false;
    for (size_t b = 0; b < blocks.size(); ++b) {
        if (const std::optional<QString> line =
                overBudget(m_say, blocks[b], static_cast<int>(b), repeats, packs)) {
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
                return refuse(m_say.cuePackFileIsInput(*packPath));
        }
    }
    const CueRewrite cue = RewriteCueSheet(sheet, store, *args.language, packName);
    switch (cue.fault) {
    case CueRewrite::None:
        break;
    case CueRewrite::TrackCount:
        return refuse(m_say.trackCountDiffers(*args.into, cue.sheetTracks, store.trackCount));
    case CueRewrite::Quote:
        return refuse(m_say.notWritableInSheet(cue.text, m_say.quoteInCueText()));
    case CueRewrite::BackslashAtEnd:
        return refuse(m_say.notWritableInSheet(cue.text, m_say.backslashEndsCueText()));
    case CueRewrite::PackFileName:
        return refuse(m_say.cuePackFileNameUnusable(*packPath));
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

int Session::rewriteToc(const Arguments &args, const QByteArray &sheet, const TitleStore &store,
                        const std::vector<DiscBlock> &blocks, bool declareMsJis)
{
    const TocRewrite toc = RewriteTocFile(sheet, store, blocks, declareMsJis);
    switch (toc.fault) {
    case TocRewrite::None:
        break;
    case TocRewrite::TrackCount:
        return refuse(m_say.trackCountDiffers(*args.into, toc.sheetTracks, store.trackCount));
    case TocRewrite::NotUnderstood:
        return refuse(m_say.sheetNotUnderstood(*args.into, toc.line, toc.problem));
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
