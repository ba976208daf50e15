// SPDX-License-Identifier: GPL-3.0-or-later
// The editor under the user's hands: a keystroke in the title box and the
// full redraw, on the real window (offscreen platform).
#include "discs.h"
#include "harness.h"

#include "ui/common/beeper.h"
#include "ui/copy/copydialog.h"
#include "ui/editor/editorwindow.h"
#include "ui/editorsession.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QTest>

using namespace sonolabe;
using namespace sonolabe::bench;
using namespace Qt::Literals::StringLiterals;

namespace {

struct Editor
{
    explicit Editor(int tracks) : store(fullDisc(tracks)), session(store, beeper)
    {
        window = session.openEditor();
        QApplication::processEvents();
        titleBox = window->findChild<QLineEdit *>(u"titleEditJapanese"_s);
        languageCommand = window->findChild<QAction *>(u"languageAction"_s);
        if (!titleBox || !languageCommand)
            qFatal("the editor's title box or language command is missing");
    }

    // One character typed and taken back, so the title does not grow.
    double keystroke()
    {
        return medianNanoseconds(
                   [this] {
                       QTest::keyClick(titleBox, Qt::Key_A);
                       QTest::keyClick(titleBox, Qt::Key_Backspace);
                   },
                   31) /
               2.0;
    }

    TitleStore store;
    Beeper beeper;
    EditorSession session;
    EditorWindow *window = nullptr;
    QLineEdit *titleBox = nullptr;
    QAction *languageCommand = nullptr;
};

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    {
        Editor full(MaxTracks);
        const double many = full.keystroke();
        Editor single(1);
        const double one = single.keystroke();
        row("Keystroke in the title box (99 tracks)", micros(many), micros(one) + u" (1 track)"_s,
            ratioText(many / one), "ratio <= 1.1, < 100 µs", many / one <= 1.1 && many < 100'000);
    }
    {
        // The language command redraws the whole window from the store.
        Editor full(MaxTracks);
        const double redraw = medianNanoseconds([&] { full.languageCommand->trigger(); }, 31);
        row("Redraw (language switch, 99 tracks)", millis(redraw), u"-"_s, u"-"_s, "median < 2 ms",
            redraw < 2e6);
    }
    {
        // The copy dialog lays out only the beginning of a very long title.
        TitleStore store = fullDisc(MaxTracks);
        store.trackTitles(Japanese, 1) = QString(1'000'000, u'x');
        const double opening = medianNanoseconds(
            [&] {
                CopyDialog dialog(store, nullptr);
                dialog.show();
                QApplication::processEvents();
            },
            11);
        row("Copy dialog shown (a 1,000,000-character title)", millis(opening), u"-"_s, u"-"_s,
            "median < 50 ms", opening < 50e6);
    }
    {
        // A paste of 100,000 characters over the whole title, and the window
        // drawn after it, against a bare QLineEdit in the same font doing the
        // same with Qt's own paste (no validator, no store, no list). Both
        // lay out the whole text as one line at every change; most of the
        // difference is the box's validator, which sees every change.
        const QString text(100'000, u'長');
        QGuiApplication::clipboard()->setText(text);
        Editor full(MaxTracks);
        full.titleBox->setFocus();
        const double pasting = medianNanoseconds(
            [&] {
                QTest::keyClick(full.titleBox, Qt::Key_A, Qt::ControlModifier);
                QTest::keyClick(full.titleBox, Qt::Key_V, Qt::ControlModifier);
                full.window->repaint();
            },
            11);
        if (full.titleBox->text() != text)
            qFatal("the paste did not land whole");
        QLineEdit bare;
        bare.resize(full.titleBox->size());
        bare.setFont(full.titleBox->font());
        bare.show();
        const double floor = medianNanoseconds(
            [&] {
                bare.selectAll();
                bare.paste();
                bare.repaint();
            },
            11);
        row("Paste of 100,000 characters and the redraw", millis(pasting),
            millis(floor) + u" (bare QLineEdit)"_s, ratioText(pasting / floor), "< 200 ms",
            pasting < 200e6);
        const double typing = full.keystroke();
        bare.setFocus();
        bare.end(false);
        const double bareTyping = medianNanoseconds(
                                      [&] {
                                          QTest::keyClick(&bare, Qt::Key_A);
                                          QTest::keyClick(&bare, Qt::Key_Backspace);
                                      },
                                      11) /
                                  2.0;
        row("Keystroke in a title of 100,000 characters", millis(typing),
            millis(bareTyping) + u" (bare QLineEdit)"_s, ratioText(typing / bareTyping), "< 50 ms",
            typing < 50e6);
    }
    return 0;
}
