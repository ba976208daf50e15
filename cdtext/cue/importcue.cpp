// SPDX-License-Identifier: GPL-3.0-or-later
// The CUE sheet reader of importsheets.h: the texts burners take from the
// lines the rewrite writes (cuesheet.h).
#include "cdtext/cue/cuesheet.h"
#include "cdtext/import/importsheets.h"

#include <algorithm>

namespace sonolabe::cdtext {

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
    if (layout.trackPerformers)
        NoteTrackPerformers(source, 0);
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
