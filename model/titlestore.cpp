// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/titlestore.h"

#include <algorithm>
#include <utility>

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

void TitleStore::clearTexts()
{
    for (int language = 0; language < LanguageCount; ++language) {
        discNames[language].clear();
        artistNames[language].clear();
        for (int track = 1; track <= MaxTracks; ++track)
            trackTitles(language, track).clear();
    }
}

void TitleStore::setTrackCount(int n)
{
    Q_ASSERT(n >= 0 && n <= MaxTracks);
    n = std::clamp(n, 0, MaxTracks);
    for (int track = n + 1; track <= trackCount; ++track) {
        trackTitles(Japanese, track).clear();
        trackTitles(English, track).clear();
    }
    trackCount = static_cast<quint8>(n);
}

void TitleStore::moveTitle(Language language, int track, int destination)
{
    std::swap(trackTitles(language, track), trackTitles(language, destination));
}

} // namespace sonolabe
