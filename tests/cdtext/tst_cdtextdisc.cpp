// SPDX-License-Identifier: GPL-3.0-or-later
// From a title file's texts to language blocks: the problems found in texts,
// the double-byte form of Japanese texts, and which blocks a disc gets.
#include "cdtext/discblocks.h"

#include <QTest>

using namespace sonolabe;
using namespace sonolabe::cdtext;
using namespace Qt::Literals::StringLiterals;

Q_DECLARE_METATYPE(sonolabe::cdtext::Problem)

class TestCdTextDisc : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void problems_data();
    void problems();
    void doubleByteForm_data();
    void doubleByteForm();
    void everySingleByteCharacterBecomesJisX0208();
    void blocks_data();
    void blocks();
};

void TestCdTextDisc::problems_data()
{
    QTest::addColumn<int>("language");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("count"); // problems found, 0 or 1
    QTest::addColumn<Problem>("problem");
    QTest::addColumn<int>("position");
    QTest::addColumn<int>("more");
    const Problem none = Problem::EditorRefuses;
    QTest::newRow("English: hiragana, then é")
        << English << u"abあé"_s << 1 << Problem::EditorRefuses << 3 << 1;
    // Low byte 0x71 passes the editor's check, but the file holds 0xB1.
    QTest::newRow("English half-width katakana")
        << English << u"Aｱ"_s << 1 << Problem::NotIso8859_1 << 2 << 0;
    QTest::newRow("Japanese plain") << Japanese << u"表ソ能 CD ｶﾞ"_s << 0 << none << 0 << 0;
    QTest::newRow("Japanese Tab") << Japanese << u"曲\t名"_s << 1 << Problem::ControlCharacter << 2
                                  << 0;
    QTest::newRow("NEC and IBM extensions")
        << Japanese << u"曲①Ⅰ㈱髙"_s << 1 << Problem::OutsideJisX0208 << 2 << 3;
    QTest::newRow("bad byte from the file")
        << Japanese << u"a\uFFFD"_s << 1 << Problem::NotInCodePage << 2 << 0;
}

void TestCdTextDisc::problems()
{
    QFETCH(int, language);
    QFETCH(QString, text);
    QFETCH(int, count);
    QFETCH(Problem, problem);
    QFETCH(int, position);
    QFETCH(int, more);
    TitleStore store;
    store.trackCount = 1;
    store.trackTitles(language, 1) = text;
    const std::vector<TextProblem> found = FindProblems(store, language);
    QCOMPARE(int(found.size()), count);
    if (count == 0)
        return;
    QCOMPARE(found[0].problem, problem);
    QCOMPARE(found[0].position, position);
    QCOMPARE(found[0].character, text[position - 1]);
    QCOMPARE(found[0].more, more);
}

void TestCdTextDisc::doubleByteForm_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("form");
    QTest::newRow("ASCII; double-byte characters stay")
        << u"CD 1-A表ソ①"_s << u"ＣＤ\u3000１－Ａ表ソ①"_s;
    // The full-width straight quotes are IBM extensions.
    QTest::newRow("quotes") << u"\"a'"_s << u"\u201Dａ\u2019"_s;
    QTest::newRow("kana with voiced mark") << u"ｶﾞｷﾞﾊﾟｳﾞ"_s << u"ガギパヴ"_s;
    QTest::newRow("mark that joins nothing") << u"ﾞﾝﾟ"_s << u"゛ン゜"_s;
    QTest::newRow("kana the code page lacks composed") << u"ﾜﾞ"_s << u"ワ゛"_s;
    QTest::newRow("yen sign and overline") << u"\u00A5\u203E"_s << u"￥￣"_s;
}

void TestCdTextDisc::doubleByteForm()
{
    QFETCH(QString, text);
    QFETCH(QString, form);
    QCOMPARE(DoubleByteForm(text), form);
}

// In an MS-JIS block every character takes two bytes; whatever is single-byte
// in code page 932 must come out as a JIS X 0208 character.
void TestCdTextDisc::everySingleByteCharacterBecomesJisX0208()
{
    QString all;
    for (char16_t unit = 0x20; unit < 0x7F; ++unit)
        all += QChar(unit);
    for (char16_t unit = 0xFF61; unit <= 0xFF9F; ++unit)
        all += QChar(unit);
    for (const QChar ch : all) {
        const QByteArray bytes = JapaneseBlockBytes(QString(ch));
        QVERIFY2(bytes.size() >= 2 && bytes.size() % 2 == 0, qPrintable(QString(ch)));
        for (qsizetype i = 0; i < bytes.size(); i += 2) {
            const quint16 code = static_cast<quint16>(quint8(bytes[i]) << 8 | quint8(bytes[i + 1]));
            QVERIFY2(IsJisX0208(code), qPrintable(QString(ch)));
            QVERIFY2(code != 0x8148 || ch == u'?', qPrintable(QString(ch))); // not a stand-in
        }
    }
    QCOMPARE(JapaneseBlockBytes(u"\uFFFD\t"_s), QByteArray("\x81\x48\x81\x48"));
}

void TestCdTextDisc::blocks_data()
{
    QTest::addColumn<QString>("englishDisc");
    QTest::addColumn<QString>("englishArtist");
    QTest::addColumn<QString>("japaneseTitle2");
    QTest::addColumn<bool>("onlyJapanese");
    QTest::addColumn<QString>("blocks"); // language and pack types of each block
    QTest::newRow("both") << u"Disc"_s << u"Band"_s << u"二"_s << false << u"en 80 81/ja 80"_s;
    QTest::newRow("Japanese only is block 0")
        << QString() << QString() << u"二"_s << false << u"ja 80"_s;
    QTest::newRow("artist only") << QString() << u"Band"_s << QString() << false << u"en 81"_s;
    QTest::newRow("chosen Japanese") << u"Disc"_s << u"Band"_s << u"二"_s << true << u"ja 80"_s;
    QTest::newRow("no text") << QString() << QString() << QString() << false << QString();
}

void TestCdTextDisc::blocks()
{
    QFETCH(QString, englishDisc);
    QFETCH(QString, englishArtist);
    QFETCH(QString, japaneseTitle2);
    QFETCH(bool, onlyJapanese);
    QFETCH(QString, blocks);
    TitleStore store;
    store.trackCount = 3;
    store.discNames[English] = englishDisc;
    store.artistNames[English] = englishArtist;
    store.trackTitles(Japanese, 2) = japaneseTitle2;
    store.trackTitles(English, 5) = u"above the count is no text"_s;

    QStringList got;
    for (const DiscBlock &block :
         DiscBlocks(store, onlyJapanese ? LanguageChoice{false, true} : LanguageChoice{})) {
        QStringList names{block.language == English ? u"en"_s : u"ja"_s};
        for (const PackTexts &texts : block.pack.types) {
            names << QString::number(texts.type, 16);
            QCOMPARE(int(texts.entries.size()), 4); // the disc and three tracks
            // The title file has no track performers: theirs are empty.
            for (size_t t = 1; texts.type == PackTypePerformer && t < 4; ++t)
                QVERIFY(texts.entries[t].isEmpty());
            if (block.language == Japanese)
                QCOMPARE(texts.entries[2], QByteArray("\x93\xf1"));
        }
        got << names.join(u' ');
    }
    QCOMPARE(got.join(u'/'), blocks);
}

QTEST_GUILESS_MAIN(TestCdTextDisc)
#include "tst_cdtextdisc.moc"
