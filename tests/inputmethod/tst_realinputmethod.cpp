// SPDX-License-Identifier: GPL-3.0-or-later
// The editor with a real input method: fcitx5 with mozc on an X display,
// driven with real key presses and mouse clicks (xdotool, through the X
// server), as a Japanese user types. Run by realinputmethod.sh, which starts
// the display, the bus and fcitx5; on any other platform every test fails.
// Which boxes take an input method at all is checked by the editor and
// track-count tests, on what Qt tells every input method plug-in.
#include "common/discs.h"
#include "common/editorfixture.h"
#include "common/modalanswer.h"
#include "model/titlefile.h"

#include <QFileDialog>
#include <QInputMethod>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

using namespace sonolabe;
using namespace sonolabe::test;
using namespace Qt::Literals::StringLiterals;

namespace {

// How long the input method may take to answer a key, through the bus.
constexpr int AnswerMs = 10000;

// Runs a command and waits for it with the event loop running: a click may
// open a modal dialog, whose own loop then runs until it closes.
QString run(const QString &program, const QStringList &arguments)
{
    QProcess process;
    process.start(program, arguments);
    if (!QTest::qWaitFor([&] { return process.state() == QProcess::NotRunning; }, AnswerMs) ||
        process.exitCode() != 0)
        return u"failed"_s;
    return QString::fromLatin1(process.readAllStandardOutput()).trimmed();
}

// Real X input: "key End", "type sakura".
bool xdotool(const QStringList &arguments)
{
    return run(u"xdotool"_s, arguments) != u"failed";
}

bool click(QWidget *widget, QPoint at = {-1, -1})
{
    const QPoint global = widget->mapToGlobal(at.x() < 0 ? widget->rect().center() : at);
    return xdotool({u"mousemove"_s, QString::number(global.x()), QString::number(global.y()),
                    u"click"_s, u"1"_s});
}

// fcitx5's state for the focused window: "2" while mozc is on.
QString inputMethodState()
{
    return run(u"fcitx5-remote"_s, {});
}

// Records the input method's unfinished text in a box.
class PreeditWatch : public QObject
{
public:
    explicit PreeditWatch(QWidget *box) : QObject(box) { box->installEventFilter(this); }
    QString preedit;

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::InputMethod)
            preedit = static_cast<QInputMethodEvent *>(event)->preeditString();
        return false;
    }
};

} // namespace

class TestRealInputMethod : public QObject, EditorFixture
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void cleanup() { m_session.reset(); }
    void leavingComposition_data();
    void leavingComposition();

private:
    void clickTrack(int track)
    {
        auto *list = find<QListWidget>(u"trackList"_s);
        QVERIFY(click(list->viewport(), list->visualItemRect(list->item(track - 1)).center()));
        QTRY_COMPARE(m_window->currentTrack(), track);
    }
    // Puts the focus in box with a click, the caret at the end, mozc on.
    void focusWithMozc(QLineEdit *box)
    {
        QVERIFY(click(box));
        QTRY_COMPARE(QApplication::focusWidget(), box);
        QVERIFY(xdotool({u"key"_s, u"End"_s}));
        if (inputMethodState() != u"2")
            QVERIFY(xdotool({u"key"_s, u"ctrl+space"_s}));
        QTRY_COMPARE_WITH_TIMEOUT(inputMethodState(), u"2"_s, AnswerMs);
    }
    // Clicks a command of the File menu, or one on the menu bar itself.
    void clickMenu(const QString &actionName)
    {
        QMenuBar *bar = m_window->menuBar();
        auto *action = find<QAction>(actionName);
        auto *file = find<QMenu>(u"fileMenu"_s);
        if (!file->actions().contains(action)) {
            QVERIFY(click(bar, bar->actionGeometry(action).center()));
            return;
        }
        QVERIFY(click(bar, bar->actionGeometry(file->menuAction()).center()));
        QTRY_VERIFY(file->isVisible());
        QVERIFY(click(file, file->actionGeometry(action).center()));
    }
    // Answers the next modal window: a file dialog with path, any other by a
    // click on the button named cancel.
    std::unique_ptr<ModalAnswer> answer(const QString &path, const QString &cancel = {})
    {
        return std::make_unique<ModalAnswer>([path, cancel](QWidget *modal) {
            if (auto *dialog = qobject_cast<QFileDialog *>(modal)) {
                dialog->findChild<QLineEdit *>(u"fileNameEdit"_s)->setText(path);
                static_cast<QDialog *>(dialog)->accept();
            } else if (QWidget *button = modal->findChild<QWidget *>(cancel);
                       !QTest::qWaitForWindowExposed(modal) || !button || !click(button)) {
                modal->close();
            }
        });
    }

    QTemporaryDir m_files;
};

