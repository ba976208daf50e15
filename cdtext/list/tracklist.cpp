// SPDX-License-Identifier: GPL-3.0-or-later
#include "cdtext/list/tracklist.h"

#include <QRegularExpression>
#include <QStringList>

#include <algorithm>
#include <optional>

namespace sonolabe::cdtext {

using namespace Qt::Literals::StringLiterals;

namespace {

// The leading track number a line loses, with what follows it.
QString withoutTrackNumber(const QString &line)
{
    static const QRegularExpression number(
        u"^[0-9\uFF10-\uFF19]{1,3}(?:[.)\uFF0E\uFF09](?![0-9\uFF10-\uFF19])|\\t)\\s*"_s);
    return line.sliced(number.match(line).capturedLength()).trimmed();
}

// Where the separator (between blanks) first splits the line: artist
// before, title after.
std::optional<std::pair<QString, QString>> splitAt(const QString &line,
                                                   const QRegularExpression &separator)
{
    const QRegularExpressionMatch match = separator.match(line);
    if (!match.hasMatch() || match.capturedStart() == 0 || match.capturedEnd() == line.size())
        return std::nullopt;
    return std::pair{line.first(match.capturedStart()).trimmed(),
                     line.sliced(match.capturedEnd()).trimmed()};
}

} // namespace

TrackList readTrackList(QByteArrayView bytes)
{
    TrackList list;
    const SheetEncodingChoice choice = chooseSheetEncoding(bytes);
    list.encoding = choice.encoding;
    if (choice.guessed)
        list.notes.push_back({TrackListNote::EncodingGuessed, int(choice.encoding)});
    const QString text = decodeSheet(bytes, choice.encoding);

    std::vector<QString> lines;
    static const QRegularExpression lineEnd(u"\r\n|\r|\n"_s);
    for (const QString &raw : text.split(lineEnd)) {
        if (const QString line = raw.trimmed(); !line.isEmpty())
            lines.push_back(withoutTrackNumber(line));
    }
    if (lines.size() > MaxTracks) {
        list.notes.push_back({TrackListNote::TooManyTracks, int(lines.size())});
        return list;
    }

    static const QRegularExpression dash(u"\\s-\\s"_s);
    static const QRegularExpression slash(u"\\s/\\s"_s);
    // The separator that comes first on the first line is tried first.
    std::vector<const QRegularExpression *> separators{&dash, &slash};
    if (!lines.empty()) {
        const qsizetype atDash = dash.match(lines.front()).capturedStart();
        const qsizetype atSlash = slash.match(lines.front()).capturedStart();
        if (atSlash >= 0 && (atDash < 0 || atSlash < atDash))
            std::swap(separators[0], separators[1]);
    }
    for (const QRegularExpression *separator : separators) {
        std::vector<std::pair<QString, QString>> split;
        for (const QString &line : lines) {
            if (auto parts = splitAt(line, *separator))
                split.push_back(std::move(*parts));
            else
                break;
        }
        if (split.empty() || split.size() != lines.size())
            continue;
        QStringList artists;
        for (const auto &[artist, title] : split) {
            if (!artists.contains(artist))
                artists.append(artist);
        }
        if (artists.size() > 1) {
            list.notes.push_back({TrackListNote::ArtistsDiffer, int(artists.size())});
            break;
        }
        list.artist = artists.front();
        for (auto &[artist, title] : split)
            list.titles.push_back(std::move(title));
        return list;
    }
    list.titles = std::move(lines);
    return list;
}

SourceTexts trackListSourceTexts(const TrackList &list)
{
    SourceTexts source;
    SourceBlock block;
    block.discPerformer = list.artist;
    const std::size_t count = std::min<std::size_t>(list.titles.size(), MaxTracks);
    std::copy_n(list.titles.begin(), count, block.titles.begin());
    block.lastTrack = int(count);
    source.trackListCount = int(count);
    if (count > 0)
        source.blocks.push_back(std::move(block));
    return source;
}

} // namespace sonolabe::cdtext
