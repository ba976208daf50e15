// SPDX-License-Identifier: GPL-3.0-or-later
// cdrdao TOC files: what the rewrite writes, keeps and refuses; what the
// import reads back; and the one grammar both read them by.
#include "cdtext/cdtexttest.h"

#include "cdtext/toc/tocfile.h"

class TestToc : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    // The first track of twoTracks(); its Japanese texts are
    // "\203x\203X\203g" and "\217\230\213\310".
    void rewrite_data()
    {
        QTest::addColumn<bool>("artist");             // the English one kept
        QTest::addColumn<TocRewrite::Fault>("fault"); // a refused file gives no bytes
        QTest::addColumn<QByteArray>("sheet");
        QTest::addColumn<QByteArray>("expected");
        // New blocks go after the disc type (a comment stays with its track) and
        // before a track's first statement, indented like it.
        QTest::newRow("no CD-Text")
            << true << TocRewrite::None
            << "CD_DA\n\n// first\nTRACK AUDIO\n  PREGAP 0:2:0\n  FILE \"a\" 0\n"_ba
            << "CD_DA\nCD_TEXT {\n  LANGUAGE_MAP {\n    0 : EN\n    1 : 105\n  }\n"
               "  LANGUAGE 0 {\n    TITLE \"Best\"\n    PERFORMER \"Band\"\n  }\n"
               "  LANGUAGE 1 {\n    TITLE \"\\203x\\203X\\203g\"\n  }\n}\n"
               "\n// first\nTRACK AUDIO\n  CD_TEXT {\n"
               "    LANGUAGE 0 {\n      TITLE \"Intro\"\n      PERFORMER \"\"\n    }\n"
               "    LANGUAGE 1 {\n      TITLE \"\\217\\230\\213\\310\"\n    }\n  }\n"
               "  PREGAP 0:2:0\n  FILE \"a\" 0\n"_ba;
        // English is already language 1 (0 is mapped again, to German) and
        // Japanese is added as 2; German with its data, the songwriter and the
        // track performer stay; the disc's performer gets the artist, the
        // missing title goes on top.
        QTest::newRow("another language, other items and a track performer kept")
            << true << TocRewrite::None
            << "CD_DA\nCD_TEXT {\n  LANGUAGE_MAP {\n    0 : EN 0 : 8\n    1 : EN\n  }\n"
               "  LANGUAGE 0 { TITLE \"Deutsch\" SIZE_INFO { 0, 1 } }\n"
               "  LANGUAGE 1 {\n    PERFORMER \"Old\"\n    SONGWRITER \"Writer\" // kept\n"
               "  }\n}\nTRACK AUDIO\nCD_TEXT {\n  LANGUAGE 0 { TITLE \"Eins\" }\n"
               "  LANGUAGE 1 {\n    TITLE \"old 1\"\n    PERFORMER \"Guest\"\n  }\n}\n"
               "FILE \"a\" 0\n"_ba
            << "CD_DA\nCD_TEXT {\n  LANGUAGE_MAP {\n    0 : EN 0 : 8\n    1 : EN\n"
               "    2 : 105\n  }\n  LANGUAGE 0 { TITLE \"Deutsch\" SIZE_INFO { 0, 1 } }\n"
               "  LANGUAGE 1 {\n    TITLE \"Best\"\n    PERFORMER \"Band\"\n"
               "    SONGWRITER \"Writer\" // kept\n  }\n"
               "  LANGUAGE 2 {\n    TITLE \"\\203x\\203X\\203g\"\n  }\n}\n"
               "TRACK AUDIO\nCD_TEXT {\n  LANGUAGE 0 { TITLE \"Eins\" }\n"
               "  LANGUAGE 1 {\n    TITLE \"Intro\"\n    PERFORMER \"Guest\"\n  }\n"
               "  LANGUAGE 2 {\n    TITLE \"\\217\\230\\213\\310\"\n  }\n}\n"
               "FILE \"a\" 0\n"_ba;
        // Without an artist, and with no track performer that would need one on
        // the disc, the disc's old performer goes.
        QTest::newRow("no artist: the disc performer goes")
            << false << TocRewrite::None
            << "CD_TEXT {\n  LANGUAGE_MAP { 0 : EN }\n"
               "  LANGUAGE 0 { TITLE \"Old\"\n    PERFORMER \"Old band\" }\n}\n"
               "TRACK AUDIO\nFILE \"a\" 0"_ba
            << "CD_TEXT {\n  LANGUAGE_MAP { 0 : EN \n    1 : 105\n  }\n"
               "  LANGUAGE 0 { TITLE \"Best\"\n    }\n"
               "  LANGUAGE 1 {\n    TITLE \"\\203x\\203X\\203g\"\n  }\n}\n"
               "TRACK AUDIO\nCD_TEXT {\n  LANGUAGE 0 {\n    TITLE \"Intro\"\n  }\n"
               "  LANGUAGE 1 {\n    TITLE \"\\217\\230\\213\\310\"\n  }\n}\nFILE \"a\" 0"_ba;
        QTest::newRow("refused: two tracks")
            << true << TocRewrite::TrackCount << "TRACK AUDIO\nTRACK AUDIO\n"_ba << QByteArray();
        QTest::newRow("refused: all language numbers taken")
            << true << TocRewrite::NoFreeLanguageNumber
            << "CD_TEXT { LANGUAGE_MAP { 0 : 1 1 : 2 2 : 3 3 : 4 4 : 5 5 : 6 6 : 7 7 : 8 } "
               "}\nTRACK AUDIO\n"_ba
            << QByteArray();
    }

    void rewrite()
    {
        QFETCH(bool, artist);
        QFETCH(QByteArray, sheet);
        const TitleStore store = makeDisc(1, {u"ベスト"_s, {}, u"序曲"_s},
                                          {u"Best"_s, artist ? u"Band"_s : QString(), u"Intro"_s});
        const TocRewrite toc = RewriteTocFile(sheet, store, DiscBlocks(store, {}));
        QTEST(toc.fault, "fault");
        QTEST(toc.toc, "expected");
    }

    // What cdrdao reads, both directions read: a file the rewrite refuses as not
    // understood is the one the import notes it cannot read, at the same line
    // for the same fault (line 0: read), and the import reads the texts.
    void read_data()
    {
        QTest::addColumn<QByteArray>("toc");
        QTest::addColumn<int>("line");
        QTest::addColumn<TocSyntaxError::Kind>("kind");
        QTest::addColumn<QString>("file"); // the title file the import writes
        QTest::addColumn<int>("leftOut");  // notes of texts left out
        const auto row = [](const char *name, const QByteArray &toc, int line = 0,
                            TocSyntaxError::Kind kind = {}, const QString &file = {},
                            int leftOut = 0) {
            QTest::newRow(name) << toc << line << kind << file << leftOut;
        };
        using E = TocSyntaxError;
        // Language 0 is mapped again, to Japanese: the later code counts.
        row("cdrdao up to 1.2.4, octal MS-JIS and a kept \\\\",
            "CD_TEXT { LANGUAGE_MAP { 0 : EN 0 : 105 }\n  LANGUAGE 0 { TITLE "
            "\"\\203\\134\\225\\134\" } }\nTRACK AUDIO\nCD_TEXT { LANGUAGE 0 { TITLE "
            "\"a\\\\b\\\"\" } "
            "}\n",
            0, {}, u"ja\r\n0\tソ表\t\r\n1\ta\\\\b\"\r\n\r\n"_s);
        // cdrdao up to 1.2.4 writes a byte beyond ASCII as an octal escape and
        // the rest as it is: 表 (0x95 0x5C) at the end of a text gives \225\".
        const auto cdrdao124 = [](const QString &text) -> QByteArray {
            QByteArray out = "\"";
            for (const char c : sjis(text))
                out +=
                    quint8(c) >= 0x80 ? '\\' + QByteArray::number(quint8(c), 8) : QByteArray(1, c);
            return out + '"';
        };
        row("cdrdao 1.2.4, a second byte 0x5C before the closing quote",
            "CD_TEXT { LANGUAGE_MAP { 0 : 105 }\n  LANGUAGE 0 {\n    TITLE " +
                cdrdao124(u"時刻表"_s) + "\n  }\n}\nTRACK AUDIO\nCD_TEXT { LANGUAGE 0 {\n  TITLE " +
                cdrdao124(u"ソ"_s) + "  \n} }\n",
            0, {}, u"ja\r\n0\t時刻表\t\r\n1\tソ\r\n\r\n"_s);
        row("cdrdao 1.2.5, UTF-8 and ENCODING_MS_JIS",
            "CD_TEXT { LANGUAGE_MAP { 0 : 105 }\n  LANGUAGE 0 { ENCODING_MS_JIS TITLE "
            "\"\xE3\x82\xBD\xE8\xA1\xA8\" } }\nTRACK AUDIO\nCD_TEXT { LANGUAGE 0 { TITLE "
            "\"\\202\\240\" } }\n",
            0, {}, u"ja\r\n0\tソ表\t\r\n1\tあ\r\n\r\n"_s);
        // Data items in braces are passed over; a track's performer is not read.
        row("English is ISO-8859-1, data skipped, a track performer",
            "CD_TEXT { LANGUAGE_MAP { 0 : EN }\n  LANGUAGE 0 { TITLE \"Caf\\351 \\261\" "
            "SIZE_INFO { 0, 1 } } }\nTRACK AUDIO\n"
            "CD_TEXT { LANGUAGE 0 { TITLE \"x\" PERFORMER \"Guest\" } }\n",
            0, {}, u"en\r\n0\tCaf? ±\t\r\n1\tx\r\n\r\n"_s, 1);
        // The composer, the genre (data) and two tracks' ISRCs: one note each.
        row("texts left out",
            "CD_TEXT { LANGUAGE_MAP { 0 : EN } LANGUAGE 0 { TITLE \"D\" COMPOSER \"C\" "
            "GENRE { 0, 25 } } }\nTRACK AUDIO\n"
            "CD_TEXT { LANGUAGE 0 { ISRC \"A\" } }\nTRACK AUDIO\n"
            "CD_TEXT { LANGUAGE 0 { ISRC \"B\" } }\n",
            0, {}, u"en\r\n0\tD\t\r\n1\t\r\n2\t\r\n\r\n"_s, 3);
        row("map entries separated by commas", "CD_TEXT { LANGUAGE_MAP {\n0 : EN, 1 : 9 } }", 2,
            E::MapEntryExpected);
        row("an empty map", "CD_TEXT { LANGUAGE_MAP { } }", 1, E::MapEntryExpected);
        row("the encoding after an item", "CD_TEXT { LANGUAGE 0 { TITLE \"a\"\nENCODING_MS_JIS } }",
            2, E::ValueExpected);
        row("a comma after the encoding", "CD_TEXT { LANGUAGE 0 { ENCODING_MS_JIS, TITLE \"a\" } }",
            1, E::ItemExpected);
        row("language number 8", "CD_TEXT { LANGUAGE 8 { } }", 1, E::BadLanguageNumber);
        row("language code 256", "CD_TEXT { LANGUAGE_MAP { 0 : 256 } }", 1, E::BadLanguageCode);
        row("a string never ends", "CD_DA\nCATALOG \"123\n\"", 2, E::StringNeverEnds);
        row("a block never closed", "CD_TEXT {\nLANGUAGE 0 {\nTITLE { 1 }", 2, E::BraceNeverClosed);
        row("nested as deep as allowed",
            QByteArray(MaxTocDepth, '{') + QByteArray(MaxTocDepth, '}'));
        row("nested deeper", QByteArray(MaxTocDepth + 1, '{'), 1, E::NestedTooDeep);
        row("as many tokens as allowed", QByteArray(MaxTocTokens, ':'));
        row("a 16 MiB file of signs", "CD_TEXT { LANGUAGE 0 {" + QByteArray(16 << 20, ':'), 1,
            E::TooManyTokens);
    }

    void read()
    {
        QFETCH(QByteArray, toc);
        QFETCH(int, line);
        QFETCH(TocSyntaxError::Kind, kind);
        QFETCH(QString, file);
        TitleStore store; // as many tracks as the file has
        store.setTrackCount(int(toc.count("TRACK")));
        const TocRewrite rewrite = RewriteTocFile(toc, store, DiscBlocks(store, {}));
        QCOMPARE(rewrite.fault, line ? TocRewrite::NotUnderstood : TocRewrite::None);
        QCOMPARE(std::pair(rewrite.line, rewrite.problem), std::pair(line, kind));
        const ImportResult import = ImportTexts(toc, ImportKind::Toc, {});
        std::vector<SourceNote> notes = import.notes, expected;
        QTEST(int(fieldOf(notes, &SourceNote::kind).count(SourceNote::TextLeftOut)), "leftOut");
        std::erase_if(notes,
                      [](const SourceNote &n) { return n.kind != SourceNote::NotUnderstood; });
        if (line)
            expected.push_back({SourceNote::NotUnderstood, line, kind, {}});
        QCOMPARE(notes, expected);
        QCOMPARE(import.titleFile(), sjis(file));
    }
};

QTEST_GUILESS_MAIN(TestToc)
#include "tst_toc.moc"
