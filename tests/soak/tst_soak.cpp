// SPDX-License-Identifier: GPL-3.0-or-later
// The whole program driven at random through its windows on the offscreen
// platform: typing (keys, the input method, pastes), the track list, the
// language switch, the copy and track-count dialogs and saves in
// every file type. How each action works is pinned by the unit tables
// (opening files too); here every step is checked against what holds whatever
// the action did:
//  - the store changed only where the action may change it, and its texts
//    can be written to a title file and read back as they are;
//  - the editor shows the store: boxes, list entries, current entry, Up and Down;
//  - a save is refused exactly when the model's English check refuses a
//    text, and the file reads back as the model writes the store in the
//    languages of the type chosen;
//  - nothing crashes and no modal window stays open.
//
// SONOLABE_SOAK_SEED=N runs seed N alone instead of the fixed seeds, and
// SONOLABE_SOAK_STEPS=N sets the number of steps per seed. A failure names
// the seed, the step and its action; the same seed replays the same steps.
#include "common/modalanswer.h"
#include "common/testing.h"
#include "model/titlefile.h"
#include "ui/common/beeper.h"
#include "ui/common/look.h"
#include "ui/common/trackentry.h"
#include "ui/copy/copydialog.h"
#include "ui/editor/editorwindow.h"
#include "ui/editorsession.h"
#include "ui/trackcount/trackcountdialog.h"

#include <QAction>
#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <array>
#include <memory>
#include <optional>
#include <utility>

namespace {

const QList<quint32> DefaultSeeds{20240611, 7, 4099};
constexpr int DefaultSteps = 600;

// All in code page 932. Half-width katakana take one byte: ｱ passes the
// English check, ﾝ does not.
const QString JapaneseLetters = u"あいうえおかがぱゃっーアイウエオヴァ春夏秋冬曲歌手東京ＡＢ０１"
                                u"「」、。・　♪ｱｲｳｴｵｶｷﾝｰ"_s;

// The model's English check, which looks at each code unit, on every text a
// save looks at.
bool englishAllowed(const TitleStore &store)
{
    QString texts = store.discNames[English] + store.artistNames[English];
    for (int track = 1; track <= MaxTracks; ++track)
        texts += store.trackTitles(English, track);
    return isEnglishText(texts);
}

// The child of that name, or without a name the object itself, as a T.
template <typename T = QWidget> T *as(QObject *object, const QString &name = {})
{
    T *found = name.isEmpty() ? qobject_cast<T *>(object) : object->findChild<T *>(name);
    if (!found)
        qFatal("no %s %s", T::staticMetaObject.className(), qPrintable(name));
    return found;
}

// What the disc, the editor and the session should hold after a step.
struct Expected : TitleStore
{
    int currentTrack = 0;
    int shownLanguage = Japanese;
    QString filePath;
};

} // namespace

