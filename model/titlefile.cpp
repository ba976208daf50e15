// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/titlefile.h"

#include "model/codepage932.h"

#include <QFile>
#include <QRandomGenerator>

#include <cerrno>
#include <climits>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace sonolabe {

using namespace Qt::Literals::StringLiterals;

TitleFileSections sectionsForFileType(SaveFileType type)
{
    // English unless "Japanese only" was chosen, Japanese unless "English only".
    return {type != SaveFileType::JapaneseOnly, type != SaveFileType::EnglishOnly};
}

namespace {

// Writes one section at dest, which has room for it (see sectionCapacity),
// and returns the end of what was written.
char *writeSection(char *dest, const TitleStore &store, int language,
                   const Cp932Encoder &encoder)
{
    auto put = [&dest](const char *text, int length) {
        std::memcpy(dest, text, static_cast<size_t>(length));
        dest += length;
    };
    put(language == English ? "en\r\n0\t" : "ja\r\n0\t", 6);
    dest = encoder.encodeInto(store.discNames[language], dest);
    *dest++ = '\t';
    dest = encoder.encodeInto(store.artistNames[language], dest);
    put("\r\n", 2);
    for (int track = 1; track <= store.trackCount; ++track) {
        if (track >= 10)
            *dest++ = static_cast<char>('0' + track / 10);
        *dest++ = static_cast<char>('0' + track % 10);
        *dest++ = '\t';
        dest = encoder.encodeInto(store.trackTitles(language, track), dest);
        put("\r\n", 2);
    }
    put("\r\n", 2);
    return dest;
}

// An upper bound of a section's size: every code unit takes at most two bytes.
qsizetype sectionCapacity(const TitleStore &store, int language)
{
    qsizetype size = 16 + 2 * (store.discNames[language].size() + store.artistNames[language].size());
    for (int track = 1; track <= store.trackCount; ++track)
        size += 5 + 2 * store.trackTitles(language, track).size();
    return size;
}

// The digit value of a character: "0" to "9" give 0 to 9, anything else
// (full-width digits included) gives 0.
int digitValue(QChar ch)
{
    const char16_t unit = ch.unicode();
    return unit >= u'0' && unit <= u'9' ? unit - u'0' : 0;
}

class Parser
{
public:
    void line(QByteArrayView raw)
    {
        // Decoding cannot produce "ja", "en" or an empty line from other bytes,
        // so the tags are recognised on the bytes.
        if (raw == "ja") {
            m_language = Japanese;
            m_anyTag = true;
            return;
        }
        if (raw == "en") {
            m_language = English;
            m_anyTag = true;
            return;
        }
        if (raw.isEmpty())
            return;

        QString text;
        m_decoder.appendDecoded(raw, text);
        const int first = digitValue(text[0]);
        int number = first;
        if (text.size() < 2 || text[1] != u'\t')
            number = 10 * first + (text.size() >= 2 ? digitValue(text[1]) : 0);
        m_highest = std::max(m_highest, number);

        if (number == 0)
            discLine(std::move(text));
        else
            trackLine(number, std::move(text));
    }

    std::optional<TitleStore> finish()
    {
        if (!m_anyTag)
            return std::nullopt;
        m_disc.trackCount = static_cast<quint8>(m_highest);
        return std::move(m_disc);
    }

private:
    // From the third character on: up to the first Tab the disc name, after it
    // the artist name; every Tab is dropped and the texts are appended.
    void discLine(QString text)
    {
        QString &disc = m_disc.discNames[m_language];
        QString &artist = m_disc.artistNames[m_language];
        const QStringView rest = QStringView(text).mid(std::min<qsizetype>(2, text.size()));
        const qsizetype tab = rest.indexOf(u'\t');
        if (tab < 0) {
            if (disc.isEmpty()) {
                // One long disc name is moved, not copied: a huge one-line
                // file then needs its decoded text only once.
                text.remove(0, 2);
                disc = std::move(text);
            } else {
                disc += rest;
            }
            return;
        }
        disc += rest.left(tab);
        for (QStringView piece : rest.mid(tab + 1).tokenize(u'\t'))
            artist += piece;
    }

