// SPDX-License-Identifier: GPL-3.0-or-later
#include "cdtext/cli/command.h"
#include "cdtext/cli/messages.h"
#include "model/safefile.h"

#include <QCoreApplication>
#include <QFile>

#include <unistd.h>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    sonolabe::cdtext::InstallTranslation();
    // The descriptors themselves, unbuffered: every write reaches the
    // system at once, so a failing one (a full disk, a closed pipe) is seen
    // and told instead of being lost in a buffer at exit.
    QFile out;
    QFile err;
    if (!out.open(STDOUT_FILENO, QIODevice::WriteOnly | QIODevice::Unbuffered) ||
        !err.open(STDERR_FILENO, QIODevice::WriteOnly | QIODevice::Unbuffered))
        return sonolabe::cdtext::ExitRefused;
    // The arguments as the bytes given: a file name that is not valid UTF-8
    // must name the same file again (QCoreApplication::arguments() would
    // replace its bytes).
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments << sonolabe::pathFromNative(argv[i]);
    return sonolabe::cdtext::RunCdTextCommand(arguments, out, err);
}
