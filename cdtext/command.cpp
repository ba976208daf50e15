// SPDX-License-Identifier: GPL-3.0-or-later
#include "cdtext/command.h"

#include "cdtext/cuesheet.h"
#include "cdtext/discblocks.h"
#include "cdtext/packs.h"
#include "cdtext/tocfile.h"
#include "cdtext/v07t.h"
#include "model/safefile.h"
#include "model/titlefile.h"

#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <optional>

namespace sonolabe::cdtext {

using namespace Qt::Literals::StringLiterals;

namespace {

// CUE sheets and TOC files are a few kilobytes.
constexpr qint64 MaxSheetBytes = qint64(16) << 20;

struct Arguments
{
    QString command;
    QString titleFile;
    std::optional<QString> output;
    std::optional<QString> into;
    std::optional<int> language;
    bool tabRepeat = false;
};

class Session
{
public:
    Session(QIODevice &out, QIODevice &err, UiLanguage language)
        : m_out(out), m_err(err), m_say(language)
    {}

    int run(const QStringList &arguments);

private:
    void print(QIODevice &device, const QString &text) { device.write((text + u'\n').toUtf8()); }
    void say(const QString &text) { print(m_err, text); }
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

    std::optional<int> parse(const QStringList &arguments, Arguments &args);
    int check(const Arguments &args, const TitleStore &store);
    int write(const Arguments &args, const TitleStore &store);
    int deliver(const Arguments &args, const QByteArray &bytes);
    std::optional<QByteArray> readSheet(const QString &path);

    QIODevice &m_out;
    QIODevice &m_err;
    Messages m_say;
};

bool takesOption(const QString &command, const QString &option)
{
    if (option == u"--tab-repeat")
        return command == u"check" || command == u"packs";
    if (option == u"--into")
        return command == u"cue" || command == u"toc";
    if (option == u"-o")
        return command != u"check";
    return true; // --lang
}

std::optional<int> Session::parse(const QStringList &arguments, Arguments &args)
{
    for (const QString &argument : arguments) {
        if (argument == u"-h" || argument == u"--help") {
            print(m_out, m_say.help());
            return ExitDone;
        }
    }
    if (arguments.isEmpty())
        return usage(m_say.noCommand());
    args.command = arguments[0];
    static const QStringList commands{u"check"_s, u"packs"_s, u"v07t"_s, u"cue"_s, u"toc"_s};
    if (!commands.contains(args.command))
        return usage(m_say.unknownCommand(args.command));

    bool optionsEnded = false;
    bool haveTitleFile = false;
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        QString argument = arguments[i];
        if (!optionsEnded && argument == u"--") {
            optionsEnded = true;
            continue;
        }
        if (optionsEnded || !argument.startsWith(u'-') || argument == u"-") {
            if (haveTitleFile)
                return usage(m_say.extraArgument(argument));
            args.titleFile = argument;
            haveTitleFile = true;
            continue;
        }

        QString name = argument;
        std::optional<QString> value;
        const qsizetype equals = argument.indexOf(u'=');
        if (argument.startsWith(u"--") && equals > 0) {
            name = argument.left(equals);
            value = argument.mid(equals + 1);
        }
        if (name == u"--output")
            name = u"-o"_s;
        if (name == u"--tab-repeat" && !value) {
            if (!takesOption(args.command, name))
                return usage(m_say.optionNotForCommand(name, args.command));
            args.tabRepeat = true;
            continue;
        }
        if (name != u"-o" && name != u"--into" && name != u"--lang")
            return usage(m_say.unknownOption(argument));
        if (!takesOption(args.command, name))
            return usage(m_say.optionNotForCommand(name, args.command));
        if (!value) {
            if (i + 1 >= arguments.size())
                return usage(m_say.missingValue(name));
            value = arguments[++i];
        }
        if (value->isEmpty())
            return usage(m_say.missingValue(name));
        if (name == u"-o") {
            args.output = *value;
        } else if (name == u"--into") {
            args.into = *value;
        } else {
            if (*value == u"en")
                args.language = English;
            else if (*value == u"ja")
                args.language = Japanese;
            else
                return usage(m_say.badLanguage(*value));
        }
    }

