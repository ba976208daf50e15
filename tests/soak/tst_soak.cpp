// SPDX-License-Identifier: GPL-3.0-or-later
// The whole program driven at random through its windows on the offscreen
// platform. Every step is one user action on the real widgets: typing into the
// boxes, Enter, the track list, Up and Down, switching language, the copy and
// track-count dialogs, saving through the save dialog, opening through the
// new-or-open dialog. A model of the store is updated from what each action
// means and compared with the real store and with what the windows show after
// every step; every saved file is read back and compared with what was saved.
//
// SONOLABE_SOAK_SEED=N runs seed N alone instead of the fixed seeds, and
// SONOLABE_SOAK_STEPS=N sets the number of steps per seed. A failure names the
// seed and the step and lists the last actions; the same seed and step count
// replay the same actions.
#include "common/modalanswer.h"
#include "dialogs/filedialogs.h"
#include "model/codepage932.h"
#include "model/titlefile.h"
#include "model/titlestore.h"
#include "ui/common/beeper.h"
#include "model/languagecopy.h"
#include "ui/editor/editorwindow.h"
#include "ui/session.h"
#include "ui/startup/neworopendialog.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QInputMethodEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMap>
#include <QMenuBar>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QRandomGenerator>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <array>
#include <cstdio>
#include <memory>
#include <optional>
#include <type_traits>

using namespace sonolabe;
using namespace sonolabe::test;
using namespace Qt::Literals::StringLiterals;

namespace {

// The seed CI runs first, and the others it runs after it.
constexpr quint32 DefaultSeed = 20240611;
constexpr std::array<quint32, 3> MoreSeeds{7, 4099, 31415926};
// Steps per seed when SONOLABE_SOAK_STEPS is not set.
constexpr int DefaultSteps = 750;

// Characters typed through the input method into the Japanese boxes. All are
// in code page 932 and come back from a file as they were written; none is a
// combining mark, so that a key deletes exactly one of them.
const QString JapaneseLetters =
    u"あいうえおかきくけこさしすせそたちつてとなにぬねのはひふへほまみむめもやゆよらりるれろわをん"
    u"がぎぐげござじずぜぞだでどばびぶべぼぱぴぷぺぽゃゅょっー"
    u"アイウエオカキクケコサシスセソタチツテトナニヌネノハヒフヘホマミムメモヤユヨラリルレロワヲン"
    u"ガギグゲゴヴァィゥェォッ"
    u"春夏秋冬曲歌手作者名日本語英序終海空風花雪月星夜朝光音楽愛心夢東京大阪"
    u"ＡＢＣＸＹＺａｂｃ０１２３４５６７８９！？（）「」、。・　×→←○●★☆♪"_s;
// Half-width katakana: single bytes in the file. The English check reads the
// low byte of each character, so ｱ (U+FF71) may stand in English text and
// ﾝ (U+FF9D) may not. The voiced sound marks are left out: they join the
// letter before them.
const QString HalfWidthKana = u"｡｢｣､･ｦｧｨｩｪｫｬｭｮｯｰｱｲｳｴｵｶｷｸｹｺｻｼｽｾｿﾀﾁﾂﾃﾄﾅﾆﾇﾈﾉﾊﾋﾌﾍﾎﾏﾐﾑﾒﾓﾔﾕﾖﾗﾘﾙﾚﾛﾜﾝ"_s;

// Whether a character may stand in an English text of a saved file: printable
// ASCII, or a half-width katakana whose low byte is printable ASCII.
bool allowedInEnglish(QChar ch)
{
    const char16_t unit = ch.unicode();
    if (unit >= 0x20 && unit <= 0x7E)
        return true;
    if (unit >= 0xFF61 && unit <= 0xFF9F)
        return (unit & 0xFF) <= 0x7E;
    return false;
}

bool allowedInEnglish(const QString &text)
{
    return std::all_of(text.begin(), text.end(), [](QChar ch) { return allowedInEnglish(ch); });
}

// True when saving must refuse the English texts (all 99 titles are checked).
bool englishRefused(const TitleStore &store)
{
    bool allowed =
        allowedInEnglish(store.discNames[English]) && allowedInEnglish(store.artistNames[English]);
    for (int track = 1; track <= MaxTracks; ++track)
        allowed = allowed && allowedInEnglish(store.trackTitles(English, track));
    return !allowed;
}

QString listEntry(int track, const QString &title)
{
    return QString::asprintf("%02d ", track) + title;
}

// A text as a failure message shows it: control characters visible, long
// texts shortened.
QString shown(const QString &text)
{
    QString out;
    for (const QChar ch : text) {
        if (ch == u'\n')
            out += u"\\n"_s;
        else if (ch == u'\r')
            out += u"\\r"_s;
        else if (ch == u'\t')
            out += u"\\t"_s;
        else
            out += ch;
    }
    if (out.size() > 70)
        out = out.first(67) + u"..."_s;
    return u'"' + out + u'"';
}

QString shown(bool value)
{
    return value ? u"true"_s : u"false"_s;
}

QString shown(int value)
{
    return QString::number(value);
}

// What a box makes of a pasted text: each CR LF, lone CR and lone LF becomes
// one space, and so does each Tab in the disc-name and artist boxes, whose
// texts share one line of the file.
QString flattenedPaste(const QString &text, bool tabsToo)
{
    QString result = text;
    result.replace(u"\r\n"_s, u" "_s);
    result.replace(u'\r', u' ');
    result.replace(u'\n', u' ');
    if (tabsToo)
        result.replace(u'\t', u' ');
    return result;
}

// The offscreen platform cannot do these; every window shown says so.
QtMessageHandler testLogger = nullptr;
void withoutPlatformNotes(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    if (type == QtWarningMsg &&
        (message == u"This plugin does not support propagateSizeHints()"_s ||
         message == u"This plugin does not support raise()"_s))
        return;
    testLogger(type, context, message);
}

bool holdsLineBreak(const QString &text)
{
    return text.contains(u'\r') || text.contains(u'\n');
}

// The same sequence of numbers for the same seed.
class Dice
{
public:
    explicit Dice(quint32 seed) : m_generator(seed) {}
    int below(int n) { return int(m_generator.bounded(quint32(n))); }
    int between(int low, int high) { return low + below(high - low + 1); }
    bool chance(int percent) { return below(100) < percent; }
    QChar oneOf(const QString &characters) { return characters.at(below(int(characters.size()))); }

    QString ascii(int minimum, int maximum)
    {
        QString text;
        for (int n = between(minimum, maximum); n > 0; --n)
            text += QChar(char16_t(between(0x20, 0x7E)));
        return text;
    }
    QString japanese(int minimum, int maximum)
    {
        QString text;
        for (int n = between(minimum, maximum); n > 0; --n) {
            const int kind = below(10);
            if (kind < 7)
                text += oneOf(JapaneseLetters);
            else if (kind < 9)
                text += oneOf(HalfWidthKana);
            else
                text += QChar(char16_t(between(0x20, 0x7E)));
        }
        return text;
    }

private:
    QRandomGenerator m_generator;
};

// What the store and the windows must hold, as the actions so far mean it.
struct Expected
{
    TitleStore store;
    int beeps = 0;
    QString currentDirectory;
    // Only a text read from a file may hold a line break.
    bool lineBreaksLoaded = false;
    // The new-or-open dialog, while it is open beside the editor.
    bool startupOpen = false;
    bool startupOpensFile = false;
    QString startupField;
    // The widget of the editor that must hold its focus after the step.
    QString focus;
};

// The copy dialog as the user has set it so far.
struct CopyChoices
{
    CopyDirections directions{NoCopy, NoCopy, NoCopy};
    bool blankOnly = false;
    TrackSelection selection;
    // Shift with a click extends from the line last clicked without Shift in
    // the same list, adding to what was selected before that click.
    int anchorList = -1;
    int anchorLine = -1;
    TrackSelection beforeAnchor;
    // A focused push button takes Enter for itself.
    bool buttonHasFocus = false;
};

struct SaveOutcome
{
    enum Kind { Refused, Cancelled, Saved, Failed } kind = Failed;
    QString path;
    TitleFileSections sections;
};

// The track-count field's text after a key: digits only, at most two, typed
// at the end; Backspace takes the last one; every other key is discarded.
QString countFieldAfterKey(const QString &field, QChar typed, bool backspace)
{
    if (backspace)
        return field.isEmpty() ? field : field.chopped(1);
    if (typed.isDigit() && typed.unicode() < 0x80 && field.size() < 2)
        return field + typed;
    return field;
}

bool countConfirmable(const QString &field)
{
    return !field.isEmpty() && field.toInt() >= 1;
}

class SoakRun
{
public:
    SoakRun(quint32 seed, int steps, const QString &folder)
        : m_seed(seed), m_steps(steps), m_dice(seed), m_folder(folder)
    {}
    ~SoakRun()
    {
        m_session.reset();
        settle();
    }

