// Input sheets, CUE sheets and TOC files: what is written, what is kept, and
// what is refused.
#include "cdtext/cuesheet.h"
#include "cdtext/tocfile.h"
#include "cdtext/v07t.h"
#include "model/codepage932.h"

#include <QTest>

using namespace sonolabe;
using namespace sonolabe::cdtext;
using namespace Qt::Literals::StringLiterals;

Q_DECLARE_METATYPE(sonolabe::cdtext::CueRewrite::Fault)
Q_DECLARE_METATYPE(sonolabe::cdtext::TocRewrite::Fault)

namespace {

QByteArray sjis(const QString &text)
{
    return Cp932Encoder::instance().encode(text);
}

// Two tracks: English with an artist, Japanese without one.
TitleStore twoTracks()
{
    TitleStore store;
    store.TrackCount = 2;
    store.DiscNames[English] = u"Best"_s;
    store.ArtistNames[English] = u"Band"_s;
    store.TrackTitles(English, 1) = u"Intro"_s;
    store.TrackTitles(English, 2) = u"Outro"_s;
    store.DiscNames[Japanese] = u"ベスト"_s;
    store.TrackTitles(Japanese, 1) = u"序曲"_s;
    store.TrackTitles(Japanese, 2) = u"表紙"_s;
    return store;
}

TitleStore storeFor(const QString &variant)
{
    TitleStore store = twoTracks();
    if (variant == u"no English artist") {
        store.ArtistNames[English].clear();
    } else if (variant == u"Japanese only") {
        store.DiscNames[English].clear();
        store.ArtistNames[English].clear();
        store.TrackTitles(English, 1).clear();
        store.TrackTitles(English, 2).clear();
        store.ArtistNames[Japanese] = u"楽団ソ"_s;
    }
    return store;
}

} // namespace

class TestCdTextSheets : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void v07tSheets();
    void v07tRefusesLeadingSpace();
    void cueRewrite_data();
    void cueRewrite();
    void cueFaults_data();
    void cueFaults();
    void tocString_data();
    void tocString();
    void tocRewrite_data();
    void tocRewrite();
    void tocFaults_data();
    void tocFaults();
};

