// SPDX-License-Identifier: GPL-3.0-or-later
// The one reading of a cdrdao TOC file, shared by the rewrite (tocfile.h),
// which takes the positions, and the import (importsheets.h), which takes the
// values: where the disc's part and every track's part are, the CD_TEXT block
// each of them holds, and where a new CD_TEXT block would go. Positions are
// byte offsets into the file, so that a rewrite can replace exactly what they
// name.
//
// The file is split into tokens: words, quoted strings (a string ends on its
// own line; a backslash escapes the byte after it, but for the \" that ends a
// line after an octal code page 932 lead byte, which is that character's
// second byte and the closing quote, as cdrdao up to 1.2.4 writes them), "{",
// "}", ":" and ",".
// Blanks and comments (// to the end of the line) separate them. Blocks
// other than CD_TEXT are skipped whole, whatever they hold.
//
// A CD_TEXT block holds LANGUAGE_MAP { number : code ... } and LANGUAGE
// number { ITEM value ... } blocks, as cdrdao reads them: the map's entries
// are not separated by commas; a language number is 0 to 7 and a code 0 to
// 255 or EN (9); a number mapped again takes the later code; a LANGUAGE block
// may start with one ENCODING_... word (cdrdao 1.2.5 and later), and every
// other item has a string or a { data } block as its value.
//
// Any bytes are read in time close to linear in their size and in memory a
// small multiple of it, without recursion: a file that cannot be read gives
// the line it goes wrong on and the kind of fault found there.
#pragma once

#include <QByteArrayView>
#include <QtGlobal>

#include <optional>
#include <vector>

namespace sonolabe::cdtext {

// One item of a LANGUAGE block, such as TITLE "text", or its ENCODING_...
// word (then the value is empty, valueBegin == end == keywordEnd).
struct TocItem
{
    qsizetype begin = 0;      // of the keyword
    qsizetype keywordEnd = 0; // after it
    qsizetype valueBegin = 0; // of the string or the "{"
    qsizetype end = 0;        // after the value
    QByteArrayView keyword(QByteArrayView toc) const
    {
        return toc.sliced(begin, keywordEnd - begin);
    }
    bool isEncoding() const { return end == keywordEnd; }
    // The string as written, quotes and escapes included; empty for data.
    QByteArrayView string(QByteArrayView toc) const
    {
        return valueBegin < end && toc[valueBegin] == '"' ? toc.sliced(valueBegin, end - valueBegin)
                                                          : QByteArrayView();
    }
};

struct TocLanguageBlock
{
    int number = 0;
    qsizetype begin = 0;   // of the word LANGUAGE
    qsizetype openEnd = 0; // just after its "{"
    std::vector<TocItem> items;
};

// One entry of a LANGUAGE_MAP: a language number and its language code.
struct TocMapEntry
{
    int number = 0;
    int code = 0;
};

struct TocCdTextBlock
{
    qsizetype begin = 0;      // of the word CD_TEXT
    qsizetype openEnd = 0;    // just after its "{"
    qsizetype closeBegin = 0; // of its "}"
    bool hasMap = false;
    qsizetype mapCloseBegin = 0;  // of the LANGUAGE_MAP's "}", when there is one
    std::vector<TocMapEntry> map; // each number once, with the code it ends up with
    std::vector<TocLanguageBlock> languages;
};

// The disc's part of the file, or one track's.
struct TocContext
{
    // The first CD_TEXT block of the part; a later one is skipped.
    std::optional<TocCdTextBlock> cdText;
    // Where a CD_TEXT block would go: for the disc, the start of the line
    // after its last statement (so that a comment in front of the first
    // track stays with the track); for a track, in front of the first word
    // of its body (PREGAP, FILE, INDEX, ...), or the end of the file.
    qsizetype insertAt = -1;
};

// What went wrong where; the words for it are the command line's.
struct TocSyntaxError
{
    enum Kind {
        StringNeverEnds,
        BraceNeverClosed,
        BlockExpected,     // LANGUAGE_MAP, LANGUAGE or "}" in a CD_TEXT block
        MapEntryExpected,  // "number : code" in a LANGUAGE_MAP
        BadLanguageNumber, // not a number from 0 to 7
        BadLanguageCode,   // not a number from 0 to 255, nor EN
        ItemExpected,      // a word such as TITLE in a LANGUAGE block
        ValueExpected,     // a string or { data } after an item's word
        TooManyTokens,     // more than MaxTocTokens
        NestedTooDeep,     // "{" more than MaxTocDepth deep
    };
    Kind kind = StringNeverEnds;
    int line = 0;
    bool operator==(const TocSyntaxError &) const = default;
};

// A 99-track TOC with every CD-Text item in all eight languages is under
// 20,000 tokens, and cdrdao's grammar nests blocks three deep (CD_TEXT,
// LANGUAGE, { data }). The limits are more than ten times that, and keep
// what a hostile file costs beside its own bytes small: at most 6 MiB of
// tokens (24 bytes each), and as many items and rewrites of them as the
// tokens allow.
inline constexpr qsizetype MaxTocTokens = qsizetype(1) << 18;
inline constexpr int MaxTocDepth = 32;

struct TocLayout
{
    // contexts[0] is the disc, contexts[n] the n-th TRACK. With an error,
    // the parts read whole before it.
    std::vector<TocContext> contexts;
    std::optional<TocSyntaxError> error;
};

TocLayout ReadTocLayout(QByteArrayView toc);

} // namespace sonolabe::cdtext
