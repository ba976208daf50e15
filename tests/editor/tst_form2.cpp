// The editor window driven through its controls with real keys and clicks.
#include "common/modalanswer.h"
#include "model/titlefile.h"
#include "model/titlestore.h"
#include "ui/common/beeper.h"
#include "ui/common/resources.h"
#include "ui/editor/form2.h"
#include "ui/editor/trackentry.h"
#include "ui/session.h"
#include "ui/startup/form1.h"

#include <QAbstractItemModel>
#include <QBitmap>
#include <QClipboard>
#include <QGroupBox>
#include <QInputMethodEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QSignalSpy>
#include <QTest>

#include <memory>

using namespace sonolabe;
using namespace sonolabe::test;
using namespace Qt::Literals::StringLiterals;

namespace {

// A disc of count tracks titled J1, J2, ... and E1, E2, ...
TitleStore numberedDisc(int count)
{
    TitleStore disc;
    disc.TrackCount = quint8(count);
    disc.DiscNames[Japanese] = u"ディスク"_s;
    disc.DiscNames[English] = u"Disc"_s;
    disc.ArtistNames[Japanese] = u"作者"_s;
    disc.ArtistNames[English] = u"Artist"_s;
    for (int track = 1; track <= count; ++track) {
        disc.TrackTitles(Japanese, track) = u"J"_s + QString::number(track);
        disc.TrackTitles(English, track) = u"E"_s + QString::number(track);
    }
    return disc;
}

QStringList titles(const TitleStore &store, int language)
{
    QStringList result;
    for (int track = 1; track <= store.TrackCount; ++track)
        result << store.TrackTitles(language, track);
    return result;
}

} // namespace

class TestForm2 : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void cleanup();
    void layoutAndCaptions_data();
    void layoutAndCaptions();
    void window();
    void menuBar();
    void selection_data();
    void selection();
    void pointersAndInputMethod();
    void tabOrder_data();
    void tabOrder();
    void typing_data();
    void typing();
    void enterAdvances_data();
    void enterAdvances();
    void switchingLanguage_data();
    void switchingLanguage();
    void moving_data();
    void moving();
    void noTracks();
    void lineBreaksNeverStored_data();
    void lineBreaksNeverStored();
    void loadedTextsShownUnchanged_data();
    void loadedTextsShownUnchanged();
    void overlongTextKept();
    void dialogCommandsRedraw_data();
    void dialogCommandsRedraw();
    void exitAndNew();

private:
    Form2 *open(const TitleStore &disc);
    template <typename T = QWidget> T *find(const QString &name) const
    {
        T *child = m_window->findChild<T *>(name);
        if (!child)
            qFatal("no child %s", qPrintable(name));
        return child;
    }
    QLineEdit *box(const QString &name) const { return find<QLineEdit>(name); }
    QListWidget *list() const { return find<QListWidget>(u"List1"_s); }
    QStringList entries() const
    {
        QStringList result;
        for (int row = 0; row < list()->count(); ++row)
            result << list()->item(row)->text();
        return result;
    }
    void clickTrack(int track, Qt::KeyboardModifiers modifiers = {})
    {
        QListWidgetItem *item = list()->item(track - 1);
        list()->scrollToItem(item);
        QTest::mouseClick(list()->viewport(), Qt::LeftButton, modifiers,
                          list()->visualItemRect(item).center());
    }
    void switchLanguage() { QTest::mouseClick(find(u"Label1"_s), Qt::LeftButton); }
    static void inputMethodCommit(QWidget *target, const QString &text)
    {
        QInputMethodEvent event;
        event.setCommitString(text);
        QApplication::sendEvent(target, &event);
    }

    std::unique_ptr<TitleStore> m_store;
    std::unique_ptr<Beeper> m_beeper;
    std::unique_ptr<Session> m_session;
    std::unique_ptr<Form2> m_window;
};

Form2 *TestForm2::open(const TitleStore &disc)
{
    m_store = std::make_unique<TitleStore>(disc);
    m_beeper = std::make_unique<Beeper>();
    m_session = std::make_unique<Session>(*m_store, *m_beeper);
    m_window = std::make_unique<Form2>(*m_session);
    m_window->show();
    if (!QTest::qWaitForWindowActive(m_window.get()))
        qFatal("the editor window did not become active");
    return m_window.get();
}

