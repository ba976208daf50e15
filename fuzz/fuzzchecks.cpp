// SPDX-License-Identifier: GPL-3.0-or-later
#include "fuzz/fuzzchecks.h"

#include "cdtext/cuesheet.h"
#include "cdtext/discblocks.h"
#include "cdtext/importsheets.h"
#include "cdtext/importsource.h"
#include "cdtext/packs.h"
#include "cdtext/tocfile.h"
#include "cdtext/v07t.h"
#include "model/codepage932.h"
#include "model/englishtext.h"
#include "model/titlefile.h"

#include <QList>
#include <QStringList>

#include <iconv.h>
#include <vector>

namespace sonolabe::fuzz {

using namespace Qt::Literals::StringLiterals;
using namespace sonolabe::cdtext;

namespace {

// A text for a failure message: control and non-ASCII characters as \uXXXX,
// long texts cut.
QString shown(QStringView text)
{
    QString out;
    const qsizetype limit = 80;
    for (qsizetype i = 0; i < text.size() && i < limit; ++i) {
        const char16_t unit = text[i].unicode();
        if (unit >= 0x20 && unit < 0x7F)
            out += QChar(unit);
        else
            out += u"\\u%1"_s.arg(unsigned(unit), 4, 16, QChar(u'0'));
    }
    if (text.size() > limit)
        out += u"... (%1 code units)"_s.arg(text.size());
    return u'"' % out % u'"';
}

QString languageName(int language)
{
    return language == Japanese ? u"Japanese"_s : u"English"_s;
}

// The first difference in texts or count between two stores, or nothing.
QString discDifference(const TitleStore &got, const TitleStore &expected)
{
    if (got.trackCount != expected.trackCount)
        return u"TrackCount %1, expected %2"_s.arg(got.trackCount).arg(expected.trackCount);
    for (int language = 0; language < LanguageCount; ++language) {
        const QString name = languageName(language);
        if (got.discNames[language] != expected.discNames[language])
            return u"%1 disc name %2, expected %3"_s.arg(name, shown(got.discNames[language]),
                                                         shown(expected.discNames[language]));
        if (got.artistNames[language] != expected.artistNames[language])
            return u"%1 artist name %2, expected %3"_s.arg(name, shown(got.artistNames[language]),
                                                           shown(expected.artistNames[language]));
        for (int track = 1; track <= MaxTracks; ++track) {
            if (got.trackTitles(language, track) != expected.trackTitles(language, track))
                return u"%1 title of track %2 %3, expected %4"_s.arg(
                    name, QString::number(track), shown(got.trackTitles(language, track)),
                    shown(expected.trackTitles(language, track)));
        }
    }
    return {};
}

// The editor's position and the path are not the reader's business.
QString positionDifference(const TitleStore &got)
{
    const TitleStore fresh;
    if (got.currentTrack != fresh.currentTrack || got.languageMode != fresh.languageMode ||
        got.currentFilePath != fresh.currentFilePath)
        return u"the reader set the editor's position or the current path"_s;
    return {};
}

QString storeInvariantFailure(const TitleStore &disc, QStringView decodedInput)
{
    if (disc.trackCount > MaxTracks)
        return u"TrackCount %1 is above %2"_s.arg(disc.trackCount).arg(MaxTracks);
    qsizetype total = 0;
    for (int language = 0; language < LanguageCount; ++language) {
        const QString name = languageName(language);
        for (int track = 1; track <= MaxTracks; ++track) {
            const QString &title = disc.trackTitles(language, track);
            if (track > disc.trackCount && !title.isEmpty())
                return u"%1 title of track %2 is %3 above the count %4"_s.arg(
                    name, QString::number(track), shown(title), QString::number(disc.trackCount));
            if (title.contains(u'\r'))
                return u"%1 title of track %2 holds a CR"_s.arg(name).arg(track);
            if (!decodedInput.contains(title))
                return u"%1 title of track %2 %3 is not in the input"_s.arg(
                    name, QString::number(track), shown(title));
            total += title.size();
        }
        for (const QString *text : {&disc.discNames[language], &disc.artistNames[language]}) {
            if (text->contains(u'\r') || text->contains(u'\t'))
                return u"%1 disc or artist name %2 holds a CR or a Tab"_s.arg(name, shown(*text));
            total += text->size();
        }
    }
    // Every character kept comes from a character of its own in the input.
    if (total > decodedInput.size())
        return u"the texts hold %1 characters, the input only %2"_s.arg(total).arg(
            decodedInput.size());
    return {};
}

int digitValue(QChar ch)
{
    return ch >= u'0' && ch <= u'9' ? ch.unicode() - u'0' : 0;
}

// Reads the input of the round-trip target one byte at a time; past the end
// every byte is 0, so every input describes some store.
class ByteReader
{
public:
    explicit ByteReader(QByteArrayView bytes) : m_bytes(bytes) {}
    bool atEnd() const { return m_pos >= m_bytes.size(); }
    unsigned byte() { return atEnd() ? 0 : static_cast<unsigned char>(m_bytes[m_pos++]); }
    unsigned peek() const { return atEnd() ? 0 : static_cast<unsigned char>(m_bytes[m_pos]); }

private:
    QByteArrayView m_bytes;
    qsizetype m_pos = 0;
};

// Every code unit that code page 932 writes and reads back as itself. A few
// that glibc writes by the character their code stands for in JIS (U+00A5 as
// 0x5C, U+203E as 0x7E, U+2014 as 0x815C) read back as another character and
// are no code page 932 characters for the read-back rule.
const std::vector<char16_t> &roundTripUnits()
{
    static const std::vector<char16_t> units = [] {
        const Cp932Encoder &encoder = Cp932Encoder::instance();
        const Cp932Decoder &decoder = Cp932Decoder::instance();
        std::vector<char16_t> result;
        for (unsigned unit = 0; unit < 0x10000; ++unit) {
            const QChar ch(static_cast<char16_t>(unit));
            if (unit == u'\r' || !encoder.canEncode(ch.unicode()))
                continue;
            if (decoder.decode(encoder.encode(QStringView(&ch, 1))) == QStringView(&ch, 1))
                result.push_back(ch.unicode());
        }
        return result;
    }();
    return units;
}

// A text from the input: a length, then one byte per ASCII character or two
// bytes that pick any other code page 932 character. CR never appears, Tab
// only where allowed.
QString textFrom(ByteReader &in, bool tabAllowed)
{
    qsizetype length = in.byte();
    if (length == 0xFF) {
        const unsigned high = in.byte();
        length += high << 8 | in.byte();
    }
    const std::vector<char16_t> &units = roundTripUnits();
    QString text;
    while (text.size() < length && !in.atEnd()) {
        const unsigned first = in.byte();
        char16_t unit = static_cast<char16_t>(first);
        if (first >= 0x80)
            unit = units[((first & 0x7F) << 8 | in.byte()) % units.size()];
        if (unit == u'\r' || (unit == u'\t' && !tabAllowed))
            continue;
        text += QChar(unit);
    }
    return text;
}

// The writer's lines as the format lists them, built without any care for
// speed.
QByteArray referenceWrite(const TitleStore &store, TitleFileSections sections)
{
    const Cp932Encoder &encoder = Cp932Encoder::instance();
    QByteArray out;
    const auto section = [&](int language, const char *tag) {
        out += tag;
        out += "\r\n";
        out += "0\t" + encoder.encode(store.discNames[language]) + '\t' +
               encoder.encode(store.artistNames[language]) + "\r\n";
        for (int track = 1; track <= store.trackCount; ++track)
            out += QByteArray::number(track) + '\t' +
                   encoder.encode(store.trackTitles(language, track)) + "\r\n";
        out += "\r\n";
    };
    if (sections.english)
        section(English, "en");
    if (sections.japanese)
        section(Japanese, "ja");
    return out;
}

// Per-character conversion with the C library, one descriptor for the run.
class SlowCp932
{
public:
    SlowCp932() : m_cd(iconv_open("CP932", "UTF-8"))
    {
        if (m_cd == reinterpret_cast<iconv_t>(-1))
            qFatal("the C library has no CP932 converter");
    }
    ~SlowCp932() { iconv_close(m_cd); }
    SlowCp932(const SlowCp932 &) = delete;
    SlowCp932 &operator=(const SlowCp932 &) = delete;

