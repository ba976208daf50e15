// SPDX-License-Identifier: GPL-3.0-or-later
#include "cdtext/tocfile.h"

#include <algorithm>
#include <optional>

namespace sonolabe::cdtext {

using namespace Qt::Literals::StringLiterals;

QByteArray TocString(QByteArrayView bytes)
{
    QByteArray out;
    out.reserve(bytes.size() + 2);
    out += '"';
    for (const char c : bytes) {
        const auto byte = static_cast<quint8>(c);
        if (byte == '"') {
            out += "\\\"";
        } else if (byte == '\\' || byte < 0x20 || byte >= 0x7F) {
            out += '\\';
            out += static_cast<char>('0' + (byte >> 6));
            out += static_cast<char>('0' + ((byte >> 3) & 7));
            out += static_cast<char>('0' + (byte & 7));
        } else {
            out += c;
        }
    }
    out += '"';
    return out;
}

namespace {

struct Token
{
    enum Kind { Word, String, Open, Close, Colon, Comma };
    Kind kind = Word;
    qsizetype begin = 0;
    qsizetype end = 0;
    int line = 1;
};

struct NotUnderstood
{
    int line = 0;
    QString what;
};

// Splits the file into tokens; comments (// to the end of the line) and
// blanks separate them and are not kept.
std::vector<Token> tokenize(QByteArrayView toc, std::optional<NotUnderstood> &error)
{
    std::vector<Token> tokens;
    int line = 1;
    qsizetype pos = 0;
    const auto special = [](char c) {
        return c == '{' || c == '}' || c == ':' || c == ',' || c == '"';
    };
    const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
    while (pos < toc.size()) {
        const char c = toc[pos];
        if (c == '\n') {
            ++line;
            ++pos;
        } else if (blank(c)) {
            ++pos;
        } else if (c == '/' && pos + 1 < toc.size() && toc[pos + 1] == '/') {
            while (pos < toc.size() && toc[pos] != '\n')
                ++pos;
        } else if (c == '"') {
            // A string ends on its own line.
            const int startLine = line;
            qsizetype end = pos + 1;
            while (end < toc.size() && toc[end] != '"' && toc[end] != '\n')
                end += toc[end] == '\\' && end + 1 < toc.size() && toc[end + 1] != '\n' ? 2 : 1;
            if (end >= toc.size() || toc[end] == '\n') {
                error = NotUnderstood{startLine, u"a string that never ends"_s};
                return tokens;
            }
            tokens.push_back({Token::String, pos, end + 1, startLine});
            pos = end + 1;
        } else if (special(c)) {
            const Token::Kind kind = c == '{'   ? Token::Open
                                     : c == '}' ? Token::Close
                                     : c == ':' ? Token::Colon
                                                : Token::Comma;
            tokens.push_back({kind, pos, pos + 1, line});
            ++pos;
        } else {
            qsizetype end = pos;
            while (end < toc.size() && !blank(toc[end]) && !special(toc[end]) &&
                   !(toc[end] == '/' && end + 1 < toc.size() && toc[end + 1] == '/'))
                ++end;
            tokens.push_back({Token::Word, pos, end, line});
            pos = end;
        }
    }
    return tokens;
}

struct Item
{
    QByteArray keyword;
    qsizetype begin = 0;
    qsizetype valueBegin = 0;
    qsizetype end = 0;
};

struct LanguageBlock
{
    int number = 0;
    qsizetype begin = 0;
    qsizetype openEnd = 0; // just after its "{"
    std::vector<Item> items;
};

struct MapEntry
{
    int number = 0;
    int code = -1; // -1 for a name this program does not know
};

struct CdTextBlock
{
    qsizetype begin = 0;
    qsizetype openEnd = 0;
    qsizetype closeBegin = 0;
    bool hasMap = false;
    qsizetype mapCloseBegin = 0;
    std::vector<MapEntry> map;
    std::vector<LanguageBlock> languages;
};

class Parser
{
public:
    Parser(QByteArrayView toc, const std::vector<Token> &tokens) : m_toc(toc), m_tokens(tokens) {}