void TestForm2::cleanup()
{
    m_window.reset();
    m_session.reset();
}

void TestForm2::layoutAndCaptions_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QRect>("geometry"); // pixels, in the parent
    QTest::addColumn<QString>("caption");
    QTest::newRow("Label10") << u"Label10"_s << QRect(8, 8, 57, 17) << u"ﾃﾞｨｽｸ名："_s;
    QTest::newRow("Text1_0") << u"Text1_0"_s << QRect(72, 8, 345, 18) << QString();
    QTest::newRow("Label11_0") << u"Label11_0"_s << QRect(16, 32, 49, 17) << u"作者名："_s;
    QTest::newRow("Text2_1") << u"Text2_1"_s << QRect(72, 32, 345, 18) << QString();
    QTest::newRow("Label12") << u"Label12"_s << QRect(24, 64, 41, 17) << u"曲名："_s;
    QTest::newRow("Text3_0") << u"Text3_0"_s << QRect(72, 64, 345, 18) << QString();
    QTest::newRow("List1") << u"List1"_s << QRect(72, 88, 345, 196) << QString();
    QTest::newRow("Frame1") << u"Frame1"_s << QRect(8, 120, 57, 41) << u"入力中"_s;
    QTest::newRow("Label1") << u"Label1"_s << QRect(5, 16, 49, 17) << u"日本語"_s;
    QTest::newRow("Command7") << u"Command7"_s << QRect(8, 224, 57, 25) << u"上へ"_s;
    QTest::newRow("Command8") << u"Command8"_s << QRect(8, 256, 57, 25) << u"下へ"_s;
}

void TestForm2::layoutAndCaptions()
{
    QFETCH(QString, name);
    QFETCH(QRect, geometry);
    QFETCH(QString, caption);
    open(numberedDisc(3));
    QWidget *control = find(name);
    QCOMPARE(control->geometry(), geometry);
    if (auto *label = qobject_cast<QLabel *>(control))
        QCOMPARE(label->text(), caption);
    else if (auto *frame = qobject_cast<QGroupBox *>(control))
        QCOMPARE(frame->title(), caption);
    else if (auto *button = qobject_cast<QPushButton *>(control))
        QCOMPARE(button->text(), caption);
}

void TestForm2::window()
{
    Form2 *window = open(numberedDisc(3));
    QCOMPARE(window->windowTitle(), u"Sonolabe 5.1"_s);
    QCOMPARE(window->centralWidget()->size(), QSize(427, 295));
    QCOMPARE(window->minimumSize(), window->maximumSize());
    QVERIFY(window->windowFlags() & Qt::WindowMinimizeButtonHint);
    QVERIFY(window->windowFlags() & Qt::WindowCloseButtonHint);
    QVERIFY(!(window->windowFlags() & Qt::WindowMaximizeButtonHint));
    const QPoint offCentre =
        window->geometry().center() - window->screen()->availableGeometry().center();
    QVERIFY2(offCentre.manhattanLength() <= 2, "not centred on the screen");
}

void TestForm2::menuBar()
{
    Form2 *window = open(numberedDisc(3));
    const auto names = [](const QList<QAction *> &actions) {
        QStringList result;
        for (const QAction *action : actions)
            result << action->objectName() + u' ' + action->text();
        return result;
    };
    QCOMPARE(
        names(window->menuBar()->actions()),
        (QStringList{u"mnuFile ファイル(&F)"_s, u"mnuCopy コピー(&C)"_s, u"mnuLang 日本語(&L)"_s}));
    QCOMPARE(names(find<QMenu>(u"mnuFile"_s)->actions()),
             (QStringList{u"mnuNew 新規・開く(&N)"_s, u"mnuNumChange 曲数変更(&C)"_s,
                          u"mnuSave_0 保存(&S)"_s, u"mnuSave_1 保存して終了(&B)"_s, u"mnuS "_s,
                          u"mnuExit 終了(&X)"_s}));
    QVERIFY(window->findChild<QAction *>(u"mnuS"_s)->isSeparator());
    QVERIFY(!window->findChild<QAction *>(u"mnuLang"_s)->menu());
    QVERIFY(!window->findChild<QAction *>(u"mnuCopy"_s)->menu());
}