    // The title starts at the third character for tracks 1 to 9, at the fourth
    // for 10 to 99, whatever those characters are.
    void trackLine(int number, QString text)
    {
        const qsizetype start = number <= 9 ? 2 : 3;
        if (text.size() <= start)
            text.clear();
        else
            text.remove(0, start);
        m_disc.trackTitles(m_language, number) = std::move(text);
    }

    const Cp932Decoder &m_decoder = Cp932Decoder::instance();
    TitleStore m_disc;
    int m_language = Japanese; // lines before the first tag are Japanese
    bool m_anyTag = false;
    int m_highest = 0;
};

QString systemReason(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
}

// Reads a whole regular file. Other kinds of file are refused before anything
// is read: opening is non-blocking, so a FIFO without a writer cannot hang us.
// On failure, reason is the system's words and cause what they stand for.
bool readRegularFile(const QString &path, qint64 maxBytes, QByteArray &bytes, QString &reason,
                     SaveFailure &cause)
{
    const auto fail = [&](int error) {
        cause = SaveFailureOf(error);
        reason = systemReason(error);
        return false;
    };
    if (path.isEmpty() || path.contains(QChar(0))) {
        cause = SaveFailure::FolderMissing;
        reason = u"no such file"_s;
        return false;
    }
    const QByteArray native = QFile::encodeName(path);
    const int fd = ::open(native.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0)
        return fail(errno);
    struct FdCloser
    {
        int fd;
        ~FdCloser() { ::close(fd); }
    } closer{fd};

    struct stat info;
    if (::fstat(fd, &info) != 0)
        return fail(errno);
    if (!S_ISREG(info.st_mode)) {
        cause = SaveFailure::NotARegularFile;
        reason = S_ISDIR(info.st_mode) ? u"is a directory"_s : u"not a regular file"_s;
        return false;
    }
    if (info.st_size > maxBytes) {
        cause = SaveFailure::TooLarge;
        reason = u"file too large"_s;
        return false;
    }

    // The size is a hint: the file may change while it is read.
    bytes.resize(static_cast<qsizetype>(info.st_size) + 1);
    qsizetype filled = 0;
    for (;;) {
        if (filled == bytes.size()) {
            if (filled > maxBytes) {
                cause = SaveFailure::TooLarge;
                reason = u"file too large"_s;
                return false;
            }
            bytes.resize(std::min<qsizetype>(2 * filled, maxBytes + 1));
        }
        const ssize_t got = ::read(fd, bytes.data() + filled, bytes.size() - filled);
        if (got < 0) {
            if (errno == EINTR)
                continue;
            return fail(errno);
        }
        if (got == 0)
            break;
        filled += got;
    }
    bytes.truncate(filled);
    return true;
}

} // namespace

QByteArray WriteTitleFile(const TitleStore &store, TitleFileSections sections)
{
    const Cp932Encoder &encoder = Cp932Encoder::instance();
    QByteArray out(
        (sections.english ? sectionCapacity(store, English) : 0) +
            (sections.japanese ? sectionCapacity(store, Japanese) : 0),
        Qt::Uninitialized);
    char *dest = out.data();
    if (sections.english)
        dest = writeSection(dest, store, English, encoder);
    if (sections.japanese)
        dest = writeSection(dest, store, Japanese, encoder);
    out.truncate(dest - out.constData());
    return out;
}

std::optional<TitleStore> ParseTitleFile(QByteArrayView bytes)
{
    Parser parser;
    const char *data = bytes.data();
    const qsizetype size = bytes.size();
    qsizetype pos = 0;
    while (pos < size) {
        const void *cr = std::memchr(data + pos, '\r', static_cast<size_t>(size - pos));
        const qsizetype end = cr ? static_cast<const char *>(cr) - data : size;
        parser.line(QByteArrayView(data + pos, end - pos));
        pos = end + 1;
        if (cr && pos < size && data[pos] == '\n')
            ++pos;
    }
    return parser.finish();
}