    // The number of bytes code page 932 writes the one character with, or 0
    // when it cannot write it (a lone surrogate half included).
    int bytesOf(char16_t unit) const
    {
        if (unit >= 0xD800 && unit <= 0xDFFF)
            return 0;
        QByteArray in = QString(QChar(unit)).toUtf8();
        char out[8];
        char *inPtr = in.data();
        char *outPtr = out;
        size_t inLeft = static_cast<size_t>(in.size());
        size_t outLeft = sizeof out;
        iconv(m_cd, nullptr, nullptr, nullptr, nullptr);
        if (iconv(m_cd, &inPtr, &inLeft, &outPtr, &outLeft) == static_cast<size_t>(-1))
            return 0;
        return static_cast<int>(sizeof out - outLeft);
    }

private:
    iconv_t m_cd;
};

int slowFirstDoubleByteCharacter(QStringView text)
{
    static const SlowCp932 converter;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (converter.bytesOf(text[i].unicode()) == 2)
            return static_cast<int>(i + 1);
    }
    return 0;
}

bool slowIsEnglishText(QStringView text)
{
    if (slowFirstDoubleByteCharacter(text) != 0)
        return false;
    for (const QChar ch : text) {
        const int low = ch.unicode() % 256;
        if (low < 32 || low > 126)
            return false;
    }
    return true;
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
        QString english = u"Track %1"_s.arg(track);
        QString japanese = u"曲%1"_s.arg(track);
        if (kind == 1 && track % 2 == 0) {
            english.clear();
            japanese.clear();
        } else if (kind == 2) {
            if (track == 3)
                english = u"12\" Mix"_s;
            else if (track == 5)
                english = u"C:\\"_s;
            japanese += track == 4 ? u"表ソ"_s : u"①髙\U0001F600"_s;
        } else if (kind == 3) {
            english = english.repeated(30);
            japanese = japanese.repeated(30);
        }
        store.trackTitles(English, track) = english;
        store.trackTitles(Japanese, track) = japanese;
    }
    return store;
}

