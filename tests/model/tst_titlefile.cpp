// Title files as bytes: the reader's line kinds, whole files, the writer's
// exact bytes, and write-then-read over many generated discs.
#include "model/titlefile.h"

#include <QRandomGenerator>
#include <QTest>

using namespace sonolabe;
using namespace Qt::Literals::StringLiterals;

Q_DECLARE_METATYPE(sonolabe::TitleFileSections)

class TestTitleFile : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void lineKinds_data();
    void lineKinds();
    void wholeFiles_data();
    void wholeFiles();
    void refused_data();
    void refused();
    void exampleBytes();
    void writtenLines_data();
    void writtenLines();
    void roundTrip();
    void sectionsForFileTypes();
    void txtExtension_data();
    void txtExtension();
    void messages();
};

namespace {

TitleStore parsed(const QByteArray &bytes)
{
    const std::optional<TitleStore> disc = ParseTitleFile(bytes);
    if (!disc)
        qFatal("bytes were refused");
    return *disc;
}

} // namespace

// One line read inside a Japanese section: which track or disc text it fills.
void TestTitleFile::lineKinds_data()
{
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<int>("track"); // 0: the disc line
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("disc");
    QTest::addColumn<QString>("artist");
    QTest::newRow("5 tab Title") << QByteArray("5\tTitle") << 5 << u"Title"_s << QString() << QString();
    QTest::newRow("12 tab Title") << QByteArray("12\tTitle") << 12 << u"Title"_s << QString() << QString();
    QTest::newRow("9 tab") << QByteArray("9\t") << 9 << QString() << QString() << QString();
    QTest::newRow("05 keeps the tab") << QByteArray("05\tTitle") << 5 << u"\tTitle"_s << QString() << QString();
    QTest::newRow("100 reads as 10") << QByteArray("100\tx") << 10 << u"\tx"_s << QString() << QString();
    QTest::newRow("one digit is 70") << QByteArray("7") << 70 << QString() << QString() << QString();
    QTest::newRow("letter counts 0") << QByteArray("1a\tTitle") << 10 << u"Title"_s << QString() << QString();
    QTest::newRow("ab is a disc line") << QByteArray("ab\txyz") << 0 << QString() << QString() << u"xyz"_s;
    QTest::newRow("second tab dropped") << QByteArray("0\tDisc\tArtist\tMore") << 0 << QString() << u"Disc"_s << u"ArtistMore"_s;
    QTest::newRow("ja and space") << QByteArray("ja ") << 0 << QString() << u" "_s << QString();
    QTest::newRow("JA") << QByteArray("JA") << 0 << QString() << QString() << QString();
    QTest::newRow("full-width digits count 0") << QByteArray("\x82\x54\t\x82\x54") << 0 << QString() << u"５"_s << QString();
    QTest::newRow("lone LF stays") << QByteArray("3\ta\nb") << 3 << u"a\nb"_s << QString() << QString();
    QTest::newRow("spaces kept") << QByteArray("4\t  x  ") << 4 << u"  x  "_s << QString() << QString();
    QTest::newRow("Japanese title") << QByteArray("1\t\x8F\x98\x8B\xC8") << 1 << u"序曲"_s << QString() << QString();
    QTest::newRow("double-byte first char") << QByteArray("\x8F\x98\tX\tY") << 0 << QString() << u"X"_s << u"Y"_s;
}

void TestTitleFile::lineKinds()
{
    QFETCH(QByteArray, line);
    QFETCH(int, track);
    QFETCH(QString, title);
    QFETCH(QString, disc);
    QFETCH(QString, artist);
    const TitleStore store = parsed("ja\r\n" + line + "\r\n");
    QCOMPARE(store.DiscNames[Japanese], disc);
    QCOMPARE(store.ArtistNames[Japanese], artist);
    QCOMPARE(int(store.TrackCount), track);
    for (int t = 1; t <= MaxTracks; ++t)
        QCOMPARE(store.TrackTitles(Japanese, t), t == track ? title : QString());
    QCOMPARE(store.DiscNames[English], QString());
}

