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
#include <QMap>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <csignal>
#include <memory>
#include <sys/stat.h>

using namespace sonolabe;
using namespace Qt::Literals::StringLiterals;

namespace {

const QString helperPath = QStringLiteral(SONOLABE_SAVE_HELPER);

// The helper's file contents, so that the test can compare with them.
QByteArray pattern(qsizetype size, char seed)
{
    QByteArray bytes(size, Qt::Uninitialized);
    for (qsizetype i = 0; i < size; ++i)
        bytes[i] = static_cast<char>(seed + i % 61);
    return bytes;
}

QByteArray oldBytes(qsizetype size)
{
    return pattern(size, 'A');
}

QByteArray newBytes(qsizetype size)
{
    return pattern(size, 'a');
}

QByteArray contents(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(unreadable)");
}

} // namespace

class TestSaveFaults : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();
    void folderVanishes_data();
    void folderVanishes();
    void diskFills_data();
    void diskFills();
    void killedMidSave_data();
    void killedMidSave();

private:
    // Runs the helper to its end and returns its "key value" lines.
    QMap<QString, QString> runHelper(const QStringList &arguments);
    void write(const QString &path, const QByteArray &bytes);

    std::unique_ptr<QTemporaryDir> m_dir;
};

void TestSaveFaults::initTestCase()
{
    QVERIFY2(QFileInfo(helperPath).isExecutable(), qUtf8Printable(helperPath));
}

void TestSaveFaults::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
}

void TestSaveFaults::cleanup()
{
    const QByteArray folder = QFile::encodeName(m_dir->filePath(u"folder"_s));
    ::chmod(folder.constData(), 0700);
    m_dir.reset();
}

void TestSaveFaults::write(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(bytes), qint64(bytes.size()));
}

