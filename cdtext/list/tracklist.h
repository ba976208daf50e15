// SPDX-License-Identifier: GPL-3.0-or-later
// Reading a plain track list, as pasted from a shop's or a label's page: one
// title a line.
//
//  - Lines end at CR LF, LF or CR; blank lines are skipped; blanks around a
//    line are dropped.
//  - A leading track number followed by ".", ")" (or their full-width forms)
//    or a Tab is dropped: "1. Title", "01) Title", "1<Tab>Title". A number
//    followed by a digit ("2.0") stays part of the title.
//  - "Artist - Title" and "Artist / Title" (the separator between blanks) are
//    read as artist and title only when every line holds the same
//    separator: one line without it means the separators are part of the
//    titles. When every artist is the same it becomes the disc's artist and
//    the titles lose it; when they differ, each line stays whole (a title
//    file holds one artist, and the track's artist is kept in its title).
//  - The encoding: UTF-8 with or without a byte-order mark, else code page
//    932 or Windows-1252 (chooseSheetEncoding).
#pragma once

#include "cdtext/import/importsource.h"
#include "cdtext/import/sheetencoding.h"

#include <QByteArrayView>
#include <QString>

#include <vector>

namespace sonolabe::cdtext {

struct TrackListNote
{
    enum Kind {
        EncodingGuessed, // value: the SheetEncoding chosen by plausibility
        TooManyTracks,   // value: the number of titles (above 99); nothing read
        ArtistsDiffer,   // value: how many artists; the lines are kept whole
    };
    Kind kind = EncodingGuessed;
    int value = 0;
    bool operator==(const TrackListNote &) const = default;
};

struct TrackList
{
    QString artist; // the disc's artist, when every line names the same one
    std::vector<QString> titles;
    SheetEncoding encoding = SheetEncoding::Utf8;
    std::vector<TrackListNote> notes;
};

TrackList readTrackList(QByteArrayView bytes);

// The list as the import's one block without a language.
SourceTexts trackListSourceTexts(const TrackList &list);

} // namespace sonolabe::cdtext
