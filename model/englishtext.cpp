// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/englishtext.h"

#include "model/codepage932.h"

#include <algorithm>

namespace sonolabe {

int firstDoubleByteCharacter(QStringView text)
{
    const Cp932Encoder &encoder = Cp932Encoder::instance();
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (encoder.isDoubleByte(text[i].unicode()))
            return static_cast<int>(i + 1);
    }
    return 0;
}

bool isEnglishUnit(char16_t unit)
{
    const unsigned low = unit & 0xFF;
    return low >= 32 && low <= 126 && !Cp932Encoder::instance().isDoubleByte(unit);
}

bool isEnglishText(QStringView text)
{
    return std::all_of(text.begin(), text.end(),
                       [](QChar ch) { return isEnglishUnit(ch.unicode()); });
}

} // namespace sonolabe
