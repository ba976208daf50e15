// SPDX-License-Identifier: GPL-3.0-or-later
#include "cdtext/cli/commandline.h"

#include "cdtext/cli/messages.h"

#include <QCommandLineOption>
#include <QCommandLineParser>

#include <algorithm>
#include <map>
#include <set>

namespace sonolabe::cdtext {

using namespace Qt::Literals::StringLiterals;

namespace {

enum class Option {
    Output,
    Into,
    Lang,
    TabRepeat,
    From,
    Block,
    IgnoreCrc,
    CdrdaoVersion,
    Disc,
    Artist,
    Encoding
};

// The options table: the parser's names (without dashes), whether a value
// follows, and how messages name the option.
struct OptionEntry
{
    Option option;
    QStringList names;
    bool takesValue;
    QString shown;
};

const std::vector<OptionEntry> &optionTable()
{
    static const std::vector<OptionEntry> table{
        {Option::Output, {u"o"_s, u"output"_s}, true, u"-o"_s},
        {Option::Into, {u"into"_s}, true, u"--into"_s},
        {Option::Lang, {u"lang"_s}, true, u"--lang"_s},
        {Option::TabRepeat, {u"tab-repeat"_s}, false, u"--tab-repeat"_s},
        {Option::From, {u"from"_s}, true, u"--from"_s},
        {Option::Block, {u"block"_s}, true, u"--block"_s},
        {Option::IgnoreCrc, {u"ignore-crc"_s}, false, u"--ignore-crc"_s},
        {Option::CdrdaoVersion, {u"cdrdao-version"_s}, true, u"--cdrdao-version"_s},
        {Option::Encoding, {u"encoding"_s}, true, u"--encoding"_s},
        {Option::Disc, {u"disc"_s}, true, u"--disc"_s},
        {Option::Artist, {u"artist"_s}, true, u"--artist"_s},
    };
    return table;
}

const OptionEntry &optionNamed(const QString &name)
{
    const auto &table = optionTable();
    return *std::find_if(table.begin(), table.end(),
                         [&](const OptionEntry &entry) { return entry.names.contains(name); });
}

// What one command takes, and which of those options it cannot do without,
// in the order they are asked for.
struct CommandRules
{
    QString name;
    std::vector<Option> accepted;
    std::vector<Option> required;
    bool readsSource = false; // FILE is import's source (or sources), not a title file
};

const CommandRules *rulesOf(const QString &command)
{
    using enum Option;
    static const std::vector<CommandRules> table{
        {u"check"_s, {Lang, TabRepeat, CdrdaoVersion}, {}},
        {u"packs"_s, {Output, Lang, TabRepeat}, {Output}},
        {u"v07t"_s, {Output, Lang}, {}},
        {u"cue"_s, {Output, Into, Lang}, {Into, Lang}},
        {u"toc"_s, {Output, Into, Lang, CdrdaoVersion}, {Into}},
        {u"import"_s, {Output, From, Lang, Block, IgnoreCrc, Disc, Artist, Encoding}, {}, true},
    };
    const auto found = std::find_if(table.begin(), table.end(),
                                    [&](const CommandRules &entry) { return entry.name == command; });
    return found == table.end() ? nullptr : &*found;
}

// Sets the option's value in options; the complaint when it does not fit.
std::optional<QString> takeValue(Options &options, const OptionEntry &entry, const QString &value)
{
    if (value.isEmpty())
        return Messages::missingValue(entry.shown);
    switch (entry.option) {
    case Option::Output:
        options.output = value;
        break;
    case Option::Into:
        options.into = value;
        break;
    case Option::Lang:
        if (value != u"en" && value != u"ja")
            return Messages::badChoice(entry.shown, value, {u"en"_s, u"ja"_s});
        options.language = value == u"en" ? English : Japanese;
        break;
    case Option::From: {
        static const std::map<QString, SourceKind> kinds{
            {u"packs"_s, SourceKind::Packs}, {u"v07t"_s, SourceKind::V07t},
            {u"cue"_s, SourceKind::Cue},     {u"toc"_s, SourceKind::Toc},
            {u"list"_s, SourceKind::List},   {u"audio"_s, SourceKind::Audio}};
        const auto kind = kinds.find(value);
        if (kind == kinds.end())
            return Messages::badChoice(
                entry.shown, value,
                {u"packs"_s, u"v07t"_s, u"cue"_s, u"toc"_s, u"list"_s, u"audio"_s});
        options.from = kind->second;
        break;
    }
    case Option::Block: {
        bool ok = false;
        options.block = value.toInt(&ok);
        if (!ok)
            return Messages::notANumber(entry.shown, value);
        break;
    }
    case Option::CdrdaoVersion:
        options.cdrdaoVersion = CdrdaoVersion::parse(value);
        if (!options.cdrdaoVersion)
            return Messages::notAVersion(entry.shown, value);
        break;
    case Option::Encoding: {
        static const std::map<QString, SheetEncoding> encodings{
            {u"utf-8"_s, SheetEncoding::Utf8},
            {u"cp932"_s, SheetEncoding::Cp932},
            {u"cp1252"_s, SheetEncoding::Windows1252}};
        const auto encoding = encodings.find(value);
        if (encoding == encodings.end())
            return Messages::badChoice(entry.shown, value, {u"utf-8"_s, u"cp932"_s, u"cp1252"_s});
        options.encoding = encoding->second;
        break;
    }
    case Option::Disc:
        options.disc = value;
        break;
    case Option::Artist:
        options.artist = value;
        break;
    case Option::TabRepeat:
        options.tabRepeat = true;
        break;
    case Option::IgnoreCrc:
        options.ignoreCrc = true;
        break;
    }
    return std::nullopt;
}

CommandLine wrong(const QString &error)
{
    return {CommandLine::WrongUsage, {}, error};
}

} // namespace

std::optional<ImportKind> ImportKindOf(SourceKind kind)
{
    switch (kind) {
    case SourceKind::Packs:
        return ImportKind::Packs;
    case SourceKind::V07t:
        return ImportKind::V07t;
    case SourceKind::Cue:
        return ImportKind::Cue;
    case SourceKind::Toc:
        return ImportKind::Toc;
    case SourceKind::List:
    case SourceKind::Audio:
        break;
    }
    return std::nullopt;
}

CommandLine ReadCommandLine(const QStringList &arguments)
{
    QCommandLineParser parser;
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsCompactedShortOptions);
    parser.setOptionsAfterPositionalArgumentsMode(QCommandLineParser::ParseAsOptions);
    for (const OptionEntry &entry : optionTable())
        parser.addOption(
            QCommandLineOption(entry.names, {}, entry.takesValue ? u"value"_s : QString()));
    const QCommandLineOption help(QStringList{u"h"_s, u"help"_s});
    const QCommandLineOption version(u"version"_s);
    parser.addOption(help);
    parser.addOption(version);

