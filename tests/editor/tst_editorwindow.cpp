// SPDX-License-Identifier: GPL-3.0-or-later
// The editor window driven through its controls with real keys and clicks,
// Japanese arriving as input method events, and with a stand-in input method
// that finishes its composition as one or another real one does.
#include "common/discs.h"
#include "common/editorfixture.h"
#include "common/modalanswer.h"
#include "common/testing.h"
#include "ui/common/resources.h"
#include "ui/common/trackentry.h"
#include "ui/startup/neworopendialog.h"

#include <QAbstractItemModel>
#include <QFile>
#include <QFileDialog>
#include <QInputMethodEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <qpa/qplatforminputcontext.h>
#include <qpa/qplatforminputcontextplugin_p.h>

#include <utility>

namespace {

// The list entries a store gives in a language.
QStringList entriesOf(const TitleStore &store, int language)
{
    QStringList result;
    for (int track = 1; track <= store.trackCount; ++track)
        result << trackEntry(track, store.trackTitles(language, track));
    return result;
}

// Japanese text reaches a box through the input method: committed, or still
// being composed.
void inputMethod(QWidget *target, const QString &committed, const QString &composing = {})
{
    QInputMethodEvent event(composing, {});
    event.setCommitString(committed);
    QApplication::sendEvent(target, &event);
}

// The input method of this test, loaded by Qt as the plug-in QT_IM_MODULE
// names (the offscreen platform has none). The test gives it the unfinished
// text it holds and how it finishes that when the program asks it to
// (QInputMethod::commit(), then reset()): it "keeps it" (does nothing), it
// "commits" it on commit(), or it "drops" it from the box on reset(). Like a
// real one, it talks to whatever has the focus when it is asked.
class StandInInputContext : public QPlatformInputContext
{
public:
    bool isValid() const override { return true; }
    void commit() override { finish(u"commits"); }
    void reset() override { finish(u"drops"); }
    static inline QString s_held, s_finishing;

private:
    static void finish(QStringView way)
    {
        QObject *focus = QGuiApplication::focusObject();
        if (s_finishing != way || s_held.isEmpty() || !focus)
            return;
        QInputMethodEvent event; // without a commit string, it drops the text
        if (way == u"commits")
            event.setCommitString(s_held);
        s_held.clear();
        QCoreApplication::sendEvent(focus, &event);
    }
};

} // namespace

class StandInInputContextPlugin : public QPlatformInputContextPlugin
{
    Q_OBJECT
    Q_PLUGIN_METADATA(IID QPlatformInputContextFactoryInterface_iid FILE "fakeinputcontext.json")
public:
    QPlatformInputContext *create(const QString &, const QStringList &) override
    {
        return new StandInInputContext;
    }
};
Q_IMPORT_PLUGIN(StandInInputContextPlugin)

class TestEditorWindow : public QObject, EditorFixture
{
    Q_OBJECT
private Q_SLOTS:
    void cleanup()
    {
        m_session.reset();
        StandInInputContext::s_held.clear();
        StandInInputContext::s_finishing.clear();
    }

    // Only the Japanese boxes take the input method, and the input method is told
    // so as each box takes the focus; each box shows its language's pointer.
    void inputMethodAndPointer()
    {
        QVERIFY(openEditor(numberedDisc(3)));
        for (const QString &name :
             {u"discNameEditJapanese"_s, u"artistEditJapanese"_s, u"titleEditJapanese"_s,
              u"discNameEditEnglish"_s, u"artistEditEnglish"_s, u"titleEditEnglish"_s}) {
            const bool japanese = name.endsWith(u"Japanese");
            if (box(name)->isHidden())
                switchLanguage();
            QTest::mouseClick(box(name), Qt::LeftButton);
            QCOMPARE(QApplication::focusWidget(), box(name));
            QCOMPARE(QPlatformInputContext().inputMethodAccepted(), japanese); // Qt's shared flag
            QInputMethodQueryEvent enabled(Qt::ImEnabled);
            QApplication::sendEvent(box(name), &enabled);
            QCOMPARE(enabled.value(Qt::ImEnabled).toBool(), japanese);
            QCOMPARE(box(name)->cursor().bitmap().toImage(),
                     (japanese ? japanesePointer() : englishPointer()).bitmap().toImage());
        }
    }

