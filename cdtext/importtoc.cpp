// SPDX-License-Identifier: GPL-3.0-or-later
// The TOC file reader of importsheets.h.
#include "cdtext/importsheets.h"

#include "model/codepage932.h"

#include <algorithm>
#include <map>

namespace sonolabe::cdtext {

using namespace Qt::Literals::StringLiterals;

namespace {

struct Token
{
    enum Kind { Word, String, Open, Close, Colon, Comma };
    Kind kind = Word;
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
    Token token{Token::String, {}, false, line};
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

// Splits the file into tokens; comments (// to the end of the line) and
// blanks separate them. A string that does not end on its line is noted and
// ends the reading.
std::vector<Token> tokenize(QByteArrayView toc, SourceTexts &source)
{
    std::vector<Token> tokens;
    int line = 1;
    const auto special = [](char c) {
        return c == '{' || c == '}' || c == ':' || c == ',' || c == '"';
    };
    const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
    const auto comment = [&](qsizetype at) {
        return toc[at] == '/' && at + 1 < toc.size() && toc[at + 1] == '/';
    };
    qsizetype pos = 0;
    while (pos < toc.size()) {
        const char c = toc[pos];
        if (blank(c)) {
            line += c == '\n';
            ++pos;
        } else if (comment(pos)) {
            while (pos < toc.size() && toc[pos] != '\n')
                ++pos;
        } else if (c == '"') {
            qsizetype end = pos + 1;
            while (end < toc.size() && toc[end] != '"' && toc[end] != '\n')
                end += toc[end] == '\\' && end + 1 < toc.size() && toc[end + 1] != '\n' ? 2 : 1;
            if (end >= toc.size() || toc[end] != '"') {
                source.notes.push_back(
                    {SourceNote::NotUnderstood, line, 0, u"a string that never ends"_s});
                return tokens;
            }
            tokens.push_back(stringToken(toc.sliced(pos + 1, end - pos - 1), line));
            pos = end + 1;
        } else if (special(c)) {
            const Token::Kind kind = c == '{'   ? Token::Open
                                     : c == '}' ? Token::Close
                                     : c == ':' ? Token::Colon
                                                : Token::Comma;
            tokens.push_back({kind, QByteArray(1, c), false, line});
            ++pos;
        } else {
            qsizetype end = pos;
            while (end < toc.size() && !blank(toc[end]) && !special(toc[end]) && !comment(end))
                ++end;
            tokens.push_back({Token::Word, toc.sliced(pos, end - pos).toByteArray(), false, line});
            pos = end;
        }
    }
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
    bool at(size_t i, Token::Kind kind) const
    {
        return i < m_tokens.size() && m_tokens[i].kind == kind;
    }
    bool atWord(size_t i, const char *word) const
    {
        return at(i, Token::Word) && m_tokens[i].text == word;
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
        if (m_tokens[i].kind == Token::Open)
            ++depth;
        else if (m_tokens[i].kind == Token::Close && --depth == 0)
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
        } else if (atWord(i, "CD_TEXT") && at(i + 1, Token::Open)) {
            i += 2;
            if (!cdText(i))
                return;
        } else if (at(i, Token::Open)) {
            i = afterBraces(i);
        } else {
            ++i;
        }
    }
}

bool TocReader::cdText(size_t &i)
{
    while (!at(i, Token::Close)) {
        if (i >= m_tokens.size())
            return fail(i, u"a CD_TEXT block that never ends"_s);
        if (atWord(i, "LANGUAGE_MAP") && at(i + 1, Token::Open)) {
            if (!languageMap(i))
                return false;
        } else if (atWord(i, "LANGUAGE") && at(i + 1, Token::Word) && at(i + 2, Token::Open)) {
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
    while (!at(i, Token::Close)) {
        if (at(i, Token::Comma)) {
            ++i;
            continue;
        }
        bool number = false;
        const int key = at(i, Token::Word) ? m_tokens[i].text.toInt(&number) : 0;
        if (!number || !at(i + 1, Token::Colon) || !at(i + 2, Token::Word))
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
    while (!at(i, Token::Close)) {
        if (!at(i, Token::Word))
            return fail(i, u"expected an item such as TITLE"_s);
        const QByteArray &keyword = m_tokens[i].text;
        if (keyword.startsWith("ENCODING_")) {
            texts.encoding = keyword;
            ++i;
        } else if (at(i + 1, Token::String)) {
            item(texts, keyword, m_tokens[i + 1]);
            i += 2;
        } else if (at(i + 1, Token::Open)) {
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
        const SourceNote note{SourceNote::TrackPerformers, 0, 0, {}};
        if (std::find(m_source.notes.begin(), m_source.notes.end(), note) == m_source.notes.end())
            m_source.notes.push_back(note);
    } else if (tracks > MaxTracks) {
        m_source.notes.push_back({SourceNote::TrackBeyondLimit, tracks, 0, {}});
    } else {
        texts.titles[tracks - 1] = text;
    }
}

std::optional<int> languageOf(const QByteArray &code)
{
    bool number = false;
    const int value = code.toInt(&number);
    if (code == "EN" || (number && value == LanguageCodeEnglish))
        return English;
    if (number && value == LanguageCodeJapanese)
        return Japanese;
    return std::nullopt;
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
    block.language = languageOf(code);
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
