// SPDX-License-Identifier: GPL-3.0-or-later
// The real executable answering --help, --version and a wrong option without
// opening a window, in the locale's language. How the other arguments become paths is tested
// through the start-up (tst_startup); the successor started by the installed program on a name a
// shell would change, in the package test (check-deb.sh).
#include <QProcess>
#include <QTest>

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
void TestCommandLine::answersWithoutWindows()
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
    environment.insert(u"LC_ALL"_s, QByteArray(QTest::currentDataTag()).startsWith("ja:")
                                        ? u"ja_JP.UTF-8"_s
                                        : u"C"_s);
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

QTEST_GUILESS_MAIN(TestCommandLine)
#include "tst_commandline.moc"