    std::optional<NotUnderstood> error;

    QByteArray text(const Token &token) const
    {
        return m_toc.sliced(token.begin, token.end - token.begin).toByteArray();
    }

    bool at(size_t i, Token::Kind kind) const
    {
        return i < m_tokens.size() && m_tokens[i].kind == kind;
    }
    bool atWord(size_t i, const char *word) const
    {
        return at(i, Token::Word) && text(m_tokens[i]) == word;
    }

    // Index of the "}" that closes the "{" at open, or nothing. Counts
    // instead of keeping a stack, so that deep nesting costs no memory.
    std::optional<size_t> closing(size_t open)
    {
        Q_ASSERT(at(open, Token::Open));
        size_t depth = 0;
        for (size_t i = open; i < m_tokens.size(); ++i) {
            if (m_tokens[i].kind == Token::Open)
                ++depth;
            else if (m_tokens[i].kind == Token::Close && --depth == 0)
                return i;
        }
        // The innermost "{" left open is where the text went wrong: the last
        // one that no "}" after it closes.
        size_t unclosed = open;
        size_t closed = 0;
        for (size_t i = m_tokens.size(); i-- > open;) {
            if (m_tokens[i].kind == Token::Close) {
                ++closed;
            } else if (m_tokens[i].kind == Token::Open) {
                if (closed == 0) {
                    unclosed = i;
                    break;
                }
                --closed;
            }
        }
        fail(unclosed, u"a \"{\" that is never closed"_s);
        return std::nullopt;
    }

    void fail(size_t i, QString what)
    {
        if (error)
            return;
        const int line =
            i < m_tokens.size() ? m_tokens[i].line : (m_tokens.empty() ? 1 : m_tokens.back().line);
        error = NotUnderstood{line, std::move(what)};
    }

    static std::optional<int> number(const QByteArray &word)
    {
        bool ok = false;
        const int value = word.toInt(&ok);
        return ok ? std::optional<int>(value) : std::nullopt;
    }

