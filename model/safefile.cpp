// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/safefile.h"

#include <QFile>

#include <QRandomGenerator>
#include <algorithm>

#include <cerrno>
#include <climits>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace sonolabe {

using namespace Qt::Literals::StringLiterals;

FileFailure fileFailureOf(int error)
{
    switch (error) {
    case ENOSPC:
    case EDQUOT:
        return FileFailure::NoSpace;
    case EACCES:
    case EPERM:
        return FileFailure::NoPermission;
    case ENOENT:
    case ENOTDIR:
        return FileFailure::FolderMissing;
    case EROFS:
        return FileFailure::ReadOnlyFileSystem;
    case EISDIR:
        return FileFailure::NotARegularFile;
    case EFBIG:
        return FileFailure::TooLarge;
    default:
        return FileFailure::Other;
    }
}

namespace {

QString systemReason(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
}

// Why a read failed: the system's words and the cause they stand for.
struct ReadFailure
{
    FileFailure cause = FileFailure::Other;
    QString reason;
};

ReadFailure readFailure(int error)
{
    return {fileFailureOf(error), systemReason(error)};
}

ReadFailure tooLarge()
{
    return {FileFailure::TooLarge, u"file too large"_s};
}

// Closes a descriptor when it goes out of scope.
struct FdCloser
{
    int fd;
    ~FdCloser() { ::close(fd); }
};

// Reads fd to its end into bytes, sizeHint being the size the file had when
// it was opened. The size is a hint only: the file may change while it is
// read, so more bytes are taken as they come, up to maxBytes.
bool readToEnd(int fd, qint64 sizeHint, qint64 maxBytes, QByteArray &bytes, ReadFailure &failure)
{
    bytes.resize(static_cast<qsizetype>(sizeHint) + 1);
    qsizetype filled = 0;
    for (;;) {
        if (filled == bytes.size()) {
            if (filled > maxBytes) {
                failure = tooLarge();
                return false;
            }
            bytes.resize(std::min<qsizetype>(2 * filled, maxBytes + 1));
        }
        const ssize_t got = ::read(fd, bytes.data() + filled, bytes.size() - filled);
        if (got < 0) {
            if (errno == EINTR)
                continue;
            failure = readFailure(errno);
            return false;
        }
        if (got == 0)
            break;
        filled += got;
    }
    bytes.truncate(filled);
    return true;
}

// Reads a whole regular file. Other kinds of file are refused before anything
// is read: opening is non-blocking, so a FIFO without a writer cannot hang us.
bool readRegularFileInto(const QString &path, qint64 maxBytes, QByteArray &bytes,
                         ReadFailure &failure)
{
    if (path.isEmpty() || path.contains(QChar(0))) {
        failure = {FileFailure::FolderMissing, u"no such file"_s};
        return false;
    }
    const QByteArray native = nativePath(path);
    const int fd = ::open(native.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) {
        failure = readFailure(errno);
        return false;
    }
    const FdCloser closer{fd};

    struct stat info;
    if (::fstat(fd, &info) != 0) {
        failure = readFailure(errno);
        return false;
    }
    if (!S_ISREG(info.st_mode)) {
        failure = {FileFailure::NotARegularFile,
                   S_ISDIR(info.st_mode) ? u"is a directory"_s : u"not a regular file"_s};
        return false;
    }
    if (info.st_size > maxBytes) {
        failure = tooLarge();
        return false;
    }
    return readToEnd(fd, info.st_size, maxBytes, bytes, failure);
}

} // namespace

FileReadResult readRegularFile(const QString &path, qint64 maxBytes)
{
    FileReadResult result;
    ReadFailure failure;
    result.ok = readRegularFileInto(path, maxBytes, result.bytes, failure);
    if (!result.ok) {
        result.bytes.clear();
        result.reason = failure.reason;
    }
    return result;
}

