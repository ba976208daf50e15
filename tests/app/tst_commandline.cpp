// SPDX-License-Identifier: GPL-3.0-or-later
// The command line: each argument one path, the options of any Linux
// program, and the successor's arguments; then the real executable answering
// --help, --version and a wrong option without opening a window.
#include "app/commandline.h"

#include <QProcess>
#include <QTest>

using namespace sonolabe;
using namespace Qt::Literals::StringLiterals;

Q_DECLARE_METATYPE(CommandLineAction)

class TestCommandLine : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void parse_data();
    void parse();
    void successorGetsTheRestVerbatim();
    void answersWithoutWindows_data();
    void answersWithoutWindows();
};

void TestCommandLine::parse_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<CommandLineAction>("action");
    QTest::addColumn<QStringList>("paths");
    QTest::addColumn<bool>("startedByInstance");
    using A = CommandLineAction;
    const QString flag = QStringView(SuccessorFlag).toString();
    const QStringList odd{u"the \"best\" of.txt"_s, u"\"a.txt"_s, u"c d.txt"_s,
                          u"曲名 ﾀｲﾄﾙ.txt"_s, u"$(id); `id` | * ~"_s};
    QTest::newRow("nothing") << QStringList() << A::Open << QStringList() << false;
    QTest::newRow("quotes, spaces, non-ASCII, metacharacters")
        << odd << A::Open << odd << false;
    QTest::newRow("empty argument is a path") << QStringList{QString()} << A::Open
                                              << QStringList{QString()} << false;
    QTest::newRow("--help") << QStringList{u"--help"_s} << A::ShowHelp << QStringList() << false;
    QTest::newRow("-h after a path") << QStringList{u"a.txt"_s, u"-h"_s} << A::ShowHelp
                                     << QStringList{u"a.txt"_s} << false;
    QTest::newRow("--version") << QStringList{u"--version"_s} << A::ShowVersion << QStringList()
                               << false;
    QTest::newRow("unknown option") << QStringList{u"-platform"_s, u"xcb"_s} << A::WrongUsage
                                    << QStringList() << false;
    QTest::newRow("after --, options are paths")
        << QStringList{u"--"_s, u"--help"_s, u"--"_s} << A::Open
        << QStringList{u"--help"_s, u"--"_s} << false;
    QTest::newRow("./--help and - are paths") << QStringList{u"./--help"_s, u"-"_s} << A::Open
                                              << QStringList{u"./--help"_s, u"-"_s} << false;
    QTest::newRow("successor: every argument a path")
        << QStringList{flag, u"--help"_s, u"--"_s, u"\"a.txt"_s} << A::Open
        << QStringList{u"--help"_s, u"--"_s, u"\"a.txt"_s} << true;
    QTest::newRow("successor without a path") << QStringList{flag} << A::Open << QStringList()
                                              << true;
}

void TestCommandLine::parse()
{
    QFETCH(QStringList, arguments);
    QFETCH(CommandLineAction, action);
    QFETCH(QStringList, paths);
    QFETCH(bool, startedByInstance);
    const CommandLine parsed = ParseCommandLine(arguments);
    QCOMPARE(parsed.action, action);
    if (action != CommandLineAction::WrongUsage)
        QCOMPARE(parsed.paths, paths);
    QCOMPARE(parsed.startedByInstance, startedByInstance);
    QCOMPARE(parsed.unknownOption, action == CommandLineAction::WrongUsage ? u"-platform"_s
                                                                           : QString());
}

// Along a chain of instances each opens the first of its paths and hands the
// others on, one argument each, until none is left.
void TestCommandLine::successorGetsTheRestVerbatim()
{
    const QStringList typed{u"a.txt"_s, u"the \"best\" of.txt"_s, u"--help"_s, u"\"a.txt"_s};
    QStringList opened;
    CommandLine commandLine = ParseCommandLine(QStringList{u"--"_s} + typed);
    for (int instance = 0; instance < 10 && !commandLine.paths.isEmpty(); ++instance) {
        opened << commandLine.paths.first();
        const QStringList successor = SuccessorArguments(commandLine.paths);
        QCOMPARE(successor.isEmpty(), commandLine.paths.size() == 1);
        commandLine = ParseCommandLine(successor);
        QCOMPARE(commandLine.startedByInstance, !successor.isEmpty());
    }
    QCOMPARE(opened, typed);
}

void TestCommandLine::answersWithoutWindows_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("output");
    QTest::addColumn<QString>("errors");
    QTest::newRow("--help") << QStringList{u"--help"_s} << 0 << UsageText() << QString();
    QTest::newRow("--version") << QStringList{u"--version"_s} << 0
                               << u"sonolabe %1.%2.%3\n"_s.arg(SONOLABE_VERSION_MAJOR).arg(SONOLABE_VERSION_MINOR).arg(SONOLABE_VERSION_PATCH)
                               << QString();
    QTest::newRow("unknown option") << QStringList{u"--bogus"_s} << 2 << QString()
                                    << u"sonolabe: unknown option: --bogus\n"_s + UsageText();
}

// No display is needed: the program answers before any window exists.
void TestCommandLine::answersWithoutWindows()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, exitCode);
    QFETCH(QString, output);
    QFETCH(QString, errors);
    QProcess program;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove(u"QT_QPA_PLATFORM"_s);
    environment.remove(u"DISPLAY"_s);
    environment.remove(u"WAYLAND_DISPLAY"_s);
    program.setProcessEnvironment(environment);
    program.start(QStringLiteral(SONOLABE_PROGRAM), arguments);
    QVERIFY(program.waitForFinished(60'000));
    QCOMPARE(program.exitStatus(), QProcess::NormalExit);
    QCOMPARE(program.exitCode(), exitCode);
    QCOMPARE(QString::fromUtf8(program.readAllStandardOutput()), output);
    QCOMPARE(QString::fromUtf8(program.readAllStandardError()), errors);
}

QTEST_GUILESS_MAIN(TestCommandLine)
#include "tst_commandline.moc"
