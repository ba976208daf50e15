// SPDX-License-Identifier: GPL-3.0-or-later
// Which character encoding a sheet (a CUE sheet, a plain track list) was
// written in, when the sheet does not say.
//
// Rippers and burners write CUE sheets in UTF-8 (often with a byte-order
// mark), in code page 932 (Japanese Windows) or in Windows-1252 (most other
// Windows systems). A byte-order mark or valid UTF-8 beyond ASCII settles it.
// Otherwise both single-byte-world readings are tried and the implausible one
// loses: code page 932 read into half-width katakana or user-defined
// characters right beside Latin letters ("ﾁg誥is" for "Ágætis"), against
// Windows-1252 read into symbols where letters belong ("‰Ä‚Ì" for "夏の").
#pragma once

#include <QByteArrayView>
#include <QString>

namespace sonolabe::cdtext {

enum class SheetEncoding { Utf8, Cp932, Windows1252 };

inline constexpr QByteArrayView Utf8ByteOrderMark("\xEF\xBB\xBF");

// A sheet that starts with a byte-order mark or is valid UTF-8 beyond ASCII:
// the one rule for UTF-8, so that what the CUE rewrite writes in and what the
// import reads in cannot differ.
bool isUtf8Sheet(QByteArrayView sheet);

struct SheetEncodingChoice
{
    SheetEncoding encoding = SheetEncoding::Cp932;
    // True when the bytes left the choice open between code page 932 and
    // Windows-1252 and it was made by plausibility: worth telling the user.
    bool guessed = false;
};

SheetEncodingChoice chooseSheetEncoding(QByteArrayView sheet);

// The text of bytes in the given encoding; a UTF-8 byte-order mark at the
// start is dropped.
QString decodeSheet(QByteArrayView bytes, SheetEncoding encoding);

} // namespace sonolabe::cdtext