// The lines of a sheet the reader can point at.
int lineCount(QByteArrayView sheet)
{
    return static_cast<int>(sheet.count('\n')) + 1;
}

} // namespace

std::optional<TitleStore> referenceParse(QByteArrayView bytes)
{
    QList<QByteArray> lines;
    QByteArray line;
    bool pending = false;
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        if (bytes[i] == '\r') {
            lines << line;
            line.clear();
            pending = false;
            if (i + 1 < bytes.size() && bytes[i + 1] == '\n')
                ++i;
        } else {
            line += bytes[i];
            pending = true;
        }
    }
    if (pending)
        lines << line;

    TitleStore disc;
    int language = Japanese;
    int sections = 0;
    int highest = 0;
    for (const QByteArray &raw : std::as_const(lines)) {
        const QString text = Cp932Decoder::instance().decode(raw);
        if (text == u"ja") {
            sections += 1;
            language = Japanese;
            continue;
        }
        if (text == u"en") {
            sections += 2;
            language = English;
            continue;
        }
        if (text.isEmpty())
            continue;
        int number = digitValue(text[0]);
        if (text.size() < 2 || text[1] != u'\t')
            number = 10 * digitValue(text[0]) + (text.size() >= 2 ? digitValue(text[1]) : 0);
        highest = std::max(highest, number);
        if (number == 0) {
            bool artist = false;
            for (qsizetype i = 2; i < text.size(); ++i) {
                if (text[i] == u'\t')
                    artist = true;
                else if (artist)
                    disc.artistNames[language] += text[i];
                else
                    disc.discNames[language] += text[i];
            }
        } else {
            disc.trackTitles(language, number) = text.mid(number <= 9 ? 2 : 3);
        }
    }
    if (sections == 0)
        return std::nullopt;
    disc.trackCount = static_cast<quint8>(highest);
    return disc;
}

