// SPDX-License-Identifier: GPL-3.0-or-later
// Saving under real faults, at the file level (WriteFileAtomically): the disk
// fills, flushing to the disk fails, the saving process is killed in the
// middle. Whatever happens, the file that was there keeps every byte it had,
// and no half-written file takes its name. And a save that succeeds keeps
// what the file was: its mode, owner and links.
//
// Faults that need a process of their own (a mount namespace, a kill at a
// chosen point) run in this executable started again with "helper" and one of:
//   stop PATH SIZE POINT
//       Saves SIZE bytes at PATH and stops at POINT: "bytes:N" (the temporary
//       file holds N bytes; a file-size limit of N raises SIGXFSZ then),
//       "sync" (all written, about to be flushed to the disk) or "rename"
//       (flushed, about to replace the target); says "stopped" and waits to
//       be killed.
//   full|linked|syncfails FOLDER OLD NEW ROOM
//       Writes OLD bytes to FOLDER/disc.txt ("linked": with a second hard
//       link, so that it is rewritten in place), then saves NEW bytes there.
//       full, linked: FOLDER is a tmpfs of ROOM bytes in a mount namespace of
//       the helper's own; where that cannot be set up, a file-size limit of
//       ROOM - OLD bytes stands in for the full disk. syncfails: flushing to
//       the disk fails with EIO, as when a disk fills late or breaks. Says on
//       its last line the result (ok or failed), the target's bytes (old, new
//       or other) and the folder's files.
// Exit status 77: the fault cannot be set up on this machine.
#include "model/safefile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <dlfcn.h>
#include <grp.h>
#include <sched.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace sonolabe;
using namespace Qt::Literals::StringLiterals;

namespace {

constexpr uid_t nobody = 65534;

// What the helper does at the last steps of a save: "sync" or "rename", stop
// there; "syncfails", fail to flush.
QByteArray lastSteps;

QByteArray contents(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(unreadable)");
}

bool write(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.flush();
}

[[noreturn]] void stopHere()
{
    static const char line[] = "stopped\n";
    [[maybe_unused]] const ssize_t written = ::write(STDOUT_FILENO, line, sizeof line - 1);
    for (;;)
        ::pause();
}

[[noreturn]] void cannotSetUp(const char *what)
{
    std::printf("unsupported %s: %s\n", what, std::strerror(errno));
    std::exit(77);
}

void limitFileSize(qsizetype bytes, void (*onLimit)(int))
{
    struct sigaction action = {};
    action.sa_handler = onLimit;
    ::sigaction(SIGXFSZ, &action, nullptr);
    struct rlimit limit = {};
    ::getrlimit(RLIMIT_FSIZE, &limit);
    limit.rlim_cur = static_cast<rlim_t>(bytes);
    if (::setrlimit(RLIMIT_FSIZE, &limit) != 0)
        cannotSetUp("file-size limit");
}

int stop(const QString &path, qsizetype size, const QByteArray &point)
{
    if (point.startsWith("bytes:"))
        limitFileSize(point.mid(6).toLongLong(), [](int) { stopHere(); });
    else
        lastSteps = point;
    const SaveResult result = WriteFileAtomically(path, QByteArray(size, 'n'));
    std::printf("finished without stopping: %s\n", qUtf8Printable(result.reason));
    return 1;
}

bool mountSmallDisk(const QByteArray &folder, qsizetype room)
{
    const QByteArray options = "mode=0755,size=" + QByteArray::number(room);
    return ::unshare(CLONE_NEWNS) == 0 &&
           ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) == 0 &&
           ::mount("tmpfs", folder.constData(), "tmpfs", 0, options.constData()) == 0;
}