class TestSoak : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void soak_data()
    {
        QTest::addColumn<quint32>("seed");
        const QString chosen = qEnvironmentVariable("SONOLABE_SOAK_SEED");
        for (const quint32 each : chosen.isEmpty() ? DefaultSeeds : QList{chosen.toUInt()})
            QTest::addRow("seed %u", each) << each;
    }

    void soak()
    {
        QFETCH(quint32, seed);
        const int asked = qEnvironmentVariableIntValue("SONOLABE_SOAK_STEPS");
        const int steps = asked > 0 ? asked : DefaultSteps;
        QTemporaryDir folder;
        QVERIFY(folder.isValid());
        QDir::setCurrent(folder.path());
        m_dice.seed(seed);
        m_problem.clear();
        // An empty disc: the texts come from typing, pasting and copying.
        m_store = TitleStore();
        m_store.trackCount = quint8(trackCount());
        m_session = std::make_unique<EditorSession>(m_store, m_beeper);
        m_session->openEditor();
        check({m_store, 1, Japanese, {}});
        for (int step = 1; step <= steps && m_problem.isEmpty(); ++step) {
            // Half of the steps type; the other actions share the rest.
            using Action = std::pair<QStringView, void (TestSoak::*)(Expected &)>;
            static const Action actions[] = {{u"pick", &TestSoak::pick},
                                             {u"switch", &TestSoak::language},
                                             {u"copy", &TestSoak::copy},
                                             {u"count", &TestSoak::count},
                                             {u"save", &TestSoak::save}};
            const Action &action =
                chance(50) ? Action{u"type", &TestSoak::type} : actions[below(5)];
            Expected expected{m_store, editor()->currentTrack(), editor()->shownLanguage(),
                              m_session->currentFilePath()};
            (this->*action.second)(expected);
            // What the event loop does between two actions of a person.
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
            QCoreApplication::processEvents();
            if (m_afterwards && m_afterwards->answered())
                expect(false, u"a window stays open or follows: "_s + m_afterwards->title());
            m_afterwards.reset();
            check(expected);
            if (!m_problem.isEmpty())
                m_problem =
                    u"step %1 (%2): %3"_s.arg(QString::number(step), action.first, m_problem);
        }
        m_session.reset();
        QVERIFY2(m_problem.isEmpty(), qPrintable(u"seed %1, "_s.arg(seed) + m_problem));
    }

