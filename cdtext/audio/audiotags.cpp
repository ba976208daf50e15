// SPDX-License-Identifier: GPL-3.0-or-later
#include "cdtext/audio/audiotags.h"

#include "cdtext/import/sheetencoding.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include <taglib/fileref.h>
#include <taglib/id3v1tag.h>
#include <taglib/id3v2tag.h>
#include <taglib/infotag.h>
#include <taglib/mpegfile.h>
#include <taglib/tpropertymap.h>
#include <taglib/wavfile.h>

#include <algorithm>
#include <map>
#include <set>

namespace sonolabe::cdtext {

using namespace Qt::Literals::StringLiterals;

namespace {

// The extensions of the files a folder's audio files are told by.
const QStringList &audioExtensions()
{
    static const QStringList extensions = {u"flac"_s, u"ogg"_s, u"oga"_s, u"opus"_s, u"spx"_s,
                                           u"mp3"_s,  u"mp2"_s, u"wav"_s, u"aif"_s,  u"aiff"_s,
                                           u"aifc"_s, u"m4a"_s, u"m4b"_s, u"mp4"_s,  u"wma"_s,
                                           u"asf"_s,  u"ape"_s, u"wv"_s,  u"mpc"_s,  u"tta"_s};
    return extensions;
}

// TagLib keeps its texts as wide strings (UTF-32 here): converted straight,
// without a trip through UTF-8.
QString fromTagLib(const TagLib::String &text)
{
    return QString::fromStdWString(text.toWString()).trimmed();
}

// Single-byte texts whose encoding the tag does not state: UTF-8 when they
// are valid UTF-8, else code page 932 or Windows-1252, whichever reading is
// plausible. Up to the first NUL: fixed-size fields are padded with them.
TagLib::String decodeSingleBytes(const TagLib::ByteVector &data)
{
    QByteArrayView bytes(data.data(), data.size());
    if (const qsizetype nul = bytes.indexOf('\0'); nul >= 0)
        bytes = bytes.first(nul);
    const QString text = decodeSheet(bytes, chooseSheetEncoding(bytes).encoding);
    return TagLib::String(text.toUtf8().toStdString(), TagLib::String::UTF8);
}

class Id3v2Latin1 : public TagLib::ID3v2::Latin1StringHandler
{
public:
    TagLib::String parse(const TagLib::ByteVector &data) const override
    {
        return decodeSingleBytes(data);
    }
};

class Id3v1Text : public TagLib::ID3v1::StringHandler
{
public:
    TagLib::String parse(const TagLib::ByteVector &data) const override
    {
        return decodeSingleBytes(data).stripWhiteSpace();
    }
};

class RiffInfoText : public TagLib::RIFF::Info::StringHandler
{
public:
    TagLib::String parse(const TagLib::ByteVector &data) const override
    {
        return decodeSingleBytes(data);
    }
};

// TagLib's string handlers are process-wide: once set, every tag read in
// this process decodes its single-byte texts this way (writing is left
// alone: the handlers keep TagLib's own render()).
void installStringHandlers()
{
    static const bool installed = [] {
        static const Id3v2Latin1 id3v2;
        static const Id3v1Text id3v1;
        static const RiffInfoText info;
        TagLib::ID3v2::Tag::setLatin1StringHandler(&id3v2);
        TagLib::ID3v1::Tag::setStringHandler(&id3v1);
        TagLib::RIFF::Info::Tag::setStringHandler(&info);
        return true;
    }();
    (void)installed;
}

// A property's values, joined; empty ones left out.
QString joined(const TagLib::StringList &values)
{
    if (values.size() == 1)
        return fromTagLib(values.front());
    QStringList texts;
    for (const TagLib::String &value : values) {
        if (const QString text = fromTagLib(value); !text.isEmpty())
            texts.append(text);
    }
    return texts.join(u" / "_s);
}

// "3" or "3/12" as 3; 0 for anything else.
int leadingNumber(QStringView text)
{
    if (const qsizetype slash = text.indexOf(u'/'); slash >= 0)
        text = text.first(slash);
    bool ok = false;
    const int value = text.trimmed().toInt(&ok);
    return ok && value > 0 ? value : 0;
}

bool isDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

// The value most tracks hold (empty ones do not count), the first such in
// track order on a tie, and how many different values there are.
std::pair<QString, int> mostCommon(const std::vector<AudioTrack> &tracks,
                                   QString AudioTrack::*field)
{
    std::vector<std::pair<QString, int>> counts;
    for (const AudioTrack &track : tracks) {
        const QString &value = track.*field;
        if (value.isEmpty())
            continue;
        const auto seen = std::find_if(counts.begin(), counts.end(),
                                       [&](const auto &count) { return count.first == value; });
        if (seen == counts.end())
            counts.emplace_back(value, 1);
        else
            ++seen->second;
    }
    const auto best =
        std::max_element(counts.begin(), counts.end(), [](const auto &a, const auto &b) {
            return a.second < b.second; // the first of equal counts stays
        });
    return {best == counts.end() ? QString() : best->first, int(counts.size())};
}

// A file's name without its extension and without a leading track number
// ("01 - ", "01. ", "01_", "1-02 "), or with it when nothing else is left.
QString titleFromFileName(const QString &file)
{
    static const QRegularExpression prefix(uR"(^\s*(?:\d{1,2}[-.])?\d{1,3}(?:\s*[-._)]\s*|\s+))"_s);
    const QString base = QFileInfo(file).completeBaseName();
    const QString rest = base.sliced(prefix.match(base).capturedLength()).trimmed();
    return rest.isEmpty() ? base : rest;
}

// Puts the tracks in disc order: by their numbers when they are exactly 1 to
// the count, else as given with what is wrong reported.
void orderTracks(std::vector<AudioTrack> &tracks, std::vector<AudioNote> &notes)
{
    if (tracks.size() < 2)
        return; // one track's place is never in doubt
    const int count = int(tracks.size());
    std::set<int> numbers;
    bool ordered = true;
    for (const AudioTrack &track : tracks) {
        if (track.number == 0) {
            notes.push_back({AudioNote::NoTrackNumber, 0, 0, track.file});
            ordered = false;
        } else if (!numbers.insert(track.number).second) {
            notes.push_back({AudioNote::TrackNumberAgain, 0, track.number, track.file});
            ordered = false;
        } else if (track.number > count) {
            ordered = false;
        }
    }
    if (ordered) {
        std::sort(tracks.begin(), tracks.end(),
                  [](const AudioTrack &a, const AudioTrack &b) { return a.number < b.number; });
        return;
    }
    if (numbers.empty())
        return;
    for (int number = 1; number <= count; ++number) {
        if (!numbers.contains(number))
            notes.push_back({AudioNote::TrackNumberGap, 0, number, {}});
    }
}

} // namespace

bool naturalLess(QStringView a, QStringView b)
{
    qsizetype i = 0, j = 0;
    while (i < a.size() && j < b.size()) {
        if (isDigit(a[i]) && isDigit(b[j])) {
            qsizetype endA = i, endB = j;
            while (endA < a.size() && isDigit(a[endA]))
                ++endA;
            while (endB < b.size() && isDigit(b[endB]))
                ++endB;
            // Leading zeros do not count; then the longer run is the larger
            // number, and runs of one length compare digit by digit.
            qsizetype startA = i, startB = j;
            while (startA + 1 < endA && a[startA] == u'0')
                ++startA;
            while (startB + 1 < endB && b[startB] == u'0')
                ++startB;
            const QStringView runA = a.sliced(startA, endA - startA);
            const QStringView runB = b.sliced(startB, endB - startB);
            if (runA.size() != runB.size())
                return runA.size() < runB.size();
            if (const int order = runA.compare(runB); order != 0)
                return order < 0;
            i = endA;
            j = endB;
            continue;
        }
        const QChar foldedA = a[i].toCaseFolded(), foldedB = b[j].toCaseFolded();
        if (foldedA != foldedB)
            return foldedA < foldedB;
        ++i;
        ++j;
    }
    if ((a.size() - i) != (b.size() - j))
        return a.size() - i < b.size() - j;
    return a < b; // equal but for case or leading zeros: still a strict order
}

QStringList audioFilesOf(const QStringList &paths)
{
    QStringList files;
    for (const QString &path : paths) {
        const QFileInfo info(path);
        if (!info.isDir()) {
            files.append(path);
            continue;
        }
        // Sorted here, not by QDir: its name order puts "10" before "2". A
        // file that cannot be read is kept, to be reported.
        const QFileInfoList entries = QDir(path).entryInfoList(QDir::Files, QDir::Unsorted);
        std::vector<std::pair<QString, QString>> found; // name, path
        for (const QFileInfo &entry : entries) {
            if (audioExtensions().contains(entry.suffix().toLower()))
                found.emplace_back(entry.fileName(), entry.filePath());
        }
        std::sort(found.begin(), found.end(),
                  [](const auto &x, const auto &y) { return naturalLess(x.first, y.first); });
        for (const auto &[name, file] : found)
            files.append(file);
    }
    return files;
}

std::optional<AudioTrack> readAudioTrack(const QString &file)
{
    installStringHandlers();
    if (!QFileInfo(file).isFile())
        return std::nullopt;
    const QByteArray name = QFile::encodeName(file);
    const TagLib::FileRef ref(name.constData(), false);
    if (ref.isNull() || !ref.file()->isValid())
        return std::nullopt;
    // TagLib opens any bytes named .mp3, .wav or .aiff as such a file, so
    // that a stray text or empty file would be burned as a track: an MP3
    // needs a frame, a WAV or AIFF file a stream TagLib can describe (asked
    // only for those, since reading a stream's properties costs time).
    if (auto *mpeg = dynamic_cast<TagLib::MPEG::File *>(ref.file());
        mpeg && mpeg->firstFrameOffset() < 0)
        return std::nullopt;
    if (dynamic_cast<TagLib::RIFF::File *>(ref.file())) {
        const TagLib::FileRef stream(name.constData(), true, TagLib::AudioProperties::Fast);
        if (!stream.audioProperties() || stream.audioProperties()->sampleRate() <= 0)
            return std::nullopt;
    }
    AudioTrack track;
    track.file = file;
    // One pass over the map (its keys are upper case): a lookup by name would
    // build and upper-case a key string each time.
    const TagLib::PropertyMap properties = ref.file()->properties();
    for (const auto &[key, values] : properties) {
        if (key == "TITLE")
            track.title = joined(values);
        else if (key == "ARTIST")
            track.artist = joined(values);
        else if (key == "ALBUMARTIST")
            track.albumArtist = joined(values);
        else if (key == "ALBUM")
            track.album = joined(values);
        else if (key == "TRACKNUMBER")
            track.number = leadingNumber(joined(values));
        else if (key == "DISCNUMBER")
            track.disc = leadingNumber(joined(values));
    }
    // Where the property map lacks a field, the format's basic tag may have
    // it; a WAV file's properties and tag() are its ID3v2 tag's alone, so its
    // RIFF INFO chunk is asked as well.
    std::vector<const TagLib::Tag *> tags{ref.tag()};
    if (auto *wav = dynamic_cast<TagLib::RIFF::WAV::File *>(ref.file()); wav && wav->hasInfoTag())
        tags.push_back(wav->InfoTag());
    for (const TagLib::Tag *tag : tags) {
        if (!tag)
            continue;
        if (track.title.isEmpty())
            track.title = fromTagLib(tag->title());
        if (track.artist.isEmpty())
            track.artist = fromTagLib(tag->artist());
        if (track.album.isEmpty())
            track.album = fromTagLib(tag->album());
        if (track.number == 0 && tag->track() <= 999)
            track.number = int(tag->track());
    }
    return track;
}

AudioTexts readAudioTags(const QStringList &paths, const AudioChoice &choice)
{
    AudioTexts result;
    const QStringList files = audioFilesOf(paths);
    if (files.isEmpty()) {
        result.notes.push_back({AudioNote::NoAudioFiles, 0, 0, paths.join(u", "_s)});
        return result;
    }
    // Refused before reading unless a disc is chosen: only then may the
    // files hold more tracks than one disc.
    if (!choice.disc && files.size() > MaxTracks) {
        result.notes.push_back({AudioNote::TooManyFiles, 0, int(files.size()), {}});
        return result;
    }

    std::vector<AudioTrack> tracks;
    for (const QString &file : files) {
        if (std::optional<AudioTrack> track = readAudioTrack(file))
            tracks.push_back(std::move(*track));
        else
            result.notes.push_back({AudioNote::Unreadable, 0, 0, file});
    }

    std::set<int> discs;
    for (const AudioTrack &track : tracks)
        discs.insert(std::max(track.disc, 1));
    const auto discList = [&] {
        QStringList numbers;
        for (const int disc : discs)
            numbers.append(QString::number(disc));
        return numbers.join(u", "_s);
    };
    if (choice.disc) {
        if (!discs.contains(*choice.disc)) {
            result.notes.push_back({AudioNote::NoSuchDisc, 0, *choice.disc, discList()});
            return result;
        }
        std::erase_if(tracks, [&](const AudioTrack &track) {
            return std::max(track.disc, 1) != *choice.disc;
        });
        if (tracks.size() > MaxTracks) {
            result.notes.push_back({AudioNote::TooManyFiles, 0, int(tracks.size()), {}});
            return result;
        }
    } else if (discs.size() > 1) {
        result.notes.push_back({AudioNote::DiscsMixed, 0, 0, discList()});
        return result;
    }
    if (tracks.empty())
        return result;

    orderTracks(tracks, result.notes);

    const auto [album, albums] = mostCommon(tracks, &AudioTrack::album);
    result.discTitle = album;
    if (albums > 1)
        result.notes.push_back({AudioNote::AlbumsDiffer, 0, albums, album});
    auto [artist, artists] = mostCommon(tracks, &AudioTrack::albumArtist);
    if (artists == 0)
        std::tie(artist, artists) = mostCommon(tracks, &AudioTrack::artist);
    result.discPerformer = artist;
    if (artists > 1)
        result.notes.push_back({AudioNote::ArtistsDiffer, 0, artists, artist});

    for (const AudioTrack &track : tracks) {
        QString title = track.title;
        if (title.isEmpty()) {
            title = titleFromFileName(track.file);
            result.notes.push_back({AudioNote::TitleFromFileName, int(result.titles.size()) + 1, 0,
                                    QFileInfo(track.file).fileName()});
        }
        result.titles.push_back(title);
        result.files.push_back(track.file);
    }
    return result;
}

SourceTexts audioSourceTexts(const AudioTexts &texts)
{
    SourceTexts source;
    SourceBlock block;
    block.number = 0;
    block.discTitle = texts.discTitle;
    block.discPerformer = texts.discPerformer;
    const std::size_t count = std::min<std::size_t>(texts.titles.size(), MaxTracks);
    std::copy_n(texts.titles.begin(), count, block.titles.begin());
    block.lastTrack = int(count);
    source.trackListCount = int(count);
    if (count > 0 || !texts.discTitle.isEmpty() || !texts.discPerformer.isEmpty())
        source.blocks.push_back(std::move(block));
    return source;
}

} // namespace sonolabe::cdtext
