// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/languagecopy.h"

#include <optional>

namespace sonolabe {

namespace {

struct Languages
{
    Language source;
    Language destination;
};

// Source and destination of a direction; none for NoCopy.
std::optional<Languages> languagesOf(CopyDirection direction)
{
    switch (direction) {
    case JapaneseToEnglish:
        return Languages{Japanese, English};
    case EnglishToJapanese:
        return Languages{English, Japanese};
    case NoCopy:
        break;
    }
    return std::nullopt;
}

void copyText(const QString &source, QString &destination, bool blankOnly)
{
    if (!blankOnly || destination.isEmpty())
        destination = source;
}

} // namespace

void copyBetweenLanguages(TitleStore &store, const LanguageCopy &copy)
{
    const CopyDirections &directions = copy.directions;
    const bool blankOnly = copy.blankOnly;
    if (const auto row = languagesOf(directions[CopyRowDiscName]))
        copyText(store.discNames[row->source], store.discNames[row->destination], blankOnly);
    if (const auto row = languagesOf(directions[CopyRowArtistName]))
        copyText(store.artistNames[row->source], store.artistNames[row->destination], blankOnly);
    if (const auto row = languagesOf(directions[CopyRowTrackTitles])) {
        const int lastTrack = qMin(int(store.trackCount), MaxTracks);
        for (int track = 1; track <= lastTrack; ++track) {
            if (copy.tracks.test(std::size_t(track - 1)))
                copyText(store.trackTitles(row->source, track),
                         store.trackTitles(row->destination, track), blankOnly);
        }
    }
}

} // namespace sonolabe