QString checkTitleFileParse(QByteArrayView bytes)
{
    const std::optional<TitleStore> parsed = ParseTitleFile(bytes);
    const std::optional<TitleStore> expected = referenceParse(bytes);
    if (parsed.has_value() != expected.has_value())
        return parsed ? u"bytes without a tag line were read as a title file"_s
                      : u"bytes with a tag line were refused"_s;
    if (!parsed)
        return {};

    const QString decoded = Cp932Decoder::instance().decode(bytes);
    if (QString failure = storeInvariantFailure(*parsed, decoded); !failure.isEmpty())
        return failure;
    if (QString failure = positionDifference(*parsed); !failure.isEmpty())
        return failure;
    if (QString failure = discDifference(*parsed, *expected); !failure.isEmpty())
        return u"the reader differs from the line-by-line reading: "_s + failure;

    // What was read meets the read-back conditions once the characters that
    // stood for undecodable bytes, which the writer cannot write, are
    // replaced by the '?' it writes for them.
    TitleStore readable = *parsed;
    const auto replace = [](QString &text) { text.replace(Cp932Decoder::Replacement, u'?'); };
    for (int language = 0; language < LanguageCount; ++language) {
        replace(readable.discNames[language]);
        replace(readable.artistNames[language]);
        for (int track = 1; track <= MaxTracks; ++track)
            replace(readable.trackTitles(language, track));
    }
    const std::optional<TitleStore> again = ParseTitleFile(WriteTitleFile(readable, {true, true}));
    if (!again)
        return u"the disc read was written as bytes that are no title file"_s;
    if (QString failure = discDifference(*again, readable); !failure.isEmpty())
        return u"the disc read, written and read again, changed: "_s + failure;
    return {};
}

QString checkTitleFileRoundTrip(QByteArrayView bytes)
{
    ByteReader in(bytes);
    TitleStore store;
    const auto type = static_cast<SaveFileType>(in.byte() % 4 + 1);
    const TitleFileSections sections = sectionsForFileType(type);
    store.trackCount = static_cast<quint8>(in.byte() % (MaxTracks + 1));
    // The editor's position and the path must not matter to the writer.
    store.languageMode = static_cast<quint8>(in.byte() % 2);
    store.currentTrack = static_cast<quint8>(in.byte() % (MaxTracks + 1));
    store.currentFilePath = u"/somewhere/disc.txt"_s;
    for (int language = 0; language < LanguageCount; ++language) {
        store.discNames[language] = textFrom(in, false);
        store.artistNames[language] = textFrom(in, false);
    }
    for (int track = 1; track <= store.trackCount; ++track) {
        for (int language = 0; language < LanguageCount; ++language)
            store.trackTitles(language, track) = textFrom(in, true);
    }

    const QByteArray written = WriteTitleFile(store, sections);
    const QByteArray expectedBytes = referenceWrite(store, sections);
    if (written != expectedBytes)
        return u"file type %1: the writer's %2 bytes differ from the format's %3 bytes"_s
            .arg(int(type))
            .arg(written.size())
            .arg(expectedBytes.size());

    const std::optional<TitleStore> read = ParseTitleFile(written);
    if (!read)
        return u"file type %1: the written file was refused"_s.arg(int(type));
    TitleStore expected;
    expected.trackCount = store.trackCount;
    for (int language = 0; language < LanguageCount; ++language) {
        if (language == English ? !sections.english : !sections.japanese)
            continue;
        expected.discNames[language] = store.discNames[language];
        expected.artistNames[language] = store.artistNames[language];
        for (int track = 1; track <= store.trackCount; ++track)
            expected.trackTitles(language, track) = store.trackTitles(language, track);
    }
    if (QString failure = positionDifference(*read); !failure.isEmpty())
        return failure;
    if (QString failure = discDifference(*read, expected); !failure.isEmpty())
        return u"file type %1, read back: "_s.arg(int(type)) + failure;
    return {};
}

