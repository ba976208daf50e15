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

        const int utf8 = int(SheetEncoding::Utf8), cp932 = int(SheetEncoding::Cp932),
                  latin = int(SheetEncoding::Windows1252);
        QTest::newRow("numbers with . ) Tab, blank lines, CR LF")
            << "1. Intro\r\n\r\n  2) Song \r\n3\tOutro\r\n\r\n"_ba << QString()
            << QStringList{u"Intro"_s, u"Song"_s, u"Outro"_s} << cp932 << QString();
        QTest::newRow("LF and a lone CR; a number before a digit stays")
            << "2.0 Remix\n10. Ten\r99 Luftballons"_ba << QString()
            << QStringList{u"2.0 Remix"_s, u"Ten"_s, u"99 Luftballons"_s} << cp932 << QString();
        QTest::newRow("Artist - Title on every line, one artist")
            << "01. Band - Intro\nBand - Song - Live\n"_ba << u"Band"_s
            << QStringList{u"Intro"_s, u"Song - Live"_s} << cp932 << QString();
        QTest::newRow("Artist / Title on every line")
            << "Band / Intro\nBand / Song\n"_ba << u"Band"_s << QStringList{u"Intro"_s, u"Song"_s}
            << cp932 << QString();
        QTest::newRow("Artist - Title on every line, artists differ: lines whole")
            << "Ann - Intro\nBob - Song\nAnn - Outro\n"_ba << QString()
            << QStringList{u"Ann - Intro"_s, u"Bob - Song"_s, u"Ann - Outro"_s} << cp932
            << u"ArtistsDiffer 2"_s;
        QTest::newRow("Artist - Title on some lines: lines whole")
            << "Band - Intro\nSong\n"_ba << QString() << QStringList{u"Band - Intro"_s, u"Song"_s}
            << cp932 << QString();
        QTest::newRow("separators without blanks are the title's")
            << "Jay-Z\nAC/DC\n"_ba << QString() << QStringList{u"Jay-Z"_s, u"AC/DC"_s} << cp932
            << QString();
        QTest::newRow("UTF-8 with BOM, Japanese, full-width numbers")
            << u"\uFEFF１．山田花子 - 夏の日\r\n２）山田花子 - 冬の朝\r\n"_s.toUtf8()
            << u"山田花子"_s << QStringList{u"夏の日"_s, u"冬の朝"_s} << utf8 << QString();
        QTest::newRow("UTF-8 without BOM")
            << u"Sigur Rós - Ágætis byrjun\n"_s.toUtf8() << u"Sigur Rós"_s
            << QStringList{u"Ágætis byrjun"_s} << utf8 << QString();
        QTest::newRow("code page 932")
            << sjis(u"1. 夏の日\r\n2. 表ソ\r\n"_s) << QString()
            << QStringList{u"夏の日"_s, u"表ソ"_s} << cp932 << u"EncodingGuessed 1"_s;
        QTest::newRow("Windows-1252")
            << "Sigur R\xF3s - \xC1g\xE6tis byrjun \x96 Live\n"_ba << u"Sigur Rós"_s
            << QStringList{u"Ágætis byrjun – Live"_s} << latin << u"EncodingGuessed 2"_s;
        QTest::newRow("99 lines read")
            << "x\n"_ba.repeated(99) << QString() << QStringList(99, u"x"_s) << cp932 << QString();
        QTest::newRow("100 lines refused") << "x\n"_ba.repeated(100) << QString() << QStringList{}
                                           << cp932 << u"TooManyTracks 100"_s;
        QTest::newRow("nothing") << "\r\n \r\n"_ba << QString() << QStringList{} << cp932
                                 << QString();
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
