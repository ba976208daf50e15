// SPDX-License-Identifier: GPL-3.0-or-later
// Reading texts back from what the burning tools read and write: CD-Text
// pack files, cdrskin's v07t input sheets, CUE sheets and cdrdao TOC files.
//
// Every reader gives the source's language blocks with their texts decoded
// (SourceTexts); ImportTexts then picks the blocks for the title file's two
// sections and makes every text one a title file can hold:
//  - a line break (CR, LF, U+0085, U+2028, U+2029), a Tab and any other
//    control character becomes a space;
//  - in the English section, a typographic quote, dash, ellipsis or bullet
//    becomes its ASCII form (TypographicAsciiForm);
//  - a character code page 932 lacks, or writes by another's code, becomes
//    its code page 932 twin where the section holds the twin (TitleFileTwin);
//  - any other character code page 932 cannot write and read back as itself,
//    and bytes that decode to no character, become '?' (a surrogate pair is
//    one '?').
// Each such change is reported (Replacement).
#pragma once

#include "cdtext/disc/discblocks.h"
#include "cdtext/import/sheetencoding.h"
#include "model/titlefile.h"
#include "model/titlestore.h"

#include <QByteArrayView>
#include <QString>

#include <array>
#include <optional>
#include <vector>

namespace sonolabe::cdtext {

enum class ImportKind { Packs, V07t, Cue, Toc };

// The kind of a source told by its content, or nothing when it looks like
// none of them: a pack file is binary and every 18-byte pack starts with a
// pack type (0x80 to 0x8F); a v07t sheet has an "Input Sheet Version" line,
// or, a single sheet written without it, "Text Code", "Album Title" or
// "Track NN Title" lines ("key = value");
// a TOC file starts a line with a disc type (CD_DA, CD_ROM, CD_ROM_XA, CD_I)
// or CD_TEXT, or has "TRACK AUDIO"; a CUE sheet has "FILE", "TRACK nn",
// TITLE or PERFORMER lines.
std::optional<ImportKind> DetectImportKind(QByteArrayView bytes);

// One language block of a source, its texts decoded to Unicode as they are
// (not yet cleaned for the title file).
struct SourceBlock
{
    int number = 0;              // block number; a TOC's language number
    std::optional<int> language; // English or Japanese, when the source says so
    QString languageName;        // how the source names its language, for reports
    QString discTitle;
    QString discPerformer;
    std::array<QString, MaxTracks> titles; // titles[t - 1] for track t
    int lastTrack = 0; // the last track of the block's own track list, 0 without one
};

// Something a reader or the import met and reports. Which fields matter
// depends on the kind.
struct SourceNote
{
    enum Kind {
        NotAPackFile,         // the size fits no pack file: nothing read
        CrcMismatch,          // number: the pack, counted from 1
        CharacterCodeUnknown, // block number, value: the code; block skipped
        OtherLanguage,        // block number, what: its language; block skipped
        LanguageAgain,        // block number, value: the language; block skipped
        NoSuchBlock,          // number: the block asked for with --block
        NoBlockInLanguage,    // value: the language asked for with --lang
        TrackBeyondLimit,     // number: the track (above 99); its texts skipped
        TextLeftOut,          // block number, value: a LeftOutField, track: the first
                              // track with it (0 the disc), more: further tracks
        NotUnderstood,        // number: the line, value: a TocSyntaxError::Kind
        TooManyBlocks,        // number: the line of a ninth v07t sheet; not read
        EncodingGuessed,      // value: the SheetEncoding a CUE sheet was read in
        FirstTrackNotOne,     // number: a pack file's first track; tracks before it empty
        CrcIgnored,           // number: the pack, counted from 1; read with --ignore-crc
        CrcNotFilledIn,       // every CRC of the pack file is zero; read without them
    };
    Kind kind = NotAPackFile;
    int number = 0;
    int value = 0;
    QString what;
    int track = 0;
    int more = 0;
    bool operator==(const SourceNote &) const = default;
};

struct SourceTexts
{
    std::vector<SourceBlock> blocks;
    std::vector<SourceNote> notes;
    // The tracks of the source's track list (TRACK lines of a CUE sheet or
    // a TOC file), 0 without one.
    int trackListCount = 0;
};

// The texts a source can hold beyond the title file's: a title file holds
// the disc's name, its artist (the disc's performer) and the track titles.
enum class LeftOutField {
    Performer,
    Songwriter,
    Composer,
    Arranger,
    Message,
    Genre,
    DiscId,
    UpcEan,
    Isrc
};

// Notes that the block holds a text of the field for the track (0 the disc)
// that the title file leaves out: one note for each block and field, naming
// the first track and counting the further ones.
void NoteTextLeftOut(SourceTexts &source, int block, LeftOutField field, int track);

// A text changed so that the title file can hold it.
struct Replacement
{
    enum Reason {
        LineBreak,
        Tab,
        ControlCharacter,
        NotInCodePage,
        NoCharacter,
        Typographic, // English: written as its ASCII form
        Mapped,      // written as its code page 932 twin
    };
    TextRef text;
    Reason reason = LineBreak;
    qsizetype position = 0; // of the first such character, counted from 1
    char32_t character = 0;
    int more = 0; // further characters of the same reason in the text
    bool operator==(const Replacement &) const = default;
};

// What a line break, a Tab or another control character becomes, and what a
// character the code page lacks becomes.
inline constexpr char16_t ControlReplacement = u' ';
inline constexpr char16_t CharacterReplacement = u'?';

// The ASCII form an English text holds for a typographic character, empty
// for any other: quotes become the straight ones, every dash and the minus
// sign the hyphen-minus, the ellipsis three full stops, the bullet '*' (the
// ASCII character most used for a list mark).
QStringView TypographicAsciiForm(char32_t character);

// The character code page 932 has in place of one it lacks or writes by
// another character's code, or 0 when there is none or the language's
// section cannot hold it. These are what a Windows user's ～ ∥ － ￠ ￡ ￢ ―
// (and ￥ in Japanese) become when a program converts code page 932 by the
// JIS tables rather than Microsoft's, as UTF-8 CUE sheets and cdrdao 1.2.5's
// TOC files hold them. The English section holds single bytes only, and
// every twin takes two, so English gets none.
char16_t TitleFileTwin(char32_t character, int language);

struct ImportChoice
{
    // Read only this block (a TOC's language number), whatever its language.
    std::optional<int> block;
    // The section the texts fill: with block, the one it fills; for a CUE
    // sheet, the one its texts fill; otherwise read only the block of this
    // language. Without it a block fills its own language's section, and a
    // CUE sheet or a block of another language picked with block fills the
    // Japanese section when its texts hold a Japanese character, else the
    // English one (see IsJapaneseCharacter).
    std::optional<int> language;
    bool ignoreCrc = false;
    // A CUE sheet's encoding as the user names it; without it, told by the
    // sheet's bytes (sheetencoding.h).
    std::optional<SheetEncoding> encoding;
};

struct ImportResult
{
    // Nothing when no text could be read.
    std::optional<TitleStore> store;
    TitleFileSections sections; // the languages that have text
    std::vector<SourceNote> notes;
    std::vector<Replacement> replacements;
    // The title file: what the editor's save writes for the store.
    QByteArray titleFile() const;
};

// Reads the source's texts into a title file's store. The track count is
// the highest track with a text in either section, or the source's track
// list when that is longer (at most MaxTracks).
ImportResult ImportTexts(QByteArrayView source, ImportKind kind, const ImportChoice &choice);

// The same for texts already read (ImportTexts reads the source, then calls
// this): a block without a language, as a CUE sheet's, fills the section
// choice.language names, else the one its texts belong to.
ImportResult ImportSourceTexts(const SourceTexts &texts, const ImportChoice &choice);

// True for a character that makes a text Japanese: one code page 932 has
// (itself or its twin) that is kana, a kanji, a CJK symbol, a full-width or
// half-width form, or a letter of a script other than Latin (Greek,
// Cyrillic). Latin letters, digits, punctuation and other symbols do not:
// an English title with a typographic apostrophe or a dash is English.
bool IsJapaneseCharacter(char32_t character);

// The text as a title file can hold it, with the replacements noted for ref.
QString CleanForTitleFile(QStringView text, const TextRef &ref,
                          std::vector<Replacement> &replacements);

} // namespace sonolabe::cdtext