    // Empty when every step passed; otherwise what went wrong, where.
    QString run();
    QString summary() const;

private:
    using Action = void (SoakRun::*)();

    void start();
    void step();
    void settle();
    void ensureEditorActive();
    void checkAll();
    void problem(const QString &text) { m_problems << text; }
    template <typename T>
    void expectEqual(const T &actual, const std::type_identity_t<T> &expected, const QString &what)
    {
        if (!(actual == expected))
            problem(what + u": "_s + shown(actual) + u", expected "_s + shown(expected));
    }
    void log(const QString &text) { m_log << u"step %1: %2"_s.arg(m_step).arg(text); }

    template <typename T = QWidget> T *need(QObject *parent, const QString &name) const
    {
        T *child = parent ? parent->findChild<T *>(name) : nullptr;
        if (!child)
            qFatal("seed %u step %d: no %s", m_seed, m_step, qPrintable(name));
        return child;
    }
    EditorWindow *editor() const;
    QLineEdit *box(int field, int language) const
    {
        return need<QLineEdit>(editor(), u"Text%1_%2"_s.arg(field).arg(language));
    }
    QListWidget *list() const { return need<QListWidget>(editor(), u"List1"_s); }
    QAction *command(const QString &name) const { return need<QAction>(editor(), name); }
    void clickOnMenuBar(EditorWindow *window, QAction *action);
    QString &expectedText(int field, int language);
    void redrawn();
    void editorOpened();

    // The actions.
    void typeIntoBox();
    void pressEnterInTitle();
    void useTrackList();
    void moveUp() { moveTrack(true); }
    void moveDown() { moveTrack(false); }
    void moveTrack(bool up);
    void switchLanguage();
    void copyDialog();
    void runCopyDialog(QWidget *modal, CopyChoices &choices, bool &accepted);
    void checkCopySelection(const std::array<QListWidget *, 2> &lists, const CopyChoices &choices);
    void trackCountDialog();
    void save();
    SaveOutcome saveThrough(QAction *saveCommand, const TitleStore &disc);
    void checkSavedFile(const SaveOutcome &outcome, const TitleStore &disc);
    void openStartupDialog();
    void startupAction();
    void startupOpenFile(QPushButton *ok);
    void throwawaySession();

    const quint32 m_seed;
    const int m_steps;
    int m_step = 0;
    Dice m_dice;
    QString m_folder;
    QString m_junkFile;

    TitleStore m_store;
    Beeper m_beeper;
    std::unique_ptr<Session> m_session;
    std::unique_ptr<QSignalSpy> m_beeps;

