// SPDX-License-Identifier: GPL-3.0-or-later
// A child process for tst_savefaults: saves with WriteFileAtomically under a
// fault the test cannot cause inside its own process.
//
//   savefaults_helper stop PATH SIZE POINT
//       Saves SIZE bytes at PATH and stops at POINT, says "stopped" on
//       standard output, then waits to be killed. POINT is "bytes:N" (the
//       temporary file holds N bytes: a file-size limit of N raises SIGXFSZ
//       then), "sync" (all written, about to be flushed to the disk) or
//       "rename" (flushed, about to replace the target).
//   savefaults_helper FAULT FOLDER OLD NEW ROOM
//       Writes OLD bytes to FOLDER/disc.txt, then saves NEW bytes there:
//       full       FOLDER is a tmpfs of ROOM bytes, in a mount namespace of
//                  the helper's own; where that cannot be set up, a file-size
//                  limit of ROOM - OLD bytes stands in for the full disk;
//       locked     the same, and FOLDER cannot take a temporary file (root
//                  becomes the user nobody), so the file is rewritten in place;
//       syncfails  flushing to the disk fails with EIO, as when a disk fills
//                  late (delayed allocation, network file systems) or breaks.
//       Then reports the failure's reason, if any, and on its last line the
//       result (ok or failed), the target's bytes (old, new, missing or
//       other(SIZE)) and the folder's files, joined by '/'.
//   savefaults_helper member PATH GROUP
//       Root becomes the user nobody, a member of GROUP, saves "new" at PATH
//       and says "ok" or "failed" and the reason.
// Exit status 77: the fault cannot be set up on this machine.
#include "model/safefile.h"

#include <QDir>
#include <QFile>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
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

enum class Point { None, Sync, Rename };
Point stopPoint = Point::None;
bool failSync = false;

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
        stopPoint = point == "sync" ? Point::Sync : Point::Rename;
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

// Leaves the file writable and the folder not, for this process from now on.
void lockFolder(const QByteArray &folder, const QByteArray &file)
{
    if (::geteuid() == 0) {
        const uid_t nobody = 65534;
        if (::chown(file.constData(), nobody, nobody) != 0 ||
            ::chmod(folder.constData(), 0755) != 0 || ::setgid(nobody) != 0 ||
            ::setuid(nobody) != 0)
            cannotSetUp("user nobody");
    } else if (::chmod(folder.constData(), 0555) != 0) {
        cannotSetUp("folder permissions");
    }
}

int save(const QByteArray &fault, const QString &folder, qsizetype oldSize, qsizetype newSize,
         qsizetype room)
{
    const QString path = folder + u"/disc.txt"_s;
    const QByteArray nativeFolder = QFile::encodeName(folder);
    const bool smallDisk = fault != "syncfails" && mountSmallDisk(nativeFolder, room);
    const QByteArray oldBytes(oldSize, 'o'), newBytes(newSize, 'n');
    QFile old(path);
    if (!old.open(QIODevice::WriteOnly) || old.write(oldBytes) != oldSize || !old.flush())
        cannotSetUp("the old file");
    old.close();
    if (fault == "locked")
        lockFolder(nativeFolder, QFile::encodeName(path));
    failSync = fault == "syncfails";
    if (!failSync && !smallDisk)
        limitFileSize(room - oldSize, SIG_IGN);

    const SaveResult result = WriteFileAtomically(path, newBytes);
    failSync = false;
    if (!result.ok)
        std::printf("reason %s\n", qUtf8Printable(result.reason));
    QFile target(path);
    QByteArray kept = "missing";
    if (target.open(QIODevice::ReadOnly)) {
        const QByteArray bytes = target.readAll();
        kept = bytes == oldBytes   ? "old"_ba
               : bytes == newBytes ? "new"_ba
                                   : "other(" + QByteArray::number(bytes.size()) + ')';
    }
    const QStringList entries = QDir(folder).entryList(QDir::Files | QDir::Hidden, QDir::Name);
    std::printf("%s %s %s\n", result.ok ? "ok" : "failed", kept.constData(),
                qUtf8Printable(entries.join(u'/')));
    return 0;
}

int saveAsMember(const QString &path, gid_t group)
{
    const uid_t nobody = 65534;
    if (::geteuid() != 0 || ::setgroups(1, &group) != 0 || ::setgid(nobody) != 0 ||
        ::setuid(nobody) != 0)
        cannotSetUp("user nobody in a group of its own");
    const SaveResult result = WriteFileAtomically(path, "new");
    std::printf("%s\n", result.ok ? "ok" : qUtf8Printable(u"failed "_s + result.reason));
    return 0;
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
    if (stopPoint == Point::Sync)
        stopHere();
    if (failSync) {
        errno = EIO;
        return -1;
    }
    static const auto real = next<int (*)(int)>("fdatasync");
    return real(fd);
}

extern "C" int rename(const char *from, const char *to) noexcept
{
    if (stopPoint == Point::Rename)
        stopHere();
    static const auto real = next<int (*)(const char *, const char *)>("rename");
    return real(from, to);
}

int main(int argc, char *argv[])
{
    std::setvbuf(stdout, nullptr, _IONBF, 0);
    const QByteArray mode = argc >= 2 ? QByteArray(argv[1]) : QByteArray();
    const auto number = [&](int i) { return qsizetype(QByteArray(argv[i]).toLongLong()); };
    if (mode == "stop" && argc == 5)
        return stop(QFile::decodeName(argv[2]), number(3), argv[4]);
    if ((mode == "full" || mode == "locked" || mode == "syncfails") && argc == 6)
        return save(mode, QFile::decodeName(argv[2]), number(3), number(4), number(5));
    if (mode == "member" && argc == 4)
        return saveAsMember(QFile::decodeName(argv[2]), gid_t(number(3)));
    std::fprintf(stderr, "usage: see the head of savefaults_helper.cpp\n");
    return 2;
}
