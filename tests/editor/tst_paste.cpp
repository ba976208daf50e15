// SPDX-License-Identifier: GPL-3.0-or-later
// Pasting into the editor's boxes by every way a user has: Ctrl+V,
// Shift+Insert, the box's context menu and the middle button with the
// PRIMARY selection. Runs on a real X server (Xvfb), where the selection
// exists, so the middle button pastes as it does on a desktop.
#include "common/discs.h"
#include "model/titlestore.h"
#include "ui/common/beeper.h"
#include "ui/editor/editorwindow.h"
#include "ui/editorsession.h"

#include <QAction>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPointer>
#include <QTest>
#include <QTimer>

#include <memory>

using namespace sonolabe;
using namespace sonolabe::test;
using namespace Qt::Literals::StringLiterals;

namespace {

enum class PastePath { CtrlV, ShiftInsert, ContextMenu, MiddleButton };

// The store's text behind a box: the disc name, the artist or the title of
// track 2 (the track the tests select).
QString storedText(const TitleStore &store, const QString &box)
{
    const int language = box.endsWith(u"English") ? English : Japanese;
    return box.startsWith(u"discNameEdit") ? store.discNames[language]
           : box.startsWith(u"artistEdit") ? store.artistNames[language]
                                           : store.trackTitles(language, 2);
}

void pressKeys(QWidget *target, QKeySequence::StandardKey key)
{
    const QKeyCombination combination = QKeySequence(key)[0];
    QTest::keyClick(target, combination.key(), combination.keyboardModifiers());
}

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

void paste(QLineEdit *box, PastePath path, const QString &text)
{
    QClipboard *clipboard = QGuiApplication::clipboard();
    if (path == PastePath::MiddleButton) {
        QVERIFY2(clipboard->supportsSelection(), "this platform has no PRIMARY selection");
        clipboard->setText(text, QClipboard::Selection);
        // The middle button pastes where it is clicked; at the box's right
        // edge, past the end of the text, where the cursor already is.
        QTest::mouseClick(box, Qt::MiddleButton, {}, QPoint(box->width() - 3, box->height() / 2));
        return;
    }
    clipboard->setText(text);
    if (path == PastePath::ContextMenu)
        pasteByContextMenu(box);
    else if (path == PastePath::CtrlV)
        QTest::keyClick(box, Qt::Key_V, Qt::ControlModifier);
    else
        QTest::keyClick(box, Qt::Key_Insert, Qt::ShiftModifier);
}

} // namespace

Q_DECLARE_METATYPE(PastePath)

class TestPaste : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void cleanup();
    void pasteIsOneUndoStep_data();
    void pasteIsOneUndoStep();
    void pasteOverSelection_data();
    void pasteOverSelection();

private:
    QLineEdit *openAt(const QString &boxName)
    {
        m_store = std::make_unique<TitleStore>(numberedDisc(3));
        m_session = std::make_unique<EditorSession>(*m_store, m_beeper);
        m_window = m_session->openEditor();
        // Xvfb runs no window manager: the window is activated by hand.
        if (!QTest::qWaitForWindowExposed(m_window))
            return nullptr;
        m_window->activateWindow();
        if (!QTest::qWaitForWindowActive(m_window))
            return nullptr;
        if (boxName.endsWith(u"English"))
            m_window->findChild<QAction *>(u"languageAction"_s)->trigger();
        m_window->findChild<QListWidget *>(u"trackList"_s)->setCurrentRow(1);
        auto *box = m_window->findChild<QLineEdit *>(boxName);
        box->setFocus();
        box->end(false);
        return box;
    }

    Beeper m_beeper;
    std::unique_ptr<TitleStore> m_store;
    std::unique_ptr<EditorSession> m_session;
    QPointer<EditorWindow> m_window;
};

void TestPaste::cleanup()
{
    m_session.reset();
}

