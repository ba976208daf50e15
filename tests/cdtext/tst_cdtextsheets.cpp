// SPDX-License-Identifier: GPL-3.0-or-later
// CUE sheets and TOC files given with --into: what is written, what is kept,
// and what is refused.
#include "cdtexttest.h"

#include "cdtext/cuesheet.h"
#include "cdtext/tocfile.h"

using namespace sonolabe;
using namespace sonolabe::cdtext;
using namespace sonolabe::cdtext::test;

Q_DECLARE_METATYPE(sonolabe::cdtext::TocRewrite::Fault)

class TestCdTextSheets : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void rewrite_data();
    void rewrite();
    void tocFaults_data();
    void tocFaults();
};

// The disc of twoTracks(), its tracks cut to the row's count; in a TOC file
// its Japanese texts are "\203x\203X\203g" and "\217\230\213\310".
void TestCdTextSheets::rewrite_data()
{
    QTest::addColumn<int>("language"); // a CUE sheet's; -1 for a TOC file
    QTest::addColumn<int>("tracks");
    QTest::addColumn<bool>("artist"); // the English one kept
    QTest::addColumn<QByteArray>("sheet");
    QTest::addColumn<QByteArray>("expected");
    QTest::newRow("CUE: replaced, added, others kept")
        << English << 2 << true
        << QByteArray("REM COMMENT \"x\"\nPERFORMER \"Old\"\nFILE \"a.wav\" WAVE\n"
                      "  TRACK 01 AUDIO\n    title \"old\"\n    PERFORMER \"Guest\"\n"
                      "    INDEX 01 00:00:00\n  TRACK 02 AUDIO\n    INDEX 01 01:00:00\n")
        << QByteArray("REM COMMENT \"x\"\nPERFORMER \"Band\"\nTITLE \"Best\"\nFILE \"a.wav\" WAVE\n"
                      "  TRACK 01 AUDIO\n    title \"Intro\"\n    PERFORMER \"Guest\"\n"
                      "    INDEX 01 00:00:00\n  TRACK 02 AUDIO\n    TITLE \"Outro\"\n"
                      "    INDEX 01 01:00:00\n");
    QTest::newRow("CUE, Japanese: no artist removes the performer, duplicates go")
        << Japanese << 2 << true
        << QByteArray("TITLE \"a\"\nTITLE \"b\"\nPERFORMER \"P\"\nFILE \"a.wav\" WAVE\n"
                      "  TRACK 01 AUDIO\n    INDEX 01 00:00:00\n"
                      "  TRACK 02 AUDIO\n    INDEX 01 01:00:00\n")
        << "TITLE \"" + sjis(u"ベスト"_s) +
               "\"\nFILE \"a.wav\" WAVE\n  TRACK 01 AUDIO\n    TITLE \"" + sjis(u"序曲"_s) +
               "\"\n    INDEX 01 00:00:00\n  TRACK 02 AUDIO\n    TITLE \"" + sjis(u"表紙"_s) +
               "\"\n    INDEX 01 01:00:00\n";
    QTest::newRow("CUE: CR LF, byte-order mark, no line end at the end")
        << English << 2 << true
        << QByteArray("\xEF\xBB\xBF"
                      "FILE \"a.wav\" WAVE\r\n  TRACK 01 AUDIO\r\n  TRACK 02 AUDIO")
        << QByteArray("\xEF\xBB\xBFTITLE \"Best\"\r\nPERFORMER \"Band\"\r\nFILE \"a.wav\" WAVE\r\n"
                      "  TRACK 01 AUDIO\r\n    TITLE \"Intro\"\r\n"
                      "  TRACK 02 AUDIO\r\n    TITLE \"Outro\"\r\n");
    // Nothing to put the disc's lines in front of: they go at the end.
    QTest::newRow("CUE: no tracks, no FILE or TRACK line")
        << English << 0 << true << QByteArray("REM DATE 2001\nPERFORMER \"Old\"\nREM COMMENT x")
        << QByteArray("REM DATE 2001\nPERFORMER \"Band\"\nREM COMMENT x\nTITLE \"Best\"\n");

    // New blocks go after the disc type (a comment stays with its track) and
    // before a track's first statement, indented like it.
    QTest::newRow("TOC without CD-Text")
        << -1 << 1 << true
        << QByteArray("CD_DA\n\n// first\nTRACK AUDIO\n  PREGAP 0:2:0\n  FILE \"a\" 0\n")
        << QByteArray("CD_DA\nCD_TEXT {\n  LANGUAGE_MAP {\n    0 : EN\n    1 : 105\n  }\n"
                      "  LANGUAGE 0 {\n    TITLE \"Best\"\n    PERFORMER \"Band\"\n  }\n"
                      "  LANGUAGE 1 {\n    TITLE \"\\203x\\203X\\203g\"\n  }\n}\n"
                      "\n// first\nTRACK AUDIO\n  CD_TEXT {\n"
                      "    LANGUAGE 0 {\n      TITLE \"Intro\"\n      PERFORMER \"\"\n    }\n"
                      "    LANGUAGE 1 {\n      TITLE \"\\217\\230\\213\\310\"\n    }\n  }\n"
                      "  PREGAP 0:2:0\n  FILE \"a\" 0\n");
    // English is already language 1 and Japanese is added as 2; German with
    // its data, the songwriter and the track performer stay; the disc's
    // performer gets the artist, the missing title goes on top.
    QTest::newRow("TOC: another language, other items and a track performer kept")
        << -1 << 1 << true
        << QByteArray("CD_DA\nCD_TEXT {\n  LANGUAGE_MAP {\n    0 : 8\n    1 : EN\n  }\n"
                      "  LANGUAGE 0 { TITLE \"Deutsch\" SIZE_INFO { 0, 1 } }\n"
                      "  LANGUAGE 1 {\n    PERFORMER \"Old\"\n    SONGWRITER \"Writer\" // kept\n"
                      "  }\n}\nTRACK AUDIO\nCD_TEXT {\n  LANGUAGE 0 { TITLE \"Eins\" }\n"
                      "  LANGUAGE 1 {\n    TITLE \"old 1\"\n    PERFORMER \"Guest\"\n  }\n}\n"
                      "FILE \"a\" 0\n")
        << QByteArray("CD_DA\nCD_TEXT {\n  LANGUAGE_MAP {\n    0 : 8\n    1 : EN\n    2 : 105\n"
                      "  }\n  LANGUAGE 0 { TITLE \"Deutsch\" SIZE_INFO { 0, 1 } }\n"
                      "  LANGUAGE 1 {\n    TITLE \"Best\"\n    PERFORMER \"Band\"\n"
                      "    SONGWRITER \"Writer\" // kept\n  }\n"
                      "  LANGUAGE 2 {\n    TITLE \"\\203x\\203X\\203g\"\n  }\n}\n"
                      "TRACK AUDIO\nCD_TEXT {\n  LANGUAGE 0 { TITLE \"Eins\" }\n"
                      "  LANGUAGE 1 {\n    TITLE \"Intro\"\n    PERFORMER \"Guest\"\n  }\n"
                      "  LANGUAGE 2 {\n    TITLE \"\\217\\230\\213\\310\"\n  }\n}\n"
                      "FILE \"a\" 0\n");
    // Without an artist, and with no track performer that would need one on
    // the disc, the disc's old performer goes.
    QTest::newRow("TOC, no artist: the disc performer goes")
        << -1 << 1 << false
        << QByteArray("CD_TEXT {\n  LANGUAGE_MAP { 0 : EN }\n"
                      "  LANGUAGE 0 { TITLE \"Old\"\n    PERFORMER \"Old band\" }\n}\n"
                      "TRACK AUDIO\nFILE \"a\" 0")
        << QByteArray("CD_TEXT {\n  LANGUAGE_MAP { 0 : EN \n    1 : 105\n  }\n"
                      "  LANGUAGE 0 { TITLE \"Best\"\n    }\n"
                      "  LANGUAGE 1 {\n    TITLE \"\\203x\\203X\\203g\"\n  }\n}\n"
                      "TRACK AUDIO\nCD_TEXT {\n  LANGUAGE 0 {\n    TITLE \"Intro\"\n  }\n"
                      "  LANGUAGE 1 {\n    TITLE \"\\217\\230\\213\\310\"\n  }\n}\nFILE \"a\" 0");
}

