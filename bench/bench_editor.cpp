// SPDX-License-Identifier: GPL-3.0-or-later
// The editor under the user's hands: a keystroke in the title box and the
// full redraw, on the real window (offscreen platform).
#include "discs.h"
#include "harness.h"

#include "ui/common/beeper.h"
#include "ui/copy/copydialog.h"
#include "ui/editor/editorwindow.h"
#include "ui/session.h"

#include <QAction>
#include <QApplication>
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
        titleBox = window->findChild<QLineEdit *>(u"Text3_0"_s);
        languageCommand = window->findChild<QAction *>(u"mnuLang"_s);
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
    Session session;
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
    return 0;
}
