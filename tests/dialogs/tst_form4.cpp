// The track-count dialog: the count it opens with, what OK does to the titles
// in both languages, and that every other way out changes nothing.
#include "model/titlestore.h"
#include "ui/trackcount/form4.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

using namespace sonolabe;
using namespace Qt::Literals::StringLiterals;

class TestForm4 : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void changeCount_data();
    void changeCount();
    void loweredThenRaisedShowsEmptyTitles();
    void closingWithoutOk_data();
    void closingWithoutOk();
};

namespace {

TitleStore discWithTracks(int count)
{
    TitleStore store;
    store.TrackCount = quint8(count);
    for (int language : {Japanese, English}) {
        store.DiscNames[language] = u"disc"_s;
        store.ArtistNames[language] = u"artist"_s;
        for (int track = 1; track <= count; ++track)
            store.TrackTitles(language, track) = u"title %1 %2"_s.arg(language).arg(track);
    }
    return store;
}

// Opens the dialog, checks that the field shows the count with the caret
// behind it, replaces it by typing and presses Enter.
void typeCountAndConfirm(TitleStore &store, const QString &typed)
{
    Form4 dialog(store, nullptr);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowActive(&dialog));
    auto *field = dialog.findChild<QLineEdit *>(u"Text4"_s);
    QCOMPARE(QApplication::focusWidget(), field);
    QCOMPARE(field->text(), QString::number(store.TrackCount));
    QCOMPARE(field->cursorPosition(), field->text().size());
    QVERIFY(!field->hasSelectedText());
    if (!typed.isEmpty()) {
        field->clear();
        QTest::keyClicks(field, typed);
    }
    QTest::keyClick(field, Qt::Key_Return);
}

} // namespace

void TestForm4::changeCount_data()
{
    QTest::addColumn<int>("before");
    QTest::addColumn<QString>("typed"); // empty: Enter on the count shown
    QTest::addColumn<int>("after");
    QTest::newRow("unchanged 12") << 12 << QString() << 12;
    QTest::newRow("12 lowered to 10") << 12 << u"10"_s << 10;
    QTest::newRow("10 raised to 12") << 10 << u"12"_s << 12;
    QTest::newRow("07 gives 7") << 12 << u"07"_s << 7;
    QTest::newRow("0 refused") << 12 << u"0"_s << 12;
    // A file can load without track lines: its 0 cannot be confirmed either.
    QTest::newRow("0 loaded from a file") << 0 << QString() << 0;
}

// Tracks up to the smaller count keep their titles in both languages, tracks
// above the new count are empty, and names are never touched.
void TestForm4::changeCount()
{
    QFETCH(int, before);
    QFETCH(QString, typed);
    QFETCH(int, after);
    TitleStore store = discWithTracks(before);
    const TitleStore original = store;

    typeCountAndConfirm(store, typed);

    QCOMPARE(int(store.TrackCount), after);
    for (int language : {Japanese, English}) {
        QCOMPARE(store.DiscNames[language], original.DiscNames[language]);
        QCOMPARE(store.ArtistNames[language], original.ArtistNames[language]);
        for (int track = 1; track <= MaxTracks; ++track) {
            const QString expected =
                track <= qMin(before, after) ? original.TrackTitles(language, track) : QString();
            QCOMPARE(store.TrackTitles(language, track), expected);
        }
    }
}

void TestForm4::loweredThenRaisedShowsEmptyTitles()
{
    TitleStore store = discWithTracks(12);
    typeCountAndConfirm(store, u"10"_s);
    typeCountAndConfirm(store, u"12"_s);
    QCOMPARE(int(store.TrackCount), 12);
    for (int language : {Japanese, English}) {
        QCOMPARE(store.TrackTitles(language, 10), u"title %1 10"_s.arg(language));
        QVERIFY(store.TrackTitles(language, 11).isEmpty());
        QVERIFY(store.TrackTitles(language, 12).isEmpty());
    }
}

void TestForm4::closingWithoutOk_data()
{
    QTest::addColumn<QString>("how");
    QTest::newRow("Cancel") << u"cancel"_s;
    QTest::newRow("Escape") << u"escape"_s;
    QTest::newRow("window closed") << u"close"_s;
}

void TestForm4::closingWithoutOk()
{
    QFETCH(QString, how);
    TitleStore store = discWithTracks(12);
    const TitleStore original = store;
    Form4 dialog(store, nullptr);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowActive(&dialog));
    auto *field = dialog.findChild<QLineEdit *>(u"Text4"_s);
    field->clear();
    QTest::keyClicks(field, u"3"_s);

    if (how == u"cancel")
        dialog.findChild<QPushButton *>(u"Command2"_s)->click();
    else if (how == u"escape")
        QTest::keyClick(field, Qt::Key_Escape);
    else
        dialog.close();

    QVERIFY(!dialog.isVisible());
    QVERIFY(store == original);
}

QTEST_MAIN(TestForm4)
#include "tst_form4.moc"
