// SPDX-License-Identifier: GPL-3.0-or-later
// Input sheets in the text format version 0.7T that cdrskin reads with
// input_sheet_v07t=: one sheet per language block, all in one file. Every
// sheet starts with the line "Input Sheet Version = 0.7T", which tells the
// reader that the next such line begins the next block.
#pragma once

#include "cdtext/disc/discblocks.h"

#include <QByteArray>

#include <optional>
#include <vector>

namespace sonolabe::cdtext {

struct V07tSheets
{
    QByteArray bytes;
    // The first text that starts with a space: the sheet reader skips the
    // blanks after "=", so the disc would lose them. Nothing is written then.
    std::optional<TextRef> leadingSpace;
    bool ok() const { return !leadingSpace; }
};

// The sheets for the blocks (as DiscBlocks gives them, texts already in
// their blocks' encodings): ISO-8859-1 for English, code page 932 for
// Japanese.
V07tSheets WriteV07tSheets(const std::vector<DiscBlock> &blocks);

} // namespace sonolabe::cdtext
