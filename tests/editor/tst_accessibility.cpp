// SPDX-License-Identifier: GPL-3.0-or-later
// What a screen reader finds in the windows: every control that takes the
// focus has a name of its own, and the names say which language a box or a
// list holds and what a direction button does.
#include "common/discs.h"
#include "common/modalanswer.h"
#include "model/titlestore.h"
#include "ui/common/beeper.h"
#include "ui/copy/copydialog.h"
#include "ui/editor/editorwindow.h"
#include "ui/editorsession.h"
#include "ui/startup/neworopendialog.h"
#include "ui/trackcount/trackcountdialog.h"

#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QPushButton>
#include <QTest>

#include <memory>

using namespace sonolabe;
using namespace sonolabe::test;
using namespace Qt::Literals::StringLiterals;

namespace {

// The names of the visible controls that take the focus, by object name,
// found through the accessibility tree as a screen reader walks it.
QMap<QString, QString> focusableNames(QWidget *window)
{
    QMap<QString, QString> names;
    const std::function<void(QAccessibleInterface *)> walk = [&](QAccessibleInterface *node) {
        for (int i = 0; i < node->childCount(); ++i) {
            QAccessibleInterface *child = node->child(i);
            if (!child)
                continue;
            auto *widget = qobject_cast<QWidget *>(child->object());
            const QAccessible::State state = child->state();
            if (widget && state.focusable && !state.invisible)
                names.insert(widget->objectName(), child->text(QAccessible::Name));
            if (widget)
                walk(child);
        }
    };
    walk(QAccessible::queryAccessibleInterface(window));
    return names;
}

} // namespace

class TestAccessibility : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void everyControlNamed_data();
    void everyControlNamed();
    void directionButtonsSayWhatTheyDo_data();
    void directionButtonsSayWhatTheyDo();

private:
    TitleStore m_store = [] {
        TitleStore store;
        store.trackCount = 3;
        return store;
    }();
    Beeper m_beeper;
};

void TestAccessibility::everyControlNamed_data()
{
    QTest::addColumn<QString>("window");
    QTest::addColumn<QStringList>("expected"); // a few of the names
    const auto editor = [](const QString &language) {
        return QStringList{u"ディスク名 ("_s + language + u')', u"作者名 ("_s + language + u')',
                           u"曲名 ("_s + language + u')', u"曲の一覧 ("_s + language + u')',
                           u"入力中の言語: "_s + language};
    };
    QTest::newRow("editor, Japanese") << u"editor"_s << editor(u"日本語"_s);
    QTest::newRow("editor, English") << u"English editor"_s << editor(u"英語"_s);
    QTest::newRow("new or open") << u"new or open"_s
                                 << QStringList{u"曲数"_s, u"新規作成"_s, u"既存のファイルを開く"_s,
                                                u"OK"_s};
    QTest::newRow("track count") << u"track count"_s << QStringList{u"曲数"_s, u"ｷｬﾝｾﾙ"_s};
    QTest::newRow("copy") << u"copy"_s
                          << QStringList{u"曲名 (日本語)"_s, u"曲名 (英語)"_s,
                                         u"ディスク名: コピーしない"_s,
                                         u"コピー先が空白の部分のみコピー"_s, u"全て選択"_s};
}

// Every focusable control has a name, no two alike; the editor's boxes, list
// and language label are named after the language shown, and the hidden
// language's boxes are not found.
void TestAccessibility::everyControlNamed()
{
    QFETCH(QString, window);
    QFETCH(QStringList, expected);
    EditorSession session(m_store, m_beeper);
    std::unique_ptr<QWidget> dialog;
    QWidget *shown = nullptr;
    if (window.endsWith(u"editor")) {
        shown = session.openEditor();
        if (window.startsWith(u"English"))
            shown->findChild<QAction *>(u"languageAction"_s)->trigger();
    } else if (window == u"new or open") {
        shown = session.showStartupDialog();
    } else if (window == u"track count") {
        shown = (dialog = std::make_unique<TrackCountDialog>(5)).get();
    } else {
        shown = (dialog = std::make_unique<CopyDialog>(m_store, nullptr)).get();
    }
    shown->show();
    QVERIFY(QTest::qWaitForWindowExposed(shown));

    const QMap<QString, QString> names = focusableNames(shown);
    QStringList seen;
    for (auto it = names.cbegin(); it != names.cend(); ++it) {
        QVERIFY2(!it.value().isEmpty(), qPrintable(it.key() + u" has no name"_s));
        QVERIFY2(!seen.contains(it.value()), qPrintable(it.value() + u" twice"_s));
        seen << it.value();
    }
    if (auto *label = shown->findChild<QWidget *>(u"languageLabel"_s))
        seen << QAccessible::queryAccessibleInterface(label)->text(QAccessible::Name);
    for (const QString &name : expected)
        QVERIFY2(seen.contains(name), qPrintable(name + u" missing from "_s + seen.join(u", ")));
    if (window == u"English editor")
        QVERIFY(!seen.contains(u"曲名 (日本語)"_s));
}

void TestAccessibility::directionButtonsSayWhatTheyDo_data()
{
    QTest::addColumn<int>("presses");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("firstTitles"); // Japanese and English, after OK
    QTest::newRow("not pressed") << 0 << u"曲名: コピーしない"_s << u"J1 E1"_s;
    QTest::newRow("pressed once") << 1 << u"曲名: 日本語から英語へ"_s << u"J1 J1"_s;
    QTest::newRow("pressed twice") << 2 << u"曲名: 英語から日本語へ"_s << u"E1 E1"_s;
}

// The title row's direction button, pressed from the editor's copy dialog
// with every track selected, is named after what OK then does.
void TestAccessibility::directionButtonsSayWhatTheyDo()
{
    QFETCH(int, presses);
    QFETCH(QString, name);
    QFETCH(QString, firstTitles);
    TitleStore store = numberedDisc(3);
    EditorWindow editor(store, m_beeper);
    QString said;
    ModalAnswer answer([&](QWidget *dialog) {
        auto *titles = dialog->findChild<QPushButton *>(u"titleDirectionButton"_s);
        for (int press = 0; press < presses; ++press)
            titles->click();
        dialog->findChild<QPushButton *>(u"selectAllButton"_s)->click();
        said = QAccessible::queryAccessibleInterface(titles)->text(QAccessible::Name);
        dialog->findChild<QPushButton *>(u"okButton"_s)->click();
    });
    editor.findChild<QAction *>(u"copyAction"_s)->trigger();
    QVERIFY(answer.answered());
    QCOMPARE(said, name);
    QCOMPARE(store.trackTitles(Japanese, 1) + u' ' + store.trackTitles(English, 1), firstTitles);
}

QTEST_MAIN(TestAccessibility)
#include "tst_accessibility.moc"