    if (!haveTitleFile)
        return usage(m_say.missingTitleFile());
    if (args.command == u"packs" && !args.output)
        return usage(m_say.missingOption(u"-o"_s, args.command));
    if ((args.command == u"cue" || args.command == u"toc") && !args.into)
        return usage(m_say.missingOption(u"--into"_s, args.command));
    if (args.command == u"cue" && !args.language)
        return usage(m_say.missingOption(u"--lang"_s, args.command));
    return std::nullopt;
}

// True when both paths name one file (or one path that does not exist yet).
bool sameFile(const QString &a, const QString &b)
{
    struct stat sa, sb;
    const QByteArray na = QFile::encodeName(a);
    const QByteArray nb = QFile::encodeName(b);
    if (::stat(na.constData(), &sa) == 0 && ::stat(nb.constData(), &sb) == 0)
        return sa.st_dev == sb.st_dev && sa.st_ino == sb.st_ino;
    return QFileInfo(a).absoluteFilePath() == QFileInfo(b).absoluteFilePath();
}

LanguageChoice choiceOf(const Arguments &args)
{
    if (!args.language)
        return {};
    return {*args.language == English, *args.language == Japanese};
}

int Session::run(const QStringList &arguments)
{
    Arguments args;
    if (const std::optional<int> done = parse(arguments, args))
        return *done;

    if (args.output) {
        for (const std::optional<QString> &input :
             {std::optional<QString>(args.titleFile), args.into}) {
            if (input && sameFile(*args.output, *input))
                return usage(m_say.outputIsInput(*args.output));
        }
    }

    const LoadResult loaded = ReadTitleFile(args.titleFile);
    if (!loaded.ok()) {
        if (loaded.failure() == LoadFailure::NotATitleFile)
            return refuse(m_say.notATitleFile(args.titleFile));
        return refuse(m_say.cannotReadTitleFile(args.titleFile, loaded.reason()));
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

    print(m_out, m_say.reportHeader(args.titleFile, store.trackCount));
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
        if (needed > TextPackBudget) {
            QString line = m_say.overBudget(language, number, needed, TextPackBudget);
            const int withRepeat = TextPacksNeeded(block->pack, true);
            if (!args.tabRepeat && withRepeat <= TextPackBudget)
                line += u"; "_s % m_say.tabRepeatWouldFit(withRepeat);
            errors << line;
        }
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
    const LanguageChoice choice = choiceOf(args);
    const std::vector<DiscBlock> blocks = DiscBlocks(store, choice);
    if (blocks.empty())
        return refuse(args.language ? m_say.noTextInLanguage(*args.language) : m_say.noText());

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
    // The burning tools build the packs from sheets themselves, without
    // repeats, so only the pack file may count on them.
    const bool tabRepeat = args.command == u"packs" && args.tabRepeat;
    for (size_t b = 0; b < blocks.size(); ++b) {
        const int needed = TextPacksNeeded(blocks[b].pack, tabRepeat);
        if (needed > TextPackBudget) {
            QString line =
                m_say.overBudget(blocks[b].language, static_cast<int>(b), needed, TextPackBudget);
            const int withRepeat = TextPacksNeeded(blocks[b].pack, true);
            if (args.command == u"packs" && !tabRepeat && withRepeat <= TextPackBudget)
                line += u"; "_s % m_say.tabRepeatWouldFit(withRepeat);
            say(m_say.error(line));
            refused = true;
        }
    }
    if (refused)
        return ExitRefused;

    if (args.command == u"packs") {
        PackOptions options;
        options.tabRepeat = tabRepeat;
        const std::optional<QByteArray> packs = BuildPacks(PackBlocksOf(blocks), options);
        Q_ASSERT(packs); // the budget was checked above
        return deliver(args, PackFileBytes(packs.value_or(QByteArray())));
    }
    if (args.command == u"v07t") {
        const V07tSheets sheets = WriteV07tSheets(blocks);
        if (!sheets.ok())
            return refuse(
                m_say.notWritableInSheet(*sheets.leadingSpace, m_say.leadingSpaceInSheet()));
        return deliver(args, sheets.bytes);
    }

    const std::optional<QByteArray> sheet = readSheet(*args.into);
    if (!sheet)
        return ExitRefused;
    if (args.command == u"cue") {
        const CueRewrite cue = RewriteCueSheet(*sheet, store, *args.language);
        switch (cue.fault) {
        case CueRewrite::None:
            return deliver(args, cue.sheet);
        case CueRewrite::TrackCount:
            return refuse(m_say.trackCountDiffers(*args.into, cue.sheetTracks, store.trackCount));
        case CueRewrite::Quote:
            return refuse(m_say.notWritableInSheet(cue.text, m_say.quoteInCueText()));
        case CueRewrite::BackslashAtEnd:
            return refuse(m_say.notWritableInSheet(cue.text, m_say.backslashEndsCueText()));
        }
    }
    const TocRewrite toc = RewriteTocFile(*sheet, store, blocks);
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
    return deliver(args, toc.toc);
}

int Session::deliver(const Arguments &args, const QByteArray &bytes)
{
    if (!args.output) {
        if (m_out.write(bytes) != bytes.size())
            return refuse(m_say.cannotWrite(u"-"_s, m_out.errorString()));
        return ExitDone;
    }
    const SaveResult saved = WriteFileAtomically(*args.output, bytes);
    if (!saved.ok)
        return refuse(m_say.cannotWrite(*args.output, saved.reason));
    return ExitDone;
}

// Reads a whole sheet. Only regular files are read, opened without blocking,
// so that a FIFO or a device can neither hang nor flood the command.
std::optional<QByteArray> Session::readSheet(const QString &path)
{
    FileReadResult sheet = ReadRegularFile(path, MaxSheetBytes);
    if (!sheet.ok) {
        refuse(m_say.cannotReadSheet(path, sheet.reason));
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
