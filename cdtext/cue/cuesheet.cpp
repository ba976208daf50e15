// SPDX-License-Identifier: GPL-3.0-or-later
#include "cdtext/cue/cuesheet.h"

#include "cdtext/disc/sheetwords.h"

#include <algorithm>
#include <optional>
#include <vector>

namespace sonolabe::cdtext {

namespace {

constexpr char ByteOrderMark[] = "\xEF\xBB\xBF";

struct Line
{
    qsizetype begin = 0;
    qsizetype contentEnd = 0; // the line end starts here
    qsizetype end = 0;        // after the line end
    QByteArray indent;
    QByteArray keyword; // as written
    QByteArray upperKeyword;
};

std::vector<Line> splitLines(QByteArrayView sheet)
{
    std::vector<Line> lines;
    qsizetype pos = 0;
    while (pos < sheet.size()) {
        Line line;
        line.begin = pos;
        qsizetype end = pos;
        while (end < sheet.size() && sheet[end] != '\n' && sheet[end] != '\r')
            ++end;
        line.contentEnd = end;
        if (end < sheet.size())
            end += sheet[end] == '\r' && end + 1 < sheet.size() && sheet[end + 1] == '\n' ? 2 : 1;
        line.end = end;

        // A byte-order mark before the first keyword is kept apart, so that
        // a line put in front of the first one cannot push it inward.
        if (lines.empty() && sheet.startsWith(ByteOrderMark))
            line.begin += 3;
        qsizetype word = line.begin;
        const qsizetype indentStart = word;
        while (word < line.contentEnd && isBlank(sheet[word]))
            ++word;
        line.indent = sheet.sliced(indentStart, word - indentStart).toByteArray();
        qsizetype wordEnd = word;
        while (wordEnd < line.contentEnd && !isBlank(sheet[wordEnd]))
            ++wordEnd;
        line.keyword = sheet.sliced(word, wordEnd - word).toByteArray();
        line.upperKeyword = line.keyword.toUpper();
        lines.push_back(std::move(line));
        pos = end;
    }
    return lines;
}

QByteArray textLine(const QByteArray &indent, const QByteArray &keyword, const QByteArray &text,
                    QByteArrayView lineEnd)
{
    return indent % keyword % " \"" % text % '"' % lineEnd;
}

// Context 0 is the disc, context n the n-th TRACK: the lines of each.
struct Context
{
    int trackLine = -1;
    std::vector<int> titles;
    std::vector<int> performers;
};

struct Layout
{
    std::vector<Context> contexts{1};
    std::vector<int> cdTextFiles; // CDTEXTFILE lines, wherever they are
    // The first FILE or TRACK line; none in a sheet without either, whose
    // disc lines then go at its end.
    int discInsertLine = -1;
};

Layout layOut(const std::vector<Line> &lines)
{
    Layout layout;
    std::vector<Context> &contexts = layout.contexts;
    for (size_t i = 0; i < lines.size(); ++i) {
        const QByteArray &keyword = lines[i].upperKeyword;
        const int line = static_cast<int>(i);
        if (keyword == "TRACK") {
            contexts.push_back({line, {}, {}});
            if (layout.discInsertLine < 0)
                layout.discInsertLine = line;
        } else if (keyword == "FILE" && contexts.size() == 1 && layout.discInsertLine < 0) {
            layout.discInsertLine = line;
        } else if (keyword == "TITLE") {
            contexts.back().titles.push_back(line);
        } else if (keyword == "PERFORMER") {
            contexts.back().performers.push_back(line);
        } else if (keyword == "CDTEXTFILE") {
            layout.cdTextFiles.push_back(line);
        }
    }
    return layout;
}

// The bytes of a text in the sheet: UTF-8 in a UTF-8 sheet; else code page
// 932, where a character the code page lacks becomes a full-width question
// mark, as in the pack file.
QByteArray sheetBytes(const QString &text, int language, bool utf8)
{
    if (language == English)
        return text.toLatin1();
    if (utf8)
        return text.toUtf8();
    return Cp932WithFullWidthMarks(text, false);
}

// The sheet's own line end, as its first line has it.
QByteArray lineEndOf(QByteArrayView sheet, const std::vector<Line> &lines)
{
    const bool crlf =
        !lines.empty() &&
        sheet.sliced(lines[0].contentEnd, lines[0].end - lines[0].contentEnd).endsWith("\r\n");
    return crlf ? QByteArray("\r\n") : QByteArray("\n");
}

// Where a line that a context lacks goes: next to a line of the sheet, or
// at its end (line -1).
struct Place
{
    int line = -1;
    bool after = false;
    QByteArray indent;
};

// What becomes of the sheet's lines: each is kept, replaced or dropped, and
// new lines may go in front of it or after it.
class Edits
{
public:
    Edits(QByteArrayView sheet, const std::vector<Line> &lines)
        : m_sheet(sheet), m_lines(lines), m_lineEnd(lineEndOf(sheet, lines)),
          m_replacement(lines.size()), m_before(lines.size()), m_after(lines.size())
    {}