int save(const QByteArray &fault, const QString &folder, qsizetype oldSize, qsizetype newSize,
         qsizetype room)
{
    const QString path = folder + u"/disc.txt"_s;
    const bool smallDisk = fault != "syncfails" && mountSmallDisk(QFile::encodeName(folder), room);
    const QByteArray oldBytes(oldSize, 'o'), newBytes(newSize, 'n');
    if (!write(path, oldBytes) || (fault == "linked" && !QFile::link(path, folder + u"/2.txt"_s)))
        cannotSetUp("the old file");
    if (fault == "syncfails")
        lastSteps = fault;
    else if (!smallDisk)
        limitFileSize(room - oldSize, SIG_IGN);
    const SaveResult result = WriteFileAtomically(path, newBytes);
    lastSteps.clear();
    if (!result.ok)
        std::printf("reason %s\n", qUtf8Printable(result.reason));
    const QByteArray kept = contents(path);
    std::printf("%s %s %s\n", result.ok ? "ok" : "failed",
                kept == oldBytes   ? "old"
                : kept == newBytes ? "new"
                                   : "other",
                qUtf8Printable(QDir(folder).entryList(QDir::Files | QDir::Hidden).join(u'/')));
    return 0;
}

// Runs without an application object: a mount namespace of its own needs a
// process of one thread.
int helper(int argc, char *argv[])
{
    std::setvbuf(stdout, nullptr, _IONBF, 0);
    const auto argument = [&](int i) { return QByteArray(i < argc ? argv[i] : ""); };
    const auto number = [&](int i) { return qsizetype(argument(i).toLongLong()); };
    const QString path = QFile::decodeName(argument(1));
    if (argument(0) == "stop")
        return stop(path, number(2), argument(3));
    return save(argument(0), path, number(2), number(3), number(4));
}

template <typename Function> Function next(const char *name)
{
    return reinterpret_cast<Function>(::dlsym(RTLD_NEXT, name));
}

} // namespace

// The calls a save makes at its last steps (Qt's included), taken over so that
// the helper can stop there or make them fail; otherwise they do what the C
// library does.
extern "C" int fdatasync(int fd)
{
    if (lastSteps == "sync")
        stopHere();
    if (lastSteps == "syncfails") {
        errno = EIO;
        return -1;
    }
    static const auto real = next<int (*)(int)>("fdatasync");
    return real(fd);
}

extern "C" int rename(const char *from, const char *to) noexcept
{
    if (lastSteps == "rename")
        stopHere();
    static const auto real = next<int (*)(const char *, const char *)>("rename");
    return real(from, to);
}

class TestSaveFaults : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init();
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
}

// A file saved over keeps its mode, its owner and group where the saving user
// may set them, and its hard links; a symbolic link to it stays a link. In
// the last row the user nobody saves a file it does not own but may write as
// a member of its group: the group stays, the owner cannot.
void TestSaveFaults::keepsWhatTheFileWas_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<QString>("link"); // a second name: "hard", "symbolic" or none
    QTest::addColumn<int>("owner");    // -1: this process's user and group
    QTest::addColumn<int>("group");
    QTest::addColumn<bool>("byMember");
    const int group = 4242;
    QTest::newRow("0644, two hard links") << 0644 << u"hard"_s << -1 << -1 << false;
    QTest::newRow("0444, read-only") << 0444 << QString() << -1 << -1 << false;
    QTest::newRow("0755, through a symbolic link") << 0755 << u"symbolic"_s << -1 << -1 << false;
    QTest::newRow("another user's file") << 0640 << QString() << int(nobody) << group << false;
    QTest::newRow("group kept, owner not") << 0664 << QString() << 0 << group << true;
}

void TestSaveFaults::keepsWhatTheFileWas()
{
    QFETCH(int, mode);
    QFETCH(QString, link);
    QFETCH(int, owner);
    QFETCH(int, group);
    QFETCH(bool, byMember);
    const QString target = m_dir->filePath(u"disc.txt"_s);
    const QByteArray native = QFile::encodeName(target);
    QVERIFY(write(target, "old"));
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
        // For one save, this process acts as nobody in the file's group alone.
        const gid_t groups[] = {gid_t(group)};
        QCOMPARE(::chmod(QFile::encodeName(m_dir->path()).constData(), 0777), 0);
        QVERIFY(::setgroups(1, groups) == 0 && ::setegid(nobody) == 0 && ::seteuid(nobody) == 0);
    }
    const bool ok = WriteFileAtomically(saveAs, "new").ok;
    if (byMember)
        QVERIFY(::seteuid(0) == 0 && ::setegid(0) == 0 && ::setgroups(0, nullptr) == 0);

    QCOMPARE(ok, saved);
    QCOMPARE(contents(target), saved ? "new"_ba : "old"_ba);
    struct stat info;
    QCOMPARE(::stat(native.constData(), &info), 0);
    QCOMPARE(info.st_mode & 07777, mode_t(mode));
    QCOMPARE(info.st_uid, byMember ? nobody : owner >= 0 ? uid_t(owner) : ::geteuid());
    QCOMPARE(info.st_gid, group >= 0 ? gid_t(group) : ::getegid());
    if (link == u"hard") {
        QCOMPARE(info.st_nlink, nlink_t(2));
        QCOMPARE(contents(second), "new"_ba);
    }
    if (link == u"symbolic")
        QCOMPARE(QFileInfo(second).symLinkTarget(), target);
}

