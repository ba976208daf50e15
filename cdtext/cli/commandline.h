// SPDX-License-Identifier: GPL-3.0-or-later
// Reading sonolabe-cdtext's command line:
//
//   sonolabe-cdtext COMMAND FILE [options]
//   sonolabe-cdtext --help | --version
//
// FILE is the title file, or for import the SOURCE read: one file ("-" for
// standard input), or audio files or one folder of them. The first argument
// names the command; QCommandLineParser reads the rest by one table of
// options, and then each command's rules say which of them it takes and
// which it needs. A wrong line is told by its first fault in this order: an
// option the parser does not know; an option the command does not take, or
// an empty or wrong value (in the order given); a value given to an option
// that takes none; a second FILE; a value missing after the last option; no
// FILE; a missing option. "-h" or "--help" wins over everything else, then
// "--version"; after "--", or as the value of an option, they are arguments.
//
// Options: -o FILE (--output FILE), --into SHEET, --lang en|ja, --tab-repeat,
// for check and toc --cdrdao-version X.Y.Z, and for import --from
// packs|v07t|cue|toc|list|audio, --block N, --ignore-crc, --encoding
// utf-8|cp932|cp1252, --disc and --artist (their values are checked by the
// source they apply to); "--option=value" gives a value
// too, and so do the parser's short forms "-oFILE" and "-o=FILE". A lone "--"
// ends the options. An option given twice keeps the last value.
#pragma once

#include "cdtext/disc/burnroutes.h"
#include "cdtext/import/importsource.h"

#include <QString>
#include <QStringList>

#include <optional>

namespace sonolabe::cdtext {

// What import reads: a source of the burning tools, a plain track list, or
// the tags of audio files.
enum class SourceKind { Packs, V07t, Cue, Toc, List, Audio };

// The burning tools' kind of a source, or nothing for a list or audio.
std::optional<ImportKind> ImportKindOf(SourceKind kind);

// What the command line asks for; every command reads the fields it takes.
struct Options
{
    QString command;
    QString file;                  // the title file, or the (first) source of import
    QStringList files;             // import: every source given
    std::optional<QString> output; // none: standard output
    std::optional<QString> into;
    std::optional<int> language; // English or Japanese
    bool tabRepeat = false;
    std::optional<SourceKind> from; // none: told by the source's content
    std::optional<int> block;       // any number; import checks its range
    bool ignoreCrc = false;
    std::optional<QString> disc;   // import: a disc number (audio) or name (a list)
    std::optional<QString> artist; // import: a list's artist
    std::optional<CdrdaoVersion> cdrdaoVersion; // none: the installed cdrdao's
    std::optional<SheetEncoding> encoding;      // none: told by the sheet's bytes
};

struct CommandLine
{
    enum Outcome { Run, Help, Version, WrongUsage };
    Outcome outcome = Run;
    Options options; // for Run
    QString error;   // for WrongUsage: what was wrong, without the program's name
};

// Reads the arguments (without the program's name).
CommandLine ReadCommandLine(const QStringList &arguments);

} // namespace sonolabe::cdtext