FileReadResult ReadRegularFile(const QString &path, qint64 maxBytes)
{
    FileReadResult result;
    SaveFailure ignored;
    result.ok = readRegularFile(path, maxBytes, result.bytes, result.reason, ignored);
    if (!result.ok)
        result.bytes.clear();
    return result;
}

LoadResult ReadTitleFile(const QString &path, qint64 maxBytes)
{
    QByteArray bytes;
    QString reason;
    SaveFailure ignored;
    if (!readRegularFile(path, maxBytes, bytes, reason, ignored))
        return LoadResult::failed(LoadFailure::Aborted, reason);
    std::optional<TitleStore> disc = ParseTitleFile(bytes);
    if (!disc)
        return LoadResult::failed(LoadFailure::NotATitleFile);
    return LoadResult::loaded(std::move(*disc));
}

QString WithTxtExtension(const QString &path)
{
    if (path.right(4).toLower() == u".txt")
        return path;
    return path + u".txt"_s;
}

SaveFailure SaveFailureOf(int error)
{
    switch (error) {
    case ENOSPC:
    case EDQUOT:
        return SaveFailure::NoSpace;
    case EACCES:
    case EPERM:
        return SaveFailure::NoPermission;
    case ENOENT:
    case ENOTDIR:
        return SaveFailure::FolderMissing;
    case EROFS:
        return SaveFailure::ReadOnlyFileSystem;
    case EISDIR:
        return SaveFailure::NotARegularFile;
    case EFBIG:
        return SaveFailure::TooLarge;
    default:
        return SaveFailure::Other;
    }
}

namespace {

SaveResult failed(int error)
{
    return {false, SaveFailureOf(error), systemReason(error)};
}

SaveResult notRegularFile(mode_t mode)
{
    return {false, SaveFailure::NotARegularFile,
            S_ISDIR(mode) ? systemReason(EISDIR) : u"not a regular file"_s};
}

// Writes every byte or gives the errno of the failure; EINTR is retried.
int writeAll(int fd, const QByteArray &bytes)
{
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t written = ::write(fd, bytes.constData() + done,
                                        static_cast<size_t>(bytes.size() - done));
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
    SaveResult result;
    if (!readRegularFile(path, MaxTitleFileBytes, old, result.reason, result.failure))
        return result;
    const QByteArray native = QFile::encodeName(path);
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

} // namespace

SaveResult WriteFileAtomically(const QString &path, const QByteArray &bytes)
{
    if (path.isEmpty() || path.contains(QChar(0)))
        return failed(ENOENT);
    QByteArray target = QFile::encodeName(path);
    if (const int error = followLinks(target))
        return failed(error);

    struct stat old;
    const bool exists = ::stat(target.constData(), &old) == 0;
    if (!exists && errno != ENOENT)
        return failed(errno);
    const QByteArray folder = folderOf(target);
    if (exists) {
        if (!S_ISREG(old.st_mode))
            return notRegularFile(old.st_mode);
        // A file the user may not write is not replaced either. Root may
        // write any file; a read-only one keeps its mode all the same.
        if (::faccessat(AT_FDCWD, target.constData(), W_OK, AT_EACCESS) != 0)
            return failed(errno);
        if (old.st_nlink > 1 ||
            ::faccessat(AT_FDCWD, folder.constData(), W_OK | X_OK, AT_EACCESS) != 0)
            return rewriteInPlace(QFile::decodeName(target), bytes);
    }

    QByteArray temporary;
    const int fd = createTemporary(target, temporary);
    if (fd < 0)
        return failed(errno);
    int error = writeAll(fd, bytes);
    if (error == 0 && exists)
        keepIdentity(fd, old);
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

} // namespace sonolabe