void TestCdTextSheets::rewrite()
{
    QFETCH(int, language);
    QFETCH(int, tracks);
    QFETCH(bool, artist);
    QFETCH(QByteArray, sheet);
    QFETCH(QByteArray, expected);
    TitleStore store = twoTracks();
    store.dropTracksAbove(tracks);
    if (!artist)
        store.artistNames[English].clear();
    if (language < 0) {
        const TocRewrite toc = RewriteTocFile(sheet, store, DiscBlocks(store, {}));
        QCOMPARE(toc.fault, TocRewrite::None);
        QCOMPARE(toc.toc, expected);
    } else {
        const CueRewrite cue = RewriteCueSheet(sheet, store, language);
        QCOMPARE(cue.fault, CueRewrite::None);
        QCOMPARE(cue.sheet, expected);
    }
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
        << QByteArray("CD_TEXT { LANGUAGE_MAP { 0 : 1 1 : 2 2 : 3 3 : 4 4 : 5 5 : 6 6 : 7 7 : 8 } "
                      "}\n") +
               tracks
        << TocRewrite::NoFreeLanguageNumber;
}

void TestCdTextSheets::tocFaults()
{
    QFETCH(QByteArray, toc);
    QFETCH(TocRewrite::Fault, fault);
    const TitleStore store = twoTracks();
    const TocRewrite rewrite = RewriteTocFile(toc, store, DiscBlocks(store, {}));
    QCOMPARE(rewrite.fault, fault);
    QVERIFY(rewrite.toc.isEmpty());
}

QTEST_GUILESS_MAIN(TestCdTextSheets)
#include "tst_cdtextsheets.moc"