void TestCdTextSheets::v07tSheets()
{
    const V07tSheets sheets = WriteV07tSheets(DiscBlocks(twoTracks(), {}));
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

// The sheet reader skips the blanks after "=": a text that starts with a
// space would lose it. Japanese texts are written full-width and keep it.
void TestCdTextSheets::v07tRefusesLeadingSpace()
{
    TitleStore store = twoTracks();
    store.TrackTitles(English, 2) = u"  Outro"_s;
    store.TrackTitles(Japanese, 1) = u" 序曲"_s;
    const V07tSheets english = WriteV07tSheets(DiscBlocks(store, {}));
    QVERIFY(!english.ok());
    QVERIFY(english.bytes.isEmpty());
    QCOMPARE(*english.leadingSpace, (TextRef{English, TextRef::TrackTitle, 2}));
    QVERIFY(WriteV07tSheets(DiscBlocks(store, {false, true})).ok());
}

void TestCdTextSheets::cueRewrite_data()
{
    QTest::addColumn<int>("language");
    QTest::addColumn<QByteArray>("sheet");
    QTest::addColumn<QByteArray>("expected");
    QTest::newRow("replaced, added, others kept") << English
                                                  << QByteArray("REM COMMENT \"x\"\n"
                                                                "PERFORMER \"Old\"\n"
                                                                "FILE \"a.wav\" WAVE\n"
                                                                "  TRACK 01 AUDIO\n"
                                                                "    title \"old\"\n"
                                                                "    PERFORMER \"Guest\"\n"
                                                                "    INDEX 01 00:00:00\n"
                                                                "  TRACK 02 AUDIO\n"
                                                                "    INDEX 01 01:00:00\n")
                                                  << QByteArray("REM COMMENT \"x\"\n"
                                                                "PERFORMER \"Band\"\n"
                                                                "TITLE \"Best\"\n"
                                                                "FILE \"a.wav\" WAVE\n"
                                                                "  TRACK 01 AUDIO\n"
                                                                "    title \"Intro\"\n"
                                                                "    PERFORMER \"Guest\"\n"
                                                                "    INDEX 01 00:00:00\n"
                                                                "  TRACK 02 AUDIO\n"
                                                                "    TITLE \"Outro\"\n"
                                                                "    INDEX 01 01:00:00\n");
    QTest::newRow("Japanese: no artist removes the performer, duplicates go")
        << Japanese
        << QByteArray("TITLE \"a\"\nTITLE \"b\"\nPERFORMER \"P\"\nFILE \"a.wav\" WAVE\n"
                      "  TRACK 01 AUDIO\n    INDEX 01 00:00:00\n"
                      "  TRACK 02 AUDIO\n    INDEX 01 01:00:00\n")
        << "TITLE \"" + sjis(u"ベスト"_s) +
               "\"\nFILE \"a.wav\" WAVE\n  TRACK 01 AUDIO\n    TITLE \"" + sjis(u"序曲"_s) +
               "\"\n    INDEX 01 00:00:00\n  TRACK 02 AUDIO\n    TITLE \"" + sjis(u"表紙"_s) +
               "\"\n    INDEX 01 01:00:00\n";
    QTest::newRow("CR LF, byte-order mark, no line end at the end")
        << English
        << QByteArray("\xEF\xBB\xBF"
                      "FILE \"a.wav\" WAVE\r\n  TRACK 01 AUDIO\r\n  TRACK 02 AUDIO")
        << QByteArray("\xEF\xBB\xBFTITLE \"Best\"\r\nPERFORMER \"Band\"\r\nFILE \"a.wav\" WAVE\r\n"
                      "  TRACK 01 AUDIO\r\n    TITLE \"Intro\"\r\n"
                      "  TRACK 02 AUDIO\r\n    TITLE \"Outro\"\r\n");
}

void TestCdTextSheets::cueRewrite()
{
    QFETCH(int, language);
    QFETCH(QByteArray, sheet);
    QFETCH(QByteArray, expected);
    const CueRewrite cue = RewriteCueSheet(sheet, twoTracks(), language);
    QCOMPARE(cue.fault, CueRewrite::None);
    QCOMPARE(cue.sheet, expected);
}

void TestCdTextSheets::cueFaults_data()
{
    QTest::addColumn<int>("language");
    QTest::addColumn<int>("track"); // whose title is set
    QTest::addColumn<QString>("title");
    QTest::addColumn<int>("sheetTracks");
    QTest::addColumn<CueRewrite::Fault>("fault");
    QTest::newRow("sheet has three tracks")
        << English << 1 << u"x"_s << 3 << CueRewrite::TrackCount;
    QTest::newRow("sheet has one track") << English << 1 << u"x"_s << 1 << CueRewrite::TrackCount;
    QTest::newRow("double quote") << English << 2 << u"12\" Mix"_s << 2 << CueRewrite::Quote;
    QTest::newRow("ends in backslash")
        << English << 1 << u"a\\"_s << 2 << CueRewrite::BackslashAtEnd;
    QTest::newRow("ends in ソ") << Japanese << 2 << u"ソ"_s << 2 << CueRewrite::BackslashAtEnd;
    QTest::newRow("ends in 表") << Japanese << 1 << u"一覧表"_s << 2 << CueRewrite::BackslashAtEnd;
    QTest::newRow("表 inside is fine") << Japanese << 1 << u"表紙"_s << 2 << CueRewrite::None;
}

void TestCdTextSheets::cueFaults()
{
    QFETCH(int, language);
    QFETCH(int, track);
    QFETCH(QString, title);
    QFETCH(int, sheetTracks);
    QFETCH(CueRewrite::Fault, fault);
    TitleStore store = twoTracks();
    store.TrackTitles(language, track) = title;
    QByteArray sheet = "FILE \"a.wav\" WAVE\n";
    for (int t = 1; t <= sheetTracks; ++t)
        sheet += "  TRACK 0" + QByteArray::number(t) + " AUDIO\n    INDEX 01 00:00:00\n";
    const CueRewrite cue = RewriteCueSheet(sheet, store, language);
    QCOMPARE(cue.fault, fault);
    QCOMPARE(cue.sheetTracks, sheetTracks);
    if (fault == CueRewrite::Quote || fault == CueRewrite::BackslashAtEnd)
        QCOMPARE(cue.text, (TextRef{language, TextRef::TrackTitle, track}));
    QCOMPARE(cue.sheet.isEmpty(), fault != CueRewrite::None);
}

void TestCdTextSheets::tocString_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QByteArray>("string");
    QTest::newRow("plain") << QByteArray("Best of") << QByteArray("\"Best of\"");
    QTest::newRow("double quote") << QByteArray("12\" Mix") << QByteArray("\"12\\\" Mix\"");
    QTest::newRow("backslash") << QByteArray("a\\b") << QByteArray("\"a\\134b\"");
    QTest::newRow("表ソ") << sjis(u"表ソ"_s) << QByteArray("\"\\225\\134\\203\\134\"");
    QTest::newRow("control and DEL") << QByteArray("\n\x7F") << QByteArray("\"\\012\\177\"");
    QTest::newRow("empty") << QByteArray() << QByteArray("\"\"");
}

