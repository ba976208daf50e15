// SPDX-License-Identifier: GPL-3.0-or-later
// Saving under real faults, at the file level (writeFileAtomically): the disk
// fills, the last rename fails, the save stops at its last steps (a failing
// flush is a row of tst_openandsave, through the save dialog). Whatever
// happens, the file that was there keeps every byte it had, and no
// half-written file takes its name. And a save that succeeds keeps what the
// file was: its mode, owner and links.
//
// Faults that need a process of their own (a mount namespace, another user),
// and a failing rename beside them, run in this executable started again as
//   helper FAULT FOLDER OLD NEW ROOM
// which writes OLD bytes to FOLDER/disc.txt, then saves NEW bytes there:
//   full    FOLDER is a tmpfs of ROOM bytes in a mount namespace of the
//           helper's own; where that cannot be set up, a file-size limit of
//           ROOM - OLD bytes stands in for the full disk.
//   locked  The same, the folder taking no new file (read-only, and as root
//           the save runs as the user nobody, whose file it is), so that the
//           file is rewritten in place.
//   rename  Renaming the temporary file over the target fails.
// It says in one line the result (ok or failed), the target's bytes (old, new
// or other) and the folder's files. Exit status 77: the fault cannot be set
// up on this machine.
#include "common/files.h"
#include "common/lastsavesteps.h"
#include "common/testing.h"
#include "model/safefile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <grp.h>
#include <sched.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr uid_t nobody = 65534;

QByteArray contents(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(unreadable)");
}

// The folder of the save watched at its last steps, and what it held then.
QString watched;
QStringList atLastSteps;

[[noreturn]] void cannotSetUp(const char *what)
{
    std::printf("unsupported %s: %s\n", what, std::strerror(errno));
    std::exit(77);
}

// Writes past the limit fail with EFBIG instead of raising SIGXFSZ.
void limitFileSize(qsizetype bytes)
{
    ::signal(SIGXFSZ, SIG_IGN);
    struct rlimit limit = {};
    ::getrlimit(RLIMIT_FSIZE, &limit);
    limit.rlim_cur = static_cast<rlim_t>(bytes);
    if (::setrlimit(RLIMIT_FSIZE, &limit) != 0)
        cannotSetUp("file-size limit");
}

bool mountSmallDisk(const QByteArray &folder, qsizetype room)
{
    const QByteArray options = "mode=0755,size=" + QByteArray::number(room);
    return ::unshare(CLONE_NEWNS) == 0 &&
           ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) == 0 &&
           ::mount("tmpfs", folder.constData(), "tmpfs", 0, options.constData()) == 0;
}

// Makes folder take no new file, while the file at path stays writable: a
// read-only folder, and as root (who may write in any folder) the save runs
// as the user nobody, whose file it becomes. False if that cannot be set up.
bool lockFolder(const QString &folder, const QString &path)
{
    const QByteArray native = QFile::encodeName(folder);
    if (::geteuid() == 0 && ::chown(QFile::encodeName(path).constData(), nobody, nobody) != 0)
        return false;
    if (::chmod(native.constData(), 0555) != 0)
        return false;
    if (::geteuid() == 0 && (::setegid(nobody) != 0 || ::seteuid(nobody) != 0))
        return false;
    // The folder must really refuse a new file now.
    const QByteArray probe = native + "/probe";
    const int fd = ::open(probe.constData(), O_WRONLY | O_CREAT | O_EXCL, 0644);
    if (fd >= 0) {
        ::close(fd);
        ::unlink(probe.constData());
        return false;
    }
    return true;
}

// Undoes lockFolder, so that the helper reads the result and the folder can
// be removed.
void unlockFolder(const QString &folder)
{
    if (::getuid() == 0 && (::seteuid(0) != 0 || ::setegid(0) != 0))
        std::abort();
    ::chmod(QFile::encodeName(folder).constData(), 0755);
}

