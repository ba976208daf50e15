// SPDX-License-Identifier: GPL-3.0-or-later
// CD-Text packs: the 18-byte records a burner writes into the lead-in of an
// audio disc, and the pack files that cdrskin and wodim read with textfile=.
//
// A pack is a 4-byte header (pack type, track number, sequence number, block
// number with character position), 12 bytes of text and a CRC-16 over the
// first 16 bytes. Texts are NUL-terminated and run on from one pack to the
// next; all texts of one pack type are laid out one after the other, the
// disc's text first, then one per track. A block holds the texts of one
// language and ends in three size-information packs (type 0x8F) that describe
// this block and list the last sequence number and language of every block.
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QtGlobal>

#include <optional>
#include <vector>

namespace sonolabe::cdtext {

inline constexpr int PackSize = 18;
inline constexpr int PackTextSize = 12;

// CRC-16 with the polynomial 0x1021 and initial value 0 over the first 16
// bytes of a pack, inverted; it is stored big-endian in bytes 16 and 17.
quint16 PackCrc(QByteArrayView headerAndText);

inline constexpr quint8 PackTypeTitle = 0x80;
inline constexpr quint8 PackTypePerformer = 0x81;
inline constexpr quint8 PackTypeSongwriter = 0x82;
inline constexpr quint8 PackTypeComposer = 0x83;
inline constexpr quint8 PackTypeArranger = 0x84;
inline constexpr quint8 PackTypeMessage = 0x85;
inline constexpr quint8 PackTypeDiscId = 0x86;
inline constexpr quint8 PackTypeGenre = 0x87;
inline constexpr quint8 PackTypeCodes = 0x8E; // UPC/EAN of the disc, ISRCs of the tracks
inline constexpr quint8 PackTypeSizeInfo = 0x8F;

// The texts of one pack type in one block: entries[0] belongs to the disc,
// entries[i] to track firstTrack + i - 1. The bytes are already in the
// block's character code, without terminator.
struct PackTexts
{
    quint8 type = PackTypeTitle;
    std::vector<QByteArray> entries;
};

// A block's character code and language code, as its size information
// names them.
inline constexpr quint8 CharacterCodeIso8859_1 = 0x00;
inline constexpr quint8 CharacterCodeMsJis = 0x80;
inline constexpr quint8 LanguageCodeEnglish = 0x09;
inline constexpr quint8 LanguageCodeJapanese = 0x69;

struct PackBlock
{
    quint8 characterCode = CharacterCodeIso8859_1;
    quint8 languageCode = LanguageCodeEnglish;
    // Every character takes two bytes; texts end in two NULs and a repeat is
    // marked by two Tabs. Every entry must then have an even length.
    bool doubleByte = false;
    quint8 firstTrack = 1;
    quint8 lastTrack = 1;
    quint8 copyright = 0;
    std::vector<PackTexts> types; // in ascending order of type

    // The texts of the pack type, or null when the block has none.
    const PackTexts *textsOf(quint8 type) const;
};

inline constexpr int MaxBlocks = 8;
// A block holds at most 256 packs, three of which are size information. The
// format leaves 253 for texts; libburn has been seen to fail on a full block,
// so the command never fills more than 252.
inline constexpr int MaxTextPacksPerBlock = 253;
inline constexpr int TextPackBudget = 252;

struct PackOptions
{
    // A track's text equal to the previous track's (and not empty) is written
    // as a Tab (two in a double-byte block) instead of in full.
    bool tabRepeat = false;
    int textPackLimit = TextPackBudget;
};

// The number of text packs (size information not counted) the block needs.
int TextPacksNeeded(const PackBlock &block, bool tabRepeat);

// All packs of the blocks, block 0 first, or nothing when a block needs more
// text packs than options.textPackLimit (at most MaxTextPacksPerBlock) or
// there are more than MaxBlocks blocks.
std::optional<QByteArray> BuildPacks(const std::vector<PackBlock> &blocks,
                                     const PackOptions &options = {});

// A pack file as cdrecord writes cdtext.dat: a 4-byte header holding the file
// size minus 2 (big-endian) and two zero bytes, then the packs.
QByteArray PackFileBytes(QByteArrayView packs);

} // namespace sonolabe::cdtext