    // A CD_TEXT block whose "{" is token open; i is left after its "}".
    std::optional<CdTextBlock> cdText(size_t cdTextToken, size_t open, size_t &i)
    {
        if (!closing(open))
            return std::nullopt;
        CdTextBlock block;
        block.begin = m_tokens[cdTextToken].begin;
        block.openEnd = m_tokens[open].end;
        i = open + 1;
        while (!error) {
            if (at(i, Token::Close)) {
                block.closeBegin = m_tokens[i].begin;
                ++i;
                return block;
            }
            if (atWord(i, "LANGUAGE_MAP") && at(i + 1, Token::Open)) {
                i += 2;
                block.hasMap = true;
                while (!at(i, Token::Close)) {
                    if (!at(i, Token::Word) || !at(i + 1, Token::Colon) ||
                        !at(i + 2, Token::Word)) {
                        fail(i, u"expected \"number : language\" in LANGUAGE_MAP"_s);
                        return std::nullopt;
                    }
                    const std::optional<int> key = number(text(m_tokens[i]));
                    if (!key) {
                        fail(i, u"a language number that is not a number"_s);
                        return std::nullopt;
                    }
                    // Two languages under one number would have their items
                    // written into one block.
                    if (std::any_of(block.map.begin(), block.map.end(),
                                    [&](const MapEntry &entry) { return entry.number == *key; })) {
                        fail(i, u"a language number mapped twice"_s);
                        return std::nullopt;
                    }
                    const QByteArray value = text(m_tokens[i + 2]);
                    block.map.push_back({*key, value == "EN" ? 9 : number(value).value_or(-1)});
                    i += 3;
                }
                block.mapCloseBegin = m_tokens[i].begin;
                ++i;
            } else if (atWord(i, "LANGUAGE") && at(i + 1, Token::Word) && at(i + 2, Token::Open)) {
                const std::optional<int> key = number(text(m_tokens[i + 1]));
                if (!key) {
                    fail(i + 1, u"a language number that is not a number"_s);
                    return std::nullopt;
                }
                LanguageBlock language{*key, m_tokens[i].begin, m_tokens[i + 2].end, {}};
                i += 3;
                while (!at(i, Token::Close)) {
                    if (!at(i, Token::Word)) {
                        fail(i, u"expected an item such as TITLE"_s);
                        return std::nullopt;
                    }
                    Item item{text(m_tokens[i]), m_tokens[i].begin, 0, 0};
                    ++i;
                    item.valueBegin = i < m_tokens.size() ? m_tokens[i].begin : 0;
                    if (at(i, Token::String)) {
                        item.end = m_tokens[i].end;
                        ++i;
                    } else if (at(i, Token::Open)) {
                        const std::optional<size_t> close = closing(i);
                        if (!close)
                            return std::nullopt;
                        item.end = m_tokens[*close].end;
                        i = *close + 1;
                    } else {
                        fail(i, u"an item without a string or { data }"_s);
                        return std::nullopt;
                    }
                    language.items.push_back(std::move(item));
                }
                ++i;
                block.languages.push_back(std::move(language));
            } else {
                fail(i, u"expected LANGUAGE_MAP, LANGUAGE or \"}\""_s);
                return std::nullopt;
            }
        }
        return std::nullopt;
    }

private:
    QByteArrayView m_toc;
    const std::vector<Token> &m_tokens;
};

// Words that start the part of a track after its CD_TEXT block.
bool startsTrackBody(const QByteArray &word)
{
    static const char *const words[] = {"PREGAP", "FILE",    "AUDIOFILE", "DATAFILE",
                                        "FIFO",   "SILENCE", "ZERO",      "START",
                                        "END",    "INDEX",   "TRACK"};
    return std::any_of(std::begin(words), std::end(words),
                       [&](const char *w) { return word == w; });
}

struct Edit
{
    qsizetype begin = 0;
    qsizetype end = 0; // begin for an insertion
    QByteArray text;
};

class Editor
{
public:
    Editor(QByteArrayView toc) : m_toc(toc)
    {
        const qsizetype lf = toc.indexOf('\n');
        m_lineEnd = lf > 0 && toc[lf - 1] == '\r' ? "\r\n" : "\n";
        // Where each line starts and where its first non-blank is, found
        // once: a file of many items on one line must not take time that
        // grows with the square of its size.
        for (qsizetype pos = 0;;) {
            m_lineStarts.push_back(pos);
            qsizetype text = pos;
            while (text < toc.size() && (toc[text] == ' ' || toc[text] == '\t'))
                ++text;
            m_lineTexts.push_back(text);
            const qsizetype next = toc.indexOf('\n', pos);
            if (next < 0)
                break;
            pos = next + 1;
        }
    }

    const QByteArray &lineEnd() const { return m_lineEnd; }

    qsizetype lineStart(qsizetype pos) const { return m_lineStarts[lineOf(pos)]; }
    // The blanks a line starts with.
    QByteArray indentAt(qsizetype pos) const
    {
        const size_t line = lineOf(pos);
        return m_toc.sliced(m_lineStarts[line], m_lineTexts[line] - m_lineStarts[line])
            .toByteArray();
    }
    bool firstOnLine(qsizetype pos) const { return m_lineTexts[lineOf(pos)] >= pos; }

    void replace(qsizetype begin, qsizetype end, QByteArray text)
    {
        m_edits.push_back({begin, end, std::move(text)});
    }
    void insert(qsizetype at, QByteArray text) { m_edits.push_back({at, at, std::move(text)}); }

    // Removes [begin, end), with its whole line when nothing else is on it.
    void remove(qsizetype begin, qsizetype end)
    {
        qsizetype after = end;
        while (after < m_toc.size() && (m_toc[after] == ' ' || m_toc[after] == '\t'))
            ++after;
        const bool lineEndsAfter =
            after == m_toc.size() || m_toc[after] == '\r' || m_toc[after] == '\n';
        if (firstOnLine(begin) && lineEndsAfter) {
            if (after < m_toc.size() && m_toc[after] == '\r')
                ++after;
            if (after < m_toc.size() && m_toc[after] == '\n')
                ++after;
            m_edits.push_back({lineStart(begin), after, {}});
        } else {
            m_edits.push_back({begin, after, {}});
        }
    }

