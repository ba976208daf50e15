// SPDX-License-Identifier: GPL-3.0-or-later
// The command line: which file this instance opens and which paths it hands
// on to a successor instance, one process per file.
#pragma once

#include <QString>
#include <QStringList>

#include <optional>

namespace sonolabe {

// First argument of an instance started by another one; the second argument
// is then the rest of the argument text, taken verbatim.
inline constexpr char16_t SuccessorFlag[] = u"--successor";

// The argument text as the user typed it, rebuilt from an argument vector:
// the arguments joined by single spaces, one that holds a space (or is empty)
// enclosed in double quotes.
QString JoinArguments(const QStringList &arguments);

struct ArgumentText
{
    QString text;            // the paths still to be opened
    bool blnSpawned = false; // started by another instance for its file
};

// Reads the process's arguments (without the program's own name).
ArgumentText ArgumentTextFromArguments(const QStringList &arguments);

struct StartupPaths
{
    std::optional<QString> path;          // the file this instance loads
    std::optional<QString> successorText; // argument text of the next instance
    bool operator==(const StartupPaths &) const = default;
};

// Splits argument text into the first path and the rest. The first path is
// either enclosed in double quotes (one character after the closing quote is
// skipped) or ends at the first space (which is skipped). Empty text names no
// path unless the instance was started by another one.
StartupPaths SplitArgumentText(const ArgumentText &arguments);

} // namespace sonolabe
