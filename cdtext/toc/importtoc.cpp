// SPDX-License-Identifier: GPL-3.0-or-later
// The TOC file reader of importsheets.h.
#include "cdtext/import/importsheets.h"

#include "cdtext/toc/tocreader.h"
#include "model/codepage932.h"

#include <algorithm>
#include <map>

namespace sonolabe::cdtext {

using namespace Qt::Literals::StringLiterals;

namespace {

struct Token
{
    TocToken::Kind kind = TocToken::Word;
    QByteArray text;             // a string's bytes with its escapes read
    bool rawBeyondAscii = false; // a string holds bytes beyond ASCII as they are
    int line = 1;
};

bool isOctal(char c)
{
    return c >= '0' && c <= '7';
}

// The bytes of a string between its quotes, escapes read as cdrdao reads
// them: \" a quote, \NNN an octal byte, anything else (\\ too) kept as it is.
Token stringToken(QByteArrayView inner, int line)
{
    Token token{TocToken::String, {}, false, line};
    for (qsizetype i = 0; i < inner.size(); ++i) {
        const char c = inner[i];
        if (c == '\\' && i + 1 < inner.size() && inner[i + 1] == '"') {
            token.text += '"';
            ++i;
        } else if (c == '\\' && i + 3 < inner.size() && isOctal(inner[i + 1]) &&
                   isOctal(inner[i + 2]) && isOctal(inner[i + 3])) {
            token.text += static_cast<char>((inner[i + 1] - '0') << 6 | (inner[i + 2] - '0') << 3 |
                                            (inner[i + 3] - '0'));
            i += 3;
        } else {
            token.rawBeyondAscii = token.rawBeyondAscii || static_cast<quint8>(c) >= 0x80;
            token.text += c;
        }
    }
    return token;
}

// The file's tokens, a string's escapes read. A string that does not end on
// its line is noted and ends the reading.
std::vector<Token> tokenize(QByteArrayView toc, SourceTexts &source)
{
    std::optional<TocSyntaxError> error;
    const std::vector<TocToken> found = TokenizeToc(toc, error);
    std::vector<Token> tokens;
    tokens.reserve(found.size());
    for (const TocToken &token : found) {
        if (token.kind == TocToken::String)
            tokens.push_back(
                stringToken(toc.sliced(token.begin + 1, token.end - token.begin - 2), token.line));
        else
            tokens.push_back({token.kind,
                              toc.sliced(token.begin, token.end - token.begin).toByteArray(), false,
                              token.line});
    }
    if (error)
        source.notes.push_back({SourceNote::NotUnderstood, error->line, 0, error->what});
    return tokens;
}

struct TocText
{
    QByteArray bytes;
    bool rawBeyondAscii = false;
};

// The texts under one language number, from the disc's and the tracks'
// CD_TEXT blocks.
struct LanguageTexts
{
    QByteArray encoding; // an ENCODING_... word, if any
    TocText discTitle;
    TocText discPerformer;
    std::array<TocText, MaxTracks> titles;
};

class TocReader
{
public:
    TocReader(const std::vector<Token> &tokens, SourceTexts &source)
        : m_tokens(tokens), m_source(source)
    {}

    void read();
    std::map<int, QByteArray> map; // language number -> its code as written
    std::map<int, LanguageTexts> languages;
    int tracks = 0;

private:
    bool at(size_t i, TocToken::Kind kind) const
    {
        return i < m_tokens.size() && m_tokens[i].kind == kind;
    }
    bool atWord(size_t i, const char *word) const
    {
        return at(i, TocToken::Word) && m_tokens[i].text == word;
    }
    bool fail(size_t i, QString what)
    {
        const int line =
            i < m_tokens.size() ? m_tokens[i].line : (m_tokens.empty() ? 1 : m_tokens.back().line);
        m_source.notes.push_back({SourceNote::NotUnderstood, line, 0, std::move(what)});
        return false;
    }
    size_t afterBraces(size_t open) const;
    bool cdText(size_t &i);
    bool languageMap(size_t &i);
    bool language(size_t &i);
    void item(LanguageTexts &texts, const QByteArray &keyword, const Token &value);

