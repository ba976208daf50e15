// SPDX-License-Identifier: GPL-3.0-or-later
// A disc whose every text tells where it belongs, so that a test sees which
// texts moved, changed or were emptied.
#pragma once

#include "model/titlestore.h"

namespace sonolabe::test {

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

} // namespace sonolabe::test
