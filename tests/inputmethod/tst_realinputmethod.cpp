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

#include <QInputMethodEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QProcess>
#include <QTest>

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
    // Puts the focus in box with a click, the caret at the end, mozc on
    // (fcitx5-remote says "2" for the focused window while mozc is on).
    void focusWithMozc(QLineEdit *box)
    {
        QVERIFY(click(box));
        QTRY_COMPARE(QApplication::focusWidget(), box);
        QVERIFY(xdotool({u"key"_s, u"End"_s}));
        if (run(u"fcitx5-remote"_s, {}) != u"2")
            QVERIFY(xdotool({u"key"_s, u"ctrl+space"_s}));
        QTRY_COMPARE_WITH_TIMEOUT(run(u"fcitx5-remote"_s, {}), u"2"_s, AnswerMs);
    }
};

void TestRealInputMethod::initTestCase()
{
    QCOMPARE(QGuiApplication::platformName(), u"xcb"_s);
    QCOMPARE(qEnvironmentVariable("QT_IM_MODULE"), u"fcitx"_s);
}

void TestRealInputMethod::leavingComposition_data()
{
    QTest::addColumn<QString>("way");
    QTest::addColumn<int>("landsIn"); // the track that holds track 8's title afterwards

    // Ways on which the box keeps the focus while the window finishes the
    // composition: fcitx5 commits it when asked to reset.
    QTest::newRow("language label") << u"languageLabel"_s << 8;
    QTest::newRow("language command") << u"languageAction"_s << 8;
    QTest::newRow("copy dialog, cancelled") << u"copyAction"_s << 8;
    // Ways on which the focus moves first, or the input method finishes.
    QTest::newRow("Down") << u"moveDownButton"_s << 9;
    QTest::newRow("list click") << u"list"_s << 8;
    QTest::newRow("Enter") << u"Enter"_s << 8;
}

// Japanese composed in track 8's title lands there once, whichever way the
// box is left; every other title stays as it was.
void TestRealInputMethod::leavingComposition()
{
    QFETCH(QString, way);
    QFETCH(int, landsIn);
    QVERIFY(openEditor(numberedDisc(12)));
    clickTrack(8);
    auto *title = find<QLineEdit>(u"titleEditJapanese"_s);
    const auto *watch = new PreeditWatch(title);
    focusWithMozc(title);
    QVERIFY(xdotool({u"type"_s, u"--delay"_s, u"40"_s, u"sakura"_s}));
    QTRY_COMPARE_WITH_TIMEOUT(watch->preedit, u"さくら"_s, AnswerMs);
    QCOMPARE(m_store->trackTitles(Japanese, 8), u"J8"_s);

    // The copy dialog is cancelled by a click on its button.
    ModalAnswer cancel([](QWidget *modal) {
        QWidget *button = modal->findChild<QWidget *>(u"cancelButton"_s);
        if (!QTest::qWaitForWindowExposed(modal) || !button || !click(button))
            modal->close();
    });
    if (way.endsWith(u"Action")) {
        QMenuBar *bar = m_window->menuBar();
        QVERIFY(click(bar, bar->actionGeometry(find<QAction>(way)).center()));
    } else if (way == u"list") {
        clickTrack(3);
    } else if (way == u"Enter") {
        QVERIFY(xdotool({u"key"_s, u"Return"_s}));
    } else {
        QVERIFY(click(find(way)));
    }
    if (way == u"copyAction")
        QTRY_VERIFY(cancel.answered());
    QTRY_VERIFY(watch->preedit.isEmpty());

    TitleStore expected = numberedDisc(12);
    expected.trackTitles(Japanese, 8) += u"さくら"_s;
    std::swap(expected.trackTitles(Japanese, 8), expected.trackTitles(Japanese, landsIn));
    QCOMPARE(*m_store, expected);
}

QTEST_MAIN(TestRealInputMethod)
#include "tst_realinputmethod.moc"
