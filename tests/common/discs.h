// SPDX-License-Identifier: GPL-3.0-or-later
// Discs the tests start from: one made of the texts given, and one whose every
// text tells where it belongs, so that a test sees which texts moved, changed
// or were emptied.
#pragma once

#include "model/titlestore.h"

#include <QStringList>

namespace sonolabe::test {

// A disc of tracks: per language, disc name, artist and titles 1, 2, ...
inline TitleStore makeDisc(int tracks, const QStringList &japanese, const QStringList &english)
{
    TitleStore store;
    store.trackCount = static_cast<quint8>(tracks);
    const QStringList *texts[] = {&japanese, &english};
    for (int language = 0; language < LanguageCount; ++language) {
        store.discNames[language] = texts[language]->value(0);
        store.artistNames[language] = texts[language]->value(1);
        for (int t = 1; t <= tracks; ++t)
            store.trackTitles(language, t) = texts[language]->value(t + 1);
    }
    return store;
}

// count tracks titled J1, J2, ... and E1, E2, ..., and the names in both
// languages.
inline TitleStore numberedDisc(int count)
{
    using namespace Qt::Literals::StringLiterals;
    TitleStore disc;
    disc.trackCount = quint8(count);
    disc.discNames[Japanese] = u"ディスク"_s;
    disc.discNames[English] = u"Disc"_s;
    disc.artistNames[Japanese] = u"作者"_s;
    disc.artistNames[English] = u"Artist"_s;
    for (int track = 1; track <= count; ++track) {
        disc.trackTitles(Japanese, track) = u"J"_s + QString::number(track);
        disc.trackTitles(English, track) = u"E"_s + QString::number(track);
    }
    return disc;
}

// The text an editor box edits, by the box's name: the disc name, the artist
// or the title of track.
inline QString &textOf(TitleStore &store, const QString &box, int track)
{
    const int language = box.endsWith(u"English") ? English : Japanese;
    return box.startsWith(u"discNameEdit") ? store.discNames[language]
           : box.startsWith(u"artistEdit") ? store.artistNames[language]
                                           : store.trackTitles(language, track);
}

} // namespace sonolabe::test
