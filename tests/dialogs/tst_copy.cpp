// SPDX-License-Identifier: GPL-3.0-or-later
// Copying between the languages: the copy done at OK as a plain function of
// the three directions, the blank-only flag, the selected tracks and the
// store; and the copy dialog driven through its controls.
#include "model/languagecopy.h"
#include "ui/copy/copydialog.h"

#include <QCheckBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QStyledItemDelegate>
#include <QTest>

#include <array>
#include <functional>
#include <memory>

using namespace sonolabe;
using namespace Qt::Literals::StringLiterals;

using StoreEdit = std::function<void(TitleStore &)>;
Q_DECLARE_METATYPE(sonolabe::CopyDirections)
Q_DECLARE_METATYPE(sonolabe::TrackSelection)
Q_DECLARE_METATYPE(StoreEdit)

namespace {

// Six tracks with blanks and a title of spaces. Track 7 holds a Japanese
// title above the count, to show that the copy never reaches beyond it.
TitleStore copySource()
{
    TitleStore store;
    store.trackCount = 6;
    store.discNames[Japanese] = u"ディスク"_s;
    store.discNames[English] = u"<b>Disc</b>"_s;
    store.artistNames[Japanese] = u"歌手"_s;
    const QStringList japanese{u"一"_s, u"二"_s, QString(), u"四"_s, u"五"_s, u"六"_s, u"七"_s};
    const QStringList english{u"One"_s, QString(), u"Three"_s, u"  "_s, u"Five"_s, u"Six"_s};
    for (int track = 1; track <= japanese.size(); ++track)
        store.trackTitles(Japanese, track) = japanese.at(track - 1);
    for (int track = 1; track <= english.size(); ++track)
        store.trackTitles(English, track) = english.at(track - 1);
    return store;
}

// Tracks 2 and 6, the last: bit 0 stands for track 1.
const TrackSelection tracks2And6 = TrackSelection().set(1).set(5);

QList<int> selectedLines(QListWidget *list)
{
    QList<int> lines;
    for (int k = 0; k < list->count(); ++k)
        if (list->item(k)->isSelected())
            lines << k;
    return lines;
}

void clickLine(QListWidget *list, int line, Qt::KeyboardModifiers modifiers = {})
{
    const QRect rect = list->visualItemRect(list->item(line));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, modifiers, rect.center());
}

} // namespace

class TestCopy : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init();
    void copy_data();
    void copy();
    void dialog();
    void entriesOnOneLine();

private:
    template <typename T> T *child(const QString &name) { return m_dialog->findChild<T *>(name); }

    TitleStore m_store;
    std::unique_ptr<CopyDialog> m_dialog;
};

void TestCopy::init()
{
    m_store = copySource();
    m_dialog = std::make_unique<CopyDialog>(m_store, nullptr);
    m_dialog->show();
    QVERIFY(QTest::qWaitForWindowActive(m_dialog.get()));
}

void TestCopy::copy_data()
{
    QTest::addColumn<CopyDirections>("directions");
    QTest::addColumn<bool>("blankOnly");
    QTest::addColumn<TrackSelection>("selected");
    QTest::addColumn<StoreEdit>("expected");

    // The names and every direction over all tracks or none, with and
    // without blank-only, are the soak test's, from its own clicks; these
    // rows hold what it never meets.
    QTest::newRow("titles <-, tracks 2 and 6, the last")
        << CopyDirections{NoCopy, NoCopy, EnglishToJapanese} << false << tracks2And6
        << StoreEdit([](TitleStore &s) {
               s.trackTitles(Japanese, 2).clear();
               s.trackTitles(Japanese, 6) = u"Six"_s;
           });
    // Track 7 is selected too, above the count.
    QTest::newRow("titles ->, blank only: spaces are not blank")
        << CopyDirections{NoCopy, NoCopy, JapaneseToEnglish} << true << TrackSelection().set()
        << StoreEdit([](TitleStore &s) { s.trackTitles(English, 2) = u"二"_s; });
}

