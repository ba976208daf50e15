// SPDX-License-Identifier: GPL-3.0-or-later
// Checks that decide whether a text may stand in the English section of a
// title file: plain single-byte printable text only.
#pragma once

#include <QStringView>
#include <QtGlobal>

namespace sonolabe {

// Position (counted from 1, in UTF-16 code units) of the first character that
// code page 932 writes with two bytes, or 0 when there is none.
qint32 DoubleByteChk(QStringView strCheckString);

// 1 when the text may not stand on the English side, 0 when it may. A text
// passes when it has no double-byte character and the low byte of every code
// unit lies between 32 (space) and 126 (tilde).
qint16 EnglishTextChk(QStringView text);

} // namespace sonolabe