private:
    int below(qsizetype n) { return int(m_dice.bounded(quint32(n))); }
    bool chance(int percent) { return below(100) < percent; }
    // Mostly small, where the first track is also the last one.
    int trackCount() { return 1 + below(chance(60) ? 3 : MaxTracks); }
    QString text(bool japanese)
    {
        QString made;
        for (int n = 1 + below(8); n > 0; --n)
            made += japanese && chance(70) ? JapaneseLetters.at(below(JapaneseLetters.size()))
                                           : QChar(char16_t(0x20 + below(0x5F)));
        return made;
    }

    EditorWindow *editor() const { return m_session->editor(); }
    QLineEdit *box(int field, Language language) const
    {
        const QStringList boxes{u"discNameEdit"_s, u"artistEdit"_s, u"titleEdit"_s};
        return as<QLineEdit>(editor(), boxes.at(field - 1) + languageSuffix(language));
    }
    void expect(bool ok, const QString &what) { m_problem += ok ? QString() : what + u"; "_s; }
    // A redrawn editor selects the first track.
    static void redrawn(Expected &store) { store.currentTrack = store.trackCount ? 1 : 0; }

    void check(const Expected &expected)
    {
        expect(m_store == expected && m_session->currentFilePath() == expected.filePath &&
                   editor()->currentTrack() == expected.currentTrack &&
                   editor()->shownLanguage() == expected.shownLanguage,
               u"the store holds other texts or another position"_s);
        const std::optional<TitleStore> back = parseTitleFile(writeTitleFile(m_store, {}));
        expect(back && *back == m_store, u"the texts do not survive their file"_s);
        expect(editor() && editor()->isVisible(), u"no editor window shown"_s);
        const Language language = editor()->shownLanguage();
        const int count = m_store.trackCount;
        const int current = editor()->currentTrack();
        auto *list = as<QListWidget>(editor(), u"trackList"_s);
        expect(list->count() == count && list->currentRow() + 1 == current,
               u"the list has %1 entries"_s.arg(list->count()));
        for (int row = 0; row < qMin(list->count(), count); ++row)
            expect(list->item(row)->text() ==
                       trackEntry(row + 1, m_store.trackTitles(language, row + 1)),
                   u"list entry %1 is \"%2\""_s.arg(row + 1).arg(list->item(row)->text()));
        const QString texts[] = {m_store.discNames[language], m_store.artistNames[language],
                                 current ? m_store.trackTitles(language, current) : QString()};
        for (int field = 1; field <= 3; ++field) {
            QLineEdit *shown = box(field, language);
            expect(shown->text() == texts[field - 1] && shown->isVisible() &&
                       !box(field, otherLanguage(language))->isVisible(),
                   u"%1 shows \"%2\""_s.arg(shown->objectName(), shown->text()));
        }
        expect(as(editor(), u"moveUpButton"_s)->isEnabled() == (current > 1) &&
                   as(editor(), u"moveDownButton"_s)->isEnabled() == (current && current < count),
               u"Up or Down enabled wrongly"_s);
    }

    // A click into a box of the language shown, then keys, the input method
    // or a paste. Where the edit lands is the box's business: the store must
    // hold what the box shows, and no other text may change.
    void type(Expected &expected)
    {
        const Language language = editor()->shownLanguage();
        const int current = editor()->currentTrack();
        const int field = 1 + below(current ? 3 : 2);
        QLineEdit *edit = box(field, language);
        QTest::mouseClick(edit, Qt::LeftButton, {},
                          QPoint(2 + below(edit->width() - 4), edit->height() / 2));
        // Japanese through the input method in the Japanese boxes; a paste
        // may bring it into any box.
        const bool pasted = chance(30);
        const bool japanese = (language == Japanese || (pasted && chance(30))) && chance(40);
        QString typed = text(japanese);
        if (pasted) {
            // A line break or a Tab becomes a blank; what is before it shows as it was.
            const qsizetype at = below(typed.size() + 1);
            QGuiApplication::clipboard()->setText(typed.first(at) + u"\t\r\n"_s.mid(below(3)) +
                                                  typed.sliced(at));
            typed.truncate(at);
            QTest::keyClick(edit, Qt::Key_V, Qt::ControlModifier);
        } else if (japanese) {
            QInputMethodEvent commit;
            commit.setCommitString(typed);
            QApplication::sendEvent(edit, &commit);
        } else {
            QTest::keyClicks(edit, typed);
        }
        expect(edit->text().contains(typed), u"\"%1\" typed, the box shows otherwise"_s.arg(typed));
        (field == 1   ? expected.discNames[language]
         : field == 2 ? expected.artistNames[language]
                      : expected.trackTitles(language, current)) = edit->text();
    }

    void pick(Expected &expected)
    {
        auto *list = as<QListWidget>(editor(), u"trackList"_s);
        if (QListWidgetItem *item = list->item(below(qMax(1, list->count())))) {
            list->scrollToItem(item);
            QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                              list->visualItemRect(item).center());
            expected.currentTrack = list->row(item) + 1;
        }
    }

    void language(Expected &expected)
    {
        QTest::mouseClick(as(editor(), u"languageLabel"_s), Qt::LeftButton);
        expected.shownLanguage = 1 - expected.shownLanguage;
        redrawn(expected);
    }

    // Random clicks on the copy dialog's buttons, then OK or Cancel. What OK
    // copies follows from the clicks alone: a row's direction button steps
    // × → ←, so 1 press in 3 copies Japanese to English, 2 English to
    // Japanese; the titles of all tracks or of none, as Select all or Clear
    // all was pressed last; over filled texts unless the box is ticked.
    void copy(Expected &expected)
    {
        static const QStringList buttons{u"discNameDirectionButton"_s, u"artistDirectionButton"_s,
                                         u"titleDirectionButton"_s,    u"selectNoneButton"_s,
                                         u"selectAllButton"_s,         u"blankOnlyCheckBox"_s};
        std::array<int, 3> presses{};
        bool allTracks = false;
        bool blankOnly = false;
        bool ok = false;
        ModalAnswer answer([&](QWidget *modal) {
            auto *dialog = as<CopyDialog>(modal);
            for (int n = below(8); n > 0; --n) {
                const int button = below(6);
                QTest::mouseClick(as(dialog, buttons.at(button)), Qt::LeftButton);
                if (button < 3)
                    ++presses[button];
                else if (button < 5)
                    allTracks = button == 4;
                else
                    blankOnly = !blankOnly;
            }
            ok = chance(75);
            m_afterwards.emplace();
            QTest::mouseClick(as(dialog, ok ? u"okButton"_s : u"cancelButton"_s), Qt::LeftButton);
        });
        as<QAction>(editor(), u"copyAction"_s)->trigger();
        expect(answer.answered(), u"no copy dialog"_s);
        const auto copied = [&](int row, QString &japanese, QString &english) {
            QString &from = presses[row] % 3 == 1 ? japanese : english;
            QString &to = presses[row] % 3 == 1 ? english : japanese;
            if (presses[row] % 3 != 0 && (!blankOnly || to.isEmpty()))
                to = from;
        };
        if (ok) {
            copied(0, expected.discNames[Japanese], expected.discNames[English]);
            copied(1, expected.artistNames[Japanese], expected.artistNames[English]);
            for (int track = 1; allTracks && track <= expected.trackCount; ++track)
                copied(2, expected.trackTitles(Japanese, track),
                       expected.trackTitles(English, track));
        }
        redrawn(expected);
    }

    // A count typed over the old one, then OK.
    void count(Expected &expected)
    {
        const int typed = trackCount();
        ModalAnswer answer([&](QWidget *modal) {
            auto *field = as<QLineEdit>(as<TrackCountDialog>(modal), u"trackCountField"_s);
            QTest::keyClick(field, Qt::Key_Backspace);
            QTest::keyClick(field, Qt::Key_Backspace);
            QTest::keyClicks(field, QString::number(typed));
            m_afterwards.emplace();
            QTest::mouseClick(as(modal, u"okButton"_s), Qt::LeftButton);
        });
        as<QAction>(editor(), u"trackCountAction"_s)->trigger();
        expect(answer.answered(), u"no track-count dialog"_s);
        // The tracks that fall away lose their titles in both languages.
        for (int track = typed + 1; track <= expected.trackCount; ++track) {
            expected.trackTitles(Japanese, track).clear();
            expected.trackTitles(English, track).clear();
        }
        expected.trackCount = quint8(typed);
        redrawn(expected);
    }

    // Save through the dialog with a file type and a name, or cancelled.
    void save(Expected &expected)
    {
        const QStringList names{u"disc"_s, u"DISC.TXT"_s, u"two words.txt"_s, u"ディスク"_s};
        bool refused = false;
        int type = -1;
        ModalAnswer answer([&](QWidget *modal) {
            refused = qobject_cast<QMessageBox *>(modal) != nullptr;
            if (refused || chance(10))
                return as<QDialog>(modal)->reject();
            type = below(4);
            auto *types = as<QComboBox>(modal, u"fileTypeCombo"_s);
            QTest::keyClick(types, Qt::Key_Home);
            for (int n = 0; n < type; ++n)
                QTest::keyClick(types, Qt::Key_Down);
            as<QLineEdit>(modal, u"fileNameEdit"_s)->setText(names.at(below(names.size())));
            m_afterwards.emplace();
            QTest::keyClick(as(modal, u"fileNameEdit"_s), Qt::Key_Return);
        });
        as<QAction>(editor(), u"saveAction"_s)->trigger();
        expect(answer.answered() && refused != englishAllowed(expected),
               u"save refused: %1, the English check disagreeing"_s.arg(refused));
        if (refused || type < 0)
            return;
        expected.filePath = m_session->currentFilePath();
        const LoadResult back = readTitleFile(expected.filePath);
        const std::optional<TitleStore> written =
            parseTitleFile(writeTitleFile(expected, sectionsForFileType(SaveFileType(type + 1))));
        expect(back.ok() && back.disc() == *written, u"the file reads back otherwise"_s);
    }

    QRandomGenerator m_dice; // the same actions for the same seed
    TitleStore m_store;
    Beeper m_beeper;
    std::unique_ptr<EditorSession> m_session;
    QString m_problem;
    // Emplaced before the last click in a dialog: answers a window that
    // stays open or follows, which is a fault.
    std::optional<ModalAnswer> m_afterwards;
};

QTEST_MAIN(TestSoak)
#include "tst_soak.moc"
