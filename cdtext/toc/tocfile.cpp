// SPDX-License-Identifier: GPL-3.0-or-later
#include "cdtext/toc/tocfile.h"

#include <algorithm>
#include <optional>

namespace sonolabe::cdtext {

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

// Changes to the file, collected first and applied in one pass, so that
// every position stays the one the reader found.
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

// The text of context c (0 the disc, n the n-th track); one the block does
// not hold counts as empty.
QByteArrayView entryOf(const PackTexts &texts, size_t c)
{
    return c < texts.entries.size() ? QByteArrayView(texts.entries[c]) : QByteArrayView();
}

struct LanguageNumbers
{
    std::vector<int> ofBlock;       // the number of every block
    std::vector<TocMapEntry> added; // map entries the file does not have yet
};

// The lowest language number the map does not use, or MaxBlocks when it uses
// them all.
int lowestFreeNumber(const std::vector<TocMapEntry> &map)
{
    int free = 0;
    while (free < MaxBlocks && std::any_of(map.begin(), map.end(),
                                           [&](const TocMapEntry &e) { return e.number == free; }))
        ++free;
    return free;
}

// Language numbers: the one the sheet already maps to the language's code,
// else the lowest free one. Nothing when no number is free.
std::optional<LanguageNumbers> languageNumbers(const TocContext &disc,
                                               const std::vector<DiscBlock> &blocks)
{
    std::vector<TocMapEntry> map;
    if (disc.cdText)
        map = disc.cdText->map;
    LanguageNumbers numbers;
    for (const DiscBlock &block : blocks) {
        const int code = LanguageCodeOf(block.language);
        const auto found = std::find_if(
            map.begin(), map.end(), [&](const TocMapEntry &entry) { return entry.code == code; });
        if (found != map.end()) {
            numbers.ofBlock.push_back(found->number);
            continue;
        }
        const int free = lowestFreeNumber(map);
        if (free == MaxBlocks)
            return std::nullopt;
        map.push_back({free, code});
        numbers.added.push_back(map.back());
        numbers.ofBlock.push_back(free);
    }
    return numbers;
}

// The language numbers under which a track keeps a performer of its own,
// which makes cdrdao want one on the disc and on every other track too.
// Found once, sorted: the tracks' items are looked at for every block.
std::vector<int> trackPerformerNumbers(QByteArrayView toc, const std::vector<TocContext> &contexts)
{
    std::vector<int> numbers;
    for (size_t c = 1; c < contexts.size(); ++c) {
        if (!contexts[c].cdText)
            continue;
        for (const TocLanguageBlock &language : contexts[c].cdText->languages) {
            if (std::any_of(language.items.begin(), language.items.end(),
                            [&](const TocItem &item) { return item.keyword(toc) == "PERFORMER"; }))
                numbers.push_back(language.number);
        }
    }
    std::sort(numbers.begin(), numbers.end());
    return numbers;
}

// The items a context should end up with for one block: no value means
// "none"; a track performer that is there already is kept as it is.
struct Wanted
{
    bool msJis = false; // the disc's block of a Japanese block declares ENCODING_MS_JIS
    std::optional<QByteArray> title;
    std::optional<QByteArray> performer;
    bool keepPerformer = false;
    bool any() const { return title || performer; }
};

// Writes the blocks' texts into the CD_TEXT blocks of a file that was read.
class Rewriter
{
public:
    Rewriter(QByteArrayView toc, const std::vector<DiscBlock> &blocks, LanguageNumbers numbers,
             std::vector<int> trackPerformers, bool declareMsJis)
        : m_toc(toc), m_editor(toc), m_nl(m_editor.lineEnd()), m_blocks(blocks),
          m_numbers(std::move(numbers)), m_trackPerformers(std::move(trackPerformers)),
          m_declareMsJis(declareMsJis)
    {}

