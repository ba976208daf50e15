// SPDX-License-Identifier: GPL-3.0-or-later
// Start-up from the command line, through the argument splitting, the real
// loader with its message boxes and the session's windows: no file, a file
// and a successor for the rest, and one file of every kind a user may name,
// hostile ones included (a FIFO, a device, a huge file, odd names). Each
// loads or gives its message, in bounded time and memory; a failed load
// leaves the store as it was.
#include "app/startup.h"
#include "common/modalanswer.h"
#include "model/titlefile.h"
#include "model/titlestore.h"
#include "ui/common/beeper.h"
#include "ui/editor/editorwindow.h"
#include "ui/session.h"
#include "ui/startup/neworopendialog.h"

#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

using namespace sonolabe;
using namespace sonolabe::test;
using namespace Qt::Literals::StringLiterals;

namespace {

enum Outcome { Loads, NotATitleFile, Aborted };

constexpr int hugeBytes = 100 << 20;
constexpr int hugeLine = hugeBytes - 6; // after "ja\r\n0\t"
// Unusual names of a good file: each must reach the loader unchanged.
const QString metacharacters = u"a; touch injected & $(touch injected) `id`|<>*?~!#'\\ .txt"_s;
const QString controlCharacters = u"曲名 ファイル ①é ﾀｲﾄﾙ\nand\ttab\x01.txt"_s;
const QString doubleQuotes = u"\"the \"best\" of it\"s.txt"_s;
const QByteArray goodFile = "ja\r\n0\tDisc\tArtist\r\n1\tFirst\r\n2\tSecond\r\n";

bool write(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

} // namespace

class TestStartup : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void cleanupTestCase() { QDir::setCurrent(m_startFolder); }
    void init();
    void cleanup() { m_session.reset(); }
    void noArgumentsShowsDialog();
    void successorStartsBeforeTheLoad();
    void oneFile_data();
    void oneFile();

private:
    const QString m_startFolder = QDir::currentPath();
    QTemporaryDir m_dir;
    TitleStore m_store;
    Beeper m_beeper;
    std::unique_ptr<Session> m_session;
    QList<QStringList> m_successors;
    StartSuccessor m_startSuccessor;
};

// The files of oneFile, named relative to the current folder as a user types
// them: unusual names of a good file, and files a title file cannot be.
void TestStartup::initTestCase()
{
    QVERIFY(m_dir.isValid() && QDir::setCurrent(m_dir.path()));
    for (const QString &name : {metacharacters, controlCharacters, doubleQuotes, u"--help"_s})
        QVERIFY(write(name, goodFile));
    QVERIFY(write(u"notes.txt"_s, "no tag here\r\n"));
    static const char nulBytes[] = "ja\r\n0\tA\0B\t\0\r\n\0\r\n1\t\0\0x\r\n";
    QVERIFY(write(u"nul.txt"_s, QByteArray(nulBytes, sizeof nulBytes - 1)));
    // One line of NUL bytes after the disc line's start; sparse, so that the
    // file that is too large is never really written or read.
    QVERIFY(write(u"huge.txt"_s, "ja\r\n0\t") && QFile::resize(u"huge.txt"_s, hugeBytes));
    QVERIFY(write(u"large.txt"_s, "ja\r\n0\t") &&
            QFile::resize(u"large.txt"_s, MaxTitleFileBytes + 1));
    QVERIFY(QDir().mkdir(u"folder.txt"_s));
    QCOMPARE(::mkfifo("fifo.txt", 0600), 0);
    QVERIFY(QFile::link(u"loop.txt"_s, u"loop.txt"_s));
}

void TestStartup::init()
{
    m_store = TitleStore();
    m_session = std::make_unique<Session>(m_store, m_beeper);
    m_successors.clear();
    m_startSuccessor = [this](const QStringList &arguments) { m_successors << arguments; };
}

void TestStartup::noArgumentsShowsDialog()
{
    // The offscreen platform answers the request to bring the dialog to the
    // front with this warning.
    if (QGuiApplication::platformName() == u"offscreen")
        QTest::ignoreMessage(QtWarningMsg, "This plugin does not support raise()");
    QCOMPARE(StartFromCommandLine(ParseCommandLine({}), *m_session, m_startSuccessor),
             StartupResult::DialogShown);
    QVERIFY(m_session->startupDialog() && m_session->startupDialog()->isVisible());
    QVERIFY(!m_session->editor());
    QVERIFY(m_successors.isEmpty());
}

void TestStartup::successorStartsBeforeTheLoad()
{
    const QString first = m_dir.filePath(u"first disc.txt"_s);
    QVERIFY(write(first, "ja\r\n0\tD\tA\r\n3\tx\r\n"));
    bool storeEmptyWhenSuccessorStarted = false;
    m_startSuccessor = [&](const QStringList &arguments) {
        m_successors << arguments;
        storeEmptyWhenSuccessorStarted = m_store.trackCount == 0;
    };
    const CommandLine commandLine =
        ParseCommandLine({u"--"_s, first, u"/x/second \"disc\".txt"_s, u"--help"_s});
    QCOMPARE(StartFromCommandLine(commandLine, *m_session, m_startSuccessor),
             StartupResult::EditorShown);
    QCOMPARE(m_successors, (QList<QStringList>{{QStringView(SuccessorFlag).toString(),
                                                u"/x/second \"disc\".txt"_s, u"--help"_s}}));
    QVERIFY(storeEmptyWhenSuccessorStarted);
    QCOMPARE(int(m_store.trackCount), 3);
}

