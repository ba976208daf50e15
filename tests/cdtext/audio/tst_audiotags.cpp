// SPDX-License-Identifier: GPL-3.0-or-later
// The texts of a disc read from its audio files' tags: every container
// TagLib writes, the track order, the one album and artist, titles taken
// from file names, and what is refused.
#include "cdtext/audio/audiotags.h"
#include "cdtext/audio/silentaudio.h"
#include "cdtext/cdtexttest.h"
#include "common/files.h"

#include <QTemporaryDir>

using namespace sonolabe::test;

namespace {

struct FileRow
{
    QString name;
    AudioFormat format = AudioFormat::Flac;
    AudioTags tags = {};
    QByteArray rawTitle = {}; // an MP3 whose title frame holds these bytes as ISO-8859-1
    bool garbage = false;     // bytes no audio format has
};

// Files "t01.flac".. (in that order) whose track number is number(i) for the
// i-th file (from 1), titled "Title <number>".
QList<FileRow> numbered(int count, int (*number)(int))
{
    QList<FileRow> files;
    for (int i = 1; i <= count; ++i) {
        const int n = number(i);
        files.append({u"t%1.flac"_s.arg(i, 2, 10, QChar(u'0')),
                      AudioFormat::Flac,
                      {u"Title %1"_s.arg(n), u"Band"_s, {}, u"Best"_s, n, 0}});
    }
    return files;
}

QStringList titles(int first, int last)
{
    QStringList out;
    for (int n = first; n <= last; ++n)
        out.append(u"Title %1"_s.arg(n));
    return out;
}

QString noteText(const AudioNote &note, const QString &dir)
{
    static const char *const kinds[] = {"TooManyFiles",     "NoAudioFiles",     "Unreadable",
                                        "DiscsMixed",       "NoSuchDisc",       "NoTrackNumber",
                                        "TrackNumberAgain", "TrackNumberGap",   "AlbumsDiffer",
                                        "ArtistsDiffer",    "TitleFromFileName"};
    QString what = note.what;
    if (what.startsWith(dir))
        what = what.sliced(dir.size() + 1);
    return u"%1 %2 %3 %4"_s.arg(QString::fromLatin1(kinds[note.kind]))
        .arg(note.number)
        .arg(note.value)
        .arg(what)
        .trimmed();
}

} // namespace

