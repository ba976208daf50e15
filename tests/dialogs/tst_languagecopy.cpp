// The copy done by the copy dialog's OK, as a plain function of the three
// directions, the blank-only flag, the selected tracks and the store.
#include "ui/copy/languagecopy.h"

#include <QTest>

#include <functional>

using namespace sonolabe;
using namespace Qt::Literals::StringLiterals;

using StoreEdit = std::function<void(TitleStore &)>;
Q_DECLARE_METATYPE(sonolabe::CopyDirections)
Q_DECLARE_METATYPE(sonolabe::TrackSelection)
Q_DECLARE_METATYPE(StoreEdit)

class TestLanguageCopy : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void copy_data();
    void copy();
};

namespace {

// Six tracks with blanks and a title of spaces. Track 7 holds a Japanese
// title above the count, to show that the copy never reaches beyond it.
TitleStore copySource()
{
    TitleStore store;
    store.TrackCount = 6;
    store.DiscNames[Japanese] = u"ディスク"_s;
    store.DiscNames[English] = u"Disc"_s;
    store.ArtistNames[Japanese] = u"歌手"_s;
    const QStringList japanese{u"一"_s, u"二"_s, QString(), u"四"_s, u"五"_s, u"六"_s, u"七"_s};
    const QStringList english{u"One"_s, QString(), u"Three"_s, u"  "_s, u"Five"_s, u"Six"_s};
    for (int track = 1; track <= japanese.size(); ++track)
        store.TrackTitles(Japanese, track) = japanese.at(track - 1);
    for (int track = 1; track <= english.size(); ++track)
        store.TrackTitles(English, track) = english.at(track - 1);
    return store;
}

TrackSelection tracks(std::initializer_list<int> numbers)
{
    TrackSelection selection;
    for (int track : numbers)
        selection.set(std::size_t(track - 1));
    return selection;
}

} // namespace

void TestLanguageCopy::copy_data()
{
    QTest::addColumn<CopyDirections>("directions");
    QTest::addColumn<bool>("blankOnly");
    QTest::addColumn<TrackSelection>("selected");
    QTest::addColumn<StoreEdit>("expected");

    const StoreEdit nothing = [](TitleStore &) {};
    const TrackSelection all = TrackSelection().set();
    const TrackSelection none;
    QTest::newRow("all rows x, tracks selected") << CopyDirections{} << false << all << nothing;
    QTest::newRow("disc ->, overwrite")
        << CopyDirections{JapaneseToEnglish, NoCopy, NoCopy} << false << none
        << StoreEdit([](TitleStore &s) { s.DiscNames[English] = u"ディスク"_s; });
    QTest::newRow("disc ->, blank only, destination filled")
        << CopyDirections{JapaneseToEnglish, NoCopy, NoCopy} << true << none << nothing;
    QTest::newRow("artist ->, blank only, destination empty")
        << CopyDirections{NoCopy, JapaneseToEnglish, NoCopy} << true << none
        << StoreEdit([](TitleStore &s) { s.ArtistNames[English] = u"歌手"_s; });
    QTest::newRow("artist <-, empty source empties")
        << CopyDirections{NoCopy, EnglishToJapanese, NoCopy} << false << none
        << StoreEdit([](TitleStore &s) { s.ArtistNames[Japanese].clear(); });
    QTest::newRow("titles <-, tracks 2 and 5")
        << CopyDirections{NoCopy, NoCopy, EnglishToJapanese} << false << tracks({2, 5})
        << StoreEdit([](TitleStore &s) {
               s.TrackTitles(Japanese, 2).clear();
               s.TrackTitles(Japanese, 5) = u"Five"_s;
           });
    QTest::newRow("titles ->, blank only: spaces are not blank")
        << CopyDirections{NoCopy, NoCopy, JapaneseToEnglish} << true << all
        << StoreEdit([](TitleStore &s) { s.TrackTitles(English, 2) = u"二"_s; });
    QTest::newRow("titles ->, none selected")
        << CopyDirections{NoCopy, NoCopy, JapaneseToEnglish} << false << none << nothing;
    QTest::newRow("each row its own direction")
        << CopyDirections{JapaneseToEnglish, NoCopy, EnglishToJapanese} << false << tracks({1})
        << StoreEdit([](TitleStore &s) {
               s.DiscNames[English] = u"ディスク"_s;
               s.TrackTitles(Japanese, 1) = u"One"_s;
           });
    QTest::newRow("selection above the count ignored")
        << CopyDirections{NoCopy, NoCopy, JapaneseToEnglish} << false << tracks({6, 7, 99})
        << StoreEdit([](TitleStore &s) { s.TrackTitles(English, 6) = u"六"_s; });
    QTest::newRow("stray direction values") << CopyDirections{3, -1, 7} << false << all << nothing;
}

void TestLanguageCopy::copy()
{
    QFETCH(CopyDirections, directions);
    QFETCH(bool, blankOnly);
    QFETCH(TrackSelection, selected);
    QFETCH(StoreEdit, expected);
    TitleStore store = copySource();
    TitleStore wanted = copySource();
    expected(wanted);

    CopyBetweenLanguages(store, directions, blankOnly, selected);

    for (int language : {Japanese, English}) {
        QCOMPARE(store.DiscNames[language], wanted.DiscNames[language]);
        QCOMPARE(store.ArtistNames[language], wanted.ArtistNames[language]);
        for (int track = 1; track <= MaxTracks; ++track)
            QCOMPARE(store.TrackTitles(language, track), wanted.TrackTitles(language, track));
    }
    QVERIFY(store == wanted);
}

QTEST_GUILESS_MAIN(TestLanguageCopy)
#include "tst_languagecopy.moc"
