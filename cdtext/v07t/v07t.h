// SPDX-License-Identifier: GPL-3.0-or-later
// Input sheets in the text format version 0.7T that cdrskin reads with
// input_sheet_v07t= and writes with cdtext_to_v07t=: one sheet per language
// block, all in one file, each a list of "Key = value" lines. Every sheet
// starts with the line "Input Sheet Version = 0.7T", which tells the reader
// that the next such line begins the next block. A disc has at most eight
// blocks: the reader stops at a ninth sheet.
#pragma once

#include "cdtext/disc/discblocks.h"

#include <QByteArray>
#include <QByteArrayView>

#include <iterator>
#include <optional>
#include <vector>

namespace sonolabe::cdtext {

// The keys this program writes and reads, one table for both, in the order
// of V07tKey. The track keys are "Track NN Title" and "Track NN Artist": the
// table holds the word after the number. The reader ignores case and runs of
// blanks.
// The keys before TrackTitle belong to the disc, the others to a track
// ("Track NN Title"; "ISRC NN" too). The keys after ArtistName and
// TrackArtist hold texts a title file leaves out.
enum class V07tKey {
    SheetVersion,
    TextCode,
    LanguageCode,
    AlbumTitle,
    ArtistName,
    FirstTrack,
    LastTrack,
    Songwriter,
    Composer,
    Arranger,
    Message,
    AlbumMessage,
    DiscInformation,
    CatalogNumber,
    GenreCode,
    GenreInformation,
    UpcEan,
    TrackTitle,
    TrackArtist,
    TrackSongwriter,
    TrackComposer,
    TrackArranger,
    TrackMessage,
    TrackIsrc
};
inline constexpr const char *V07tKeyNames[] = {"Input Sheet Version",
                                               "Text Code",
                                               "Language Code",
                                               "Album Title",
                                               "Artist Name",
                                               "First Track Number",
                                               "Last Track Number",
                                               "Songwriter",
                                               "Composer",
                                               "Arranger",
                                               "Message",
                                               "Album Message",
                                               "Disc Information",
                                               "Catalog Number",
                                               "Genre Code",
                                               "Genre Information",
                                               "UPC / EAN",
                                               "Title",
                                               "Artist",
                                               "Songwriter",
                                               "Composer",
                                               "Arranger",
                                               "Message",
                                               "ISRC"};
static_assert(std::size(V07tKeyNames) == int(V07tKey::TrackIsrc) + 1);

// The key of a line's text before "=", with the track number of a track
// key; nothing for a key not in the table.
struct V07tField
{
    V07tKey key;
    int track = 0;
};
std::optional<V07tField> ParseV07tKey(QByteArrayView key);

struct V07tSheets
{
    QByteArray bytes;
    // The first text that starts with a space: the sheet reader skips the
    // blanks after "=", so the disc would lose them. Nothing is written then.
    std::optional<TextRef> leadingSpace;
    bool ok() const { return !leadingSpace; }
};

// The sheets for the blocks (as DiscBlocks gives them, texts already in
// their blocks' encodings): ISO-8859-1 for English, code page 932 for
// Japanese.
V07tSheets WriteV07tSheets(const std::vector<DiscBlock> &blocks);

} // namespace sonolabe::cdtext