    Expected m_expected;
    // Every file saved so far, with what reading it must give.
    QMap<QString, TitleStore> m_saved;
    QStringList m_problems;
    QStringList m_log;
    QMap<QString, int> m_counts;
};

EditorWindow *SoakRun::editor() const
{
    EditorWindow *window = m_session->editor();
    if (!window)
        qFatal("seed %u step %d: the editor window is gone", m_seed, m_step);
    return window;
}

QString &SoakRun::expectedText(int field, int language)
{
    TitleStore &store = m_expected.store;
    if (field == 1)
        return store.discNames[language];
    if (field == 2)
        return store.artistNames[language];
    return store.trackTitles(language, store.currentTrack);
}

// What RefreshEditor leaves: track 1 selected, the disc-name box focused.
void SoakRun::redrawn()
{
    TitleStore &store = m_expected.store;
    store.currentTrack = store.trackCount > 0 ? 1 : 0;
    m_expected.focus = u"Text1_%1"_s.arg(store.languageMode);
}

// A fresh editor window starts on Japanese with track 1 selected.
void SoakRun::editorOpened()
{
    m_expected.store.languageMode = Japanese;
    m_expected.store.currentTrack = m_expected.store.trackCount > 0 ? 1 : 0;
    m_expected.focus.clear();
}

void SoakRun::settle()
{
    // What the event loop does between two actions of a person.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
}

void SoakRun::ensureEditorActive()
{
    EditorWindow *window = editor();
    if (QApplication::activeWindow() == window)
        return;
    window->activateWindow();
    if (!QTest::qWaitForWindowActive(window))
        problem(u"the editor window does not become active"_s);
}

void SoakRun::clickOnMenuBar(EditorWindow *window, QAction *action)
{
    QMenuBar *bar = window->menuBar();
    QTest::mouseClick(bar, Qt::LeftButton, {}, bar->actionGeometry(action).center());
}

QString SoakRun::run()
{
    const auto report = [this]() -> QString {
        const QStringList lastActions = m_log.mid(qMax(0, int(m_log.size()) - 12));
        return u"seed %1, step %2 of %3 (replay with SONOLABE_SOAK_SEED=%1 "
               "SONOLABE_SOAK_STEPS=%4):\n  "_s.arg(m_seed)
                   .arg(m_step)
                   .arg(m_steps)
                   .arg(qMax(1, m_step)) +
               m_problems.join(u"\n  "_s) + u"\nlast actions:\n  "_s + lastActions.join(u"\n  "_s);
    };
    // Step 0 is the first editor window, before any action.
    start();
    if (!m_problems.isEmpty())
        return report();
    for (m_step = 1; m_step <= m_steps; ++m_step) {
        if (!m_expected.startupOpen)
            ensureEditorActive();
        step();
        settle();
        checkAll();
        if (!m_problems.isEmpty())
            return report();
    }
    return {};
}

QString SoakRun::summary() const
{
    QStringList parts;
    for (auto it = m_counts.cbegin(); it != m_counts.cend(); ++it)
        parts << u"%1 %2"_s.arg(it.key()).arg(it.value());
    return u"seed %1: %2 steps; "_s.arg(m_seed).arg(m_steps) + parts.join(u", "_s);
}

// A disc as a file could have brought it: up to 99 tracks, empty texts, now
// and then a line break in a Japanese text (a lone LF stays in a line of a
// file) or a double-byte character in an English one.
void SoakRun::start()
{
    QDir(m_folder).mkdir(u"sub"_s);
    m_junkFile = QDir(m_folder).absoluteFilePath(u"memo.txt"_s);
    QFile junk(m_junkFile);
    if (!junk.open(QIODevice::WriteOnly) || junk.write("no section here\r\n") < 0)
        qFatal("cannot write %s", qPrintable(m_junkFile));
    junk.close();
    QDir::setCurrent(m_folder);
    m_expected.currentDirectory = QDir::currentPath();

    TitleStore disc;
    const int size = m_dice.below(20);
    disc.trackCount = quint8(size == 0   ? 0
                             : size <= 2 ? 99
                             : size <= 8 ? m_dice.between(1, 4)
                                         : m_dice.between(5, 40));
    const auto text = [this](int language) {
        if (m_dice.chance(30))
            return QString();
        QString made = language == Japanese ? m_dice.japanese(1, 10) : m_dice.ascii(1, 12);
        if (language == Japanese && m_dice.chance(4))
            made.insert(m_dice.below(int(made.size()) + 1), u'\n');
        if (language == English && m_dice.chance(3))
            made.insert(m_dice.below(int(made.size()) + 1), m_dice.oneOf(JapaneseLetters));
        return made;
    };
    for (int language : {Japanese, English}) {
        disc.discNames[language] = text(language);
        disc.artistNames[language] = text(language);
        for (int track = 1; track <= disc.trackCount; ++track)
            disc.trackTitles(language, track) = text(language);
    }
    m_store.replaceDisc(disc);
    m_expected.store = m_store;
    for (int language : {Japanese, English}) {
        m_expected.lineBreaksLoaded = m_expected.lineBreaksLoaded ||
                                      holdsLineBreak(disc.discNames[language]) ||
                                      holdsLineBreak(disc.artistNames[language]);
        for (int track = 1; track <= MaxTracks; ++track)
            m_expected.lineBreaksLoaded =
                m_expected.lineBreaksLoaded || holdsLineBreak(disc.trackTitles(language, track));
    }

    m_session = std::make_unique<Session>(m_store, m_beeper);
    m_beeps = std::make_unique<QSignalSpy>(&m_beeper, &Beeper::beeped);
    m_session->openEditor();
    editorOpened();
    m_log << u"start: %1 tracks"_s.arg(disc.trackCount);
    m_step = 0;
    ensureEditorActive();
    checkAll();
}

void SoakRun::step()
{
    if (m_expected.startupOpen && m_dice.chance(40)) {
        startupAction();
        return;
    }
    struct Choice
    {
        int weight;
        Action action;
    };
    static const std::array<Choice, 11> choices{{
        {36, &SoakRun::typeIntoBox},
        {8, &SoakRun::pressEnterInTitle},
        {12, &SoakRun::useTrackList},
        {6, &SoakRun::moveUp},
        {6, &SoakRun::moveDown},
        {6, &SoakRun::switchLanguage},
        {7, &SoakRun::copyDialog},
        {6, &SoakRun::trackCountDialog},
        {8, &SoakRun::save},
        {3, &SoakRun::openStartupDialog},
        {2, &SoakRun::throwawaySession},
    }};
    int total = 0;
    for (const Choice &choice : choices)
        total += choice.weight;
    int roll = m_dice.below(total);
    for (const Choice &choice : choices) {
        if (roll < choice.weight) {
            (this->*choice.action)();
            return;
        }
        roll -= choice.weight;
    }
}

// One click into a visible box, then one edit: keys, the input method, a
// paste, Backspace or Delete, or a key that must change nothing.
void SoakRun::typeIntoBox()
{
    ++m_counts[u"typing"_s];
    const int language = m_expected.store.languageMode;
    const int field = m_dice.between(1, 3);
    QLineEdit *edit = box(field, language);
    const QString name = edit->objectName();
    if (field == 3 && m_expected.store.trackCount == 0) {
        // No track, no title to write: the box takes nothing.
        QTest::mouseClick(edit, Qt::LeftButton);
        QTest::keyClicks(edit, u"x"_s);
        log(u"type x into the disabled %1"_s.arg(name));
        return;
    }

    const QPoint at(m_dice.between(2, qMax(2, edit->width() - 3)), edit->height() / 2);
    QTest::mouseClick(edit, Qt::LeftButton, {}, at);
    QString caret = u"click at %1"_s.arg(at.x());
    switch (m_dice.below(6)) {
    case 0:
        QTest::keyClick(edit, Qt::Key_Home);
        caret = u"Home"_s;
        break;
    case 1:
        QTest::keyClick(edit, Qt::Key_End);
        caret = u"End"_s;
        break;
    case 2:
        QTest::keyClick(edit, Qt::Key_Home, Qt::ShiftModifier);
        caret += u", Shift+Home"_s;
        break;
    case 3:
        QTest::keyClick(edit, Qt::Key_Left, Qt::ShiftModifier);
        caret += u", Shift+Left"_s;
        break;
    case 4:
        QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
        caret = u"Ctrl+A"_s;
        break;
    default:
        break;
    }
    // Where the edit lands is the box's own business; what it does to the
    // text there is the program's.
    const QString before = expectedText(field, language);
    int start = edit->cursorPosition();
    int selected = 0;
    if (edit->hasSelectedText()) {
        start = edit->selectionStart();
        selected = int(edit->selectedText().size());
    }
    if (edit->text() != before) {
        problem(u"%1 shows %2 before the edit, the store holds %3"_s.arg(name, shown(edit->text()),
                                                                         shown(before)));
        return;
    }

    QString inserted;
    QString what;
    int removeBefore = 0; // Backspace presses
    int removeAfter = 0;  // Delete presses
    const int kind = m_dice.below(22);
    if (kind < 8 || (kind < 13 && language == English)) {
        inserted = m_dice.ascii(1, 8);
        QTest::keyClicks(edit, inserted);
        what = u"keys "_s + shown(inserted);
    } else if (kind < 13) {
        inserted = m_dice.japanese(1, 6);
        if (m_dice.chance(30)) {
            // Composing first: nothing reaches the text before the commit.
            QInputMethodEvent composing(m_dice.japanese(1, 3), {});
            QApplication::sendEvent(edit, &composing);
        }
        QInputMethodEvent commit;
        commit.setCommitString(inserted);
        QApplication::sendEvent(edit, &commit);
        what = u"input method "_s + shown(inserted);
    } else if (kind < 15) {
        QString pasted;
        for (int piece = m_dice.between(1, 4); piece > 0; --piece) {
            const int pick = m_dice.below(8);
            if (pick < 3)
                pasted += m_dice.ascii(1, 5);
            else if (pick < 5 && (language == Japanese || m_dice.chance(20)))
                pasted += m_dice.japanese(1, 4);
            else if (pick == 5)
                pasted += u'\t';
            else if (pick == 6)
                pasted += u"\r\n"_s;
            else
                pasted += m_dice.chance(50) ? u'\n' : u'\r';
        }
        // A line break read from a file stays as it is beside the paste;
        // where a paste meets one, which characters were pasted is open.
        const bool separatorsAround =
            holdsLineBreak(before) || (field != 3 && before.contains(u'\t'));
        if (separatorsAround)
            pasted = flattenedPaste(pasted, true);
        inserted = flattenedPaste(pasted, field != 3);
        QGuiApplication::clipboard()->setText(pasted);
        QTest::keyClick(edit, Qt::Key_V, Qt::ControlModifier);
        what = u"paste "_s + shown(pasted);
    } else if (kind < 17) {
        removeBefore = m_dice.between(1, 4);
        for (int n = 0; n < removeBefore; ++n)
            QTest::keyClick(edit, Qt::Key_Backspace);
        what = u"Backspace x%1"_s.arg(removeBefore);
    } else if (kind < 19) {
        removeAfter = m_dice.between(1, 4);
        for (int n = 0; n < removeAfter; ++n)
            QTest::keyClick(edit, Qt::Key_Delete);
        what = u"Delete x%1"_s.arg(removeAfter);
    } else if (kind == 19) {
        // Cutting takes the selection away, and nothing without one.
        QTest::keyClick(edit, Qt::Key_X, Qt::ControlModifier);
        what = u"Ctrl+X"_s;
    } else {
        // Enter in the disc-name or artist box does nothing special; in the
        // title box it is an action of its own.
        if (field != 3) {
            QTest::keyClick(edit, Qt::Key_Return);
            what = u"Enter"_s;
        } else {
            QTest::keyClick(edit, Qt::Key_Right);
            what = u"Right"_s;
        }
        selected = 0;
    }

    QString after = before;
    int caretAt = start;
    if (selected > 0 && (removeBefore || removeAfter || !inserted.isEmpty() || kind == 19)) {
        after.remove(start, selected);
        removeBefore = qMax(0, removeBefore - 1);
        removeAfter = qMax(0, removeAfter - 1);
    }
    after.insert(caretAt, inserted);
    caretAt += int(inserted.size());
    for (; removeBefore > 0 && caretAt > 0; --removeBefore)
        after.remove(--caretAt, 1);
    for (; removeAfter > 0 && caretAt < after.size(); --removeAfter)
        after.remove(caretAt, 1);
    // How far an undo goes back is the box's business: it groups edits, and
    // forgets them when its text is cleaned of line breaks. Whatever the box
    // shows afterwards is what the store must hold.
    if (kind < 20 && m_dice.chance(10)) {
        QTest::keyClick(edit, Qt::Key_Z, Qt::ControlModifier);
        after = edit->text();
        what += u", Ctrl+Z gives "_s + shown(after);
    }
    expectedText(field, language) = after;
    log(u"%1 in %2 (%3) at %4"_s.arg(what, name, caret).arg(start) +
        (selected ? u", %1 selected"_s.arg(selected) : QString()));
}

void SoakRun::pressEnterInTitle()
{
    ++m_counts[u"enter"_s];
    TitleStore &store = m_expected.store;
    QLineEdit *edit = box(3, store.languageMode);
    if (m_dice.chance(50))
        QTest::mouseClick(edit, Qt::LeftButton);
    const int how = m_dice.below(3);
    if (how == 0)
        QTest::keyClick(edit, Qt::Key_Return);
    else if (how == 1)
        QTest::keyClick(edit, Qt::Key_Enter, Qt::KeypadModifier);
    else
        QTest::keyClick(edit, Qt::Key_Return, Qt::ShiftModifier);
    if (store.trackCount > 0)
        store.currentTrack = store.currentTrack >= store.trackCount ? 1 : store.currentTrack + 1;
    log(u"Enter (%1) in %2"_s.arg(how).arg(edit->objectName()));
}

void SoakRun::useTrackList()
{
    ++m_counts[u"list"_s];
    TitleStore &store = m_expected.store;
    QListWidget *tracks = list();
    const int count = store.trackCount;
    if (count == 0) {
        QTest::mouseClick(tracks->viewport(), Qt::LeftButton, {}, QPoint(20, 20));
        QTest::keyClick(tracks, Qt::Key_Down);
        log(u"click and Down in the empty list"_s);
        return;
    }
    const int how = m_dice.below(10);
    if (how < 6) {
        const int track = m_dice.between(1, count);
        const bool control = how == 5;
        QListWidgetItem *item = tracks->item(track - 1);
        tracks->scrollToItem(item);
        QTest::mouseClick(tracks->viewport(), Qt::LeftButton,
                          control ? Qt::ControlModifier : Qt::NoModifier,
                          tracks->visualItemRect(item).center());
        store.currentTrack = quint8(track);
        log(u"%1 track %2"_s.arg(control ? u"Ctrl+click"_s : u"click"_s).arg(track));
    } else if (how == 6) {
        // Below the last entry, where there is room: the selection stays.
        QListWidgetItem *last = tracks->item(count - 1);
        tracks->scrollToItem(last);
        const QRect rect = tracks->visualItemRect(last);
        if (rect.bottom() + 6 < tracks->viewport()->height()) {
            QTest::mouseClick(tracks->viewport(), Qt::LeftButton, {},
                              QPoint(rect.center().x(), rect.bottom() + 4));
            log(u"click below the last entry"_s);
        } else {
            log(u"no room below the last entry"_s);
        }
    } else {
        static const std::array<Qt::Key, 4> keys{Qt::Key_Down, Qt::Key_Up, Qt::Key_Home,
                                                 Qt::Key_End};
        const Qt::Key key = keys.at(std::size_t(how - 6) % keys.size());
        QTest::keyClick(tracks, key);
        int current = store.currentTrack;
        if (key == Qt::Key_Down)
            current = qMin(current + 1, count);
        else if (key == Qt::Key_Up)
            current = qMax(current - 1, 1);
        else if (key == Qt::Key_Home)
            current = 1;
        else
            current = count;
        store.currentTrack = quint8(current);
        log(u"key %1 in the list"_s.arg(QKeySequence(key).toString()));
    }
}

void SoakRun::moveTrack(bool up)
{
    TitleStore &store = m_expected.store;
    QPushButton *button = need<QPushButton>(editor(), up ? u"Command7"_s : u"Command8"_s);
    const int current = store.currentTrack;
    const bool enabled = up ? current > 1 : current >= 1 && current < store.trackCount;
    // A disabled button takes the click and does nothing.
    QTest::mouseClick(button, Qt::LeftButton);
    log(u"%1 with track %2 selected%3"_s.arg(up ? u"Up"_s : u"Down"_s)
            .arg(current)
            .arg(enabled ? QString() : u" (disabled)"_s));
    ++m_counts[enabled ? u"moves"_s : u"moves disabled"_s];
    if (!enabled)
        return;
    const int language = store.languageMode;
    const int other = up ? current - 1 : current + 1;
    std::swap(store.trackTitles(language, current), store.trackTitles(language, other));
    store.currentTrack = quint8(other);
    m_expected.focus = u"List1"_s;
}

void SoakRun::switchLanguage()
{
    ++m_counts[u"language"_s];
    EditorWindow *window = editor();
    int how = m_dice.below(4);
    // The access key works in the active window only, which the new-or-open
    // dialog is while it is open.
    if (how == 3 && m_expected.startupOpen)
        how = 0;
    QString what;
    if (how == 0) {
        QTest::mouseClick(need(window, u"Label1"_s), Qt::LeftButton);
        what = u"click on the language label"_s;
    } else if (how == 1) {
        command(u"mnuLang"_s)->trigger();
        what = u"language command"_s;
    } else if (how == 2) {
        clickOnMenuBar(window, command(u"mnuLang"_s));
        what = u"language command clicked on the menu bar"_s;
    } else {
        QWidget *focus = window->focusWidget() ? window->focusWidget() : window;
        QTest::keyClick(focus, Qt::Key_L, Qt::AltModifier);
        what = u"Alt+L in "_s + focus->objectName();
    }
    m_expected.store.languageMode = quint8(1 - m_expected.store.languageMode);
    ++m_expected.beeps;
    redrawn();
    log(what);
}

void SoakRun::copyDialog()
{
    ++m_counts[u"copy dialog"_s];
    CopyChoices choices;
    bool accepted = false;
    ModalAnswer answer([&](QWidget *modal) { runCopyDialog(modal, choices, accepted); });
    if (m_dice.chance(50))
        command(u"mnuCopy"_s)->trigger();
    else
        clickOnMenuBar(editor(), command(u"mnuCopy"_s));
    if (!answer.answered()) {
        problem(u"the copy command showed no dialog"_s);
        return;
    }
    QStringList selected;
    for (int k = 0; k < MaxTracks; ++k) {
        if (choices.selection.test(std::size_t(k)))
            selected << QString::number(k + 1);
    }
    log(u"copy dialog: directions %1 %2 %3, blank only %4, tracks {%5}, %6"_s
            .arg(choices.directions[0])
            .arg(choices.directions[1])
            .arg(choices.directions[2])
            .arg(shown(choices.blankOnly), selected.join(u' '),
                 accepted ? u"OK"_s : u"cancelled"_s));
    ++m_counts[accepted ? u"copies"_s : u"copies cancelled"_s];
    if (accepted)
        copyBetweenLanguages(m_expected.store,
                             {choices.directions, choices.blankOnly, choices.selection});
    redrawn();
}

void SoakRun::checkCopySelection(const std::array<QListWidget *, 2> &lists,
                                 const CopyChoices &choices)
{
    for (int j = 0; j < 2; ++j) {
        for (int k = 0; k < lists[j]->count(); ++k) {
            if (lists[j]->item(k)->isSelected() != choices.selection.test(std::size_t(k))) {
                problem(u"copy dialog: line %1 of list %2 is %3"_s.arg(k).arg(j).arg(
                    choices.selection.test(std::size_t(k)) ? u"not selected"_s : u"selected"_s));
                return;
            }
        }
    }
}

void SoakRun::runCopyDialog(QWidget *modal, CopyChoices &choices, bool &accepted)
{
    auto *dialog = qobject_cast<QDialog *>(modal);
    if (!dialog || dialog->objectName() != u"Form3"_s) {
        problem(u"the copy command showed %1"_s.arg(modal->objectName()));
        modal->close();
        return;
    }
    const TitleStore &disc = m_expected.store;
    const int count = disc.trackCount;
    const std::array<QListWidget *, 2> lists{need<QListWidget>(dialog, u"List1_0"_s),
                                             need<QListWidget>(dialog, u"List1_1"_s)};
    std::array<QPushButton *, 3> directionButtons{};
    const std::array<QString, 3> marks{u"×"_s, u"→"_s, u"←"_s};
    for (int row = 0; row < 3; ++row) {
        directionButtons[std::size_t(row)] = need<QPushButton>(dialog, u"Command1_%1"_s.arg(row));
        expectEqual(directionButtons[std::size_t(row)]->text(), marks[0],
                    u"copy dialog: direction %1 at opening"_s.arg(row));
    }
    auto *blankOnly = need<QCheckBox>(dialog, u"Check1"_s);
    expectEqual(blankOnly->isChecked(), false, u"copy dialog: blank-only box at opening"_s);
    for (int j = 0; j < 2; ++j) {
        expectEqual(need<QLabel>(dialog, u"LabelDiscName_%1"_s.arg(j))->text(), disc.discNames[j],
                    u"copy dialog: disc name %1"_s.arg(j));
        expectEqual(need<QLabel>(dialog, u"LabelSinger_%1"_s.arg(j))->text(), disc.artistNames[j],
                    u"copy dialog: artist %1"_s.arg(j));
        expectEqual(int(lists[j]->count()), count, u"copy dialog: lines in list %1"_s.arg(j));
        for (int k = 0; k < qMin(int(lists[j]->count()), count); ++k)
            expectEqual(lists[j]->item(k)->text(), listEntry(k + 1, disc.trackTitles(j, k + 1)),
                        u"copy dialog: line %1 of list %2"_s.arg(k).arg(j));
    }
    checkCopySelection(lists, choices);

    for (int operation = m_dice.below(10); operation > 0; --operation) {
        const int kind = m_dice.below(10);
        if (kind < 3) {
            const int row = m_dice.below(3);
            QTest::mouseClick(directionButtons[std::size_t(row)], Qt::LeftButton);
            choices.directions[std::size_t(row)] = (choices.directions[std::size_t(row)] + 1) % 3;
            choices.buttonHasFocus = true;
            for (int r = 0; r < 3; ++r)
                expectEqual(directionButtons[std::size_t(r)]->text(),
                            marks[std::size_t(choices.directions[std::size_t(r)])],
                            u"copy dialog: direction %1"_s.arg(r));
        } else if (kind < 7 && count > 0) {
            const int j = m_dice.below(2);
            const int line = m_dice.below(count);
            int how = m_dice.below(3); // click, Ctrl+click, Shift+click
            if (how == 2 && choices.anchorList != j)
                how = 0;
            QListWidgetItem *item = lists[j]->item(line);
            lists[j]->scrollToItem(item);
            const Qt::KeyboardModifiers modifiers = how == 1   ? Qt::ControlModifier
                                                    : how == 2 ? Qt::ShiftModifier
                                                               : Qt::NoModifier;
            QTest::mouseClick(lists[j]->viewport(), Qt::LeftButton, modifiers,
                              lists[j]->visualItemRect(item).center());
            if (how == 0) {
                choices.selection.reset();
                choices.selection.set(std::size_t(line));
                choices.beforeAnchor.reset();
            } else if (how == 1) {
                choices.beforeAnchor = choices.selection;
                choices.selection.flip(std::size_t(line));
            } else {
                choices.selection = choices.beforeAnchor;
                for (int k = qMin(line, choices.anchorLine); k <= qMax(line, choices.anchorLine);
                     ++k)
                    choices.selection.set(std::size_t(k));
            }
            if (how != 2) {
                choices.anchorList = j;
                choices.anchorLine = line;
            }
            choices.buttonHasFocus = false;
            checkCopySelection(lists, choices);
        } else if (kind < 9) {
            const bool all = kind == 7;
            QTest::mouseClick(need<QPushButton>(dialog, all ? u"Command2_1"_s : u"Command2_0"_s),
                              Qt::LeftButton);
            choices.selection.reset();
            for (int k = 0; all && k < count; ++k)
                choices.selection.set(std::size_t(k));
            choices.anchorList = -1;
            choices.buttonHasFocus = true;
            checkCopySelection(lists, choices);
        } else {
            QTest::mouseClick(blankOnly, Qt::LeftButton);
            choices.blankOnly = !choices.blankOnly;
            choices.buttonHasFocus = false;
            expectEqual(blankOnly->isChecked(), choices.blankOnly, u"copy dialog: blank only"_s);
        }
    }

    const int way = m_dice.below(6);
    if (way == 0 || (way == 1 && choices.buttonHasFocus)) {
        QTest::mouseClick(need<QPushButton>(dialog, u"Command4"_s), Qt::LeftButton);
    } else if (way == 1 || way == 2) {
        // Enter reaches the dialog's default button, OK.
        if (choices.buttonHasFocus)
            QTest::mouseClick(need<QPushButton>(dialog, u"Command4"_s), Qt::LeftButton);
        else
            QTest::keyClick(lists[0], Qt::Key_Return);
    } else if (way == 3) {
        QTest::mouseClick(need<QPushButton>(dialog, u"Command5"_s), Qt::LeftButton);
    } else if (way == 4) {
        QTest::keyClick(lists[0], Qt::Key_Escape);
    } else {
        dialog->close();
    }
    accepted = way <= 2;
    if (dialog->isVisible()) {
        problem(u"the copy dialog is still open after %1"_s.arg(way <= 2 ? u"OK"_s : u"Cancel"_s));
        dialog->reject();
    }
}

void SoakRun::trackCountDialog()
{
    ++m_counts[u"track-count dialog"_s];
    const int before = m_expected.store.trackCount;
    QString field = QString::number(before);
    QStringList keys;
    bool accepted = false;
    ModalAnswer answer([&](QWidget *modal) {
        auto *dialog = qobject_cast<QDialog *>(modal);
        if (!dialog || dialog->objectName() != u"Form4"_s) {
            problem(u"the track-count command showed %1"_s.arg(modal->objectName()));
            modal->close();
            return;
        }
        auto *edit = need<QLineEdit>(dialog, u"Text4"_s);
        auto *ok = need<QPushButton>(dialog, u"Command1"_s);
        expectEqual(edit->text(), field, u"track-count field at opening"_s);
        expectEqual(ok->isEnabled(), countConfirmable(field), u"OK at opening"_s);
        // Keys: 0 Backspace, 1 a digit, 2 a character the field refuses,
        // 3 Ctrl+V, which the field discards.
        const auto press = [&](int key, QChar digit = {}) {
            if (key == 0) {
                QTest::keyClick(edit, Qt::Key_Backspace);
                field = countFieldAfterKey(field, {}, true);
                keys << u"Backspace"_s;
            } else if (key == 1) {
                if (digit.isNull())
                    digit = QChar(char16_t(u'0' + m_dice.below(10)));
                QTest::keyClicks(edit, QString(digit));
                field = countFieldAfterKey(field, digit, false);
                keys << QString(digit);
            } else if (key == 2) {
                const QChar other = u"a -+.x"_s.at(m_dice.below(6));
                QTest::keyClicks(edit, QString(other));
                keys << shown(QString(other));
            } else {
                QGuiApplication::clipboard()->setText(u"12"_s);
                QTest::keyClick(edit, Qt::Key_V, Qt::ControlModifier);
                keys << u"Ctrl+V"_s;
            }
            expectEqual(edit->text(), field, u"track-count field after "_s + keys.join(u' '));
            expectEqual(ok->isEnabled(), countConfirmable(field), u"OK after "_s + keys.join(u' '));
        };
        if (m_dice.chance(60)) {
            // Mostly a new number typed over the old one, often a lower one.
            const int count = before > 1 && m_dice.chance(50) ? m_dice.between(1, before - 1)
                                                              : m_dice.between(1, MaxTracks);
            QString digits = QString::number(count);
            if (digits.size() == 1 && m_dice.chance(20))
                digits.prepend(u'0');
            press(0);
            press(0);
            for (const QChar digit : digits)
                press(1, digit);
        }
        for (int n = m_dice.below(4); n > 0; --n) {
            const int roll = m_dice.below(10);
            press(roll < 3 ? 0 : roll < 8 ? 1 : roll < 9 ? 2 : 3);
        }
        const int way = m_dice.below(6);
        if (way <= 2) {
            if (way == 2)
                QTest::keyClick(edit, Qt::Key_Return);
            else
                QTest::mouseClick(ok, Qt::LeftButton);
            keys << u"OK"_s;
            accepted = countConfirmable(field);
            if (!accepted) {
                // An empty field or 0 cannot be confirmed.
                expectEqual(dialog->isVisible(), true, u"the track-count dialog after OK"_s);
                QTest::keyClick(edit, Qt::Key_Escape);
                keys << u"Escape"_s;
            }
        } else if (way == 3) {
            QTest::mouseClick(need<QPushButton>(dialog, u"Command2"_s), Qt::LeftButton);
            keys << u"Cancel"_s;
        } else if (way == 4) {
            QTest::keyClick(edit, Qt::Key_Escape);
            keys << u"Escape"_s;
        } else {
            dialog->close();
            keys << u"closed"_s;
        }
        if (dialog->isVisible()) {
            problem(u"the track-count dialog is still open"_s);
            dialog->reject();
        }
    });
    command(u"mnuNumChange"_s)->trigger();
    if (!answer.answered())
        problem(u"the track-count command showed no dialog"_s);
    log(u"track-count dialog from %1: %2"_s.arg(before).arg(keys.join(u' ')));
    ++m_counts[accepted ? u"counts set"_s : u"counts cancelled"_s];
    if (accepted)
        m_expected.store.dropTracksAbove(field.toInt());
    redrawn();
}

void SoakRun::save()
{
    ++m_counts[u"save"_s];
    const SaveOutcome outcome = saveThrough(command(u"mnuSave_0"_s), m_expected.store);
    if (outcome.kind == SaveOutcome::Saved) {
        m_expected.store.currentFilePath = outcome.path;
        checkSavedFile(outcome, m_expected.store);
    }
}

// Saves through a save command of an editor whose disc is expected to be
// disc; a person answers the refusal box or the save dialog.
SaveOutcome SoakRun::saveThrough(QAction *saveCommand, const TitleStore &disc)
{
    SaveOutcome outcome;
    const bool refused = englishRefused(disc);
    const QString folder = disc.currentFilePath.isEmpty()
                               ? m_expected.currentDirectory
                               : QFileInfo(disc.currentFilePath).absolutePath();
    const QString offered =
        disc.currentFilePath.isEmpty() ? QString() : QFileInfo(disc.currentFilePath).fileName();
    const QStringList names{u"disc"_s,
                            u"disc.txt"_s,
                            u"DISC.TXT"_s,
                            u"two words.txt"_s,
                            u"notes.dat"_s,
                            u"ディスク"_s,
                            u"a.Txt"_s,
                            QDir(m_folder).absoluteFilePath(u"abs one"_s),
                            QDir(m_folder).absoluteFilePath(u"sub/inner.txt"_s)};
    std::optional<ModalAnswer> afterDialog;
    bool refusalShown = false;
    bool dialogShown = false;
    int type = -1;
    QString typed;
    QString how;
    ModalAnswer answer([&](QWidget *modal) {
        if (auto *box = qobject_cast<QMessageBox *>(modal)) {
            refusalShown = true;
            expectEqual(box->windowTitle(), u"入力エラー"_s, u"refusal box title"_s);
            expectEqual(box->text(), u"英語の曲名ファイルに2バイト文字を含めることはできません。"_s,
                        u"refusal box text"_s);
            expectEqual(int(box->icon()), int(QMessageBox::Critical), u"refusal box icon"_s);
            if (QAbstractButton *ok = box->button(QMessageBox::Ok))
                QTest::mouseClick(ok, Qt::LeftButton);
            else
                box->reject();
            return;
        }
        auto *dialog = qobject_cast<QFileDialog *>(modal);
        if (!dialog) {
            problem(u"saving showed %1"_s.arg(modal->windowTitle()));
            modal->close();
            return;
        }
        dialogShown = true;
        expectEqual(shownFileTypes(dialog).join(u'|'),
                    u"英語のみの曲名ファイル|日本語と英語の曲名ファイル|日本語のみの曲名ファイル|"
                    "すべてのﾌｧｲﾙ(*.*)|selected: 日本語と英語の曲名ファイル"_s,
                    u"save dialog file types"_s);
        expectEqual(dialog->directory().absolutePath(), folder, u"save dialog folder"_s);
        expectEqual(fileNameEdit(dialog)->text(), offered, u"save dialog file name"_s);
        if (m_dice.chance(12)) {
            if (m_dice.chance(50)) {
                QTest::keyClick(fileNameEdit(dialog), Qt::Key_Escape);
                how = u"Escape"_s;
            } else {
                auto *buttons = need<QDialogButtonBox>(dialog, u"buttonBox"_s);
                QTest::mouseClick(buttons->button(QDialogButtonBox::Cancel), Qt::LeftButton);
                how = u"Cancel"_s;
            }
            if (dialog->isVisible()) {
                problem(u"the save dialog stays open after "_s + how);
                dialog->reject();
            }
            return;
        }
        // The type first: choosing a type rewrites the extension of a name
        // already typed.
        type = m_dice.below(4);
        auto *types = need<QComboBox>(dialog, u"fileTypeCombo"_s);
        QTest::keyClick(types, Qt::Key_Home);
        for (int n = 0; n < type; ++n)
            QTest::keyClick(types, Qt::Key_Down);
        expectEqual(int(types->currentIndex()), type, u"save dialog type chosen"_s);
        typed = names.at(m_dice.below(int(names.size())));
        fileNameEdit(dialog)->setText(typed);
        afterDialog.emplace();
        if (m_dice.chance(50)) {
            QTest::keyClick(fileNameEdit(dialog), Qt::Key_Return);
            how = u"Enter"_s;
        } else {
            auto *buttons = need<QDialogButtonBox>(dialog, u"buttonBox"_s);
            QTest::mouseClick(buttons->button(QDialogButtonBox::Save), Qt::LeftButton);
            how = u"Save"_s;
        }
        if (dialog->isVisible()) {
            problem(u"the save dialog stays open after "_s + how);
            dialog->reject();
        }
    });
    saveCommand->trigger();
    if (!answer.answered()) {
        problem(u"the save command showed nothing"_s);
        return outcome;
    }
    if (refused) {
        expectEqual(refusalShown, true, u"English texts refused"_s);
        outcome.kind = SaveOutcome::Refused;
        ++m_counts[u"saves refused"_s];
        log(u"save refused"_s);
        return outcome;
    }
    expectEqual(dialogShown, true, u"save dialog shown"_s);
    if (type < 0) {
        outcome.kind = SaveOutcome::Cancelled;
        ++m_counts[u"saves cancelled"_s];
        log(u"save dialog cancelled with "_s + how);
        return outcome;
    }
    if (afterDialog && afterDialog->answered())
        problem(u"after the save dialog: %1 %2"_s.arg(afterDialog->title(),
                                                      shown(afterDialog->text())));
    QString path = QDir(folder).absoluteFilePath(typed);
    if (path.right(4).toLower() != u".txt"_s)
        path += u".txt"_s;
    outcome.kind = SaveOutcome::Saved;
    outcome.path = path;
    outcome.sections = TitleFileSections{type != 2, type != 0};
    m_expected.currentDirectory = QFileInfo(path).absolutePath();
    log(u"saved as %1 (typed %2, type %3, %4)"_s.arg(path, shown(typed)).arg(type + 1).arg(how));
    return outcome;
}

// The file holds what was saved, and reading it gives the disc back, with the
// language that was not written empty.
void SoakRun::checkSavedFile(const SaveOutcome &outcome, const TitleStore &disc)
{
    ++m_counts[u"files saved"_s];
    QFile file(outcome.path);
    if (!file.open(QIODevice::ReadOnly)) {
        problem(u"the saved file %1 cannot be read"_s.arg(outcome.path));
        return;
    }
    const QByteArray bytes = file.readAll();
    if (bytes != WriteTitleFile(disc, outcome.sections))
        problem(u"%1 does not hold the disc with sections en %2, ja %3"_s.arg(outcome.path)
                    .arg(shown(outcome.sections.english), shown(outcome.sections.japanese)));

    TitleStore back;
    back.replaceDisc(disc);
    for (int language : {Japanese, English}) {
        const bool written =
            language == English ? outcome.sections.english : outcome.sections.japanese;
        if (written)
            continue;
        back.discNames[language].clear();
        back.artistNames[language].clear();
        for (int track = 1; track <= MaxTracks; ++track)
            back.trackTitles(language, track).clear();
    }
    const LoadResult read = ReadTitleFile(outcome.path);
    if (!read.ok()) {
        problem(u"the saved file %1 does not load"_s.arg(outcome.path));
        return;
    }
    if (!read.disc().sameDisc(back))
        problem(u"%1 reads back differently from what was saved"_s.arg(outcome.path));
    m_saved[outcome.path] = back;
}

void SoakRun::openStartupDialog()
{
    command(u"mnuNew"_s)->trigger();
    // Shown again while open, it keeps its state.
    if (!m_expected.startupOpen) {
        m_expected.startupOpen = true;
        m_expected.startupOpensFile = false;
        m_expected.startupField.clear();
    }
    log(u"new-or-open command"_s);
}

void SoakRun::startupAction()
{
    NewOrOpenDialog *dialog = m_session->startupDialog();
    if (!dialog) {
        problem(u"the new-or-open dialog is gone"_s);
        return;
    }
    auto *field = need<QLineEdit>(dialog, u"Text4"_s);
    auto *ok = need<QPushButton>(dialog, u"Command1"_s);
    const int kind = m_dice.below(20);
    if (kind < 7) {
        const int key = m_dice.below(6);
        QChar typed;
        if (key == 0) {
            QTest::keyClick(field, Qt::Key_Backspace);
            log(u"new-or-open: Backspace"_s);
        } else {
            typed = key == 5 ? QChar(u'q') : QChar(char16_t(u'0' + m_dice.below(10)));
            QTest::keyClicks(field, QString(typed));
            log(u"new-or-open: type "_s + QString(typed));
        }
        // A disabled field takes no keys.
        if (!m_expected.startupOpensFile)
            m_expected.startupField = countFieldAfterKey(m_expected.startupField, typed, key == 0);
    } else if (kind < 10) {
        const bool openFile = m_dice.chance(70);
        QTest::mouseClick(need<QRadioButton>(dialog, openFile ? u"Option2"_s : u"Option1"_s),
                          Qt::LeftButton);
        m_expected.startupOpensFile = openFile;
        log(openFile ? u"new-or-open: existing file"_s : u"new-or-open: new disc"_s);
    } else if (kind < 17) {
        if (m_expected.startupOpensFile) {
            startupOpenFile(ok);
            return;
        }
        if (m_dice.chance(50))
            QTest::keyClick(field, Qt::Key_Return);
        else
            QTest::mouseClick(ok, Qt::LeftButton);
        log(u"new-or-open: OK with %1"_s.arg(shown(m_expected.startupField)));
        if (!countConfirmable(m_expected.startupField))
            return;
        ++m_counts[u"new discs"_s];
        m_expected.store.clearTexts();
        m_expected.store.trackCount = quint8(m_expected.startupField.toInt());
        m_expected.startupOpen = false;
        editorOpened();
    } else {
        if (m_dice.chance(50))
            QTest::mouseClick(need<QPushButton>(dialog, u"Command2"_s), Qt::LeftButton);
        else
            QTest::keyClick(dialog, Qt::Key_Escape);
        m_expected.startupOpen = false;
        log(u"new-or-open: cancelled"_s);
    }
}

void SoakRun::startupOpenFile(QPushButton *ok)
{
    const QStringList saved = m_saved.keys();
    const int pick = m_dice.below(20);
    QString path;
    if (pick < 3)
        path.clear();
    else if (pick < 6 || saved.isEmpty())
        path = m_junkFile;
    else
        path = saved.at(m_dice.below(int(saved.size())));
    std::optional<ModalAnswer> afterDialog;
    bool dialogShown = false;
    ModalAnswer answer([&](QWidget *modal) {
        auto *fileDialog = qobject_cast<QFileDialog *>(modal);
        if (!fileDialog) {
            problem(u"opening showed %1"_s.arg(modal->windowTitle()));
            modal->close();
            return;
        }
        dialogShown = true;
        expectEqual(fileDialog->directory().absolutePath(), m_expected.currentDirectory,
                    u"open dialog folder"_s);
        if (path.isEmpty()) {
            fileDialog->reject();
            return;
        }
        const QFileInfo chosen(path);
        fileNameEdit(fileDialog)
            ->setText(chosen.absolutePath() == m_expected.currentDirectory ? chosen.fileName()
                                                                           : path);
        afterDialog.emplace();
        QTest::keyClick(fileNameEdit(fileDialog), Qt::Key_Return);
        if (fileDialog->isVisible()) {
            problem(u"the open dialog stays open"_s);
            fileDialog->reject();
        }
    });
    QTest::mouseClick(ok, Qt::LeftButton);
    expectEqual(dialogShown, true, u"open dialog shown"_s);
    log(u"new-or-open: open %1"_s.arg(path.isEmpty() ? u"(cancelled)"_s : path));
    if (path.isEmpty())
        return;
    // A refused file does not become the current one.
    if (path != m_junkFile)
        m_expected.store.currentFilePath = path;
    m_expected.currentDirectory = QFileInfo(path).absolutePath();
    ++m_counts[path == m_junkFile ? u"loads refused"_s : u"files reopened"_s];
    if (path == m_junkFile) {
        const bool boxShown = afterDialog && afterDialog->answered();
        expectEqual(boxShown, true, u"load error box"_s);
        if (boxShown) {
            expectEqual(afterDialog->title(), u"ﾛｰﾄﾞ - ｴﾗｰ"_s, u"load error title"_s);
            expectEqual(afterDialog->text(),
                        u"ﾛｰﾄﾞしようとしている曲名ﾌｧｲﾙは\nCD-TEXTの曲名ﾌｧｲﾙの規格に合っていません。"
                        "\n\nﾌｧｲﾙ名：\n"_s +
                            path,
                        u"load error text"_s);
        }
        return;
    }
    if (afterDialog && afterDialog->answered())
        problem(u"opening %1 showed %2 %3"_s.arg(path, afterDialog->title(),
                                                 shown(afterDialog->text())));
    m_expected.store.replaceDisc(m_saved.value(path));
    m_expected.startupOpen = false;
    editorOpened();
}

// Exit, and Save and exit, end the program: tried in a session of their own
// on a copy of the disc, which must ask for the end exactly when it should.
void SoakRun::throwawaySession()
{
    ++m_counts[u"throwaway session"_s];
    TitleStore copy;
    copy.replaceDisc(m_expected.store);
    copy.currentFilePath = m_expected.store.currentFilePath;
    const TitleStore disc = copy;
    Beeper beeper;
    auto session = std::make_unique<Session>(copy, beeper);
    QSignalSpy quits(session.get(), &Session::quitRequested);
    QPointer<EditorWindow> window = session->openEditor();
    if (m_dice.chance(30)) {
        need<QAction>(window, u"mnuExit"_s)->trigger();
        expectEqual(int(quits.count()), 1, u"end asked for by Exit"_s);
        expectEqual(!window || !window->isVisible(), true, u"editor closed by Exit"_s);
        log(u"Exit in a second session"_s);
    } else {
        const SaveOutcome outcome = saveThrough(need<QAction>(window, u"mnuSave_1"_s), disc);
        const bool saved = outcome.kind == SaveOutcome::Saved;
        expectEqual(int(quits.count()), saved ? 1 : 0, u"end asked for by Save and exit"_s);
        expectEqual(!window || !window->isVisible(), saved, u"editor closed by Save and exit"_s);
        if (saved) {
            expectEqual(copy.currentFilePath, outcome.path, u"second session's current file"_s);
            checkSavedFile(outcome, disc);
        }
        log(u"Save and exit in a second session"_s);
    }
    session.reset();
    settle();
}

void SoakRun::checkAll()
{
    const TitleStore &actual = m_store;
    const TitleStore &expected = m_expected.store;
    for (int language : {Japanese, English}) {
        expectEqual(actual.discNames[language], expected.discNames[language],
                    u"DiscNames(%1)"_s.arg(language));
        expectEqual(actual.artistNames[language], expected.artistNames[language],
                    u"ArtistNames(%1)"_s.arg(language));
        for (int track = 1; track <= MaxTracks; ++track) {
            expectEqual(actual.trackTitles(language, track), expected.trackTitles(language, track),
                        u"TrackTitles(%1, %2)"_s.arg(language).arg(track));
            if (track > actual.trackCount && !actual.trackTitles(language, track).isEmpty())
                problem(u"title %1 of language %2 is above the count %3 and not empty"_s.arg(track)
                            .arg(language)
                            .arg(actual.trackCount));
        }
    }
    expectEqual(int(actual.trackCount), int(expected.trackCount), u"TrackCount"_s);
    expectEqual(int(actual.languageMode), int(expected.languageMode), u"LanguageMode"_s);
    expectEqual(int(actual.currentTrack), int(expected.currentTrack), u"CurrentTrack"_s);
    expectEqual(actual.currentFilePath, expected.currentFilePath, u"CurrentFilePath"_s);
    // A disc loaded here holds no CR, and a lone LF only now and then; no
    // typing or pasting may add either.
    const auto lineBreakAdded = [this](const QString &text) {
        return text.contains(u'\r') || (!m_expected.lineBreaksLoaded && text.contains(u'\n'));
    };
    for (int language : {Japanese, English}) {
        if (lineBreakAdded(actual.discNames[language]))
            problem(u"a line break in DiscNames(%1)"_s.arg(language));
        if (lineBreakAdded(actual.artistNames[language]))
            problem(u"a line break in ArtistNames(%1)"_s.arg(language));
        for (int track = 1; track <= MaxTracks; ++track) {
            if (lineBreakAdded(actual.trackTitles(language, track)))
                problem(u"a line break in TrackTitles(%1, %2)"_s.arg(language).arg(track));
        }
    }
    expectEqual(int(m_beeps->count()), m_expected.beeps, u"beeps"_s);
    expectEqual(QDir::currentPath(), m_expected.currentDirectory, u"current directory"_s);
    if (QWidget *modal = QApplication::activeModalWidget()) {
        problem(u"a modal window is left open: "_s + modal->windowTitle());
        modal->close();
    }

    // What the editor shows, against the store itself.
    EditorWindow *window = editor();
    int editors = 0;
    for (QWidget *top : QApplication::topLevelWidgets()) {
        if (qobject_cast<EditorWindow *>(top) && top->isVisible())
            ++editors;
    }
    expectEqual(editors, 1, u"editor windows shown"_s);
    expectEqual(window->isVisible(), true, u"editor shown"_s);

    const int language = actual.languageMode == English ? English : Japanese;
    const int other = 1 - language;
    const int count = actual.trackCount;
    const QString languageName = language == Japanese ? u"日本語"_s : u"英語"_s;
    expectEqual(need<QLabel>(window, u"Label1"_s)->text(), languageName, u"Label1"_s);
    expectEqual(command(u"mnuLang"_s)->text(), languageName + u"(&L)"_s, u"mnuLang"_s);

    QListWidget *tracks = list();
    expectEqual(int(tracks->count()), count, u"list entries"_s);
    for (int row = 0; row < qMin(int(tracks->count()), count); ++row)
        expectEqual(tracks->item(row)->text(),
                    listEntry(row + 1, actual.trackTitles(language, row + 1)),
                    u"list entry %1"_s.arg(row));
    expectEqual(int(tracks->currentRow()) + 1, int(actual.currentTrack),
                u"selected row + 1 against CurrentTrack"_s);
    const QList<QListWidgetItem *> selected = tracks->selectedItems();
    const bool currentSelected =
        count == 0 || actual.currentTrack < 1 || actual.currentTrack > count
            ? selected.isEmpty()
            : selected.size() == 1 && selected.first() == tracks->item(actual.currentTrack - 1);
    expectEqual(currentSelected, true, u"exactly the current entry selected"_s);

    for (int field = 1; field <= 3; ++field) {
        QLineEdit *visible = box(field, language);
        QLineEdit *hidden = box(field, other);
        expectEqual(visible->isVisible(), true, visible->objectName() + u" shown"_s);
        expectEqual(hidden->isVisible(), false, hidden->objectName() + u" shown"_s);
    }
    const bool hasTrack = actual.currentTrack >= 1 && actual.currentTrack <= count;
    expectEqual(box(1, language)->text(), actual.discNames[language], u"disc-name box"_s);
    expectEqual(box(2, language)->text(), actual.artistNames[language], u"artist box"_s);
    expectEqual(box(3, language)->text(),
                hasTrack ? actual.trackTitles(language, actual.currentTrack) : QString(),
                u"title box"_s);
    expectEqual(box(3, language)->isEnabled(), count > 0, u"title box enabled"_s);
    expectEqual(need<QPushButton>(window, u"Command7"_s)->isEnabled(), actual.currentTrack > 1,
                u"Up enabled"_s);
    expectEqual(need<QPushButton>(window, u"Command8"_s)->isEnabled(),
                actual.currentTrack >= 1 && actual.currentTrack < count, u"Down enabled"_s);
    if (!m_expected.focus.isEmpty()) {
        QWidget *focus = window->focusWidget();
        expectEqual(focus ? focus->objectName() : QString(), m_expected.focus, u"focus"_s);
        m_expected.focus.clear();
    }

    NewOrOpenDialog *startup = m_session->startupDialog();
    const bool startupShown = startup && startup->isVisible();
    expectEqual(startupShown, m_expected.startupOpen, u"new-or-open dialog shown"_s);
    if (startupShown && m_expected.startupOpen) {
        expectEqual(need<QRadioButton>(startup, u"Option2"_s)->isChecked(),
                    m_expected.startupOpensFile, u"new-or-open: existing file chosen"_s);
        auto *field = need<QLineEdit>(startup, u"Text4"_s);
        expectEqual(field->text(), m_expected.startupField, u"new-or-open: count"_s);
        expectEqual(field->isEnabled(), !m_expected.startupOpensFile,
                    u"new-or-open: count enabled"_s);
        expectEqual(need<QPushButton>(startup, u"Command1"_s)->isEnabled(),
                    m_expected.startupOpensFile || countConfirmable(m_expected.startupField),
                    u"new-or-open: OK enabled"_s);
    }
}

struct SoakSettings
{
    QList<quint32> seeds;
    int steps = DefaultSteps;
    QString error;
};

SoakSettings soakSettings()
{
    SoakSettings settings;
    bool ok = true;
    const QString seed = qEnvironmentVariable("SONOLABE_SOAK_SEED");
    if (!seed.isEmpty()) {
        settings.seeds << seed.toUInt(&ok);
        if (!ok)
            settings.error = u"SONOLABE_SOAK_SEED is not a number: "_s + seed;
    } else {
        settings.seeds << DefaultSeed;
        for (quint32 more : MoreSeeds)
            settings.seeds << more;
    }
    const QString steps = qEnvironmentVariable("SONOLABE_SOAK_STEPS");
    if (!steps.isEmpty()) {
        settings.steps = steps.toInt(&ok);
        if (!ok || settings.steps < 1)
            settings.error = u"SONOLABE_SOAK_STEPS is not a positive number: "_s + steps;
    }
    return settings;
}

} // namespace

