// SPDX-License-Identifier: GPL-3.0-or-later
// Start-up: the command line decides between the editor on a file and the
// new-or-open dialog.
#pragma once

#include "app/commandline.h"

#include <functional>

class QApplication;

namespace sonolabe {

class EditorSession;

// Starts the next instance of the chain with its arguments.
using StartSuccessor = std::function<void(const QStringList &arguments)>;

enum class StartupResult {
    EditorShown, // the first path loaded; the dialog was never shown
    DialogShown, // no path, or the path failed in the first instance
    Ended,       // the path failed in an instance started by another one
};

// Runs once per process, never again when the dialog is shown later from the
// editor. The successor is started before this instance loads its own file.
StartupResult startFromCommandLine(const EditorCommandLine &commandLine, EditorSession &session,
                                   const StartSuccessor &startSuccessor);

// Starts this program's executable, by its absolute path and without a shell,
// detached, with the arguments as they are.
void startSuccessorProcess(const QStringList &arguments);

// The command line of main(), read before the application exists.
EditorCommandLine readEditorCommandLine(int argc, char *argv[]);

// For --help, --version and a wrong option: prints the usage, the version or
// the complaint and returns the exit status; no window is opened.
int answerWithoutWindows(const EditorCommandLine &commandLine);

// The whole program: translations, store, windows, event loop. Qt is given
// no option from the command line: every argument is a path.
int runSonolabe(QApplication &app, const EditorCommandLine &commandLine);

} // namespace sonolabe