    // The window opens with the focus on the first control of the tab order that
    // takes it (what it shows is checked by the soak test and loadedTextsKept); a
    // click, and Ctrl with a click on the selected entry, selects exactly that
    // track and gives the list the focus.
    void opening()
    {
        QVERIFY(openEditor(numberedDisc(99)));
        QCOMPARE(list()->item(8)->text(), u"09 J9"_s);
        QTRY_COMPARE(QApplication::focusWidget(), find(u"moveDownButton"_s));
        clickTrack(99);
        clickTrack(99, Qt::ControlModifier);
        QCOMPARE(m_window->currentTrack(), 99);
        QCOMPARE(list()->selectedItems(), QList<QListWidgetItem *>{list()->item(98)});
        QCOMPARE(QApplication::focusWidget(), list());
    }

    void editing_data()
    {
        QTest::addColumn<int>("count");
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("track");   // clicked first
        QTest::addColumn<QString>("how"); // replace (keys over all), input method, key
        QTest::addColumn<QString>("input");
        QTest::addColumn<QString>("stored"); // the box's text of the track in the store
        QTest::addColumn<int>("to");         // the current track at the end
        const QString title = u"titleEditJapanese"_s, englishTitle = u"titleEditEnglish"_s;
        QTest::newRow("title with percent signs")
            << 12 << title << 2 << u"replace"_s << u"%1 %2"_s << u"%1 %2"_s << 2;
        QTest::newRow("artist, LF by input method")
            << 12 << u"artistEditJapanese"_s << 1 << u"input method"_s << u"あ\nい"_s
            << u"作者あ い"_s << 1;
        QTest::newRow("Enter") << 12 << title << 3 << u"key"_s << u"Return"_s << u"J3"_s << 4;
        QTest::newRow("keypad Enter") << 12 << title << 5 << u"key"_s << u"Enter"_s << u"J5"_s << 6;
        QTest::newRow("Enter on the last of 99 wraps, English")
            << 99 << englishTitle << 99 << u"key"_s << u"Return"_s << u"E99"_s << 1;
        QTest::newRow("Enter on a single track stays")
            << 1 << title << 1 << u"key"_s << u"Return"_s << u"J1"_s << 1;
        QTest::newRow("Enter in the disc name does nothing")
            << 12 << u"discNameEditJapanese"_s << 5 << u"key"_s << u"Return"_s << u"ディスク"_s
            << 5;
    }

    // A keystroke writes one text of the shown language, with line breaks from
    // the input method as spaces, and rewrites only its own list entry:
    // no selection event, no rebuilt list. Enter in the title box selects the
    // next track, wrapping, and keeps the focus.
    void editing()
    {
        QFETCH(int, count);
        QFETCH(QString, name);
        QFETCH(int, track);
        QFETCH(QString, how);
        QFETCH(QString, input);
        QFETCH(QString, stored);
        QFETCH(int, to);

        QVERIFY(openEditor(numberedDisc(count)));
        const int language = name.endsWith(u"English") ? English : Japanese;
        if (language == English)
            switchLanguage();
        clickTrack(track);
        TitleStore expected = *m_store;
        textOf(expected, name, track) = stored;

        QSignalSpy selections(list(), &QListWidget::currentRowChanged);
        QSignalSpy rewrites(list()->model(), &QAbstractItemModel::dataChanged);
        QSignalSpy rebuilds(list()->model(), &QAbstractItemModel::rowsRemoved);
        QLineEdit *edit = box(name);
        QTest::mouseClick(edit, Qt::LeftButton);
        QTest::keyClick(edit, Qt::Key_End);
        if (how == u"replace") {
            QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
            QTest::keyClick(edit, Qt::Key_Backspace);
            QTest::keyClicks(edit, input);
        } else if (how == u"input method") {
            inputMethod(edit, input);
        } else {
            QTest::keyClick(edit, QKeySequence(input)[0].key());
        }

        QCOMPARE(*m_store, expected);
        QCOMPARE(m_window->currentTrack(), to);
        QCOMPARE(edit->text(), textOf(expected, name, to));
        QCOMPARE(entries(), entriesOf(expected, language));
        QCOMPARE(list()->currentRow(), to - 1);
        QCOMPARE(selections.count(), to == track ? 0 : 1);
        QCOMPARE(rebuilds.count(), 0);
        for (const QList<QVariant> &rewrite : rewrites)
            QCOMPARE(rewrite.at(0).toModelIndex().row(), to - 1);
        QCOMPARE(QApplication::focusWidget(), edit);
    }

