// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/englishtext.h"

#include "model/codepage932.h"

namespace sonolabe {

qint32 DoubleByteChk(QStringView strCheckString)
{
    const Cp932Encoder &encoder = Cp932Encoder::instance();
    for (qsizetype i = 0; i < strCheckString.size(); ++i) {
        if (encoder.isDoubleByte(strCheckString[i].unicode()))
            return static_cast<qint32>(i + 1);
    }
    return 0;
}

qint16 EnglishTextChk(QStringView text)
{
    if (text.isEmpty())
        return 0;
    if (DoubleByteChk(text) != 0)
        return 1;
    // Only the low byte is looked at, so for instance U+0141 (low byte 0x41)
    // passes here and is written as '?' later.
    for (const QChar ch : text) {
        const unsigned low = ch.unicode() & 0xFF;
        if (low < 32 || low > 126)
            return 1;
    }
    return 0;
}

} // namespace sonolabe
