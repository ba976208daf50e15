// SPDX-License-Identifier: GPL-3.0-or-later
// The real executable answering --help, --version and a wrong option without
// opening a window, in the locale's language (the successor started by the
// installed program on a name a shell would change is the package test's,
// check-deb.sh). Start-up from the command line, through the argument
// splitting, the real loader with its message boxes and the session's
// windows: no file, a file and a successor for the rest, and one file of
// every kind a user may name, hostile ones included (a FIFO, a huge file, an
// odd name). Each loads or gives its message, in bounded time and memory; a
// failed load leaves the store as it was. And Qt's own dialogs and message
// boxes speak Japanese, like the rest of the program, whatever the desktop's
// language (the tests run in the C locale).
#include "app/program.h"
#include "common/files.h"
#include "common/modalanswer.h"
#include "common/testing.h"
#include "model/titlefile.h"
#include "model/titlestore.h"
#include "ui/common/beeper.h"
#include "ui/editor/editorwindow.h"
#include "ui/editorsession.h"
#include "ui/startup/neworopendialog.h"

#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QProcess>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTimer>

#include <sys/stat.h>

namespace {

// The last two with a message.
enum Outcome { Loads, NoFile, NotATitleFile, Unreadable };

constexpr int hugeBytes = 100 << 20;
constexpr int hugeLine = hugeBytes - 6; // after "ja\r\n0\t"
// An unusual name of a good file: it must reach the loader unchanged.
const QString oddName = u"\"a; touch injected & $(touch injected) `id`|<>*?~!#'\\ \"best\" "
                        u"曲名 ①é ﾀｲﾄﾙ\nand\ttab\x01.txt"_s;
const QByteArray goodFile = "ja\r\n0\tDisc\tArtist\r\n1\tFirst\r\n2\tSecond\r\n";
// The names after the first path, passed on as they are to a successor.
const QStringList passedOn{u"/x/second \"disc\".txt"_s, u"--help"_s};

} // namespace

