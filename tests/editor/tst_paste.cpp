// SPDX-License-Identifier: GPL-3.0-or-later
// Pasting into the editor's boxes by every way a user has: Ctrl+V,
// Shift+Insert, the box's context menu and the middle button with the
// PRIMARY selection. Runs on a real X server (Xvfb), where the selection
// exists, so the middle button pastes as it does on a desktop.
#include "common/discs.h"
#include "common/editorfixture.h"
#include "common/testing.h"

#include <QAction>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QTimer>

namespace {

// Right-clicks the box and clicks the menu's paste entry, as a user does.
// The menu runs its own event loop, so the click is made from inside it.
void pasteByContextMenu(QLineEdit *box)
{
    bool clicked = false;
    QTimer::singleShot(0, box, [&clicked] {
        auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget());
        if (!menu)
            return;

        // The entry that shows the paste keys, whatever its language.
        const QString keys =
            u'\t' + QKeySequence(QKeySequence::Paste).toString(QKeySequence::NativeText);
        for (QAction *action : menu->actions()) {
            if (!action->text().endsWith(keys))
                continue;
            clicked = action->isEnabled();
            QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(action).center());
            return;
        }
        menu->close();
    });
    const QPoint at = box->rect().center();
    QContextMenuEvent event(QContextMenuEvent::Mouse, at, box->mapToGlobal(at));
    QApplication::sendEvent(box, &event);
    QVERIFY2(clicked, "the context menu has no enabled paste entry");
}

// Pastes text into box by a way a user has: the keys the way names, the
// context menu, or the middle button with the PRIMARY selection.
void paste(QLineEdit *box, const QString &way, const QString &text)
{
    QClipboard *clipboard = QGuiApplication::clipboard();
    if (way == u"middle button") {
        QVERIFY2(clipboard->supportsSelection(), "this platform has no PRIMARY selection");
        clipboard->setText(text, QClipboard::Selection);
        // The middle button pastes where it is clicked; at the box's right
        // edge, past the end of the text, where the cursor already is.
        QTest::mouseClick(box, Qt::MiddleButton, {}, QPoint(box->width() - 3, box->height() / 2));
        return;
    }
    clipboard->setText(text);
    if (way == u"context menu")
        pasteByContextMenu(box);
    else
        QTest::keySequence(box, QKeySequence(way));
}

} // namespace

class TestPaste : public QObject, EditorFixture
{
    Q_OBJECT
private Q_SLOTS:
    void cleanup() { m_session.reset(); }

    void paste_data()
    {
        QTest::addColumn<QString>("way");
        QTest::addColumn<QString>("boxName"); // of track 2
        QTest::addColumn<QString>("typed");   // at the end of the box's text ...
        QTest::addColumn<int>("start");       // ... then selected, unless the length is 0,
        QTest::addColumn<int>("length");
        QTest::addColumn<bool>("deleteFirst"); // and deleted
        QTest::addColumn<QString>("clipboard");
        // The box's text after the paste, then after each Ctrl+Z.
        QTest::addColumn<QStringList>("texts");
        // Every way cleans line breaks and makes its undo step; what the cleaning
        // does with each box and a long text is the same whichever way pastes.
        const QString title = u"titleEditJapanese"_s, longText(100'000, u'長');
        for (const char *way : {"Ctrl+V", "Shift+Ins", "context menu", "middle button"}) {
            QTest::addRow("%s, line breaks into a title", way)
                << QString::fromLatin1(way) << title << u"!?"_s << 0 << 0 << false
                << u"a\r\nb\nc\td"_s << QStringList{u"J2!?a b c\td"_s, u"J2!?"_s, u"J2"_s};
        }
        QTest::newRow("Ctrl+V, Tab and CR LF into the English disc name")
            << u"Ctrl+V"_s << u"discNameEditEnglish"_s << u"!?"_s << 0 << 0 << false
            << u"x\ty\r\n"_s << QStringList{u"Disc!?x y "_s, u"Disc!?"_s, u"Disc"_s};
        QTest::newRow("Ctrl+V, 100,000 characters into an artist")
            << u"Ctrl+V"_s << u"artistEditJapanese"_s << u"!?"_s << 0 << 0 << false << longText
            << QStringList{u"作者!?"_s + longText, u"作者!?"_s, u"作者"_s};
        const QStringList replaced{u"J Ayz"_s, u"J2xyz"_s, u"J2"_s};
        QTest::newRow("Ctrl+V, over a selection made left to right")
            << u"Ctrl+V"_s << title << u"xyz"_s << 1 << 2 << false << u"\r\nA"_s << replaced;
        QTest::newRow("Shift+Ins, over a selection made right to left")
            << u"Shift+Ins"_s << title << u"xyz"_s << 3 << -2 << false << u"\r\nA"_s << replaced;
        QTest::newRow("Ctrl+V, into a box emptied by the user")
            << u"Ctrl+V"_s << title << u"xyz"_s << 0 << 5 << true << u"\r\nA"_s
            << QStringList{u" A"_s, u""_s, u"J2xyz"_s, u"J2"_s};
    }

    // Typing, then pasting, over selected text too: the paste lands whole,
    // cleaned of line breaks (and Tabs in the names), in the box and in the
    // store. Each Ctrl+Z takes back one step, the paste alone first, back to the
    // loaded text; redo brings the steps back in order.
    void paste()
    {
        QFETCH(QString, way);
        QFETCH(QString, boxName);
        QFETCH(QString, typed);
        QFETCH(int, start);
        QFETCH(int, length);
        QFETCH(bool, deleteFirst);
        QFETCH(QString, clipboard);
        QFETCH(QStringList, texts);

        QVERIFY(openEditor(numberedDisc(3)));
        if (boxName.endsWith(u"English"))
            find<QAction>(u"languageAction"_s)->trigger();
        find<QListWidget>(u"trackList"_s)->setCurrentRow(1);
        auto *box = find<QLineEdit>(boxName);
        box->setFocus();
        box->end(false);
        QTest::keyClicks(box, typed);
        if (length != 0)
            box->setSelection(start, length);
        if (deleteFirst)
            QTest::keyClick(box, Qt::Key_Delete);
        ::paste(box, way, clipboard);
        if (QTest::currentTestFailed())
            return;

        // Down the undo steps, then up again by redo.
        const qsizetype last = texts.size() - 1;
        for (qsizetype step = 0; step <= 2 * last; ++step) {
            const QString &text = texts.at(step <= last ? step : 2 * last - step);
            QCOMPARE(box->text(), text);
            QCOMPARE(textOf(*m_store, boxName, 2), text);
            QTest::keySequence(box, step < last ? QKeySequence::Undo : QKeySequence::Redo);
        }
    }
};

QTEST_MAIN(TestPaste)
#include "tst_paste.moc"