    // Lines put in front of the token at pos: at the start of its line when
    // it is the first thing there, else just before it.
    void insertLinesBefore(qsizetype pos, const QByteArray &lines)
    {
        if (pos >= m_toc.size())
            insert(pos,
                   (m_toc.isEmpty() || m_toc.endsWith('\n') ? QByteArray() : m_lineEnd) + lines);
        else if (firstOnLine(pos))
            insert(lineStart(pos), lines);
        else
            insert(pos, m_lineEnd + lines + indentAt(pos));
    }

    QByteArray result() const
    {
        std::vector<Edit> edits = m_edits;
        // Insertions at one place keep the order they were made in.
        std::stable_sort(edits.begin(), edits.end(),
                         [](const Edit &a, const Edit &b) { return a.begin < b.begin; });
        QByteArray out;
        out.reserve(m_toc.size() + 1024);
        qsizetype pos = 0;
        for (const Edit &edit : edits) {
            const qsizetype begin = std::max(edit.begin, pos);
            out.append(m_toc.sliced(pos, begin - pos));
            out += edit.text;
            pos = std::max(pos, edit.end);
        }
        out.append(m_toc.sliced(pos));
        return out;
    }

private:
    // The line that holds pos (0 to the size of the file).
    size_t lineOf(qsizetype pos) const
    {
        const auto after = std::upper_bound(m_lineStarts.begin(), m_lineStarts.end(), pos);
        return static_cast<size_t>(after - m_lineStarts.begin()) - 1;
    }

