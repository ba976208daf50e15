// SPDX-License-Identifier: GPL-3.0-or-later
// The text of a track-list entry.
#pragma once

#include <QString>

namespace sonolabe {

// The track number as two digits (01 to 99), one blank, then the title as it
// is; an empty title leaves the number and the blank.
inline QString TrackEntry(int track, const QString &title)
{
    using namespace Qt::Literals::StringLiterals;
    return u"%1 "_s.arg(track, 2, 10, QChar(u'0')) + title;
}

} // namespace sonolabe