// A real full disk: a tmpfs of a few pages (or a file-size limit where the
// helper cannot mount one).
void TestSaveFaults::diskFills_data()
{
    QTest::addColumn<QStringList>("arguments"); // fault, old, new, room
    QTest::addColumn<QString>("report");        // the result, the bytes, the files
    const QString k16 = u"16384"_s, k64 = u"65536"_s, k256 = u"262144"_s;
    QTest::newRow("room enough") << QStringList{u"full"_s, k16, u"32768"_s, k64}
                                 << u"ok new disc.txt"_s;
    QTest::newRow("disk fills") << QStringList{u"full"_s, k16, k256, k64}
                                << u"failed old disc.txt"_s;
    QTest::newRow("flushing to the disk fails")
        << QStringList{u"syncfails"_s, u"1000"_s, u"8192"_s, u"0"_s} << u"failed old disc.txt"_s;
    // The old bytes are put back into the same file.
    QTest::newRow("rewritten in place, disk fills")
        << QStringList{u"linked"_s, k16, k256, k64} << u"failed old 2.txt/disc.txt"_s;
}

void TestSaveFaults::diskFills()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, report);
    const QString folder = m_dir->filePath(u"folder"_s);
    QVERIFY(QDir().mkdir(folder));
    arguments.insert(1, folder);
    QProcess helper;
    helper.start(QCoreApplication::applicationFilePath(), QStringList{u"helper"_s} + arguments);
    QVERIFY(helper.waitForFinished(120'000));
    const QString output = QString::fromUtf8(helper.readAllStandardOutput()).trimmed();
    if (helper.exitCode() == 77)
        QSKIP(qUtf8Printable(u"this machine cannot set the fault up: "_s + output));
    QCOMPARE(helper.exitCode(), 0);
    QCOMPARE(output.mid(output.lastIndexOf(u'\n') + 1), report);
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
    QVERIFY(write(target, old));

    QProcess helper;
    helper.start(QCoreApplication::applicationFilePath(),
                 {u"helper"_s, u"stop"_s, target, QString::number(4 << 20), point});
    QVERIFY(helper.waitForStarted());
    QByteArray output;
    while (!output.contains('\n') && helper.waitForReadyRead(120'000))
        output += helper.readAllStandardOutput();
    QCOMPARE(output, "stopped\n"_ba);

    // The temporary file beside the target holds what was written so far.
    QStringList sizes;
    for (const QFileInfo &file : QDir(m_dir->path()).entryInfoList(QDir::Files | QDir::Hidden))
        sizes << QString::number(file.size());
    QVERIFY2(sizes.contains(QString::number(written)), qUtf8Printable(sizes.join(u' ')));
    QCOMPARE(contents(target), old);

    ::kill(static_cast<pid_t>(helper.processId()), SIGKILL);
    QVERIFY(helper.waitForFinished(60'000));
    QCOMPARE(contents(target), old);
    // The temporary file may stay behind under a name of its own; the
    // target's name is never half-written.
    for (const QString &name : QDir(m_dir->path()).entryList(QDir::Files | QDir::Hidden))
        QVERIFY2(name == u"disc.txt" || name.startsWith(u"disc.txt."), qUtf8Printable(name));
}

int main(int argc, char *argv[])
{
    if (argc >= 2 && qstrcmp(argv[1], "helper") == 0)
        return helper(argc - 2, argv + 2);
    QCoreApplication app(argc, argv);
    TestSaveFaults test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_savefaults.moc"