void TestForm2::selection_data()
{
    QTest::addColumn<int>("count");
    QTest::addColumn<QString>("lastEntry");
    QTest::addColumn<int>("clicked"); // 0: as the window opened
    QTest::addColumn<bool>("up");
    QTest::addColumn<bool>("down");
    QTest::addColumn<QString>("focus");
    QTest::newRow("opened, 12 tracks") << 12 << u"12 J12"_s << 0 << false << true << u"Command8"_s;
    QTest::newRow("opened, 1 track") << 1 << u"01 J1"_s << 0 << false << false << u"List1"_s;
    QTest::newRow("opened, 99 tracks") << 99 << u"99 J99"_s << 0 << false << true << u"Command8"_s;
    QTest::newRow("first clicked") << 12 << u"12 J12"_s << 1 << false << true << u"List1"_s;
    QTest::newRow("middle clicked") << 12 << u"12 J12"_s << 5 << true << true << u"List1"_s;
    QTest::newRow("last clicked") << 12 << u"12 J12"_s << 12 << true << false << u"List1"_s;
    QTest::newRow("last of 99 clicked") << 99 << u"99 J99"_s << 99 << true << false << u"List1"_s;
}

void TestForm2::selection()
{
    QFETCH(int, count);
    QFETCH(QString, lastEntry);
    QFETCH(int, clicked);
    QFETCH(bool, up);
    QFETCH(bool, down);
    QFETCH(QString, focus);

    TitleStore disc = numberedDisc(count);
    disc.LanguageMode = English; // whatever the store held, the window opens on Japanese
    disc.CurrentTrack = quint8(count);
    open(disc);
    QCOMPARE(int(m_store->LanguageMode), Japanese);
    QCOMPARE(list()->count(), count);
    QCOMPARE(list()->item(0)->text(), u"01 J1"_s);
    QCOMPARE(list()->item(count - 1)->text(), lastEntry);
    QCOMPARE(box(u"Text1_0"_s)->text(), u"ディスク"_s);
    QCOMPARE(box(u"Text2_0"_s)->text(), u"作者"_s);
    for (const QString &name : {u"Text1_0"_s, u"Text2_0"_s, u"Text3_0"_s})
        QVERIFY(box(name)->isVisible());
    for (const QString &name : {u"Text1_1"_s, u"Text2_1"_s, u"Text3_1"_s})
        QVERIFY(!box(name)->isVisible());
    QTRY_VERIFY(QApplication::focusWidget());
    if (clicked) {
        clickTrack(clicked);
        // Ctrl with a click on the selected entry leaves it selected.
        clickTrack(clicked, Qt::ControlModifier);
    }

    const int track = clicked ? clicked : 1;
    QCOMPARE(int(m_store->CurrentTrack), track);
    QCOMPARE(list()->selectedItems(), QList<QListWidgetItem *>{list()->item(track - 1)});
    QCOMPARE(box(u"Text3_0"_s)->text(), u"J"_s + QString::number(track));
    QCOMPARE(find(u"Command7"_s)->isEnabled(), up);
    QCOMPARE(find(u"Command8"_s)->isEnabled(), down);
    QCOMPARE(QApplication::focusWidget()->objectName(), focus);
    QVERIFY(m_store->sameDisc(disc));
}

void TestForm2::pointersAndInputMethod()
{
    open(numberedDisc(3));
    switchLanguage();
    switchLanguage();
    const QImage japanese = japanesePointer().bitmap().toImage();
    const QImage english = englishPointer().bitmap().toImage();
    for (const QString &name :
         {u"Text1_0"_s, u"Text2_0"_s, u"Text3_0"_s, u"Text1_1"_s, u"Text2_1"_s, u"Text3_1"_s}) {
        const bool isJapanese = name.endsWith(u'0');
        const QCursor pointer = box(name)->cursor();
        QCOMPARE(pointer.shape(), Qt::BitmapCursor);
        QCOMPARE(pointer.hotSpot(), QPoint(5, 11));
        QVERIFY2(pointer.bitmap().toImage() == (isJapanese ? japanese : english), qPrintable(name));
        QCOMPARE(box(name)->testAttribute(Qt::WA_InputMethodEnabled), isJapanese);
    }
    QCOMPARE(list()->cursor().shape(), Qt::ArrowCursor);
}

