// SPDX-License-Identifier: GPL-3.0-or-later
// Input sheets, CUE sheets and TOC files: what is written, what is kept, and
// what is refused.
#include "cdtexttest.h"

#include "cdtext/cuesheet.h"
#include "cdtext/tocfile.h"
#include "cdtext/v07t.h"
#include "model/codepage932.h"

#include <QTest>

using namespace sonolabe;
using namespace sonolabe::cdtext;
using namespace Qt::Literals::StringLiterals;

Q_DECLARE_METATYPE(sonolabe::cdtext::TocRewrite::Fault)

namespace {

QByteArray sjis(const QString &text)
{
    return Cp932Encoder::instance().encode(text);
}

} // namespace

class TestCdTextSheets : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void v07tSheets();
    void cueRewrite_data();
    void cueRewrite();
    void tocString_data();
    void tocString();
    void tocRewrite_data();
    void tocRewrite();
    void tocFaults_data();
    void tocFaults();
};

void TestCdTextSheets::v07tSheets()
{
    const V07tSheets sheets = WriteV07tSheets(DiscBlocks(test::twoTracks(), {}));
    QVERIFY(sheets.ok());
    const QByteArray expected = "Input Sheet Version = 0.7T\n"
                                "Text Code           = 8859\n"
                                "Language Code       = English\n"
                                "Album Title         = Best\n"
                                "Artist Name         = Band\n"
                                "First Track Number  = 1\n"
                                "Last Track Number   = 2\n"
                                "Track 01 Title      = Intro\n"
                                "Track 02 Title      = Outro\n"
                                "Input Sheet Version = 0.7T\n"
                                "Text Code           = MS-JIS\n"
                                "Language Code       = Japanese\n"
                                "Album Title         = " +
                                sjis(u"ベスト"_s) +
                                "\n"
                                "First Track Number  = 1\n"
                                "Last Track Number   = 2\n"
                                "Track 01 Title      = " +
                                sjis(u"序曲"_s) + "\nTrack 02 Title      = " + sjis(u"表紙"_s) +
                                "\n";
    QCOMPARE(sheets.bytes, expected);
}

void TestCdTextSheets::cueRewrite_data()
{
    QTest::addColumn<int>("language");
    QTest::addColumn<int>("tracks");
    QTest::addColumn<QByteArray>("sheet");
    QTest::addColumn<QByteArray>("expected");
    QTest::newRow("replaced, added, others kept")
        << English << 2
        << QByteArray("REM COMMENT \"x\"\nPERFORMER \"Old\"\nFILE \"a.wav\" WAVE\n"
                      "  TRACK 01 AUDIO\n    title \"old\"\n    PERFORMER \"Guest\"\n"
                      "    INDEX 01 00:00:00\n"
                      "  TRACK 02 AUDIO\n    INDEX 01 01:00:00\n")
        << QByteArray("REM COMMENT \"x\"\nPERFORMER \"Band\"\nTITLE \"Best\"\nFILE \"a.wav\" WAVE\n"
                      "  TRACK 01 AUDIO\n    title \"Intro\"\n    PERFORMER \"Guest\"\n"
                      "    INDEX 01 00:00:00\n"
                      "  TRACK 02 AUDIO\n    TITLE \"Outro\"\n    INDEX 01 01:00:00\n");
    QTest::newRow("Japanese: no artist removes the performer, duplicates go")
        << Japanese << 2
        << QByteArray("TITLE \"a\"\nTITLE \"b\"\nPERFORMER \"P\"\nFILE \"a.wav\" WAVE\n"
                      "  TRACK 01 AUDIO\n    INDEX 01 00:00:00\n"
                      "  TRACK 02 AUDIO\n    INDEX 01 01:00:00\n")
        << "TITLE \"" + sjis(u"ベスト"_s) +
               "\"\nFILE \"a.wav\" WAVE\n  TRACK 01 AUDIO\n    TITLE \"" + sjis(u"序曲"_s) +
               "\"\n    INDEX 01 00:00:00\n  TRACK 02 AUDIO\n    TITLE \"" + sjis(u"表紙"_s) +
               "\"\n    INDEX 01 01:00:00\n";
    QTest::newRow("CR LF, byte-order mark, no line end at the end")
        << English << 2
        << QByteArray("\xEF\xBB\xBF"
                      "FILE \"a.wav\" WAVE\r\n  TRACK 01 AUDIO\r\n  TRACK 02 AUDIO")
        << QByteArray("\xEF\xBB\xBFTITLE \"Best\"\r\nPERFORMER \"Band\"\r\nFILE \"a.wav\" WAVE\r\n"
                      "  TRACK 01 AUDIO\r\n    TITLE \"Intro\"\r\n"
                      "  TRACK 02 AUDIO\r\n    TITLE \"Outro\"\r\n");
    // Nothing to put the disc's lines in front of: they go at the end.
    QTest::newRow("no tracks, no FILE or TRACK line")
        << English << 0 << QByteArray("REM DATE 2001\nPERFORMER \"Old\"\nREM COMMENT x")
        << QByteArray("REM DATE 2001\nPERFORMER \"Band\"\nREM COMMENT x\nTITLE \"Best\"\n");
}

