// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/titlefile.h"

#include "model/codepage932.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <cerrno>
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
    dest = encoder.encodeInto(store.DiscNames[language], dest);
    *dest++ = '\t';
    dest = encoder.encodeInto(store.ArtistNames[language], dest);
    put("\r\n", 2);
    for (int track = 1; track <= store.TrackCount; ++track) {
        if (track >= 10)
            *dest++ = static_cast<char>('0' + track / 10);
        *dest++ = static_cast<char>('0' + track % 10);
        *dest++ = '\t';
        dest = encoder.encodeInto(store.TrackTitles(language, track), dest);
        put("\r\n", 2);
    }
    put("\r\n", 2);
    return dest;
}

// An upper bound of a section's size: every code unit takes at most two bytes.
qsizetype sectionCapacity(const TitleStore &store, int language)
{
    qsizetype size = 16 + 2 * (store.DiscNames[language].size() + store.ArtistNames[language].size());
    for (int track = 1; track <= store.TrackCount; ++track)
        size += 5 + 2 * store.TrackTitles(language, track).size();
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
        m_disc.TrackCount = static_cast<quint8>(m_highest);
        return std::move(m_disc);
    }

private:
    // From the third character on: up to the first Tab the disc name, after it
    // the artist name; every Tab is dropped and the texts are appended.
    void discLine(QString text)
    {
        QString &disc = m_disc.DiscNames[m_language];
        QString &artist = m_disc.ArtistNames[m_language];
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
        m_disc.TrackTitles(m_language, number) = std::move(text);
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
bool readRegularFile(const QString &path, qint64 maxBytes, QByteArray &bytes, QString &reason)
{
    if (path.isEmpty() || path.contains(QChar(0))) {
        reason = u"no such file"_s;
        return false;
    }
    const QByteArray native = QFile::encodeName(path);
    const int fd = ::open(native.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) {
        reason = systemReason(errno);
        return false;
    }
    struct FdCloser
    {
        int fd;
        ~FdCloser() { ::close(fd); }
    } closer{fd};

    struct stat info;
    if (::fstat(fd, &info) != 0) {
        reason = systemReason(errno);
        return false;
    }
    if (!S_ISREG(info.st_mode)) {
        reason = S_ISDIR(info.st_mode) ? u"is a directory"_s : u"not a regular file"_s;
        return false;
    }
    if (info.st_size > maxBytes) {
        reason = u"file too large"_s;
        return false;
    }

    // The size is a hint: the file may change while it is read.
    bytes.resize(static_cast<qsizetype>(info.st_size) + 1);
    qsizetype filled = 0;
    for (;;) {
        if (filled == bytes.size()) {
            if (filled > maxBytes) {
                reason = u"file too large"_s;
                return false;
            }
            bytes.resize(std::min<qsizetype>(2 * filled, maxBytes + 1));
        }
        const ssize_t got = ::read(fd, bytes.data() + filled, bytes.size() - filled);
        if (got < 0) {
            if (errno == EINTR)
                continue;
            reason = systemReason(errno);
            return false;
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
    result.ok = readRegularFile(path, maxBytes, result.bytes, result.reason);
    if (!result.ok)
        result.bytes.clear();
    return result;
}

LoadResult ReadTitleFile(const QString &path, qint64 maxBytes)
{
    QByteArray bytes;
    QString reason;
    if (!readRegularFile(path, maxBytes, bytes, reason))
        return LoadResult::failed(LoadFailure::Aborted, reason);
    std::optional<TitleStore> disc = ParseTitleFile(bytes);
    if (!disc)
        return LoadResult::failed(LoadFailure::NotATitleFile);
    return LoadResult::loaded(std::move(*disc));
}

QString LoadErrorTitle()
{
    return u"ﾛｰﾄﾞ - ｴﾗｰ"_s;
}

QString LoadErrorMessage(LoadFailure failure, const QString &path)
{
    QString text = u"ﾛｰﾄﾞしようとしている曲名ﾌｧｲﾙは"_s % u'\r' %
                   u"CD-TEXTの曲名ﾌｧｲﾙの規格に合っていません。"_s;
    if (failure == LoadFailure::Aborted)
        text += u'\r' % u"ﾛｰﾄﾞを中止します。"_s;
    text += u"\r\r"_s % u"ﾌｧｲﾙ名："_s % u'\r' % path;
    return text;
}

QString WithTxtExtension(const QString &path)
{
    if (path.right(4).toLower() == u".txt")
        return path;
    return path + u".txt"_s;
}

namespace {

// Writes every byte or says why not; EINTR is retried.
bool writeAll(int fd, const QByteArray &bytes, QString &reason)
{
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t written = ::write(fd, bytes.constData() + done,
                                        static_cast<size_t>(bytes.size() - done));
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0) {
            reason = systemReason(written < 0 ? errno : ENOSPC);
            return false;
        }
        done += written;
    }
    return true;
}

// Flushes the file's data to the disk. EINVAL: a file that cannot be
// synchronised (a pipe, some special file systems); nothing is lost then.
bool syncData(int fd, QString &reason)
{
    if (::fdatasync(fd) == 0 || errno == EINVAL)
        return true;
    reason = systemReason(errno);
    return false;
}

// For a folder that cannot take a temporary file: the existing target is
// rewritten in place. Its old bytes are kept in memory first, so that a
// failed write can put them back.
SaveResult rewriteInPlace(const QString &path, const QByteArray &bytes)
{
    QByteArray old;
    QString reason;
    if (!readRegularFile(path, MaxTitleFileBytes, old, reason))
        return {false, reason};
    const QByteArray native = QFile::encodeName(path);
    const int fd = ::open(native.constData(), O_WRONLY | O_TRUNC | O_CLOEXEC | O_NOCTTY);
    if (fd < 0)
        return {false, systemReason(errno)};
    if (writeAll(fd, bytes, reason) && syncData(fd, reason)) {
        if (::close(fd) != 0)
            return {false, systemReason(errno)};
        return {true, {}};
    }
    // Best effort: the old file was never larger than the space the failed
    // write had taken, so it usually fits again.
    QString ignored;
    if (::ftruncate(fd, 0) == 0 && ::lseek(fd, 0, SEEK_SET) == 0 && writeAll(fd, old, ignored))
        syncData(fd, ignored);
    ::close(fd);
    return {false, reason};
}

} // namespace

SaveResult WriteFileAtomically(const QString &path, const QByteArray &bytes)
{
    const QFileInfo target(path);
    if (target.exists() && !target.isFile())
        return {false, target.isDir() ? u"is a directory"_s : u"not a regular file"_s};

    const QByteArray folder = QFile::encodeName(target.absolutePath());
    if (target.exists() && ::access(folder.constData(), W_OK | X_OK) != 0 &&
        ::access(QFile::encodeName(path).constData(), W_OK) == 0)
        return rewriteInPlace(path, bytes);

    // Unbuffered, so that every write is checked where it happens; a buffered
    // write failing at commit would go unnoticed and the cut-short temporary
    // file would replace the target.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return {false, file.errorString()};
    QString reason;
    const bool written = file.write(bytes) == bytes.size();
    if (!written)
        reason = file.errorString();
    if (written && syncData(file.handle(), reason)) {
        if (file.commit())
            return {true, {}};
        return {false, file.errorString()};
    }
    file.cancelWriting();
    return {false, reason};
}

QString SaveErrorTitle()
{
    return u"保存 - ｴﾗｰ"_s;
}

QString SaveErrorMessage(const QString &path, const QString &reason)
{
    return u"曲名ﾌｧｲﾙを保存できませんでした。"_s % u"\r\r"_s % u"ﾌｧｲﾙ名："_s % u'\r' % path %
           u'\r' % reason;
}

} // namespace sonolabe