    const std::vector<Token> &m_tokens;
    SourceTexts &m_source;
};

// The index after the "}" that closes the "{" at open, counting depth
// rather than keeping a stack; the end when it is never closed.
size_t TocReader::afterBraces(size_t open) const
{
    size_t depth = 0;
    for (size_t i = open; i < m_tokens.size(); ++i) {
        if (m_tokens[i].kind == TocToken::Open)
            ++depth;
        else if (m_tokens[i].kind == TocToken::Close && --depth == 0)
            return i + 1;
    }
    return m_tokens.size();
}

void TocReader::read()
{
    size_t i = 0;
    while (i < m_tokens.size()) {
        if (atWord(i, "TRACK")) {
            ++tracks;
            ++i;
        } else if (atWord(i, "CD_TEXT") && at(i + 1, TocToken::Open)) {
            i += 2;
            if (!cdText(i))
                return;
        } else if (at(i, TocToken::Open)) {
            i = afterBraces(i);
        } else {
            ++i;
        }
    }
}

bool TocReader::cdText(size_t &i)
{
    while (!at(i, TocToken::Close)) {
        if (i >= m_tokens.size())
            return fail(i, u"a CD_TEXT block that never ends"_s);
        if (atWord(i, "LANGUAGE_MAP") && at(i + 1, TocToken::Open)) {
            if (!languageMap(i))
                return false;
        } else if (atWord(i, "LANGUAGE") && at(i + 1, TocToken::Word) &&
                   at(i + 2, TocToken::Open)) {
            if (!language(i))
                return false;
        } else {
            return fail(i, u"expected LANGUAGE_MAP, LANGUAGE or \"}\""_s);
        }
    }
    ++i;
    return true;
}

bool TocReader::languageMap(size_t &i)
{
    i += 2;
    while (!at(i, TocToken::Close)) {
        if (at(i, TocToken::Comma)) {
            ++i;
            continue;
        }
        bool number = false;
        const int key = at(i, TocToken::Word) ? m_tokens[i].text.toInt(&number) : 0;
        if (!number || !at(i + 1, TocToken::Colon) || !at(i + 2, TocToken::Word))
            return fail(i, u"expected \"number : language\" in LANGUAGE_MAP"_s);
        map[key] = m_tokens[i + 2].text;
        i += 3;
    }
    ++i;
    return true;
}

bool TocReader::language(size_t &i)
{
    bool number = false;
    const int key = m_tokens[i + 1].text.toInt(&number);
    if (!number)
        return fail(i + 1, u"a language number that is not a number"_s);
    LanguageTexts &texts = languages[key];
    i += 3;
    while (!at(i, TocToken::Close)) {
        if (!at(i, TocToken::Word))
            return fail(i, u"expected an item such as TITLE"_s);
        const QByteArray &keyword = m_tokens[i].text;
        if (keyword.startsWith("ENCODING_")) {
            texts.encoding = keyword;
            ++i;
        } else if (at(i + 1, TocToken::String)) {
            item(texts, keyword, m_tokens[i + 1]);
            i += 2;
        } else if (at(i + 1, TocToken::Open)) {
            i = afterBraces(i + 1);
        } else {
            return fail(i + 1, u"an item without a string or { data }"_s);
        }
    }
    ++i;
    return true;
}

void TocReader::item(LanguageTexts &texts, const QByteArray &keyword, const Token &value)
{
    const TocText text{value.text, value.rawBeyondAscii};
    const bool title = keyword == "TITLE";
    if (!title && keyword != "PERFORMER")
        return;
    if (tracks == 0) {
        (title ? texts.discTitle : texts.discPerformer) = text;
    } else if (text.bytes.isEmpty()) {
        return;
    } else if (!title) {
        NoteTrackPerformers(m_source, 0);
    } else if (tracks > MaxTracks) {
        m_source.notes.push_back({SourceNote::TrackBeyondLimit, tracks, 0, {}});
    } else {
        texts.titles[tracks - 1] = text;
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

SourceBlock blockOf(int number, const QByteArray &code, const LanguageTexts &texts)
{
    SourceBlock block;
    block.number = number;
    block.language = LanguageOfCode(TocLanguageCode(code).value_or(-1));
    block.languageName = QString::fromLatin1(code);
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
    const std::vector<Token> tokens = tokenize(toc, source);
    TocReader reader(tokens, source);
    reader.read();
    source.trackListCount = std::min(reader.tracks, int(MaxTracks));
    std::map<int, LanguageTexts> &languages = reader.languages;
    for (const auto &[number, code] : reader.map)
        languages[number]; // a mapped language without texts is still a block
    for (const auto &[number, texts] : languages) {
        const auto code = reader.map.find(number);
        SourceBlock block =
            blockOf(number, code == reader.map.end() ? QByteArray() : code->second, texts);
        block.lastTrack = std::max(block.lastTrack, source.trackListCount);
        source.blocks.push_back(std::move(block));
    }
    return source;
}

} // namespace sonolabe::cdtext