namespace {

SaveResult failed(int error)
{
    return {false, fileFailureOf(error), systemReason(error)};
}

SaveResult notRegularFile(mode_t mode)
{
    return {false, FileFailure::NotARegularFile,
            S_ISDIR(mode) ? systemReason(EISDIR) : u"not a regular file"_s};
}

// Writes every byte or gives the errno of the failure; EINTR is retried.
int writeAll(int fd, const QByteArray &bytes)
{
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t written =
            ::write(fd, bytes.constData() + done, static_cast<size_t>(bytes.size() - done));
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return written < 0 ? errno : ENOSPC;
        done += written;
    }
    return 0;
}

// Flushes the file's data to the disk, or gives the errno of the failure.
// EINVAL: a file that cannot be synchronised (a pipe, some special file
// systems); nothing is lost then.
int syncData(int fd)
{
    if (::fdatasync(fd) == 0 || errno == EINVAL)
        return 0;
    return errno;
}

// The folder part of a native path: "." for a bare name, "/" for a name in
// the root folder.
QByteArray folderOf(const QByteArray &path)
{
    const qsizetype slash = path.lastIndexOf('/');
    return slash < 0 ? QByteArray(".") : slash == 0 ? QByteArray("/") : path.left(slash);
}

// Follows path through symbolic links to the file they lead to, which need
// not exist yet; a link's relative target is taken from the link's folder.
// Gives 0, or the errno of a loop or of a link that cannot be read.
int followLinks(QByteArray &path)
{
    for (int hops = 0; hops < 40; ++hops) {
        struct stat info;
        if (::lstat(path.constData(), &info) != 0 || !S_ISLNK(info.st_mode))
            return 0; // what stands there, if anything, is checked by the caller
        char target[PATH_MAX];
        const ssize_t length = ::readlink(path.constData(), target, sizeof target);
        if (length < 0)
            return errno;
        if (length == sizeof target)
            return ENAMETOOLONG;
        if (target[0] == '/' || !path.contains('/'))
            path = QByteArray(target, length);
        else
            path = path.left(path.lastIndexOf('/') + 1) + QByteArray(target, length);
    }
    return ELOOP;
}

// Rewrites the existing file at path in place, so that it stays the same file
// (its hard links, owner and mode). Its old bytes are kept in memory first, so
// that a failed write can put them back.
SaveResult rewriteInPlace(const QString &path, const QByteArray &bytes)
{
    QByteArray old;
    ReadFailure unreadable;
    if (!readRegularFileInto(path, MaxRewrittenFileBytes, old, unreadable))
        return {false, unreadable.cause, unreadable.reason};
    const QByteArray native = nativePath(path);
    const int fd = ::open(native.constData(), O_WRONLY | O_TRUNC | O_CLOEXEC | O_NOCTTY);
    if (fd < 0)
        return failed(errno);
    int error = writeAll(fd, bytes);
    if (error == 0)
        error = syncData(fd);
    if (error == 0) {
        if (::close(fd) != 0)
            return failed(errno);
        return {true, {}, {}};
    }
    // Best effort: the old file was never larger than the space the failed
    // write had taken, so it usually fits again.
    if (::ftruncate(fd, 0) == 0 && ::lseek(fd, 0, SEEK_SET) == 0 && writeAll(fd, old) == 0)
        syncData(fd);
    ::close(fd);
    return failed(error);
}

// Creates a temporary file beside target, under target's name and a random
// suffix, for writing; gives its descriptor or -1 with errno set. Permissions
// are 0666 less the umask, as for any new file.
int createTemporary(const QByteArray &target, QByteArray &name)
{
    for (int attempt = 0; attempt < 100; ++attempt) {
        name = target + '.' + QByteArray::number(QRandomGenerator::global()->generate(), 16);
        const int fd =
            ::open(name.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOCTTY, 0666);
        if (fd >= 0 || errno != EEXIST)
            return fd;
    }
    return -1;
}