QString checkEnglishText(QByteArrayView bytes)
{
    QString text;
    for (qsizetype i = 0; i + 1 < bytes.size(); i += 2)
        text += QChar(static_cast<char16_t>(static_cast<unsigned char>(bytes[i]) |
                                            static_cast<unsigned char>(bytes[i + 1]) << 8));
    const int position = firstDoubleByteCharacter(text);
    const int expectedPosition = slowFirstDoubleByteCharacter(text);
    if (position != expectedPosition)
        return u"firstDoubleByteCharacter(%1) is %2, converting one character at a time gives %3"_s
            .arg(shown(text), QString::number(position), QString::number(expectedPosition));
    const bool allowed = isEnglishText(text);
    const bool expected = slowIsEnglishText(text);
    if (allowed != expected)
        return u"isEnglishText(%1) is %2, expected %3"_s.arg(shown(text), QString::number(allowed),
                                                             QString::number(expected));
    return {};
}

// Selector: bit 0 the language (Japanese when set), bits 1 and 2 the kind
// of texts, bits 3 to 6 the disc's track count.
QString checkCueRewrite(QByteArrayView bytes)
{
    const unsigned selector = bytes.isEmpty() ? 0 : static_cast<unsigned char>(bytes[0]);
    const QByteArrayView sheet = bytes.sliced(std::min<qsizetype>(1, bytes.size()));
    const int language = selector & 1 ? Japanese : English;
    const unsigned kind = selector >> 1 & 3;
    TitleStore store = sheetDisc(kind, static_cast<int>(selector >> 3 & 15));
    // The disc names of sheetDisc are all in the code page; a character
    // outside it never becomes a double quote or a backslash.
    const auto cueBytes = [&](const QString &text) {
        return language == English ? text.toLatin1() : Cp932Encoder::instance().encode(text);
    };

    CueRewrite first = RewriteCueSheet(sheet, store, language);
    if (first.fault == CueRewrite::TrackCount) {
        if (first.sheetTracks == store.trackCount)
            return u"a sheet of %1 tracks was refused for a disc of as many"_s.arg(
                first.sheetTracks);
        if (first.sheetTracks > MaxTracks)
            return {};
        store = sheetDisc(kind, first.sheetTracks);
        first = RewriteCueSheet(sheet, store, language);
        if (first.fault == CueRewrite::TrackCount)
            return u"a sheet of %1 tracks was refused for a disc of as many"_s.arg(
                first.sheetTracks);
    }
    if (!first.ok() && !first.sheet.isEmpty())
        return u"a refused sheet came with %1 bytes of output"_s.arg(first.sheet.size());
    if (first.fault == CueRewrite::Quote || first.fault == CueRewrite::BackslashAtEnd) {
        const QString &text = TextOf(store, first.text);
        const QByteArray encoded = cueBytes(text);
        const bool fits =
            first.text.language == language &&
            (first.fault == CueRewrite::Quote ? encoded.contains('"') : encoded.endsWith('\\'));
        if (!fits)
            return u"fault %1 for the text %2"_s.arg(int(first.fault)).arg(shown(text));
        return {};
    }
    if (!first.ok())
        return u"unknown fault %1"_s.arg(int(first.fault));

    // The keyword stays as the sheet wrote it; the text must be there.
    const QByteArray discName = '"' + cueBytes(store.discNames[language]) + '"';
    if (!store.discNames[language].isEmpty() && !first.sheet.contains(discName))
        return u"the rewritten sheet lacks the disc's title"_s;
    const CueRewrite second = RewriteCueSheet(first.sheet, store, language);
    if (!second.ok())
        return u"the rewritten sheet was refused (fault %1)"_s.arg(int(second.fault));
    if (second.sheet != first.sheet)
        return u"rewriting the rewritten sheet changed it: %1 bytes, then %2"_s
            .arg(first.sheet.size())
            .arg(second.sheet.size());
    return {};
}

