// SPDX-License-Identifier: GPL-3.0-or-later
// Discs the benchmarks work on.
#pragma once

#include "model/titlestore.h"

namespace sonolabe::bench {

// A full disc: the given number of tracks, both languages, 80-character
// titles (Japanese ones of double-byte characters).
inline TitleStore fullDisc(int tracks = MaxTracks)
{
    using namespace Qt::Literals::StringLiterals;
    const QString japanese = u"序曲「夜明けの街角で」〜ベスト・オブ・ソノラーベ表ソ能"_s;
    const QString english =
        u"Overture (Dawn at the Street Corner) - Best of Sonolabe, Remastered "_s;
    auto fill = [](const QString &pattern, int salt) {
        QString text;
        while (text.size() < 80)
            text += pattern;
        text.truncate(80);
        text[0] = pattern.at(salt % pattern.size());
        return text;
    };
    TitleStore store;
    store.trackCount = static_cast<quint8>(tracks);
    store.discNames[Japanese] = fill(japanese, 1);
    store.artistNames[Japanese] = fill(japanese, 2);
    store.discNames[English] = fill(english, 1);
    store.artistNames[English] = fill(english, 2);
    for (int track = 1; track <= tracks; ++track) {
        store.trackTitles(Japanese, track) = fill(japanese, track);
        store.trackTitles(English, track) = fill(english, track);
    }
    return store;
}

} // namespace sonolabe::bench
