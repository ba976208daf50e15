// SPDX-License-Identifier: GPL-3.0-or-later
// What the commands of sonolabe-cdtext share in talking to their user and in
// handing over their results.
#pragma once

#include "cdtext/cli/messages.h"

#include <QByteArray>
#include <QIODevice>
#include <QString>

#include <optional>

namespace sonolabe::cdtext {

// True when both paths name one file (or one path that does not exist yet).
bool SameFile(const QString &a, const QString &b);

class CommandIo
{
public:
    CommandIo(QIODevice &out, QIODevice &err) : m_out(out), m_err(err) {}

protected:
    // A line to the device; a line standard output does not take is noted.
    void print(QIODevice &device, const QString &text);
    // A line to standard error.
    void say(const QString &text) { print(m_err, text); }
    // Tells a usage error and returns ExitUsage.
    int usage(const QString &text);
    // Tells why the input is refused and returns ExitRefused.
    int refuse(const QString &text);
    // Writes the result to the output file (atomically), or to standard
    // output without one; returns ExitDone, or ExitRefused when it could not
    // be written.
    int deliver(const std::optional<QString> &output, const QByteArray &bytes);
    // The exit code of a command that would end with code: a result that
    // standard output did not take is told and refused.
    int finish(int code);

    QIODevice &m_out;
    QIODevice &m_err;

private:
    bool m_outLost = false;
};

} // namespace sonolabe::cdtext
