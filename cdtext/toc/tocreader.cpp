// SPDX-License-Identifier: GPL-3.0-or-later
#include "cdtext/toc/tocreader.h"

#include "cdtext/disc/sheetwords.h"

#include <algorithm>
#include <iterator>

namespace sonolabe::cdtext {

namespace {

// One token: the bytes from begin to end, on the line it starts on. A
// string's token holds its quotes, its escapes as they are written.
struct Token
{
    enum Kind : quint8 { Word, String, Open, Close, Colon, Comma };
    Kind kind = Word;
    int line = 1;
    qsizetype begin = 0;
    qsizetype end = 0;
};

bool isSpecial(char c)
{
    return c == '{' || c == '}' || c == ':' || c == ',' || c == '"';
}

bool startsComment(QByteArrayView toc, qsizetype pos)
{
    return toc[pos] == '/' && pos + 1 < toc.size() && toc[pos + 1] == '/';
}

Token::Kind kindOfSpecial(char c)
{
    return c == '{'   ? Token::Open
           : c == '}' ? Token::Close
           : c == ':' ? Token::Colon
                      : Token::Comma;
}

// The byte of the octal escape (a backslash and three octal digits) at pos.
std::optional<quint8> octalEscape(QByteArrayView toc, qsizetype pos)
{
    const auto octal = [&](qsizetype at) { return toc[at] >= '0' && toc[at] <= '7'; };
    if (pos + 3 >= toc.size() || !octal(pos + 1) || !octal(pos + 2) || !octal(pos + 3))
        return std::nullopt;
    return static_cast<quint8>((toc[pos + 1] - '0') << 6 | (toc[pos + 2] - '0') << 3 |
                               (toc[pos + 3] - '0'));
}

bool isCp932LeadByte(quint8 byte)
{
    return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
}

// Only blanks from pos to the end of the line.
bool endsLine(QByteArrayView toc, qsizetype pos)
{
    while (pos < toc.size() && (isBlank(toc[pos]) || toc[pos] == '\r'))
        ++pos;
    return pos == toc.size() || toc[pos] == '\n';
}

// The end of the string that starts at pos (just after its closing quote),
// or nothing when it does not end on its line.
//
// cdrdao up to 1.2.4 writes a byte beyond ASCII as an octal escape and the
// byte after it as it is, so that a code page 932 character whose second
// byte is a backslash (ソ, 表, 能: 0x83 0x5C ...) at the end of a text is
// written "\203\": the backslash then seems to escape the closing quote. A
// \" right after an octal lead byte that ends the line is read so: the
// character's second byte, then the end of the string.
std::optional<qsizetype> stringEnd(QByteArrayView toc, qsizetype pos)
{
    qsizetype end = pos + 1;
    bool afterLeadByte = false;
    while (end < toc.size() && toc[end] != '"' && toc[end] != '\n') {
        if (toc[end] != '\\' || end + 1 >= toc.size() || toc[end + 1] == '\n') {
            afterLeadByte = false;
            ++end;
            continue;
        }
        if (afterLeadByte && toc[end + 1] == '"' && endsLine(toc, end + 2))
            return end + 2;
        const std::optional<quint8> octal = octalEscape(toc, end);
        afterLeadByte = octal && isCp932LeadByte(*octal);
        end += octal ? 4 : 2;
    }
    if (end >= toc.size() || toc[end] == '\n')
        return std::nullopt;
    return end + 1;
}

// Splits the file into tokens; comments and blanks separate them and are not
// kept. A string that does not end on its line, too many tokens or too deep
// a nesting set error and end the splitting, with the tokens before.
std::vector<Token> tokenize(QByteArrayView toc, std::optional<TocSyntaxError> &error)
{
    std::vector<Token> tokens;
    tokens.reserve(static_cast<size_t>(std::min(toc.size(), MaxTocTokens)));
    int line = 1;
    int depth = 0;
    qsizetype pos = 0;
    const auto add = [&](Token::Kind kind, qsizetype end) {
        if (qsizetype(tokens.size()) == MaxTocTokens)
            error = TocSyntaxError{TocSyntaxError::TooManyTokens, line};
        else if (kind == Token::Open && ++depth > MaxTocDepth)
            error = TocSyntaxError{TocSyntaxError::NestedTooDeep, line};
        else
            tokens.push_back({kind, line, pos, end});
        if (kind == Token::Close && depth > 0)
            --depth;
        pos = end;
    };
    while (!error && pos < toc.size()) {
        const char c = toc[pos];
        if (c == '\n') {
            ++line;
            ++pos;
        } else if (isBlank(c) || c == '\r') {
            ++pos;
        } else if (startsComment(toc, pos)) {
            while (pos < toc.size() && toc[pos] != '\n')
                ++pos;
        } else if (c == '"') {
            if (const std::optional<qsizetype> end = stringEnd(toc, pos))
                add(Token::String, *end);
            else
                error = TocSyntaxError{TocSyntaxError::StringNeverEnds, line};
        } else if (isSpecial(c)) {
            add(kindOfSpecial(c), pos + 1);
        } else {
            qsizetype end = pos;
            while (end < toc.size() && !isBlank(toc[end]) && toc[end] != '\r' && toc[end] != '\n' &&
                   !isSpecial(toc[end]) && !startsComment(toc, end))
                ++end;
            add(Token::Word, end);
        }
    }
    return tokens;
}

// Words that start the part of a track after its CD_TEXT block.
bool startsTrackBody(QByteArrayView word)
{
    static const char *const words[] = {"PREGAP", "FILE",    "AUDIOFILE", "DATAFILE",
                                        "FIFO",   "SILENCE", "ZERO",      "START",
                                        "END",    "INDEX",   "TRACK"};
    return std::any_of(std::begin(words), std::end(words),
                       [&](const char *w) { return word == w; });
}

// A number as cdrdao reads one (digits only) when it is at most max.
std::optional<int> number(QByteArrayView word, int max)
{
    const bool digits =
        !word.isEmpty() && word.size() <= 3 &&
        std::all_of(word.begin(), word.end(), [](char c) { return c >= '0' && c <= '9'; });
    const int value = digits ? word.toInt() : max + 1;
    return value <= max ? std::optional<int>(value) : std::nullopt;
}

// The character codes cdrdao 1.2.5 and later take as a LANGUAGE block's first word.
bool isEncoding(QByteArrayView word)
{
    static const char *const words[] = {"ENCODING_ISO_8859_1", "ENCODING_ASCII", "ENCODING_MS_JIS",
                                        "ENCODING_KOREAN", "ENCODING_MANDARIN"};
    return std::any_of(std::begin(words), std::end(words),
                       [&](const char *w) { return word == w; });
}

// Reads the tokens into contexts. Every step moves the index i forward, and
// a failure stops the reading at the first error found.
class Reader
{
public:
    Reader(QByteArrayView toc, const std::vector<Token> &tokens) : m_toc(toc), m_tokens(tokens) {}

