// SPDX-License-Identifier: GPL-3.0-or-later
#include "cdtext/cue/cuesheet.h"

#include "cdtext/disc/sheetwords.h"
#include "cdtext/import/sheetencoding.h"

#include <algorithm>
#include <map>

namespace sonolabe::cdtext {

namespace {

// Reads a sheet line by line, in place. A byte-order mark before the first
// keyword is kept apart, so that a line put in front of the first one
// cannot push it inward.
class LineReader
{
public:
    explicit LineReader(QByteArrayView sheet)
        : m_sheet(sheet), m_pos(sheet.startsWith(Utf8ByteOrderMark) ? 3 : 0)
    {}
    bool next(CueLine &line);

private:
    QByteArrayView m_sheet;
    qsizetype m_pos;
    int m_number = 0;
};

bool LineReader::next(CueLine &line)
{
    if (m_pos >= m_sheet.size())
        return false;
    qsizetype end = m_pos;
    while (end < m_sheet.size() && m_sheet[end] != '\n' && m_sheet[end] != '\r')
        ++end;
    const qsizetype endLength =
        end == m_sheet.size() ? 0 : (m_sheet.sliced(end).startsWith("\r\n") ? 2 : 1);
    line.number = m_number++;
    line.content = m_sheet.sliced(m_pos, end - m_pos);
    line.lineEnd = m_sheet.sliced(end, endLength);
    m_pos = end + endLength;
    const QByteArrayView content = line.content;
    qsizetype word = 0;
    while (word < content.size() && isBlank(content[word]))
        ++word;
    qsizetype wordEnd = word;
    while (wordEnd < content.size() && !isBlank(content[wordEnd]))
        ++wordEnd;
    qsizetype rest = wordEnd;
    while (rest < content.size() && isBlank(content[rest]))
        ++rest;
    line.indent = content.first(word);
    line.keyword = content.sliced(word, wordEnd - word);
    line.rest = content.sliced(rest);
    return true;
}

void addLine(CueTextLines &lines, const CueLine &line)
{
    if (lines.last)
        lines.earlier.push_back(lines.last->number);
    lines.last = line;
}

QByteArray textLine(QByteArrayView indent, QByteArrayView keyword, QByteArrayView text,
                    QByteArrayView lineEnd)
{
    return indent % keyword % " \"" % text % '"' % lineEnd;
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

// Where a line that a context lacks goes: next to a line of the sheet, or
// at its end.
struct Place
{
    std::optional<CueLine> line;
    bool after = false;
    QByteArray indent;
};

// What becomes of the sheet's lines: a line is kept, replaced or dropped,
// and new lines may go in front of it or after it.
class Edits
{
public:
    explicit Edits(QByteArrayView sheet) : m_sheet(sheet)
    {
        CueLine first;
        if (LineReader(sheet).next(first) && first.lineEnd == "\r\n")
            m_lineEnd = "\r\n";
    }

    // Sets the text of one kind of line in one context: the last such line,
    // the one burners take, gets the text and the others go; without one, a
    // line is added at place. An empty text only removes lines.
    void set(const CueTextLines &lines, const char *keyword, const QByteArray &bytes,
             const Place &place);
    QByteArray result() const;

private:
    struct Edit
    {
        std::optional<QByteArray> replacement; // an empty one drops the line
        QByteArray before;
        QByteArray after;
    };
    QByteArrayView m_sheet;
    QByteArray m_lineEnd = "\n"; // the sheet's own, as its first line has it
    std::map<int, Edit> m_edits; // by line number
    QByteArray m_atEnd;          // after the last line
};

void Edits::set(const CueTextLines &lines, const char *keyword, const QByteArray &bytes,
                const Place &place)
{
    for (const int line : lines.earlier)
        m_edits[line].replacement = QByteArray();
    if (const std::optional<CueLine> &last = lines.last) {
        // The pack file's line is written as burners look for it.
        const QByteArrayView word =
            qstrcmp(keyword, "CDTEXTFILE") == 0 ? QByteArrayView(keyword) : last->keyword;
        m_edits[last->number].replacement =
            bytes.isEmpty() ? QByteArray() : textLine(last->indent, word, bytes, last->lineEnd);
        return;
    }
    if (bytes.isEmpty())
        return;
    const QByteArray added = textLine(place.indent, keyword, bytes, m_lineEnd);
    if (!place.line)
        m_atEnd += added;
    else if (place.after)
        m_edits[place.line->number].after += added;
    else
        m_edits[place.line->number].before += added;
}

QByteArray Edits::result() const
{
    QByteArray out;
    out.reserve(m_sheet.size() + 64 * qsizetype(m_edits.size() + 2));
    const qsizetype prefix = m_sheet.startsWith(Utf8ByteOrderMark) ? 3 : 0;
    out += m_sheet.first(prefix); // the byte-order mark, if any
    LineReader reader(m_sheet);
    CueLine line;
    while (reader.next(line)) {
        const auto edit = m_edits.find(line.number);
        if (edit == m_edits.end()) {
            out += line.content % line.lineEnd;
            continue;
        }
        out += edit->second.before;
        if (edit->second.replacement)
            out += *edit->second.replacement;
        else
            out += line.content % line.lineEnd;
        if (!edit->second.after.isEmpty()) {
            if (line.lineEnd.isEmpty() && !edit->second.replacement)
                out += m_lineEnd; // the last line had no line end
            out += edit->second.after;
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
    if (out.sliced(prefix).startsWith(Utf8ByteOrderMark))
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

bool CueLine::is(const char *upperKeyword) const
{
    return keyword.compare(upperKeyword, Qt::CaseInsensitive) == 0;
}

QByteArrayView CueText(const CueLine &line)
{
    QByteArrayView text = line.rest;
    while (!text.isEmpty() && isBlank(text.back()))
        text.chop(1);
    if (text.startsWith('"')) {
        text = text.sliced(1);
        if (text.endsWith('"'))
            text.chop(1);
    }
    return text;
}

CueLayout LayOutCueSheet(QByteArrayView sheet)
{
    CueLayout layout;
    layout.utf8 = IsUtf8CueSheet(sheet);
    LineReader reader(sheet);
    CueLine line;
    while (reader.next(line)) {
        // Tracks above MaxTracks: only whether they hold texts.
        CueContext *context = layout.tracks <= MaxTracks ? &layout.contexts.back() : nullptr;
        if (line.is("TRACK")) {
            if (++layout.tracks <= MaxTracks)
                layout.contexts.push_back({line, {}, {}});
            if (!layout.discInsert)
                layout.discInsert = line;
        } else if (line.is("FILE") && layout.tracks == 0 && !layout.discInsert) {
            layout.discInsert = line;
        } else if (line.is("TITLE") && context) {
            addLine(context->title, line);
        } else if (line.is("TITLE") && !CueText(line).isEmpty() &&
                   (layout.titledBeyond.empty() || layout.titledBeyond.back() != layout.tracks)) {
            layout.titledBeyond.push_back(layout.tracks);
        } else if (line.is("PERFORMER") && context) {
            addLine(context->performer, line);
        } else if (line.is("CDTEXTFILE")) {
            addLine(layout.cdTextFile, line);
        }
        const bool other = (line.is("PERFORMER") && layout.tracks > 0) || line.is("SONGWRITER") ||
                           line.is("ISRC") || line.is("CATALOG") || line.is("REM");
        if (other && context && !CueText(line).isEmpty())
            layout.otherTexts.emplace_back(layout.tracks, line);
    }
    return layout;
}

bool IsUtf8CueSheet(QByteArrayView sheet)
{
    return isUtf8Sheet(sheet);
}

CueRewrite RewriteCueSheet(QByteArrayView sheet, const TitleStore &store, int language,
                           const std::optional<QByteArray> &cdTextFile)
{
    CueRewrite result;
    const CueLayout layout = LayOutCueSheet(sheet);
    result.sheetTracks = layout.tracks;
    // A title file names at most MaxTracks tracks, so a longer sheet never
    // matches one (and a store claiming more has no titles for them).
    if (result.sheetTracks != store.trackCount || result.sheetTracks > MaxTracks) {
        result.fault = CueRewrite::TrackCount;
        return result;
    }

    Edits edits(sheet);
    // Sets one text, or refuses it: nothing is written then.
    const auto set = [&](const CueTextLines &lines, const char *keyword, const TextRef &ref,
                         const Place &place) {
        const QByteArray bytes = sheetBytes(TextOf(store, ref), language, layout.utf8);
        result.fault = faultOf(bytes);
        if (result.fault != CueRewrite::None) {
            result.text = ref;
            return false;
        }
        edits.set(lines, keyword, bytes, place);
        return true;
    };
    const CueContext &disc = layout.contexts[0];
    const Place discPlace{layout.discInsert, false,
                          layout.discInsert ? layout.discInsert->indent.toByteArray()
                                            : QByteArray()};
    // The pack file first: read before the sheet's texts, it replaces them.
    // Without one, a CDTEXTFILE line of the sheet goes, as it would hide the
    // texts written.
    const QByteArray packFile = cdTextFile.value_or(QByteArray());
    if (packFile.contains('"') || packFile.contains('\n') || packFile.contains('\r')) {
        result.fault = CueRewrite::PackFileName;
        return result;
    }
    edits.set(layout.cdTextFile, "CDTEXTFILE", packFile, discPlace);
    if (!set(disc.title, "TITLE", {language, TextRef::DiscName, 0}, discPlace) ||
        !set(disc.performer, "PERFORMER", {language, TextRef::Artist, 0}, discPlace))
        return result;
    for (int track = 1; track <= result.sheetTracks; ++track) {
        const CueContext &context = layout.contexts[track];
        const Place place{context.track, true, context.track->indent % "  "};
        if (!set(context.title, "TITLE", {language, TextRef::TrackTitle, track}, place))
            return result;
    }
    result.sheet = edits.result();
    return result;
}

} // namespace sonolabe::cdtext