void TestTitleFile::wholeFiles_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("count");
    QTest::addColumn<QStringList>("japanese"); // disc, artist, titles 1..count
    QTest::addColumn<QStringList>("english");

    QTest::newRow("English only")
        << QByteArray("en\r\n0\tD\tA\r\n1\tx\r\n2\ty\r\n\r\n") << 2
        << QStringList{{}, {}, {}, {}} << QStringList{u"D"_s, u"A"_s, u"x"_s, u"y"_s};
    QTest::newRow("English 3 tracks, Japanese 2")
        << QByteArray("en\r\n1\ta\r\n3\tc\r\nja\r\n1\tJ\r\n2\tK\r\n") << 3
        << QStringList{{}, {}, u"J"_s, u"K"_s, {}} << QStringList{{}, {}, u"a"_s, {}, u"c"_s};
    QTest::newRow("disc lines only") << QByteArray("ja\r\n0\tD\tA\r\n") << 0
                                     << QStringList{u"D"_s, u"A"_s} << QStringList{{}, {}};
    QTest::newRow("only the tag") << QByteArray("ja") << 0 << QStringList{{}, {}}
                                  << QStringList{{}, {}};
    QTest::newRow("two ja sections join")
        << QByteArray("ja\r\n0\tA\tB\r\nen\r\nja\r\n0\tC\tD\r\n") << 0
        << QStringList{u"AC"_s, u"BD"_s} << QStringList{{}, {}};
    QTest::newRow("lines before the tag are Japanese")
        << QByteArray("1\tfirst\r\nen\r\n1\tsecond\r\n") << 1 << QStringList{{}, {}, u"first"_s}
        << QStringList{{}, {}, u"second"_s};
    QTest::newRow("lone CR ends lines") << QByteArray("en\r1\tx\r2\ty") << 2
                                        << QStringList{{}, {}, {}, {}}
                                        << QStringList{{}, {}, u"x"_s, u"y"_s};
    QTest::newRow("later line replaces") << QByteArray("ja\r\n1\told\r\n1\tnew\r\n") << 1
                                         << QStringList{{}, {}, u"new"_s} << QStringList{{}, {}, {}};
    QTest::newRow("CR CR LF: empty line between")
        << QByteArray("ja\r\r\n1\tx\r\n") << 1 << QStringList{{}, {}, u"x"_s}
        << QStringList{{}, {}, {}};
}

void TestTitleFile::wholeFiles()
{
    QFETCH(QByteArray, bytes);
    QFETCH(int, count);
    QFETCH(QStringList, japanese);
    QFETCH(QStringList, english);
    const TitleStore store = parsed(bytes);
    QCOMPARE(int(store.TrackCount), count);
    const QStringList *expected[] = {&japanese, &english};
    for (int language = 0; language < LanguageCount; ++language) {
        const QStringList &texts = *expected[language];
        QCOMPARE(store.DiscNames[language], texts.at(0));
        QCOMPARE(store.ArtistNames[language], texts.at(1));
        for (int track = 1; track <= MaxTracks; ++track)
            QCOMPARE(store.TrackTitles(language, track),
                     track <= count ? texts.at(track + 1) : QString());
    }
}

void TestTitleFile::refused_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("empty") << QByteArray();
    QTest::newRow("no tag") << QByteArray("0\tD\tA\r\n1\tx\r\n");
    QTest::newRow("LF line ends are one line") << QByteArray("ja\n0\tD\tA\n1\tx\n");
    QTest::newRow("tag with a space") << QByteArray("ja \r\n1\tx\r\n");
    QTest::newRow("tag in upper case") << QByteArray("EN\r\n");
}

void TestTitleFile::refused()
{
    QFETCH(QByteArray, bytes);
    QVERIFY(!ParseTitleFile(bytes).has_value());
}

void TestTitleFile::exampleBytes()
{
    TitleStore store;
    store.TrackCount = 1;
    store.DiscNames[English] = u"Best"_s;
    store.ArtistNames[English] = u"Band"_s;
    store.TrackTitles(English, 1) = u"Intro"_s;
    store.DiscNames[Japanese] = u"ベスト"_s;
    store.ArtistNames[Japanese] = u"バンド"_s;
    store.TrackTitles(Japanese, 1) = u"序曲"_s;
    const QByteArray expected = QByteArray::fromHex(
        "656E0D0A"
        "3009426573740942616E640D0A"
        "3109496E74726F0D0A"
        "0D0A"
        "6A610D0A"
        "300983788358836709836F839383680D0A"
        "31098F988BC80D0A"
        "0D0A");
    QCOMPARE(expected.size(), 59);
    QCOMPARE(WriteTitleFile(store, {true, true}), expected);
}

void TestTitleFile::writtenLines_data()
{
    QTest::addColumn<TitleFileSections>("sections");
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("both") << TitleFileSections{true, true}
                          << QByteArray("en\r\n0\tE\tF\r\n1\ta\r\n2\t\r\n3\tc\r\n\r\n"
                                        "ja\r\n0\tJ\tK\r\n1\tx\r\n2\ty\r\n3\t\r\n\r\n");
    QTest::newRow("English only") << TitleFileSections{true, false}
                                  << QByteArray("en\r\n0\tE\tF\r\n1\ta\r\n2\t\r\n3\tc\r\n\r\n");
    QTest::newRow("Japanese only") << TitleFileSections{false, true}
                                   << QByteArray("ja\r\n0\tJ\tK\r\n1\tx\r\n2\ty\r\n3\t\r\n\r\n");
}

