// SPDX-License-Identifier: GPL-3.0-or-later
#include "cdtext/cli/commandline.h"

#include <QCommandLineOption>
#include <QCommandLineParser>

#include <algorithm>
#include <array>
#include <map>
#include <set>

namespace sonolabe::cdtext {

using namespace Qt::Literals::StringLiterals;

namespace {

enum class Option { Output, Into, Lang, TabRepeat, From, Block, IgnoreCrc, CdrdaoVersion };

struct OptionRule
{
    Option option;
    QStringList names; // as QCommandLineParser knows them, without dashes
    bool takesValue;
    QString shown; // how messages name the option
};

const std::array<OptionRule, 8> &optionRules()
{
    static const std::array<OptionRule, 8> rules{{
        {Option::Output, {u"o"_s, u"output"_s}, true, u"-o"_s},
        {Option::Into, {u"into"_s}, true, u"--into"_s},
        {Option::Lang, {u"lang"_s}, true, u"--lang"_s},
        {Option::TabRepeat, {u"tab-repeat"_s}, false, u"--tab-repeat"_s},
        {Option::From, {u"from"_s}, true, u"--from"_s},
        {Option::Block, {u"block"_s}, true, u"--block"_s},
        {Option::IgnoreCrc, {u"ignore-crc"_s}, false, u"--ignore-crc"_s},
        {Option::CdrdaoVersion, {u"cdrdao-version"_s}, true, u"--cdrdao-version"_s},
    }};
    return rules;
}

const OptionRule &ruleOf(const QString &name)
{
    const auto &rules = optionRules();
    const auto found = std::find_if(rules.begin(), rules.end(), [&](const OptionRule &rule) {
        return rule.names.contains(name);
    });
    Q_ASSERT(found != rules.end()); // the parser knows no other names
    return *found;
}

const OptionRule &ruleOf(Option option)
{
    const auto &rules = optionRules();
    const auto found = std::find_if(rules.begin(), rules.end(),
                                    [&](const OptionRule &rule) { return rule.option == option; });
    Q_ASSERT(found != rules.end());
    return *found;
}

// What one command takes: the options it accepts, and those of them it
// cannot do without, in the order they are asked for.
struct CommandRules
{
    enum File { TitleFile, Source };
    QString name;
    std::vector<Option> accepted;
    std::vector<Option> required;
    File file = TitleFile; // what the FILE argument is

    bool accepts(Option option) const
    {
        return std::find(accepted.begin(), accepted.end(), option) != accepted.end();
    }
};

const std::vector<CommandRules> &commandRules()
{
    static const std::vector<CommandRules> rules{
        {u"check"_s, {Option::Lang, Option::TabRepeat, Option::CdrdaoVersion}, {}},
        {u"packs"_s, {Option::Output, Option::Lang, Option::TabRepeat}, {Option::Output}},
        {u"v07t"_s, {Option::Output, Option::Lang}, {}},
        {u"cue"_s, {Option::Output, Option::Into, Option::Lang}, {Option::Into, Option::Lang}},
        {u"toc"_s,
         {Option::Output, Option::Into, Option::Lang, Option::CdrdaoVersion},
         {Option::Into}},
        {u"import"_s,
         {Option::Output, Option::From, Option::Lang, Option::Block, Option::IgnoreCrc},
         {},
         CommandRules::Source},
    };
    return rules;
}

const CommandRules *rulesOf(const QString &command)
{
    const auto &rules = commandRules();
    const auto found = std::find_if(rules.begin(), rules.end(),
                                    [&](const CommandRules &r) { return r.name == command; });
    return found == rules.end() ? nullptr : &*found;
}

bool isHelp(const QString &argument)
{
    return argument == u"-h" || argument == u"--help";
}

// The name QCommandLineParser gives an option argument: what follows "--" up
// to a "=", or the letter after a single "-".
QString parserName(const QString &argument)
{
    if (argument.startsWith(u"--"))
        return argument.mid(2).section(u'=', 0, 0);
    return argument.mid(1, 1);
}

// Reads what follows the command: its options and its FILE, by the
// command's rules.
class OptionReader
{
public:
    OptionReader(const QString &command, const CommandRules &rules, const Messages &say)
        : m_rules(rules), m_say(say)
    {
        m_result.command = command;
    }