QMap<QString, QString> TestSaveFaults::runHelper(const QStringList &arguments)
{
    QProcess helper;
    helper.start(helperPath, arguments);
    QMap<QString, QString> lines;
    if (!helper.waitForFinished(120'000)) {
        lines.insert(u"error"_s, u"the helper did not finish"_s);
        return lines;
    }
    lines.insert(u"exit"_s, QString::number(helper.exitCode()));
    const QString output = QString::fromUtf8(helper.readAllStandardOutput());
    for (const QString &line : output.split(u'\n', Qt::SkipEmptyParts)) {
        const qsizetype space = line.indexOf(u' ');
        lines.insert(line.left(space), space < 0 ? QString() : line.mid(space + 1));
    }
    return lines;
}

// The folder was there when the name was chosen and is gone, or is no folder
// any more, when the bytes are written. Nothing is created in its place.
void TestSaveFaults::folderVanishes_data()
{
    QTest::addColumn<QString>("change");
    QTest::newRow("folder removed") << u"removed"_s;
    QTest::newRow("folder renamed with the old file in it") << u"renamed"_s;
    QTest::newRow("folder replaced by a file") << u"file"_s;
}

void TestSaveFaults::folderVanishes()
{
    QFETCH(QString, change);
    const QString folder = m_dir->filePath(u"folder"_s);
    QVERIFY(QDir().mkdir(folder));
    const QString chosen = folder + u"/disc.txt"_s;
    if (change == u"renamed")
        write(chosen, oldBytes(5000));

    if (change == u"removed") {
        QVERIFY(QDir().rmdir(folder));
    } else if (change == u"renamed") {
        QVERIFY(QDir().rename(folder, m_dir->filePath(u"moved"_s)));
    } else {
        QVERIFY(QDir().rmdir(folder));
        write(folder, "a file where the folder was");
    }

    const SaveResult result = WriteFileAtomically(chosen, newBytes(5000));
    QVERIFY(!result.ok);
    QVERIFY(!result.reason.isEmpty());
    QVERIFY(!QFileInfo::exists(chosen));
    if (change == u"renamed") {
        QVERIFY2(!QFileInfo::exists(folder), "the folder is not made again");
        QCOMPARE(contents(m_dir->filePath(u"moved/disc.txt"_s)), oldBytes(5000));
    }
    if (change == u"file")
        QCOMPARE(contents(folder), QByteArray("a file where the folder was"));
}

// A real full disk: a tmpfs of a few pages in a mount namespace of the
// helper's own. Where that cannot be set up, a file-size limit stands in for
// the full disk; with it also a folder the user may not write to, where the
// save cannot use a temporary file. And a disk that refuses the final flush.
void TestSaveFaults::diskFills_data()
{
    QTest::addColumn<QString>("mode");
    QTest::addColumn<int>("oldSize");
    QTest::addColumn<int>("newSize");
    QTest::addColumn<int>("room"); // bytes of the tmpfs, or the file-size limit
    QTest::addColumn<bool>("saved");
    QTest::newRow("disk fills while writing a large file")
        << u"full"_s << 16 * 1024 << 256 * 1024 << 64 * 1024 << false;
    // A title file is a few kilobytes: it goes through the file's write
    // buffer, and the write fails only when the buffer is flushed on commit.
    QTest::newRow("disk fills while writing a small file")
        << u"full"_s << 60 * 1024 << 8 * 1024 << 64 * 1024 << false;
    QTest::newRow("room enough") << u"full"_s << 16 * 1024 << 32 * 1024 << 64 * 1024 << true;
    QTest::newRow("file-size limit, large file")
        << u"limit"_s << 16 * 1024 << 256 * 1024 << 64 * 1024 << false;
    QTest::newRow("file-size limit, small file")
        << u"limit"_s << 1000 << 8 * 1024 << 4 * 1024 << false;
    QTest::newRow("flushing to the disk fails")
        << u"syncfails"_s << 1000 << 8 * 1024 << 0 << false;
    QTest::newRow("unwritable folder, disk fills")
        << u"lockedfolder"_s << 16 * 1024 << 256 * 1024 << 64 * 1024 << false;
}

void TestSaveFaults::diskFills()
{
    QFETCH(QString, mode);
    QFETCH(int, oldSize);
    QFETCH(int, newSize);
    QFETCH(int, room);
    QFETCH(bool, saved);

    const QString folder = m_dir->filePath(u"folder"_s);
    QVERIFY(QDir().mkdir(folder));
    // The helper may run as another user, who must reach the folder.
    QVERIFY(::chmod(QFile::encodeName(m_dir->path()).constData(), 0755) == 0);
    const QMap<QString, QString> report = runHelper(
        {mode, folder, QString::number(oldSize), QString::number(newSize), QString::number(room)});
    if (report.value(u"exit"_s) == u"77")
        QSKIP(qUtf8Printable(u"this machine cannot set the fault up: "_s +
                             report.value(u"unsupported"_s)));
    QCOMPARE(report.value(u"exit"_s), u"0"_s);

    QCOMPARE(report.value(u"target"_s), saved ? u"new"_s : u"old"_s);
    QVERIFY2(report.value(u"result"_s).startsWith(saved ? u"ok"_s : u"failed "_s),
             qUtf8Printable(report.value(u"result"_s)));
    QCOMPARE(report.value(u"entries"_s), u"disc.txt"_s);
}

// The helper is stopped at a chosen point of the save, its temporary file is
// seen, and it is killed with SIGKILL: the old file keeps every byte.
void TestSaveFaults::killedMidSave_data()
{
    const int size = 4 << 20;
    QTest::addColumn<QString>("point");
    QTest::addColumn<qint64>("written"); // bytes in the temporary file when stopped
    QTest::newRow("temporary file just made") << u"bytes:0"_s << qint64(0);
    QTest::newRow("first byte written") << u"bytes:1"_s << qint64(1);
    QTest::newRow("half written") << u"bytes:%1"_s.arg(size / 2) << qint64(size / 2);
    QTest::newRow("all but the last byte") << u"bytes:%1"_s.arg(size - 1) << qint64(size - 1);
    QTest::newRow("written, not yet flushed") << u"sync"_s << qint64(size);
    QTest::newRow("flushed, not yet renamed") << u"rename"_s << qint64(size);
}

void TestSaveFaults::killedMidSave()
{
    QFETCH(QString, point);
    QFETCH(qint64, written);
    const qsizetype size = 4 << 20;
    const QString target = m_dir->filePath(u"disc.txt"_s);
    const QByteArray old = oldBytes(100'000);
    write(target, old);

    QProcess helper;
    helper.start(helperPath, {u"stop"_s, target, QString::number(size), point});
    QVERIFY(helper.waitForStarted());
    QByteArray output;
    while (!output.contains('\n') && helper.state() == QProcess::Running &&
           helper.waitForReadyRead(120'000))
        output += helper.readAllStandardOutput();
    output += helper.readAllStandardOutput();
    QCOMPARE(output, QByteArray("stopped\n"));

    // The temporary file, holding what was written so far: one of the
    // helper's open files in the target's folder, or, once it has been given
    // a name, a file of the folder.
    QStringList candidates;
    const QString fds = u"/proc/%1/fd"_s.arg(helper.processId());
    for (const QString &fd :
         QDir(fds).entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot)) {
        if (QFile::symLinkTarget(fds % u'/' % fd).startsWith(m_dir->path() + u'/'))
            candidates << fds % u'/' % fd;
    }
    for (const QString &name : QDir(m_dir->path()).entryList(QDir::Files | QDir::Hidden)) {
        if (name != u"disc.txt")
            candidates << m_dir->filePath(name);
    }
    const bool seen = std::any_of(candidates.cbegin(), candidates.cend(), [&](const QString &path) {
        return QFileInfo(path).size() == written;
    });
    QVERIFY2(seen, qUtf8Printable(u"no temporary file of %1 bytes among "_s.arg(written) +
                                  candidates.join(u", "_s)));
    QCOMPARE(contents(target), old);

    ::kill(static_cast<pid_t>(helper.processId()), SIGKILL);
    QVERIFY(helper.waitForFinished(60'000));
    QCOMPARE(helper.exitStatus(), QProcess::CrashExit);

    QCOMPARE(contents(target), old);
    // A temporary file that had been given a name may stay behind under a
    // name of its own; the target's name is never half-written.
    for (const QString &name : QDir(m_dir->path()).entryList(QDir::Files | QDir::Hidden)) {
        if (name != u"disc.txt")
            QVERIFY2(name.startsWith(u"disc.txt."), qUtf8Printable(name));
    }

    // The folder takes the next save.
    const SaveResult again = WriteFileAtomically(target, "after\r\n");
    QVERIFY2(again.ok, qUtf8Printable(again.reason));
    QCOMPARE(contents(target), QByteArray("after\r\n"));
}

QTEST_GUILESS_MAIN(TestSaveFaults)
#include "tst_savefaults.moc"
