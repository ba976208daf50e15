// SPDX-License-Identifier: GPL-3.0-or-later
// What the formats share of their words: the blanks between the words of a
// sheet's line, and the codes and names of a title file's two languages as
// pack files, TOC files and v07t sheets give them. A block of any other
// language has no title-file language.
#pragma once

#include "cdtext/packs/packs.h"
#include "model/titlestore.h"

#include <optional>

namespace sonolabe::cdtext {

// A blank between the words of a v07t, CUE or TOC line.
constexpr bool isBlank(char c)
{
    return c == ' ' || c == '\t';
}

// The language code of the block of a title file's language, and back.
constexpr quint8 LanguageCodeOf(int language)
{
    return language == English ? LanguageCodeEnglish : LanguageCodeJapanese;
}

constexpr std::optional<int> LanguageOfCode(int code)
{
    if (code == LanguageCodeEnglish || code == LanguageCodeJapanese)
        return code == LanguageCodeEnglish ? English : Japanese;
    return std::nullopt;
}

// A TOC file's LANGUAGE_MAP gives a code as its decimal number, or English's
// as EN (the TOC reader reads both).
inline QByteArray TocLanguageWord(int code)
{
    return code == LanguageCodeEnglish ? QByteArray("EN") : QByteArray::number(code);
}

// A v07t sheet's "Language Code" is written as English or Japanese, and read
// as those names in any case or as a code, decimal or 0x hexadecimal.
constexpr const char *V07tLanguageName(int language)
{
    return language == English ? "English" : "Japanese";
}

inline std::optional<int> V07tLanguageOf(const QByteArray &value)
{
    const QByteArray lower = value.toLower();
    if (lower == "english" || lower == "japanese")
        return lower == "english" ? English : Japanese;
    bool ok = false;
    const int code = lower.startsWith("0x") ? lower.mid(2).toInt(&ok, 16) : lower.toInt(&ok);
    return ok ? LanguageOfCode(code) : std::nullopt;
}

} // namespace sonolabe::cdtext
