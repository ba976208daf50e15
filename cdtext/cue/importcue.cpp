// SPDX-License-Identifier: GPL-3.0-or-later
// The CUE sheet reader of importsheets.h: the texts burners take from the
// lines the rewrite writes (cuesheet.h).
#include "cdtext/cue/cuesheet.h"
#include "cdtext/import/importsheets.h"

#include "model/codepage932.h"

#include <algorithm>

namespace sonolabe::cdtext {

SourceTexts ReadCueSheet(QByteArrayView sheet)
{
    const CueLayout layout = LayOutCueSheet(sheet);
    SourceTexts source;
    for (const int track : layout.titledBeyond)
        source.notes.push_back({SourceNote::TrackBeyondLimit, track, 0, {}});
    if (layout.trackPerformers)
        NoteTrackPerformers(source, 0);
    source.trackListCount = std::min(layout.tracks, int(MaxTracks));

    const auto text = [&layout](const CueTextLines &lines) {
        const QByteArrayView bytes = lines.last ? CueText(*lines.last) : QByteArrayView();
        return layout.utf8 ? QString::fromUtf8(bytes) : Cp932Decoder::instance().decode(bytes);
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