void TestForm2::tabOrder_data()
{
    QTest::addColumn<bool>("english");
    QTest::addColumn<QStringList>("order");
    QTest::newRow("Japanese") << false << QStringList{u"Command7"_s, u"List1"_s,   u"Text3_0"_s,
                                                      u"Text2_0"_s,  u"Text1_0"_s, u"Command8"_s};
    QTest::newRow("English") << true << QStringList{u"Command7"_s, u"List1"_s,   u"Text1_1"_s,
                                                    u"Text2_1"_s,  u"Text3_1"_s, u"Command8"_s};
}

void TestForm2::tabOrder()
{
    QFETCH(bool, english);
    QFETCH(QStringList, order);
    open(numberedDisc(12));
    if (english)
        switchLanguage();
    clickTrack(5);
    find(u"Command8"_s)->setFocus();
    QStringList visited;
    for (qsizetype i = 0; i < order.size(); ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        visited << QApplication::focusWidget()->objectName();
    }
    QCOMPARE(visited, order);
}

void TestForm2::typing_data()
{
    QTest::addColumn<bool>("english");
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("track");
    QTest::addColumn<bool>("replace"); // select all and delete first
    QTest::addColumn<QString>("typed");
    QTest::newRow("Japanese title, input method")
        << false << u"Text3_0"_s << 7 << false << u"春風"_s;
    QTest::newRow("English title, keys") << true << u"Text3_1"_s << 7 << false << u"abc"_s;
    QTest::newRow("title with percent signs") << false << u"Text3_0"_s << 2 << true << u"%1 %2"_s;
    QTest::newRow("title emptied") << true << u"Text3_1"_s << 12 << true << QString();
    QTest::newRow("Japanese disc name, keys") << false << u"Text1_0"_s << 3 << false << u"xy"_s;
    QTest::newRow("English artist, keys") << true << u"Text2_1"_s << 12 << true << u"Choir"_s;
}

void TestForm2::typing()
{
    QFETCH(bool, english);
    QFETCH(QString, name);
    QFETCH(int, track);
    QFETCH(bool, replace);
    QFETCH(QString, typed);

    open(numberedDisc(12));
    if (english)
        switchLanguage();
    clickTrack(track);
    TitleStore expected = *m_store;
    QStringList expectedEntries = entries();
    const int language = english ? English : Japanese;
    QString &field = name.startsWith(u"Text1")   ? expected.DiscNames[language]
                     : name.startsWith(u"Text2") ? expected.ArtistNames[language]
                                                 : expected.TrackTitles(language, track);
    field = (replace ? QString() : field) + typed;
    if (name.startsWith(u"Text3"))
        expectedEntries[track - 1] = TrackEntry(track, field);

    QSignalSpy selections(list(), &QListWidget::currentRowChanged);
    QSignalSpy rewrites(list()->model(), &QAbstractItemModel::dataChanged);
    QSignalSpy resets(list()->model(), &QAbstractItemModel::modelReset);
    QSignalSpy removals(list()->model(), &QAbstractItemModel::rowsRemoved);
    QLineEdit *edit = box(name);
    QTest::mouseClick(edit, Qt::LeftButton);
    QTest::keyClick(edit, Qt::Key_End);
    if (replace) {
        QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(edit, Qt::Key_Backspace);
    }
    if (typed.isEmpty())
        ;
    else if (typed.front().unicode() < 0x80)
        QTest::keyClicks(edit, typed);
    else
        inputMethodCommit(edit, typed);

    QCOMPARE(*m_store, expected);
    QCOMPARE(entries(), expectedEntries);
    QCOMPARE(list()->currentRow(), track - 1);
    QCOMPARE(selections.count(), 0);
    QCOMPARE(resets.count() + removals.count(), 0);
    // A title keystroke rewrites its own entry and no other.
    for (const QList<QVariant> &rewrite : rewrites)
        QCOMPARE(rewrite.at(0).toModelIndex().row(), track - 1);
    QCOMPARE(rewrites.isEmpty(), !name.startsWith(u"Text3"));
}

