// SPDX-License-Identifier: GPL-3.0-or-later
// Safe file access: reading a file that may be anything a user names (a FIFO,
// a device, a file of gigabytes) without hanging or exhausting memory, and
// writing one so that a failure or a kill never leaves a half-written file.
//
// Failures carry the system's own words (strerror) and, for saving, a cause
// the caller can word for the user; this layer holds no user-visible text.
#pragma once

#include <QByteArray>
#include <QString>

namespace sonolabe {

struct FileReadResult
{
    bool ok = false;
    QByteArray bytes;
    QString reason; // the system's reason when not ok
};

// File names as the system has them. A name that is not valid UTF-8 keeps
// its bytes: each byte that is no part of a valid sequence stands in the
// QString as the lone surrogate U+DC80 + (byte - 0x80) and goes back to the
// byte (QFile::decodeName would make it U+FFFD and lose it). Every path
// given to the functions here is turned into bytes by nativePath.
QString pathFromNative(QByteArrayView name);
QByteArray nativePath(const QString &path);

// Reads a whole regular file of at most maxBytes. Any other kind of file (a
// directory, a FIFO, a device) is refused at once, without blocking.
FileReadResult readRegularFile(const QString &path, qint64 maxBytes);

// Why a save failed: the common causes, each with words of its own in the
// save error box; anything else is told in the system's words.
enum class FileFailure {
    Other,
    NoSpace,       // the disk or the user's quota is full
    NoPermission,  // the file or its folder may not be written
    FolderMissing, // the folder does not exist (or a part of it is no folder)
    ReadOnlyFileSystem,
    NotARegularFile, // the name is taken by a folder, a FIFO, a device...
    TooLarge,        // larger than the file system or the process may write
};

// The cause a system call's errno stands for.
FileFailure fileFailureOf(int error);

struct SaveResult
{
    bool ok = false;
    FileFailure failure = FileFailure::Other; // when not ok
    QString reason;                           // the system's words, when not ok
};

// An existing file that is rewritten in place (see writeFileAtomically) is
// first read into memory, so that a failed write can put it back; a larger
// one is refused as too large.
inline constexpr qint64 MaxRewrittenFileBytes = qint64(256) << 20;

// Replaces the file at path with bytes, never leaving a half-written file:
// the bytes go to a temporary file in the same folder, every write checked and
// the data flushed to the disk, which is then renamed over the target. A kill
// in the middle can leave that temporary file behind under a name of its own
// ("disc.txt.1a2b3c4d"), never a half-written file under the target's name.
//
// What the file was is kept: the new file takes the old one's permission bits
// (read-only stays read-only, for root too, who may write it) and its owner
// and group, as far as the user may set them (a group the user is in is kept
// when the owner cannot be). A symbolic link stays a link: the file it leads
// to is replaced. A file with more than one hard link is rewritten in place,
// so that every name sees the new bytes, as is an existing file in a folder
// that cannot take a temporary file; a failed rewrite puts the old bytes
// back. An existing target that is not a regular file, or that the user may
// not write, is refused.
SaveResult writeFileAtomically(const QString &path, const QByteArray &bytes);

} // namespace sonolabe
