// SPDX-License-Identifier: GPL-3.0-or-later
// Copying the disc name, the artist name and track titles between the
// Japanese and the English side of the store.
#pragma once

#include "model/titlestore.h"

#include <QtGlobal>

#include <array>
#include <bitset>

namespace sonolabe {

// The direction of one row, as the copy dialog's direction buttons step
// through them.
enum CopyDirection : int {
    NoCopy = 0,
    JapaneseToEnglish = 1,
    EnglishToJapanese = 2,
};
inline constexpr int CopyDirectionCount = 3;

// Rows: 0 disc name, 1 artist name, 2 track titles.
inline constexpr int CopyRowDiscName = 0;
inline constexpr int CopyRowArtistName = 1;
inline constexpr int CopyRowTrackTitles = 2;
inline constexpr int CopyRowCount = 3;
using CopyDirections = std::array<CopyDirection, CopyRowCount>;

// Bit k stands for track k + 1.
using TrackSelection = std::bitset<MaxTracks>;

// What the copy dialog asks for: a direction per row, whether only blank
// destinations are written, and the tracks whose titles are copied.
struct LanguageCopy
{
    CopyDirections directions{};
    bool blankOnly = false;
    TrackSelection tracks;
};

// Copies each row whose direction is not NoCopy from its source language to
// its destination language. With blankOnly a destination is written only
// where it is the empty string (a text of spaces is not blank); without it
// every destination is replaced, also by an empty source. Track titles are
// copied for the selected tracks from 1 to trackCount only; the selection
// plays no part in the other two rows. trackCount is never written.
void copyBetweenLanguages(TitleStore &store, const LanguageCopy &copy);

} // namespace sonolabe