void TestCdTextSheets::tocString()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QByteArray, string);
    QCOMPARE(TocString(bytes), string);
}

void TestCdTextSheets::tocRewrite_data()
{
    QTest::addColumn<QString>("variant");
    QTest::addColumn<QByteArray>("toc");
    QTest::addColumn<QByteArray>("expected");

    QTest::newRow("sheet without CD-Text") << u"both"_s
                                           << QByteArray("CD_DA\n"
                                                         "\n"
                                                         "// first\n"
                                                         "TRACK AUDIO\n"
                                                         "FILE \"a.wav\" 0\n"
                                                         "TRACK AUDIO\n"
                                                         "  PREGAP 0:2:0\n"
                                                         "  FILE \"a.wav\" 0\n")
                                           << QByteArray("CD_DA\n"
                                                         "CD_TEXT {\n"
                                                         "  LANGUAGE_MAP {\n"
                                                         "    0 : EN\n"
                                                         "    1 : 105\n"
                                                         "  }\n"
                                                         "  LANGUAGE 0 {\n"
                                                         "    TITLE \"Best\"\n"
                                                         "    PERFORMER \"Band\"\n"
                                                         "  }\n"
                                                         "  LANGUAGE 1 {\n"
                                                         "    TITLE \"\\203x\\203X\\203g\"\n"
                                                         "  }\n"
                                                         "}\n"
                                                         "\n"
                                                         "// first\n"
                                                         "TRACK AUDIO\n"
                                                         "CD_TEXT {\n"
                                                         "  LANGUAGE 0 {\n"
                                                         "    TITLE \"Intro\"\n"
                                                         "    PERFORMER \"\"\n"
                                                         "  }\n"
                                                         "  LANGUAGE 1 {\n"
                                                         "    TITLE \"\\217\\230\\213\\310\"\n"
                                                         "  }\n"
                                                         "}\n"
                                                         "FILE \"a.wav\" 0\n"
                                                         "TRACK AUDIO\n"
                                                         "  CD_TEXT {\n"
                                                         "    LANGUAGE 0 {\n"
                                                         "      TITLE \"Outro\"\n"
                                                         "      PERFORMER \"\"\n"
                                                         "    }\n"
                                                         "    LANGUAGE 1 {\n"
                                                         "      TITLE \"\\225\\134\\216\\206\"\n"
                                                         "    }\n"
                                                         "  }\n"
                                                         "  PREGAP 0:2:0\n"
                                                         "  FILE \"a.wav\" 0\n");

    const QByteArray existing = "CD_DA\n"
                                "CD_TEXT {\n"
                                "  LANGUAGE_MAP {\n"
                                "    0 : 8\n"
                                "    1 : EN\n"
                                "  }\n"
                                "  LANGUAGE 0 { TITLE \"Deutsch\" }\n"
                                "  LANGUAGE 1 {\n"
                                "    TITLE \"Old\"\n"
                                "    SONGWRITER \"Writer\" // kept\n"
                                "  }\n"
                                "}\n"
                                "TRACK AUDIO\n"
                                "CD_TEXT {\n"
                                "  LANGUAGE 0 { TITLE \"Eins\" }\n"
                                "  LANGUAGE 1 {\n"
                                "    TITLE \"old 1\"\n"
                                "    PERFORMER \"Guest\"\n"
                                "  }\n"
                                "}\n"
                                "FILE \"a.wav\" 0\n"
                                "TRACK AUDIO\n"
                                "CD_TEXT {\n"
                                "  LANGUAGE 0 { TITLE \"Zwei\" }\n"
                                "}\n"
                                "FILE \"a.wav\" 0\n";
    QTest::newRow("another language, other items and a track performer kept")
        << u"both"_s << existing
        << QByteArray("CD_DA\n"
                      "CD_TEXT {\n"
                      "  LANGUAGE_MAP {\n"
                      "    0 : 8\n"
                      "    1 : EN\n"
                      "    2 : 105\n"
                      "  }\n"
                      "  LANGUAGE 0 { TITLE \"Deutsch\" }\n"
                      "  LANGUAGE 1 {\n"
                      "    PERFORMER \"Band\"\n"
                      "    TITLE \"Best\"\n"
                      "    SONGWRITER \"Writer\" // kept\n"
                      "  }\n"
                      "  LANGUAGE 2 {\n"
                      "    TITLE \"\\203x\\203X\\203g\"\n"
                      "  }\n"
                      "}\n"
                      "TRACK AUDIO\n"
                      "CD_TEXT {\n"
                      "  LANGUAGE 0 { TITLE \"Eins\" }\n"
                      "  LANGUAGE 1 {\n"
                      "    TITLE \"Intro\"\n"
                      "    PERFORMER \"Guest\"\n"
                      "  }\n"
                      "  LANGUAGE 2 {\n"
                      "    TITLE \"\\217\\230\\213\\310\"\n"
                      "  }\n"
                      "}\n"
                      "FILE \"a.wav\" 0\n"
                      "TRACK AUDIO\n"
                      "CD_TEXT {\n"
                      "  LANGUAGE 0 { TITLE \"Zwei\" }\n"
                      "  LANGUAGE 1 {\n"
                      "    TITLE \"Outro\"\n"
                      "    PERFORMER \"\"\n"
                      "  }\n"
                      "  LANGUAGE 2 {\n"
                      "    TITLE \"\\225\\134\\216\\206\"\n"
                      "  }\n"
                      "}\n"
                      "FILE \"a.wav\" 0\n");

    // Without an artist, and with no track performer that would need one on
    // the disc, the disc's old performer goes.
    QTest::newRow("no artist: the disc performer goes")
        << u"no English artist"_s
        << QByteArray("CD_TEXT {\n  LANGUAGE_MAP { 0 : EN }\n"
                      "  LANGUAGE 0 { TITLE \"Old\"\n    PERFORMER \"Old band\" }\n}\n"
                      "TRACK AUDIO\nFILE \"a.wav\" 0\nTRACK AUDIO\nFILE \"a.wav\" 0")
        << QByteArray("CD_TEXT {\n  LANGUAGE_MAP { 0 : EN \n    1 : 105\n  }\n"
                      "  LANGUAGE 0 { TITLE \"Best\"\n    }\n"
                      "  LANGUAGE 1 {\n    TITLE \"\\203x\\203X\\203g\"\n  }\n}\n"
                      "TRACK AUDIO\n"
                      "CD_TEXT {\n  LANGUAGE 0 {\n    TITLE \"Intro\"\n  }\n"
                      "  LANGUAGE 1 {\n    TITLE \"\\217\\230\\213\\310\"\n  }\n}\n"
                      "FILE \"a.wav\" 0\nTRACK AUDIO\n"
                      "CD_TEXT {\n  LANGUAGE 0 {\n    TITLE \"Outro\"\n  }\n"
                      "  LANGUAGE 1 {\n    TITLE \"\\225\\134\\216\\206\"\n  }\n}\n"
                      "FILE \"a.wav\" 0");

    QTest::newRow("Japanese only is language 0")
        << u"Japanese only"_s
        << QByteArray("TRACK AUDIO\nFILE \"a.wav\" 0\nTRACK AUDIO\nFILE \"a.wav\" 0\n")
        << QByteArray("CD_TEXT {\n  LANGUAGE_MAP {\n    0 : 105\n  }\n"
                      "  LANGUAGE 0 {\n    TITLE \"\\203x\\203X\\203g\"\n"
                      "    PERFORMER \"\\212y\\222c\\203\\134\"\n  }\n}\n"
                      "TRACK AUDIO\n"
                      "CD_TEXT {\n  LANGUAGE 0 {\n    TITLE \"\\217\\230\\213\\310\"\n"
                      "    PERFORMER \"\"\n  }\n}\n"
                      "FILE \"a.wav\" 0\nTRACK AUDIO\n"
                      "CD_TEXT {\n  LANGUAGE 0 {\n    TITLE \"\\225\\134\\216\\206\"\n"
                      "    PERFORMER \"\"\n  }\n}\n"
                      "FILE \"a.wav\" 0\n");
}

