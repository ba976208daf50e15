// SPDX-License-Identifier: GPL-3.0-or-later
// The track-count field as the user meets it (typed keys and pasted texts end
// in at most two digits, the caret at the end, OK enabled only for a count
// from 1), and the track-count dialog's change of the disc.
#include "model/titlestore.h"
#include "ui/trackcount/trackcountdialog.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTest>

#include <memory>

using namespace sonolabe;
using namespace Qt::Literals::StringLiterals;

class TestTrackCount : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void field_data();
    void field();
    void changeCount_data();
    void changeCount();
};

namespace {

TitleStore discWithTracks(int count)
{
    TitleStore store;
    store.trackCount = quint8(count);
    for (int language : {Japanese, English}) {
        store.discNames[language] = u"disc"_s;
        store.artistNames[language] = u"artist"_s;
        for (int track = 1; track <= count; ++track)
            store.trackTitles(language, track) = u"title %1 %2"_s.arg(language).arg(track);
    }
    return store;
}

void pasteFromContextMenu(QLineEdit *field)
{
    std::unique_ptr<QMenu> menu(field->createStandardContextMenu());
    // The Paste entry names its key, whatever the language of the menu.
    const QString pasteKey =
        u'\t' + QKeySequence(QKeySequence::Paste).toString(QKeySequence::NativeText);
    for (QAction *action : menu->actions()) {
        if (action->text().endsWith(pasteKey) && action->isEnabled()) {
            action->trigger();
            return;
        }
    }
    QFAIL("no Paste entry enabled in the context menu");
}

// One step of a row: "type TEXT" types Latin-1 keys; "key SEQUENCE" presses
// one key combination as X11 reports it (Ctrl+letter carries its control
// character as text); "qtkey SEQUENCE" as Qt Test does (Ctrl+V carries "v");
// "char C" types a character no key of the test keyboard has; "paste menu"
// pastes through the context menu.
void runStep(QLineEdit *field, const QString &step)
{
    const QString argument = step.section(u' ', 1);
    const QKeyCombination combination = QKeySequence(argument)[0];
    if (step.startsWith(u"type ")) {
        QTest::keyClicks(field, argument);
    } else if (step.startsWith(u"key ")) {
        const Qt::Key key = combination.key();
        const Qt::KeyboardModifiers modifiers = combination.keyboardModifiers();
        QString text =
            QTest::keyToAscii(key) ? QString(QChar::fromLatin1(QTest::keyToAscii(key))) : QString();
        if (modifiers.testFlag(Qt::ControlModifier) && key >= Qt::Key_A && key <= Qt::Key_Z)
            text = QChar(char16_t(key - Qt::Key_A + 1));
        QTest::sendKeyEvent(QTest::Click, field, key, text, modifiers);
    } else if (step.startsWith(u"qtkey ")) {
        QTest::keyClick(field, combination.key(), combination.keyboardModifiers());
    } else if (step.startsWith(u"char ")) {
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, argument);
        QApplication::sendEvent(field, &press);
    } else {
        pasteFromContextMenu(field);
    }
}

// Opens the track-count dialog, checks that the field shows the count with
// the caret behind it, types a count over it unless typed is empty, and
// presses Enter, or clicks Cancel when typed ends in " Cancel". The count
// chosen is applied as the editor applies it.
void typeCountAndClose(TitleStore &store, const QString &typed)
{
    TrackCountDialog dialog(store.trackCount, nullptr);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowActive(&dialog));
    auto *field = dialog.findChild<QLineEdit *>(u"Text4"_s);
    QCOMPARE(QApplication::focusWidget(), field);
    QCOMPARE(field->text(), QString::number(store.trackCount));
    QCOMPARE(field->cursorPosition(), field->text().size());
    QVERIFY(!field->hasSelectedText());
    if (!typed.isEmpty()) {
        field->clear();
        QTest::keyClicks(field, typed.section(u' ', 0, 0));
    }
    if (typed.endsWith(u" Cancel"))
        dialog.findChild<QPushButton *>(u"Command2"_s)->click();
    else
        QTest::keyClick(field, Qt::Key_Return);
    if (dialog.result() == QDialog::Accepted)
        store.dropTracksAbove(dialog.trackCount());
}

} // namespace

