// SPDX-License-Identifier: GPL-3.0-or-later
// "sonolabe-cdtext import SOURCE -o TITLEFILE": a title file from a CD-Text
// pack file, a v07t sheet, a CUE sheet or a TOC file, as the editor's save
// would write it for the same texts.
#pragma once

#include "cdtext/cli/commandline.h"

#include <QIODevice>

namespace sonolabe::cdtext {

// Reads options.file and writes the title file (atomically) to
// options.output, or to out without one. Notes about the source and every
// text changed for the title file go to err as warnings. Returns ExitDone,
// ExitRefused when nothing could be read or written (the reason is shown),
// or ExitUsage for options that do not fit the source.
int RunImport(const Options &options, QIODevice &out, QIODevice &err);

} // namespace sonolabe::cdtext
