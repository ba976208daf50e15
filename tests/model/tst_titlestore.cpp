#include "model/titlestore.h"

#include <QTest>

using namespace sonolabe;
using namespace Qt::Literals::StringLiterals;

class TestTitleStore : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void clearTextsKeepsCountAndPosition();
    void dropTracksAbove_data();
    void dropTracksAbove();
};

namespace {

TitleStore filledStore(int count)
{
    TitleStore store;
    for (int language = 0; language < LanguageCount; ++language) {
        store.DiscNames[language] = u"disc %1"_s.arg(language);
        store.ArtistNames[language] = u"artist %1"_s.arg(language);
        for (int track = 1; track <= count; ++track)
            store.TrackTitles(language, track) = u"title %1.%2"_s.arg(language).arg(track);
    }
    store.TrackCount = static_cast<quint8>(count);
    return store;
}

} // namespace

void TestTitleStore::clearTextsKeepsCountAndPosition()
{
    TitleStore store = filledStore(99);
    store.CurrentTrack = 7;
    store.LanguageMode = English;
    store.CurrentFilePath = u"/tmp/a.txt"_s;
    store.ClearTexts();

    TitleStore expected;
    expected.TrackCount = 99;
    expected.CurrentTrack = 7;
    expected.LanguageMode = English;
    expected.CurrentFilePath = u"/tmp/a.txt"_s;
    QCOMPARE(store, expected);
}

void TestTitleStore::dropTracksAbove_data()
{
    QTest::addColumn<int>("from");
    QTest::addColumn<int>("to");
    QTest::newRow("10 to 4") << 10 << 4;
    QTest::newRow("unchanged") << 12 << 12;
    QTest::newRow("raised") << 10 << 12;
    QTest::newRow("to zero") << 99 << 0;
}

void TestTitleStore::dropTracksAbove()
{
    QFETCH(int, from);
    QFETCH(int, to);
    TitleStore store = filledStore(from);
    store.DropTracksAbove(to);
    QCOMPARE(int(store.TrackCount), to);

    // Raising the count again afterwards shows the dropped tracks empty.
    store.DropTracksAbove(MaxTracks);
    for (int language = 0; language < LanguageCount; ++language) {
        QCOMPARE(store.DiscNames[language], u"disc %1"_s.arg(language));
        for (int track = 1; track <= MaxTracks; ++track) {
            const bool kept = track <= std::min(from, to);
            QCOMPARE(store.TrackTitles(language, track),
                     kept ? u"title %1.%2"_s.arg(language).arg(track) : QString());
        }
    }
}

QTEST_GUILESS_MAIN(TestTitleStore)
#include "tst_titlestore.moc"
