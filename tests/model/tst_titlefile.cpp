// SPDX-License-Identifier: GPL-3.0-or-later
// Title files as bytes: the reader's line kinds and whole files, the writer's
// exact bytes; the English rule. Write-then-read over generated discs is the
// fuzz target's property, replayed over its corpus by tst_fuzzcorpus.
#include "common/discs.h"
#include "common/testing.h"
#include "model/titlefile.h"

#include "model/codepage932.h"

Q_DECLARE_METATYPE(sonolabe::TitleFileSections)
Q_DECLARE_METATYPE(sonolabe::TitleStore)


class TestTitleFile : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    // One line read inside a Japanese section: which track or disc text it fills.
    void lineKinds_data()
    {
        QTest::addColumn<QByteArray>("line");
        QTest::addColumn<int>("track");         // 0: the disc line
        QTest::addColumn<QStringList>("texts"); // disc name, artist name, the track's title
        // clang-format off
        QTest::newRow("5 tab Title") << "5\tTitle"_ba << 5 << QStringList{{}, {}, u"Title"_s};
        QTest::newRow("12 tab Title") << "12\tTitle"_ba << 12 << QStringList{{}, {}, u"Title"_s};
        QTest::newRow("05 keeps the tab") << "05\tTitle"_ba << 5 << QStringList{{}, {}, u"\tTitle"_s};
        QTest::newRow("100 reads as 10") << "100\tx"_ba << 10 << QStringList{{}, {}, u"\tx"_s};
        QTest::newRow("one digit is 70") << "7"_ba << 70 << QStringList();
        QTest::newRow("letter counts 0") << "1a\tTitle"_ba << 10 << QStringList{{}, {}, u"Title"_s};
        QTest::newRow("ab is a disc line") << "ab\txyz"_ba << 0 << QStringList{{}, u"xyz"_s};
        QTest::newRow("second tab dropped") << "0\tDisc\tArtist\tMore"_ba << 0 << QStringList{u"Disc"_s, u"ArtistMore"_s};
        QTest::newRow("ja and space") << "ja "_ba << 0 << QStringList{u" "_s};
        QTest::newRow("full-width digits count 0") << "\x82\x54\t\x82\x54"_ba << 0 << QStringList{u"５"_s};
        QTest::newRow("positions count characters") << "\x8F\x98\tX\tY"_ba << 0 << QStringList{u"X"_s, u"Y"_s};
        QTest::newRow("lone LF stays") << "3\ta\nb"_ba << 3 << QStringList{{}, {}, u"a\nb"_s};
        // clang-format on
    }

    void lineKinds()
    {
        QFETCH(QByteArray, line);
        QFETCH(int, track);
        QFETCH(QStringList, texts);
        TitleStore expected = makeDisc(track, texts.mid(0, 2), {});
        if (track > 0)
            expected.trackTitles(Japanese, track) = texts.value(2);
        const std::optional<TitleStore> read = parseTitleFile(QByteArray("ja\r\n" + line + "\r\n"));
        QVERIFY(read);
        QCOMPARE(*read, expected);
    }

    // Texts per language: disc name, artist name, titles 1, 2, ...; a count of
    // -1 means the bytes are refused (no tag line).
    void wholeFiles_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("count");
        QTest::addColumn<QStringList>("japanese");
        QTest::addColumn<QStringList>("english");
        const QStringList none;
        const QString file = u"en\r\n0\tBest\tBand\r\n1\tIntro\r\n\r\n"
                             u"ja\r\n0\tベスト\tバンド\r\n1\t序曲 ｿﾅﾀ①髙\r\n\r\n"_s;
        const QStringList japanese{u"ベスト"_s, u"バンド"_s, u"序曲 ｿﾅﾀ①髙"_s};
        const QStringList english{u"Best"_s, u"Band"_s, u"Intro"_s};
        // clang-format off
        QTest::newRow("English only") << "en\r\n0\tD\tA\r\n1\tx\r\n2\ty\r\n\r\n"_ba << 2 << none << QStringList{u"D"_s, u"A"_s, u"x"_s, u"y"_s};
        QTest::newRow("English 3 tracks, Japanese 2") << "en\r\n1\ta\r\n3\tc\r\nja\r\n1\tJ\r\n2\tK\r\n"_ba << 3 << QStringList{{}, {}, u"J"_s, u"K"_s} << QStringList{{}, {}, u"a"_s, {}, u"c"_s};
        QTest::newRow("disc lines only") << "ja\r\n0\tD\tA\r\n"_ba << 0 << QStringList{u"D"_s, u"A"_s} << none;
        QTest::newRow("only the tag") << "ja"_ba << 0 << none << none;
        QTest::newRow("two ja sections join") << "ja\r\n0\tA\tB\r\nen\r\nja\r\n0\tC\tD\r\n"_ba << 0 << QStringList{u"AC"_s, u"BD"_s} << none;
        QTest::newRow("lines before the tag are Japanese") << "1\tfirst\r\nen\r\n1\tsecond\r\n"_ba << 1 << QStringList{{}, {}, u"first"_s} << QStringList{{}, {}, u"second"_s};
        QTest::newRow("lone CR ends lines") << "en\r1\tx\r2\ty"_ba << 2 << none << QStringList{{}, {}, u"x"_s, u"y"_s};
        QTest::newRow("later line replaces") << "ja\r\n1\told\r\n1\tnew\r\n"_ba << 1 << QStringList{{}, {}, u"new"_s} << none;
        QTest::newRow("CR CR LF: an empty line") << "ja\r\r\n1\tx\r\n"_ba << 1 << QStringList{{}, {}, u"x"_s} << none;
        // The same texts saved by the editor (code page 932) and by a text editor
        // (UTF-8, with or without a byte-order mark) read alike; a file that is
        // not valid UTF-8 beyond ASCII is code page 932.
        QTest::newRow("code page 932") << Cp932Encoder::instance().encode(file) << 1 << japanese << english;
        QTest::newRow("UTF-8") << file.toUtf8() << 1 << japanese << english;
        QTest::newRow("UTF-8 with byte-order mark") << "\xEF\xBB\xBF"_ba + file.toUtf8() << 1 << japanese << english;
        QTest::newRow("mark, then ASCII only: the tag is the first line") << "\xEF\xBB\xBFja\r\n1\tx\r\n"_ba << 1 << QStringList{{}, {}, u"x"_s} << none;
        QTest::newRow("mark, then a broken sequence: one U+FFFD a byte") << "\xEF\xBB\xBFja\r\n1\t\xE3\x81x\r\n"_ba << 1 << QStringList{{}, {}, u"\uFFFD\uFFFDx"_s} << none;
        QTest::newRow("no mark, one broken sequence: code page 932") << "ja\r\n1\t\xE3\x81\x82\x82\xA0\r\n"_ba << 1 << QStringList{{}, {}, u"縺ｂ\uFFFD"_s} << none;
        QTest::newRow("UTF-8: a mark inside is a character, a line of it too") << "\xEF\xBB\xBFja\r\n\xEF\xBB\xBF\r\n1\t\xEF\xBB\xBFx\r\n"_ba << 1 << QStringList{{}, {}, u"\uFEFFx"_s} << none;
        QTest::newRow("UTF-8 half-width katakana") << u"ja\r\n1\tｱ\r\n"_s.toUtf8() << 1 << QStringList{{}, {}, u"ｱ"_s} << none;
        QTest::newRow("refused: tags are case-sensitive") << "EN\r\n1\tx\r\nJA\r\n"_ba << -1 << none << none;
        QTest::newRow("refused: LF line ends are one line") << "ja\n0\tD\tA\n1\tx\n"_ba << -1 << none << none;
        // clang-format on
    }

    void wholeFiles()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(int, count);
        QFETCH(QStringList, japanese);
        QFETCH(QStringList, english);
        const std::optional<TitleStore> read = parseTitleFile(bytes);
        QCOMPARE(read.has_value(), count >= 0);
        if (read)
            QCOMPARE(*read, makeDisc(count, japanese, english));
    }

    void writtenBytes_data()
    {
        QTest::addColumn<TitleStore>("store");
        QTest::addColumn<TitleFileSections>("sections");
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("one track, both sections")
            << makeDisc(1, {u"ベスト"_s, u"バンド"_s, u"序曲"_s},
                        {u"Best"_s, u"Band"_s, u"Intro"_s})
            << TitleFileSections{true, true}
            << QByteArray::fromHex("656E0D0A"
                                   "3009426573740942616E640D0A"
                                   "3109496E74726F0D0A"
                                   "0D0A"
                                   "6A610D0A"
                                   "300983788358836709836F839383680D0A"
                                   "31098F988BC80D0A"
                                   "0D0A");
        QTest::newRow("English only, empty title, 3 tracks")
            << makeDisc(3, {u"J"_s, u"K"_s, u"x"_s, u"y"_s}, {u"E"_s, u"F"_s, u"a"_s, {}, u"c"_s})
            << TitleFileSections{true, false} << "en\r\n0\tE\tF\r\n1\ta\r\n2\t\r\n3\tc\r\n\r\n"_ba;
    }

    void writtenBytes()
    {
        QFETCH(TitleStore, store);
        QFETCH(TitleFileSections, sections);
        QFETCH(QByteArray, bytes);
        QCOMPARE(writeTitleFile(store, sections), bytes);
    }

    // The English rule looks at each code unit: its low byte printable ASCII,
    // and not a double-byte character of code page 932. An accepted text goes
    // into the English section in single bytes, a character the code page
    // lacks as one '?'; a refused one is named by its first double-byte
    // character (1-based, 0: none) where it has one.
    void englishTexts_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("english");
        QTest::addColumn<int>("firstDoubleByte");
        QTest::addColumn<QByteArray>("written"); // the disc name's bytes in the file
        QTest::newRow("tilde space bang, half-width katakana A")
            << u"~ !ｱ"_s << true << 0 << "~ !\xB1"_ba;
        QTest::newRow("L stroke, not in code page") << u"Ł"_s << true << 0 << "?"_ba;
        // U+2F861 is D87E DC61: each half alone is single-byte, low bytes 7E, 61.
        QTest::newRow("surrogate pair, printable low bytes")
            << u"x\U0002F861"_s << true << 0 << "x?"_ba;
        QTest::newRow("half-width katakana N") << u"ﾝ"_s << false << 0 << QByteArray();
        QTest::newRow("Tab") << u"abc\tdef"_s << false << 0 << QByteArray();
        QTest::newRow("DEL") << u"\x7F"_s << false << 0 << QByteArray();
        QTest::newRow("full-width A: double-byte, printable low byte")
            << u"xＡ"_s << false << 2 << QByteArray();
        QTest::newRow("hiragana after letters") << u"abcあ"_s << false << 4 << QByteArray();
    }

    void englishTexts()
    {
        QFETCH(QString, text);
        QFETCH(bool, english);
        QFETCH(int, firstDoubleByte);
        QFETCH(QByteArray, written);
        QCOMPARE(isEnglishText(text), english);
        QCOMPARE(firstDoubleByteCharacter(text), firstDoubleByte);
        TitleStore store;
        store.discNames[English] = text;
        if (english)
            QCOMPARE(writeTitleFile(store, {true, false}), "en\r\n0\t"_ba + written + "\t\r\n\r\n");
    }
};

QTEST_GUILESS_MAIN(TestTitleFile)
#include "tst_titlefile.moc"
