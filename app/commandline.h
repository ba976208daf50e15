// SPDX-License-Identifier: GPL-3.0-or-later
// The command line: which file this instance opens and which files it hands
// on to a successor instance, one process per file; and the two options a
// Linux user expects of any program.
#pragma once

#include <QString>
#include <QStringList>

namespace sonolabe {

// First argument of an instance started by another one; every argument after
// it is a path, taken verbatim.
inline constexpr char16_t SuccessorFlag[] = u"--successor";

enum class CommandLineAction {
    Open,        // open paths (none: show the start-up dialog)
    ShowHelp,    // --help, -h
    ShowVersion, // --version
    WrongUsage,  // an option the program does not know
};

struct EditorCommandLine
{
    CommandLineAction action = CommandLineAction::Open;
    // The files to open, each argument one path exactly as the shell or the
    // file manager passed it: this instance's first, the rest for the
    // successor.
    QStringList paths;
    bool startedByInstance = false; // started by another instance for its file
    QString unknownOption;          // with WrongUsage
    bool operator==(const EditorCommandLine &) const = default;
};

// Reads the process's arguments (without the program's own name). Before
// "--", an argument that starts with "-" (and is not "-" alone) is an option;
// after it, or in an instance started by another one, every argument is a
// path. A file named like an option opens as "./--help" or after "--".
EditorCommandLine parseEditorCommandLine(const QStringList &arguments);

// The arguments of the successor instance for the paths after the first; empty
// when there are none, and then no successor is started.
QStringList successorArguments(const QStringList &paths);

// The usage, as the manual page's synopsis gives it, in the language of the
// translation installed.
QString usageText();
// The complaint about an option the program does not know, one line.
QString wrongOptionText(const QString &option);

} // namespace sonolabe
