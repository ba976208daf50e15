// SPDX-License-Identifier: GPL-3.0-or-later
// The copy dialog driven through its controls: the two lists select together,
// and the copy it asks for at OK, applied to the texts it showed, changes what
// its buttons say and nothing else.
#include "common/testing.h"
#include "model/languagecopy.h"
#include "ui/copy/copydialog.h"

#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QStyledItemDelegate>

#include <array>
#include <functional>
#include <memory>

using StoreEdit = std::function<void(TitleStore &)>;
Q_DECLARE_METATYPE(StoreEdit)

namespace {

// Six tracks with blanks and a title of spaces.
TitleStore copySource()
{
    TitleStore store;
    store.trackCount = 6;
    store.discNames[Japanese] = u"ディスク"_s;
    store.discNames[English] = u"<b>Disc</b>"_s;
    store.artistNames[Japanese] = u"歌手"_s;
    const QStringList japanese{u"一"_s, u"二"_s, QString(), u"四"_s, u"五"_s, u"六"_s};
    const QStringList english{u"One"_s, QString(), u"Three"_s, u"  "_s, u"Five"_s, u"Six"_s};
    for (int track = 1; track <= 6; ++track) {
        store.trackTitles(Japanese, track) = japanese.at(track - 1);
        store.trackTitles(English, track) = english.at(track - 1);
    }
    return store;
}

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
    QTest::mouseClick(list->viewport(), Qt::LeftButton, modifiers,
                      list->visualItemRect(list->item(line)).center());
}

} // namespace

class TestCopy : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init()
    {
        m_store = copySource();
        m_dialog = std::make_unique<CopyDialog>(m_store, nullptr);
        m_dialog->show();
        QVERIFY(QTest::qWaitForWindowActive(m_dialog.get()));
    }

    // Clicks, Shift+clicks and Ctrl+clicks in either list select the same lines
    // in both; Select all and Clear all act on both. (The names show as they
    // are, one in markup as typed.)
    void listsSelectTogether()
    {
        const std::array<QListWidget *, 2> lists{child<QListWidget>(u"trackListJapanese"_s),
                                                 child<QListWidget>(u"trackListEnglish"_s)};
        QStringList names;
        for (const QString &label : {u"discNameTextJapanese"_s, u"discNameTextEnglish"_s,
                                     u"artistTextJapanese"_s, u"artistTextEnglish"_s})
            names << child<QLabel>(label)->text();
        QCOMPARE(names, (QStringList{u"ディスク"_s, u"<b>Disc</b>"_s, u"歌手"_s, QString()}));
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
    }

    void copy_data()
    {
        QTest::addColumn<QList<int>>("lines");   // Ctrl+clicked in the English list
        QTest::addColumn<QStringList>("clicks"); // then these controls, in order
        QTest::addColumn<StoreEdit>("expected");
        const QString disc = u"discNameDirectionButton"_s, titles = u"titleDirectionButton"_s;

        // The names and every direction over all tracks or none, with and
        // without blank-only, are the soak test's, from its own clicks; these
        // rows hold what it never meets.
        QTest::newRow("disc name three times: no copy; titles <-, tracks 2 and 6, the last")
            << QList<int>{1, 5} << QStringList{disc, disc, disc, titles, titles}
            << StoreEdit([](TitleStore &s) {
                   s.trackTitles(Japanese, 2).clear();
                   s.trackTitles(Japanese, 6) = u"Six"_s;
               });
        QTest::newRow("titles ->, every track, blank only: spaces are not blank")
            << QList<int>() << QStringList{titles, u"selectAllButton"_s, u"blankOnlyCheckBox"_s}
            << StoreEdit([](TitleStore &s) { s.trackTitles(English, 2) = u"二"_s; });
    }

    // Enter closes the dialog with OK; the dialog itself never writes the store.
    void copy()
    {
        QFETCH(QList<int>, lines);
        QFETCH(QStringList, clicks);
        QFETCH(StoreEdit, expected);
        auto *list = child<QListWidget>(u"trackListEnglish"_s);
        for (const int line : lines)
            clickLine(list, line, Qt::ControlModifier);
        for (const QString &name : clicks)
            child<QAbstractButton>(name)->click();
        QTest::keyClick(list, Qt::Key_Return);
        QCOMPARE(m_dialog->result(), int(QDialog::Accepted));
        TitleStore wanted = copySource();
        expected(wanted);
        QVERIFY(m_store == copySource());

        copyBetweenLanguages(m_store, m_dialog->request());

        QVERIFY(m_store == wanted);
    }

    // As in the editor's list: a loaded line feed is shown as a space, and only
    // the beginning of a very long title is laid out; the entry keeps it whole.
    void entriesOnOneLine()
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

private:
    template <typename T> T *child(const QString &name) { return m_dialog->findChild<T *>(name); }

    TitleStore m_store;
    std::unique_ptr<CopyDialog> m_dialog;
};

QTEST_MAIN(TestCopy)
#include "tst_copy.moc"