class TestSoak : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void soak_data();
    void soak();
    void cleanup();
    void cleanupTestCase();

private:
    QString m_oldCurrent;
};

void TestSoak::initTestCase()
{
    const SoakSettings settings = soakSettings();
    QVERIFY2(settings.error.isEmpty(), qPrintable(settings.error));
    // The windows closed by the second sessions must not end the test.
    QApplication::setQuitOnLastWindowClosed(false);
    testLogger = qInstallMessageHandler(withoutPlatformNotes);
    m_oldCurrent = QDir::currentPath();

    // The characters typed come back from a file as they were, and the
    // English check of the model above agrees with the code page on which of
    // them are double-byte.
    const Cp932Encoder &encoder = Cp932Encoder::instance();
    const Cp932Decoder &decoder = Cp932Decoder::instance();
    const QString typed = JapaneseLetters + HalfWidthKana;
    for (const QChar ch : typed) {
        const QString one(ch);
        QVERIFY2(encoder.canEncode(ch.unicode()), qPrintable(one));
        QVERIFY2(decoder.decode(encoder.encode(one)) == one, qPrintable(one));
        QVERIFY2(encoder.isDoubleByte(ch.unicode()) == !HalfWidthKana.contains(ch),
                 qPrintable(one));
    }
}

void TestSoak::soak_data()
{
    QTest::addColumn<quint32>("seed");
    QTest::addColumn<int>("steps");
    const SoakSettings settings = soakSettings();
    for (quint32 seed : settings.seeds)
        QTest::addRow("seed %u", seed) << seed << settings.steps;
}

void TestSoak::soak()
{
    QFETCH(quint32, seed);
    QFETCH(int, steps);
    QTemporaryDir folder;
    QVERIFY(folder.isValid());
    QElapsedTimer clock;
    clock.start();
    QString failure;
    QString summary;
    {
        SoakRun run(seed, steps, QDir(folder.path()).canonicalPath());
        failure = run.run();
        summary = run.summary();
    }
    qInfo("%s; %lld ms", qPrintable(summary), clock.elapsed());
    if (!failure.isEmpty()) {
        // The whole report; the failure line itself is kept short.
        std::fprintf(stderr, "%s\n", qPrintable(failure));
        QFAIL(qPrintable(failure.section(u'\n', 0, 1) + u"\n  ... (whole report above)"_s));
    }
}

void TestSoak::cleanup()
{
    QDir::setCurrent(m_oldCurrent);
}

void TestSoak::cleanupTestCase()
{
    qInstallMessageHandler(testLogger);
}

QTEST_MAIN(TestSoak)
#include "tst_soak.moc"
