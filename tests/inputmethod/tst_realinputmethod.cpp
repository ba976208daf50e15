// SPDX-License-Identifier: GPL-3.0-or-later
// The editor with a real input method: fcitx5 with mozc on an X display,
// driven with real key presses and mouse clicks (xdotool, through the X
// server), as a Japanese user types. Run by realinputmethod.sh, which starts
// the display, the bus and fcitx5; on any other platform every test fails.
// Which boxes take an input method at all, and each way of leaving a
// composition, are checked by the editor and track-count tests, on what Qt
// tells every input method plug-in.
#include "common/discs.h"
#include "common/editorfixture.h"
#include "common/testing.h"

#include <QInputMethodEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QProcess>

namespace {

// How long the input method may take to answer a key, through the bus.
constexpr int AnswerMs = 10000;

// Runs a command and waits for it with the event loop running, so that the
// window answers the input method meanwhile.
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

bool click(QWidget *widget)
{
    const QPoint global = widget->mapToGlobal(widget->rect().center());
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
    void initTestCase()
    {
        QCOMPARE(QGuiApplication::platformName(), u"xcb"_s);
        QCOMPARE(qEnvironmentVariable("QT_IM_MODULE"), u"fcitx"_s);
    }
    void cleanup() { m_session.reset(); }

    // Japanese composed in track 8's title lands there once when the window
    // finishes the composition with the box keeping the focus (a click on the
    // language label): fcitx5 commits it only when asked to reset. Every other
    // title stays as it was.
    void leavingComposition()
    {
        QVERIFY(openEditor(numberedDisc(12)));
        find<QListWidget>(u"trackList"_s)->setCurrentRow(7);
        auto *title = find<QLineEdit>(u"titleEditJapanese"_s);
        const auto *watch = new PreeditWatch(title);
        // The focus in the title with a click, the caret at the end, mozc on
        // (fcitx5-remote says "2" for the focused window while mozc is on).
        QVERIFY(click(title));
        QTRY_COMPARE(QApplication::focusWidget(), title);
        QVERIFY(xdotool({u"key"_s, u"End"_s}));
        if (run(u"fcitx5-remote"_s, {}) != u"2")
            QVERIFY(xdotool({u"key"_s, u"ctrl+space"_s}));
        QTRY_COMPARE_WITH_TIMEOUT(run(u"fcitx5-remote"_s, {}), u"2"_s, AnswerMs);
        QVERIFY(xdotool({u"type"_s, u"--delay"_s, u"40"_s, u"sakura"_s}));
        QTRY_COMPARE_WITH_TIMEOUT(watch->preedit, u"さくら"_s, AnswerMs);
        QCOMPARE(m_store->trackTitles(Japanese, 8), u"J8"_s);

        QVERIFY(click(find(u"languageLabel"_s)));
        QTRY_VERIFY(watch->preedit.isEmpty());
        TitleStore expected = numberedDisc(12);
        expected.trackTitles(Japanese, 8) += u"さくら"_s;
        QCOMPARE(*m_store, expected);
    }
};

QTEST_MAIN(TestRealInputMethod)
#include "tst_realinputmethod.moc"
