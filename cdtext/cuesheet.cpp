// SPDX-License-Identifier: GPL-3.0-or-later
#include "cdtext/cuesheet.h"

#include "model/codepage932.h"

#include <vector>

namespace sonolabe::cdtext {

namespace {

struct Line
{
    qsizetype begin = 0;
    qsizetype contentEnd = 0; // the line end starts here
    qsizetype end = 0;        // after the line end
    QByteArray indent;
    QByteArray keyword; // as written
    QByteArray upperKeyword;
};

bool isBlank(char c)
{
    return c == ' ' || c == '\t';
}

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
        if (lines.empty() && sheet.startsWith("\xEF\xBB\xBF"))
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

// What becomes of the sheet's lines: each is kept, replaced or dropped, and
// new lines may go in front of it or after it.
struct Edits
{
    explicit Edits(size_t lineCount) : replacement(lineCount), before(lineCount), after(lineCount)
    {}
    std::vector<std::optional<QByteArray>> replacement; // an empty one drops the line
    std::vector<QByteArray> before;
    std::vector<QByteArray> after;
    QByteArray atEnd; // after the last line
};

} // namespace

CueRewrite RewriteCueSheet(QByteArrayView sheet, const TitleStore &store, int language)
{
    CueRewrite result;
    const std::vector<Line> lines = splitLines(sheet);

    // Context 0 is the disc, context n the n-th TRACK.
    struct Context
    {
        int trackLine = -1;
        std::vector<int> titles;
        std::vector<int> performers;
    };
    std::vector<Context> contexts(1);
    // The first FILE or TRACK line; none in a sheet without either, whose
    // disc lines then go at its end.
    int discInsertLine = -1;
    for (size_t i = 0; i < lines.size(); ++i) {
        const QByteArray &keyword = lines[i].upperKeyword;
        const int line = static_cast<int>(i);
        if (keyword == "TRACK") {
            contexts.push_back({line, {}, {}});
            if (discInsertLine < 0)
                discInsertLine = line;
        } else if (keyword == "FILE" && contexts.size() == 1 && discInsertLine < 0) {
            discInsertLine = line;
        } else if (keyword == "TITLE") {
            contexts.back().titles.push_back(line);
        } else if (keyword == "PERFORMER") {
            contexts.back().performers.push_back(line);
        }
    }
    result.sheetTracks = static_cast<int>(contexts.size()) - 1;
    // A title file names at most MaxTracks tracks, so a longer sheet never
    // matches one (and a store claiming more has no titles for them).
    if (result.sheetTracks != store.trackCount || result.sheetTracks > MaxTracks) {
        result.fault = CueRewrite::TrackCount;
        return result;
    }

    const Cp932Encoder &encoder = Cp932Encoder::instance();
    // A character the code page lacks becomes a full-width question mark,
    // as in the pack file.
    const auto encode = [&](const QString &text) {
        if (language == English)
            return text.toLatin1();
        QByteArray bytes;
        for (const QChar ch : text) {
            if (encoder.canEncode(ch.unicode()))
                encoder.appendEncoded(QStringView(&ch, 1), bytes);
            else
                bytes += "\x81\x48";
        }
        return bytes;
    };
    const QByteArray lineEnd =
        !lines.empty() && sheet.sliced(lines[0].contentEnd, lines[0].end - lines[0].contentEnd)
                              .endsWith("\r\n")
            ? QByteArray("\r\n")
            : QByteArray("\n");

    Edits edits(lines.size());
    // Sets the text of one kind of line in one context: the first such line
    // gets the text, the others go; without one, a line is added next to
    // insertLine, or at the end of the sheet when that is -1.
    const auto place = [&](const std::vector<int> &existing, const char *keyword,
                           const QString &text, const TextRef &ref, int insertLine,
                           bool insertAfter, const QByteArray &indent) -> bool {
        const QByteArray bytes = encode(text);
        if (!bytes.isEmpty()) {
            if (bytes.contains('"')) {
                result.fault = CueRewrite::Quote;
                result.text = ref;
                return false;
            }
            if (bytes.endsWith('\\')) {
                result.fault = CueRewrite::BackslashAtEnd;
                result.text = ref;
                return false;
            }
        }
        for (size_t k = 0; k < existing.size(); ++k) {
            const Line &line = lines[existing[k]];
            if (k == 0 && !bytes.isEmpty()) {
                edits.replacement[existing[k]] =
                    textLine(line.indent, line.keyword, bytes,
                             sheet.sliced(line.contentEnd, line.end - line.contentEnd));
            } else {
                edits.replacement[existing[k]] = QByteArray();
            }
        }
        if (existing.empty() && !bytes.isEmpty()) {
            QByteArray added = textLine(indent, keyword, bytes, lineEnd);
            if (insertLine < 0)
                edits.atEnd += added;
            else if (insertAfter)
                edits.after[insertLine] += added;
            else
                edits.before[insertLine] += added;
        }
        return true;
    };

    const Context &disc = contexts[0];
    const QByteArray discIndent = discInsertLine < 0 ? QByteArray() : lines[discInsertLine].indent;
    if (!place(disc.titles, "TITLE", store.discNames[language], {language, TextRef::DiscName, 0},
               discInsertLine, false, discIndent) ||
        !place(disc.performers, "PERFORMER", store.artistNames[language],
               {language, TextRef::Artist, 0}, discInsertLine, false, discIndent))
        return result;
    for (int track = 1; track <= result.sheetTracks; ++track) {
        const Context &context = contexts[track];
        const QByteArray indent = lines[context.trackLine].indent + "  ";
        if (!place(context.titles, "TITLE", store.trackTitles(language, track),
                   {language, TextRef::TrackTitle, track}, context.trackLine, true, indent))
            return result;
    }

    QByteArray &out = result.sheet;
    out.reserve(sheet.size() + 64 * (result.sheetTracks + 2));
    if (!lines.empty())
        out += sheet.first(lines[0].begin); // the byte-order mark, if any
    for (size_t i = 0; i < lines.size(); ++i) {
        const Line &line = lines[i];
        out += edits.before[i];
        if (edits.replacement[i])
            out += *edits.replacement[i];
        else
            out += sheet.sliced(line.begin, line.end - line.begin);
        if (!edits.after[i].isEmpty()) {
            if (line.end == line.contentEnd && !edits.replacement[i])
                out += lineEnd; // the last line had no line end
            out += edits.after[i];
        }
    }
    if (!edits.atEnd.isEmpty()) {
        // A last line without a line end gets one; a byte-order mark alone
        // is no line.
        const qsizetype prefix = lines.empty() ? 0 : lines[0].begin;
        if (out.size() > prefix && !out.endsWith('\n') && !out.endsWith('\r'))
            out += lineEnd;
        out += edits.atEnd;
    }
    return result;
}

} // namespace sonolabe::cdtext
