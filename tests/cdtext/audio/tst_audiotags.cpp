// SPDX-License-Identifier: GPL-3.0-or-later
// The texts of a disc read from its audio files' tags: every container
// TagLib writes, the track order, the one album and artist, titles taken
// from file names, and what is refused.
#include "cdtext/audio/audiotags.h"
#include "cdtext/audio/silentaudio.h"
#include "cdtext/cdtexttest.h"
#include "common/files.h"

#include <QTemporaryDir>


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
        // A row: the files, the album, artist and titles read, the notes; the
        // disc chosen, and whether the folder is read.
        const auto row = [](const char *name, const QList<FileRow> &files, const QString &album,
                            const QString &artist, const QStringList &titles,
                            const QStringList &notes = {}, int disc = 0, bool asFolder = false) {
            QTest::newRow(name) << files << asFolder << disc << album << artist << titles << notes;
        };
        row("every container, Japanese, by track number",
            {{u"a.flac"_s, AudioFormat::Flac, tags(u"夏の終わり"_s, 3)},
             {u"b.mp3"_s, AudioFormat::Mp3, tags(u"冬の朝"_s, 1)},
             {u"c.ogg"_s, AudioFormat::OggVorbis, tags(u"春風"_s, 2)},
             {u"d.wav"_s, AudioFormat::WavId3, tags(u"秋桜"_s, 4)},
             {u"e.wav"_s, AudioFormat::WavInfo, tags(u"雨音"_s, 5)},
             {u"f.aiff"_s, AudioFormat::Aiff, tags(u"雪解け"_s, 6)},
             {u"g.m4a"_s, AudioFormat::M4a, tags(u"星空"_s, 7)}},
            u"夏の日"_s, u"山田花子"_s,
            {u"冬の朝"_s, u"春風"_s, u"夏の終わり"_s, u"秋桜"_s, u"雨音"_s, u"雪解け"_s,
             u"星空"_s});
        row("code page 932 in an ID3v2 ISO-8859-1 frame",
            {{u"a.mp3"_s, AudioFormat::Mp3, {}, sjis(u"夏の日の恋"_s)}}, {}, {}, {u"夏の日の恋"_s});
        row("album artist over differing artists",
            flacs({{u"A"_s, u"Ann"_s, u"Various"_s, u"Mix"_s, 1},
                   {u"B"_s, u"Bob"_s, u"Various"_s, u"Mix"_s, 2}}),
            u"Mix"_s, u"Various"_s, {u"A"_s, u"B"_s});
        row("mixed artists: the most common",
            flacs(
                {tags(u"A"_s, 1, u"Bob"_s), tags(u"B"_s, 2, u"Ann"_s), tags(u"C"_s, 3, u"Ann"_s)}),
            u"夏の日"_s, u"Ann"_s, {u"A"_s, u"B"_s, u"C"_s}, {u"ArtistsDiffer 0 2 Ann"_s});
        row("albums differ: the most common, the first on a tie",
            flacs({tags(u"A"_s, 1, u"X"_s, u"One"_s), tags(u"B"_s, 2, u"X"_s, u"Two"_s)}), u"One"_s,
            u"X"_s, {u"A"_s, u"B"_s}, {u"AlbumsDiffer 0 2 One"_s});
        row("numbers 1 to 12 out of order", numbered(12, [](int i) { return (i * 5) % 12 + 1; }),
            u"Best"_s, u"Band"_s, titles(1, 12));
        row("a folder: 2 before 10, titles from the file names",
            {{u"10 Outro.flac"_s, AudioFormat::Flac, {}},
             {u"02. Song.flac"_s, AudioFormat::Flac, {}},
             {u"1-01 Intro.flac"_s, AudioFormat::Flac, {}},
             {u"cover.jpg"_s, AudioFormat::Flac, {}, {}, true}},
            {}, {}, {u"Intro"_s, u"Song"_s, u"Outro"_s},
            {u"NoTrackNumber 0 0 1-01 Intro.flac"_s, u"NoTrackNumber 0 0 02. Song.flac"_s,
             u"NoTrackNumber 0 0 10 Outro.flac"_s, u"TitleFromFileName 1 0 1-01 Intro.flac"_s,
             u"TitleFromFileName 2 0 02. Song.flac"_s, u"TitleFromFileName 3 0 10 Outro.flac"_s},
            0, true);
        row("missing title, a name that is only a number",
            {{u"03 - Last Song.mp3"_s, AudioFormat::Mp3, tags({}, 2)},
             {u"7.flac"_s, AudioFormat::Flac, tags({}, 1)}},
            u"夏の日"_s, u"山田花子"_s, {u"7"_s, u"Last Song"_s},
            {u"TitleFromFileName 1 0 7.flac"_s, u"TitleFromFileName 2 0 03 - Last Song.mp3"_s});
        row("duplicate numbers: the order given",
            flacs({tags(u"A"_s, 2), tags(u"B"_s, 1), tags(u"C"_s, 2)}), u"夏の日"_s, u"山田花子"_s,
            {u"A"_s, u"B"_s, u"C"_s}, {u"TrackNumberAgain 0 2 c.flac"_s, u"TrackNumberGap 0 3"_s});
        row("a number missing and one beyond the count: the order given",
            flacs({tags(u"A"_s, 4), tags(u"B"_s, 0), tags(u"C"_s, 1)}), u"夏の日"_s, u"山田花子"_s,
            {u"A"_s, u"B"_s, u"C"_s},
            {u"NoTrackNumber 0 0 b.flac"_s, u"TrackNumberGap 0 2"_s, u"TrackNumberGap 0 3"_s});
        const QList<FileRow> twoDiscs =
            flacs({tags(u"A"_s, 1, u"X"_s, u"Y"_s, 1), tags(u"B"_s, 1, u"X"_s, u"Y"_s, 2),
                   tags(u"C"_s, 2, u"X"_s, u"Y"_s)});
        row("two discs refused", twoDiscs, {}, {}, {}, {u"DiscsMixed 0 0 1, 2"_s});
        row("two discs, the second chosen", twoDiscs, u"Y"_s, u"X"_s, {u"B"_s}, {}, 2);
        row("two discs, the first chosen: no number is disc 1", twoDiscs, u"Y"_s, u"X"_s,
            {u"A"_s, u"C"_s}, {}, 1);
        row("a disc chosen that is not there", twoDiscs, {}, {}, {}, {u"NoSuchDisc 0 3 1, 2"_s}, 3);
        row("a file TagLib cannot read",
            {{u"a.flac"_s, AudioFormat::Flac, tags(u"A"_s, 1)},
             {u"broken.mp3"_s, AudioFormat::Mp3, {}, {}, true},
             {u"broken.wav"_s, AudioFormat::WavId3, {}, {}, true}},
            u"夏の日"_s, u"山田花子"_s, {u"A"_s},
            {u"Unreadable 0 0 broken.mp3"_s, u"Unreadable 0 0 broken.wav"_s});
        row("99 files read", numbered(99, [](int i) { return 100 - i; }), u"Best"_s, u"Band"_s,
            titles(1, 99), {}, 0, true);
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