void TestCdTextSheets::tocRewrite()
{
    QFETCH(QString, variant);
    QFETCH(QByteArray, toc);
    QFETCH(QByteArray, expected);
    const TitleStore store = storeFor(variant);
    const TocRewrite rewrite = RewriteTocFile(toc, store, DiscBlocks(store, {}));
    QCOMPARE(rewrite.fault, TocRewrite::None);
    QCOMPARE(rewrite.toc, expected);
}

void TestCdTextSheets::tocFaults_data()
{
    QTest::addColumn<QByteArray>("toc");
    QTest::addColumn<TocRewrite::Fault>("fault");
    QTest::addColumn<int>("line");
    const QByteArray tracks = "TRACK AUDIO\nFILE \"a\" 0\nTRACK AUDIO\nFILE \"a\" 0\n";
    QTest::newRow("three tracks") << tracks + "TRACK AUDIO\nFILE \"a\" 0\n"
                                  << TocRewrite::TrackCount << 0;
    QTest::newRow("string never ends")
        << QByteArray("CD_DA\nCATALOG \"123\n") + tracks << TocRewrite::NotUnderstood << 2;
    QTest::newRow("item without value")
        << QByteArray("CD_DA\nCD_TEXT {\n  LANGUAGE_MAP { 0 : EN }\n  LANGUAGE 0 {\n"
                      "    TITLE\n  }\n}\n") +
               tracks
        << TocRewrite::NotUnderstood << 6;
    QTest::newRow("unknown entry")
        << QByteArray("CD_TEXT {\n  FOO \"x\"\n}\n") + tracks << TocRewrite::NotUnderstood << 2;
    QTest::newRow("block never closed")
        << QByteArray("CD_TEXT {\n  LANGUAGE_MAP { 0 : EN }\n  LANGUAGE 0 { TITLE \"x\" \n") +
               tracks
        << TocRewrite::NotUnderstood << 3;
    QTest::newRow("all language numbers taken")
        << QByteArray("CD_TEXT {\n  LANGUAGE_MAP { 0 : 1 1 : 2 2 : 3 3 : 4 4 : 5 5 : 6 6 : 7 "
                      "7 : 8 }\n}\n") +
               tracks
        << TocRewrite::NoFreeLanguageNumber << 0;
}

void TestCdTextSheets::tocFaults()
{
    QFETCH(QByteArray, toc);
    QFETCH(TocRewrite::Fault, fault);
    QFETCH(int, line);
    const TitleStore store = twoTracks();
    const TocRewrite rewrite = RewriteTocFile(toc, store, DiscBlocks(store, {}));
    QCOMPARE(rewrite.fault, fault);
    if (fault == TocRewrite::NotUnderstood) {
        QCOMPARE(rewrite.line, line);
        QVERIFY(!rewrite.what.isEmpty());
    }
    QVERIFY(rewrite.toc.isEmpty());
}

QTEST_GUILESS_MAIN(TestCdTextSheets)
#include "tst_cdtextsheets.moc"
