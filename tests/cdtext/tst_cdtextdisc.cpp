// From a title file's texts to language blocks: the problems found in texts,
// the double-byte form of Japanese texts, and which blocks a disc gets.
#include "cdtext/discblocks.h"
#include "model/codepage932.h"

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
    void problemsNameTheirText();
    void doubleByteForm_data();
    void doubleByteForm();
    void everySingleByteCharacterBecomesJisX0208();
    void isJisX0208_data();
    void isJisX0208();
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
    QTest::newRow("English plain") << English << u"Hello ~!"_s << 0 << none << 0 << 0;
    QTest::newRow("English hiragana")
        << English << u"abcあ"_s << 1 << Problem::EditorRefuses << 4 << 0;
    QTest::newRow("English Tab") << English << u"a\tb"_s << 1 << Problem::EditorRefuses << 2 << 0;
    QTest::newRow("English two bad characters")
        << English << u"xé\u007F"_s << 1 << Problem::EditorRefuses << 2 << 1;
    // Low byte 0x71 passes the editor's check, but the file holds 0xB1.
    QTest::newRow("English half-width katakana")
        << English << u"Aｱ"_s << 1 << Problem::NotIso8859_1 << 2 << 0;
    QTest::newRow("Japanese plain") << Japanese << u"表ソ能 CD ｶﾞ"_s << 0 << none << 0 << 0;
    QTest::newRow("Japanese Tab") << Japanese << u"曲\t名"_s << 1 << Problem::ControlCharacter << 2
                                  << 0;
    QTest::newRow("Japanese NUL") << Japanese << u"a\u0000"_s << 1 << Problem::ControlCharacter << 2
                                  << 0;
    QTest::newRow("NEC circled digit")
        << Japanese << u"曲①"_s << 1 << Problem::OutsideJisX0208 << 2 << 0;
    QTest::newRow("NEC roman numeral")
        << Japanese << u"Ⅰ"_s << 1 << Problem::OutsideJisX0208 << 1 << 0;
    QTest::newRow("NEC ㈱") << Japanese << u"㈱"_s << 1 << Problem::OutsideJisX0208 << 1 << 0;
    QTest::newRow("IBM 髙") << Japanese << u"髙橋"_s << 1 << Problem::OutsideJisX0208 << 1 << 0;
    QTest::newRow("two outside") << Japanese << u"①②"_s << 1 << Problem::OutsideJisX0208 << 1 << 1;
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
    store.TrackCount = 1;
    store.TrackTitles(language, 1) = text;
    const std::vector<TextProblem> found = FindProblems(store, language);
    QCOMPARE(int(found.size()), count);
    if (count == 0)
        return;
    QCOMPARE(found[0].problem, problem);
    QCOMPARE(found[0].position, position);
    QCOMPARE(found[0].character, text[position - 1]);
    QCOMPARE(found[0].more, more);
    QCOMPARE(IsError(problem),
             problem != Problem::OutsideJisX0208 && problem != Problem::NotInCodePage);
}

// Every text of the language is looked at, up to the track count; each
// problem names its text.
void TestCdTextDisc::problemsNameTheirText()
{
    TitleStore store;
    store.TrackCount = 3;
    store.DiscNames[English] = u"Dïsc"_s;
    store.ArtistNames[English] = u"Band\t"_s;
    store.TrackTitles(English, 3) = u"ﾝ"_s;
    store.TrackTitles(English, 2) = u"fine"_s;
    store.TrackTitles(English, 4) = u"above the count"_s + QChar(u'é');
    store.DiscNames[Japanese] = u"①"_s;
    const std::vector<TextProblem> english = FindProblems(store, English);
    QCOMPARE(int(english.size()), 3);
    QCOMPARE(english[0].text, (TextRef{English, TextRef::DiscName, 0}));
    QCOMPARE(english[1].text, (TextRef{English, TextRef::Artist, 0}));
    QCOMPARE(english[1].position, 5);
    QCOMPARE(english[2].text, (TextRef{English, TextRef::TrackTitle, 3}));
    QCOMPARE(int(FindProblems(store, Japanese).size()), 1);
}

void TestCdTextDisc::doubleByteForm_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("form");
    QTest::newRow("ASCII") << u"CD 1-A"_s << u"ＣＤ\u3000１－Ａ"_s;
    QTest::newRow("quotes") << u"\"a'"_s << u"\u201Dａ\u2019"_s;
    QTest::newRow("backslash and tilde") << u"\\~"_s << u"＼～"_s;
    QTest::newRow("kana with voiced mark") << u"ｶﾞｷﾞﾊﾟｳﾞ"_s << u"ガギパヴ"_s;
    QTest::newRow("punctuation and long vowel") << u"｢ｱｰ｣､｡･"_s << u"「アー」、。・"_s;
    QTest::newRow("mark that joins nothing") << u"ﾞﾝﾟ"_s << u"゛ン゜"_s;
    QTest::newRow("kana the code page lacks composed") << u"ﾜﾞ"_s << u"ワ゛"_s;
    QTest::newRow("yen sign and overline") << u"\u00A5\u203E"_s << u"￥￣"_s;
    QTest::newRow("double-byte characters stay") << u"表ソ①"_s << u"表ソ①"_s;
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
    const Cp932Encoder &encoder = Cp932Encoder::instance();
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
        QVERIFY(encoder.isDoubleByte(DoubleByteForm(QString(ch)).at(0).unicode()));
    }
    QCOMPARE(JapaneseBlockBytes(u"\uFFFD\t"_s), QByteArray("\x81\x48\x81\x48"));
}

