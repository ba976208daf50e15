// SPDX-License-Identifier: GPL-3.0-or-later
#include "cdtext/cli/commandio.h"

#include "cdtext/cli/command.h"
#include "model/safefile.h"

#include <QFile>
#include <QFileInfo>

#include <sys/stat.h>

namespace sonolabe::cdtext {

using namespace Qt::Literals::StringLiterals;

namespace {

// Hands buffered bytes of a file on to the system, and says whether it took
// them; other devices (buffers in memory) hold what was written already.
bool flushed(QIODevice &device)
{
    auto *file = qobject_cast<QFileDevice *>(&device);
    return !file || file->flush();
}

} // namespace

bool SameFile(const QString &a, const QString &b)
{
    struct stat sa, sb;
    const QByteArray na = nativePath(a);
    const QByteArray nb = nativePath(b);
    if (::stat(na.constData(), &sa) == 0 && ::stat(nb.constData(), &sb) == 0)
        return sa.st_dev == sb.st_dev && sa.st_ino == sb.st_ino;
    return QFileInfo(a).absoluteFilePath() == QFileInfo(b).absoluteFilePath();
}

void CommandIo::print(QIODevice &device, const QString &text)
{
    const QByteArray bytes = (text + u'\n').toUtf8();
    if (device.write(bytes) != bytes.size() && &device == &m_out)
        m_outLost = true;
}

int CommandIo::finish(int code)
{
    if (m_outLost && code != ExitUsage) {
        m_outLost = false;
        return refuse(Messages::cannotWrite(u"-"_s, m_out.errorString()));
    }
    return code;
}

int CommandIo::usage(const QString &text)
{
    say(u"sonolabe-cdtext: "_s % text);
    say(Messages::tryHelp());
    return ExitUsage;
}

int CommandIo::refuse(const QString &text)
{
    say(Messages::error(text));
    return ExitRefused;
}

int CommandIo::deliver(const std::optional<QString> &output, const QByteArray &bytes)
{
    if (!output) {
        if (m_out.write(bytes) != bytes.size() || !flushed(m_out))
            return refuse(Messages::cannotWrite(u"-"_s, m_out.errorString()));
        return ExitDone;
    }
    const SaveResult saved = writeFileAtomically(*output, bytes);
    if (!saved.ok)
        return refuse(Messages::cannotWrite(*output, saved.reason));
    return ExitDone;
}

} // namespace sonolabe::cdtext
