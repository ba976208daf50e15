// SPDX-License-Identifier: GPL-3.0-or-later
// The roads from a title file to a disc, and which blocks each of them
// burns as the title file says. What is known of the burners:
//
//  - packs (cdrskin textfile=): the packs are burned as they are.
//  - v07t (cdrskin input_sheet_v07t=): libburn (1.5.4) reads "Text Code =
//    MS-JIS" sheets but ends every text with a single NUL and clears the
//    double-byte flag after the first pack, so a player shows the Japanese
//    titles on the wrong tracks. English sheets are burned as they are, with
//    Tab repeats that libburn applies itself.
//  - cue (cdrskin cuefile=): libburn labels the texts of TITLE and PERFORMER
//    ISO-8859-1 English whatever bytes they hold. A CDTEXTFILE line names a
//    pack file that libburn burns instead of them, which is how Japanese
//    texts reach the disc.
//  - toc (cdrdao write): cdrdao up to 1.2.4 labels every CD-Text block
//    ISO-8859-1 and refuses ENCODING_MS_JIS; 1.2.5 and later label a block
//    MS-JIS when it declares ENCODING_MS_JIS.
#pragma once

#include "cdtext/disc/discblocks.h"

#include <QString>

#include <optional>
#include <tuple>
#include <vector>

namespace sonolabe::cdtext {

struct CdrdaoVersion
{
    int major = 0;
    int minor = 0;
    int patch = 0;

    // "1.2.4" and the like; nothing for anything else.
    static std::optional<CdrdaoVersion> parse(QStringView text);
    // The version of the cdrdao on the search path, or nothing when there
    // is none or it does not say.
    static std::optional<CdrdaoVersion> installed();

    // ENCODING_MS_JIS is understood (1.2.5 and later).
    bool knowsMsJis() const { return std::tuple(major, minor, patch) >= std::tuple(1, 2, 5); }
    QString toString() const;
    auto operator<=>(const CdrdaoVersion &) const = default;
};

// Why a road would put other texts on the disc than the title file holds.
enum class RouteFault {
    None,
    JapaneseV07t,         // libburn mis-burns a Japanese sheet
    JapaneseTocOldCdrdao, // cdrdao before 1.2.5 labels the block ISO-8859-1
    JapaneseTocNoCdrdao,  // no cdrdao installed and none named
};

RouteFault V07tFault(const std::vector<DiscBlock> &blocks);
RouteFault TocFault(const std::vector<DiscBlock> &blocks, std::optional<CdrdaoVersion> cdrdao);

bool HasJapaneseBlock(const std::vector<DiscBlock> &blocks);

} // namespace sonolabe::cdtext
