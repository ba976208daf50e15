// SPDX-License-Identifier: GPL-3.0-or-later
// "sonolabe-cdtext import SOURCE -o TITLEFILE": a title file from a CD-Text
// pack file, a v07t sheet, a CUE sheet, a TOC file, a plain track list, or
// the tags of audio files (several files, or one folder of them), as the
// editor's save would write it for the same texts.
//
// A single SOURCE is told by its content: one of the burning tools' kinds
// when DetectImportKind knows it (such a file is never taken for audio),
// else audio when TagLib reads its tags. A folder, or more than one file, is
// audio. "-" reads standard input (any kind but audio). A track list is
// read only when --from list names it.
#pragma once

#include "cdtext/cli/commandline.h"

#include <QIODevice>

namespace sonolabe::cdtext {

// Reads options.files and writes the title file (atomically) to
// options.output, or to out without one. Notes about the source and every
// text changed for the title file go to err as warnings. Returns ExitDone,
// ExitRefused when nothing could be read or written, or when the source is
// refused as a whole (too many tracks, files of several discs): the reason
// is shown and nothing is written; or ExitUsage for options that do not fit
// the source.
int RunImport(const Options &options, QIODevice &out, QIODevice &err);

} // namespace sonolabe::cdtext
