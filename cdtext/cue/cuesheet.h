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
#include <vector>

namespace sonolabe::cdtext {

// One line of a sheet, split as libburn (which cdrskin burns with) splits
// it: the keyword is the first word after blanks, its case ignored here; the
// rest starts after the blanks that follow it. The rewrite and the import
// both read a sheet through these lines.
struct CueLine
{
    int number = 0;         // counted from 0
    QByteArrayView content; // without the line end (and the sheet's byte-order mark)
    QByteArrayView lineEnd; // CR LF, CR, LF, or nothing on the last line
    QByteArrayView indent;
    QByteArrayView keyword; // as written
    QByteArrayView rest;
    bool is(const char *upperKeyword) const;
};

// The lines of one kind of text in one context. A burner reads them in turn,
// each replacing the text before it: the last one is the text burned.
struct CueTextLines
{
    std::optional<CueLine> last;
    std::vector<int> earlier; // numbers of the other lines
};

// Context 0 is the disc, context n the n-th TRACK (kept up to MaxTracks).
struct CueContext
{
    std::optional<CueLine> track;
    CueTextLines title;
    CueTextLines performer;
};

struct CueLayout
{
    std::vector<CueContext> contexts{1};
    int tracks = 0; // TRACK lines, all of them
    CueTextLines cdTextFile;
    // The first FILE or TRACK line, in front of which the disc's lines go.
    std::optional<CueLine> discInsert;
    std::vector<int> titledBeyond; // tracks above MaxTracks with a TITLE text
    // Lines of texts a title file leaves out, with their track (0 the disc,
    // up to MaxTracks): a track's PERFORMER, SONGWRITER, ISRC, CATALOG and
    // REM GENRE and REM COMMENT.
    std::vector<std::pair<int, CueLine>> otherTexts;
    bool utf8 = false; // IsUtf8CueSheet
};

CueLayout LayOutCueSheet(QByteArrayView sheet);

// The text of a TITLE, PERFORMER or CDTEXTFILE line as libburn reads it: the
// rest without trailing blanks, a leading double quote and the last one.
QByteArrayView CueText(const CueLine &line);

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
// left alone: the title file has none. A text goes on the line burners take
// (CueTextLines), the other lines of its kind go; an empty text removes them
// all.
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
