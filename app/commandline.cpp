// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/commandline.h"

#include <QLocale>

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

namespace {

bool japaneseLocale()
{
    return QLocale::system().language() == QLocale::Japanese;
}

} // namespace

QString wrongOptionText(const QString &option)
{
    return (japaneseLocale() ? u"sonolabe: 知らないオプションです: "_s
                             : u"sonolabe: unknown option: "_s) +
           option + u'\n';
}

QString usageText()
{
    if (japaneseLocale()) {
        return u"使い方: sonolabe [ファイル ...]\n"
               "        sonolabe --help | --version\n"
               "ファイルごとに別のプロセスでCD-TEXTの曲名ファイルを開きます。\n"
               "ファイルがなければ、新規作成か既存のファイルを開くかを選ぶ画面を表示します。\n"_s;
    }
    return u"Usage: sonolabe [FILE ...]\n"
           "       sonolabe --help | --version\n"
           "Opens each CD-TEXT title file in a process and window of its own; without\n"
           "FILE, shows the dialog that creates a new disc or opens a file.\n"_s;
}

} // namespace sonolabe
