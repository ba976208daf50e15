// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/startup.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    const sonolabe::CommandLine commandLine = sonolabe::ReadCommandLine(argc, argv);
    if (commandLine.action != sonolabe::CommandLineAction::Open)
        return sonolabe::AnswerWithoutWindows(commandLine);
    // Only the program's name: Qt takes none of the paths for its own options.
    int qtArgc = 1;
    QApplication app(qtArgc, argv);
    return sonolabe::RunSonolabe(app, commandLine);
}
