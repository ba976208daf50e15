// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/commandline.h"

namespace sonolabe {

using namespace Qt::Literals::StringLiterals;

QString JoinArguments(const QStringList &arguments)
{
    QString text;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString &argument = arguments.at(i);
        if (i > 0)
            text += u' ';
        if (argument.isEmpty() || argument.contains(u' '))
            text += u'"' % argument % u'"';
        else
            text += argument;
    }
    return text;
}

ArgumentText ArgumentTextFromArguments(const QStringList &arguments)
{
    if (arguments.size() >= 1 && arguments.first() == QStringView(SuccessorFlag))
        return {arguments.size() >= 2 ? arguments.at(1) : QString(), true};
    return {JoinArguments(arguments), false};
}

StartupPaths SplitArgumentText(const ArgumentText &arguments)
{
    const QString &s = arguments.text;
    StartupPaths result;
    if (s.isEmpty() && !arguments.blnSpawned)
        return result;

    // Positions below are 0-based; the searches start at the second character.
    if (s.startsWith(u'"')) {
        const qsizetype close = s.indexOf(u'"', 1);
        if (close < 0) {
            result.path = s.mid(1);
        } else {
            if (close + 1 < s.size())
                result.successorText = s.mid(close + 2);
            result.path = s.mid(1, close - 1);
        }
    } else {
        const qsizetype space = s.size() > 1 ? s.indexOf(u' ', 1) : -1;
        if (space < 0) {
            result.path = s;
        } else {
            if (space + 1 < s.size())
                result.successorText = s.mid(space + 1);
            result.path = s.left(space);
        }
    }
    return result;
}

} // namespace sonolabe
