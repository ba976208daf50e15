// SPDX-License-Identifier: GPL-3.0-or-later
#include "fuzz/fuzzchecks.h"

#include "app/commandline.h"
#include "model/codepage932.h"
#include "model/englishtext.h"
#include "model/titlefile.h"

#include <QList>
#include <QStringList>

#include <iconv.h>
#include <vector>

namespace sonolabe::fuzz {

using namespace Qt::Literals::StringLiterals;

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
    if (got.TrackCount != expected.TrackCount)
        return u"TrackCount %1, expected %2"_s.arg(got.TrackCount).arg(expected.TrackCount);
    for (int language = 0; language < LanguageCount; ++language) {
        const QString name = languageName(language);
        if (got.DiscNames[language] != expected.DiscNames[language])
            return u"%1 disc name %2, expected %3"_s.arg(name, shown(got.DiscNames[language]),
                                                         shown(expected.DiscNames[language]));
        if (got.ArtistNames[language] != expected.ArtistNames[language])
            return u"%1 artist name %2, expected %3"_s.arg(name, shown(got.ArtistNames[language]),
                                                           shown(expected.ArtistNames[language]));
        for (int track = 1; track <= MaxTracks; ++track) {
            if (got.TrackTitles(language, track) != expected.TrackTitles(language, track))
                return u"%1 title of track %2 %3, expected %4"_s.arg(
                    name, QString::number(track), shown(got.TrackTitles(language, track)),
                    shown(expected.TrackTitles(language, track)));
        }
    }
    return {};
}

// The editor's position and the path are not the reader's business.
QString positionDifference(const TitleStore &got)
{
    const TitleStore fresh;
    if (got.CurrentTrack != fresh.CurrentTrack || got.LanguageMode != fresh.LanguageMode ||
        got.CurrentFilePath != fresh.CurrentFilePath)
        return u"the reader set the editor's position or the current path"_s;
    return {};
}

QString storeInvariantFailure(const TitleStore &disc, QStringView decodedInput)
{
    if (disc.TrackCount > MaxTracks)
        return u"TrackCount %1 is above %2"_s.arg(disc.TrackCount).arg(MaxTracks);
    qsizetype total = 0;
    for (int language = 0; language < LanguageCount; ++language) {
        const QString name = languageName(language);
        for (int track = 1; track <= MaxTracks; ++track) {
            const QString &title = disc.TrackTitles(language, track);
            if (track > disc.TrackCount && !title.isEmpty())
                return u"%1 title of track %2 is %3 above the count %4"_s.arg(
                    name, QString::number(track), shown(title), QString::number(disc.TrackCount));
            if (title.contains(u'\r'))
                return u"%1 title of track %2 holds a CR"_s.arg(name).arg(track);
            if (!decodedInput.contains(title))
                return u"%1 title of track %2 %3 is not in the input"_s.arg(
                    name, QString::number(track), shown(title));
            total += title.size();
        }
        for (const QString *text : {&disc.DiscNames[language], &disc.ArtistNames[language]}) {
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
        out += "0\t" + encoder.encode(store.DiscNames[language]) + '\t' +
               encoder.encode(store.ArtistNames[language]) + "\r\n";
        for (int track = 1; track <= store.TrackCount; ++track)
            out += QByteArray::number(track) + '\t' +
                   encoder.encode(store.TrackTitles(language, track)) + "\r\n";
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

qint32 slowDoubleByteChk(QStringView text)
{
    static const SlowCp932 converter;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (converter.bytesOf(text[i].unicode()) == 2)
            return static_cast<qint32>(i + 1);
    }
    return 0;
}

qint16 slowEnglishTextChk(QStringView text)
{
    if (text.isEmpty())
        return 0;
    if (slowDoubleByteChk(text) != 0)
        return 1;
    for (const QChar ch : text) {
        const int low = ch.unicode() % 256;
        if (low < 32 || low > 126)
            return 1;
    }
    return 0;
}

QString shownList(const QStringList &list)
{
    QStringList items;
    for (const QString &item : list)
        items << shown(item);
    return u'[' % items.join(u", "_s) % u']';
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
                    disc.ArtistNames[language] += text[i];
                else
                    disc.DiscNames[language] += text[i];
            }
        } else {
            disc.TrackTitles(language, number) = text.mid(number <= 9 ? 2 : 3);
        }
    }
    if (sections == 0)
        return std::nullopt;
    disc.TrackCount = static_cast<quint8>(highest);
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
        replace(readable.DiscNames[language]);
        replace(readable.ArtistNames[language]);
        for (int track = 1; track <= MaxTracks; ++track)
            replace(readable.TrackTitles(language, track));
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
    store.TrackCount = static_cast<quint8>(in.byte() % (MaxTracks + 1));
    // The editor's position and the path must not matter to the writer.
    store.LanguageMode = static_cast<quint8>(in.byte() % 2);
    store.CurrentTrack = static_cast<quint8>(in.byte() % (MaxTracks + 1));
    store.CurrentFilePath = u"/somewhere/disc.txt"_s;
    for (int language = 0; language < LanguageCount; ++language) {
        store.DiscNames[language] = textFrom(in, false);
        store.ArtistNames[language] = textFrom(in, false);
    }
    for (int track = 1; track <= store.TrackCount; ++track) {
        for (int language = 0; language < LanguageCount; ++language)
            store.TrackTitles(language, track) = textFrom(in, true);
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
    expected.TrackCount = store.TrackCount;
    for (int language = 0; language < LanguageCount; ++language) {
        if (language == English ? !sections.english : !sections.japanese)
            continue;
        expected.DiscNames[language] = store.DiscNames[language];
        expected.ArtistNames[language] = store.ArtistNames[language];
        for (int track = 1; track <= store.TrackCount; ++track)
            expected.TrackTitles(language, track) = store.TrackTitles(language, track);
    }
    if (QString failure = positionDifference(*read); !failure.isEmpty())
        return failure;
    if (QString failure = discDifference(*read, expected); !failure.isEmpty())
        return u"file type %1, read back: "_s.arg(int(type)) + failure;
    return {};
}