void TestTitleFile::writtenLines()
{
    QFETCH(TitleFileSections, sections);
    QFETCH(QByteArray, bytes);
    TitleStore store;
    store.TrackCount = 3;
    store.DiscNames[English] = u"E"_s;
    store.ArtistNames[English] = u"F"_s;
    store.TrackTitles(English, 1) = u"a"_s;
    store.TrackTitles(English, 3) = u"c"_s;
    store.DiscNames[Japanese] = u"J"_s;
    store.ArtistNames[Japanese] = u"K"_s;
    store.TrackTitles(Japanese, 1) = u"x"_s;
    store.TrackTitles(Japanese, 2) = u"y"_s;
    QCOMPARE(WriteTitleFile(store, sections), bytes);
}

// Discs made of characters that survive a file (no CR; no Tab in the disc
// and artist names; only characters of the code page) load back unchanged,
// and a language that was not written comes back empty.
void TestTitleFile::roundTrip()
{
    QRandomGenerator random(20261206);
    const QString alphabet = u"abcXYZ 09~!\t\nｱﾝ表ソ序曲ベスト①髙\\\"'"_s;
    auto text = [&](bool allowTab) {
        QString result;
        const int length = random.bounded(0, 12);
        while (result.size() < length) {
            const QChar ch = alphabet.at(random.bounded(alphabet.size()));
            if (ch != u'\t' || allowTab)
                result += ch;
        }
        return result;
    };
    for (int round = 0; round < 500; ++round) {
        TitleStore store;
        store.TrackCount = static_cast<quint8>(random.bounded(0, MaxTracks + 1));
        for (int language = 0; language < LanguageCount; ++language) {
            store.DiscNames[language] = text(false);
            store.ArtistNames[language] = text(false);
            for (int track = 1; track <= store.TrackCount; ++track)
                store.TrackTitles(language, track) = text(true);
        }
        const TitleFileSections sections{random.bounded(2) == 1, random.bounded(2) == 1};
        const std::optional<TitleStore> back = ParseTitleFile(WriteTitleFile(store, sections));
        if (!sections.english && !sections.japanese) {
            QVERIFY(!back);
            continue;
        }
        QVERIFY(back);
        TitleStore expected = store;
        if (!sections.english || !sections.japanese) {
            const int dropped = sections.english ? Japanese : English;
            expected.DiscNames[dropped].clear();
            expected.ArtistNames[dropped].clear();
            for (int track = 1; track <= MaxTracks; ++track)
                expected.TrackTitles(dropped, track).clear();
        }
        QVERIFY2(back->sameDisc(expected), qPrintable(u"round %1"_s.arg(round)));
    }
}

void TestTitleFile::sectionsForFileTypes()
{
    QCOMPARE(sectionsForFileType(SaveFileType::EnglishOnly), (TitleFileSections{true, false}));
    QCOMPARE(sectionsForFileType(SaveFileType::JapaneseAndEnglish), (TitleFileSections{true, true}));
    QCOMPARE(sectionsForFileType(SaveFileType::JapaneseOnly), (TitleFileSections{false, true}));
    QCOMPARE(sectionsForFileType(SaveFileType::AllFiles), (TitleFileSections{true, true}));
}

void TestTitleFile::txtExtension_data()
{
    QTest::addColumn<QString>("chosen");
    QTest::addColumn<QString>("written");
    QTest::newRow("no extension") << u"/d/disc"_s << u"/d/disc.txt"_s;
    QTest::newRow("other extension") << u"/d/notes.dat"_s << u"/d/notes.dat.txt"_s;
    QTest::newRow("upper case") << u"/d/a.TXT"_s << u"/d/a.TXT"_s;
    QTest::newRow("mixed case") << u"/d/a.tXt"_s << u"/d/a.tXt"_s;
    QTest::newRow("short name") << u"txt"_s << u"txt.txt"_s;
}

void TestTitleFile::txtExtension()
{
    QFETCH(QString, chosen);
    QFETCH(QString, written);
    QCOMPARE(WithTxtExtension(chosen), written);
}

void TestTitleFile::messages()
{
    QCOMPARE(LoadErrorTitle(), u"ﾛｰﾄﾞ - ｴﾗｰ"_s);
    QCOMPARE(LoadErrorMessage(LoadFailure::NotATitleFile, u"/a b.txt"_s),
             u"ﾛｰﾄﾞしようとしている曲名ﾌｧｲﾙは\rCD-TEXTの曲名ﾌｧｲﾙの規格に合っていません。\r\r"
             "ﾌｧｲﾙ名：\r/a b.txt"_s);
    QCOMPARE(LoadErrorMessage(LoadFailure::Aborted, u"x"_s),
             u"ﾛｰﾄﾞしようとしている曲名ﾌｧｲﾙは\rCD-TEXTの曲名ﾌｧｲﾙの規格に合っていません。\r"
             "ﾛｰﾄﾞを中止します。\r\rﾌｧｲﾙ名：\rx"_s);
    QCOMPARE(SaveErrorMessage(u"/p.txt"_s, u"No space"_s),
             u"曲名ﾌｧｲﾙを保存できませんでした。\r\rﾌｧｲﾙ名：\r/p.txt\rNo space"_s);
}

QTEST_GUILESS_MAIN(TestTitleFile)
#include "tst_titlefile.moc"
