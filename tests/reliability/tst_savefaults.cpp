// SPDX-License-Identifier: GPL-3.0-or-later
// Saving under faults, at the file level (WriteFileAtomically): the folder
// vanishes between choosing and writing, the disk fills, the process is
// killed in the middle of a save. Whatever happens, the file that was there
// keeps every byte it had, and no half-written file takes its name. And a
// save that succeeds keeps what the file was: its mode, owner and links.
//
// Faults that need a process of their own (a mount namespace, another user, a
// kill at a chosen point) run in savefaults_helper.
#include "model/safefile.h"
#include "ui/common/messages.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>

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
    void keepsWhatTheFileWas_data();
    void keepsWhatTheFileWas();
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
    QVERIFY(!result.ok);
    QCOMPARE(
        SaveErrorMessage(u"/f/disc.txt"_s, result),
        u"曲名ﾌｧｲﾙを保存できませんでした。\r\rﾌｧｲﾙ名：\r/f/disc.txt\rフォルダーが見つかりません。"_s);
    QVERIFY2(!QFileInfo::exists(folder), "the folder is not made again");
    QCOMPARE(contents(m_dir->filePath(u"moved/disc.txt"_s)), "old"_ba);
}

// A name taken by something that is no regular file is refused, not replaced.
void TestSaveFaults::targetIsNoFile()
{
    const QString fifo = m_dir->filePath(u"disc.txt"_s);
    QCOMPARE(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    const SaveResult result = WriteFileAtomically(fifo, "new");
    QVERIFY(!result.ok);
    QCOMPARE(SaveErrorReason(result.failure, result.reason),
             u"保存先がフォルダーか通常のファイルではありません。"_s);
    QVERIFY(QFileInfo(fifo).exists() && !QFileInfo(fifo).isFile());
}

// A file saved over keeps its mode, its owner and group where the saving user
// may set them, and its hard links; a symbolic link to it stays a link. In
// the last row the user nobody saves (in the helper) a file it does not own
// but may write as a member of its group: the group stays, the owner cannot.
void TestSaveFaults::keepsWhatTheFileWas_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<QString>("link"); // a second name: "hard", "symbolic" or none
    QTest::addColumn<int>("owner");    // -1: this process's user and group
    QTest::addColumn<int>("group");
    QTest::addColumn<bool>("byMember");
    QTest::addColumn<int>("ownerAfter"); // -1: this process's user
    const int nobody = 65534, group = 4242;
    // clang-format off
    QTest::newRow("0600") << 0600 << QString() << -1 << -1 << false << -1;
    QTest::newRow("0644, two hard links") << 0644 << u"hard"_s << -1 << -1 << false << -1;
    QTest::newRow("0444, read-only") << 0444 << QString() << -1 << -1 << false << -1;
    QTest::newRow("0755, through a symbolic link") << 0755 << u"symbolic"_s << -1 << -1 << false << -1;
    QTest::newRow("another user's file") << 0640 << QString() << nobody << group << false << nobody;
    QTest::newRow("group kept, owner not") << 0664 << QString() << 0 << group << true << nobody;
    // clang-format on
}

void TestSaveFaults::keepsWhatTheFileWas()
{
    QFETCH(int, mode);
    QFETCH(QString, link);
    QFETCH(int, owner);
    QFETCH(int, group);
    QFETCH(bool, byMember);
    QFETCH(int, ownerAfter);
    const QString target = m_dir->filePath(u"disc.txt"_s);
    const QByteArray native = QFile::encodeName(target);
    write(target, "old");
    if (owner >= 0 && ::geteuid() != 0)
        QSKIP("only root can give a file to another user");
    if (owner >= 0)
        QCOMPARE(::chown(native.constData(), uid_t(owner), gid_t(group)), 0);
    QCOMPARE(::chmod(native.constData(), mode_t(mode)), 0);
    QString saveAs = target;
    const QString second = m_dir->filePath(u"second.txt"_s);
    if (link == u"hard")
        QCOMPARE(::link(native.constData(), QFile::encodeName(second).constData()), 0);
    if (link == u"symbolic") {
        QCOMPARE(::symlink("disc.txt", QFile::encodeName(second).constData()), 0);
        saveAs = second;
    }

    // Root may write a read-only file; anyone else is refused it.
    const bool saved = (mode & 0200) != 0 || ::geteuid() == 0;
    if (byMember) {
        QCOMPARE(::chmod(QFile::encodeName(m_dir->path()).constData(), 0777), 0);
        QProcess helper;
        helper.start(helperPath, {u"member"_s, saveAs, QString::number(group)});
        QVERIFY(helper.waitForFinished(60'000));
        const QByteArray report = helper.readAllStandardOutput().trimmed();
        if (helper.exitCode() == 77)
            QSKIP(report.constData());
        QCOMPARE(report, "ok"_ba);
    } else {
        QCOMPARE(WriteFileAtomically(saveAs, "new").ok, saved);
    }

    QCOMPARE(contents(target), saved ? "new"_ba : "old"_ba);
    struct stat info;
    QCOMPARE(::stat(native.constData(), &info), 0);
    QCOMPARE(info.st_mode & 07777, mode_t(mode));
    QCOMPARE(info.st_uid, ownerAfter < 0 ? ::geteuid() : uid_t(ownerAfter));
    QCOMPARE(info.st_gid, group < 0 ? ::getegid() : gid_t(group));
    if (link == u"hard") {
        QCOMPARE(info.st_nlink, nlink_t(2));
        QCOMPARE(contents(second), "new"_ba);
    }
    if (link == u"symbolic")
        QCOMPARE(QFileInfo(second).symLinkTarget(), target);
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
