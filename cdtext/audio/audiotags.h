// SPDX-License-Identifier: GPL-3.0-or-later
// Reading a disc's texts from the tags of the audio files about to be burned,
// with TagLib: Vorbis comments (FLAC, Ogg Vorbis, Opus), ID3v2 (MP3, WAV,
// AIFF) and ID3v1, RIFF INFO (WAV), MP4 atoms (M4A) and the other formats
// TagLib knows.
//
// Fields read from every format: the title, the artist, the album artist,
// the album, the track number and the disc number ("3" or "3/12"). A WAV
// file's ID3v2 tag comes first, its RIFF INFO chunk where the ID3v2 tag
// lacks a field. Texts that the tag stores as single bytes without saying
// their encoding (ID3v2 and ID3v1 ISO-8859-1 frames, RIFF INFO) are read as
// UTF-8 when valid, otherwise as code page 932 or Windows-1252 by the rules
// of chooseSheetEncoding: Japanese players write such tags in code page 932.
#pragma once

#include "cdtext/import/importsource.h"

#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

namespace sonolabe::cdtext {

// Something readAudioTags met and reports.
struct AudioNote
{
    enum Kind {
        TooManyFiles,      // value: the number of files (above 99); nothing read
        NoAudioFiles,      // what: the folder or file list that held none
        Unreadable,        // what: the file TagLib could not read; left out
        DiscsMixed,        // what: the disc numbers found ("1, 2"); nothing read
        NoSuchDisc,        // value: the disc asked for, what: the numbers found
        NoTrackNumber,     // what: the file; the order given is used
        TrackNumberAgain,  // value: the number, what: the second file with it
        TrackNumberGap,    // value: a number of 1 to the count no file has
        AlbumsDiffer,      // value: how many albums, what: the one taken (the most common)
        ArtistsDiffer,     // value: how many artists, what: the one taken (the most common)
        TitleFromFileName, // number: the track, what: the file's name
    };
    Kind kind = TooManyFiles;
    int number = 0;
    int value = 0;
    QString what;
    bool operator==(const AudioNote &) const = default;
};

struct AudioChoice
{
    // The disc to read when the files span several (their disc numbers); a
    // file without a disc number counts as disc 1.
    std::optional<int> disc;
};

// One track as read from its file.
struct AudioTrack
{
    QString file; // the path as given, or as found in the folder
    QString title;
    QString artist;
    QString albumArtist;
    QString album;
    int number = 0; // 0 without one
    int disc = 0;   // 0 without one
};

struct AudioTexts
{
    QString discTitle;           // the album
    QString discPerformer;       // the album artist, else the tracks' artist
    std::vector<QString> titles; // in disc order, at most MaxTracks
    std::vector<QString> files;  // the file of each title
    std::vector<AudioNote> notes;
};

// The files a path list stands for: a file as it is, a folder as the audio
// files in it (by their extension; not in its subfolders) in the natural
// order of their names ("2" before "10"). Files that cannot be read, and
// paths that are neither file nor folder, are kept, to be reported.
QStringList audioFilesOf(const QStringList &paths);

// The order of names in which a run of digits counts as its number: "2"
// before "10", "track2" before "track10"; otherwise by character codes.
bool naturalLess(QStringView a, QStringView b);

// The tags of one file, or nothing when TagLib cannot read it.
std::optional<AudioTrack> readAudioTrack(const QString &file);

// The texts of the disc the files (see audioFilesOf) make:
//  - more than 99 files (on the chosen disc) are refused;
//  - files of more than one disc are refused unless a disc is chosen;
//  - the tracks follow their track numbers when every file has one and
//    they are 1 to the count; otherwise the order given, with each missing,
//    repeated or absent number reported;
//  - the disc title is the album all files agree on, else the most common
//    one (reported); the performer the album artist likewise, else the
//    tracks' artist likewise (reported: a title file holds one artist);
//  - a track without a title gets its file's name without the extension and
//    without a leading track number ("01 - ", "1-02. "), reported.
// Texts are as the tags hold them, apart from surrounding blanks.
AudioTexts readAudioTags(const QStringList &paths, const AudioChoice &choice = {});

// The texts as the import's one block without a language.
SourceTexts audioSourceTexts(const AudioTexts &texts);

} // namespace sonolabe::cdtext