// Selector: bits 0 and 1 the languages written (English only when 1,
// Japanese only when 2, else both), bits 2 and 3 the kind of texts, bits 4
// to 7 the disc's track count.
QString checkTocRewrite(QByteArrayView bytes)
{
    const unsigned selector = bytes.isEmpty() ? 0 : static_cast<unsigned char>(bytes[0]);
    const QByteArrayView toc = bytes.sliced(std::min<qsizetype>(1, bytes.size()));
    const cdtext::LanguageChoice choice{(selector & 3) != 2, (selector & 3) != 1};
    const unsigned kind = selector >> 2 & 3;
    TitleStore store = sheetDisc(kind, static_cast<int>(selector >> 4));
    std::vector<DiscBlock> blocks = DiscBlocks(store, choice);

    TocRewrite first = RewriteTocFile(toc, store, blocks);
    if (first.fault == TocRewrite::TrackCount) {
        if (first.sheetTracks == store.trackCount)
            return u"a file of %1 tracks was refused for a disc of as many"_s.arg(
                first.sheetTracks);
        if (first.sheetTracks > MaxTracks)
            return {};
        store = sheetDisc(kind, first.sheetTracks);
        blocks = DiscBlocks(store, choice);
        first = RewriteTocFile(toc, store, blocks);
        if (first.fault == TocRewrite::TrackCount)
            return u"a file of %1 tracks was refused for a disc of as many"_s.arg(
                first.sheetTracks);
    }
    if (!first.ok() && !first.toc.isEmpty())
        return u"a refused file came with %1 bytes of output"_s.arg(first.toc.size());
    if (first.fault == TocRewrite::NotUnderstood) {
        if (first.line < 1 || first.line > lineCount(toc) || first.what.isEmpty())
            return u"not understood at line %1 of %2: %3"_s.arg(first.line)
                .arg(lineCount(toc))
                .arg(shown(first.what));
        return {};
    }
    if (first.fault == TocRewrite::NoFreeLanguageNumber)
        return {};
    if (!first.ok())
        return u"unknown fault %1"_s.arg(int(first.fault));

    for (const DiscBlock &block : blocks) {
        for (const PackTexts &texts : block.pack.types) {
            if (texts.type == PackTypeTitle && !first.toc.contains(TocString(texts.entries[0])))
                return u"the rewritten file lacks the disc's title in language %1"_s.arg(
                    block.language);
        }
    }
    const TocRewrite second = RewriteTocFile(first.toc, store, blocks);
    if (!second.ok())
        return u"the rewritten file was refused (fault %1, line %2: %3)"_s.arg(int(second.fault))
            .arg(second.line)
            .arg(second.what);
    if (second.toc != first.toc)
        return u"rewriting the rewritten file changed it: %1 bytes, then %2"_s.arg(first.toc.size())
            .arg(second.toc.size());
    return {};
}