    // The first rule the arguments break, or nothing. Unless they are the
    // whole line (complete), they are a beginning of it, which may still
    // lack the value of its last option, the FILE and required options.
    std::optional<QString> read(const QStringList &options, bool complete);
    const Arguments &arguments() const { return m_result; }

private:
    std::optional<QString> unusableOption(const QStringList &options) const;
    std::optional<QString> takeOptions(bool complete);
    void setFlag(Option option);
    std::optional<QString> takeValue(Option option, const QString &value);
    std::optional<QString> takeKind(const QString &value);
    std::optional<QString> takeFile(bool complete);
    std::optional<QString> missingOption() const;

    const CommandRules &m_rules;
    const Messages &m_say;
    QCommandLineParser m_parser;
    std::set<Option> m_given;
    Arguments m_result;
};

std::optional<QString> OptionReader::read(const QStringList &options, bool complete)
{
    for (const OptionRule &rule : optionRules()) {
        m_parser.addOption(rule.takesValue ? QCommandLineOption(rule.names, {}, u"value"_s)
                                           : QCommandLineOption(rule.names));
    }
    m_parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsCompactedShortOptions);
    m_parser.setOptionsAfterPositionalArgumentsMode(QCommandLineParser::ParseAsOptions);
    // parse(), not process(): the parser must neither print nor exit. Its
    // first argument is taken for the program's name.
    if (!m_parser.parse(QStringList{u"sonolabe-cdtext"_s} + options)) {
        if (const std::optional<QString> error = unusableOption(options))
            return error;
    }
    if (const std::optional<QString> error = takeOptions(complete))
        return error;
    if (const std::optional<QString> error = takeFile(complete))
        return error;
    return complete ? missingOption() : std::nullopt;
}

// Why the parser failed, unless it was only for the value missing after
// the last argument (which may still come, or takeOptions reports): an
// option it does not know, or a value given to one that takes none. A wrong
// line is read by ever longer beginnings (ReadCommandLine), so the option
// that cannot be used is the last argument read.
std::optional<QString> OptionReader::unusableOption(const QStringList &options) const
{
    const QString &last = options.last();
    const auto &rules = optionRules();
    const bool lacksValue = std::any_of(rules.begin(), rules.end(), [&](const OptionRule &rule) {
        return rule.takesValue && rule.names.contains(parserName(last));
    });
    if (m_parser.unknownOptionNames().isEmpty() && lacksValue && !last.contains(u'='))
        return std::nullopt;
    return m_say.unknownOption(last);
}

// Every option in the order given: the command must take it, and it must
// have a value that fits when it needs one.
std::optional<QString> OptionReader::takeOptions(bool complete)
{
    std::map<Option, qsizetype> seen; // occurrences so far, to pick each one's value
    for (const QString &name : m_parser.optionNames()) {
        const OptionRule &rule = ruleOf(name);
        if (!m_rules.accepts(rule.option))
            return m_say.optionNotForCommand(rule.shown, m_result.command);
        m_given.insert(rule.option);
        if (!rule.takesValue) {
            setFlag(rule.option);
            continue;
        }
        const QStringList values = m_parser.values(name);
        const qsizetype occurrence = seen[rule.option]++;
        if (occurrence >= values.size()) // the last argument, without its value
            return complete ? std::optional(m_say.missingValue(rule.shown)) : std::nullopt;
        if (values[occurrence].isEmpty())
            return m_say.missingValue(rule.shown);
        if (const std::optional<QString> error = takeValue(rule.option, values[occurrence]))
            return error;
    }
    return std::nullopt;
}

void OptionReader::setFlag(Option option)
{
    if (option == Option::TabRepeat)
        m_result.tabRepeat = true;
    else if (option == Option::IgnoreCrc)
        m_result.ignoreCrc = true;
}

std::optional<QString> OptionReader::takeValue(Option option, const QString &value)
{
    switch (option) {
    case Option::Output:
        m_result.output = value;
        break;
    case Option::Into:
        m_result.into = value;
        break;
    case Option::Lang:
        if (value == u"en")
            m_result.language = English;
        else if (value == u"ja")
            m_result.language = Japanese;
        else
            return m_say.badChoice(ruleOf(option).shown, value, {u"en"_s, u"ja"_s});
        break;
    case Option::From:
        return takeKind(value);
    case Option::Block: {
        bool ok = false;
        m_result.block = value.toInt(&ok);
        if (!ok)
            return m_say.notANumber(ruleOf(option).shown, value);
        break;
    }
    case Option::CdrdaoVersion: {
        const std::optional<CdrdaoVersion> version = CdrdaoVersion::parse(value);
        if (!version)
            return m_say.notAVersion(ruleOf(option).shown, value);
        m_result.cdrdaoVersion = version;
        break;
    }
    case Option::TabRepeat:
    case Option::IgnoreCrc:
        break;
    }
    return std::nullopt;
}

std::optional<QString> OptionReader::takeKind(const QString &value)
{
    static const std::array<std::pair<QString, ImportKind>, 4> kinds{{
        {u"packs"_s, ImportKind::Packs},
        {u"v07t"_s, ImportKind::V07t},
        {u"cue"_s, ImportKind::Cue},
        {u"toc"_s, ImportKind::Toc},
    }};
    QStringList names;
    for (const auto &[name, kind] : kinds) {
        if (value == name) {
            m_result.from = kind;
            return std::nullopt;
        }
        names << name;
    }
    return m_say.badChoice(ruleOf(Option::From).shown, value, names);
}

std::optional<QString> OptionReader::takeFile(bool complete)
{
    const QStringList positional = m_parser.positionalArguments();
    if (positional.size() > 1)
        return m_say.extraArgument(positional[1]);
    if (positional.isEmpty()) {
        if (!complete)
            return std::nullopt;
        return m_rules.file == CommandRules::Source ? m_say.missingSource()
                                                    : m_say.missingTitleFile();
    }
    m_result.file = positional[0];
    return std::nullopt;
}

std::optional<QString> OptionReader::missingOption() const
{
    for (const Option option : m_rules.required) {
        if (!m_given.contains(option))
            return m_say.missingOption(ruleOf(option).shown, m_result.command);
    }
    return std::nullopt;
}

// The parser tells what is wrong with a line, not where, and a line may be
// wrong in several ways. The message is about the first wrong argument:
// the one that ends the shortest beginning of the line that is wrong
// already. Only a wrong line is read again, so a right one costs nothing
// more. Nothing when only the whole line is wrong (a missing value, FILE or
// option).
std::optional<QString> firstError(const QString &command, const CommandRules &rules,
                                  const Messages &say, const QStringList &options)
{
    for (qsizetype count = 1; count <= options.size(); ++count) {
        OptionReader beginning(command, rules, say);
        if (const std::optional<QString> error = beginning.read(options.first(count), false))
            return error;
    }
    return std::nullopt;
}

CommandLine wrong(const QString &error)
{
    return {CommandLine::WrongUsage, {}, error};
}

} // namespace

CommandLine ReadCommandLine(const QStringList &arguments, const Messages &say)
{
    if (std::any_of(arguments.begin(), arguments.end(), isHelp))
        return {CommandLine::Help, {}, {}};
    if (arguments.isEmpty())
        return wrong(say.noCommand());
    const QString &command = arguments[0];
    const CommandRules *rules = rulesOf(command);
    if (!rules)
        return wrong(say.unknownCommand(command));

    const QStringList options = arguments.mid(1);
    OptionReader line(command, *rules, say);
    if (const std::optional<QString> error = line.read(options, true))
        return wrong(firstError(command, *rules, say, options).value_or(*error));
    return {CommandLine::Run, line.arguments(), {}};
}

} // namespace sonolabe::cdtext
