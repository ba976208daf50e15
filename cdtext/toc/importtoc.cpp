// SPDX-License-Identifier: GPL-3.0-or-later
// The TOC file reader of importsheets.h.
#include "cdtext/disc/sheetwords.h"
#include "cdtext/import/importsheets.h"

#include "cdtext/toc/tocreader.h"
#include "model/codepage932.h"

#include <algorithm>
#include <map>

namespace sonolabe::cdtext {

namespace {

bool isOctal(char c)
{
    return c >= '0' && c <= '7';
}

struct TocText
{
    QByteArray bytes;
    bool rawBeyondAscii = false; // holds bytes beyond ASCII as they are
};

// The bytes of a string (its quotes included), escapes read as cdrdao reads
// them: \" a quote, \NNN an octal byte, anything else (\\ too) kept as it is.
TocText stringText(QByteArrayView quoted)
{
    const QByteArrayView inner = quoted.sliced(1, quoted.size() - 2);
    TocText text;
    for (qsizetype i = 0; i < inner.size(); ++i) {
        const char c = inner[i];
        if (c == '\\' && i + 1 < inner.size() && inner[i + 1] == '"') {
            text.bytes += '"';
            ++i;
        } else if (c == '\\' && i + 3 < inner.size() && isOctal(inner[i + 1]) &&
                   isOctal(inner[i + 2]) && isOctal(inner[i + 3])) {
            text.bytes += static_cast<char>((inner[i + 1] - '0') << 6 | (inner[i + 2] - '0') << 3 |
                                            (inner[i + 3] - '0'));
            i += 3;
        } else {
            text.rawBeyondAscii = text.rawBeyondAscii || static_cast<quint8>(c) >= 0x80;
            text.bytes += c;
        }
    }
    return text;
}

// The texts under one language number, from the disc's and the tracks'
// CD_TEXT blocks.
struct LanguageTexts
{
    QByteArray encoding; // an ENCODING_... word, if any
    TocText discTitle;
    TocText discPerformer;
    std::array<TocText, MaxTracks> titles;
};

// What an item holds that a title file leaves out (a track's PERFORMER
// among them), nothing for the items it reads and the ones it does not know.
std::optional<LeftOutField> leftOutField(QByteArrayView keyword)
{
    static constexpr std::pair<const char *, LeftOutField> items[] = {
        {"PERFORMER", LeftOutField::Performer},
        {"SONGWRITER", LeftOutField::Songwriter},
        {"COMPOSER", LeftOutField::Composer},
        {"ARRANGER", LeftOutField::Arranger},
        {"MESSAGE", LeftOutField::Message},
        {"DISC_ID", LeftOutField::DiscId},
        {"GENRE", LeftOutField::Genre},
        {"UPC_EAN", LeftOutField::UpcEan},
        {"ISRC", LeftOutField::Isrc}};
    for (const auto &[name, field] : items) {
        if (keyword == name)
            return field;
    }
    return std::nullopt;
}

// A TITLE of the disc (track 0) or of a track and the disc's PERFORMER are
// read; other items with a text (or, as the genre, binary data) are noted
// as left out, for the language number.
void readItem(LanguageTexts &texts, QByteArrayView keyword, const TocText &text, bool data,
              int track, int language, SourceTexts &source)
{
    const bool title = keyword == "TITLE";
    const bool read = title || (track == 0 && keyword == "PERFORMER");
    if (data || !read) {
        const std::optional<LeftOutField> field = leftOutField(keyword);
        if (field && !read && (data || !text.bytes.isEmpty()))
            NoteTextLeftOut(source, language, *field, track);
    } else if (track == 0) {
        (title ? texts.discTitle : texts.discPerformer) = text;
    } else if (text.bytes.isEmpty()) {
        return;
    } else if (track > MaxTracks) {
        source.notes.push_back({SourceNote::TrackBeyondLimit, track, 0, {}});
    } else {
        texts.titles[track - 1] = text;
    }
}

QString decode(const TocText &text, bool codePage932)
{
    if (text.rawBeyondAscii) {
        if (std::optional<QString> utf8 = DecodeUtf8BeyondAscii(text.bytes))
            return *utf8;
    }
    return codePage932 ? Cp932Decoder::instance().decode(text.bytes)
                       : QString::fromLatin1(text.bytes);
}

// The block of a language number, its language from the code the map gives
// it (English 9, Japanese 105), if any.
SourceBlock blockOf(int number, std::optional<int> code, const LanguageTexts &texts)
{
    SourceBlock block;
    block.number = number;
    block.language = code ? LanguageOfCode(*code) : std::nullopt;
    block.languageName = code ? QString::number(*code) : QString();
    const bool codePage932 = texts.encoding == "ENCODING_MS_JIS" ||
                             (texts.encoding.isEmpty() && block.language == Japanese);
    block.discTitle = decode(texts.discTitle, codePage932);
    block.discPerformer = decode(texts.discPerformer, codePage932);
    for (int t = 1; t <= MaxTracks; ++t) {
        block.titles[t - 1] = decode(texts.titles[t - 1], codePage932);
        if (!block.titles[t - 1].isEmpty())
            block.lastTrack = t;
    }
    return block;
}

} // namespace

SourceTexts ReadTocFile(QByteArrayView toc)
{
    SourceTexts source;
    const TocLayout layout = ReadTocLayout(toc);
    std::map<int, LanguageTexts> languages;
    std::map<int, int> codes; // the disc's map: language number -> code
    for (size_t track = 0; track < layout.contexts.size(); ++track) {
        const std::optional<TocCdTextBlock> &cdText = layout.contexts[track].cdText;
        if (!cdText)
            continue;
        for (size_t e = 0; track == 0 && e < cdText->map.size(); ++e) {
            languages[cdText->map[e].number]; // a mapped language without texts is still a block
            codes[cdText->map[e].number] = cdText->map[e].code;
        }
        for (const TocLanguageBlock &language : cdText->languages) {
            LanguageTexts &texts = languages[language.number];
            for (const TocItem &item : language.items) {
                if (item.isEncoding())
                    texts.encoding = item.keyword(toc).toByteArray();
                else if (const QByteArrayView string = item.string(toc); !string.isEmpty())
                    readItem(texts, item.keyword(toc), stringText(string), false, int(track),
                             language.number, source);
                else
                    readItem(texts, item.keyword(toc), {}, true, int(track), language.number,
                             source);
            }
        }
    }
    if (layout.error)
        source.notes.push_back(
            {SourceNote::NotUnderstood, layout.error->line, int(layout.error->kind), {}});
    source.trackListCount = std::min(int(layout.contexts.size()) - 1, int(MaxTracks));
    for (const auto &[number, texts] : languages) {
        const auto code = codes.find(number);
        SourceBlock block = blockOf(
            number, code == codes.end() ? std::nullopt : std::optional(code->second), texts);
        block.lastTrack = std::max(block.lastTrack, source.trackListCount);
        source.blocks.push_back(std::move(block));
    }
    return source;
}

} // namespace sonolabe::cdtext
