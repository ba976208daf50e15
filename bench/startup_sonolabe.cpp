// SPDX-License-Identifier: GPL-3.0-or-later
// The program as users start it, except that it ends as soon as its event loop
// has nothing left to do: the editor window is shown, drawn and idle.
#include "app/program.h"

#include <QApplication>
#include <QTimer>

int main(int argc, char *argv[])
{
    const sonolabe::EditorCommandLine commandLine = sonolabe::readEditorCommandLine(argc, argv);
    int qtArgc = 1;
    QApplication app(qtArgc, argv);
    QTimer::singleShot(0, &app, [] { QTimer::singleShot(0, qApp, &QCoreApplication::quit); });
    return sonolabe::runSonolabe(app, commandLine);
}
