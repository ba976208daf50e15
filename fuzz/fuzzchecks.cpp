// SPDX-License-Identifier: GPL-3.0-or-later
#include "fuzz/fuzzchecks.h"

#include "cdtext/audio/audiotags.h"
#include "cdtext/cue/cuesheet.h"
#include "cdtext/disc/discblocks.h"
#include "cdtext/import/importsheets.h"
#include "cdtext/import/importsource.h"
#include "cdtext/list/tracklist.h"
#include "cdtext/packs/packs.h"
#include "cdtext/toc/tocfile.h"
#include "cdtext/v07t/v07t.h"
#include "model/codepage932.h"
#include "model/titlefile.h"

#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <algorithm>
#include <tuple>
#include <vector>

namespace sonolabe::fuzz {

using namespace Qt::Literals::StringLiterals;
using namespace sonolabe::cdtext;

namespace {

// Calls f(text, language, track) on every text of the store: the disc and
// artist names with track 0, then all 99 titles.
template <typename Store, typename F> void forEachText(Store &store, F f)
{
    for (int language = 0; language < LanguageCount; ++language) {
        f(store.discNames[language], language, 0);
        f(store.artistNames[language], language, 0);
        for (int track = 1; track <= MaxTracks; ++track)
            f(store.trackTitles(language, track), language, track);
    }
}

// The store's invariant (a count up to 99, no title above it) and
// holds(text, track) for every text.
template <typename Holds> bool storeHolds(const TitleStore &store, Holds holds)
{
    bool ok = store.trackCount <= MaxTracks;
    forEachText(store, [&](const QString &text, int, int track) {
        ok = ok && (track <= store.trackCount || text.isEmpty()) && holds(text, track);
    });
    return ok;
}

// The disc with the texts of the languages not kept emptied.
TitleStore keptLanguages(TitleStore store, TitleFileSections keep)
{
    forEachText(store, [&](QString &text, int language, int) {
        if (!(language == English ? keep.english : keep.japanese))
            text.clear();
    });
    return store;
}

// Reads the input one byte at a time; past the end every byte is 0, so every
// input describes some disc.
struct ByteReader
{
    QByteArrayView bytes;
    qsizetype pos = 0;
    bool atEnd() const { return pos >= bytes.size(); }
    unsigned byte() { return atEnd() ? 0 : static_cast<unsigned char>(bytes[pos++]); }
    unsigned peek() const { return atEnd() ? 0 : static_cast<unsigned char>(bytes[pos]); }
};

// A text from the input: a length, then one byte per ASCII character or two
// bytes that pick any other character that code page 932 writes and reads
// back as itself. CR never appears, Tab only where allowed. A few characters
// that glibc writes by the character their code stands for in JIS (U+00A5 as
// 0x5C, U+203E as 0x7E, U+2014 as 0x815C) read back as another character and
// are never picked.
QString textFrom(ByteReader &in, bool tabAllowed)
{
    static const QString units = [] {
        QString result;
        for (unsigned code = 0; code < 0x10000; ++code) {
            const QString one(QChar{code});
            if (Cp932Decoder::instance().decode(Cp932Encoder::instance().encode(one)) == one &&
                Cp932Encoder::instance().canEncode(one[0].unicode()) && code != u'\r')
                result += one;
        }
        return result;
    }();
    qsizetype length = in.byte();
    if (length == 0xFF) {
        const unsigned high = in.byte();
        length += high << 8 | in.byte();
    }
    QString text;
    while (text.size() < length && !in.atEnd()) {
        const unsigned first = in.byte();
        char16_t unit = static_cast<char16_t>(first);
        if (first >= 0x80)
            unit = units[((first & 0x7F) << 8 | in.byte()) % units.size()].unicode();
        if (unit != u'\r' && (unit != u'\t' || tabAllowed))
            text += QChar(unit);
    }
    return text;
}

// The disc of the sheet targets: tracks tracks, with texts of one kind:
//   0  plain texts in both languages;
//   1  sparse: no artist, no Japanese disc name, every other title empty
//      (lines and items to remove);
//   2  awkward: a double quote in the third track's title and a backslash
//      at the end of the fifth's (English), a character whose second byte
//      is a backslash at the end of the fourth's and characters outside JIS
//      X 0208 and outside the code page (Japanese);
//   3  long texts.
// Every text is free of the errors FindProblems reports.
TitleStore sheetDisc(unsigned kind, int tracks)
{
    TitleStore store;
    store.trackCount = static_cast<quint8>(tracks);
    store.discNames[English] = kind == 3 ? u"Best "_s.repeated(40) : u"Best"_s;
    store.discNames[Japanese] = kind == 1 ? QString() : u"ベスト"_s;
    store.artistNames[English] = kind == 1 ? QString() : u"Band"_s;
    store.artistNames[Japanese] = kind == 1 ? QString() : u"バンド"_s;
    for (int track = 1; track <= tracks; ++track) {
        QString &english = store.trackTitles(English, track) = u"Track %1"_s.arg(track);
        QString &japanese = store.trackTitles(Japanese, track) = u"曲%1"_s.arg(track);
        if (kind == 1 && track % 2 == 0) {
            english = japanese = QString();
        } else if (kind == 2) {
            english = track == 3 ? u"12\" Mix"_s : track == 5 ? u"C:\\"_s : english;
            japanese += track == 4 ? u"表ソ"_s : u"①髙\U0001F600"_s;
        } else if (kind == 3) {
            english = english.repeated(30);
            japanese = japanese.repeated(30);
        }
    }
    return store;
}

// The steps both sheet targets share. The first byte of the input is a
// selector: its bits from shift on the kind of texts (two bits) and the
// disc's track count (four bits); the rest is the sheet. rewrite(sheet,
// store) gives a CueRewrite or a TocRewrite, with its bytes in output;
// outcome(store, result) checks that a fault fits the input, or that a
// rewritten sheet holds the disc's title.
template <typename Result, typename Rewrite, typename Outcome>
QString checkSheet(QByteArrayView bytes, unsigned shift, Rewrite rewrite,
                   QByteArray Result::*output, Outcome outcome)
{
    const unsigned selector = ByteReader{bytes}.byte();
    const QByteArrayView sheet = bytes.sliced(bytes.isEmpty() ? 0 : 1);
    const unsigned kind = selector >> shift & 3;
    const int tracks = static_cast<int>(selector >> (shift + 2) & 15);
    TitleStore store = sheetDisc(kind, tracks);
    Result first = rewrite(sheet, store);
    if (first.fault == Result::TrackCount && first.sheetTracks != tracks) {
        if (first.sheetTracks > MaxTracks)
            return {};
        store = sheetDisc(kind, first.sheetTracks);
        first = rewrite(sheet, store);
    }
    if (first.fault == Result::TrackCount || (!first.ok() && !(first.*output).isEmpty()))
        return u"fault %1 (sheet of %2 tracks)"_s.arg(first.fault).arg(first.sheetTracks);
    if (QString failure = outcome(store, first); !failure.isEmpty() || !first.ok())
        return failure;
    const Result second = rewrite(first.*output, store);
    if (!second.ok() || second.*output != first.*output)
        return u"rewritten again: fault %1 or changed"_s.arg(second.fault);
    return {};
}

// Selector: bits 0 and 1 the pack file's layout (header, none, trailing
// NUL, both), bit 2 Tab repeats, bits 3 and 4 drop English or Japanese; then
// the track count and the texts. A title whose first byte is 0xFE repeats
// the track before's.
TitleStore importDisc(ByteReader &in, unsigned selector)
{
    TitleStore store;
    store.trackCount = static_cast<quint8>(in.byte() % (MaxTracks + 1));
    for (const int language : {English, Japanese}) {
        if (selector & (language == English ? 8 : 16))
            continue;
        // Texts the writers accept: printable ASCII (a length, then a byte
        // per character) in English; in Japanese, characters that code page
        // 932 writes and reads back, without control characters.
        const auto text = [&] {
            if (language == Japanese)
                return textFrom(in, false).removeIf(
                    [](QChar ch) { return ch < u' ' || ch == u'\x7F'; });
            QString ascii;
            for (unsigned i = 0, length = in.byte() % 40; i < length && !in.atEnd(); ++i)
                ascii += QChar(static_cast<char16_t>(0x20 + in.byte() % 95));
            return ascii;
        };
        store.discNames[language] = text();
        store.artistNames[language] = text();
        for (int track = 1; track <= store.trackCount; ++track) {
            const bool repeat = track > 1 && in.peek() == 0xFE && in.byte() != 0;
            store.trackTitles(language, track) =
                repeat ? store.trackTitles(language, track - 1) : text();
        }
    }
    return store;
}

// Writing the disc and reading it back gives the disc, and writing that
// gives the same bytes.
// Code page 932 bytes that happen to be valid UTF-8 beyond ASCII are read
// as UTF-8, as a text editor's save would be; such a disc is not held.
bool writtenAndReadBack(const TitleStore &disc, TitleFileSections sections)
{
    const QByteArray written = writeTitleFile(disc, sections);
    if (isUtf8TitleFile(written))
        return true;
    const std::optional<TitleStore> read = parseTitleFile(written);
    return read && *read == disc && writeTitleFile(*read, sections) == written;
}

// The store's English texts are ASCII, as the writers take them: the title
// file holds no other character below U+0100, and an English text with a
// Japanese one is an error the command refuses before writing.
bool englishIsAscii(const TitleStore &store)
{
    bool ascii = true;
    forEachText(store, [&](const QString &text, int language, int) {
        ascii = ascii && (language == Japanese || std::all_of(text.begin(), text.end(),
                                                              [](QChar c) { return c < u'\x7F'; }));
    });
    return ascii;
}

} // namespace

QString checkTitleFileParse(QByteArrayView bytes)
{
    const std::optional<TitleStore> parsed = parseTitleFile(bytes);
    // A UTF-8 byte-order mark before the first line is no part of it.
    static const QRegularExpression tagLine(
        u"(?:^(?:\\x{EF}\\x{BB}\\x{BF})?|\\r\\n?)(?:ja|en)(?:\\r|\\z)"_s);
    if (parsed.has_value() != QString::fromLatin1(bytes).contains(tagLine))
        return u"the reader's verdict differs from the tag lines the bytes hold"_s;
    if (!parsed)
        return {};

    // Each text comes from the bytes read as code page 932 or as UTF-8.
    const QString asCp932 = Cp932Decoder::instance().decode(bytes);
    const QString asUtf8 = QString::fromUtf8(bytes);
    qsizetype total = 0;
    const bool held = storeHolds(*parsed, [&](const QString &text, int track) {
        total += text.size();
        return !text.contains(u'\r') && (track > 0 || !text.contains(u'\t')) &&
               (track == 0 || asCp932.contains(text) || asUtf8.contains(text));
    });
    // Every character kept comes from a character of its own in the input.
    // What was read meets the read-back conditions once each text is what
    // the code page keeps of it: the characters that stood for undecodable
    // bytes, and those of a UTF-8 file that the code page lacks, become the
    // '?' the writer writes for them (a few, such as U+00A5, another
    // character).
    TitleStore readable = *parsed;
    forEachText(readable, [](QString &text, int, int) {
        text = Cp932Decoder::instance().decode(Cp932Encoder::instance().encode(text));
    });
    if (!held || total > std::max(asCp932.size(), asUtf8.size()) ||
        !writtenAndReadBack(readable, {true, true}))
        return u"the disc read breaks an invariant or changes written and read again"_s;
    return {};
}

QString checkTitleFileRoundTrip(QByteArrayView bytes)
{
    ByteReader in{bytes};
    TitleStore store;
    const auto type = static_cast<SaveFileType>(in.byte() % 4 + 1);
    const TitleFileSections sections = sectionsForFileType(type);
    store.trackCount = static_cast<quint8>(in.byte() % (MaxTracks + 1));
    for (int language = 0; language < LanguageCount; ++language) {
        store.discNames[language] = textFrom(in, false);
        store.artistNames[language] = textFrom(in, false);
    }
    for (int track = 1; track <= store.trackCount; ++track)
        for (int language = 0; language < LanguageCount; ++language)
            store.trackTitles(language, track) = textFrom(in, true);

    const TitleStore disc = keptLanguages(store, sections);
    // The bytes hold no language not written. The texts hold no CR: every CR ends a line, every
    // line CR LF.
    const QByteArray written = writeTitleFile(store, sections);
    if (writeTitleFile(disc, sections) != written || !written.endsWith("\r\n") ||
        written.count('\r') != written.count("\r\n") || !writtenAndReadBack(disc, sections))
        return u"file type %1: other bytes or another disc read back"_s.arg(int(type));
    return {};
}

// Selector: bit 0 the language (Japanese when set), bits 1 and 2 the kind
// of texts, bits 3 to 6 the disc's track count.
QString checkCueRewrite(QByteArrayView bytes)
{
    const int language = ByteReader{bytes}.byte() & 1 ? Japanese : English;
    // The texts of sheetDisc are all in the code page; a character outside
    // it never becomes a double quote or a backslash.
    const auto cueBytes = [&](const QString &text) {
        return language == English ? text.toLatin1() : Cp932Encoder::instance().encode(text);
    };
    // A Japanese sheet names the pack file that carries its block.
    const std::optional<QByteArray> packFile =
        language == Japanese ? std::optional(QByteArray("disc.cdt")) : std::nullopt;
    const auto rewrite = [&](QByteArrayView sheet, const TitleStore &store) {
        return RewriteCueSheet(sheet, store, language, packFile);
    };
    return checkSheet(
        bytes, 1, rewrite, &CueRewrite::sheet,
        [&](const TitleStore &store, const CueRewrite &result) {
            // A UTF-8 sheet gets UTF-8 texts, any other code page 932.
            const QByteArray title = '"' + cueBytes(store.discNames[language]) + '"';
            const QByteArray utf8Title = '"' + store.discNames[language].toUtf8() + '"';
            const QByteArray text = cueBytes(TextOf(store, result.text));
            const bool named =
                !packFile || result.sheet.contains(QByteArray("CDTEXTFILE \"" + *packFile + '"'));
            const bool fits = result.ok()
                                  ? named && (title == "\"\"" || result.sheet.contains(title) ||
                                              result.sheet.contains(utf8Title))
                                  : result.text.language == language &&
                                        (result.fault == CueRewrite::Quote ? text.contains('"')
                                                                           : text.endsWith('\\'));
            return fits ? QString() : u"fault %1, or no disc title"_s.arg(result.fault);
        });
}

// The import and the rewrite read a TOC file through one grammar: the
// import notes that it cannot read the file exactly when the rewrite refuses
// it as not understood, at the same line and for the same fault.
static QString checkTocAgreement(QByteArrayView toc)
{
    const TitleStore store;
    const TocRewrite rewrite = RewriteTocFile(toc, store, DiscBlocks(store, {}));
    std::vector<SourceNote> notes = ImportTexts(toc, ImportKind::Toc, {}).notes, refused;
    std::erase_if(notes, [](const SourceNote &n) { return n.kind != SourceNote::NotUnderstood; });
    if (rewrite.fault == TocRewrite::NotUnderstood)
        refused.push_back({SourceNote::NotUnderstood, rewrite.line, int(rewrite.problem), {}});
    return notes == refused ? QString() : u"the import and the rewrite disagree on the file"_s;
}

// Selector: bits 0 and 1 the languages written (English only when 1,
// Japanese only when 2, else both), bits 2 and 3 the kind of texts, bits 4
// to 7 the disc's track count.
QString checkTocRewrite(QByteArrayView bytes)
{
    const unsigned languages = ByteReader{bytes}.byte() & 3;
    const LanguageChoice choice{languages != 2, languages != 1};
    const auto rewrite = [&](QByteArrayView toc, const TitleStore &store) {
        return RewriteTocFile(toc, store, DiscBlocks(store, choice));
    };
    const QString failure = checkSheet(
        bytes, 2, rewrite, &TocRewrite::toc,
        [&](const TitleStore &store, const TocRewrite &result) {
            for (const DiscBlock &block : DiscBlocks(store, choice)) {
                const PackTexts *titles = block.pack.textsOf(PackTypeTitle);
                if (result.ok() && titles && !result.toc.contains(TocString(titles->entries[0])))
                    return u"the rewritten file lacks a disc title"_s;
            }
            // The line is one of the sheet's (the selector byte may be a line
            // end too).
            const bool fits = result.ok() || result.fault == TocRewrite::NoFreeLanguageNumber ||
                              (result.fault == TocRewrite::NotUnderstood && result.line >= 1 &&
                               result.line <= bytes.count('\n') + 1 &&
                               result.problem <= TocSyntaxError::NestedTooDeep);
            return fits ? QString() : u"fault %1 does not fit the file"_s.arg(result.fault);
        });
    return failure.isEmpty() ? checkTocAgreement(bytes.sliced(bytes.isEmpty() ? 0 : 1)) : failure;
}

QString checkImportRoundTrip(QByteArrayView bytes)
{
    // A title file holds a text exactly when it has no control character and
    // code page 932 writes it and reads it back as itself, which
    // writtenAndReadBack tells.
    static const QRegularExpression control(u"[\\x{0}-\\x{1F}\\x{7F}-\\x{9F}]"_s);
    const auto holdable = [](const QString &text, int) { return !text.contains(control); };
    for (const ImportKind kind :
         {ImportKind::Packs, ImportKind::V07t, ImportKind::Cue, ImportKind::Toc})
        for (const ImportChoice &choice :
             {ImportChoice{}, ImportChoice{1, Japanese, true, {}}, ImportChoice{{}, English, true, {}}}) {
            const ImportResult result = ImportTexts(bytes, kind, choice);
            if (result.store && !(storeHolds(*result.store, holdable) &&
                                  writtenAndReadBack(*result.store, result.sections)))
                return u"bytes read as kind %1 gave a disc no title file holds"_s.arg(int(kind));
        }
    // Then what the writers write for the disc the bytes describe: its pack
    // file, v07t sheet, TOC file and each language's CUE sheet.
    ByteReader in{bytes};
    const unsigned selector = in.byte();
    const TitleStore file = importDisc(in, selector);
    const std::vector<DiscBlock> blocks = DiscBlocks(file, {});
    if (file.trackCount == 0 || blocks.empty())
        return {};
    TitleStore burned = file;
    forEachText(burned, [](QString &text, int language, int) {
        if (language == Japanese)
            text = Cp932Decoder::instance().decode(JapaneseBlockBytes(text));
    });
    QByteArray frame = "CD_DA\n";
    QByteArray cue = "FILE \"disc.wav\" WAVE\n";
    for (int track = 1; track <= file.trackCount; ++track) {
        frame += "TRACK AUDIO\nFILE \"audio.raw\" 0\n";
        cue += "  TRACK " + QByteArray::number(track) + " AUDIO\n    INDEX 01 00:00:00\n";
    }
    // A plain frame the TOC writer refused would come back empty, with no texts.
    std::vector<std::tuple<ImportKind, QByteArray, ImportChoice, TitleStore>> sources{
        {ImportKind::Toc, RewriteTocFile(frame, file, blocks).toc, {}, burned}};
    if (const std::optional<QByteArray> packs =
            BuildPacks(PackBlocksOf(blocks), {.tabRepeat = (selector & 4) != 0})) {
        const QByteArray layouts[] = {PackFileBytes(*packs), *packs, *packs + '\0',
                                      PackFileBytes(*packs) + '\0'};
        sources.emplace_back(ImportKind::Packs, layouts[selector & 3], ImportChoice{}, burned);
    }
    if (const V07tSheets sheets = WriteV07tSheets(blocks); sheets.ok())
        sources.emplace_back(ImportKind::V07t, sheets.bytes, ImportChoice{}, burned);
    for (const int language : {English, Japanese}) {
        const TitleStore one = keptLanguages(file, {language == English, language == Japanese});
        const CueRewrite sheet = RewriteCueSheet(cue, one, language);
        if (LanguageHasText(one, language) && sheet.ok() && !DecodeUtf8BeyondAscii(sheet.sheet))
            // Read in the encoding it was written in: which one a sheet's
            // bytes suggest is a guess of its own (sheetencoding.h).
            sources.emplace_back(ImportKind::Cue, sheet.sheet,
                                 ImportChoice{std::nullopt, language, false, SheetEncoding::Cp932},
                                 one);
    }
    for (const auto &[kind, source, choice, expected] : sources) {
        const ImportResult result = ImportTexts(source, kind, choice);
        if (!result.replacements.empty() || !result.notes.empty() || !result.store ||
            !(*result.store == expected))
            return u"kind %1: not the disc written, or notes"_s.arg(int(kind));
    }
    return {};
}

QString checkAudioTags(QByteArrayView bytes)
{
    // The extensions TagLib tells formats by, and one it knows nothing of.
    static constexpr std::array<const char *, 12> AudioExtensions{
        "flac", "mp3", "ogg", "opus", "wav", "aiff", "m4a", "wma", "ape", "wv", "mpc", "bin"};
    static QTemporaryDir dir;
    if (!dir.isValid())
        return u"no temporary folder"_s;
    const unsigned selector = ByteReader{bytes}.byte();
    const QString path = dir.filePath(
        u"01 Input."_s + QLatin1StringView(AudioExtensions[selector % AudioExtensions.size()]));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        file.write(bytes.sliced(bytes.isEmpty() ? 0 : 1).toByteArray()) < 0)
        return u"could not write %1"_s.arg(path);
    file.close();

