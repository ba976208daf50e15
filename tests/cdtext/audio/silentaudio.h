// SPDX-License-Identifier: GPL-3.0-or-later
// Tiny silent audio files for the tag tests and the benchmark: the container
// bytes built here (a few frames of silence, or none), the tags written into
// them with TagLib's own writing API.
#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QtEndian>

#include <taglib/fileref.h>
#include <taglib/id3v2tag.h>
#include <taglib/infotag.h>
#include <taglib/mpegfile.h>
#include <taglib/textidentificationframe.h>
#include <taglib/tpropertymap.h>
#include <taglib/wavfile.h>

#include <array>

namespace sonolabe::test {

enum class AudioFormat { Flac, Mp3, OggVorbis, WavId3, WavInfo, Aiff, M4a };

struct AudioTags
{
    QString title, artist, albumArtist, album;
    int number = 0;
    int disc = 0;
};

namespace silent {

inline void put32be(QByteArray &out, quint32 v)
{
    char b[4];
    qToBigEndian(v, b);
    out.append(b, 4);
}
inline void put32le(QByteArray &out, quint32 v)
{
    char b[4];
    qToLittleEndian(v, b);
    out.append(b, 4);
}
inline void put16(QByteArray &out, quint16 v, bool big)
{
    char b[2];
    big ? qToBigEndian(v, b) : qToLittleEndian(v, b);
    out.append(b, 2);
}

// A chunk or atom: a four-character type and its size, then the body.
inline QByteArray chunk(const char *type, const QByteArray &body, bool bigEndian, bool sizeFirst)
{
    QByteArray out;
    if (sizeFirst) // MP4: size (with the header), then type
        put32be(out, quint32(body.size() + 8));
    out.append(type, 4);
    if (!sizeFirst)
        bigEndian ? put32be(out, quint32(body.size())) : put32le(out, quint32(body.size()));
    return out + body;
}

// Ogg's CRC-32: polynomial 0x04C11DB7, not reflected, starting at 0.
inline quint32 oggCrc(const QByteArray &page)
{
    quint32 crc = 0;
    for (const char byte : page) {
        crc ^= quint32(quint8(byte)) << 24;
        for (int bit = 0; bit < 8; ++bit)
            crc = crc & 0x80000000u ? (crc << 1) ^ 0x04C11DB7u : crc << 1;
    }
    return crc;
}

inline QByteArray oggPage(quint8 flags, quint32 sequence, const std::vector<QByteArray> &packets)
{
    QByteArray lacing, data;
    for (const QByteArray &packet : packets) {
        qsizetype left = packet.size();
        for (; left >= 255; left -= 255)
            lacing.append(char(255));
        lacing.append(char(left));
        data += packet;
    }
    QByteArray page("OggS", 4);
    page.append(char(0)).append(char(flags));
    page.append(8, char(0)); // granule position
    put32le(page, 0x50AD);   // stream serial number
    put32le(page, sequence);
    put32le(page, 0); // the CRC, filled in below
    page.append(char(lacing.size())).append(lacing).append(data);
    const quint32 crc = oggCrc(page);
    qToLittleEndian(crc, page.data() + 22);
    return page;
}

inline QByteArray containerBytes(AudioFormat format)
{
    QByteArray out;
    switch (format) {
    case AudioFormat::Flac: {
        // STREAMINFO alone: 4096-sample blocks, 44.1 kHz, mono, 16 bits, no samples.
        QByteArray info;
        put16(info, 4096, true);
        put16(info, 4096, true);
        info.append(6, char(0)); // frame sizes unknown
        const quint64 packed = quint64(44100) << 44 | quint64(15) << 36;
        char b[8];
        qToBigEndian(packed, b);
        info.append(b, 8).append(16, char(0)); // MD5 of no samples: not set
        out = QByteArray("fLaC\x80\x00\x00\x22", 8) + info;
        break;
    }
    case AudioFormat::Mp3:
        // Three MPEG-1 Layer III frames, 128 kbit/s, 44.1 kHz, mono, silent.
        for (int frame = 0; frame < 3; ++frame)
            out += QByteArray("\xFF\xFB\x90\xC0", 4) + QByteArray(417 - 4, char(0));
        break;
    case AudioFormat::OggVorbis: {
        QByteArray id("\x01vorbis", 7);
        put32le(id, 0);
        id.append(char(1));
        put32le(id, 8000);
        id.append(12, char(0));
        id.append(char(0xB8)).append(char(1));
        QByteArray comment("\x03vorbis", 7);
        put32le(comment, 0);
        put32le(comment, 0);
        comment.append(char(1));
        const QByteArray setup("\x05vorbis\x00", 8);
        // TagLib stops at the page that ends the stream, so the headers are
        // followed by a page of one (silent) audio packet.
        out = oggPage(0x02, 0, {id}) + oggPage(0, 1, {comment, setup}) +
              oggPage(0x04, 2, {QByteArray(1, char(0))});
        break;
    }
    case AudioFormat::WavId3:
    case AudioFormat::WavInfo: {
        QByteArray fmt;
        put16(fmt, 1, false); // PCM
        put16(fmt, 1, false);
        put32le(fmt, 8000);
        put32le(fmt, 16000);
        put16(fmt, 2, false);
        put16(fmt, 16, false);
        out = chunk("RIFF",
                    QByteArray("WAVE") + chunk("fmt ", fmt, false, false) +
                        chunk("data", QByteArray(16, char(0)), false, false),
                    false, false);
        break;
    }
    case AudioFormat::Aiff: {
        QByteArray comm;
        put16(comm, 1, true);
        put32be(comm, 8);
        put16(comm, 16, true);
        comm.append("\x40\x0B\xFA\x00\x00\x00\x00\x00\x00\x00", 10); // 8000 as 80-bit float
        QByteArray ssnd(8, char(0));
        ssnd.append(16, char(0));
        out = chunk("FORM",
                    QByteArray("AIFF") + chunk("COMM", comm, true, false) +
                        chunk("SSND", ssnd, true, false),
                    true, false);
        break;
    }
    case AudioFormat::M4a: {
        QByteArray mvhd(4, char(0)); // version 0, no flags
        mvhd.append(8, char(0));     // creation and modification time
        put32be(mvhd, 1000);
        put32be(mvhd, 0);
        put32be(mvhd, 0x00010000);
        put16(mvhd, 0x0100, true);
        mvhd.append(10, char(0));
        for (const quint32 m : {0x10000u, 0u, 0u, 0u, 0x10000u, 0u, 0u, 0u, 0x40000000u})
            put32be(mvhd, m);
        mvhd.append(24, char(0));
        put32be(mvhd, 2);
        out = chunk("ftyp", QByteArray("M4A \0\0\0\0M4A mp42isom", 20), true, true) +
              chunk("moov", chunk("mvhd", mvhd, true, true), true, true) +
              chunk("mdat", {}, true, true);
        break;
    }
    }
    return out;
}

inline TagLib::String taglibText(const QString &text)
{
    return TagLib::String(text.toUtf8().toStdString(), TagLib::String::UTF8);
}

} // namespace silent

inline QString audioExtension(AudioFormat format)
{
    static const std::array<const char *, 7> extensions{"flac", "mp3",  "ogg", "wav",
                                                        "wav",  "aiff", "m4a"};
    return QString::fromLatin1(extensions[std::size_t(format)]);
}

// Writes a silent file of the format at path with the tags (empty ones and
// numbers 0 left out); false when it could not be written.
inline bool writeAudioFile(const QString &path, AudioFormat format, const AudioTags &tags)
{
    using namespace silent;
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(containerBytes(format)) < 0)
        return false;
    file.close();
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
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) ||
        file.write(silent::containerBytes(AudioFormat::Mp3)) < 0)
        return false;
    file.close();
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
