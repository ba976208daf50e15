// SPDX-License-Identifier: GPL-3.0-or-later
#include "cdtext/v07t/v07t.h"

namespace sonolabe::cdtext {

namespace {

void appendLine(QByteArray &out, const char *key, QByteArrayView value)
{
    // Keys are padded so that the "=" line up, as in cdrskin's own sheets.
    QByteArray line(key);
    if (line.size() < 20)
        line.append(20 - line.size(), ' ');
    out += line;
    out += "= ";
    out += value;
    out += '\n';
}

} // namespace

V07tSheets WriteV07tSheets(const std::vector<DiscBlock> &blocks)
{
    V07tSheets sheets;
    for (const DiscBlock &block : blocks) {
        const PackBlock &pack = block.pack;
        const bool english = block.language == English;
        QByteArray &out = sheets.bytes;
        appendLine(out, "Input Sheet Version", "0.7T");
        appendLine(out, "Text Code", english ? "8859" : "MS-JIS");
        appendLine(out, "Language Code", V07tLanguageName(block.language));

        const PackTexts *titles = pack.textsOf(PackTypeTitle);
        const PackTexts *performers = pack.textsOf(PackTypePerformer);
        const auto check = [&](QByteArrayView text, TextRef ref) {
            if (!sheets.leadingSpace && text.startsWith(' '))
                sheets.leadingSpace = ref;
        };
        if (titles) {
            check(titles->entries[0], {block.language, TextRef::DiscName, 0});
            appendLine(out, "Album Title", titles->entries[0]);
        }
        if (performers) {
            check(performers->entries[0], {block.language, TextRef::Artist, 0});
            appendLine(out, "Artist Name", performers->entries[0]);
        }
        appendLine(out, "First Track Number", QByteArray::number(pack.firstTrack));
        appendLine(out, "Last Track Number", QByteArray::number(pack.lastTrack));
        if (titles) {
            for (int track = pack.firstTrack; track <= pack.lastTrack; ++track) {
                const QByteArray &title = titles->entries[track - pack.firstTrack + 1];
                check(title, {block.language, TextRef::TrackTitle, track});
                const QByteArray key =
                    "Track " % QByteArray::number(track).rightJustified(2, '0') % " Title";
                appendLine(out, key.constData(), title);
            }
        }
    }
    if (!sheets.ok())
        sheets.bytes.clear();
    return sheets;
}

} // namespace sonolabe::cdtext
