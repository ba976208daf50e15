// SPDX-License-Identifier: GPL-3.0-or-later
// The track-count field as the user meets it (typed keys and pasted texts end
// in at most two digits, the caret at the end, OK enabled only for a count
// from 1), in the track-count dialog, and the count that dialog confirms.
#include "common/testing.h"
#include "ui/trackcount/trackcountdialog.h"

#include <QApplication>
#include <QClipboard>
#include <QInputMethodQueryEvent>
#include <QLineEdit>
#include <QPushButton>

#include <memory>

namespace {

// One step of a row: "type TEXT" types Latin-1 keys; "key SEQUENCE" presses
// one key combination, Ctrl+letter as X11 reports it (its control character
// as text, not the letter); "char C" types a character no key of the test
// keyboard has.
void runStep(QLineEdit *field, const QString &step)
{
    const QString argument = step.section(u' ', 1);
    const QKeyCombination key = QKeySequence(argument)[0];
    if (step.startsWith(u"type "))
        QTest::keyClicks(field, argument);
    else if (step.startsWith(u"char "))
        QTest::sendKeyEvent(QTest::Click, field, Qt::Key_unknown, argument, {});
    else if (key.keyboardModifiers() == Qt::ControlModifier && key.key() >= Qt::Key_A &&
             key.key() <= Qt::Key_Z)
        QTest::sendKeyEvent(QTest::Click, field, key.key(), QChar(key.key() - Qt::Key_A + 1),
                            Qt::ControlModifier);
    else
        QTest::keySequence(field, QKeySequence(argument));
}

} // namespace

class TestTrackCount : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    // Opens on the count 12.
    void init()
    {
        m_dialog = std::make_unique<TrackCountDialog>(12, nullptr);
        m_dialog->show();
        QVERIFY(QTest::qWaitForWindowActive(m_dialog.get()));
        m_field = m_dialog->findChild<QLineEdit *>(u"trackCountField"_s);
    }

    // The dialog opens with the count focused, the caret behind it, the field
    // telling an input method it takes none; Cancel closes it with no count.
    void opens()
    {
        QCOMPARE(QApplication::focusWidget(), m_field);
        QInputMethodQueryEvent inputMethod(Qt::ImEnabled);
        QApplication::sendEvent(m_field, &inputMethod);
        QCOMPARE(inputMethod.value(Qt::ImEnabled), QVariant(false));
        QCOMPARE(m_field->text(), u"12"_s);
        QCOMPARE(m_field->cursorPosition(), 2);
        QVERIFY(!m_field->hasSelectedText());
        m_dialog->findChild<QPushButton *>(u"cancelButton"_s)->click();
        QVERIFY(!m_dialog->isVisible());
        QCOMPARE(m_dialog->result(), int(QDialog::Rejected));
    }

    void field_data()
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
        row("letter, minus, space and full-width digit ignored", {}, {u"type a- "_s, u"char １"_s},
            {}, 0, false);
        row("third digit refused", {}, {u"type 123"_s}, u"12"_s, 2, true);
        // A disc needs a track: no place accepts a count of 0.
        row("00 keeps OK disabled", {}, {u"type 00"_s}, u"00"_s, 2, false);
        row("07 is 7", {}, {u"type 07"_s}, u"07"_s, 2, true);
        row("3 before 5, caret to the end", {}, {u"type 5"_s, u"key Home"_s, u"type 3"_s}, u"35"_s,
            2, true);
        row("Delete keeps its meaning", {}, {u"type 12"_s, u"key Home"_s, u"key Delete"_s}, u"2"_s,
            1, true);
        // Shortcuts that would cut, paste, undo or delete words; the clipboard
        // holds a digit.
        row("editing shortcuts discarded", u"7"_s,
            {u"type 12"_s, u"key Ctrl+Backspace"_s, u"key Home"_s, u"key Ctrl+Delete"_s,
             u"key Alt+Backspace"_s, u"key Shift+End"_s, u"key Ctrl+C"_s, u"key Ctrl+X"_s,
             u"key Ctrl+V"_s, u"key Ctrl+Z"_s},
            u"12"_s, 2, true);
        // Pasting types no character: the change rule cleans what it brings in.
        row("pasted a1b2 cut to a1, then cleaned", u"a1b2"_s, {u"key Shift+Insert"_s}, u"1"_s, 1,
            true);
        row("pasted non-ASCII digits leave nothing", u"１\u0663"_s, {u"key Shift+Insert"_s}, {}, 0,
            false);
    }

    // The field is the same in both dialogs; the track-count dialog stands for
    // both. The clipboard is never changed. Enter confirms the count shown, and
    // closes the dialog, only where OK is enabled.
    void field()
    {
        QFETCH(QString, clipboard);
        QFETCH(QStringList, steps);
        QFETCH(QString, text);
        QFETCH(int, caret);
        QFETCH(bool, okEnabled);
        m_field->setText(QString());
        QGuiApplication::clipboard()->setText(clipboard);

        for (const QString &step : steps)
            runStep(m_field, step);

        QCOMPARE(m_field->text(), text);
        QCOMPARE(m_field->cursorPosition(), caret);
        QCOMPARE(m_dialog->findChild<QPushButton *>(u"okButton"_s)->isEnabled(), okEnabled);
        QCOMPARE(QGuiApplication::clipboard()->text(), clipboard);
        QTest::keyClick(m_field, Qt::Key_Return);
        QCOMPARE(m_dialog->isVisible(), !okEnabled);
        QCOMPARE(m_dialog->result() == QDialog::Accepted ? m_dialog->trackCount() : 0,
                 text.toInt());
    }

private:
    std::unique_ptr<TrackCountDialog> m_dialog;
    QLineEdit *m_field = nullptr;
};

QTEST_MAIN(TestTrackCount)
#include "tst_trackcount.moc"