    TocLayout read();

private:
    QByteArrayView text(const Token &token) const
    {
        return m_toc.sliced(token.begin, token.end - token.begin);
    }
    bool at(size_t i, Token::Kind kind) const
    {
        return i < m_tokens.size() && m_tokens[i].kind == kind;
    }
    bool atWord(size_t i, const char *word) const
    {
        return at(i, Token::Word) && text(m_tokens[i]) == word;
    }

    std::optional<size_t> closing(size_t open);
    size_t innermostUnclosed(size_t open) const;
    void fail(size_t i, TocSyntaxError::Kind kind);

    void startTrack(size_t i);
    void skipStatement(size_t &i);
    std::optional<TocCdTextBlock> cdText(size_t &i);
    bool languageMap(TocCdTextBlock &block, size_t &i);
    std::optional<TocLanguageBlock> languageBlock(size_t &i);
    std::optional<TocItem> item(size_t &i);

    QByteArrayView m_toc;
    const std::vector<Token> &m_tokens;
    std::optional<TocSyntaxError> m_error;
    std::vector<TocContext> m_contexts{1};
    qsizetype m_discEnd = -1; // end of the last token of the disc's part
};

TocLayout Reader::read()
{
    size_t i = 0;
    while (!m_error && i < m_tokens.size()) {
        if (atWord(i, "TRACK")) {
            startTrack(i);
            ++i;
        } else if (atWord(i, "CD_TEXT") && at(i + 1, Token::Open)) {
            std::optional<TocCdTextBlock> block = cdText(i);
            if (block && !m_contexts.back().cdText)
                m_contexts.back().cdText = std::move(block);
        } else {
            skipStatement(i);
        }
        if (m_contexts.size() == 1 && i > 0 && i <= m_tokens.size())
            m_discEnd = m_tokens[i - 1].end;
    }
    if (m_contexts.back().insertAt < 0)
        m_contexts.back().insertAt = m_toc.size();
    return {std::move(m_contexts), m_error};
}

// Index of the "}" that closes the "{" at open, or nothing. Counts instead
// of keeping a stack, so that deep nesting costs no memory.
std::optional<size_t> Reader::closing(size_t open)
{
    Q_ASSERT(at(open, Token::Open));
    size_t depth = 0;
    for (size_t i = open; i < m_tokens.size(); ++i) {
        if (m_tokens[i].kind == Token::Open)
            ++depth;
        else if (m_tokens[i].kind == Token::Close && --depth == 0)
            return i;
    }
    fail(innermostUnclosed(open), TocSyntaxError::BraceNeverClosed);
    return std::nullopt;
}

// The innermost "{" from open on left open is where the text went wrong:
// the last one that no "}" after it closes.
size_t Reader::innermostUnclosed(size_t open) const
{
    size_t closed = 0;
    for (size_t i = m_tokens.size(); i-- > open;) {
        if (m_tokens[i].kind == Token::Close) {
            ++closed;
        } else if (m_tokens[i].kind == Token::Open) {
            if (closed == 0)
                return i;
            --closed;
        }
    }
    return open;
}

// Keeps the first error: the place where the reading went wrong.
void Reader::fail(size_t i, TocSyntaxError::Kind kind)
{
    if (m_error)
        return;
    const int line =
        i < m_tokens.size() ? m_tokens[i].line : (m_tokens.empty() ? 1 : m_tokens.back().line);
    m_error = TocSyntaxError{kind, line};
}

// The TRACK at i ends the part before it, which gets its place for a
// CD_TEXT block if it has none yet.
void Reader::startTrack(size_t i)
{
    if (m_contexts.size() == 1) {
        // The disc's block goes on the line after the disc's last statement
        // (the disc type), so that a comment in front of the first track
        // stays with it.
        const qsizetype lineEnd = m_discEnd < 0 ? -1 : m_toc.indexOf('\n', m_discEnd);
        m_contexts[0].insertAt =
            lineEnd >= 0 && lineEnd < m_tokens[i].begin ? lineEnd + 1 : m_tokens[i].begin;
    } else if (m_contexts.back().insertAt < 0) {
        m_contexts.back().insertAt = m_tokens[i].begin;
    }
    m_contexts.push_back({});
}

// Passes over a token that is no TRACK and starts no CD_TEXT block; a block
// is passed over whole.
void Reader::skipStatement(size_t &i)
{
    if (m_contexts.size() > 1 && m_contexts.back().insertAt < 0 &&
        m_tokens[i].kind == Token::Word && startsTrackBody(text(m_tokens[i])))
        m_contexts.back().insertAt = m_tokens[i].begin;
    if (m_tokens[i].kind == Token::Open) {
        const std::optional<size_t> close = closing(i);
        i = close ? *close + 1 : m_tokens.size();
    } else {
        ++i;
    }
}

// A CD_TEXT block: i is at the word CD_TEXT, followed by "{", and is left
// after the block's "}".
std::optional<TocCdTextBlock> Reader::cdText(size_t &i)
{
    const size_t open = i + 1;
    if (!closing(open))
        return std::nullopt;
    TocCdTextBlock block;
    block.begin = m_tokens[i].begin;
    block.openEnd = m_tokens[open].end;
    i = open + 1;
    while (!m_error) {
        if (at(i, Token::Close)) {
            block.closeBegin = m_tokens[i].begin;
            ++i;
            return block;
        }
        if (atWord(i, "LANGUAGE_MAP") && at(i + 1, Token::Open)) {
            if (!languageMap(block, i))
                return std::nullopt;
        } else if (atWord(i, "LANGUAGE") && at(i + 1, Token::Word) && at(i + 2, Token::Open)) {
            std::optional<TocLanguageBlock> language = languageBlock(i);
            if (!language)
                return std::nullopt;
            block.languages.push_back(std::move(*language));
        } else {
            fail(i, TocSyntaxError::BlockExpected);
        }
    }
    return std::nullopt;
}

// A LANGUAGE_MAP block of the CD_TEXT block: i is at the word LANGUAGE_MAP
// and is left after the map's "}". It holds one entry or more; a number
// mapped again takes the later code, as in cdrdao.
bool Reader::languageMap(TocCdTextBlock &block, size_t &i)
{
    i += 2;
    block.hasMap = true;
    do {
        if (!at(i, Token::Word) || !at(i + 1, Token::Colon) || !at(i + 2, Token::Word)) {
            fail(i, TocSyntaxError::MapEntryExpected);
            return false;
        }
        const std::optional<int> key = number(text(m_tokens[i]), 7);
        const QByteArrayView value = text(m_tokens[i + 2]);
        const std::optional<int> code = value == "EN" ? LanguageCodeEnglish : number(value, 255);
        if (!key || !code) {
            fail(key ? i + 2 : i,
                 key ? TocSyntaxError::BadLanguageCode : TocSyntaxError::BadLanguageNumber);
            return false;
        }
        const auto same =
            std::find_if(block.map.begin(), block.map.end(),
                         [&](const TocMapEntry &entry) { return entry.number == *key; });
        if (same == block.map.end())
            block.map.push_back({*key, *code});
        else
            same->code = *code;
        i += 3;
    } while (!at(i, Token::Close));
    block.mapCloseBegin = m_tokens[i].begin;
    ++i;
    return true;
}

// A LANGUAGE block: i is at the word LANGUAGE, followed by its number and
// "{", and is left after the block's "}". Its first word may be its
// character code.
std::optional<TocLanguageBlock> Reader::languageBlock(size_t &i)
{
    const std::optional<int> key = number(text(m_tokens[i + 1]), 7);
    if (!key) {
        fail(i + 1, TocSyntaxError::BadLanguageNumber);
        return std::nullopt;
    }
    TocLanguageBlock language{*key, m_tokens[i].begin, m_tokens[i + 2].end, {}};
    i += 3;
    if (at(i, Token::Word) && isEncoding(text(m_tokens[i]))) {
        const qsizetype end = m_tokens[i].end;
        language.items.push_back({m_tokens[i].begin, end, end, end});
        ++i;
    }
    while (!at(i, Token::Close)) {
        std::optional<TocItem> next = item(i);
        if (!next)
            return std::nullopt;
        language.items.push_back(*next);
    }
    ++i;
    return language;
}

// One item of a LANGUAGE block, with its string or { data }; i is left after
// it.
std::optional<TocItem> Reader::item(size_t &i)
{
    if (!at(i, Token::Word)) {
        fail(i, TocSyntaxError::ItemExpected);
        return std::nullopt;
    }
    TocItem found{m_tokens[i].begin, m_tokens[i].end, 0, 0};
    ++i;
    if (at(i, Token::String)) {
        found.valueBegin = m_tokens[i].begin;
        found.end = m_tokens[i].end;
        ++i;
    } else if (at(i, Token::Open)) {
        const std::optional<size_t> close = closing(i);
        if (!close)
            return std::nullopt;
        found.valueBegin = m_tokens[i].begin;
        found.end = m_tokens[*close].end;
        i = *close + 1;
    } else {
        fail(i, TocSyntaxError::ValueExpected);
        return std::nullopt;
    }
    return found;
}

} // namespace

TocLayout ReadTocLayout(QByteArrayView toc)
{
    std::optional<TocSyntaxError> split;
    const std::vector<Token> tokens = tokenize(toc, split);
    TocLayout layout = Reader(toc, tokens).read();
    // Splitting stopped at split; the reading found an earlier fault unless
    // it only missed the end of a block the splitting cut off.
    if (split && (!layout.error || layout.error->kind == TocSyntaxError::BraceNeverClosed))
        layout.error = split;
    return layout;
}

} // namespace sonolabe::cdtext
