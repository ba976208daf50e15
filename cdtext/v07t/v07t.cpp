// SPDX-License-Identifier: GPL-3.0-or-later
#include "cdtext/v07t/v07t.h"

#include "cdtext/disc/sheetwords.h"

#include <QList>

namespace sonolabe::cdtext {

namespace {

// The key as written: a track key with its two-digit number.
QByteArray keyText(V07tKey key, int track)
{
    const char *name = V07tKeyNames[int(key)];
    if (key < V07tKey::TrackTitle)
        return name;
    return "Track " % QByteArray::number(track).rightJustified(2, '0') % ' ' % name;
}

void appendLine(QByteArray &out, V07tKey key, QByteArrayView value, int track = 0)
{
    // Keys are padded so that the "=" line up, as in cdrskin's own sheets.
    out += keyText(key, track).leftJustified(20, ' ') % "= " % value % '\n';
}

} // namespace

std::optional<V07tField> ParseV07tKey(QByteArrayView key)
{
    const QByteArray simple = key.toByteArray().simplified();
    const QList<QByteArray> words = simple.split(' ');
    bool numbered = false;
    const int track = words.size() == 3 && words[0].compare("track", Qt::CaseInsensitive) == 0
                          ? words[1].toInt(&numbered)
                          : 0;
    if (words.size() == 2 && words[0].compare("ISRC", Qt::CaseInsensitive) == 0) {
        const int isrcTrack = words[1].toInt(&numbered);
        return numbered ? std::optional(V07tField{V07tKey::TrackIsrc, isrcTrack}) : std::nullopt;
    }
    for (int key = 0; key < int(std::size(V07tKeyNames)); ++key) {
        if ((key >= int(V07tKey::TrackTitle)) == numbered &&
            (numbered ? words[2] : simple).compare(V07tKeyNames[key], Qt::CaseInsensitive) == 0)
            return V07tField{V07tKey(key), track};
    }
    return std::nullopt;
}

V07tSheets WriteV07tSheets(const std::vector<DiscBlock> &blocks)
{
    V07tSheets sheets;
    for (const DiscBlock &block : blocks) {
        const PackBlock &pack = block.pack;
        const bool english = block.language == English;
        QByteArray &out = sheets.bytes;
        appendLine(out, V07tKey::SheetVersion, "0.7T");
        appendLine(out, V07tKey::TextCode, english ? "8859" : "MS-JIS");
        appendLine(out, V07tKey::LanguageCode, V07tLanguageName(block.language));

        const PackTexts *titles = pack.textsOf(PackTypeTitle);
        const PackTexts *performers = pack.textsOf(PackTypePerformer);
        const auto check = [&](QByteArrayView text, TextRef ref) {
            if (!sheets.leadingSpace && text.startsWith(' '))
                sheets.leadingSpace = ref;
        };
        if (titles) {
            check(titles->entries[0], {block.language, TextRef::DiscName, 0});
            appendLine(out, V07tKey::AlbumTitle, titles->entries[0]);
        }
        if (performers) {
            check(performers->entries[0], {block.language, TextRef::Artist, 0});
            appendLine(out, V07tKey::ArtistName, performers->entries[0]);
        }
        appendLine(out, V07tKey::FirstTrack, QByteArray::number(pack.firstTrack));
        appendLine(out, V07tKey::LastTrack, QByteArray::number(pack.lastTrack));
        for (int track = pack.firstTrack; titles && track <= pack.lastTrack; ++track) {
            const QByteArray &title = titles->entries[track - pack.firstTrack + 1];
            check(title, {block.language, TextRef::TrackTitle, track});
            appendLine(out, V07tKey::TrackTitle, title, track);
        }
    }
    if (!sheets.ok())
        sheets.bytes.clear();
    return sheets;
}

} // namespace sonolabe::cdtext