    const AudioTexts texts = readAudioTags({path});
    if (texts.titles.size() != texts.files.size())
        return u"%1 titles for %2 files"_s.arg(texts.titles.size()).arg(texts.files.size());
    if (texts.titles.empty()) {
        const AudioNote unreadable{AudioNote::Unreadable, 0, 0, path};
        return texts.notes == std::vector{unreadable} ? QString()
                                                      : u"no title, yet not unreadable"_s;
    }
    if (texts.titles.size() != 1 || texts.files.front() != path || texts.titles.front().isEmpty())
        return u"one file, %1 titles or an empty one"_s.arg(texts.titles.size());
    for (const AudioNote &note : texts.notes) {
        if (note.kind != AudioNote::TitleFromFileName || texts.titles.front() != u"Input"_s)
            return u"note %1 for a single file"_s.arg(note.kind);
    }
    return {};
}

QString checkTrackList(QByteArrayView bytes)
{
    const TrackList list = readTrackList(bytes);
    // Code page 932's second bytes are never CR or LF, so in every encoding
    // the lines are where the bytes have them.
    const QList<QByteArray> split = bytes.toByteArray().replace('\r', '\n').split('\n');
    const qsizetype lines = split.size() - split.count(QByteArray());
    const bool refused = std::any_of(list.notes.begin(), list.notes.end(), [](const auto &note) {
        return note.kind == TrackListNote::TooManyTracks;
    });
    if (refused && (!list.titles.empty() || lines <= MaxTracks))
        return u"refused with %1 titles of %2 lines"_s.arg(list.titles.size()).arg(lines);
    if (qsizetype(list.titles.size()) > std::min<qsizetype>(lines, MaxTracks))
        return u"%1 titles of %2 lines"_s.arg(list.titles.size()).arg(lines);
    for (const QString &text : list.titles) {
        if (text.contains(u'\r') || text.contains(u'\n'))
            return u"a line break in a title"_s;
    }
    return {};
}

