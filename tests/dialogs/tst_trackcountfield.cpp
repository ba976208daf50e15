// The track-count field as the user meets it in both dialogs: typed keys and
// pasted texts end in digits only, at most two, with the caret at the end and
// OK enabled only for a count from 1.
#include "model/titlestore.h"
#include "ui/common/beeper.h"
#include "ui/session.h"
#include "ui/startup/form1.h"
#include "ui/trackcount/form4.h"

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

class TestTrackCountField : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void editing_data();
    void editing();
};

namespace {

// One dialog with its field and OK button, as a test sees them.
struct FieldUnderTest
{
    TitleStore store;
    Beeper beeper;
    std::unique_ptr<Session> session;
    std::unique_ptr<QDialog> ownDialog;
    QDialog *dialog = nullptr;
    QLineEdit *field = nullptr;
    QPushButton *ok = nullptr;

    explicit FieldUnderTest(const QString &which)
    {
        if (which == u"Form1") {
            session = std::make_unique<Session>(store, beeper);
            dialog = session->showStartupDialog();
        } else {
            store.TrackCount = 9;
            ownDialog = std::make_unique<Form4>(store, nullptr);
            dialog = ownDialog.get();
            dialog->show();
        }
        field = dialog->findChild<QLineEdit *>(u"Text4"_s);
        ok = dialog->findChild<QPushButton *>(u"Command1"_s);
    }
};

void pasteFromContextMenu(QLineEdit *field)
{
    std::unique_ptr<QMenu> menu(field->createStandardContextMenu());
    // The menu's Paste entry names its key; that does not depend on the language.
    const QString pasteKey =
        u'\t' + QKeySequence(QKeySequence::Paste).toString(QKeySequence::NativeText);
    QAction *paste = nullptr;
    for (QAction *action : menu->actions()) {
        if (action->text().endsWith(pasteKey))
            paste = action;
    }
    QVERIFY(paste);
    QVERIFY(paste->isEnabled());
    paste->trigger();
}

// Runs one step of a row: "type TEXT" types Latin-1 keys; "key SEQUENCE"
// presses one key combination as X11 reports it (Ctrl+letter carries its
// control character as text); "qtkey SEQUENCE" as Qt Test does (Ctrl+V
// carries "v"); "char C" types a character no key of the test keyboard has;
// "paste menu" pastes through the context menu.
void runStep(QLineEdit *field, const QString &step)
{
    const QString argument = step.section(u' ', 1);
    if (step.startsWith(u"type ")) {
        QTest::keyClicks(field, argument);
    } else if (step.startsWith(u"key ")) {
        const QKeyCombination combination = QKeySequence(argument)[0];
        const Qt::Key key = combination.key();
        const Qt::KeyboardModifiers modifiers = combination.keyboardModifiers();
        QString text =
            QTest::keyToAscii(key) ? QString(QChar::fromLatin1(QTest::keyToAscii(key))) : QString();
        if (modifiers.testFlag(Qt::ControlModifier) && key >= Qt::Key_A && key <= Qt::Key_Z)
            text = QChar(char16_t(key - Qt::Key_A + 1));
        QTest::sendKeyEvent(QTest::Click, field, key, text, modifiers);
    } else if (step.startsWith(u"qtkey ")) {
        const QKeyCombination combination = QKeySequence(argument)[0];
        QTest::keyClick(field, combination.key(), combination.keyboardModifiers());
    } else if (step.startsWith(u"char ")) {
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, argument);
        QApplication::sendEvent(field, &press);
    } else if (step == u"paste menu") {
        pasteFromContextMenu(field);
    } else {
        QFAIL(qPrintable(u"unknown step "_s + step));
    }
}

} // namespace

