// SPDX-License-Identifier: GPL-3.0-or-later
// The layout of every window as the user meets it, in each of its states:
// the controls lie inside the window and show (the editor's boxes of the
// other language stay hidden), none covers another, each caption sits left of
// or above its box, the track-count row reads "曲数：", the count and "曲"
// from left to right, and Tab walks the controls in the window's order. And
// what a screen reader finds there: every shown control that takes the focus
// has a name of its own, which says the language of a box or list and what a
// direction button does.
#include "common/discs.h"
#include "common/layout.h"
#include "common/testing.h"
#include "model/titlestore.h"
#include "ui/common/beeper.h"
#include "ui/copy/copydialog.h"
#include "ui/editor/editorwindow.h"
#include "ui/startup/neworopendialog.h"
#include "ui/trackcount/trackcountdialog.h"

#include <QAccessible>
#include <QAction>
#include <QListWidget>
#include <QPushButton>

#include <memory>

namespace {

// The two strokes of one etched rule lie on each other by design.
const QStringList etchedRule{u"ruleShadow"_s, u"ruleHighlight"_s};

// The names a screen reader gives the shown controls that take the focus,
// plus the language label's: a fault for each control without a name of its
// own, and for each of expected not found.
QStringList nameFaults(QWidget *window, const QStringList &expected)
{
    const auto nameOf = [](QWidget *widget) {
        return QAccessible::queryAccessibleInterface(widget)->text(QAccessible::Name);
    };
    QStringList names, faults;
    for (QWidget *widget : window->findChildren<QWidget *>()) {
        if (!widget->isVisibleTo(window) || widget->focusPolicy() == Qt::NoFocus)
            continue;
        const QString name = nameOf(widget);
        if (name.isEmpty() || names.contains(name))
            faults << widget->objectName() + u" has no name of its own: "_s + name;
        names << name;
    }
    if (auto *label = window->findChild<QWidget *>(u"languageLabel"_s))
        names << nameOf(label);
    for (const QString &name : expected)
        if (!names.contains(name))
            faults << name + u" missing from "_s + names.join(u", "_s);
    return faults;
}

} // namespace