// The CUE rewrite and the import read a sheet alike, as far as both read
// texts (a sheet of at most MaxTracks tracks): the import's track count is
// the rewrite's; the texts the import reads (English ones as the writers
// take them), written back into the sheet, read back the same or are refused
// for a double quote or a final backslash, which a CUE sheet cannot hold;
// and a disc the rewrite writes into the sheet reads back as written. The
// first byte picks the language of the texts written; a sheet whose encoding
// the rewrite changes (code page 932 bytes that happen to be valid UTF-8) is
// left out.
QString checkCueAgreement(QByteArrayView bytes)
{
    const int language = ByteReader{bytes}.byte() & 1 ? Japanese : English;
    const QByteArrayView sheet = bytes.sliced(bytes.isEmpty() ? 0 : 1);
    const int tracks = RewriteCueSheet(sheet, TitleStore{}, English).sheetTracks;
    if (tracks > MaxTracks)
        return {};
    const ImportChoice choice{std::nullopt, language, false, {}};
    // Writes the store's texts into the sheet and reads them back.
    const auto writtenAndRead = [&](const TitleStore &store) -> std::optional<TitleStore> {
        const CueRewrite rewritten = RewriteCueSheet(sheet, store, language);
        const QByteArray text = Cp932Encoder::instance().encode(TextOf(store, rewritten.text));
        if (rewritten.fault == CueRewrite::Quote || rewritten.fault == CueRewrite::BackslashAtEnd)
            return text.contains('"') || text.endsWith('\\') ? std::optional(store) : std::nullopt;
        if (!rewritten.ok())
            return std::nullopt;
        if (IsUtf8CueSheet(rewritten.sheet) != IsUtf8CueSheet(sheet))
            return store;
        // Read back in the encoding the rewrite wrote in.
        ImportChoice written = choice;
        written.encoding =
            IsUtf8CueSheet(rewritten.sheet) ? SheetEncoding::Utf8 : SheetEncoding::Cp932;
        return ImportTexts(rewritten.sheet, ImportKind::Cue, written).store.value_or(TitleStore{});
    };
    const ImportResult read = ImportTexts(sheet, ImportKind::Cue, choice);
    // The rewrite writes no Windows-1252: texts read so are not written back.
    const bool readAsLatin = std::any_of(read.notes.begin(), read.notes.end(), [](const auto &n) {
        return n.kind == SourceNote::EncodingGuessed &&
               n.value == int(SheetEncoding::Windows1252);
    });
    if (read.store && read.store->trackCount != tracks)
        return u"the import counts %1 tracks, the rewrite %2"_s.arg(read.store->trackCount)
            .arg(tracks);
    if (read.store && !readAsLatin && englishIsAscii(*read.store) &&
        writtenAndRead(*read.store) != read.store)
        return u"the texts read, written back, are refused or read otherwise"_s;
    const TitleStore disc =
        keptLanguages(sheetDisc(0, tracks), {language == English, language == Japanese});
    if (writtenAndRead(disc) != disc)
        return u"a disc written into the sheet is refused or read otherwise"_s;
    return {};
}

} // namespace sonolabe::fuzz