void TestRealInputMethod::initTestCase()
{
    QCOMPARE(QGuiApplication::platformName(), u"xcb"_s);
    QCOMPARE(qEnvironmentVariable("QT_IM_MODULE"), u"fcitx"_s);
    QVERIFY(m_files.isValid());
}

void TestRealInputMethod::leavingComposition_data()
{
    QTest::addColumn<QString>("way");
    QTest::addColumn<QString>("cancel"); // the cancel button of the dialog it opens
    QTest::addColumn<int>("landsIn");    // the track that holds track 8's title afterwards

    // Ways on which the box keeps the focus while the window finishes the
    // composition.
    QTest::newRow("language label") << u"languageLabel"_s << QString() << 8;
    QTest::newRow("language command") << u"languageAction"_s << QString() << 8;
    QTest::newRow("track-count dialog") << u"trackCountAction"_s << u"cancelButton"_s << 8;
    QTest::newRow("copy dialog") << u"copyAction"_s << u"cancelButton"_s << 8;
    QTest::newRow("save command") << u"saveAction"_s << QString() << 8;
    // Ways on which the focus moves first, or the input method finishes.
    QTest::newRow("Up") << u"moveUpButton"_s << QString() << 7;
    QTest::newRow("Down") << u"moveDownButton"_s << QString() << 9;
    QTest::newRow("list click") << u"list"_s << QString() << 8;
    QTest::newRow("Enter") << u"Enter"_s << QString() << 8;
    // The finishing step done the way that doubles the text with this input
    // method: shows that the comparison of the saved file sees the fault.
    QTest::newRow("control: reset, then commit again") << u"control"_s << QString() << 8;
}

// Japanese composed in track 8's title lands there once, whichever way the
// box is left; the saved file holds every other title unchanged.
void TestRealInputMethod::leavingComposition()
{
    QFETCH(QString, way);
    QFETCH(QString, cancel);
    QFETCH(int, landsIn);
    QVERIFY(openEditor(numberedDisc(12)));
    clickTrack(8);
    auto *title = find<QLineEdit>(u"titleEditJapanese"_s);
    const auto *watch = new PreeditWatch(title);
    focusWithMozc(title);
    QVERIFY(xdotool({u"type"_s, u"--delay"_s, u"40"_s, u"sakura"_s}));
    QTRY_COMPARE_WITH_TIMEOUT(watch->preedit, u"さくら"_s, AnswerMs);
    QCOMPARE(m_store->trackTitles(Japanese, 8), u"J8"_s);

    const QString path = m_files.filePath(QString::fromLatin1(QTest::currentDataTag()) + u".txt");
    std::unique_ptr<ModalAnswer> modal =
        way == u"saveAction" || !cancel.isEmpty() ? answer(path, cancel) : nullptr;
    if (way.endsWith(u"Action"))
        clickMenu(way);
    else if (way == u"list")
        clickTrack(3);
    else if (way == u"Enter")
        QVERIFY(xdotool({u"key"_s, u"Return"_s}));
    else if (way != u"control")
        QVERIFY(click(find(way)));
    if (way == u"control") {
        QInputMethodEvent again;
        again.setCommitString(watch->preedit);
        QGuiApplication::inputMethod()->reset();
        QApplication::sendEvent(title, &again);
    }
    if (modal)
        QTRY_VERIFY(modal->answered());
    QTRY_VERIFY(watch->preedit.isEmpty());
    if (way != u"saveAction") {
        modal = answer(path);
        find<QAction>(u"saveAction"_s)->trigger();
    }

    const LoadResult saved = readTitleFile(path);
    QVERIFY(saved.ok());
    TitleStore expected = numberedDisc(12);
    expected.trackTitles(Japanese, 8) += way == u"control" ? u"さくらさくら"_s : u"さくら"_s;
    std::swap(expected.trackTitles(Japanese, 8), expected.trackTitles(Japanese, landsIn));
    for (int language : {Japanese, English}) {
        for (int track = 1; track <= 12; ++track)
            QCOMPARE(saved.disc().trackTitles(language, track),
                     expected.trackTitles(language, track));
    }
}

QTEST_MAIN(TestRealInputMethod)
#include "tst_realinputmethod.moc"