void TestForm2::enterAdvances_data()
{
    QTest::addColumn<int>("count");
    QTest::addColumn<bool>("english");
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("from");
    QTest::addColumn<int>("key");
    QTest::addColumn<Qt::KeyboardModifiers>("modifiers");
    QTest::addColumn<int>("to");
    const Qt::KeyboardModifiers none;
    QTest::newRow("middle") << 12 << false << u"Text3_0"_s << 3 << int(Qt::Key_Return) << none << 4;
    QTest::newRow("last wraps") << 12 << false << u"Text3_0"_s << 12 << int(Qt::Key_Return) << none
                                << 1;
    QTest::newRow("English, last of 99 wraps")
        << 99 << true << u"Text3_1"_s << 99 << int(Qt::Key_Return) << none << 1;
    QTest::newRow("single track stays")
        << 1 << false << u"Text3_0"_s << 1 << int(Qt::Key_Return) << none << 1;
    QTest::newRow("Shift+Enter") << 12 << true << u"Text3_1"_s << 5 << int(Qt::Key_Return)
                                 << Qt::KeyboardModifiers(Qt::ShiftModifier) << 6;
    QTest::newRow("keypad Enter") << 12 << false << u"Text3_0"_s << 5 << int(Qt::Key_Enter)
                                  << Qt::KeyboardModifiers(Qt::KeypadModifier) << 6;
    QTest::newRow("disc-name box does nothing")
        << 12 << false << u"Text1_0"_s << 5 << int(Qt::Key_Return) << none << 5;
}

void TestForm2::enterAdvances()
{
    QFETCH(int, count);
    QFETCH(bool, english);
    QFETCH(QString, name);
    QFETCH(int, from);
    QFETCH(int, key);
    QFETCH(Qt::KeyboardModifiers, modifiers);
    QFETCH(int, to);

    open(numberedDisc(count));
    if (english)
        switchLanguage();
    clickTrack(from);
    QTest::mouseClick(box(name), Qt::LeftButton);
    QTest::keyClick(box(name), Qt::Key(key), modifiers);
    QCOMPARE(int(m_store->CurrentTrack), to);
    QCOMPARE(list()->currentRow(), to - 1);
    const QString title = (english ? u"E"_s : u"J"_s) + QString::number(to);
    QCOMPARE(box(english ? u"Text3_1"_s : u"Text3_0"_s)->text(), title);
    QCOMPARE(QApplication::focusWidget(), box(name));
    QVERIFY(m_store->sameDisc(numberedDisc(count)));
}

void TestForm2::switchingLanguage_data()
{
    QTest::addColumn<QString>("how");
    QTest::newRow("label") << u"label"_s;
    QTest::newRow("menu command") << u"menu"_s;
    QTest::newRow("access key Alt+L") << u"Alt+L"_s;
}

void TestForm2::switchingLanguage()
{
    QFETCH(QString, how);
    Form2 *window = open(numberedDisc(12));
    const auto switchOnce = [&] {
        if (how == u"label")
            switchLanguage();
        else if (how == u"menu")
            window->findChild<QAction *>(u"mnuLang"_s)->trigger();
        else
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_L, Qt::AltModifier);
    };
    QSignalSpy beeps(m_beeper.get(), &Beeper::beeped);
    clickTrack(8);
    QTest::mouseClick(box(u"Text2_0"_s), Qt::LeftButton);
    inputMethodCommit(box(u"Text2_0"_s), u"追加"_s);
    const TitleStore typed = *m_store;

    for (const int language : {English, Japanese}) {
        switchOnce();
        const bool english = language == English;
        const QString suffix = english ? u"_1"_s : u"_0"_s;
        QCOMPARE(beeps.count(), english ? 1 : 2);
        QCOMPARE(int(m_store->LanguageMode), language);
        QCOMPARE(find<QLabel>(u"Label1"_s)->text(), english ? u"英語"_s : u"日本語"_s);
        QCOMPARE(window->findChild<QAction *>(u"mnuLang"_s)->text(),
                 english ? u"英語(&L)"_s : u"日本語(&L)"_s);
        QCOMPARE(list()->count(), 12);
        QCOMPARE(list()->item(7)->text(), english ? u"08 E8"_s : u"08 J8"_s);
        QCOMPARE(list()->currentRow(), 0);
        QCOMPARE(int(m_store->CurrentTrack), 1);
        QCOMPARE(box(u"Text3"_s + suffix)->text(), english ? u"E1"_s : u"J1"_s);
        QCOMPARE(box(u"Text2"_s + suffix)->text(), english ? u"Artist"_s : u"作者追加"_s);
        QVERIFY(box(u"Text1"_s + suffix)->isVisible());
        QVERIFY(!box(english ? u"Text1_0"_s : u"Text1_1"_s)->isVisible());
        QVERIFY(!find(u"Command7"_s)->isEnabled());
        QVERIFY(find(u"Command8"_s)->isEnabled());
        QCOMPARE(QApplication::focusWidget(), box(u"Text1"_s + suffix));
        QVERIFY(m_store->sameDisc(typed));
    }
}

