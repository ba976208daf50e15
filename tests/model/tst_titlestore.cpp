// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/discs.h"
#include "model/titlestore.h"

#include <QTest>

using namespace sonolabe;
using namespace sonolabe::test;
using namespace Qt::Literals::StringLiterals;

class TestTitleStore : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void setTrackCount_data();
    void setTrackCount();
};

void TestTitleStore::setTrackCount_data()
{
    QTest::addColumn<int>("from");
    QTest::addColumn<int>("to");
    QTest::newRow("10 to 4") << 10 << 4;
    QTest::newRow("raised") << 10 << 12;
    QTest::newRow("to zero") << 99 << 0;
}

// The names stay; raising the count again afterwards shows the dropped
// tracks empty in both languages.
void TestTitleStore::setTrackCount()
{
    QFETCH(int, from);
    QFETCH(int, to);
    TitleStore store = numberedDisc(from);
    store.setTrackCount(to);
    QCOMPARE(int(store.trackCount), to);
    store.setTrackCount(MaxTracks);
    TitleStore expected = numberedDisc(std::min(from, to));
    expected.trackCount = MaxTracks;
    QVERIFY(store == expected);
}

QTEST_GUILESS_MAIN(TestTitleStore)
#include "tst_titlestore.moc"
