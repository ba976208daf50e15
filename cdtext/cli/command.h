// SPDX-License-Identifier: GPL-3.0-or-later
// The sonolabe-cdtext command line:
//
//   sonolabe-cdtext COMMAND TITLEFILE [options]
//
// with the commands check, packs, v07t, cue and toc (see Messages::help), and
//
//   sonolabe-cdtext import SOURCE [options]
//
// which makes a title file from what the burning tools read, from the tags of
// audio files or from a track list (RunImport).
// Results go to the output file (-o) or to standard output; messages go to
// standard error, except the report of check and the help, which are the
// results of those commands.
#pragma once

#include "cdtext/cli/messages.h"

#include <QIODevice>
#include <QStringList>

namespace sonolabe::cdtext {

// Exit codes.
inline constexpr int ExitDone = 0;
inline constexpr int ExitRefused = 1; // the input was refused; the reason was shown
inline constexpr int ExitUsage = 2;

// Runs one command; arguments do not include the program's name. Messages
// are in the language of the translation installed (InstallTranslation).
int RunCdTextCommand(const QStringList &arguments, QIODevice &out, QIODevice &err);

} // namespace sonolabe::cdtext