class TestStartup : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    // The files of oneFile, named relative to the current folder as a user types
    // them: an unusual name of a good file, and files a title file cannot be.
    void initTestCase()
    {
        QVERIFY(m_dir.isValid() && QDir::setCurrent(m_dir.path()));
        QVERIFY(writeFile(oddName, goodFile));
        QVERIFY(writeFile(u"notes.txt"_s, "no tag here\r\n"));
        static const char nulBytes[] = "ja\r\n0\tA\0B\t\0\r\n\0\r\n1\t\0\0x\r\n";
        QVERIFY(writeFile(u"nul.txt"_s, QByteArray(nulBytes, sizeof nulBytes - 1)));
        // One line of NUL bytes after the disc line's start; sparse, so that the
        // file that is too large is never really written or read.
        QVERIFY(writeFile(u"huge.txt"_s, "ja\r\n0\t") && QFile::resize(u"huge.txt"_s, hugeBytes));
        QVERIFY(writeFile(u"large.txt"_s, "ja\r\n0\t") &&
                QFile::resize(u"large.txt"_s, MaxTitleFileBytes + 1));
        QCOMPARE(::mkfifo("fifo.txt", 0600), 0);
    }

    void init()
    {
        m_store = TitleStore();
        m_session = std::make_unique<EditorSession>(m_store, m_beeper);
    }
    void cleanup() { m_session.reset(); }

    void answersWithoutWindows_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("output"); // ending in "...": its beginning
        QTest::addColumn<QString>("errors");
        // The usage goes on with a line on what the program does.
        const QString usage = u"Usage: sonolabe [FILE ...]\n       sonolabe --help | --version\n"
                              u"Opens each CD-TEXT title file..."_s;
        QTest::newRow("-h and --help after a path")
            << QStringList{u"a.txt"_s, u"-h"_s, u"--help"_s} << 0 << usage << QString();
        QTest::newRow("--version") << QStringList{u"--version"_s} << 0
                                   << u"sonolabe " SONOLABE_PROJECT_VERSION "\n"_s << QString();
        // Qt is given no option: its own -platform is unknown here.
        QTest::newRow("unknown option") << QStringList{u"-platform"_s, u"xcb"_s} << 2 << QString()
                                        << u"sonolabe: unknown option: -platform\n"_s + usage;
        // "ja:" rows run in a Japanese locale; an option holding a placeholder stays as given.
        QTest::newRow("ja: unknown option")
            << QStringList{u"--%1"_s} << 2 << QString()
            << u"sonolabe: 知らないオプションです: --%1\n使い方: sonolabe [ファイル ...]\n..."_s;
    }

    // No display is needed: the program answers before any window exists.
    void answersWithoutWindows()
    {
        QFETCH(QStringList, arguments);
        QFETCH(int, exitCode);
        QFETCH(QString, output);
        QFETCH(QString, errors);
        QProcess program;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        for (const QString &name :
             {u"QT_QPA_PLATFORM"_s, u"DISPLAY"_s, u"WAYLAND_DISPLAY"_s, u"LANGUAGE"_s})
            environment.remove(name);
        const bool japanese = QByteArray(QTest::currentDataTag()).startsWith("ja:");
        environment.insert(u"LC_ALL"_s, japanese ? u"ja_JP.UTF-8"_s : u"C"_s);
        program.setProcessEnvironment(environment);
        program.start(QStringLiteral(SONOLABE_PROGRAM), arguments);
        QVERIFY(program.waitForFinished(60'000));
        QCOMPARE(program.exitStatus(), QProcess::NormalExit);
        QCOMPARE(program.exitCode(), exitCode);
        // An expectation ending in "..." is compared with as much of the text.
        const auto seen = [](const QString &text, const QString &expected) {
            return expected.endsWith(u"...") ? text.left(expected.size() - 3) + u"..."_s : text;
        };
        QCOMPARE(seen(QString::fromUtf8(program.readAllStandardOutput()), output), output);
        QCOMPARE(seen(QString::fromUtf8(program.readAllStandardError()), errors), errors);
    }

    void oneFile_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("outcome");
        QTest::addColumn<int>("discNameLength");
        // The disc name's length is 0 when nothing loads.
        const auto row = [](const char *name, const QStringList &arguments, Outcome outcome,
                            int discNameLength = 0) {
            QTest::newRow(name) << arguments << int(outcome) << discNameLength;
        };
        row("no file", {}, NoFile);
        row("after --, shell metacharacters, quotes, non-ASCII and control characters; "
            "a successor for the rest",
            QStringList{u"--"_s, oddName} + passedOn, Loads, 4);
        row("100 MB single line", {u"huge.txt"_s}, Loads, hugeLine);
        row("NUL bytes", {u"nul.txt"_s}, Loads, 3);
        row("not a title file", {u"notes.txt"_s}, NotATitleFile);
        row("missing file", {u"missing.txt"_s}, Unreadable);
        row("successor: every argument a path",
            {QStringView(SuccessorFlag).toString(), u"--version"_s}, Unreadable);
        row("FIFO without writer", {u"fifo.txt"_s}, Unreadable);
        row("read fails (/proc/self/mem)", {u"/proc/self/mem"_s}, Unreadable);
        row("larger than any title file", {u"large.txt"_s}, Unreadable);
    }

    void oneFile()
    {
        QFETCH(QStringList, arguments);
        QFETCH(int, outcome);
        QFETCH(int, discNameLength);
        m_store.trackCount = 3;
        m_store.trackTitles(Japanese, 3) = u"typed before"_s;
        m_session->setCurrentFilePath(u"/kept/path.txt"_s);
        const TitleStore before = m_store;
        QList<QStringList> successors;
        TitleStore atSuccessor;
        const StartSuccessor startSuccessor = [&](const QStringList &successor) {
            successors << successor;
            atSuccessor = m_store;
        };
        QSignalSpy beeps(&m_beeper, &Beeper::beeped);
        int beepsBeforeBox = -1;
        ModalAnswer answer([&](QWidget *modal) {
            beepsBeforeBox = beeps.count();
            static_cast<QMessageBox *>(modal)->button(QMessageBox::Ok)->click();
        });

        const bool successor = arguments.value(0) == QStringView(SuccessorFlag);
        const StartupResult result = outcome == Loads ? StartupResult::EditorShown
                                     : successor ? StartupResult::Ended // it exists for its file
                                                 : StartupResult::DialogShown;
        // The offscreen platform answers the request to bring the dialog to the
        // front with this warning.
        if (result == StartupResult::DialogShown && QGuiApplication::platformName() == u"offscreen")
            QTest::ignoreMessage(QtWarningMsg, "This plugin does not support raise()");

        QCOMPARE(
            startFromCommandLine(parseEditorCommandLine(arguments), *m_session, startSuccessor),
            result);
        // The successor starts before this instance loads its file.
        const bool passesOn = arguments.endsWith(passedOn.last());
        QCOMPARE(successors, passesOn ? QList<QStringList>{QStringList{u"--successor"_s} + passedOn}
                                      : QList<QStringList>());
        QVERIFY(!passesOn || atSuccessor == before);
        QCOMPARE(m_session->editor() != nullptr, outcome == Loads);
        QCOMPARE(m_session->startupDialog() && m_session->startupDialog()->isVisible(),
                 result == StartupResult::DialogShown);
        QVERIFY2(answer.answered() == (outcome > NoFile), qUtf8Printable(answer.text()));
        // The beep comes before the abort message only.
        QCOMPARE(beeps.count(), outcome == Unreadable ? 1 : 0);
        // A file named on the command line is not the current file.
        QCOMPARE(m_session->currentFilePath(), u"/kept/path.txt"_s);
        if (outcome == Loads) {
            QCOMPARE(int(m_store.discNames[Japanese].size()), discNameLength);
            QVERIFY2(m_store.trackTitles(Japanese, 3).isEmpty(), "the old titles are gone");
            return;
        }
        QVERIFY2(m_store == before, "a failed load leaves the store as it was");
        if (outcome == NoFile)
            return;
        QCOMPARE(beepsBeforeBox, beeps.count());
        QCOMPARE(answer.title(), u"ﾛｰﾄﾞ - ｴﾗｰ"_s);
        QCOMPARE(answer.icon(), QMessageBox::Critical);
        QCOMPARE(answer.text(),
                 u"ﾛｰﾄﾞしようとしている曲名ﾌｧｲﾙは\nCD-TEXTの曲名ﾌｧｲﾙの規格に合っていません。\n"_s +
                     (outcome == Unreadable ? u"ﾛｰﾄﾞを中止します。\n"_s : QString()) +
                     u"\nﾌｧｲﾙ名：\n"_s + arguments.last());
    }

    // Last: the program's start-up sets up the whole application.
    // The program started as a user starts it, without a file: while its
    // new-or-open dialog is open, a standard button is asked for its text.
    void standardButtonsSpeakJapanese()
    {
        const QString translation =
            QLibraryInfo::path(QLibraryInfo::TranslationsPath) + u"/qtbase_ja.qm"_s;
        QVERIFY2(QFileInfo::exists(translation),
                 qUtf8Printable(translation + u" is missing, so Qt's dialogs would speak English "
                                              u"(Debian package qt6-translations-l10n)"_s));
        QString cancel;
        QTimer::singleShot(0, qApp, [&] {
            const QDialogButtonBox buttons(QDialogButtonBox::Cancel);
            cancel = buttons.button(QDialogButtonBox::Cancel)->text();
            QApplication::closeAllWindows();
            QCoreApplication::quit();
        });
        QCOMPARE(runSonolabe(*qApp, EditorCommandLine{}), 0);
        QCOMPARE(cancel, u"キャンセル"_s);
    }

private:
    QTemporaryDir m_dir;
    TitleStore m_store;
    Beeper m_beeper;
    std::unique_ptr<EditorSession> m_session;
};

QTEST_MAIN(TestStartup)
#include "tst_startup.moc"
