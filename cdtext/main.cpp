// SPDX-License-Identifier: GPL-3.0-or-later
#include "cdtext/command.h"

#include <QCoreApplication>
#include <QFile>

#include <cstdio>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QFile out;
    QFile err;
    if (!out.open(stdout, QIODevice::WriteOnly | QIODevice::Unbuffered) ||
        !err.open(stderr, QIODevice::WriteOnly | QIODevice::Unbuffered))
        return sonolabe::cdtext::ExitRefused;
    const QStringList arguments = QCoreApplication::arguments().mid(1);
    return sonolabe::cdtext::RunCdTextCommand(arguments, out, err,
                                              sonolabe::cdtext::UiLanguageFromLocale());
}