void TestCopy::copy()
{
    QFETCH(CopyDirections, directions);
    QFETCH(bool, blankOnly);
    QFETCH(TrackSelection, selected);
    QFETCH(StoreEdit, expected);
    TitleStore store = copySource();
    TitleStore wanted = copySource();
    expected(wanted);

    copyBetweenLanguages(store, {directions, blankOnly, selected});

    QVERIFY(store == wanted);
}

// Clicks, Shift+clicks and Ctrl+clicks in either list select the same lines
// in both; Select all and Clear all act on both. The disc-name button pressed
// three times is back on "x"; OK asks for what is shown: titles "<-" for
// tracks 2 and 6, blanks only.
void TestCopy::dialog()
{
    const std::array<QListWidget *, 2> lists{child<QListWidget>(u"trackListJapanese"_s),
                                             child<QListWidget>(u"trackListEnglish"_s)};
    QCOMPARE(child<QLabel>(u"discNameTextEnglish"_s)->textFormat(), Qt::PlainText);
    clickLine(lists[Japanese], 1);
    clickLine(lists[Japanese], 3, Qt::ShiftModifier);
    QCOMPARE(selectedLines(lists[English]), (QList<int>{1, 2, 3}));
    clickLine(lists[English], 5, Qt::ControlModifier);
    QCOMPARE(selectedLines(lists[Japanese]), (QList<int>{1, 2, 3, 5}));
    child<QPushButton>(u"selectAllButton"_s)->click();
    QCOMPARE(selectedLines(lists[Japanese]) + selectedLines(lists[English]),
             (QList<int>{0, 1, 2, 3, 4, 5, 0, 1, 2, 3, 4, 5}));
    child<QPushButton>(u"selectNoneButton"_s)->click();
    QCOMPARE(selectedLines(lists[Japanese]) + selectedLines(lists[English]), QList<int>());

    clickLine(lists[English], 1);
    clickLine(lists[English], 5, Qt::ControlModifier);
    auto *disc = child<QPushButton>(u"discNameDirectionButton"_s);
    auto *titles = child<QPushButton>(u"titleDirectionButton"_s);
    for (QPushButton *button : {disc, disc, disc, titles, titles})
        button->click();
    QCOMPARE(disc->text(), u"×"_s);
    QCOMPARE(titles->text(), u"←"_s);
    child<QCheckBox>(u"blankOnlyCheckBox"_s)->click();
    QTest::keyClick(lists[English], Qt::Key_Return);
    QCOMPARE(m_dialog->result(), int(QDialog::Accepted));
    const LanguageCopy request = m_dialog->request();
    QVERIFY(request.directions == (CopyDirections{NoCopy, NoCopy, EnglishToJapanese}));
    QVERIFY(request.blankOnly && request.tracks == tracks2And6);
}

// As in the editor's list: a loaded line feed is shown as a space, and only
// the beginning of a very long title is laid out; the entry keeps it whole.
void TestCopy::entriesOnOneLine()
{
    m_store.trackTitles(English, 1) = u"a\nb"_s;
    m_store.trackTitles(English, 2) = QString(1'000'000, u'x');
    m_dialog = std::make_unique<CopyDialog>(m_store, nullptr);
    m_dialog->show();
    auto *list = child<QListWidget>(u"trackListEnglish"_s);
    const auto *entries = qobject_cast<QStyledItemDelegate *>(list->itemDelegate());
    QVERIFY(entries);
    QCOMPARE(entries->displayText(list->item(0)->text(), QLocale()), u"01 a b"_s);
    QCOMPARE(entries->displayText(list->item(1)->text(), QLocale()),
             u"02 "_s + QString(1021, u'x'));
    QCOMPARE(list->item(1)->text().size(), 1'000'003);
}

QTEST_MAIN(TestCopy)
#include "tst_copy.moc"
