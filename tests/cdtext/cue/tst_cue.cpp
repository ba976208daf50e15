// SPDX-License-Identifier: GPL-3.0-or-later
// CUE sheets: the texts of a title file written into a sheet given with
// --into (what is written and kept), and the texts read back from one, both
// as libburn reads a sheet.
#include "cdtext/cdtexttest.h"

#include "cdtext/cue/cuesheet.h"

class TestCue : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    // The disc of twoTracks(), its tracks cut to the row's count.
    void rewrite_data()
    {
        QTest::addColumn<int>("language");
        QTest::addColumn<int>("tracks");
        QTest::addColumn<bool>("artist"); // the English one kept
        QTest::addColumn<QByteArray>("sheet");
        QTest::addColumn<QByteArray>("expected");
        // Of two titles, the last is the one burners take (and the import reads):
        // it gets the text, the first goes.
        QTest::newRow(
            "added, the last of two titles replaced; byte-order mark, CR LF, no last line end")
            << int(English) << 2 << true
            << "\xEF\xBB\xBF"
               "FILE \"a.wav\" WAVE\r\n  TRACK 01 AUDIO\r\n    TITLE \"old\"\r\n"
               "    PERFORMER \"Guest\"\r\n    title \"older\"\r\n    INDEX 01 00:00:00\r\n"
               "  TRACK 02 AUDIO"_ba
            << "\xEF\xBB\xBFTITLE \"Best\"\r\nPERFORMER \"Band\"\r\nFILE \"a.wav\" WAVE\r\n"
               "  TRACK 01 AUDIO\r\n    PERFORMER \"Guest\"\r\n    title \"Intro\"\r\n"
               "    INDEX 01 00:00:00\r\n  TRACK 02 AUDIO\r\n    TITLE \"Outro\"\r\n"_ba;
        // Japanese sheets name the pack file disc.cdt, which the disc gets.
        QTest::newRow("Japanese: no artist removes the performer, duplicates go")
            << int(Japanese) << 2 << true
            << "TITLE \"a\"\nTITLE \"b\"\nPERFORMER \"P\"\nFILE \"a.wav\" WAVE\n"
               "  TRACK 01 AUDIO\n    INDEX 01 00:00:00\n"
               "  TRACK 02 AUDIO\n    INDEX 01 01:00:00\n"_ba
            << sjis(u"TITLE \"ベスト\"\nCDTEXTFILE \"disc.cdt\"\nFILE \"a.wav\" WAVE\n"
                    u"  TRACK 01 AUDIO\n    TITLE \"序曲\"\n    INDEX 01 00:00:00\n"
                    u"  TRACK 02 AUDIO\n    TITLE \"表紙\"\n    INDEX 01 01:00:00\n"_s);
        QTest::newRow("Japanese, UTF-8 with byte-order mark: UTF-8 texts, the mark kept")
            << int(Japanese) << 2 << true
            << "\xEF\xBB\xBFREM \xC3\xA9\r\nCDTEXTFILE \"old.cdt\"\r\nFILE \"a.wav\" WAVE\r\n"
               "  TRACK 01 AUDIO\r\n  TRACK 02 AUDIO\r\n"_ba
            << u"\uFEFFREM é\r\nCDTEXTFILE \"disc.cdt\"\r\nTITLE \"ベスト\"\r\n"
               u"FILE \"a.wav\" WAVE\r\n  TRACK 01 AUDIO\r\n    TITLE \"序曲\"\r\n"
               u"  TRACK 02 AUDIO\r\n    TITLE \"表紙\"\r\n"_s.toUtf8();
        QTest::newRow("English: a CDTEXTFILE line goes, as it would hide the texts")
            << int(English) << 1 << false
            << "CDTEXTFILE \"old.cdt\"\nFILE \"a.wav\" WAVE\n  TRACK 01 AUDIO\n"_ba
            << "TITLE \"Best\"\nFILE \"a.wav\" WAVE\n  TRACK 01 AUDIO\n    TITLE \"Intro\"\n"_ba;
        // Nothing to put the disc's lines in front of: they go at the end.
        QTest::newRow("no tracks, no FILE or TRACK line")
            << int(English) << 0 << true << "REM DATE 2001\nPERFORMER \"Old\"\nREM COMMENT x"_ba
            << "REM DATE 2001\nPERFORMER \"Band\"\nREM COMMENT x\nTITLE \"Best\"\n"_ba;
    }

    void rewrite()
    {
        QFETCH(int, language);
        QFETCH(int, tracks);
        QFETCH(bool, artist);
        QFETCH(QByteArray, sheet);
        TitleStore store = twoTracks();
        store.setTrackCount(tracks);
        if (!artist)
            store.artistNames[English].clear();
        const CueRewrite cue =
            RewriteCueSheet(sheet, store, language,
                            language == Japanese ? std::optional("disc.cdt"_ba) : std::nullopt);
        QCOMPARE(cue.fault, CueRewrite::None);
        QTEST(cue.sheet, "expected");
    }

    // The section the texts fill is told by their characters.
    void reads_data()
    {
        importColumns();
        importRow("UTF-8, Japanese by its characters",
                  "TITLE \"\xE6\x97\xA5\xE6\x9C\xAC \xF0\x9F\x8E\xB5\"\nFILE \"a.wav\" WAVE\n"
                  "  TRACK 01 AUDIO\n    TITLE \"ﾃｽﾄ \"quoted\"\"\n",
                  section("ja", u"日本 ?"_s, u"ﾃｽﾄ \"quoted\""_s), {},
                  {Replacement::NotInCodePage});
        importRow("of two titles the last, blanks after the quote dropped",
                  "TITLE \"A\"\nTITLE B \nFILE \"a.wav\" WAVE\n  TRACK 01 AUDIO\n"
                  "    TITLE \"first\"\n    TITLE \"last\" \t\n",
                  section("en", u"B"_s, u"last"_s));
        // Each left out once, whatever the tracks: songwriters, ISRCs, the
        // catalog number, the genre; not REM DATE.
        importRow("texts a title file leaves out, each noted once",
                  "CATALOG 1234567890123\nREM GENRE Rock\nREM DATE 2001\nTITLE A\n"
                  "FILE \"a.wav\" WAVE\n  TRACK 01 AUDIO\n    TITLE t\n    SONGWRITER S\n"
                  "    ISRC XYBLG1101234\n  TRACK 02 AUDIO\n    SONGWRITER T\n",
                  u"en\r\n0\tA\t\r\n1\tt\r\n2\t\r\n\r\n"_s, QList<int>(4, SourceNote::TextLeftOut));
    }
    void reads() { checkImportRow(ImportKind::Cue); }
};

QTEST_GUILESS_MAIN(TestCue)
#include "tst_cue.moc"
