// SPDX-License-Identifier: GPL-3.0-or-later
// cdrdao TOC files: the TITLE and PERFORMER items of the CD_TEXT blocks are
// rewritten with a title file's texts; everything else stays as it was, byte
// for byte. The file's structure is found by ReadTocLayout (tocreader.h);
// here the changes are worked out and applied in one pass.
//
// The disc's CD_TEXT block maps language numbers to language codes
// (LANGUAGE_MAP); the disc and every track hold one LANGUAGE block per
// language. English is code 9 (EN), Japanese code 105; a sheet without
// CD-Text gets English as language 0 and Japanese as 1. Languages the title
// file does not write, and items other than TITLE and PERFORMER, are kept.
// Track performers are kept too (the title file has none); cdrdao wants an
// item on the disc and on every track once one of them has it, so missing
// ones are added empty.
//
// Strings escape '"' as \" and write every other byte outside printable
// ASCII, and the backslash, as a three-digit octal escape: a code page 932
// character whose second byte is 0x5C can then never end a string early, and
// cdrdao (which keeps "\\" as two backslashes) reads every byte back as it
// was.
#pragma once

#include "cdtext/disc/discblocks.h"
#include "cdtext/toc/tocreader.h"
#include "model/titlestore.h"

#include <QByteArray>
#include <QByteArrayView>

#include <vector>

namespace sonolabe::cdtext {

// A quoted TOC string for bytes.
QByteArray TocString(QByteArrayView bytes);

struct TocRewrite
{
    enum Fault { None, TrackCount, NotUnderstood, NoFreeLanguageNumber };
    Fault fault = None;
    QByteArray toc;
    int sheetTracks = 0;
    int line = 0; // where the file could not be read
    TocSyntaxError::Kind problem = TocSyntaxError::StringNeverEnds; // what was found there
    bool ok() const { return fault == None; }
};

// Rewrites the file with the texts of the blocks (as DiscBlocks gives them
// for the store; a text a block does not hold counts as empty).
//
// Any bytes give a rewritten file or a fault, in time close to linear in
// their size: a file that cannot be read (an unterminated string or
// block, a language number that is no number from 0 to 7, ...) is
// NotUnderstood with the line, and a file with more tracks than a title file
// can name (MaxTracks) has the wrong track count for every store.
//
// With declareMsJis, the disc's block of a Japanese block declares
// ENCODING_MS_JIS, which cdrdao 1.2.5 and later need to label it MS-JIS (and
// cdrdao up to 1.2.4 refuses).
TocRewrite RewriteTocFile(QByteArrayView toc, const TitleStore &store,
                          const std::vector<DiscBlock> &blocks, bool declareMsJis = false);

} // namespace sonolabe::cdtext