void TestForm2::moving_data()
{
    QTest::addColumn<bool>("english");
    QTest::addColumn<QStringList>("shown");
    QTest::addColumn<int>("selected");
    QTest::addColumn<QStringList>("clicks");
    QTest::addColumn<QStringList>("result");
    QTest::addColumn<int>("track");
    QTest::addColumn<bool>("up");
    QTest::addColumn<bool>("down");
    const QStringList abc{u"A"_s, u"B"_s, u"C"_s};
    const QStringList up{u"Command7"_s}, down{u"Command8"_s};
    QTest::newRow("B up") << false << abc << 2 << up << QStringList{u"B"_s, u"A"_s, u"C"_s} << 1
                          << false << true;
    QTest::newRow("B up, then down")
        << false << abc << 2 << (up + down) << abc << 2 << true << true;
    QTest::newRow("C up") << false << abc << 3 << up << QStringList{u"A"_s, u"C"_s, u"B"_s} << 2
                          << true << true;
    QTest::newRow("A down twice, English")
        << true << abc << 1 << (down + down) << QStringList{u"B"_s, u"C"_s, u"A"_s} << 3 << true
        << false;
    QTest::newRow("empty title up") << false << QStringList{u"A"_s, QString(), u"C"_s} << 2 << up
                                    << QStringList{QString(), u"A"_s, u"C"_s} << 1 << false << true;
}

void TestForm2::moving()
{
    QFETCH(bool, english);
    QFETCH(QStringList, shown);
    QFETCH(int, selected);
    QFETCH(QStringList, clicks);
    QFETCH(QStringList, result);
    QFETCH(int, track);
    QFETCH(bool, up);
    QFETCH(bool, down);

    const int language = english ? English : Japanese;
    const QStringList other{u"X"_s, u"Y"_s, u"Z"_s};
    TitleStore disc = numberedDisc(3);
    for (int i = 0; i < 3; ++i) {
        disc.TrackTitles(language, i + 1) = shown[i];
        disc.TrackTitles(1 - language, i + 1) = other[i];
    }
    open(disc);
    if (english)
        switchLanguage();
    clickTrack(selected);
    for (const QString &button : clicks)
        QTest::mouseClick(find(button), Qt::LeftButton);

    QCOMPARE(titles(*m_store, language), result);
    QCOMPARE(titles(*m_store, 1 - language), other);
    QCOMPARE(m_store->DiscNames, disc.DiscNames);
    QCOMPARE(m_store->ArtistNames, disc.ArtistNames);
    QCOMPARE(entries(), (QStringList{TrackEntry(1, result[0]), TrackEntry(2, result[1]),
                                     TrackEntry(3, result[2])}));
    QCOMPARE(list()->currentRow(), track - 1);
    QCOMPARE(int(m_store->CurrentTrack), track);
    QCOMPARE(box(english ? u"Text3_1"_s : u"Text3_0"_s)->text(), result[track - 1]);
    QCOMPARE(find(u"Command7"_s)->isEnabled(), up);
    QCOMPARE(find(u"Command8"_s)->isEnabled(), down);
    QCOMPARE(QApplication::focusWidget(), list());
}

void TestForm2::noTracks()
{
    TitleStore disc = numberedDisc(0);
    open(disc);
    QSignalSpy beeps(m_beeper.get(), &Beeper::beeped);
    for (const int language : {Japanese, English}) {
        const QString suffix = language == English ? u"_1"_s : u"_0"_s;
        QCOMPARE(list()->count(), 0);
        QVERIFY(!box(u"Text3"_s + suffix)->isEnabled());
        QVERIFY(box(u"Text3"_s + suffix)->text().isEmpty());
        QVERIFY(!find(u"Command7"_s)->isEnabled());
        QVERIFY(!find(u"Command8"_s)->isEnabled());
        QTest::keyClick(list(), Qt::Key_Down);
        QTest::mouseClick(list()->viewport(), Qt::LeftButton, {}, QPoint(20, 20));
        QTest::keyClick(box(u"Text3"_s + suffix), Qt::Key_Return);
        QTest::mouseClick(box(u"Text1"_s + suffix), Qt::LeftButton);
        QTest::keyClicks(box(u"Text1"_s + suffix), u"!"_s);
        disc.DiscNames[language] += u'!';
        QCOMPARE(*m_store, disc);
        QCOMPARE(list()->count(), 0);
        switchLanguage();
        disc.LanguageMode = quint8(1 - disc.LanguageMode);
    }
    QCOMPARE(beeps.count(), 2);
}

