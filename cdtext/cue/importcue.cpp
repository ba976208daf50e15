// SPDX-License-Identifier: GPL-3.0-or-later
// The CUE sheet reader of importsheets.h: the texts burners take from the
// lines the rewrite writes (cuesheet.h).
#include "cdtext/cue/cuesheet.h"
#include "cdtext/import/importsheets.h"

#include <algorithm>

namespace sonolabe::cdtext {

namespace {

// A CUE sheet has no blocks: its notes name none.
constexpr int NoBlock = -1;

// What a line holds that a title file leaves out; a REM line only for the
// genre and the comment (burned as the message).
std::optional<LeftOutField> leftOutField(const CueLine &line)
{
    if (line.is("PERFORMER"))
        return LeftOutField::Performer;
    if (line.is("SONGWRITER"))
        return LeftOutField::Songwriter;
    if (line.is("ISRC"))
        return LeftOutField::Isrc;
    if (line.is("CATALOG"))
        return LeftOutField::UpcEan;
    const QByteArrayView rest = line.rest.trimmed();
    const auto remIs = [&rest](QByteArrayView word) {
        return rest.size() > word.size() &&
               rest.first(word.size()).compare(word, Qt::CaseInsensitive) == 0 &&
               (rest[word.size()] == ' ' || rest[word.size()] == '\t');
    };
    if (remIs("GENRE"))
        return LeftOutField::Genre;
    if (remIs("COMMENT"))
        return LeftOutField::Message;
    return std::nullopt;
}

} // namespace

SourceTexts ReadCueSheet(QByteArrayView sheet, std::optional<SheetEncoding> encoding)
{
    const CueLayout layout = LayOutCueSheet(sheet);
    SourceTexts source;
    if (!encoding) {
        const SheetEncodingChoice choice = chooseSheetEncoding(sheet);
        encoding = choice.encoding;
        if (choice.guessed)
            source.notes.push_back({SourceNote::EncodingGuessed, 0, int(*encoding), {}});
    }
    for (const int track : layout.titledBeyond)
        source.notes.push_back({SourceNote::TrackBeyondLimit, track, 0, {}});
    for (const auto &[track, line] : layout.otherTexts) {
        if (const std::optional<LeftOutField> field = leftOutField(line))
            NoteTextLeftOut(source, NoBlock, *field, track);
    }
    source.trackListCount = std::min(layout.tracks, int(MaxTracks));

    const auto text = [encoding](const CueTextLines &lines) {
        return lines.last ? decodeSheet(CueText(*lines.last), *encoding) : QString();
    };
    SourceBlock block;
    block.discTitle = text(layout.contexts[0].title);
    block.discPerformer = text(layout.contexts[0].performer);
    for (int t = 1; t < int(layout.contexts.size()); ++t) {
        block.titles[t - 1] = text(layout.contexts[t].title);
        if (!block.titles[t - 1].isEmpty())
            block.lastTrack = t;
    }
    block.lastTrack = std::max(block.lastTrack, source.trackListCount);
    source.blocks.push_back(std::move(block));
    return source;
}

} // namespace sonolabe::cdtext
