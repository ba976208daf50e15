// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/common/trackentry.h"

namespace sonolabe {

QString OneLineEntries::displayText(const QVariant &value, const QLocale &) const
{
    QString text = value.toString();
    if (text.size() > ShownLength)
        text.truncate(ShownLength);
    for (QChar &ch : text) {
        if (ch == u'\n' || ch == u'\r' || ch == QChar::LineSeparator ||
            ch == QChar::ParagraphSeparator)
            ch = u' ';
    }
    return text;
}

} // namespace sonolabe