void TestForm2::lineBreaksNeverStored_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("loaded");
    QTest::addColumn<QString>("how"); // paste, input method or keys
    QTest::addColumn<QString>("input");
    QTest::addColumn<QString>("stored");
    QTest::newRow("title, CR LF pasted")
        << u"Text3_0"_s << u"J1"_s << u"paste"_s << u"a\r\nb"_s << u"J1a b"_s;
    QTest::newRow("title, LFs pasted")
        << u"Text3_0"_s << QString() << u"paste"_s << u"\na\n\nb"_s << u" a  b"_s;
    QTest::newRow("disc name, Tab pasted")
        << u"Text1_1"_s << QString() << u"paste"_s << u"a\tb\r\n"_s << u"a b "_s;
    QTest::newRow("artist, input method with LF")
        << u"Text2_0"_s << QString() << u"input method"_s << u"あ\nい"_s << u"あ い"_s;
    QTest::newRow("loaded LF kept beside a pasted LF")
        << u"Text3_0"_s << u"p\nq"_s << u"paste"_s << u"\n"_s << u"p\nq "_s;
    QTest::newRow("loaded LF kept while typing")
        << u"Text3_0"_s << u"p\nq"_s << u"keys"_s << u"rs"_s << u"p\nqrs"_s;
}

void TestForm2::lineBreaksNeverStored()
{
    QFETCH(QString, name);
    QFETCH(QString, loaded);
    QFETCH(QString, how);
    QFETCH(QString, input);
    QFETCH(QString, stored);

    const int language = name.endsWith(u'1') ? English : Japanese;
    TitleStore disc = numberedDisc(2);
    QString &field = name.startsWith(u"Text1")   ? disc.DiscNames[language]
                     : name.startsWith(u"Text2") ? disc.ArtistNames[language]
                                                 : disc.TrackTitles(language, 1);
    field = loaded;
    open(disc);
    if (language == English)
        switchLanguage();
    QLineEdit *edit = box(name);
    QCOMPARE(edit->text(), loaded);
    QTest::mouseClick(edit, Qt::LeftButton);
    QTest::keyClick(edit, Qt::Key_End);
    if (how == u"paste") {
        QGuiApplication::clipboard()->setText(input);
        QTest::keyClick(edit, Qt::Key_V, Qt::ControlModifier);
    } else if (how == u"input method") {
        inputMethodCommit(edit, input);
    } else {
        QTest::keyClicks(edit, input);
    }
    field = stored;
    QCOMPARE(edit->text(), stored);
    QCOMPARE(m_store->DiscNames, disc.DiscNames);
    QCOMPARE(m_store->ArtistNames, disc.ArtistNames);
    QCOMPARE(titles(*m_store, language), titles(disc, language));
    QCOMPARE(list()->item(0)->text(), TrackEntry(1, disc.TrackTitles(language, 1)));
}

void TestForm2::loadedTextsShownUnchanged_data()
{
    QTest::addColumn<QString>("text");
    QTest::newRow("lone LF") << u"a\nb"_s;
    QTest::newRow("Tab") << u"a\tb"_s;
    QTest::newRow("half-width katakana") << u"ｿﾉﾗﾍﾞ ｶﾀｶﾅ"_s;
}

void TestForm2::loadedTextsShownUnchanged()
{
    QFETCH(QString, text);
    TitleStore disc = numberedDisc(3);
    for (const int language : {Japanese, English}) {
        disc.DiscNames[language] = text;
        disc.ArtistNames[language] = text;
        disc.TrackTitles(language, 2) = text;
        disc.TrackTitles(language, 3) = text + text;
    }
    const QByteArray file = WriteTitleFile(disc, {});
    open(disc);
    QCOMPARE(list()->item(1)->text(), TrackEntry(2, text));
    for (const QString &suffix : {u"_0"_s, u"_1"_s}) {
        QCOMPARE(box(u"Text1"_s + suffix)->text(), text);
        clickTrack(2);
        QCOMPARE(box(u"Text3"_s + suffix)->text(), text);
        QTest::mouseClick(box(u"Text3"_s + suffix), Qt::LeftButton);
        QTest::keyClick(box(u"Text3"_s + suffix), Qt::Key_Return);
        QTest::keyClick(box(u"Text3"_s + suffix), Qt::Key_Return);
        QTest::mouseClick(find(u"Command8"_s), Qt::LeftButton);
        QTest::mouseClick(find(u"Command7"_s), Qt::LeftButton);
        switchLanguage();
    }
    QVERIFY(m_store->sameDisc(disc));
    QCOMPARE(WriteTitleFile(*m_store, {}), file);
}