// Runs without an application object: a mount namespace of its own needs a
// process of one thread. The arguments: FAULT FOLDER OLD NEW ROOM.
int helper(char *argv[])
{
    std::setvbuf(stdout, nullptr, _IONBF, 0);
    const QByteArray fault = argv[0];
    const QString folder = QFile::decodeName(argv[1]);
    const QString path = folder + u"/disc.txt"_s;
    const QByteArray oldBytes(QByteArray(argv[2]).toLongLong(), 'o');
    const QByteArray newBytes(QByteArray(argv[3]).toLongLong(), 'n');
    const qsizetype room = QByteArray(argv[4]).toLongLong();
    const bool locked = fault == "locked";
    const bool diskFills = fault == "full" || locked;
    const bool smallDisk = diskFills && mountSmallDisk(QFile::encodeName(folder), room);
    if (!writeFile(path, oldBytes))
        cannotSetUp("the old file");
    if (locked && !lockFolder(folder, path))
        cannotSetUp("the read-only folder");
    if (diskFills && !smallDisk)
        limitFileSize(room - oldBytes.size());
    if (fault == "rename")
        lastStepFault = [](const char *call) { return std::strcmp(call, "rename") ? 0 : EXDEV; };
    const SaveResult result = writeFileAtomically(path, newBytes);
    lastStepFault = nullptr;
    if (locked)
        unlockFolder(folder);
    const QByteArray kept = contents(path);
    std::printf("%s %s %s\n", result.ok ? "ok" : "failed",
                kept == oldBytes   ? "old"
                : kept == newBytes ? "new"
                                   : "other",
                qUtf8Printable(QDir(folder).entryList(QDir::Files | QDir::Hidden).join(u'/')));
    return 0;
}

} // namespace

