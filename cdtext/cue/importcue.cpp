// SPDX-License-Identifier: GPL-3.0-or-later
// The CUE sheet reader of importsheets.h.
#include "cdtext/import/importsheets.h"

#include "cdtext/disc/sheetwords.h"
#include "model/codepage932.h"

#include <algorithm>

namespace sonolabe::cdtext {

namespace {

QByteArrayView trimmedStart(QByteArrayView text)
{
    while (!text.isEmpty() && isBlank(text.front()))
        text = text.sliced(1);
    return text;
}

// The text after a keyword: between the first double quote and the line's
// last one, or the rest of the line without its trailing blanks.
QByteArray cueText(QByteArrayView rest)
{
    rest = trimmedStart(rest);
    if (rest.startsWith('"')) {
        const qsizetype close = rest.lastIndexOf('"');
        return (close > 0 ? rest.sliced(1, close - 1) : rest.sliced(1)).toByteArray();
    }
    while (!rest.isEmpty() && isBlank(rest.back()))
        rest.chop(1);
    return rest.toByteArray();
}

std::vector<QByteArrayView> linesOf(QByteArrayView sheet)
{
    std::vector<QByteArrayView> lines;
    qsizetype start = 0;
    for (qsizetype i = 0; i <= sheet.size(); ++i) {
        if (i == sheet.size() || sheet[i] == '\n' || sheet[i] == '\r') {
            lines.push_back(sheet.sliced(start, i - start));
            if (i + 1 < sheet.size() && sheet[i] == '\r' && sheet[i + 1] == '\n')
                ++i;
            start = i + 1;
        }
    }
    return lines;
}

struct RawCue
{
    QByteArray discTitle;
    QByteArray discPerformer;
    std::array<QByteArray, MaxTracks> titles;
};

} // namespace

SourceTexts ReadCueSheet(QByteArrayView sheet)
{
    SourceTexts source;
    const bool byteOrderMark = sheet.startsWith("\xEF\xBB\xBF");
    if (byteOrderMark)
        sheet = sheet.sliced(3);
    RawCue raw;
    int track = 0; // the TRACK lines so far: 0 is the disc
    for (const QByteArrayView line : linesOf(sheet)) {
        const QByteArrayView content = trimmedStart(line);
        qsizetype wordEnd = 0;
        while (wordEnd < content.size() && !isBlank(content[wordEnd]))
            ++wordEnd;
        const QByteArray keyword = content.first(wordEnd).toByteArray().toUpper();
        const QByteArrayView rest = content.sliced(wordEnd);
        if (keyword == "TRACK") {
            ++track;
        } else if (keyword == "TITLE" && track == 0) {
            raw.discTitle = cueText(rest);
        } else if (keyword == "PERFORMER" && track == 0) {
            raw.discPerformer = cueText(rest);
        } else if (keyword == "TITLE" && track <= MaxTracks) {
            raw.titles[track - 1] = cueText(rest);
        } else if (keyword == "TITLE" && !cueText(rest).isEmpty()) {
            source.notes.push_back({SourceNote::TrackBeyondLimit, track, 0, {}});
        } else if (keyword == "PERFORMER" && !cueText(rest).isEmpty()) {
            NoteTrackPerformers(source, 0);
        }
    }
    source.trackListCount = std::min(track, int(MaxTracks));

    // One encoding for all texts, decided on all of them together: a few
    // code page 932 bytes may happen to be valid UTF-8, a whole sheet's
    // texts hardly ever are.
    std::vector<const QByteArray *> texts{&raw.discTitle, &raw.discPerformer};
    for (const QByteArray &title : raw.titles)
        texts.push_back(&title);
    const auto beyondAscii = [](const QByteArray *text) {
        return std::any_of(text->begin(), text->end(), [](char c) { return quint8(c) >= 0x80; });
    };
    const bool utf8 =
        byteOrderMark || (std::any_of(texts.begin(), texts.end(), beyondAscii) &&
                          std::all_of(texts.begin(), texts.end(), [&](const QByteArray *text) {
                              return !beyondAscii(text) || DecodeUtf8BeyondAscii(*text).has_value();
                          }));
    const auto decode = [utf8](const QByteArray &bytes) {
        return utf8 ? QString::fromUtf8(bytes) : Cp932Decoder::instance().decode(bytes);
    };
    SourceBlock block;
    block.discTitle = decode(raw.discTitle);
    block.discPerformer = decode(raw.discPerformer);
    for (int t = 1; t <= MaxTracks; ++t) {
        block.titles[t - 1] = decode(raw.titles[t - 1]);
        if (!block.titles[t - 1].isEmpty())
            block.lastTrack = t;
    }
    block.lastTrack = std::max(block.lastTrack, source.trackListCount);
    source.blocks.push_back(std::move(block));
    return source;
}

} // namespace sonolabe::cdtext