    // Sets the text of one kind of line in one context: the first such line
    // gets the text, the others go; without one, a line is added at place.
    // An empty text only removes lines.
    void set(const std::vector<int> &existing, const char *keyword, const QByteArray &bytes,
             const Place &place);
    QByteArray result() const;

private:
    QByteArrayView m_sheet;
    const std::vector<Line> &m_lines;
    QByteArray m_lineEnd;
    std::vector<std::optional<QByteArray>> m_replacement; // an empty one drops the line
    std::vector<QByteArray> m_before;
    std::vector<QByteArray> m_after;
    QByteArray m_atEnd; // after the last line
};

void Edits::set(const std::vector<int> &existing, const char *keyword, const QByteArray &bytes,
                const Place &place)
{
    for (size_t k = 0; k < existing.size(); ++k) {
        const Line &line = m_lines[existing[k]];
        if (k == 0 && !bytes.isEmpty()) {
            // The pack file's line is written as burners look for it.
            const QByteArray &word =
                qstrcmp(keyword, "CDTEXTFILE") == 0 ? QByteArray(keyword) : line.keyword;
            m_replacement[existing[k]] =
                textLine(line.indent, word, bytes,
                         m_sheet.sliced(line.contentEnd, line.end - line.contentEnd));
        } else {
            m_replacement[existing[k]] = QByteArray();
        }
    }
    if (!existing.empty() || bytes.isEmpty())
        return;
    const QByteArray added = textLine(place.indent, keyword, bytes, m_lineEnd);
    if (place.line < 0)
        m_atEnd += added;
    else if (place.after)
        m_after[place.line] += added;
    else
        m_before[place.line] += added;
}

QByteArray Edits::result() const
{
    QByteArray out;
    out.reserve(m_sheet.size() + 64 * qsizetype(m_lines.size() + 2));
    const qsizetype prefix = m_lines.empty() ? 0 : m_lines[0].begin;
    out += m_sheet.first(prefix); // the byte-order mark, if any
    for (size_t i = 0; i < m_lines.size(); ++i) {
        const Line &line = m_lines[i];
        out += m_before[i];
        if (m_replacement[i])
            out += *m_replacement[i];
        else
            out += m_sheet.sliced(line.begin, line.end - line.begin);
        if (!m_after[i].isEmpty()) {
            if (line.end == line.contentEnd && !m_replacement[i])
                out += m_lineEnd; // the last line had no line end
            out += m_after[i];
        }
    }
    if (!m_atEnd.isEmpty()) {
        // A last line without a line end gets one; a byte-order mark alone
        // is no line.
        if (out.size() > prefix && !out.endsWith('\n') && !out.endsWith('\r'))
            out += m_lineEnd;
        out += m_atEnd;
    }
    // A line that starts with a byte-order mark (inside the sheet, where it
    // is a stray character of the line) must not become the first line when
    // the lines before it go: read again, the mark would be taken for the
    // sheet's own and the line's keyword would change.
    if (out.sliced(prefix).startsWith(ByteOrderMark))
        out.insert(prefix, m_lineEnd);
    return out;
}

// The fault of a text that a CUE sheet cannot hold, or None.
CueRewrite::Fault faultOf(const QByteArray &bytes)
{
    if (bytes.contains('"'))
        return CueRewrite::Quote;
    if (bytes.endsWith('\\'))
        return CueRewrite::BackslashAtEnd;
    return CueRewrite::None;
}

} // namespace

bool IsUtf8CueSheet(QByteArrayView sheet)
{
    if (sheet.startsWith(ByteOrderMark))
        return true;
    const bool beyondAscii = std::any_of(sheet.begin(), sheet.end(),
                                         [](char c) { return static_cast<quint8>(c) >= 0x80; });
    return beyondAscii && sheet.isValidUtf8();
}

CueRewrite RewriteCueSheet(QByteArrayView sheet, const TitleStore &store, int language,
                           const std::optional<QByteArray> &cdTextFile)
{
    const bool utf8 = IsUtf8CueSheet(sheet);
    CueRewrite result;
    const std::vector<Line> lines = splitLines(sheet);
    const Layout layout = layOut(lines);
    result.sheetTracks = static_cast<int>(layout.contexts.size()) - 1;
    // A title file names at most MaxTracks tracks, so a longer sheet never
    // matches one (and a store claiming more has no titles for them).
    if (result.sheetTracks != store.trackCount || result.sheetTracks > MaxTracks) {
        result.fault = CueRewrite::TrackCount;
        return result;
    }

    Edits edits(sheet, lines);
    // Sets one text, or refuses it: nothing is written then.
    const auto set = [&](const std::vector<int> &existing, const char *keyword, const TextRef &ref,
                         const Place &place) {
        const QByteArray bytes = sheetBytes(TextOf(store, ref), language, utf8);
        result.fault = faultOf(bytes);
        if (result.fault != CueRewrite::None) {
            result.text = ref;
            return false;
        }
        edits.set(existing, keyword, bytes, place);
        return true;
    };
    const Context &disc = layout.contexts[0];
    const Place discPlace{layout.discInsertLine, false,
                          layout.discInsertLine < 0 ? QByteArray()
                                                    : lines[layout.discInsertLine].indent};
    // The pack file first: read before the sheet's texts, it replaces them.
    // Without one, a CDTEXTFILE line of the sheet goes, as it would hide the
    // texts written.
    const QByteArray packFile = cdTextFile.value_or(QByteArray());
    if (packFile.contains('"') || packFile.contains('\n') || packFile.contains('\r')) {
        result.fault = CueRewrite::PackFileName;
        return result;
    }
    edits.set(layout.cdTextFiles, "CDTEXTFILE", packFile, discPlace);
    if (!set(disc.titles, "TITLE", {language, TextRef::DiscName, 0}, discPlace) ||
        !set(disc.performers, "PERFORMER", {language, TextRef::Artist, 0}, discPlace))
        return result;
    for (int track = 1; track <= result.sheetTracks; ++track) {
        const Context &context = layout.contexts[track];
        const Place place{context.trackLine, true, lines[context.trackLine].indent + "  "};
        if (!set(context.titles, "TITLE", {language, TextRef::TrackTitle, track}, place))
            return result;
    }
    result.sheet = edits.result();
    return result;
}

} // namespace sonolabe::cdtext
