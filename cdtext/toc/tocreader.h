// SPDX-License-Identifier: GPL-3.0-or-later
// Reading the structure of a cdrdao TOC file: where the disc's part and every
// track's part are, the CD_TEXT block each of them holds, and where a new
// CD_TEXT block would go. Nothing here changes the file; positions are byte
// offsets into it, so that a rewrite can replace exactly what it names.
//
// The file is split into tokens: words, quoted strings (a string ends on its
// own line; a backslash escapes the byte after it), "{", "}", ":" and ",".
// Blanks and comments (// to the end of the line) separate them. Blocks
// other than CD_TEXT are skipped whole, whatever they hold.
//
// A CD_TEXT block holds at most one LANGUAGE_MAP { number : code ... } and
// LANGUAGE number { ITEM value ... } blocks, where a value is a string or a
// { data } block. Map codes are read as numbers, with EN standing for 9 (the
// only name cdrdao knows that this program writes).
//
// Any bytes are read in time close to linear in their size, without
// recursion: a file that cannot be read gives the line it goes wrong on and
// what was found there.
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QtGlobal>

#include <optional>
#include <vector>

namespace sonolabe::cdtext {

// One item of a LANGUAGE block, such as TITLE "text".
struct TocItem
{
    QByteArray keyword;
    qsizetype begin = 0;      // of the keyword
    qsizetype valueBegin = 0; // of the string or the "{"
    qsizetype end = 0;        // after the value
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
    int code = -1; // -1 for a name this program does not know
};

struct TocCdTextBlock
{
    qsizetype begin = 0;      // of the word CD_TEXT
    qsizetype openEnd = 0;    // just after its "{"
    qsizetype closeBegin = 0; // of its "}"
    bool hasMap = false;
    qsizetype mapCloseBegin = 0; // of the LANGUAGE_MAP's "}", when there is one
    std::vector<TocMapEntry> map;
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

struct TocSyntaxError
{
    int line = 0;
    QString what;
};

// One token: the bytes from begin to end, on the line it starts on. A
// string's token holds its quotes, its escapes as they are written.
struct TocToken
{
    enum Kind { Word, String, Open, Close, Colon, Comma };
    Kind kind = Word;
    qsizetype begin = 0;
    qsizetype end = 0;
    int line = 1;
};

// Splits the file into tokens; comments and blanks separate them and are not
// kept. A string that does not end on its line sets error and ends the
// splitting, with the tokens before it.
std::vector<TocToken> TokenizeToc(QByteArrayView toc, std::optional<TocSyntaxError> &error);

struct TocLayout
{
    // contexts[0] is the disc, contexts[n] the n-th TRACK. Empty when the
    // file could not be read.
    std::vector<TocContext> contexts;
    std::optional<TocSyntaxError> error;
};

TocLayout ReadTocLayout(QByteArrayView toc);

} // namespace sonolabe::cdtext
