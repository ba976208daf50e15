// SPDX-License-Identifier: GPL-3.0-or-later
// Files a test lays out before the program reads them.
#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>

namespace sonolabe::test {

// Creates or replaces the file with exactly these bytes; false if any step
// failed.
inline bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.flush();
}

} // namespace sonolabe::test
