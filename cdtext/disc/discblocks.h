// SPDX-License-Identifier: GPL-3.0-or-later
// From a title file's texts to CD-Text language blocks: which languages get a
// block, how each text is encoded in it, and which texts cannot be written
// as they are.
//
// Block 0 is English (ISO-8859-1), block 1 Japanese (MS-JIS, two bytes per
// character); a language without any text gets no block, so a disc with
// Japanese texts only has the Japanese block as block 0.
#pragma once

#include "cdtext/disc/sheetwords.h"
#include "cdtext/packs/packs.h"
#include "model/titlestore.h"

#include <QByteArray>
#include <QString>
#include <QStringView>

#include <vector>

namespace sonolabe::cdtext {

// Which of the title file's languages a command writes.
struct LanguageChoice
{
    bool english = true;
    bool japanese = true;
    bool includes(int language) const { return language == English ? english : japanese; }
};

// One text of the disc: its disc name, its artist name or a track's title.
struct TextRef
{
    enum Slot { DiscName, Artist, TrackTitle };
    int language = Japanese;
    Slot slot = DiscName;
    int track = 0; // 1..99 for a track title
    bool operator==(const TextRef &) const = default;
};

const QString &TextOf(const TitleStore &store, const TextRef &ref);

enum class Problem {
    // English texts. The editor's save check refuses the text (a double-byte
    // or a control character, or one whose low byte is not printable).
    EditorRefuses,
    // English texts the editor accepts that ISO-8859-1 cannot hold, such as a
    // half-width katakana whose low byte happens to be printable: its byte
    // in the title file would be read as a different Latin-1 character.
    NotIso8859_1,
    // Japanese texts: a control character. A NUL would end the text early
    // and a Tab stands for "same as the previous track".
    ControlCharacter,
    // Warnings, Japanese texts: a character of the NEC or IBM extensions of
    // code page 932 (①, Ⅰ, ㈱, 髙...) that many players cannot show, and a
    // character the code page has no code for (written as a full-width "？").
    OutsideJisX0208,
    NotInCodePage,
};

bool IsError(Problem problem);

struct TextProblem
{
    TextRef text;
    Problem problem = Problem::EditorRefuses;
    qsizetype position = 0; // of the first such character, counted from 1
    QChar character;
    int more = 0; // further characters of the same problem in the text
};

// Notes a finding (a problem, a replacement) of a text only when it is the
// text's first of its kind; a later one of the same kind is counted in that
// first one's `more`.
template <typename Finding, typename Kind>
void NoteFirstOfKind(std::vector<Finding> &found, const Finding &finding, Kind Finding::*kind)
{
    for (Finding &seen : found) {
        if (seen.text == finding.text && seen.*kind == finding.*kind) {
            ++seen.more;
            return;
        }
    }
    found.push_back(finding);
}

// True when the language holds any text: a disc name, an artist name or the
// title of a track from 1 to trackCount.
bool LanguageHasText(const TitleStore &store, int language);

// The problems of every text of the language (disc name, artist name, titles
// of tracks 1 to trackCount), in that order.
std::vector<TextProblem> FindProblems(const TitleStore &store, int language);

// The double-byte form of a Japanese text: in an MS-JIS block every character
// takes two bytes, so printable ASCII and half-width katakana are replaced by
// their full-width forms (a half-width katakana with its sound mark becomes
// one character: ｶﾞ gives ガ). Other characters stay as they are.
QString DoubleByteForm(QStringView text);

// The bytes of a text in a Japanese block: code page 932 of its double-byte
// form, two bytes for every character, "？" for one the code page lacks.
QByteArray JapaneseBlockBytes(QStringView text);

// Code page 932 of a text where a character the code page lacks becomes a
// full-width "？" (0x81 0x48); with twoBytesEach, so does one it writes with
// one byte.
QByteArray Cp932WithFullWidthMarks(QStringView text, bool twoBytesEach);

// The bytes of a text in an English block. Only meaningful for texts
// without problems, which are printable ASCII.
QByteArray EnglishBlockBytes(QStringView text);

// True for a two-byte code page 932 code of JIS X 0208 (rows 1 to 8 and 16
// to 84), false for the NEC and IBM extensions and the user-defined area.
bool IsJisX0208(quint16 code);

struct DiscBlock
{
    int language = English;
    PackBlock pack;
    bool hasTitles = false;     // pack type 0x80 is used
    bool hasPerformers = false; // pack type 0x81 is used
};

// The blocks for the chosen languages that hold text, English first. Texts
// are encoded as the blocks need them; problems are not looked at here.
std::vector<DiscBlock> DiscBlocks(const TitleStore &store, LanguageChoice choice);

std::vector<PackBlock> PackBlocksOf(const std::vector<DiscBlock> &blocks);

} // namespace sonolabe::cdtext
