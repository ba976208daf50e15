// A child process for tst_savefaults: saves with WriteFileAtomically under a
// fault the test cannot cause inside its own process.
//
//   savefaults_helper stop PATH SIZE POINT
//       Saves SIZE bytes at PATH and stops at POINT, telling the test with the
//       line "stopped" on standard output, then waits to be killed. POINT is
//       "bytes:N" (the temporary file holds N bytes: a file-size limit of N
//       raises SIGXFSZ at that moment), "sync" (everything is written, the
//       file is about to be flushed) or "rename" (everything is written and
//       flushed, the temporary file is about to replace the target).
//   savefaults_helper full FOLDER OLD NEW ROOM
//       Mounts a tmpfs of ROOM bytes on FOLDER in a mount namespace of its
//       own, writes OLD bytes to FOLDER/disc.txt, then saves NEW bytes there.
//   savefaults_helper limit FOLDER OLD NEW LIMIT
//       Writes OLD bytes to FOLDER/disc.txt, then saves NEW bytes there under
//       a file-size limit of LIMIT bytes (SIGXFSZ ignored), the stand-in for
//       a full disk.
//   savefaults_helper lockedfolder FOLDER OLD NEW LIMIT
//       The same, after making FOLDER unwritable for this process (as root by
//       becoming the user nobody), so that no temporary file can be made.
//   savefaults_helper syncfails FOLDER OLD NEW 0
//       Writes OLD bytes to FOLDER/disc.txt, then saves NEW bytes there while
//       flushing a file to the disk fails with EIO, as it does when the disk
//       fills late (delayed allocation, network file systems) or breaks.
//
// All but "stop" report on standard output, one "key value" line
// each: result (ok, or failed and the reason), target (old, new, missing, or
// other and its size) and entries (the folder's files, joined by '/'). Exit
// status 77 means the fault cannot be set up on this machine.
#include "model/titlefile.h"

#include <QByteArray>
#include <QDir>
#include <QFile>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dlfcn.h>
#include <fcntl.h>
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

void stopOnFileSizeLimit(int)
{
    stopHere();
}

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

[[noreturn]] void cannotSetUp(const char *what)
{
    std::printf("unsupported %s: %s\n", what, std::strerror(errno));
    std::exit(77);
}