void TestTrackCountField::editing_data()
{
    QTest::addColumn<QString>("dialog");
    QTest::addColumn<QString>("clipboard");
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("caret");
    QTest::addColumn<bool>("okEnabled");

    struct Row
    {
        const char *name;
        QString clipboard;
        QStringList steps;
        QString text;
        int caret;
        bool okEnabled;
    };
    const Row rows[] = {
        {"letter, minus and space ignored", {}, {u"type a- "_s}, {}, 0, false},
        {"full-width digit typed is ignored", {}, {u"char １"_s}, {}, 0, false},
        {"1 then 2", {}, {u"type 12"_s}, u"12"_s, 2, true},
        {"third digit refused", {}, {u"type 123"_s}, u"12"_s, 2, true},
        {"0 keeps OK disabled", {}, {u"type 0"_s}, u"0"_s, 1, false},
        {"00 keeps OK disabled", {}, {u"type 00"_s}, u"00"_s, 2, false},
        {"Backspace empties", {}, {u"type 5"_s, u"key Backspace"_s}, {}, 0, false},
        {"3 before 5, caret to the end",
         {},
         {u"type 5"_s, u"key Home"_s, u"type 3"_s},
         u"35"_s,
         2,
         true},
        {"Delete keeps its meaning",
         {},
         {u"type 12"_s, u"key Home"_s, u"key Delete"_s},
         u"2"_s,
         1,
         true},
        {"Ctrl+V discarded", u"7"_s, {u"key Ctrl+V"_s}, {}, 0, false},
        {"Ctrl+V with text v discarded", u"7"_s, {u"qtkey Ctrl+V"_s}, {}, 0, false},
        {"Ctrl+X discarded",
         u"clip"_s,
         {u"type 12"_s, u"key Shift+Home"_s, u"key Ctrl+X"_s},
         u"12"_s,
         0,
         true},
        {"Ctrl+C discarded",
         u"clip"_s,
         {u"type 12"_s, u"key Shift+Home"_s, u"key Ctrl+C"_s},
         u"12"_s,
         0,
         true},
        {"Ctrl+Z discarded", {}, {u"type 1"_s, u"key Ctrl+Z"_s}, u"1"_s, 1, true},
        {"Shift+Insert pastes 1a as 1", u"1a"_s, {u"key Shift+Insert"_s}, u"1"_s, 1, true},
        {"context menu pastes 1a as 1", u"1a"_s, {u"paste menu"_s}, u"1"_s, 1, true},
        {"pasted ab leaves nothing", u"ab"_s, {u"paste menu"_s}, {}, 0, false},
        {"pasted non-ASCII digits leave nothing", u"１\u0663"_s, {u"paste menu"_s}, {}, 0, false},
        {"pasted a1b2 cut to a1, then cleaned", u"a1b2"_s, {u"paste menu"_s}, u"1"_s, 1, true},
    };
    for (const char *dialog : {"Form1", "Form4"}) {
        for (const Row &row : rows) {
            QTest::addRow("%s: %s", dialog, row.name)
                << QString::fromLatin1(dialog) << row.clipboard << row.steps << row.text
                << row.caret << row.okEnabled;
        }
    }
}

void TestTrackCountField::editing()
{
    QFETCH(QString, dialog);
    QFETCH(QString, clipboard);
    QFETCH(QStringList, steps);
    QFETCH(QString, text);
    QFETCH(int, caret);
    QFETCH(bool, okEnabled);

    FieldUnderTest under(dialog);
    QVERIFY(under.field && under.ok);
    QVERIFY(QTest::qWaitForWindowActive(under.dialog));
    under.field->setText(QString());
    QVERIFY(!under.ok->isEnabled());
    QGuiApplication::clipboard()->setText(clipboard);

    for (const QString &step : steps) {
        runStep(under.field, step);
        if (QTest::currentTestFailed())
            return;
    }

    QCOMPARE(under.field->text(), text);
    QCOMPARE(under.field->cursorPosition(), caret);
    QCOMPARE(under.ok->isEnabled(), okEnabled);
    QCOMPARE(QGuiApplication::clipboard()->text(), clipboard);
    // Keys never reach the dialog's store; only OK writes it.
    QCOMPARE(int(under.store.TrackCount), dialog == u"Form1" ? 0 : 9);
}

QTEST_MAIN(TestTrackCountField)
#include "tst_trackcountfield.moc"
