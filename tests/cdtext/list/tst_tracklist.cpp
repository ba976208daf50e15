// SPDX-License-Identifier: GPL-3.0-or-later
// Plain track lists as pasted from a shop's page: track numbers, the artist
// form, line ends and the encodings.
#include "cdtext/cdtexttest.h"
#include "cdtext/list/tracklist.h"

class TestTrackList : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void read_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("artist");
        QTest::addColumn<QStringList>("titles");
        QTest::addColumn<int>("encoding");
        QTest::addColumn<QString>("notes");

        // A row: the list's bytes, the titles read, then the artist, the notes and
        // the encoding, if any.
        const auto row = [](const char *name, const QByteArray &bytes, const QStringList &titles,
                            const QString &artist = {}, const QString &notes = {},
                            SheetEncoding encoding = SheetEncoding::Cp932) {
            QTest::newRow(name) << bytes << artist << titles << int(encoding) << notes;
        };
        row("numbers with . ) Tab, blank lines, CR LF",
            "1. Intro\r\n\r\n  2) Song \r\n3\tOutro\r\n\r\n"_ba,
            {u"Intro"_s, u"Song"_s, u"Outro"_s});
        row("LF and a lone CR; a number before a digit stays",
            "2.0 Remix\n10. Ten\r99 Luftballons"_ba,
            {u"2.0 Remix"_s, u"Ten"_s, u"99 Luftballons"_s});
        row("Artist - Title on every line, one artist", "01. Band - Intro\nBand - Song - Live\n"_ba,
            {u"Intro"_s, u"Song - Live"_s}, u"Band"_s);
        row("Artist / Title on every line", "Band / Intro\nBand / Song\n"_ba,
            {u"Intro"_s, u"Song"_s}, u"Band"_s);
        row("Artist - Title on every line, artists differ: lines whole",
            "Ann - Intro\nBob - Song\nAnn - Outro\n"_ba,
            {u"Ann - Intro"_s, u"Bob - Song"_s, u"Ann - Outro"_s}, {}, u"ArtistsDiffer 2"_s);
        row("Artist - Title on some lines: lines whole", "Band - Intro\nSong\n"_ba,
            {u"Band - Intro"_s, u"Song"_s});
        row("separators without blanks are the title's", "Jay-Z\nAC/DC\n"_ba,
            {u"Jay-Z"_s, u"AC/DC"_s});
        row("UTF-8 with BOM, Japanese, full-width numbers",
            u"\uFEFF１．山田花子 - 夏の日\r\n２）山田花子 - 冬の朝\r\n"_s.toUtf8(),
            {u"夏の日"_s, u"冬の朝"_s}, u"山田花子"_s, {}, SheetEncoding::Utf8);
        row("UTF-8 without BOM", u"Sigur Rós - Ágætis byrjun\n"_s.toUtf8(), {u"Ágætis byrjun"_s},
            u"Sigur Rós"_s, {}, SheetEncoding::Utf8);
        row("code page 932", sjis(u"1. 夏の日\r\n2. 表ソ\r\n"_s), {u"夏の日"_s, u"表ソ"_s}, {},
            u"EncodingGuessed 1"_s);
        row("Windows-1252", "Sigur R\xF3s - \xC1g\xE6tis byrjun \x96 Live\n"_ba,
            {u"Ágætis byrjun – Live"_s}, u"Sigur Rós"_s, u"EncodingGuessed 2"_s,
            SheetEncoding::Windows1252);
        row("99 lines read", "x\n"_ba.repeated(99), QStringList(99, u"x"_s));
        row("100 lines refused", "x\n"_ba.repeated(100), {}, {}, u"TooManyTracks 100"_s);
        row("nothing", "\r\n \r\n"_ba, {});
    }

    void read()
    {
        QFETCH(QByteArray, bytes);
        const TrackList list = readTrackList(bytes);
        QStringList notes;
        for (const TrackListNote &note : list.notes) {
            static const char *const kinds[] = {"EncodingGuessed", "TooManyTracks",
                                                "ArtistsDiffer"};
            notes.append(QString::fromLatin1(kinds[note.kind]) + u' ' +
                         QString::number(note.value));
        }
        QTEST(notes.join(u"; "_s), "notes");
        QTEST(int(list.encoding), "encoding");
        QTEST(list.artist, "artist");
        QTEST(QStringList(list.titles.begin(), list.titles.end()), "titles");
    }
};

QTEST_GUILESS_MAIN(TestTrackList)
#include "tst_tracklist.moc"
