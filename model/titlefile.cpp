// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/titlefile.h"

#include "model/codepage932.h"
#include "model/safefile.h"

#include <QStringDecoder>

#include <algorithm>
#include <cstring>
#include <vector>

namespace sonolabe {

using namespace Qt::Literals::StringLiterals;

TitleFileSections sectionsForFileType(SaveFileType type)
{
    // English unless "Japanese only" was chosen, Japanese unless "English only".
    return {type != SaveFileType::JapaneseOnly, type != SaveFileType::EnglishOnly};
}

bool isHeldByTitleFile(char16_t unit)
{
    static const std::vector<bool> held = [] {
        const Cp932Encoder &encoder = Cp932Encoder::instance();
        std::vector<bool> table(0x10000);
        for (unsigned u = 0; u < 0x10000; ++u) {
            const QChar ch(static_cast<char16_t>(u));
            table[u] = encoder.canEncode(ch.unicode()) &&
                       Cp932Decoder::instance().decode(encoder.encode(QStringView(&ch, 1))) == ch;
        }
        return table;
    }();
    return held[unit];
}

int firstDoubleByteCharacter(QStringView text)
{
    const Cp932Encoder &encoder = Cp932Encoder::instance();
    const auto first = std::find_if(text.begin(), text.end(),
                                    [&](QChar ch) { return encoder.isDoubleByte(ch.unicode()); });
    return first == text.end() ? 0 : static_cast<int>(first - text.begin() + 1);
}

bool isEnglishUnit(char16_t unit)
{
    const unsigned low = unit & 0xFF;
    return low >= 32 && low <= 126 && !Cp932Encoder::instance().isDoubleByte(unit);
}

bool isEnglishText(QStringView text)
{
    return std::all_of(text.begin(), text.end(),
                       [](QChar ch) { return isEnglishUnit(ch.unicode()); });
}

QString withTxtExtension(const QString &path)
{
    if (path.right(4).toLower() == u".txt")
        return path;
    return path + u".txt"_s;
}

namespace {

// Writes one section at dest, which has room for it (see sectionCapacity),
// and returns the end of what was written.
char *writeSection(char *dest, const TitleStore &store, int language, const Cp932Encoder &encoder)
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
    qsizetype size =
        16 + 2 * (store.discNames[language].size() + store.artistNames[language].size());
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
    explicit Parser(bool utf8) : m_utf8(utf8) {}

    void line(QByteArrayView raw)
    {
        // Decoding cannot produce "ja", "en" or an empty line from other bytes,
        // so the tags are recognised on the bytes.
        if (raw == "ja" || raw == "en") {
            m_language = raw == "ja" ? Japanese : English;
            m_anyTag = true;
            return;
        }
        if (raw.isEmpty())
            return;

        QString text = decodeTitleFileLine(raw, m_utf8);
        const int first = digitValue(text[0]);
        int number = first;
        if (text.size() < 2 || text[1] != TitleFieldSeparator)
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
        const qsizetype tab = rest.indexOf(TitleFieldSeparator);
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
        for (QStringView piece : rest.mid(tab + 1).tokenize(TitleFieldSeparator))
            artist += piece;
    }

    // The title starts at the third character for tracks 1 to 9, at the fourth
    // for 10 to 99, whatever those characters are.
    void trackLine(int number, QString text)
    {
        // remove() empties a text no longer than start.
        text.remove(0, number <= 9 ? 2 : 3);
        m_disc.trackTitles(m_language, number) = std::move(text);
    }

    const bool m_utf8;
    TitleStore m_disc;
    int m_language = Japanese; // lines before the first tag are Japanese
    bool m_anyTag = false;
    int m_highest = 0;
};

} // namespace

QByteArray writeTitleFile(const TitleStore &store, TitleFileSections sections)
{
    const Cp932Encoder &encoder = Cp932Encoder::instance();
    QByteArray out((sections.english ? sectionCapacity(store, English) : 0) +
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

bool isUtf8TitleFile(QByteArrayView bytes)
{
    if (bytes.startsWith("\xEF\xBB\xBF"))
        return true;
    const bool beyondAscii = std::any_of(bytes.begin(), bytes.end(),
                                         [](char c) { return static_cast<quint8>(c) >= 0x80; });
    return beyondAscii && bytes.isValidUtf8();
}

QString decodeTitleFileLine(QByteArrayView line, bool utf8)
{
    if (!utf8) {
        QString text;
        Cp932Decoder::instance().appendDecoded(line, text);
        return text;
    }
    // An invalid byte gives U+FFFD; ConvertInitialBom keeps a mark at the
    // line's start, which QString::fromUtf8 would drop.
    QStringDecoder decoder(QStringConverter::Utf8, QStringConverter::Flag::Stateless |
                                                       QStringConverter::Flag::ConvertInitialBom);
    return decoder(line);
}

bool hasOnlyLfLineEnds(QByteArrayView bytes)
{
    return bytes.contains('\n') && !bytes.contains('\r');
}

std::optional<TitleStore> parseTitleFile(QByteArrayView bytes)
{
    const bool utf8 = isUtf8TitleFile(bytes);
    if (bytes.startsWith("\xEF\xBB\xBF"))
        bytes = bytes.sliced(3); // the mark is no part of the first line
    Parser parser(utf8);
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

LoadResult readTitleFile(const QString &path, qint64 maxBytes)
{
    const FileReadResult file = readRegularFile(path, maxBytes);
    if (!file.ok)
        return LoadResult::failed(LoadFailure::Unreadable, file.reason);
    std::optional<TitleStore> disc = parseTitleFile(file.bytes);
    if (!disc)
        return LoadResult::failed(LoadFailure::NotATitleFile);
    return LoadResult::loaded(std::move(*disc));
}

} // namespace sonolabe