QString checkCommandLine(QByteArrayView bytes)
{
    const QString flag = QStringView(SuccessorFlag).toString();

    // Any argument text, in a first instance and in a successor.
    const QString anyText = QString::fromUtf8(bytes);
    for (const bool spawned : {false, true}) {
        ArgumentText arguments{anyText, spawned};
        for (;;) {
            const StartupPaths paths = SplitArgumentText(arguments);
            if (paths.path && !arguments.text.contains(*paths.path))
                return u"path %1 is not part of the argument text %2"_s.arg(shown(*paths.path),
                                                                            shown(arguments.text));
            if (!paths.successorText)
                break;
            if (paths.successorText->size() >= arguments.text.size())
                return u"the successor of %1 gets %2, no shorter: the chain need not end"_s.arg(
                    shown(arguments.text), shown(*paths.successorText));
            arguments = ArgumentTextFromArguments({flag, *paths.successorText});
            if (!arguments.blnSpawned)
                return u"a successor is not marked as started by another instance"_s;
        }
    }

    // The bytes as an argument vector: NUL never occurs inside an argument.
    QStringList vector;
    if (!bytes.isEmpty()) {
        for (const QByteArray &piece : bytes.toByteArray().split('\0'))
            vector << QString::fromUtf8(piece);
    }
    // A double quote cannot be told from the quotes around a path with spaces,
    // and a first argument equal to the successor flag marks a successor.
    for (const QString &argument : std::as_const(vector)) {
        if (argument.contains(u'"'))
            return {};
    }
    if (!vector.isEmpty() && vector.first() == flag)
        return {};

    QStringList opened;
    ArgumentText arguments = ArgumentTextFromArguments(vector);
    for (qsizetype instance = 0; instance <= vector.size(); ++instance) {
        const StartupPaths paths = SplitArgumentText(arguments);
        if (paths.path)
            opened << *paths.path;
        if (!paths.successorText)
            break;
        arguments = ArgumentTextFromArguments({flag, *paths.successorText});
    }
    if (opened != vector)
        return u"the arguments %1 (argument text %2) open %3"_s.arg(
            shownList(vector), shown(JoinArguments(vector)), shownList(opened));
    return {};
}

QString checkEnglishText(QByteArrayView bytes)
{
    QString text;
    for (qsizetype i = 0; i + 1 < bytes.size(); i += 2)
        text += QChar(static_cast<char16_t>(static_cast<unsigned char>(bytes[i]) |
                                            static_cast<unsigned char>(bytes[i + 1]) << 8));
    const qint32 position = DoubleByteChk(text);
    const qint32 expectedPosition = slowDoubleByteChk(text);
    if (position != expectedPosition)
        return u"DoubleByteChk(%1) is %2, converting one character at a time gives %3"_s.arg(
            shown(text), QString::number(position), QString::number(expectedPosition));
    const qint16 verdict = EnglishTextChk(text);
    const qint16 expectedVerdict = slowEnglishTextChk(text);
    if (verdict != expectedVerdict)
        return u"EnglishTextChk(%1) is %2, expected %3"_s.arg(shown(text), QString::number(verdict),
                                                              QString::number(expectedVerdict));
    return {};
}

} // namespace sonolabe::fuzz