void TestCdTextSheets::cueRewrite()
{
    QFETCH(int, language);
    QFETCH(int, tracks);
    QFETCH(QByteArray, sheet);
    QFETCH(QByteArray, expected);
    TitleStore store = test::twoTracks();
    store.dropTracksAbove(tracks);
    const CueRewrite cue = RewriteCueSheet(sheet, store, language);
    QCOMPARE(cue.fault, CueRewrite::None);
    QCOMPARE(cue.sheet, expected);
}

void TestCdTextSheets::tocString_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QByteArray>("string");
    QTest::newRow("double quote") << QByteArray("12\" Mix") << QByteArray("\"12\\\" Mix\"");
    QTest::newRow("backslash") << QByteArray("a\\b") << QByteArray("\"a\\134b\"");
    QTest::newRow("表ソ") << sjis(u"表ソ"_s) << QByteArray("\"\\225\\134\\203\\134\"");
    QTest::newRow("control and DEL") << QByteArray("\n\x7F") << QByteArray("\"\\012\\177\"");
}

void TestCdTextSheets::tocString()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QByteArray, string);
    QCOMPARE(TocString(bytes), string);
}

// The first track of test::twoTracks(). In a TOC file its Japanese texts
// are "\203x\203X\203g" and "\217\230\213\310".
void TestCdTextSheets::tocRewrite_data()
{
    QTest::addColumn<bool>("englishArtist");
    QTest::addColumn<QByteArray>("toc");
    QTest::addColumn<QByteArray>("expected");

    // New blocks go after the disc type (a comment stays with its track) and
    // before a track's first statement, indented like it.
    QTest::newRow("sheet without CD-Text")
        << true << QByteArray("CD_DA\n\n// first\nTRACK AUDIO\n  PREGAP 0:2:0\n  FILE \"a\" 0\n")
        << QByteArray("CD_DA\n"
                      "CD_TEXT {\n"
                      "  LANGUAGE_MAP {\n    0 : EN\n    1 : 105\n  }\n"
                      "  LANGUAGE 0 {\n    TITLE \"Best\"\n    PERFORMER \"Band\"\n  }\n"
                      "  LANGUAGE 1 {\n    TITLE \"\\203x\\203X\\203g\"\n  }\n"
                      "}\n"
                      "\n// first\nTRACK AUDIO\n"
                      "  CD_TEXT {\n"
                      "    LANGUAGE 0 {\n      TITLE \"Intro\"\n      PERFORMER \"\"\n    }\n"
                      "    LANGUAGE 1 {\n      TITLE \"\\217\\230\\213\\310\"\n    }\n"
                      "  }\n"
                      "  PREGAP 0:2:0\n  FILE \"a\" 0\n");

    // English is already language 1 and Japanese is added as 2; German, the
    // songwriter and the track performer stay.
    QTest::newRow("another language, other items and a track performer kept")
        << true
        << QByteArray("CD_DA\n"
                      "CD_TEXT {\n"
                      "  LANGUAGE_MAP {\n    0 : 8\n    1 : EN\n  }\n"
                      "  LANGUAGE 0 { TITLE \"Deutsch\" }\n"
                      "  LANGUAGE 1 {\n    TITLE \"Old\"\n    SONGWRITER \"Writer\" // kept\n  }\n"
                      "}\n"
                      "TRACK AUDIO\n"
                      "CD_TEXT {\n"
                      "  LANGUAGE 0 { TITLE \"Eins\" }\n"
                      "  LANGUAGE 1 {\n    TITLE \"old 1\"\n    PERFORMER \"Guest\"\n  }\n"
                      "}\n"
                      "FILE \"a\" 0\n")
        << QByteArray("CD_DA\n"
                      "CD_TEXT {\n"
                      "  LANGUAGE_MAP {\n    0 : 8\n    1 : EN\n    2 : 105\n  }\n"
                      "  LANGUAGE 0 { TITLE \"Deutsch\" }\n"
                      "  LANGUAGE 1 {\n    PERFORMER \"Band\"\n    TITLE \"Best\"\n"
                      "    SONGWRITER \"Writer\" // kept\n  }\n"
                      "  LANGUAGE 2 {\n    TITLE \"\\203x\\203X\\203g\"\n  }\n"
                      "}\n"
                      "TRACK AUDIO\n"
                      "CD_TEXT {\n"
                      "  LANGUAGE 0 { TITLE \"Eins\" }\n"
                      "  LANGUAGE 1 {\n    TITLE \"Intro\"\n    PERFORMER \"Guest\"\n  }\n"
                      "  LANGUAGE 2 {\n    TITLE \"\\217\\230\\213\\310\"\n  }\n"
                      "}\n"
                      "FILE \"a\" 0\n");

    // Without an artist, and with no track performer that would need one on
    // the disc, the disc's old performer goes.
    QTest::newRow("no artist: the disc performer goes")
        << false
        << QByteArray("CD_TEXT {\n  LANGUAGE_MAP { 0 : EN }\n"
                      "  LANGUAGE 0 { TITLE \"Old\"\n    PERFORMER \"Old band\" }\n}\n"
                      "TRACK AUDIO\nFILE \"a\" 0")
        << QByteArray("CD_TEXT {\n  LANGUAGE_MAP { 0 : EN \n    1 : 105\n  }\n"
                      "  LANGUAGE 0 { TITLE \"Best\"\n    }\n"
                      "  LANGUAGE 1 {\n    TITLE \"\\203x\\203X\\203g\"\n  }\n}\n"
                      "TRACK AUDIO\n"
                      "CD_TEXT {\n  LANGUAGE 0 {\n    TITLE \"Intro\"\n  }\n"
                      "  LANGUAGE 1 {\n    TITLE \"\\217\\230\\213\\310\"\n  }\n}\n"
                      "FILE \"a\" 0");
}