void TestTrackCount::field_data()
{
    QTest::addColumn<QString>("clipboard");
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("caret");
    QTest::addColumn<bool>("okEnabled");
    const auto row = [](const char *name, const QString &clipboard, const QStringList &steps,
                        const QString &text, int caret, bool okEnabled) {
        QTest::newRow(name) << clipboard << steps << text << caret << okEnabled;
    };
    row("letter, minus and space ignored", {}, {u"type a- "_s}, {}, 0, false);
    row("full-width digit typed is ignored", {}, {u"char １"_s}, {}, 0, false);
    row("third digit refused", {}, {u"type 123"_s}, u"12"_s, 2, true);
    row("0 keeps OK disabled", {}, {u"type 0"_s}, u"0"_s, 1, false);
    row("00 keeps OK disabled", {}, {u"type 00"_s}, u"00"_s, 2, false);
    row("Backspace empties", {}, {u"type 5"_s, u"key Backspace"_s}, {}, 0, false);
    row("3 before 5, caret to the end", {}, {u"type 5"_s, u"key Home"_s, u"type 3"_s}, u"35"_s, 2,
        true);
    row("Delete keeps its meaning", {}, {u"type 12"_s, u"key Home"_s, u"key Delete"_s}, u"2"_s, 1,
        true);
    row("Ctrl+V discarded", u"7"_s, {u"key Ctrl+V"_s}, {}, 0, false);
    row("Ctrl+V with text v discarded", u"7"_s, {u"qtkey Ctrl+V"_s}, {}, 0, false);
    row("Ctrl+C, Ctrl+X and Ctrl+Z discarded", u"clip"_s,
        {u"type 12"_s, u"key Shift+Home"_s, u"key Ctrl+C"_s, u"key Ctrl+X"_s, u"key Ctrl+Z"_s},
        u"12"_s, 0, true);
    row("Ctrl+Backspace, Ctrl+Delete and Alt+Backspace do nothing", {},
        {u"type 12"_s, u"key Ctrl+Backspace"_s, u"key Home"_s, u"key Ctrl+Delete"_s,
         u"key Alt+Backspace"_s},
        u"12"_s, 0, true);
    row("Shift+Insert pastes 1a as 1", u"1a"_s, {u"key Shift+Insert"_s}, u"1"_s, 1, true);
    row("context menu pastes 1a as 1", u"1a"_s, {u"paste menu"_s}, u"1"_s, 1, true);
    row("pasted non-ASCII digits leave nothing", u"１\u0663"_s, {u"paste menu"_s}, {}, 0, false);
    row("pasted a1b2 cut to a1, then cleaned", u"a1b2"_s, {u"paste menu"_s}, u"1"_s, 1, true);
}

// The field is the same in both dialogs; the track-count dialog stands for
// both.
void TestTrackCount::field()
{
    QFETCH(QString, clipboard);
    QFETCH(QStringList, steps);
    QFETCH(QString, text);
    QFETCH(int, caret);
    QFETCH(bool, okEnabled);

    TitleStore store;
    store.trackCount = 9;
    TrackCountDialog dialog(store.trackCount, nullptr);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowActive(&dialog));
    auto *field = dialog.findChild<QLineEdit *>(u"Text4"_s);
    auto *ok = dialog.findChild<QPushButton *>(u"Command1"_s);
    field->setText(QString());
    QVERIFY(!ok->isEnabled());
    QGuiApplication::clipboard()->setText(clipboard);

    for (const QString &step : steps) {
        runStep(field, step);
        if (QTest::currentTestFailed())
            return;
    }

    QCOMPARE(field->text(), text);
    QCOMPARE(field->cursorPosition(), caret);
    QCOMPARE(ok->isEnabled(), okEnabled);
    QCOMPARE(QGuiApplication::clipboard()->text(), clipboard);
    QCOMPARE(int(store.trackCount), 9); // only OK writes the store
}

void TestTrackCount::changeCount_data()
{
    QTest::addColumn<int>("before");
    QTest::addColumn<QStringList>("typed"); // one showing of the dialog each; empty: Enter
    QTest::addColumn<int>("after");
    QTest::addColumn<int>("kept"); // tracks that keep their titles
    QTest::newRow("unchanged 12") << 12 << QStringList{QString()} << 12 << 12;
    QTest::newRow("lowered to 10, raised to 12") << 12 << QStringList{u"10"_s, u"12"_s} << 12 << 10;
    QTest::newRow("07 gives 7") << 12 << QStringList{u"07"_s} << 7 << 7;
    QTest::newRow("0 refused") << 12 << QStringList{u"0"_s} << 12 << 12;
    QTest::newRow("3, then Cancel") << 12 << QStringList{u"3 Cancel"_s} << 12 << 12;
    // A file can load without track lines: its 0 cannot be confirmed either.
    QTest::newRow("0 loaded from a file") << 0 << QStringList{QString()} << 0 << 0;
}

// Only OK changes the disc: tracks up to the lowest count confirmed keep
// their titles in both languages, the tracks above it are empty, and the
// names are never touched.
void TestTrackCount::changeCount()
{
    QFETCH(int, before);
    QFETCH(QStringList, typed);
    QFETCH(int, after);
    QFETCH(int, kept);
    TitleStore store = discWithTracks(before);
    const TitleStore original = store;

    for (const QString &count : typed)
        typeCountAndClose(store, count);

    TitleStore expected = original;
    expected.trackCount = quint8(after);
    for (int language : {Japanese, English}) {
        for (int track = kept + 1; track <= MaxTracks; ++track)
            expected.trackTitles(language, track).clear();
    }
    QVERIFY(store == expected);
}

QTEST_MAIN(TestTrackCount)
#include "tst_trackcount.moc"
