// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/titlestore.h"

#include <algorithm>

namespace sonolabe {

namespace detail {

int checkedLanguage(int language)
{
    Q_ASSERT_X(language >= 0 && language < LanguageCount, "TitleStore",
               "language index out of range");
    return std::clamp(language, 0, LanguageCount - 1);
}

int checkedTrack(int track)
{
    Q_ASSERT_X(track >= 1 && track <= MaxTracks, "TitleStore", "track number out of range");
    return std::clamp(track, 1, MaxTracks);
}

} // namespace detail

void TitleStore::ClearTexts()
{
    for (int language = 0; language < LanguageCount; ++language) {
        DiscNames[language].clear();
        ArtistNames[language].clear();
        for (int track = 1; track <= MaxTracks; ++track)
            TrackTitles(language, track).clear();
    }
}

void TitleStore::DropTracksAbove(int n)
{
    Q_ASSERT(n >= 0 && n <= MaxTracks);
    n = std::clamp(n, 0, MaxTracks);
    for (int track = n + 1; track <= TrackCount; ++track) {
        TrackTitles(Japanese, track).clear();
        TrackTitles(English, track).clear();
    }
    TrackCount = static_cast<quint8>(n);
}

void TitleStore::ReplaceDisc(const TitleStore &loaded)
{
    DiscNames = loaded.DiscNames;
    ArtistNames = loaded.ArtistNames;
    TrackTitles = loaded.TrackTitles;
    TrackCount = loaded.TrackCount;
}

bool TitleStore::sameDisc(const TitleStore &other) const
{
    return DiscNames == other.DiscNames && ArtistNames == other.ArtistNames &&
           TrackTitles == other.TrackTitles && TrackCount == other.TrackCount;
}

} // namespace sonolabe