void TestStartup::oneFile_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<bool>("successor"); // started by another instance
    QTest::addColumn<int>("outcome");
    QTest::addColumn<int>("discNameLength");
    const int none = 0; // the length when nothing loads
    QTest::newRow("spaces and shell metacharacters") << metacharacters << false << int(Loads) << 4;
    QTest::newRow("non-ASCII and control characters")
        << controlCharacters << false << int(Loads) << 4;
    QTest::newRow("double quotes: leading, inside, with spaces")
        << doubleQuotes << false << int(Loads) << 4;
    QTest::newRow("named like an option, after ./") << u"./--help"_s << false << int(Loads) << 4;
    QTest::newRow("100 MB single line") << u"huge.txt"_s << false << int(Loads) << hugeLine;
    QTest::newRow("NUL bytes") << u"nul.txt"_s << false << int(Loads) << 3;
    QTest::newRow("not a title file") << u"notes.txt"_s << false << int(NotATitleFile) << none;
    QTest::newRow("missing file") << u"missing.txt"_s << false << int(Aborted) << none;
    QTest::newRow("empty argument") << QString() << false << int(Aborted) << none;
    QTest::newRow("successor: every argument a path")
        << u"--version"_s << true << int(Aborted) << none;
    QTest::newRow("directory") << u"folder.txt"_s << false << int(Aborted) << none;
    QTest::newRow("FIFO without writer") << u"fifo.txt"_s << false << int(Aborted) << none;
    QTest::newRow("/dev/zero") << u"/dev/zero"_s << false << int(Aborted) << none;
    QTest::newRow("symlink loop") << u"loop.txt"_s << false << int(Aborted) << none;
    QTest::newRow("read fails (/proc/self/mem)")
        << u"/proc/self/mem"_s << false << int(Aborted) << none;
    QTest::newRow("larger than any title file") << u"large.txt"_s << false << int(Aborted) << none;
}

void TestStartup::oneFile()
{
    QFETCH(QString, path);
    QFETCH(bool, successor);
    QFETCH(int, outcome);
    QFETCH(int, discNameLength);
    m_store.trackCount = 3;
    m_store.trackTitles(Japanese, 3) = u"typed before"_s;
    m_store.currentFilePath = u"/kept/path.txt"_s;
    const TitleStore before = m_store;
    QSignalSpy beeps(&m_beeper, &Beeper::beeped);
    int beepsBeforeBox = -1;
    ModalAnswer answer([&](QWidget *modal) {
        beepsBeforeBox = beeps.count();
        static_cast<QMessageBox *>(modal)->button(QMessageBox::Ok)->click();
    });

    const QStringList arguments =
        successor ? QStringList{QStringView(SuccessorFlag).toString(), path} : QStringList{path};
    const StartupResult result =
        StartFromCommandLine(ParseCommandLine(arguments), *m_session, m_startSuccessor);

    QCOMPARE(result, outcome == Loads ? StartupResult::EditorShown
                     : successor      ? StartupResult::Ended // it exists for its file alone
                                      : StartupResult::DialogShown);
    QVERIFY(m_successors.isEmpty());
    QCOMPARE(m_session->editor() != nullptr, outcome == Loads);
    QCOMPARE(m_session->startupDialog() != nullptr, result == StartupResult::DialogShown);
    QVERIFY2(answer.answered() == (outcome != Loads), qUtf8Printable(answer.text()));
    // The beep comes before the abort message only.
    QCOMPARE(beeps.count(), outcome == Aborted ? 1 : 0);
    if (outcome == Loads) {
        QCOMPARE(int(m_store.discNames[Japanese].size()), discNameLength);
        QVERIFY2(m_store.trackTitles(Japanese, 3).isEmpty(), "the old titles are gone");
        // A file named on the command line is not the current file.
        QCOMPARE(m_store.currentFilePath, before.currentFilePath);
        return;
    }
    QCOMPARE(beepsBeforeBox, beeps.count());
    QCOMPARE(answer.title(), u"ﾛｰﾄﾞ - ｴﾗｰ"_s);
    QCOMPARE(answer.icon(), QMessageBox::Critical);
    QCOMPARE(answer.text(),
             u"ﾛｰﾄﾞしようとしている曲名ﾌｧｲﾙは\nCD-TEXTの曲名ﾌｧｲﾙの規格に合っていません。\n"_s +
                 (outcome == Aborted ? u"ﾛｰﾄﾞを中止します。\n"_s : QString()) + u"\nﾌｧｲﾙ名：\n"_s +
                 path);
    QVERIFY2(m_store == before, "a failed load leaves the store as it was");
}

QTEST_MAIN(TestStartup)
#include "tst_startup.moc"
