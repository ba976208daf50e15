// SPDX-License-Identifier: GPL-3.0-or-later
#include "cdtext/import/sheetencoding.h"

#include "model/codepage932.h"

#include <algorithm>
#include <array>

namespace sonolabe::cdtext {

namespace {

// Windows-1252 differs from Latin-1 only in 0x80-0x9F; the five bytes it
// leaves undefined keep their C1 code, as Windows' own converter does.
constexpr std::array<char16_t, 32> Windows1252High = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

char16_t windows1252(uchar byte)
{
    return byte >= 0x80 && byte < 0xA0 ? Windows1252High[byte - 0x80] : char16_t(byte);
}

bool isAsciiLetter(char16_t c)
{
    return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z');
}

// A character a Latin-script title holds besides ASCII: a letter, or the
// typographic punctuation and signs Windows-1252 was made for.
bool plausibleInLatinText(char16_t c)
{
    static constexpr std::u16string_view Signs =
        u"\u2018\u2019\u201A\u201C\u201D\u201E\u2013\u2014\u2026\u2022\u00AB\u00BB\u00B0"
        u"\u00A9\u00AE\u2122\u00B4\u00A1\u00BF\u00B7\u00A0\u20AC\u00A3";
    return QChar::isLetter(c) || Signs.find(c) != std::u16string_view::npos;
}

// A character of a code page 932 reading that a real Japanese title would not
// hold right beside a Latin letter: half-width katakana and the user-defined
// area are where Windows-1252's accented letters land.
bool outOfPlaceBesideLatin(char16_t c)
{
    return (c >= 0xFF61 && c <= 0xFF9F) || (c >= 0xE000 && c <= 0xF8FF);
}

bool cp932ReadingImplausible(const QString &text)
{
    if (text.contains(Cp932Decoder::Replacement))
        return true; // not code page 932 at all
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (!outOfPlaceBesideLatin(text.at(i).unicode()))
            continue;
        const bool latinBefore = i > 0 && isAsciiLetter(text.at(i - 1).unicode());
        const bool latinAfter = i + 1 < text.size() && isAsciiLetter(text.at(i + 1).unicode());
        if (latinBefore || latinAfter)
            return true;
    }
    return false;
}

bool windows1252ReadingPlausible(QByteArrayView sheet)
{
    return std::all_of(sheet.begin(), sheet.end(), [](char byte) {
        const auto b = static_cast<uchar>(byte);
        return b < 0x80 || plausibleInLatinText(windows1252(b));
    });
}

} // namespace

bool isUtf8Sheet(QByteArrayView sheet)
{
    const bool beyondAscii =
        std::any_of(sheet.begin(), sheet.end(), [](char b) { return static_cast<uchar>(b) >= 0x80; });
    return sheet.startsWith(Utf8ByteOrderMark) || (beyondAscii && sheet.isValidUtf8());
}

SheetEncodingChoice chooseSheetEncoding(QByteArrayView sheet)
{
    if (isUtf8Sheet(sheet))
        return {SheetEncoding::Utf8, false};
    const bool ascii =
        std::all_of(sheet.begin(), sheet.end(), [](char b) { return static_cast<uchar>(b) < 0x80; });
    if (ascii)
        return {SheetEncoding::Cp932, false}; // every reading agrees
    const bool latin = windows1252ReadingPlausible(sheet) &&
                       cp932ReadingImplausible(Cp932Decoder::instance().decode(sheet));
    return {latin ? SheetEncoding::Windows1252 : SheetEncoding::Cp932, true};
}

QString decodeSheet(QByteArrayView bytes, SheetEncoding encoding)
{
    switch (encoding) {
    case SheetEncoding::Utf8:
        return QString::fromUtf8(bytes.startsWith(Utf8ByteOrderMark)
                                     ? bytes.sliced(Utf8ByteOrderMark.size())
                                     : bytes);
    case SheetEncoding::Cp932:
        return Cp932Decoder::instance().decode(bytes);
    case SheetEncoding::Windows1252: {
        QString text(bytes.size(), Qt::Uninitialized);
        std::transform(bytes.begin(), bytes.end(), text.begin(),
                       [](char b) { return QChar(windows1252(static_cast<uchar>(b))); });
        return text;
    }
    }
    return {};
}

} // namespace sonolabe::cdtext
