// SPDX-License-Identifier: GPL-3.0-or-later
// Title files: the bytes on disk and the store they stand for.
//
// A title file is code page 932 text, as the writer always writes it. A
// file that starts with a UTF-8 byte-order mark, or is valid UTF-8 and holds
// at least one multi-byte sequence, is read as UTF-8 (a text editor's save
// of a title file). Code page 932 text beyond ASCII is almost never valid
// UTF-8 (its kana and most kanji start with bytes that UTF-8 only uses
// inside a sequence), and plain ASCII reads the same either way. Every line the writer produces
// ends in CR LF; the reader ends a line at CR LF or a lone CR, and a lone LF stays in the line's
// text. Lines "ja" and "en" start the Japanese and the English section; any other non-empty line is
// numbered by its first two characters: number 0 is the disc line ("0", Tab, disc name, Tab,
// artist), 1 to 99 a track line (number, Tab, title).
//
// Reading a file from disk goes through model/safefile.h, which also writes
// it; the words the user reads about a failure belong to the windows.
#pragma once

#include "model/titlestore.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <optional>

namespace sonolabe {

// What a text can hold. Each text is written into one line of the file, in
// code page 932. Texts read from a file are kept as they are; what comes in
// from elsewhere (typed, pasted, imported) is made to fit these rules. CR and
// LF end a line: a text holds neither.
constexpr bool isTitleLineEnd(char16_t unit)
{
    return unit == u'\r' || unit == u'\n';
}

// The disc line holds the disc name and the artist with this between them.
inline constexpr char16_t TitleFieldSeparator = u'\t';

// True when code page 932 writes the code unit and reads it back as itself.
// Some it writes by another character's code (U+00A5 as the backslash,
// U+2014 as U+2015's code): the file would give back that other character.
bool isHeldByTitleFile(char16_t unit);

// English texts hold plain single-byte printable text only. Position (counted
// from 1, in UTF-16 code units) of the first character that code page 932
// writes with two bytes, or 0 when there is none.
int firstDoubleByteCharacter(QStringView text);

// The rule for one UTF-16 code unit of an English text: code page 932 writes
// it with one byte, and its low byte lies between 32 (space) and 126 (tilde).
// Only the low byte is looked at, so for instance U+0141 (low byte 0x41)
// passes and is written as '?' later.
bool isEnglishUnit(char16_t unit);

// True when every code unit of the text passes isEnglishUnit (an empty text
// does): the text may stand on the English side of a title file.
bool isEnglishText(QStringView text);

// Which sections a saved file holds; the English one is always written first.
struct TitleFileSections
{
    bool english = true;
    bool japanese = true;
    bool operator==(const TitleFileSections &) const = default;
};

// The file types of the save dialog, in the order it offers them.
enum class SaveFileType { EnglishOnly = 1, JapaneseAndEnglish = 2, JapaneseOnly = 3, AllFiles = 4 };
TitleFileSections sectionsForFileType(SaveFileType type);

// The name a save writes to: the chosen path with ".txt" added unless its last
// four characters already read ".txt" in any case.
QString withTxtExtension(const QString &path);

// The bytes of a title file for the store's texts and count.
QByteArray writeTitleFile(const TitleStore &store, TitleFileSections sections);

// True when the bytes are read as UTF-8 rather than as code page 932.
bool isUtf8TitleFile(QByteArrayView bytes);

// One line of a title file (without its line end) as text: UTF-8 for a file
// that isUtf8TitleFile, code page 932 otherwise. Every byte gives at least one
// character; a byte-order mark inside a UTF-8 line is kept as U+FEFF.
QString decodeTitleFileLine(QByteArrayView line, bool utf8);

// True when the bytes hold LF line ends and no CR: a title file saved with
// Linux line ends, which the reader takes as a single line.
bool hasOnlyLfLineEnds(QByteArrayView bytes);

// Reads title-file bytes into a fresh store (texts and trackCount set; the
// editor's position and the path untouched). Never refuses a line; returns
// nothing only when the bytes hold no section tag at all.
std::optional<TitleStore> parseTitleFile(QByteArrayView bytes);

// Why a file could not be loaded. The two kinds have different messages: a
// file that was read but is no title file, and a file that could not be read.
enum class LoadFailure { NotATitleFile, Unreadable };

class LoadResult
{
public:
    static LoadResult loaded(TitleStore disc) { return LoadResult(std::move(disc)); }
    static LoadResult failed(LoadFailure failure, QString reason = {})
    {
        return LoadResult(failure, std::move(reason));
    }

    bool ok() const { return m_disc.has_value(); }
    const TitleStore &disc() const { return *m_disc; }
    LoadFailure failure() const { return m_failure; }
    // The system's reason for an aborted read, for diagnostics; not shown.
    const QString &reason() const { return m_reason; }

private:
    explicit LoadResult(TitleStore disc) : m_disc(std::move(disc)) {}
    LoadResult(LoadFailure failure, QString reason)
        : m_failure(failure), m_reason(std::move(reason))
    {}
    std::optional<TitleStore> m_disc;
    LoadFailure m_failure = LoadFailure::Unreadable;
    QString m_reason;
};

// Real title files are a few kilobytes; anything larger than this is refused
// as unreadable rather than allowed to exhaust memory.
inline constexpr qint64 MaxTitleFileBytes = qint64(256) << 20;

// Opens, reads and parses the file at path. Only regular files are read: a
// directory, a FIFO or a device is refused at once, without blocking.
LoadResult readTitleFile(const QString &path, qint64 maxBytes = MaxTitleFileBytes);

} // namespace sonolabe