// Gives the new file what the old one was, as far as this user may: owner
// and group, else the group alone (a group the user is in), then the
// permission bits, after the owner since a change of owner clears the
// set-user-ID bit. Failures are not the save's: the bytes are what matter.
void keepIdentity(int fd, const struct stat &old)
{
    if (::fchown(fd, old.st_uid, old.st_gid) != 0 &&
        ::fchown(fd, static_cast<uid_t>(-1), old.st_gid) != 0) {
        // Neither: the new file is this user's, in the user's group.
    }
    ::fchmod(fd, old.st_mode & 07777);
}

// Writes bytes to a new temporary file beside target and renames it over
// target; old, when given, is what target was, and the new file takes its
// owner and mode. On failure the temporary file is removed again.
SaveResult replaceThroughTemporary(const QByteArray &target, const QByteArray &bytes,
                                   const struct stat *old)
{
    QByteArray temporary;
    const int fd = createTemporary(target, temporary);
    if (fd < 0)
        return failed(errno);
    int error = writeAll(fd, bytes);
    if (error == 0 && old)
        keepIdentity(fd, *old);
    if (error == 0)
        error = syncData(fd);
    if (::close(fd) != 0 && error == 0)
        error = errno;
    if (error == 0 && ::rename(temporary.constData(), target.constData()) != 0)
        error = errno;
    if (error == 0)
        return {true, {}, {}};
    ::unlink(temporary.constData());
    return failed(error);
}

} // namespace

QString pathFromNative(QByteArrayView name)
{
    if (name.isValidUtf8())
        return QString::fromUtf8(name);
    QString path;
    qsizetype pos = 0;
    while (pos < name.size()) {
        // The longest valid UTF-8 piece from here (at most 4 bytes a
        // character), else one escaped byte.
        qsizetype length = 0;
        for (qsizetype n = std::min<qsizetype>(4, name.size() - pos); n >= 1 && !length; --n) {
            const QByteArrayView piece = name.sliced(pos, n);
            if (piece.isValidUtf8() && (n == 1 || static_cast<quint8>(piece[0]) >= 0xC0))
                length = n;
        }
        if (length == 0) {
            path += QChar(char16_t(0xDC00 + static_cast<quint8>(name[pos])));
            ++pos;
        } else {
            path += QString::fromUtf8(name.sliced(pos, length));
            pos += length;
        }
    }
    return path;
}

QByteArray nativePath(const QString &path)
{
    const auto escaped = [](QChar ch) { return ch.unicode() >= 0xDC80 && ch.unicode() <= 0xDCFF; };
    if (std::none_of(path.begin(), path.end(), escaped))
        return QFile::encodeName(path);
    QByteArray name;
    qsizetype from = 0;
    for (qsizetype i = 0; i <= path.size(); ++i) {
        if (i < path.size() && !escaped(path[i]))
            continue;
        // A lone escape; a high surrogate before it would make a pair.
        name += QStringView(path).sliced(from, i - from).toUtf8();
        if (i < path.size())
            name += static_cast<char>(path[i].unicode() - 0xDC00);
        from = i + 1;
    }
    return name;
}

SaveResult writeFileAtomically(const QString &path, const QByteArray &bytes)
{
    if (path.isEmpty() || path.contains(QChar(0)))
        return failed(ENOENT);
    QByteArray target = nativePath(path);
    if (const int error = followLinks(target))
        return failed(error);

    struct stat old;
    const bool exists = ::stat(target.constData(), &old) == 0;
    if (!exists && errno != ENOENT)
        return failed(errno);
    if (exists) {
        if (!S_ISREG(old.st_mode))
            return notRegularFile(old.st_mode);
        // A file the user may not write is not replaced either. Root may
        // write any file; a read-only one keeps its mode all the same.
        if (::faccessat(AT_FDCWD, target.constData(), W_OK, AT_EACCESS) != 0)
            return failed(errno);
        if (old.st_nlink > 1 ||
            ::faccessat(AT_FDCWD, folderOf(target).constData(), W_OK | X_OK, AT_EACCESS) != 0)
            return rewriteInPlace(pathFromNative(target), bytes);
    }
    return replaceThroughTemporary(target, bytes, exists ? &old : nullptr);
}

} // namespace sonolabe
