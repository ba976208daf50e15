// SPDX-License-Identifier: GPL-3.0-or-later
// Reading CD-Text pack files back into texts: the raw 18-byte packs, with or
// without the 4-byte length header that cdrecord and cdrskin write (a file
// size minus 2, big-endian, and two zero bytes) and the trailing NUL that
// some writers add.
//
// Every block is read with the character code of its size information:
// ISO-8859-1 and ASCII byte by byte, MS-JIS as code page 932. MS-JIS texts
// need not keep to two bytes per character: single bytes (seen on real
// discs) decode as the code page has them. A text ends at a NUL, or at two
// in a block whose packs carry the double-byte flag. A text that is a Tab
// (or two) stands for the text of the track before it.
#pragma once

#include "cdtext/import/importsource.h"

#include <QByteArrayView>

#include <optional>

namespace sonolabe::cdtext {

// The packs of a file without its length header and trailing NUL, or
// nothing when its size fits no pack file.
std::optional<QByteArrayView> PacksOfFile(QByteArrayView file);

// The blocks of a pack file, in the order of their block numbers. A pack
// whose CRC is wrong is noted (CrcMismatch); unless ignoreCrc, nothing is
// read then, and with it the note says the text was read all the same
// (CrcIgnored). CRCs that are all zero were never filled in: the file is read
// without them (CrcNotFilledIn). The tracks start at the first track of the
// size information; before it they have no text (FirstTrackNotOne).
SourceTexts ReadPackFile(QByteArrayView file, bool ignoreCrc);

} // namespace sonolabe::cdtext
