// SPDX-License-Identifier: GPL-3.0-or-later
// "sonolabe-cdtext import SOURCE -o TITLEFILE": a title file from a CD-Text
// pack file, a v07t sheet, a CUE sheet or a TOC file, as the editor's save
// would write it for the same texts. The command line is parsed elsewhere;
// this runs the import for options already read.
#pragma once

#include "cdtext/import/importsource.h"
#include "cdtext/cli/messages.h"

#include <QIODevice>
#include <QString>

#include <optional>

namespace sonolabe::cdtext {

struct ImportOptions
{
    QString source;
    QString output;                 // empty: standard output
    std::optional<ImportKind> from; // without it, told by the source's content
    std::optional<int> block;       // 0 to 7
    bool ignoreCrc = false;
    std::optional<int> lang; // English or Japanese
};

// Reads the source and writes the title file (atomically). Notes about the
// source and every text changed for the title file go to err as warnings.
// Returns ExitDone, ExitRefused when nothing could be read or written (the
// reason is shown), or ExitUsage for options that do not fit the source.
int RunImport(const ImportOptions &options, QIODevice &out, QIODevice &err, UiLanguage language);

} // namespace sonolabe::cdtext
