// SPDX-License-Identifier: GPL-3.0-or-later
// The real executable answering --help, --version and a wrong option without
// opening a window. How the other arguments become paths is tested through
// the start-up (tst_startup); the successor started by the installed program
// on a name a shell would change, in the package test (check-deb.sh).
#include "app/commandline.h"

#include <QProcess>
#include <QTest>

using namespace sonolabe;
using namespace Qt::Literals::StringLiterals;

class TestCommandLine : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void answersWithoutWindows_data();
    void answersWithoutWindows();
};

void TestCommandLine::answersWithoutWindows_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("output");
    QTest::addColumn<QString>("errors");
    QTest::newRow("-h and --help after a path")
        << QStringList{u"a.txt"_s, u"-h"_s, u"--help"_s} << 0 << UsageText() << QString();
    QTest::newRow("--version") << QStringList{u"--version"_s} << 0
                               << u"sonolabe %1.%2.%3\n"_s.arg(SONOLABE_VERSION_MAJOR)
                                      .arg(SONOLABE_VERSION_MINOR)
                                      .arg(SONOLABE_VERSION_PATCH)
                               << QString();
    // Qt is given no option: its own -platform is unknown here.
    QTest::newRow("unknown option") << QStringList{u"-platform"_s, u"xcb"_s} << 2 << QString()
                                    << u"sonolabe: unknown option: -platform\n"_s + UsageText();
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
    for (const QString &name : {u"QT_QPA_PLATFORM"_s, u"DISPLAY"_s, u"WAYLAND_DISPLAY"_s})
        environment.remove(name);
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
