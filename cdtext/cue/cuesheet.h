// SPDX-License-Identifier: GPL-3.0-or-later
// CUE sheets: the disc's TITLE and PERFORMER and every track's TITLE are
// rewritten with one language of a title file; every other line stays as it
// was, byte for byte.
//
// A CUE sheet has no escape for a double quote, and some readers (cuetools)
// take a backslash before the closing quote as an escape, which runs the text
// on into the next line. Such texts are refused rather than written broken.
// Texts are written in the sheet's own encoding: UTF-8 in a sheet that
// starts with a byte-order mark or is valid UTF-8 beyond ASCII (the mark
// stays), else code page 932 for Japanese texts.
//
// cdrskin (libburn) burns the texts of TITLE and PERFORMER as ISO-8859-1
// English whatever they hold, so a Japanese block reaches the disc only as
// a pack file named by a CDTEXTFILE line, which libburn burns instead of
// the sheet's texts.
#pragma once

#include "cdtext/disc/discblocks.h"
#include "model/titlestore.h"

#include <QByteArray>
#include <QByteArrayView>

#include <optional>

namespace sonolabe::cdtext {

struct CueRewrite
{
    enum Fault { None, TrackCount, Quote, BackslashAtEnd, PackFileName };
    Fault fault = None;
    QByteArray sheet;    // the rewritten sheet when there is no fault
    int sheetTracks = 0; // TRACK lines of the sheet
    TextRef text;        // the text refused for a quote or a backslash
    bool ok() const { return fault == None; }
};

// Rewrites the sheet with the texts of the language. Track performers are
// left alone: the title file has none. A text that is empty removes its line.
// The disc's lines are added in front of the first FILE or TRACK line, or at
// the end of a sheet that has neither; a track's after its TRACK line.
//
// Any bytes give a rewritten sheet or a fault; a sheet with more TRACK lines
// than a title file can name (MaxTracks) has the wrong track count for every
// store. The language is English or Japanese, and the texts are free of the
// errors FindProblems reports: a line break in a text would end its line.
//
// With cdTextFile, the disc's CDTEXTFILE line names it (a name holding a
// double quote or a line break is the fault PackFileName); without it every
// CDTEXTFILE line goes.
CueRewrite RewriteCueSheet(QByteArrayView sheet, const TitleStore &store, int language,
                           const std::optional<QByteArray> &cdTextFile = std::nullopt);

// True when the sheet's texts are UTF-8 (see above).
bool IsUtf8CueSheet(QByteArrayView sheet);

} // namespace sonolabe::cdtext