    // parse(), not process(): the parser neither prints nor exits. Its first
    // argument is taken for the program's name, and the command is not an
    // option: what follows it is read.
    const QString command = arguments.value(0);
    const bool parsed = parser.parse(QStringList{u"sonolabe-cdtext"_s} + arguments.mid(1));
    if (parser.isSet(help) || command == u"-h" || command == u"--help")
        return {CommandLine::Help, {}, {}};
    if (parser.isSet(version) || command == u"--version")
        return {CommandLine::Version, {}, {}};
    if (arguments.isEmpty())
        return wrong(Messages::noCommand());
    const CommandRules *rules = rulesOf(command);
    if (!rules)
        return wrong(Messages::unknownCommand(command));
    if (const QStringList unknown = parser.unknownOptionNames(); !unknown.isEmpty())
        return wrong(
            Messages::unknownOption((unknown[0].size() > 1 ? u"--"_s : u"-"_s) + unknown[0]));

    Options options;
    options.command = command;
    std::optional<QString> valueMissing; // after the last option
    std::map<QString, qsizetype> seen;   // the occurrences of each option so far
    std::set<Option> given;
    for (const QString &name : parser.optionNames()) {
        if (name == u"h" || name == u"help" || name == u"version")
            continue;
        const OptionEntry &option = optionNamed(name);
        if (std::find(rules->accepted.begin(), rules->accepted.end(), option.option) ==
            rules->accepted.end())
            return wrong(Messages::optionNotForCommand(option.shown, command));
        given.insert(option.option);
        if (!option.takesValue) {
            takeValue(options, option, u"on"_s);
            continue;
        }
        const QStringList values = parser.values(name);
        const qsizetype occurrence = seen[option.shown]++;
        if (occurrence >= values.size()) {
            valueMissing = Messages::missingValue(option.shown);
            continue;
        }
        if (const std::optional<QString> error = takeValue(options, option, values[occurrence]))
            return wrong(*error);
    }
    // Besides unknown options, the parser fails on an option without its
    // value, which can only be the last argument, and on "--flag=value".
    if (!parsed && !valueMissing) {
        for (const QString &argument : arguments.mid(1)) {
            const QString name = argument.mid(2).section(u'=', 0, 0);
            if (argument.startsWith(u"--") && argument.contains(u'=') &&
                parser.optionNames().contains(name) && !optionNamed(name).takesValue)
                return wrong(Messages::unknownOption(argument));
        }
    }

    const QStringList positional = parser.positionalArguments();
    if (positional.size() > 1 && !rules->readsSource)
        return wrong(Messages::extraArgument(positional[1]));
    if (valueMissing)
        return wrong(*valueMissing);
    if (positional.isEmpty())
        return wrong(rules->readsSource ? Messages::missingSource() : Messages::missingTitleFile());
    options.file = positional[0];
    if (rules->readsSource)
        options.files = positional;
    for (const Option required : rules->required) {
        if (!given.contains(required)) {
            const auto &table = optionTable();
            const auto named = std::find_if(table.begin(), table.end(), [&](const OptionEntry &s) {
                return s.option == required;
            });
            return wrong(Messages::missingOption(named->shown, command));
        }
    }
    return {CommandLine::Run, options, {}};
}

} // namespace sonolabe::cdtext