bool writePlainly(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

void report(const SaveResult &result, const QString &folder, qsizetype oldSize, qsizetype newSize)
{
    std::printf("result %s\n", result.ok ? "ok" : qUtf8Printable(u"failed "_s + result.reason));
    QFile target(folder + u"/disc.txt"_s);
    if (!target.open(QIODevice::ReadOnly)) {
        std::printf("target missing\n");
    } else {
        const QByteArray bytes = target.readAll();
        if (bytes == oldBytes(oldSize))
            std::printf("target old\n");
        else if (bytes == newBytes(newSize))
            std::printf("target new\n");
        else
            std::printf("target other %lld\n", static_cast<long long>(bytes.size()));
    }
    const QStringList entries = QDir(folder).entryList(QDir::Files | QDir::Hidden, QDir::Name);
    std::printf("entries %s\n", qUtf8Printable(entries.join(u'/')));
}

int stop(const QString &path, qsizetype size, const QByteArray &point)
{
    if (point.startsWith("bytes:")) {
        struct sigaction action
        {
        };
        action.sa_handler = stopOnFileSizeLimit;
        ::sigaction(SIGXFSZ, &action, nullptr);
        struct rlimit limit
        {
        };
        ::getrlimit(RLIMIT_FSIZE, &limit);
        limit.rlim_cur = point.mid(6).toULongLong();
        if (::setrlimit(RLIMIT_FSIZE, &limit) != 0)
            cannotSetUp("file-size limit");
    } else {
        stopPoint = point == "sync" ? Point::Sync : Point::Rename;
    }
    const SaveResult result = WriteFileAtomically(path, newBytes(size));
    std::printf("finished without stopping: %s\n",
                result.ok ? "ok" : qUtf8Printable(result.reason));
    return 1;
}

int full(const QString &folder, qsizetype oldSize, qsizetype newSize, qsizetype room)
{
    const QByteArray native = QFile::encodeName(folder);
    if (::unshare(CLONE_NEWNS) != 0)
        cannotSetUp("mount namespace");
    if (::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0)
        cannotSetUp("private mounts");
    const QByteArray options = "size=" + QByteArray::number(room);
    if (::mount("tmpfs", native.constData(), "tmpfs", 0, options.constData()) != 0)
        cannotSetUp("tmpfs");
    if (!writePlainly(folder + u"/disc.txt"_s, oldBytes(oldSize))) {
        std::printf("the old file does not fit\n");
        return 1;
    }
    report(WriteFileAtomically(folder + u"/disc.txt"_s, newBytes(newSize)), folder, oldSize,
           newSize);
    return 0;
}

// Leaves the file writable and the folder not, for this process from now on.
void lockAgainstThisProcess(const QByteArray &folder, const QByteArray &file)
{
    if (::geteuid() == 0) {
        // The file becomes nobody's, the folder stays root's alone.
        const uid_t nobody = 65534;
        if (::chown(file.constData(), nobody, nobody) != 0 ||
            ::chmod(folder.constData(), 0755) != 0 || ::setgid(nobody) != 0 ||
            ::setuid(nobody) != 0)
            cannotSetUp("user nobody");
    } else if (::chmod(folder.constData(), 0555) != 0) {
        cannotSetUp("folder permissions");
    }
}

int syncFails(const QString &folder, qsizetype oldSize, qsizetype newSize)
{
    const QString path = folder + u"/disc.txt"_s;
    if (!writePlainly(path, oldBytes(oldSize))) {
        std::printf("the old file cannot be written\n");
        return 1;
    }
    failSync = true;
    const SaveResult result = WriteFileAtomically(path, newBytes(newSize));
    failSync = false;
    report(result, folder, oldSize, newSize);
    return 0;
}

int limited(const QString &folder, qsizetype oldSize, qsizetype newSize, qsizetype limit,
            bool lockFolder)
{
    const QString path = folder + u"/disc.txt"_s;
    const QByteArray nativeFolder = QFile::encodeName(folder);
    const QByteArray nativePath = QFile::encodeName(path);
    if (!writePlainly(path, oldBytes(oldSize))) {
        std::printf("the old file cannot be written\n");
        return 1;
    }
    if (lockFolder)
        lockAgainstThisProcess(nativeFolder, nativePath);
    ::signal(SIGXFSZ, SIG_IGN);
    struct rlimit fileSize
    {
    };
    ::getrlimit(RLIMIT_FSIZE, &fileSize);
    fileSize.rlim_cur = static_cast<rlim_t>(limit);
    if (::setrlimit(RLIMIT_FSIZE, &fileSize) != 0)
        cannotSetUp("file-size limit");
    const SaveResult result = WriteFileAtomically(path, newBytes(newSize));
    fileSize.rlim_cur = RLIM_INFINITY;
    ::setrlimit(RLIMIT_FSIZE, &fileSize);
    report(result, folder, oldSize, newSize);
    if (lockFolder && ::geteuid() != 0)
        ::chmod(nativeFolder.constData(), 0755);
    return 0;
}

template <typename Function> Function next(const char *name)
{
    return reinterpret_cast<Function>(::dlsym(RTLD_NEXT, name));
}

} // namespace

// The calls a save makes at its last steps, taken over so that the helper can
// stop there or make them fail; otherwise they do what the C library does.
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

extern "C" int fsync(int fd)
{
    if (stopPoint == Point::Sync)
        stopHere();
    if (failSync) {
        errno = EIO;
        return -1;
    }
    static const auto real = next<int (*)(int)>("fsync");
    return real(fd);
}

extern "C" int rename(const char *from, const char *to) noexcept
{
    if (stopPoint == Point::Rename)
        stopHere();
    static const auto real = next<int (*)(const char *, const char *)>("rename");
    return real(from, to);
}

extern "C" int renameat(int fromFolder, const char *from, int toFolder, const char *to) noexcept
{
    if (stopPoint == Point::Rename)
        stopHere();
    static const auto real = next<int (*)(int, const char *, int, const char *)>("renameat");
    return real(fromFolder, from, toFolder, to);
}

int main(int argc, char *argv[])
{
    std::setvbuf(stdout, nullptr, _IONBF, 0);
    const QByteArray mode = argc >= 2 ? QByteArray(argv[1]) : QByteArray();
    if (mode == "stop" && argc == 5)
        return stop(QFile::decodeName(argv[2]), QByteArray(argv[3]).toLongLong(), argv[4]);
    if ((mode == "full" || mode == "limit" || mode == "lockedfolder" || mode == "syncfails") &&
        argc == 6) {
        const QString folder = QFile::decodeName(argv[2]);
        const qsizetype oldSize = QByteArray(argv[3]).toLongLong();
        const qsizetype newSize = QByteArray(argv[4]).toLongLong();
        const qsizetype last = QByteArray(argv[5]).toLongLong();
        if (mode == "full")
            return full(folder, oldSize, newSize, last);
        if (mode == "syncfails")
            return syncFails(folder, oldSize, newSize);
        return limited(folder, oldSize, newSize, last, mode == "lockedfolder");
    }
    std::fprintf(stderr, "usage: see the head of savefaults_helper.cpp\n");
    return 2;
}