    void switchingLanguage_data()
    {
        QTest::addColumn<QString>("how");
        QTest::newRow("label") << u"label"_s;
        QTest::newRow("menu command") << u"menu"_s;
        QTest::newRow("access key Alt+L") << u"Alt+L"_s;
        QTest::newRow("double click on the label") << u"double click"_s;
    }

    // Each switch beeps and redraws the other language from track 1, focus on the
    // disc name; what was typed before stays.
    void switchingLanguage()
    {
        QFETCH(QString, how);
        QVERIFY(openEditor(numberedDisc(12)));
        QSignalSpy beeps(&m_beeper, &Beeper::beeped);
        clickTrack(8);
        QTest::mouseClick(box(u"artistEditJapanese"_s), Qt::LeftButton);
        inputMethod(box(u"artistEditJapanese"_s), u"追加"_s);
        const TitleStore typed = *m_store;

        for (const int language : {English, Japanese}) {
            // A double click reaches a widget as a click, then a double-click
            // event in place of the second press, and its release.
            if (how == u"label") {
                switchLanguage();
            } else if (how == u"double click") {
                QTest::mouseClick(find(u"languageLabel"_s), Qt::LeftButton);
                QTest::mouseDClick(find(u"languageLabel"_s), Qt::LeftButton);
                QTest::mouseRelease(find(u"languageLabel"_s), Qt::LeftButton);
            } else if (how == u"menu") {
                action(u"languageAction"_s)->trigger();
            } else {
                QTest::keyClick(QApplication::focusWidget(), Qt::Key_L, Qt::AltModifier);
            }
            const bool english = language == English;
            const QString shown = english ? u"English"_s : u"Japanese"_s;
            QCOMPARE(beeps.count(), english ? 1 : 2);
            QCOMPARE(m_window->shownLanguage(), language);
            QCOMPARE(find<QLabel>(u"languageLabel"_s)->text(), english ? u"英語"_s : u"日本語"_s);
            QCOMPARE(action(u"languageAction"_s)->text(),
                     english ? u"英語(&L)"_s : u"日本語(&L)"_s);
            QCOMPARE(m_window->currentTrack(), 1);
            QCOMPARE(QApplication::focusWidget(), box(u"discNameEdit"_s + shown));
            QCOMPARE(*m_store, typed);
        }
    }

    void composingThenLeaving_data()
    {
        QTest::addColumn<QString>("finishing"); // what the input method does when asked
        QTest::addColumn<QString>("action");
        QTest::addColumn<int>("current"); // the track selected afterwards
        QTest::addColumn<int>("swapped"); // the track whose title moved with track 8's, or 0
        // Each way of leaving; those that move the focus first (Qt asks the input
        // method then) with one input method, those that keep it with each.
        for (const char *finishing : {"keeps it", "commits", "drops"}) {
            const auto row = [&](const char *way) {
                return &(QTest::addRow("%s, %s", way, finishing) << QString::fromLatin1(finishing));
            };
            *row("language label") << u"languageLabel"_s << 1 << 0;
            *row("Enter") << u"Enter"_s << 9 << 0;
            *row("copy dialog") << u"copyAction"_s << 1 << 0;
            *row("new-or-open dialog") << u"newOrOpenAction"_s << 8 << 0;
            *row("save command, file dialog cancelled") << u"saveAction"_s << 8 << 0;
            if (qstrcmp(finishing, "keeps it") != 0)
                continue;
            *row("Up") << u"moveUpButton"_s << 7 << 7;
            *row("Down") << u"moveDownButton"_s << 9 << 9;
            *row("list click") << u"list"_s << 3 << 0;
        }
    }