    QByteArrayView m_toc;
    QByteArray m_lineEnd;
    std::vector<qsizetype> m_lineStarts;
    std::vector<qsizetype> m_lineTexts; // the first non-blank of each line, or its end
    std::vector<Edit> m_edits;
};

QByteArray languageCodeWord(int language)
{
    return language == English ? QByteArray("EN") : QByteArray::number(LanguageCodeJapanese);
}

int languageCode(int language)
{
    return language == English ? LanguageCodeEnglish : LanguageCodeJapanese;
}

const PackTexts *typeOf(const PackBlock &block, quint8 type)
{
    for (const PackTexts &texts : block.types) {
        if (texts.type == type)
            return &texts;
    }
    return nullptr;
}

// The text of context c (0 the disc, n the n-th track); one the block does
// not hold counts as empty.
QByteArrayView entryOf(const PackTexts &texts, size_t c)
{
    return c < texts.entries.size() ? QByteArrayView(texts.entries[c]) : QByteArrayView();
}

} // namespace

TocRewrite RewriteTocFile(QByteArrayView toc, const TitleStore &store,
                          const std::vector<DiscBlock> &blocks)
{
    TocRewrite result;
    std::optional<NotUnderstood> error;
    const std::vector<Token> tokens = tokenize(toc, error);
    Parser parser(toc, tokens);
    parser.error = error;

    // Context 0 is the disc, context n the n-th TRACK: its CD_TEXT block if
    // it has one, and where one would go.
    struct Context
    {
        std::optional<CdTextBlock> cdText;
        qsizetype insertAt = -1;
    };
    std::vector<Context> contexts(1);
    qsizetype discEnd = -1; // end of the last token of the disc's part
    size_t i = 0;
    while (!parser.error && i < tokens.size()) {
        if (parser.atWord(i, "TRACK")) {
            if (contexts.size() == 1) {
                // The disc's block goes on the line after the disc's last
                // statement (the disc type), so that a comment in front of
                // the first track stays with it.
                const qsizetype lineEnd = discEnd < 0 ? -1 : toc.indexOf('\n', discEnd);
                contexts[0].insertAt =
                    lineEnd >= 0 && lineEnd < tokens[i].begin ? lineEnd + 1 : tokens[i].begin;
            } else if (contexts.back().insertAt < 0) {
                contexts.back().insertAt = tokens[i].begin;
            }
            contexts.push_back({});
            ++i;
        } else if (parser.atWord(i, "CD_TEXT") && parser.at(i + 1, Token::Open)) {
            const size_t start = i;
            std::optional<CdTextBlock> block = parser.cdText(start, start + 1, i);
            if (block && !contexts.back().cdText)
                contexts.back().cdText = std::move(block);
        } else {
            if (contexts.size() > 1 && contexts.back().insertAt < 0 &&
                tokens[i].kind == Token::Word && startsTrackBody(parser.text(tokens[i])))
                contexts.back().insertAt = tokens[i].begin;
            if (tokens[i].kind == Token::Open) {
                const std::optional<size_t> close = parser.closing(i);
                i = close ? *close + 1 : tokens.size();
            } else {
                ++i;
            }
        }
        if (contexts.size() == 1 && i > 0 && i <= tokens.size())
            discEnd = tokens[i - 1].end;
    }
    if (contexts.back().insertAt < 0)
        contexts.back().insertAt = toc.size();
    if (parser.error) {
        result.fault = TocRewrite::NotUnderstood;
        result.line = parser.error->line;
        result.what = parser.error->what;
        return result;
    }
    result.sheetTracks = static_cast<int>(contexts.size()) - 1;
    // A title file names at most MaxTracks tracks, so a longer file never
    // matches one.
    if (result.sheetTracks != store.trackCount || result.sheetTracks > MaxTracks) {
        result.fault = TocRewrite::TrackCount;
        return result;
    }

    // Language numbers: the one the sheet already maps to the language's
    // code, else the lowest free one.
    std::vector<MapEntry> map;
    if (contexts[0].cdText)
        map = contexts[0].cdText->map;
    std::vector<MapEntry> added;
    std::vector<int> numbers;
    for (const DiscBlock &block : blocks) {
        const auto found = std::find_if(map.begin(), map.end(), [&](const MapEntry &entry) {
            return entry.code == languageCode(block.language);
        });
        if (found != map.end()) {
            numbers.push_back(found->number);
            continue;
        }
        int free = 0;
        while (free < MaxBlocks && std::any_of(map.begin(), map.end(),
                                               [&](const MapEntry &e) { return e.number == free; }))
            ++free;
        if (free == MaxBlocks) {
            result.fault = TocRewrite::NoFreeLanguageNumber;
            return result;
        }
        map.push_back({free, languageCode(block.language)});
        added.push_back(map.back());
        numbers.push_back(free);
    }

    // The language numbers under which a track keeps a performer of its
    // own, which makes cdrdao want one on the disc and on every other track
    // too. Found once: the tracks' items are looked at for every block.
    std::vector<int> trackPerformerNumbers;
    for (size_t c = 1; c < contexts.size(); ++c) {
        if (!contexts[c].cdText)
            continue;
        for (const LanguageBlock &language : contexts[c].cdText->languages) {
            if (std::any_of(language.items.begin(), language.items.end(),
                            [](const Item &item) { return item.keyword == "PERFORMER"; }))
                trackPerformerNumbers.push_back(language.number);
        }
    }
    std::sort(trackPerformerNumbers.begin(), trackPerformerNumbers.end());
    const auto trackHasPerformer = [&](int number) {
        return std::binary_search(trackPerformerNumbers.begin(), trackPerformerNumbers.end(),
                                  number);
    };

    // The items a context should end up with for block b: no value means
    // "none"; a track performer that is there already is kept as it is.
    struct Wanted
    {
        std::optional<QByteArray> title;
        std::optional<QByteArray> performer;
        bool keepPerformer = false;
    };
    const auto wanted = [&](size_t b, size_t c) {
        const PackTexts *titles = typeOf(blocks[b].pack, PackTypeTitle);
        const PackTexts *performers = typeOf(blocks[b].pack, PackTypePerformer);
        Wanted items;
        if (titles)
            items.title = TocString(entryOf(*titles, c));
        const bool anyPerformer = performers || trackHasPerformer(numbers[b]);
        if (c == 0 && performers) {
            items.performer = TocString(entryOf(*performers, 0));
        } else if (anyPerformer) {
            items.performer = TocString({});
            items.keepPerformer = c != 0;
        }
        return items;
    };

    Editor editor(toc);
    const QByteArray &nl = editor.lineEnd();
    for (size_t c = 0; c < contexts.size(); ++c) {
        Context &context = contexts[c];
        if (!context.cdText) {
            // A new CD_TEXT block with every language written here.
            const QByteArray outer = editor.indentAt(context.insertAt);
            QByteArray text;
            if (c == 0) {
                text += outer + "  LANGUAGE_MAP {" + nl;
                for (size_t b = 0; b < blocks.size(); ++b)
                    text += outer + "    " + QByteArray::number(numbers[b]) + " : " +
                            languageCodeWord(blocks[b].language) + nl;
                text += outer + "  }" + nl;
            }
            bool anyItem = false;
            for (size_t b = 0; b < blocks.size(); ++b) {
                const Wanted items = wanted(b, c);
                if (!items.title && !items.performer)
                    continue;
                anyItem = true;
                text += outer + "  LANGUAGE " + QByteArray::number(numbers[b]) + " {" + nl;
                if (items.title)
                    text += outer + "    TITLE " + *items.title + nl;
                if (items.performer)
                    text += outer + "    PERFORMER " + *items.performer + nl;
                text += outer + "  }" + nl;
            }
            if (anyItem)
                editor.insertLinesBefore(context.insertAt,
                                         outer + "CD_TEXT {" + nl + text + outer + "}" + nl);
            continue;
        }

        const CdTextBlock &cdText = *context.cdText;
        for (size_t b = 0; b < blocks.size(); ++b) {
            const Wanted items = wanted(b, c);
            const auto language =
                std::find_if(cdText.languages.begin(), cdText.languages.end(),
                             [&](const LanguageBlock &l) { return l.number == numbers[b]; });
            if (language == cdText.languages.end()) {
                if (!items.title && !items.performer)
                    continue;
                const QByteArray outer = editor.indentAt(cdText.begin);
                QByteArray text =
                    outer + "  LANGUAGE " + QByteArray::number(numbers[b]) + " {" + nl;
                if (items.title)
                    text += outer + "    TITLE " + *items.title + nl;
                if (items.performer)
                    text += outer + "    PERFORMER " + *items.performer + nl;
                text += outer + "  }" + nl;
                editor.insertLinesBefore(cdText.closeBegin, text);
                continue;
            }
            const QByteArray indent = editor.indentAt(language->begin) + "  ";
            // The first such item gets the value, any others go; without
            // one, an item is added at the top of the block.
            const auto set = [&](const char *keyword, const std::optional<QByteArray> &value,
                                 bool keepExisting) {
                bool first = true;
                for (const Item &item : language->items) {
                    if (item.keyword != keyword)
                        continue;
                    if (first && value) {
                        if (!keepExisting)
                            editor.replace(item.valueBegin, item.end, *value);
                    } else {
                        editor.remove(item.begin, item.end);
                    }
                    first = false;
                }
                if (first && value)
                    editor.insert(language->openEnd, nl + indent + keyword + ' ' + *value);
            };
            set("TITLE", items.title, false);
            set("PERFORMER", items.performer, items.keepPerformer);
        }
    }

    // Map entries for languages new to a sheet that has a disc CD_TEXT block.
    if (contexts[0].cdText && !added.empty()) {
        const CdTextBlock &disc = *contexts[0].cdText;
        const QByteArray outer = editor.indentAt(disc.begin);
        QByteArray entries;
        for (const MapEntry &entry : added)
            entries += outer + "    " + QByteArray::number(entry.number) + " : " +
                       (entry.code == LanguageCodeEnglish ? QByteArray("EN")
                                                          : QByteArray::number(entry.code)) +
                       nl;
        if (disc.hasMap)
            editor.insertLinesBefore(disc.mapCloseBegin, entries);
        else
            editor.insert(disc.openEnd,
                          nl + outer + "  LANGUAGE_MAP {" + nl + entries + outer + "  }");
    }

    result.toc = editor.result();
    return result;
}

} // namespace sonolabe::cdtext
