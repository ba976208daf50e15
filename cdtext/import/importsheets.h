// SPDX-License-Identifier: GPL-3.0-or-later
// Reading texts back from the text sheets of the burning tools.
//
//  - v07t sheets as cdrskin writes them (cdtext_to_v07t=, textfile_to_v07t=)
//    and reads them (input_sheet_v07t=): one block per "Input Sheet Version"
//    line; "Text Code" 8859 and ASCII read byte by byte, MS-JIS as code page
//    932. Lines before the first sheet (cdrskin's greeting) are skipped; a
//    key line before any version line starts a sheet, as a single sheet
//    written without one (cdrskin reads it) has it.
//  - CUE sheets: the disc's TITLE and PERFORMER and each TRACK's TITLE, one
//    block without a language, read as libburn reads them (cuesheet.h): the
//    last of two TITLE lines counts. The texts are read as UTF-8 in a sheet
//    the rewrite writes UTF-8 into (IsUtf8CueSheet); otherwise as code page
//    932, as Sonolabe writes them.
//  - cdrdao TOC files: the CD_TEXT blocks of the disc and the tracks, one
//    block per language number, its language from the LANGUAGE_MAP (EN or 9
//    English, 105 Japanese). Escapes are read as cdrdao reads them: \" is a
//    double quote, \ and three octal digits a byte, and "\\" stays two
//    backslashes. A string holding bytes beyond ASCII as they are (not as
//    escapes) that form valid UTF-8 is UTF-8, as cdrdao 1.2.5 and later
//    write; any other string is in its block's encoding, as cdrdao up to
//    1.2.4 writes it: code page 932 for ENCODING_MS_JIS or a Japanese
//    block, ISO-8859-1 otherwise.
#pragma once

#include "cdtext/import/importsource.h"

#include <QByteArrayView>
#include <QString>

#include <optional>

namespace sonolabe::cdtext {

SourceTexts ReadV07tSheets(QByteArrayView sheets);
// Without encoding, the sheet's bytes tell it; a guess is noted.
SourceTexts ReadCueSheet(QByteArrayView sheet, std::optional<SheetEncoding> encoding = {});
SourceTexts ReadTocFile(QByteArrayView toc);

// The bytes as UTF-8 when they are valid UTF-8 and hold a byte beyond
// ASCII; nothing otherwise.
std::optional<QString> DecodeUtf8BeyondAscii(QByteArrayView bytes);

} // namespace sonolabe::cdtext
