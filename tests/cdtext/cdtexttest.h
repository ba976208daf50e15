// SPDX-License-Identifier: GPL-3.0-or-later
// What the cdtext tests share: a small disc and a folder for files.
#pragma once

#include "model/titlestore.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

namespace sonolabe::cdtext::test {

// Two tracks: English with an artist, Japanese without one.
inline TitleStore twoTracks()
{
    using namespace Qt::Literals::StringLiterals;
    TitleStore store;
    store.trackCount = 2;
    store.discNames[English] = u"Best"_s;
    store.artistNames[English] = u"Band"_s;
    store.trackTitles(English, 1) = u"Intro"_s;
    store.trackTitles(English, 2) = u"Outro"_s;
    store.discNames[Japanese] = u"ベスト"_s;
    store.trackTitles(Japanese, 1) = u"序曲"_s;
    store.trackTitles(Japanese, 2) = u"表紙"_s;
    return store;
}

// A temporary folder, one per test function.
class Folder
{
public:
    QString path() const { return m_dir.path(); }
    QString path(const QString &name) const { return m_dir.filePath(name); }
    void write(const QString &name, const QByteArray &bytes) const
    {
        QFile file(path(name));
        QVERIFY(file.open(QIODevice::WriteOnly));
        QCOMPARE(file.write(bytes), bytes.size());
    }
    QByteArray read(const QString &name) const
    {
        QFile file(path(name));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

private:
    QTemporaryDir m_dir;
};

} // namespace sonolabe::cdtext::test
