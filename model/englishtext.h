// SPDX-License-Identifier: GPL-3.0-or-later
// Checks that decide whether a text may stand in the English section of a
// title file: plain single-byte printable text only.
#pragma once

#include <QStringView>
#include <QtGlobal>

namespace sonolabe {

// Position (counted from 1, in UTF-16 code units) of the first character that
// code page 932 writes with two bytes, or 0 when there is none.
int firstDoubleByteCharacter(QStringView text);

// The rule for one UTF-16 code unit of an English text: code page 932 writes
// it with one byte, and its low byte lies between 32 (space) and 126 (tilde).
// Only the low byte is looked at, so for instance U+0141 (low byte 0x41)
// passes and is written as '?' later.
bool isEnglishUnit(char16_t unit);

// True when every code unit of the text passes isEnglishUnit (an empty text
// does): the text may stand on the English side of a title file.
bool isEnglishText(QStringView text);

} // namespace sonolabe