    // Text the input method has not finished when the title box is given another
    // track or language goes into the title it was typed for, once, whatever the
    // input method does when asked to finish; no other title of either language
    // changes.
    void composingThenLeaving()
    {
        QFETCH(QString, finishing);
        QFETCH(QString, action);
        QFETCH(int, current);
        QFETCH(int, swapped);
        QVERIFY(openEditor(numberedDisc(12)));
        clickTrack(8);
        QLineEdit *title = box(u"titleEditJapanese"_s);
        QTest::mouseClick(title, Qt::LeftButton);
        QTest::keyClick(title, Qt::Key_End);
        StandInInputContext::s_held = u"はる"_s;
        StandInInputContext::s_finishing = finishing;
        inputMethod(title, {}, u"はる"_s);
        QCOMPARE(m_store->trackTitles(Japanese, 8), u"J8"_s);

        TitleStore expected = numberedDisc(12);
        expected.trackTitles(Japanese, 8) = u"J8はる"_s;
        if (swapped)
            std::swap(expected.trackTitles(Japanese, 8), expected.trackTitles(Japanese, swapped));

        ModalAnswer cancel; // the modal dialogs are cancelled
        if (action == u"languageLabel" || action.endsWith(u"Button"))
            QTest::mouseClick(find(action), Qt::LeftButton);
        else if (action == u"list")
            clickTrack(3);
        else if (action == u"Enter")
            QTest::keyClick(title, Qt::Key_Return);
        else
            this->action(action)->trigger();

        QCOMPARE(*m_store, expected);
        QCOMPARE(m_window->currentTrack(), current);
        if (finishing != u"keeps it") // it was asked to finish
            QCOMPARE(StandInInputContext::s_held, QString());
    }

    // A disc without tracks: empty list, title box empty and disabled, Up, Down
    // and Enter doing nothing, the names editable; no track 0 is ever current.
    void noTracks()
    {
        TitleStore disc = numberedDisc(0);
        QVERIFY(openEditor(disc));
        for (const QString &shown : {u"Japanese"_s, u"English"_s}) {
            QCOMPARE(list()->count(), 0);
            QVERIFY(!box(u"titleEdit"_s + shown)->isEnabled());
            QVERIFY(box(u"titleEdit"_s + shown)->text().isEmpty());
            QVERIFY(!find(u"moveUpButton"_s)->isEnabled() &&
                    !find(u"moveDownButton"_s)->isEnabled());
            QTest::keyClick(list(), Qt::Key_Down);
            QTest::mouseClick(list()->viewport(), Qt::LeftButton, {}, QPoint(20, 20));
            QTest::keyClick(box(u"titleEdit"_s + shown), Qt::Key_Return);
            QTest::mouseClick(box(u"discNameEdit"_s + shown), Qt::LeftButton);
            QTest::keyClicks(box(u"discNameEdit"_s + shown), u"!"_s);
            textOf(disc, u"discNameEdit"_s + shown, 0) += u'!';
            QCOMPARE(*m_store, disc);
            QCOMPARE(m_window->currentTrack(), 0);
            QCOMPARE(list()->count(), 0);
            switchLanguage();
        }
    }

