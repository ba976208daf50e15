// SPDX-License-Identifier: GPL-3.0-or-later
// Tiny silent audio files for the tag tests and the benchmark: each container
// made once per run by ffmpeg's own encoders (50 ms of mono silence, no
// metadata), copied per file, the tags written into it with TagLib's own
// writing API.
#pragma once

#include <QByteArray>
#include <QFile>
#include <QHash>
#include <QProcess>
#include <QString>
#include <QTemporaryDir>

#include <taglib/fileref.h>
#include <taglib/id3v2tag.h>
#include <taglib/infotag.h>
#include <taglib/mpegfile.h>
#include <taglib/textidentificationframe.h>
#include <taglib/tpropertymap.h>
#include <taglib/wavfile.h>

namespace sonolabe::test {

enum class AudioFormat { Flac, Mp3, OggVorbis, WavId3, WavInfo, Aiff, M4a };

struct AudioTags
{
    QString title, artist, albumArtist, album;
    int number = 0;
    int disc = 0;
};

namespace silent {

// The silent file of the format without tags, made on first use; an empty
// path when ffmpeg could not make it.
inline QString containerFile(AudioFormat format)
{
    static QTemporaryDir dir;
    static QHash<int, QString> made;
    if (const auto found = made.constFind(int(format)); found != made.cend())
        return *found;
    // Per format, the file name's extension (which tells ffmpeg the container)
    // and the encoder.
    static const char *const kinds[][2] = {
        {"flac", "flac"},     {"mp3", "libmp3lame"}, {"ogg", "libvorbis"}, {"wav", "pcm_s16le"},
        {"wav", "pcm_s16le"}, {"aiff", "pcm_s16be"}, {"m4a", "aac"}};
    const auto &[extension, codec] = kinds[std::size_t(format)];
    const QString path = dir.filePath(QString::number(int(format)) + QLatin1Char('.') +
                                      QLatin1StringView(extension));
    QString arguments =
        QStringLiteral("-v error -f lavfi -i anullsrc=r=8000:cl=mono -t 0.05 "
                       "-map_metadata -1 -fflags +bitexact -flags:a +bitexact -y -c:a ") +
        QLatin1StringView(codec);
    if (format == AudioFormat::Mp3)
        arguments += QStringLiteral(" -id3v2_version 0 -write_xing 0");
    QProcess ffmpeg;
    ffmpeg.start(QStringLiteral("ffmpeg"), arguments.split(u' ') << path);
    if (!dir.isValid() || !ffmpeg.waitForFinished(60000) ||
        ffmpeg.exitStatus() != QProcess::NormalExit || ffmpeg.exitCode() != 0)
        return {};
    made.insert(int(format), path);
    return path;
}

inline bool copyContainer(AudioFormat format, const QString &path)
{
    const QString source = containerFile(format);
    QFile::remove(path);
    return !source.isEmpty() && QFile::copy(source, path) &&
           QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);
}

inline TagLib::String taglibText(const QString &text)
{
    return TagLib::String(text.toUtf8().toStdString(), TagLib::String::UTF8);
}

} // namespace silent

// Writes a silent file of the format at path with the tags (empty ones and
// numbers 0 left out); false when it could not be written.
inline bool writeAudioFile(const QString &path, AudioFormat format, const AudioTags &tags)
{
    using namespace silent;
    if (!copyContainer(format, path))
        return false;
    const QByteArray name = QFile::encodeName(path);
    if (format == AudioFormat::WavInfo) {
        TagLib::RIFF::WAV::File wav(name.constData(), false);
        TagLib::RIFF::Info::Tag *info = wav.InfoTag();
        info->setTitle(taglibText(tags.title));
        info->setArtist(taglibText(tags.artist));
        info->setAlbum(taglibText(tags.album));
        info->setTrack(unsigned(tags.number));
        // Beside it an ID3v2 tag with a comment alone, as some rippers
        // leave: the texts are only in the INFO chunk.
        wav.ID3v2Tag()->setComment("ripped");
        return wav.save(TagLib::RIFF::WAV::File::AllTags);
    }
    TagLib::FileRef ref(name.constData(), false);
    if (ref.isNull())
        return false;
    TagLib::PropertyMap properties;
    const auto set = [&](const char *key, const QString &value) {
        if (!value.isEmpty())
            properties.insert(key, taglibText(value));
    };
    set("TITLE", tags.title);
    set("ARTIST", tags.artist);
    set("ALBUMARTIST", tags.albumArtist);
    set("ALBUM", tags.album);
    set("TRACKNUMBER", tags.number ? QString::number(tags.number) : QString());
    set("DISCNUMBER", tags.disc ? QString::number(tags.disc) : QString());
    ref.file()->setProperties(properties);
    return ref.save();
}

// Writes an MP3 file whose title is the bytes in an ID3v2 frame marked
// ISO-8859-1, as older Japanese players wrote code page 932 titles.
inline bool writeMp3WithRawTitle(const QString &path, const QByteArray &titleBytes)
{
    if (!silent::copyContainer(AudioFormat::Mp3, path))
        return false;
    const QByteArray name = QFile::encodeName(path);
    TagLib::MPEG::File mp3(name.constData(), false);
    auto *frame = new TagLib::ID3v2::TextIdentificationFrame("TIT2", TagLib::String::Latin1);
    frame->setText(
        TagLib::String(TagLib::ByteVector(titleBytes.constData(), unsigned(titleBytes.size())),
                       TagLib::String::Latin1));
    mp3.ID3v2Tag(true)->addFrame(frame);
    return mp3.save(TagLib::MPEG::File::ID3v2, TagLib::File::StripOthers, TagLib::ID3v2::v3);
}

} // namespace sonolabe::test
