// SPDX-License-Identifier: GPL-3.0-or-later
// Reading sonolabe-cdtext's command line:
//
//   sonolabe-cdtext COMMAND FILE [options]
//
// FILE is the title file, or for import the SOURCE read.
// The first argument names the command; QCommandLineParser splits the rest
// into options, their values and positional arguments, and each command's
// rules say which options it takes and which it needs. A wrong line gives
// the message for its first wrong argument (an unknown option, an option
// the command does not take, an empty or wrong value, a second FILE); then,
// at the end of the line, a value missing after the last option, no FILE,
// a missing option. "-h" or "--help" anywhere wins over everything else.
//
// Options: -o FILE (--output FILE), --into SHEET, --lang en|ja, --tab-repeat,
// for check and toc --cdrdao-version X.Y.Z, and for import --from
// packs|v07t|cue|toc, --block N, --ignore-crc;
// "--option=value" gives a value too, and so do the parser's short forms
// "-oFILE" and "-o=FILE". A lone "--" ends the options. An option given twice
// keeps the last value.
#pragma once

#include "cdtext/disc/burnroutes.h"
#include "cdtext/import/importsource.h"
#include "cdtext/cli/messages.h"

#include <QString>
#include <QStringList>

#include <optional>

namespace sonolabe::cdtext {

struct Arguments
{
    QString command;
    QString file; // the title file, or the source of import
    std::optional<QString> output;
    std::optional<QString> into;
    std::optional<int> language; // English or Japanese
    bool tabRepeat = false;
    std::optional<ImportKind> from;
    std::optional<int> block; // any number; import checks its range
    bool ignoreCrc = false;
    std::optional<CdrdaoVersion> cdrdaoVersion; // given with --cdrdao-version
};

struct CommandLine
{
    enum Outcome { Run, Help, WrongUsage };
    Outcome outcome = Run;
    Arguments arguments; // for Run
    QString error;       // for WrongUsage: what was wrong, without the program's name
};

// Reads the arguments (without the program's name); messages come from say.
CommandLine ReadCommandLine(const QStringList &arguments, const Messages &say);

} // namespace sonolabe::cdtext