class TestLayout : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void window_data()
    {
        QTest::addColumn<QString>("window");
        QTest::addColumn<QStringList>("hidden"); // controls the state hides
        // "FIRST SECOND" pairs: a caption without a buddy and its box, or a
        // control and the one after it on its line
        QTest::addColumn<QStringList>("pairs");
        QTest::addColumn<QStringList>("tabs");  // the Tab cycle; none: the reading order
        QTest::addColumn<QStringList>("names"); // a few of the names a screen reader finds
        const auto editorNames = [](const QString &language) {
            return QStringList{u"ディスク名 ("_s + language + u')', u"作者名 ("_s + language + u')',
                               u"曲名 ("_s + language + u')', u"曲の一覧 ("_s + language + u')',
                               u"入力中の言語: "_s + language};
        };
        // The count reads "曲数：", the count and "曲" from left to right.
        const QStringList countLine{u"trackCountField trackCountUnitLabel"_s};

        // The editor's Tab order is its own, not the reading order: from the
        // Down button up to the list, then into the boxes; the Japanese boxes
        // from the title up to the disc name, the English ones the other way.
        QTest::newRow("editor, Japanese")
            << u"editor"_s
            << u"discNameEditEnglish artistEditEnglish titleEditEnglish"_s.split(u' ')
            << QStringList()
            << u"moveDownButton moveUpButton trackList titleEditJapanese artistEditJapanese "
               u"discNameEditJapanese"_s.split(u' ')
            << editorNames(u"日本語"_s);
        QTest::newRow("editor, English")
            << u"English editor"_s
            << u"discNameEditJapanese artistEditJapanese titleEditJapanese"_s.split(u' ')
            << QStringList()
            << u"moveDownButton moveUpButton trackList discNameEditEnglish artistEditEnglish "
               u"titleEditEnglish"_s.split(u' ')
            << editorNames(u"英語"_s);
        // The field comes first so that it has the focus on opening; only the
        // chosen option is a stop of Tab; OK comes before Cancel.
        QTest::newRow("new or open, new disc")
            << u"new disc"_s << QStringList() << countLine
            << QStringList{u"trackCountField"_s, u"newDiscOption"_s, u"okButton"_s,
                           u"cancelButton"_s}
            << QStringList{u"曲数"_s, u"新規作成"_s, u"既存のファイルを開く"_s, u"OK"_s};
        QTest::newRow("track count") << u"track count"_s << QStringList() << countLine
                                     << QStringList() << QStringList{u"曲数"_s, u"ｷｬﾝｾﾙ"_s};
        // The copy dialog's captions name its rows and columns, and the disc
        // name's direction button lies between its two texts (which are no
        // captions: a long name is cut); Tab starts in the lists.
        const QStringList copyPairs{u"discNameLabel discNameTextJapanese"_s,
                                    u"artistLabel artistTextJapanese"_s,
                                    u"titleLabel trackListJapanese"_s,
                                    u"japaneseHeading discNameTextJapanese"_s,
                                    u"japaneseHeading trackListJapanese"_s,
                                    u"englishHeading discNameTextEnglish"_s,
                                    u"englishHeading trackListEnglish"_s,
                                    u"discNameTextJapanese discNameDirectionButton"_s,
                                    u"discNameDirectionButton discNameTextEnglish"_s};
        const QStringList copyTabs =
            u"trackListJapanese trackListEnglish discNameDirectionButton artistDirectionButton "
            u"titleDirectionButton okButton cancelButton blankOnlyCheckBox selectNoneButton "
            u"selectAllButton"_s.split(u' ');
        QTest::newRow("copy") << u"copy"_s << QStringList() << copyPairs << copyTabs
                              << QStringList{u"曲名 (日本語)"_s, u"曲名 (英語)"_s,
                                             u"ディスク名: コピーしない"_s,
                                             u"コピー先が空白の部分のみコピー"_s, u"全て選択"_s};
        QTest::newRow("copy, every direction set, long names, 99 tracks")
            << u"busy copy"_s << QStringList() << copyPairs << copyTabs
            << QStringList{u"作者名: 日本語から英語へ"_s, u"曲名: 英語から日本語へ"_s};
    }

    void window()
    {
        QFETCH(QString, window);
        QFETCH(QStringList, hidden);
        QFETCH(QStringList, pairs);
        QFETCH(QStringList, tabs);
        QFETCH(QStringList, names);
        const std::unique_ptr<QWidget> shown = show(window);
        QVERIFY(shown);

        const QStringList faults =
            placementFaults(shown.get(), hidden) + overlapFaults(shown.get(), etchedRule) +
            captionFaults(shown.get(), pairs) + nameFaults(shown.get(), names);
        QVERIFY2(faults.isEmpty(), qUtf8Printable(faults.join(u'\n')));

        if (tabs.isEmpty())
            tabs = readingOrder(shown.get());
        // From the first stop, Tab visits every stop once and comes back.
        shown->findChild<QWidget *>(tabs.first())->setFocus();
        QCOMPARE(tabCycle(), tabs);
    }

private:
    // The window of a row, shown and active, in the row's state.
    std::unique_ptr<QWidget> show(const QString &window)
    {
        m_store = numberedDisc(window == u"busy copy" ? MaxTracks : 12);
        if (window == u"busy copy") {
            m_store.artistNames[Japanese] = QString(40, u'作');
            m_store.artistNames[English] = QString(80, u'W');
        }
        std::unique_ptr<QWidget> shown;
        if (window.endsWith(u"editor"))
            shown = std::make_unique<EditorWindow>(m_store, m_beeper);
        else if (window == u"new disc")
            shown = std::make_unique<NewOrOpenDialog>();
        else if (window == u"track count")
            shown = std::make_unique<TrackCountDialog>(12);
        else
            shown = std::make_unique<CopyDialog>(m_store, nullptr);
        // The state, brought about through the window's controls.
        if (window.startsWith(u"English"))
            shown->findChild<QAction *>(u"languageAction"_s)->trigger();
        // A track in the middle, so that both move buttons take the focus.
        if (window.endsWith(u"editor"))
            shown->findChild<QListWidget *>(u"trackList"_s)->setCurrentRow(4);
        if (window == u"new disc")
            QTest::keyClicks(shown->findChild<QWidget *>(u"trackCountField"_s), u"12"_s);
        if (window == u"busy copy")
            for (const QString &button :
                 {u"discNameDirectionButton"_s, u"artistDirectionButton"_s,
                  u"titleDirectionButton"_s, u"titleDirectionButton"_s, u"selectAllButton"_s})
                shown->findChild<QPushButton *>(button)->click();
        shown->show();
        shown->activateWindow();
        return QTest::qWaitForWindowActive(shown.get()) ? std::move(shown) : nullptr;
    }

    TitleStore m_store;
    Beeper m_beeper;
};

QTEST_MAIN(TestLayout)
#include "tst_layout.moc"