    QByteArray rewrite(const std::vector<TocContext> &contexts);

private:
    Wanted wanted(size_t b, size_t c) const;
    QByteArray mapEntryLine(const QByteArray &outer, int number, int code) const;
    QByteArray languageLines(const QByteArray &outer, size_t b, const Wanted &items) const;
    void addCdText(qsizetype insertAt, size_t c);
    void updateCdText(const TocCdTextBlock &cdText, size_t c);
    void setItem(const TocLanguageBlock &language, const char *keyword,
                 const std::optional<QByteArray> &value, bool keepExisting);
    void addMapEntries(const TocCdTextBlock &disc);
    void setEncoding(const TocLanguageBlock &language, bool msJis);

    QByteArrayView m_toc;
    Editor m_editor;
    QByteArray m_nl;
    const std::vector<DiscBlock> &m_blocks;
    LanguageNumbers m_numbers;
    std::vector<int> m_trackPerformers;
    bool m_declareMsJis;
};

QByteArray Rewriter::rewrite(const std::vector<TocContext> &contexts)
{
    for (size_t c = 0; c < contexts.size(); ++c) {
        if (contexts[c].cdText)
            updateCdText(*contexts[c].cdText, c);
        else
            addCdText(contexts[c].insertAt, c);
    }
    // Map entries for languages new to a sheet that has a disc CD_TEXT block.
    if (contexts[0].cdText && !m_numbers.added.empty())
        addMapEntries(*contexts[0].cdText);
    return m_editor.result();
}

Wanted Rewriter::wanted(size_t b, size_t c) const
{
    const PackTexts *titles = m_blocks[b].pack.textsOf(PackTypeTitle);
    const PackTexts *performers = m_blocks[b].pack.textsOf(PackTypePerformer);
    const bool trackHasPerformer = std::binary_search(
        m_trackPerformers.begin(), m_trackPerformers.end(), m_numbers.ofBlock[b]);
    Wanted items;
    items.msJis = c == 0 && m_declareMsJis && m_blocks[b].language == Japanese;
    if (titles)
        items.title = TocString(entryOf(*titles, c));
    if (c == 0 && performers) {
        items.performer = TocString(entryOf(*performers, 0));
    } else if (performers || trackHasPerformer) {
        items.performer = TocString({});
        items.keepPerformer = c != 0;
    }
    return items;
}

QByteArray Rewriter::mapEntryLine(const QByteArray &outer, int number, int code) const
{
    return outer + "    " + QByteArray::number(number) + " : " + TocLanguageWord(code) + m_nl;
}

// A LANGUAGE block holding the items, indented one step inside outer.
QByteArray Rewriter::languageLines(const QByteArray &outer, size_t b, const Wanted &items) const
{
    QByteArray text =
        outer + "  LANGUAGE " + QByteArray::number(m_numbers.ofBlock[b]) + " {" + m_nl;
    if (items.msJis)
        text += outer + "    ENCODING_MS_JIS" + m_nl;
    if (items.title)
        text += outer + "    TITLE " + *items.title + m_nl;
    if (items.performer)
        text += outer + "    PERFORMER " + *items.performer + m_nl;
    text += outer + "  }" + m_nl;
    return text;
}

// A new CD_TEXT block for context c with every language written there; the
// disc's gets the language map too. Nothing when no language has an item.
void Rewriter::addCdText(qsizetype insertAt, size_t c)
{
    const QByteArray outer = m_editor.indentAt(insertAt);
    QByteArray text;
    if (c == 0) {
        text += outer + "  LANGUAGE_MAP {" + m_nl;
        for (size_t b = 0; b < m_blocks.size(); ++b)
            text += mapEntryLine(outer, m_numbers.ofBlock[b], LanguageCodeOf(m_blocks[b].language));
        text += outer + "  }" + m_nl;
    }
    bool anyItem = false;
    for (size_t b = 0; b < m_blocks.size(); ++b) {
        const Wanted items = wanted(b, c);
        if (!items.any())
            continue;
        anyItem = true;
        text += languageLines(outer, b, items);
    }
    if (anyItem)
        m_editor.insertLinesBefore(insertAt,
                                   outer + "CD_TEXT {" + m_nl + text + outer + "}" + m_nl);
}

// Context c's own CD_TEXT block: each language's items are set, and a
// language the block lacks is added at its end.
void Rewriter::updateCdText(const TocCdTextBlock &cdText, size_t c)
{
    for (size_t b = 0; b < m_blocks.size(); ++b) {
        const Wanted items = wanted(b, c);
        const int number = m_numbers.ofBlock[b];
        const auto language =
            std::find_if(cdText.languages.begin(), cdText.languages.end(),
                         [&](const TocLanguageBlock &l) { return l.number == number; });
        if (language == cdText.languages.end()) {
            if (items.any())
                m_editor.insertLinesBefore(
                    cdText.closeBegin, languageLines(m_editor.indentAt(cdText.begin), b, items));
            continue;
        }
        setEncoding(*language, items.msJis);
        setItem(*language, "TITLE", items.title, false);
        setItem(*language, "PERFORMER", items.performer, items.keepPerformer);
    }
}

// The first such item gets the value, any others go; without one, an item
// is added at the top of the block.
void Rewriter::setItem(const TocLanguageBlock &language, const char *keyword,
                       const std::optional<QByteArray> &value, bool keepExisting)
{
    bool first = true;
    for (const TocItem &item : language.items) {
        if (item.keyword(m_toc) != keyword)
            continue;
        if (first && value) {
            if (!keepExisting)
                m_editor.replace(item.valueBegin, item.end, *value);
        } else {
            m_editor.remove(item.begin, item.end);
        }
        first = false;
    }
    if (first && value) {
        const QByteArray indent = m_editor.indentAt(language.begin) + "  ";
        m_editor.insert(language.openEnd, m_nl + indent + keyword + ' ' + *value);
    }
}

// A Japanese block's encoding is declared as the block's first item, the
// one place cdrdao reads it; another character code there is replaced.
void Rewriter::setEncoding(const TocLanguageBlock &language, bool msJis)
{
    const TocItem *declared =
        language.items.empty() || !language.items[0].isEncoding() ? nullptr : &language.items[0];
    if (!msJis || (declared && declared->keyword(m_toc) == "ENCODING_MS_JIS"))
        return;
    if (declared) {
        m_editor.replace(declared->begin, declared->end, "ENCODING_MS_JIS");
    } else {
        const QByteArray indent = m_editor.indentAt(language.begin) + "  ";
        m_editor.insert(language.openEnd, m_nl + indent + "ENCODING_MS_JIS");
    }
}

void Rewriter::addMapEntries(const TocCdTextBlock &disc)
{
    const QByteArray outer = m_editor.indentAt(disc.begin);
    QByteArray entries;
    for (const TocMapEntry &entry : m_numbers.added)
        entries += mapEntryLine(outer, entry.number, entry.code);
    if (disc.hasMap)
        m_editor.insertLinesBefore(disc.mapCloseBegin, entries);
    else
        m_editor.insert(disc.openEnd,
                        m_nl + outer + "  LANGUAGE_MAP {" + m_nl + entries + outer + "  }");
}

} // namespace

TocRewrite RewriteTocFile(QByteArrayView toc, const TitleStore &store,
                          const std::vector<DiscBlock> &blocks, bool declareMsJis)
{
    TocRewrite result;
    const TocLayout layout = ReadTocLayout(toc);
    if (layout.error) {
        result.fault = TocRewrite::NotUnderstood;
        result.line = layout.error->line;
        result.problem = layout.error->kind;
        return result;
    }
    result.sheetTracks = static_cast<int>(layout.contexts.size()) - 1;
    // A title file names at most MaxTracks tracks, so a longer file never
    // matches one.
    if (result.sheetTracks != store.trackCount || result.sheetTracks > MaxTracks) {
        result.fault = TocRewrite::TrackCount;
        return result;
    }
    std::optional<LanguageNumbers> numbers = languageNumbers(layout.contexts[0], blocks);
    if (!numbers) {
        result.fault = TocRewrite::NoFreeLanguageNumber;
        return result;
    }
    Rewriter rewriter(toc, blocks, std::move(*numbers), trackPerformerNumbers(toc, layout.contexts),
                      declareMsJis);
    result.toc = rewriter.rewrite(layout.contexts);
    return result;
}

} // namespace sonolabe::cdtext