void TestForm2::overlongTextKept()
{
    // Longer than a box holds: shown cut, refusing edits, never written back.
    const QString text = QString(40000, u'x') + u"end"_s;
    TitleStore disc = numberedDisc(2);
    disc.DiscNames[Japanese] = text;
    disc.TrackTitles(Japanese, 1) = text;
    open(disc);
    QLineEdit *title = box(u"Text3_0"_s);
    const QString shown = text.first(title->maxLength());
    QCOMPARE(title->text(), shown);
    QCOMPARE(list()->item(0)->text(), TrackEntry(1, text));
    for (QLineEdit *edit : {box(u"Text1_0"_s), title}) {
        QTest::mouseClick(edit, Qt::LeftButton);
        QTest::keyClicks(edit, u"z"_s);
        QTest::keyClick(edit, Qt::Key_Backspace);
        inputMethodCommit(edit, u"字"_s);
        QCOMPARE(edit->text(), shown);
    }
    clickTrack(2);
    clickTrack(1);
    QVERIFY(m_store->sameDisc(disc));

    // A title of ordinary length takes edits again.
    clickTrack(2);
    QTest::mouseClick(title, Qt::LeftButton);
    QTest::keyClicks(title, u"z"_s);
    QCOMPARE(m_store->TrackTitles(Japanese, 2), u"J2z"_s);
}

void TestForm2::dialogCommandsRedraw_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<QString>("dialog");
    QTest::addColumn<int>("count"); // set while the dialog is open
    QTest::newRow("track count") << u"mnuNumChange"_s << u"Form4"_s << 12;
    QTest::newRow("copy") << u"mnuCopy"_s << u"Form3"_s << 12;
    QTest::newRow("track count lowered to none") << u"mnuNumChange"_s << u"Form4"_s << 0;
}

void TestForm2::dialogCommandsRedraw()
{
    QFETCH(QString, command);
    QFETCH(QString, dialog);
    QFETCH(int, count);
    Form2 *window = open(numberedDisc(12));
    clickTrack(5);
    // The store changes behind the window while the dialog is open.
    QString shown;
    ModalAnswer answer([&](QWidget *modal) {
        shown = modal->objectName();
        m_store->TrackTitles(Japanese, 1) = u"changed"_s;
        m_store->DropTracksAbove(count);
        static_cast<QDialog *>(modal)->reject();
    });
    window->findChild<QAction *>(command)->trigger();
    QVERIFY(answer.answered());
    QCOMPARE(shown, dialog);
    QCOMPARE(list()->count(), count);
    QCOMPARE(list()->currentRow(), count ? 0 : -1);
    QCOMPARE(int(m_store->CurrentTrack), count ? 1 : 0);
    QCOMPARE(box(u"Text3_0"_s)->text(), count ? u"changed"_s : QString());
    QCOMPARE(box(u"Text3_0"_s)->isEnabled(), count > 0);
    if (count)
        QCOMPARE(list()->item(0)->text(), u"01 changed"_s);
    // The window gives it the focus as soon as it is active again.
    QCOMPARE(window->focusWidget(), box(u"Text1_0"_s));
}

void TestForm2::exitAndNew()
{
    Form2 *window = open(numberedDisc(4));
    clickTrack(3);
    window->findChild<QAction *>(u"mnuNew"_s)->trigger();
    QVERIFY(m_session->startupDialog() && m_session->startupDialog()->isVisible());
    QCOMPARE(list()->currentRow(), 2);

    QSignalSpy quits(m_session.get(), &Session::quitRequested);
    window->findChild<QAction *>(u"mnuExit"_s)->trigger();
    QCOMPARE(quits.count(), 1);
}

QTEST_MAIN(TestForm2)
#include "tst_form2.moc"