void TestCdTextSheets::tocRewrite()
{
    QFETCH(bool, englishArtist);
    QFETCH(QByteArray, toc);
    QFETCH(QByteArray, expected);
    TitleStore store = test::twoTracks();
    store.trackCount = 1;
    if (!englishArtist)
        store.artistNames[English].clear();
    const TocRewrite rewrite = RewriteTocFile(toc, store, DiscBlocks(store, {}));
    QCOMPARE(rewrite.fault, TocRewrite::None);
    QCOMPARE(rewrite.toc, expected);
}

void TestCdTextSheets::tocFaults_data()
{
    QTest::addColumn<QByteArray>("toc");
    QTest::addColumn<TocRewrite::Fault>("fault");
    const QByteArray tracks = "TRACK AUDIO\nFILE \"a\" 0\nTRACK AUDIO\nFILE \"a\" 0\n";
    QTest::newRow("three tracks") << tracks + "TRACK AUDIO\nFILE \"a\" 0\n"
                                  << TocRewrite::TrackCount;
    QTest::newRow("string never ends")
        << QByteArray("CD_DA\nCATALOG \"123\n") + tracks << TocRewrite::NotUnderstood;
    QTest::newRow("language number mapped twice")
        << QByteArray("CD_TEXT { LANGUAGE_MAP { 0 : EN 0 : 105 } }\n") + tracks
        << TocRewrite::NotUnderstood;
    QTest::newRow("all language numbers taken")
        << QByteArray("CD_TEXT {\n  LANGUAGE_MAP { 0 : 1 1 : 2 2 : 3 3 : 4 4 : 5 5 : 6 6 : 7 "
                      "7 : 8 }\n}\n") +
               tracks
        << TocRewrite::NoFreeLanguageNumber;
}

void TestCdTextSheets::tocFaults()
{
    QFETCH(QByteArray, toc);
    QFETCH(TocRewrite::Fault, fault);
    const TitleStore store = test::twoTracks();
    const TocRewrite rewrite = RewriteTocFile(toc, store, DiscBlocks(store, {}));
    QCOMPARE(rewrite.fault, fault);
    QVERIFY(rewrite.toc.isEmpty());
}

QTEST_GUILESS_MAIN(TestCdTextSheets)
#include "tst_cdtextsheets.moc"