namespace {

// A store a title file holds exactly: no control character, every
// character one the code page writes and reads back, the count's invariant
// kept, and the file written for it reads back as the same disc.
QString importedStoreFailure(const TitleStore &store)
{
    const Cp932Encoder &encoder = Cp932Encoder::instance();
    const Cp932Decoder &decoder = Cp932Decoder::instance();
    if (store.trackCount > MaxTracks)
        return u"a track count of %1"_s.arg(store.trackCount);
    for (int language = 0; language < LanguageCount; ++language) {
        QStringList texts{store.discNames[language], store.artistNames[language]};
        for (int track = 1; track <= MaxTracks; ++track) {
            const QString &title = store.trackTitles(language, track);
            if (track > store.trackCount && !title.isEmpty())
                return u"a title above the count %1"_s.arg(store.trackCount);
            texts << title;
        }
        for (const QString &text : std::as_const(texts)) {
            const bool control = std::any_of(text.begin(), text.end(), [](QChar ch) {
                return ch.unicode() < 0x20 || (ch.unicode() >= 0x7F && ch.unicode() <= 0x9F);
            });
            if (control || decoder.decode(encoder.encode(text)) != text)
                return u"%1 text %2 is not one a title file holds"_s.arg(languageName(language),
                                                                         shown(text));
        }
    }
    const TitleFileSections sections{LanguageHasText(store, English),
                                     LanguageHasText(store, Japanese)};
    const std::optional<TitleStore> read = ParseTitleFile(WriteTitleFile(store, sections));
    if (!read || !read->sameDisc(store))
        return u"the title file written for the import reads back differently"_s;
    return {};
}

// An English text the writers accept: printable ASCII.
QString englishFrom(ByteReader &in)
{
    const unsigned length = in.byte() % 40;
    QString text;
    for (unsigned i = 0; i < length && !in.atEnd(); ++i)
        text += QChar(static_cast<char16_t>(0x20 + in.byte() % 95));
    return text;
}

// A Japanese text the writers accept: code page 932 characters that read
// back as themselves, no control character.
QString japaneseFrom(ByteReader &in)
{
    QString text = textFrom(in, false);
    text.removeIf([](QChar ch) { return ch.unicode() < 0x20 || ch.unicode() == 0x7F; });
    return text;
}

// Selector: bits 0 and 1 the pack file's layout (header, none, trailing
// NUL, both), bit 2 Tab repeats, bits 3 and 4 drop English or Japanese; then
// the track count and the texts. A title whose first byte is 0xFE repeats
// the track before's.
TitleStore importDisc(ByteReader &in, unsigned selector)
{
    TitleStore store;
    store.trackCount = static_cast<quint8>(in.byte() % (MaxTracks + 1));
    const bool english = !(selector & 8);
    const bool japanese = !(selector & 16);
    const auto text = [&](int language) {
        return language == English ? englishFrom(in) : japaneseFrom(in);
    };
    for (const int language : {English, Japanese}) {
        if (language == English ? !english : !japanese)
            continue;
        store.discNames[language] = text(language);
        store.artistNames[language] = text(language);
        for (int track = 1; track <= store.trackCount; ++track) {
            QString &title = store.trackTitles(language, track);
            if (track > 1 && !in.atEnd() && in.peek() == 0xFE) {
                in.byte();
                title = store.trackTitles(language, track - 1);
            } else {
                title = text(language);
            }
        }
    }
    return store;
}

TitleStore burnedForm(TitleStore store)
{
    const auto form = [](QString &text) {
        text = Cp932Decoder::instance().decode(JapaneseBlockBytes(text));
    };
    form(store.discNames[Japanese]);
    form(store.artistNames[Japanese]);
    for (int track = 1; track <= MaxTracks; ++track)
        form(store.trackTitles(Japanese, track));
    return store;
}

TitleStore languageOnly(const TitleStore &store, int language)
{
    TitleStore one;
    one.trackCount = store.trackCount;
    one.discNames[language] = store.discNames[language];
    one.artistNames[language] = store.artistNames[language];
    for (int track = 1; track <= MaxTracks; ++track)
        one.trackTitles(language, track) = store.trackTitles(language, track);
    return one;
}

QByteArray fileFor(const TitleStore &store)
{
    return WriteTitleFile(store,
                          {LanguageHasText(store, English), LanguageHasText(store, Japanese)});
}

QString compareImport(const char *what, QByteArrayView source, ImportKind kind,
                      const ImportChoice &choice, const TitleStore &expected)
{
    const ImportResult result = ImportTexts(source, kind, choice);
    if (!result.replacements.empty() || !result.notes.empty())
        return u"%1: %2 replacements and %3 notes"_s.arg(QLatin1StringView(what))
            .arg(result.replacements.size())
            .arg(result.notes.size());
    if (result.titleFile() != fileFor(expected))
        return u"%1: the import differs"_s.arg(QLatin1StringView(what)) +
               (result.store ? u": "_s + discDifference(*result.store, expected) : QString());
    return {};
}

// True when the sheet's texts in the language, as code page 932 writes
// them, would all read as UTF-8 with a character beyond ASCII.
bool cueReadsAsUtf8(const TitleStore &store, int language)
{
    const Cp932Encoder &encoder = Cp932Encoder::instance();
    QStringList texts{store.discNames[language], store.artistNames[language]};
    for (int track = 1; track <= store.trackCount; ++track)
        texts << store.trackTitles(language, track);
    bool beyond = false;
    for (const QString &text : std::as_const(texts)) {
        const QByteArray bytes = encoder.encode(text);
        const bool ascii =
            std::all_of(bytes.begin(), bytes.end(), [](char c) { return quint8(c) < 0x80; });
        if (!ascii && !DecodeUtf8BeyondAscii(bytes))
            return false;
        beyond = beyond || !ascii;
    }
    return beyond;
}

QString importsOfDisc(const TitleStore &file, unsigned selector)
{
    const TitleStore burned = burnedForm(file);
    const std::vector<DiscBlock> blocks = DiscBlocks(file, {});
    PackOptions options;
    options.tabRepeat = selector & 4;
    if (const std::optional<QByteArray> packs = BuildPacks(PackBlocksOf(blocks), options)) {
        const QByteArray layouts[] = {PackFileBytes(*packs), *packs, *packs + '\0',
                                      PackFileBytes(*packs) + '\0'};
        if (QString f =
                compareImport("packs", layouts[selector & 3], ImportKind::Packs, {}, burned);
            !f.isEmpty())
            return f;
    }
    if (const V07tSheets sheets = WriteV07tSheets(blocks); sheets.ok()) {
        if (QString f = compareImport("v07t", sheets.bytes, ImportKind::V07t, {}, burned);
            !f.isEmpty())
            return f;
    }
    QByteArray frame = "CD_DA\n";
    QByteArray cue = "FILE \"disc.wav\" WAVE\n";
    for (int track = 1; track <= file.trackCount; ++track) {
        frame += "TRACK AUDIO\nFILE \"audio.raw\" 0\n";
        cue += "  TRACK " + QByteArray::number(track) + " AUDIO\n    INDEX 01 00:00:00\n";
    }
    if (const TocRewrite toc = RewriteTocFile(frame, file, blocks); toc.ok()) {
        if (QString f = compareImport("toc", toc.toc, ImportKind::Toc, {}, burned); !f.isEmpty())
            return f;
    } else {
        return u"the TOC writer refused a plain frame (fault %1)"_s.arg(int(toc.fault));
    }
    for (const int language : {English, Japanese}) {
        const TitleStore one = languageOnly(file, language);
        const CueRewrite sheet = RewriteCueSheet(cue, one, language);
        if (!LanguageHasText(one, language) || !sheet.ok() || cueReadsAsUtf8(one, language))
            continue;
        if (QString f = compareImport("cue", sheet.sheet, ImportKind::Cue,
                                      {std::nullopt, language, false}, one);
            !f.isEmpty())
            return f;
    }
    return {};
}

} // namespace

QString checkImportRoundTrip(QByteArrayView bytes)
{
    for (const ImportKind kind :
         {ImportKind::Packs, ImportKind::V07t, ImportKind::Cue, ImportKind::Toc}) {
        for (const ImportChoice &choice :
             {ImportChoice{}, ImportChoice{1, Japanese, true}, ImportChoice{{}, English, true}}) {
            const ImportResult result = ImportTexts(bytes, kind, choice);
            if (result.store) {
                if (QString f = importedStoreFailure(*result.store); !f.isEmpty())
                    return u"bytes read as kind %1: "_s.arg(int(kind)) + f;
            }
        }
    }
    ByteReader in(bytes);
    const unsigned selector = in.byte();
    const std::optional<TitleStore> file = ParseTitleFile(fileFor(importDisc(in, selector)));
    if (!file || file->trackCount == 0)
        return {};
    return importsOfDisc(*file, selector);
}

} // namespace sonolabe::fuzz
