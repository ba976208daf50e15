// The copy dialog: its lists, the direction buttons, the two lists kept on
// one selection, and the copy done at OK (the copy's cases are in
// tst_languagecopy).
#include "model/titlestore.h"
#include "ui/copy/form3.h"

#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

using namespace sonolabe;
using namespace Qt::Literals::StringLiterals;

class TestForm3 : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init();
    void selectionFollows_data();
    void selectionFollows();
    void selectAllAndClearAll();
    void okCopiesSelectedTitles();
    void closingWithoutOk_data();
    void closingWithoutOk();

private:
    template <typename T> T *child(const QString &name)
    {
        T *widget = m_dialog->findChild<T *>(name);
        if (!widget)
            qFatal("no child %s", qPrintable(name));
        return widget;
    }
    static QList<int> selectedLines(QListWidget *list)
    {
        QList<int> lines;
        for (int k = 0; k < list->count(); ++k) {
            if (list->item(k)->isSelected())
                lines << k;
        }
        return lines;
    }
    static void clickLine(QListWidget *list, int line, Qt::KeyboardModifiers modifiers = {})
    {
        const QRect rect = list->visualItemRect(list->item(line));
        QTest::mouseClick(list->viewport(), Qt::LeftButton, modifiers, rect.center());
    }

    TitleStore m_store;
    std::unique_ptr<Form3> m_dialog;
};

void TestForm3::init()
{
    m_store = TitleStore();
    m_store.TrackCount = 6;
    m_store.DiscNames[Japanese] = u"ディスク"_s;
    m_store.DiscNames[English] = u"<b>Disc</b>"_s;
    for (int track = 1; track <= 6; ++track) {
        m_store.TrackTitles(Japanese, track) = u"曲%1"_s.arg(track);
        m_store.TrackTitles(English, track) = u"Song %1"_s.arg(track);
    }
    m_store.TrackTitles(Japanese, 3).clear();
    m_dialog = std::make_unique<Form3>(m_store, nullptr);
    m_dialog->show();
    QVERIFY(QTest::qWaitForWindowActive(m_dialog.get()));
}

void TestForm3::selectionFollows_data()
{
    QTest::addColumn<int>("clicked"); // the list the user clicks in
    QTest::newRow("clicks in the Japanese list") << 0;
    QTest::newRow("clicks in the English list") << 1;
}

// A click, a Shift+click and a Ctrl+click in one list: the other list shows
// the same lines, after one change each, without echoing back.
void TestForm3::selectionFollows()
{
    QFETCH(int, clicked);
    auto *from = child<QListWidget>(u"List1_%1"_s.arg(clicked));
    auto *to = child<QListWidget>(u"List1_%1"_s.arg(1 - clicked));
    QVERIFY(selectedLines(from).isEmpty() && selectedLines(to).isEmpty());
    QSignalSpy fromChanges(from, &QListWidget::itemSelectionChanged);
    QSignalSpy toChanges(to, &QListWidget::itemSelectionChanged);

    clickLine(from, 1);
    QCOMPARE(selectedLines(to), (QList<int>{1}));
    clickLine(from, 3, Qt::ShiftModifier);
    QCOMPARE(selectedLines(to), (QList<int>{1, 2, 3}));
    clickLine(from, 5, Qt::ControlModifier);
    QCOMPARE(selectedLines(from), (QList<int>{1, 2, 3, 5}));
    QCOMPARE(selectedLines(to), (QList<int>{1, 2, 3, 5}));
    QCOMPARE(fromChanges.count(), 3);
    QCOMPARE(toChanges.count(), 3);
}

void TestForm3::selectAllAndClearAll()
{
    auto *japanese = child<QListWidget>(u"List1_0"_s);
    auto *english = child<QListWidget>(u"List1_1"_s);
    clickLine(english, 3);
    child<QPushButton>(u"Command2_1"_s)->click();
    QCOMPARE(selectedLines(japanese), (QList<int>{0, 1, 2, 3, 4, 5}));
    QCOMPARE(selectedLines(english), (QList<int>{0, 1, 2, 3, 4, 5}));
    child<QPushButton>(u"Command2_0"_s)->click();
    QVERIFY(selectedLines(japanese).isEmpty());
    QVERIFY(selectedLines(english).isEmpty());
}

// Lines read "number, space, title" and names stay plain text. The disc name
// button pressed three times is back on "x"; titles "<-" with tracks 2 and 5
// picked in the English list copy just those two English titles.
void TestForm3::okCopiesSelectedTitles()
{
    QCOMPARE(child<QListWidget>(u"List1_0"_s)->item(2)->text(), u"03 "_s);
    QCOMPARE(child<QListWidget>(u"List1_1"_s)->item(5)->text(), u"06 Song 6"_s);
    QCOMPARE(child<QLabel>(u"LabelDiscName_1"_s)->textFormat(), Qt::PlainText);
    TitleStore expected = m_store;
    expected.TrackTitles(Japanese, 2) = u"Song 2"_s;
    expected.TrackTitles(Japanese, 5) = u"Song 5"_s;

    auto *english = child<QListWidget>(u"List1_1"_s);
    clickLine(english, 1);
    clickLine(english, 4, Qt::ControlModifier);
    auto *disc = child<QPushButton>(u"Command1_0"_s);
    auto *titles = child<QPushButton>(u"Command1_2"_s);
    QStringList captions;
    for (int press = 0; press < 3; ++press) {
        disc->click();
        captions << disc->text();
    }
    titles->click();
    titles->click();
    QCOMPARE(captions, (QStringList{u"→"_s, u"←"_s, u"×"_s}));
    QCOMPARE(titles->text(), u"←"_s);
    QCOMPARE(child<QPushButton>(u"Command1_1"_s)->text(), u"×"_s);

    QTest::keyClick(english, Qt::Key_Return);

    QCOMPARE(m_dialog->result(), int(QDialog::Accepted));
    QVERIFY(m_store == expected);
}

void TestForm3::closingWithoutOk_data()
{
    QTest::addColumn<QString>("how");
    QTest::newRow("Cancel") << u"cancel"_s;
    QTest::newRow("Escape") << u"escape"_s;
    QTest::newRow("window closed") << u"close"_s;
}

void TestForm3::closingWithoutOk()
{
    QFETCH(QString, how);
    const TitleStore before = m_store;
    for (const QString &name : {u"Command1_0"_s, u"Command1_1"_s, u"Command1_2"_s})
        child<QPushButton>(name)->click();
    child<QPushButton>(u"Command2_1"_s)->click();

    if (how == u"cancel")
        child<QPushButton>(u"Command5"_s)->click();
    else if (how == u"escape")
        QTest::keyClick(child<QListWidget>(u"List1_0"_s), Qt::Key_Escape);
    else
        m_dialog->close();

    QVERIFY(!m_dialog->isVisible());
    QVERIFY(m_store == before);
}

QTEST_MAIN(TestForm3)
#include "tst_form3.moc"