void TestPaste::pasteIsOneUndoStep_data()
{
    QTest::addColumn<PastePath>("path");
    QTest::addColumn<QString>("boxName");
    QTest::addColumn<QString>("clipboard");
    QTest::addColumn<QString>("pasted"); // what the paste adds to the box
    const std::pair<const char *, PastePath> paths[] = {{"Ctrl+V", PastePath::CtrlV},
                                                        {"Shift+Insert", PastePath::ShiftInsert},
                                                        {"context menu", PastePath::ContextMenu},
                                                        {"middle button", PastePath::MiddleButton}};
    const QString longText(100'000, u'長');
    for (const auto &[name, path] : paths) {
        QTest::addRow("%s, plain text into a title", name)
            << path << u"titleEditJapanese"_s << u"春の歌"_s << u"春の歌"_s;
        QTest::addRow("%s, line breaks into a title", name)
            << path << u"titleEditJapanese"_s << u"a\r\nb\nc\td"_s << u"a b c\td"_s;
        QTest::addRow("%s, Tab and CR LF into the English disc name", name)
            << path << u"discNameEditEnglish"_s << u"x\ty\r\n"_s << u"x y "_s;
        QTest::addRow("%s, 100,000 characters into an artist", name)
            << path << u"artistEditJapanese"_s << longText << longText;
    }
}

// Typing, then pasting: the paste lands whole, cleaned of line breaks (and
// Tabs in the names), in the box and in the store; Ctrl+Z takes back the
// paste alone, a second Ctrl+Z the typing; redo brings both back in order.
void TestPaste::pasteIsOneUndoStep()
{
    QFETCH(PastePath, path);
    QFETCH(QString, boxName);
    QFETCH(QString, clipboard);
    QFETCH(QString, pasted);

    QLineEdit *box = openAt(boxName);
    QVERIFY(box);
    const QString original = box->text();
    QTest::keyClicks(box, u"!?"_s);
    const QString typed = original + u"!?"_s;
    paste(box, path, clipboard);
    if (QTest::currentTestFailed())
        return;

    const QString whole = typed + pasted;
    QCOMPARE(box->text().size(), whole.size());
    QCOMPARE(box->text(), whole);
    QCOMPARE(storedText(*m_store, boxName), whole);

    const std::pair<QKeySequence::StandardKey, QString> steps[] = {{QKeySequence::Undo, typed},
                                                                   {QKeySequence::Undo, original},
                                                                   {QKeySequence::Redo, typed},
                                                                   {QKeySequence::Redo, whole}};
    for (const auto &[key, text] : steps) {
        pressKeys(box, key);
        QCOMPARE(box->text(), text);
        QCOMPARE(storedText(*m_store, boxName), text);
    }
}

void TestPaste::pasteOverSelection_data()
{
    QTest::addColumn<PastePath>("path");
    QTest::addColumn<int>("start"); // of the selection in "J2xyz", after typing xyz
    QTest::addColumn<int>("length");
    QTest::addColumn<bool>("deleteFirst");
    QTest::addColumn<QStringList>("texts"); // after the paste, and after each Ctrl+Z
    const QStringList replaced{u"J Ayz"_s, u"J2xyz"_s, u"J2"_s};
    QTest::newRow("Ctrl+V, selected left to right")
        << PastePath::CtrlV << 1 << 2 << false << replaced;
    QTest::newRow("Shift+Insert, selected right to left")
        << PastePath::ShiftInsert << 3 << -2 << false << replaced;
    QTest::newRow("context menu, selected right to left")
        << PastePath::ContextMenu << 3 << -2 << false << replaced;
    QTest::newRow("Ctrl+V, all deleted first")
        << PastePath::CtrlV << 0 << 5 << true << QStringList{u" A"_s, u""_s, u"J2xyz"_s, u"J2"_s};
}

// A paste over selected text replaces it, into a box emptied by the user too;
// each Ctrl+Z takes back one step: the paste, then what came before it.
void TestPaste::pasteOverSelection()
{
    QFETCH(PastePath, path);
    QFETCH(int, start);
    QFETCH(int, length);
    QFETCH(bool, deleteFirst);
    QFETCH(QStringList, texts);
    QLineEdit *box = openAt(u"titleEditJapanese"_s);
    QVERIFY(box);
    QTest::keyClicks(box, u"xyz"_s);
    box->setSelection(start, length);
    if (deleteFirst)
        QTest::keyClick(box, Qt::Key_Delete);
    paste(box, path, u"\r\nA"_s);
    if (QTest::currentTestFailed())
        return;
    for (const QString &text : texts) {
        QCOMPARE(box->text(), text);
        QCOMPARE(m_store->trackTitles(Japanese, 2), text);
        pressKeys(box, QKeySequence::Undo);
    }
}

QTEST_MAIN(TestPaste)
#include "tst_paste.moc"