    void loadedTextsKept_data()
    {
        QTest::addColumn<QString>("text");
        QTest::newRow("lone LF") << u"a\nb"_s;
        QTest::newRow("half-width katakana") << u"ｿﾉﾗﾍﾞ ｶﾀｶﾅ"_s;
        QTest::newRow("100,000 characters") << QString(100'000, u'x') + u"end"_s;
    }

    // Loaded texts are shown whole, as they are, and showing, selecting, moving and switching
    // without typing never changes them.
    void loadedTextsKept()
    {
        QFETCH(QString, text);
        TitleStore disc = numberedDisc(3);
        for (const int language : {Japanese, English}) {
            disc.discNames[language] = text;
            disc.artistNames[language] = text;
            disc.trackTitles(language, 2) = text;
            disc.trackTitles(language, 3) = text + text;
        }
        QVERIFY(openEditor(disc));
        QCOMPARE(entries(), entriesOf(disc, Japanese));
        for (const QString &shown : {u"Japanese"_s, u"English"_s}) {
            QCOMPARE(box(u"discNameEdit"_s + shown)->text(), text);
            clickTrack(2);
            QLineEdit *title = box(u"titleEdit"_s + shown);
            QCOMPARE(title->text(), text);
            QTest::mouseClick(title, Qt::LeftButton);
            QTest::keyClick(title, Qt::Key_Return);
            QTest::keyClick(title, Qt::Key_Return);
            QTest::mouseClick(find(u"moveDownButton"_s), Qt::LeftButton);
            QTest::mouseClick(find(u"moveUpButton"_s), Qt::LeftButton);
            switchLanguage();
        }
        QCOMPARE(*m_store, disc);
    }

    void menuCommands_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<QString>("englishTitle"); // a Tab is refused by saving
        QTest::addColumn<bool>("saved");
        QTest::addColumn<bool>("ends");
        QTest::newRow("Exit") << u"quitAction"_s << u"E1"_s << false << true;
        QTest::newRow("Save and exit, saved") << u"saveAndQuitAction"_s << u"E1"_s << true << true;
        QTest::newRow("Save and exit, refused")
            << u"saveAndQuitAction"_s << u"a\tb"_s << false << false;
    }

    // New-or-open shows the start-up dialog beside the editor, once; Exit, and
    // Save and exit after a successful save only, end the program and close it.
    void menuCommands()
    {
        QFETCH(QString, command);
        QFETCH(QString, englishTitle);
        QFETCH(bool, saved);
        QFETCH(bool, ends);
        QTemporaryDir folder;
        TitleStore disc = numberedDisc(4);
        disc.trackTitles(English, 1) = englishTitle;
        QVERIFY(openEditor(disc));
        clickTrack(3);
        action(u"newOrOpenAction"_s)->trigger();
        const QPointer<NewOrOpenDialog> startup = m_session->startupDialog();
        action(u"newOrOpenAction"_s)->trigger();
        QVERIFY(startup && startup->isVisible() && !startup->isModal());
        QCOMPARE(m_session->startupDialog(), startup.data());
        QCOMPARE(list()->currentRow(), 2);

        QSignalSpy ended(m_session.get(), &EditorSession::quitRequested);
        const QString path = folder.filePath(u"disc.txt"_s);
        ModalAnswer answer([&](QWidget *modal) {
            if (auto *dialog = qobject_cast<QFileDialog *>(modal)) {
                dialog->findChild<QLineEdit *>(u"fileNameEdit"_s)->setText(path);
                static_cast<QDialog *>(dialog)->accept();
            } else
                modal->close();
        });
        action(command)->trigger();
        QCOMPARE(QFile::exists(path), saved);
        QCOMPARE(ended.count(), ends ? 1 : 0);
        QCOMPARE(startup && startup->isVisible(), !ends);
    }

private:
    QLineEdit *box(const QString &name) const { return find<QLineEdit>(name); }
    QListWidget *list() const { return find<QListWidget>(u"trackList"_s); }
    QAction *action(const QString &name) const { return find<QAction>(name); }
    QStringList entries() const
    {
        QStringList result;
        for (int row = 0; row < list()->count(); ++row)
            result << list()->item(row)->text();
        return result;
    }
    void clickTrack(int track, Qt::KeyboardModifiers modifiers = {})
    {
        QListWidgetItem *item = list()->item(track - 1);
        list()->scrollToItem(item);
        QTest::mouseClick(list()->viewport(), Qt::LeftButton, modifiers,
                          list()->visualItemRect(item).center());
    }
    void switchLanguage() { QTest::mouseClick(find(u"languageLabel"_s), Qt::LeftButton); }
};

QTEST_MAIN(TestEditorWindow)
#include "tst_editorwindow.moc"
