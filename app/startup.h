// SPDX-License-Identifier: GPL-3.0-or-later
// Start-up: the command line decides between the editor on a file and the
// new-or-open dialog.
#pragma once

#include "app/commandline.h"

#include <functional>

class QApplication;

namespace sonolabe {

class Session;

// Starts the next instance of the chain with its argument text.
using StartSuccessor = std::function<void(const QString &successorText)>;

enum class StartupResult {
    EditorShown, // the first path loaded; the dialog was never shown
    DialogShown, // no path, or the path failed in the first instance
    Ended,       // the path failed in an instance started by another one
};

// Runs once per process, never again when the dialog is shown later from the
// editor. The successor is started before this instance loads its own file.
StartupResult StartFromCommandLine(const ArgumentText &arguments, Session &session,
                                   const StartSuccessor &startSuccessor);

// Starts this program's executable, by its absolute path and without a shell,
// detached, with the successor flag and the text as its two arguments.
void StartSuccessorProcess(const QString &successorText);

// The whole program: translations, store, windows, event loop.
int RunSonolabe(QApplication &app);

} // namespace sonolabe