void TestCdTextDisc::isJisX0208_data()
{
    QTest::addColumn<int>("code");
    QTest::addColumn<bool>("jis");
    QTest::newRow("ideographic space 8140") << 0x8140 << true;
    QTest::newRow("katakana ソ 835C") << 0x835C << true;
    QTest::newRow("NEC row 13 8740") << 0x8740 << false;
    QTest::newRow("first kanji 889F") << 0x889F << true;
    QTest::newRow("表 955C") << 0x955C << true;
    QTest::newRow("last kanji EAA4") << 0xEAA4 << true;
    QTest::newRow("NEC-selected IBM ED40") << 0xED40 << false;
    QTest::newRow("user-defined F040") << 0xF040 << false;
    QTest::newRow("IBM FA40") << 0xFA40 << false;
    QTest::newRow("IBM FBFC (髙)") << 0xFBFC << false;
}

void TestCdTextDisc::isJisX0208()
{
    QFETCH(int, code);
    QFETCH(bool, jis);
    QCOMPARE(IsJisX0208(static_cast<quint16>(code)), jis);
}

void TestCdTextDisc::blocks_data()
{
    QTest::addColumn<QString>("englishDisc");
    QTest::addColumn<QString>("englishArtist");
    QTest::addColumn<QString>("japaneseTitle2");
    QTest::addColumn<QString>("japaneseArtist");
    QTest::addColumn<bool>("onlyJapanese");
    QTest::addColumn<QString>("languages"); // block languages in order
    QTest::addColumn<QString>("types");     // pack types per block, "/" between blocks
    QTest::newRow("both") << u"Disc"_s << u"Band"_s << u"二"_s << u"楽団"_s << false << u"en ja"_s
                          << u"80 81/80 81"_s;
    QTest::newRow("English only") << u"Disc"_s << QString() << QString() << QString() << false
                                  << u"en"_s << u"80"_s;
    QTest::newRow("Japanese only is block 0")
        << QString() << QString() << u"二"_s << QString() << false << u"ja"_s << u"80"_s;
    QTest::newRow("artist only") << QString() << u"Band"_s << QString() << QString() << false
                                 << u"en"_s << u"81"_s;
    QTest::newRow("chosen Japanese")
        << u"Disc"_s << u"Band"_s << u"二"_s << QString() << true << u"ja"_s << u"80"_s;
    QTest::newRow("no text") << QString() << QString() << QString() << QString() << false
                             << QString() << QString();
}

void TestCdTextDisc::blocks()
{
    QFETCH(QString, englishDisc);
    QFETCH(QString, englishArtist);
    QFETCH(QString, japaneseTitle2);
    QFETCH(QString, japaneseArtist);
    QFETCH(bool, onlyJapanese);
    QFETCH(QString, languages);
    QFETCH(QString, types);
    TitleStore store;
    store.TrackCount = 3;
    store.DiscNames[English] = englishDisc;
    store.ArtistNames[English] = englishArtist;
    store.TrackTitles(Japanese, 2) = japaneseTitle2;
    store.ArtistNames[Japanese] = japaneseArtist;
    store.TrackTitles(English, 5) = u"above the count is no text"_s;

    const std::vector<DiscBlock> blocks =
        DiscBlocks(store, onlyJapanese ? LanguageChoice{false, true} : LanguageChoice{});
    QStringList gotLanguages;
    QStringList gotTypes;
    for (const DiscBlock &block : blocks) {
        const bool english = block.language == English;
        gotLanguages << (english ? u"en"_s : u"ja"_s);
        QCOMPARE(block.pack.doubleByte, !english);
        QCOMPARE(block.pack.languageCode, english ? LanguageCodeEnglish : LanguageCodeJapanese);
        QCOMPARE(block.pack.characterCode, english ? CharacterCodeIso8859_1 : CharacterCodeMsJis);
        QCOMPARE(int(block.pack.lastTrack), 3);
        QStringList typeNames;
        for (const PackTexts &texts : block.pack.types) {
            typeNames << QString::number(texts.type, 16);
            QCOMPARE(int(texts.entries.size()), 4); // the disc and three tracks
            if (texts.type == PackTypePerformer) {
                for (size_t t = 1; t < texts.entries.size(); ++t)
                    QVERIFY(texts.entries[t].isEmpty());
            }
        }
        gotTypes << typeNames.join(u' ');
    }
    QCOMPARE(gotLanguages.join(u' '), languages);
    QCOMPARE(gotTypes.join(u'/'), types);
    if (!japaneseTitle2.isEmpty()) {
        const DiscBlock &japanese = blocks.back();
        QCOMPARE(japanese.pack.types[0].entries[2], QByteArray("\x93\xf1"));
    }
}

QTEST_GUILESS_MAIN(TestCdTextDisc)
#include "tst_cdtextdisc.moc"