class TestAudioTags : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void read_data()
    {
        QTest::addColumn<QList<FileRow>>("files");
        QTest::addColumn<bool>("asFolder"); // the folder, else the files in the row's order
        QTest::addColumn<int>("disc");      // the disc chosen, 0 for none
        QTest::addColumn<QString>("album");
        QTest::addColumn<QString>("artist");
        QTest::addColumn<QStringList>("titles");
        QTest::addColumn<QStringList>("notes");

        const auto tags = [](const QString &title, int number,
                             const QString &artist = u"山田花子"_s,
                             const QString &album = u"夏の日"_s, int disc = 0) {
            return AudioTags{title, artist, {}, album, number, disc};
        };
        // FLAC files a.flac, b.flac, ... with the tags.
        const auto flacs = [](const QList<AudioTags> &tags) {
            QList<FileRow> files;
            for (const AudioTags &fileTags : tags)
                files.append({QChar(char16_t(u'a' + files.size())) + u".flac"_s, AudioFormat::Flac,
                              fileTags});
            return files;
        };
        QTest::newRow("every container, Japanese, by track number")
            << QList<FileRow>{{u"a.flac"_s, AudioFormat::Flac, tags(u"夏の終わり"_s, 3)},
                              {u"b.mp3"_s, AudioFormat::Mp3, tags(u"冬の朝"_s, 1)},
                              {u"c.ogg"_s, AudioFormat::OggVorbis, tags(u"春風"_s, 2)},
                              {u"d.wav"_s, AudioFormat::WavId3, tags(u"秋桜"_s, 4)},
                              {u"e.wav"_s, AudioFormat::WavInfo, tags(u"雨音"_s, 5)},
                              {u"f.aiff"_s, AudioFormat::Aiff, tags(u"雪解け"_s, 6)},
                              {u"g.m4a"_s, AudioFormat::M4a, tags(u"星空"_s, 7)}}
            << false << 0 << u"夏の日"_s << u"山田花子"_s
            << QStringList{u"冬の朝"_s, u"春風"_s,   u"夏の終わり"_s, u"秋桜"_s,
                           u"雨音"_s,   u"雪解け"_s, u"星空"_s}
            << QStringList{};
        QTest::newRow("code page 932 in an ID3v2 ISO-8859-1 frame")
            << QList<FileRow>{{u"a.mp3"_s, AudioFormat::Mp3, {}, sjis(u"夏の日の恋"_s)}} << false
            << 0 << QString() << QString() << QStringList{u"夏の日の恋"_s} << QStringList{};
        QTest::newRow("album artist over differing artists")
            << flacs({{u"A"_s, u"Ann"_s, u"Various"_s, u"Mix"_s, 1},
                      {u"B"_s, u"Bob"_s, u"Various"_s, u"Mix"_s, 2}})
            << false << 0 << u"Mix"_s << u"Various"_s << QStringList{u"A"_s, u"B"_s}
            << QStringList{};
        QTest::newRow("mixed artists: the most common")
            << flacs({tags(u"A"_s, 1, u"Bob"_s), tags(u"B"_s, 2, u"Ann"_s),
                      tags(u"C"_s, 3, u"Ann"_s)})
            << false << 0 << u"夏の日"_s << u"Ann"_s << QStringList{u"A"_s, u"B"_s, u"C"_s}
            << QStringList{u"ArtistsDiffer 0 2 Ann"_s};
        QTest::newRow("albums differ: the most common, the first on a tie")
            << flacs({tags(u"A"_s, 1, u"X"_s, u"One"_s), tags(u"B"_s, 2, u"X"_s, u"Two"_s)})
            << false << 0 << u"One"_s << u"X"_s << QStringList{u"A"_s, u"B"_s}
            << QStringList{u"AlbumsDiffer 0 2 One"_s};
        QTest::newRow("numbers 1 to 12 out of order")
            << numbered(12, [](int i) { return (i * 5) % 12 + 1; }) << false << 0 << u"Best"_s
            << u"Band"_s << titles(1, 12) << QStringList{};
        QTest::newRow("a folder: 2 before 10, titles from the file names")
            << QList<FileRow>{{u"10 Outro.flac"_s, AudioFormat::Flac, {}},
                              {u"02. Song.flac"_s, AudioFormat::Flac, {}},
                              {u"1-01 Intro.flac"_s, AudioFormat::Flac, {}},
                              {u"cover.jpg"_s, AudioFormat::Flac, {}, {}, true}}
            << true << 0 << QString() << QString() << QStringList{u"Intro"_s, u"Song"_s, u"Outro"_s}
            << QStringList{u"NoTrackNumber 0 0 1-01 Intro.flac"_s,
                           u"NoTrackNumber 0 0 02. Song.flac"_s,
                           u"NoTrackNumber 0 0 10 Outro.flac"_s,
                           u"TitleFromFileName 1 0 1-01 Intro.flac"_s,
                           u"TitleFromFileName 2 0 02. Song.flac"_s,
                           u"TitleFromFileName 3 0 10 Outro.flac"_s};
        QTest::newRow("missing title, a name that is only a number")
            << QList<FileRow>{{u"03 - Last Song.mp3"_s, AudioFormat::Mp3, tags({}, 2)},
                              {u"7.flac"_s, AudioFormat::Flac, tags({}, 1)}}
            << false << 0 << u"夏の日"_s << u"山田花子"_s << QStringList{u"7"_s, u"Last Song"_s}
            << QStringList{u"TitleFromFileName 1 0 7.flac"_s,
                           u"TitleFromFileName 2 0 03 - Last Song.mp3"_s};
        QTest::newRow("duplicate numbers: the order given")
            << flacs({tags(u"A"_s, 2), tags(u"B"_s, 1), tags(u"C"_s, 2)}) << false << 0
            << u"夏の日"_s << u"山田花子"_s << QStringList{u"A"_s, u"B"_s, u"C"_s}
            << QStringList{u"TrackNumberAgain 0 2 c.flac"_s, u"TrackNumberGap 0 3"_s};
        QTest::newRow("a number missing and one beyond the count: the order given")
            << flacs({tags(u"A"_s, 4), tags(u"B"_s, 0), tags(u"C"_s, 1)}) << false << 0
            << u"夏の日"_s << u"山田花子"_s << QStringList{u"A"_s, u"B"_s, u"C"_s}
            << QStringList{u"NoTrackNumber 0 0 b.flac"_s, u"TrackNumberGap 0 2"_s,
                           u"TrackNumberGap 0 3"_s};
        const QList<FileRow> twoDiscs =
            flacs({tags(u"A"_s, 1, u"X"_s, u"Y"_s, 1), tags(u"B"_s, 1, u"X"_s, u"Y"_s, 2),
                   tags(u"C"_s, 2, u"X"_s, u"Y"_s)});
        QTest::newRow("two discs refused")
            << twoDiscs << false << 0 << QString() << QString() << QStringList{}
            << QStringList{u"DiscsMixed 0 0 1, 2"_s};
        QTest::newRow("two discs, the second chosen")
            << twoDiscs << false << 2 << u"Y"_s << u"X"_s << QStringList{u"B"_s} << QStringList{};
        QTest::newRow("two discs, the first chosen: no number is disc 1")
            << twoDiscs << false << 1 << u"Y"_s << u"X"_s << QStringList{u"A"_s, u"C"_s}
            << QStringList{};
        QTest::newRow("a disc chosen that is not there")
            << twoDiscs << false << 3 << QString() << QString() << QStringList{}
            << QStringList{u"NoSuchDisc 0 3 1, 2"_s};
        QTest::newRow("a file TagLib cannot read")
            << QList<FileRow>{{u"a.flac"_s, AudioFormat::Flac, tags(u"A"_s, 1)},
                              {u"broken.mp3"_s, AudioFormat::Mp3, {}, {}, true},
                              {u"broken.wav"_s, AudioFormat::WavId3, {}, {}, true}}
            << false << 0 << u"夏の日"_s << u"山田花子"_s << QStringList{u"A"_s}
            << QStringList{u"Unreadable 0 0 broken.mp3"_s, u"Unreadable 0 0 broken.wav"_s};
        QTest::newRow("99 files read") << numbered(99, [](int i) { return 100 - i; }) << true << 0
                                       << u"Best"_s << u"Band"_s << titles(1, 99) << QStringList{};
        // 100 files are refused (before a tag is read) in tst_cdtextcommand.
    }

    void read()
    {
        QFETCH(QList<FileRow>, files);
        QFETCH(bool, asFolder);
        QFETCH(int, disc);
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        QStringList paths;
        for (const FileRow &row : files) {
            const QString path = dir.filePath(row.name);
            paths.append(path);
            if (row.garbage) {
                QVERIFY(writeFile(path, "not audio, only text long enough to look at\n"));
            } else if (!row.rawTitle.isEmpty()) {
                QVERIFY(writeMp3WithRawTitle(path, row.rawTitle));
            } else {
                QVERIFY2(writeAudioFile(path, row.format, row.tags), qPrintable(path));
            }
        }
        const AudioTexts texts = readAudioTags(asFolder ? QStringList{dir.path()} : paths,
                                               {disc ? std::optional(disc) : std::nullopt});

        QStringList notes;
        for (const AudioNote &note : texts.notes)
            notes.append(noteText(note, dir.path()));
        QTEST(notes, "notes");
        QTEST(texts.discTitle, "album");
        QTEST(texts.discPerformer, "artist");
        QTEST(QStringList(texts.titles.begin(), texts.titles.end()), "titles");
    }

    void naturalOrder_data()
    {
        QTest::addColumn<QString>("before");
        QTest::addColumn<QString>("after");
        QTest::newRow("2 before 10") << u"2.flac"_s << u"10.flac"_s;
        QTest::newRow("inside a name") << u"track2 b"_s << u"track10 a"_s;
        QTest::newRow("leading zeros count as the number") << u"09 x"_s << u"10 x"_s;
        QTest::newRow("letters: case folded") << u"apple"_s << u"Banana"_s;
        QTest::newRow("a shorter name first") << u"disc"_s << u"disc 1"_s;
        QTest::newRow("long numbers") << u"99999999999999999998"_s << u"99999999999999999999"_s;
    }

    void naturalOrder()
    {
        QFETCH(QString, before);
        QFETCH(QString, after);
        QVERIFY(naturalLess(before, after) && !naturalLess(after, before) &&
                !naturalLess(before, before));
    }
};

QTEST_GUILESS_MAIN(TestAudioTags)
#include "tst_audiotags.moc"
