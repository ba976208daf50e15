// SPDX-License-Identifier: GPL-3.0-or-later
// Saving under faults, at the file level (WriteFileAtomically): the folder
// vanishes between choosing and writing, the disk fills, the process is
// killed in the middle of a save. Whatever happens, the file that was there
// keeps every byte it had, and no half-written file takes its name.
//
// Faults that need a process of their own (a mount namespace, another user, a
// kill at a chosen point) run in savefaults_helper.
#include "model/titlefile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <memory>
#include <sys/stat.h>

using namespace sonolabe;
using namespace Qt::Literals::StringLiterals;

namespace {

const QString helperPath = QStringLiteral(SONOLABE_SAVE_HELPER);

QByteArray contents(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(unreadable)");
}

void write(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(bytes), qint64(bytes.size()));
}

} // namespace

class TestSaveFaults : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();
    void folderVanishes();
    void targetIsNoFile();
    void diskFills_data();
    void diskFills();
    void killedMidSave_data();
    void killedMidSave();

private:
    std::unique_ptr<QTemporaryDir> m_dir;
};

void TestSaveFaults::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    QVERIFY2(QFileInfo(helperPath).isExecutable(), qUtf8Printable(helperPath));
}

void TestSaveFaults::cleanup()
{
    ::chmod(QFile::encodeName(m_dir->filePath(u"folder"_s)).constData(), 0700);
    m_dir.reset();
}

// The folder chosen is renamed away, with the old file in it, before the
// bytes are written: the save fails and makes nothing in its place.
void TestSaveFaults::folderVanishes()
{
    const QString folder = m_dir->filePath(u"folder"_s);
    QVERIFY(QDir().mkdir(folder));
    write(folder + u"/disc.txt"_s, "old");
    QVERIFY(QDir().rename(folder, m_dir->filePath(u"moved"_s)));
    const SaveResult result = WriteFileAtomically(folder + u"/disc.txt"_s, "new");
    QVERIFY(!result.ok && !result.reason.isEmpty());
    QVERIFY2(!QFileInfo::exists(folder), "the folder is not made again");
    QCOMPARE(contents(m_dir->filePath(u"moved/disc.txt"_s)), "old"_ba);
}

// A name taken by something that is no regular file is refused, not replaced.
void TestSaveFaults::targetIsNoFile()
{
    const QString fifo = m_dir->filePath(u"disc.txt"_s);
    QCOMPARE(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    QVERIFY(!WriteFileAtomically(fifo, "new").ok);
    QVERIFY(QFileInfo(fifo).exists() && !QFileInfo(fifo).isFile());
}

// A real full disk: a tmpfs of a few pages (or a file-size limit where the
// helper cannot mount one). A title file is a few kilobytes, so the small
// file must fail where it is written, not only when it is committed.
void TestSaveFaults::diskFills_data()
{
    QTest::addColumn<QString>("fault");
    QTest::addColumn<int>("oldSize");
    QTest::addColumn<int>("newSize");
    QTest::addColumn<int>("room"); // bytes of the disk
    QTest::addColumn<bool>("saved");
    const int k = 1024;
    QTest::newRow("room enough") << u"full"_s << 16 * k << 32 * k << 64 * k << true;
    QTest::newRow("disk fills, large file") << u"full"_s << 16 * k << 256 * k << 64 * k << false;
    QTest::newRow("disk fills, small file") << u"full"_s << 60 * k << 8 * k << 64 * k << false;
    QTest::newRow("flushing to the disk fails") << u"syncfails"_s << 1000 << 8 * k << 0 << false;
    QTest::newRow("unwritable folder, rewritten in place, disk fills")
        << u"locked"_s << 16 * k << 256 * k << 64 * k << false;
}

void TestSaveFaults::diskFills()
{
    QFETCH(QString, fault);
    QFETCH(int, oldSize);
    QFETCH(int, newSize);
    QFETCH(int, room);
    QFETCH(bool, saved);
    const QString folder = m_dir->filePath(u"folder"_s);
    QVERIFY(QDir().mkdir(folder));
    // The helper may run as another user, who must reach the folder.
    QCOMPARE(::chmod(QFile::encodeName(m_dir->path()).constData(), 0755), 0);

    QProcess helper;
    helper.start(helperPath, {fault, folder, QString::number(oldSize), QString::number(newSize),
                              QString::number(room)});
    QVERIFY(helper.waitForFinished(120'000));
    const QStringList report =
        QString::fromUtf8(helper.readAllStandardOutput()).split(u'\n', Qt::SkipEmptyParts);
    if (helper.exitCode() == 77)
        QSKIP(qUtf8Printable(u"this machine cannot set the fault up: "_s + report.join(u' ')));
    QCOMPARE(helper.exitCode(), 0);
    // The result, the target's bytes and the folder's files.
    const QString expected = saved ? u"ok new disc.txt"_s : u"failed old disc.txt"_s;
    QVERIFY2(report.value(report.size() - 1) == expected, qUtf8Printable(report.join(u"; "_s)));
}

// The helper is stopped at a chosen point of the save, its temporary file is
// seen, and it is killed with SIGKILL: the old file keeps every byte.
void TestSaveFaults::killedMidSave_data()
{
    QTest::addColumn<QString>("point");
    QTest::addColumn<qint64>("written"); // bytes in the temporary file when stopped
    const qint64 size = 4 << 20;
    QTest::newRow("half written") << u"bytes:%1"_s.arg(size / 2) << size / 2;
    QTest::newRow("written, not yet flushed") << u"sync"_s << size;
    QTest::newRow("flushed, not yet renamed") << u"rename"_s << size;
}

void TestSaveFaults::killedMidSave()
{
    QFETCH(QString, point);
    QFETCH(qint64, written);
    const QString target = m_dir->filePath(u"disc.txt"_s);
    const QByteArray old(100'000, 'o');
    write(target, old);

    QProcess helper;
    helper.start(helperPath, {u"stop"_s, target, QString::number(4 << 20), point});
    QVERIFY(helper.waitForStarted());
    QByteArray output;
    while (!output.contains('\n') && helper.waitForReadyRead(120'000))
        output += helper.readAllStandardOutput();
    QCOMPARE(output, "stopped\n"_ba);

    // The temporary file, holding what was written so far: one of the
    // helper's open files in the target's folder, or, once it has been given
    // a name, a file of the folder.
    QStringList sizes;
    const QString fds = u"/proc/%1/fd/"_s.arg(helper.processId());
    for (const QString &fd : QDir(fds).entryList(QDir::System | QDir::Files)) {
        if (QFile::symLinkTarget(fds + fd).startsWith(m_dir->path() + u'/'))
            sizes << QString::number(QFileInfo(fds + fd).size());
    }
    for (const QFileInfo &file : QDir(m_dir->path()).entryInfoList(QDir::Files | QDir::Hidden))
        sizes << QString::number(file.size());
    QVERIFY2(sizes.contains(QString::number(written)), qUtf8Printable(sizes.join(u' ')));
    QCOMPARE(contents(target), old);

    ::kill(static_cast<pid_t>(helper.processId()), SIGKILL);
    QVERIFY(helper.waitForFinished(60'000));
    QCOMPARE(contents(target), old);
    // A temporary file that had been given a name may stay behind under a
    // name of its own; the target's name is never half-written.
    for (const QString &name : QDir(m_dir->path()).entryList(QDir::Files | QDir::Hidden))
        QVERIFY2(name == u"disc.txt" || name.startsWith(u"disc.txt."), qUtf8Printable(name));
}

QTEST_GUILESS_MAIN(TestSaveFaults)
#include "tst_savefaults.moc"
