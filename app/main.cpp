// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/program.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    const sonolabe::EditorCommandLine commandLine = sonolabe::readEditorCommandLine(argc, argv);
    if (commandLine.action != sonolabe::CommandLineAction::Open)
        return sonolabe::answerWithoutWindows(commandLine);
    // Only the program's name: Qt takes none of the paths for its own options.
    int qtArgc = 1;
    QApplication app(qtArgc, argv);
    return sonolabe::runSonolabe(app, commandLine);
}
