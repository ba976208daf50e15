// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/commandline.h"

#include <QCoreApplication>

namespace sonolabe {

using namespace Qt::Literals::StringLiterals;

EditorCommandLine parseEditorCommandLine(const QStringList &arguments)
{
    EditorCommandLine result;
    if (!arguments.isEmpty() && arguments.first() == QStringView(SuccessorFlag)) {
        result.startedByInstance = true;
        result.paths = arguments.mid(1);
        return result;
    }
    bool options = true;
    for (const QString &argument : arguments) {
        if (options && argument == u"--"_s) {
            options = false;
        } else if (options && argument.size() > 1 && argument.startsWith(u'-')) {
            if (argument == u"--help"_s || argument == u"-h"_s) {
                result.action = CommandLineAction::ShowHelp;
            } else if (argument == u"--version"_s) {
                result.action = CommandLineAction::ShowVersion;
            } else {
                result.action = CommandLineAction::WrongUsage;
                result.unknownOption = argument;
                return result;
            }
        } else {
            result.paths << argument;
        }
    }
    return result;
}

QStringList successorArguments(const QStringList &paths)
{
    if (paths.size() < 2)
        return {};
    return QStringList{QStringView(SuccessorFlag).toString()} + paths.mid(1);
}

// The texts go through Qt's translation: resources/translations/sonolabe_*.ts,
// installed by answerWithoutWindows for the system locale.
QString wrongOptionText(const QString &option)
{
    return QCoreApplication::translate("EditorCommandLine", "sonolabe: unknown option: %1\n")
        .arg(option);
}

QString usageText()
{
    return QCoreApplication::translate(
        "EditorCommandLine",
        "Usage: sonolabe [FILE ...]\n"
        "       sonolabe --help | --version\n"
        "Opens each CD-TEXT title file in a process and window of its own; without\n"
        "FILE, shows the dialog that creates a new disc or opens a file.\n");
}

} // namespace sonolabe