class TestSaveFaults : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    // A file saved over keeps its mode, its owner and group where the saving user
    // may set them, and its hard links; a symbolic link to it stays a link, and a
    // read-only file is refused to any user but root. In the last row the user
    // nobody saves a file it does not own but may write as a member of its group:
    // the group stays, the owner cannot.
    void keepsWhatTheFileWas_data()
    {
        QTest::addColumn<int>("mode");
        QTest::addColumn<QString>("link"); // a second name: "hard", "symbolic" or none
        QTest::addColumn<int>("owner");    // -1: this process's user and group
        QTest::addColumn<int>("group");
        QTest::addColumn<bool>("byMember");
        const int group = 4242;
        QTest::newRow("0644, two hard links") << 0644 << u"hard"_s << -1 << -1 << false;
        QTest::newRow("0444, through a symbolic link")
            << 0444 << u"symbolic"_s << -1 << -1 << false;
        QTest::newRow("another user's file") << 0640 << QString() << int(nobody) << group << false;
        QTest::newRow("group kept, owner not") << 0664 << QString() << 0 << group << true;
    }

    void keepsWhatTheFileWas()
    {
        QFETCH(int, mode);
        QFETCH(QString, link);
        QFETCH(int, owner);
        QFETCH(int, group);
        QFETCH(bool, byMember);
        QTemporaryDir dir;
        const QString target = dir.filePath(u"disc.txt"_s);
        const QByteArray native = QFile::encodeName(target);
        QVERIFY(writeFile(target, "old"));
        if (owner >= 0 && ::geteuid() != 0)
            QSKIP("only root can give a file to another user");
        if (owner >= 0)
            QCOMPARE(::chown(native.constData(), uid_t(owner), gid_t(group)), 0);
        QCOMPARE(::chmod(native.constData(), mode_t(mode)), 0);
        const QString second = dir.filePath(u"second.txt"_s);
        const QString saveAs = link == u"symbolic" ? second : target;
        if (link == u"hard")
            QCOMPARE(::link(native.constData(), QFile::encodeName(second).constData()), 0);
        if (link == u"symbolic")
            QCOMPARE(::symlink("disc.txt", QFile::encodeName(second).constData()), 0);
        // Root may write a read-only file; anyone else is refused it.
        const bool saved = (mode & 0200) != 0 || ::geteuid() == 0;
        if (byMember) {
            // For one save, this process acts as nobody in the file's group alone.
            const gid_t groups[] = {gid_t(group)};
            QCOMPARE(::chmod(QFile::encodeName(dir.path()).constData(), 0777), 0);
            QVERIFY(::setgroups(1, groups) == 0 && ::setegid(nobody) == 0 &&
                    ::seteuid(nobody) == 0);
        }
        const bool ok = writeFileAtomically(saveAs, "new").ok;
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
    void faults_data()
    {
        QTest::addColumn<QStringList>("arguments"); // fault, old, new, room
        QTest::addColumn<QString>("report");        // the result, the bytes, the files
        const QString k16 = u"16384"_s, k64 = u"65536"_s, k256 = u"262144"_s;
        QTest::newRow("disk fills")
            << QStringList{u"full"_s, k16, k256, k64} << u"failed old disc.txt"_s;
        QTest::newRow("rename fails")
            << QStringList{u"rename"_s, k16, k256, u"0"_s} << u"failed old disc.txt"_s;
        // Rewritten in place: the old bytes are put back into the same file.
        QTest::newRow("read-only folder, room enough")
            << QStringList{u"locked"_s, k16, u"32768"_s, k64} << u"ok new disc.txt"_s;
        QTest::newRow("read-only folder, disk fills")
            << QStringList{u"locked"_s, k16, k256, k64} << u"failed old disc.txt"_s;
    }

    void faults()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, report);
        QTemporaryDir dir;
        QProcess helper;
        helper.start(QCoreApplication::applicationFilePath(),
                     QStringList{u"helper"_s, arguments[0], dir.path()} + arguments.mid(1));
        QVERIFY(helper.waitForFinished(120'000));
        const QString output = QString::fromUtf8(helper.readAllStandardOutput().trimmed());
        if (output.startsWith(u"unsupported"))
            QSKIP(qPrintable(u"this machine cannot set the fault up: "_s + output));
        QCOMPARE(output, report);
        QCOMPARE(helper.exitCode(), 0);
    }

    // A name whose links lead round in a circle is a failed save, with the
    // system's reason; no file is made and both links stay as they were.
    void linkLoop()
    {
        QTemporaryDir dir;
        const QString a = dir.filePath(u"a.txt"_s), b = dir.filePath(u"b.txt"_s);
        QVERIFY(QFile::link(b, a) && QFile::link(a, b));
        const SaveResult result = writeFileAtomically(a, "new");
        QVERIFY(!result.ok && !result.reason.isEmpty());
        const auto every = QDir::AllEntries | QDir::System | QDir::Hidden | QDir::NoDotAndDotDot;
        QCOMPARE(QDir(dir.path()).entryList(every), (QStringList{u"a.txt"_s, u"b.txt"_s}));
        QVERIFY(QFileInfo(a).symLinkTarget() == b && QFileInfo(b).symLinkTarget() == a);
    }

    // Until the new bytes are flushed to the disk, and until they replace the
    // target, the target holds every old byte and the new ones stand whole in a
    // temporary file beside it, under a name of its own: a save killed there,
    // or a machine that stops, keeps the file as it was.
    void lastSteps()
    {
        QTemporaryDir dir;
        watched = dir.path();
        QVERIFY(writeFile(dir.filePath(u"disc.txt"_s), "old"));
        lastStepFault = [](const char *call) {
            for (const QFileInfo &file : QDir(watched).entryInfoList(QDir::Files | QDir::Hidden))
                atLastSteps << QLatin1StringView(call) + u' ' +
                                   file.fileName().section(u'.', 0, 1) + u' ' +
                                   QString::fromLatin1(contents(file.filePath()));
            return 0;
        };
        const bool saved = writeFileAtomically(dir.filePath(u"disc.txt"_s), "new").ok;
        lastStepFault = nullptr;
        QVERIFY(saved);
        QCOMPARE(atLastSteps, QStringList({u"fdatasync disc.txt old"_s, u"fdatasync disc.txt new"_s,
                                           u"rename disc.txt old"_s, u"rename disc.txt new"_s}));
        QCOMPARE(QDir(watched).entryList(QDir::Files | QDir::Hidden), QStringList{u"disc.txt"_s});
    }
};

int main(int argc, char *argv[])
{
    if (argc == 7 && qstrcmp(argv[1], "helper") == 0)
        return helper(argv + 2);
    QCoreApplication app(argc, argv);
    TestSaveFaults test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_savefaults.moc"
