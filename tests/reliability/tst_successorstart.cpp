// SPDX-License-Identifier: GPL-3.0-or-later
// Starting the successor instance: StartSuccessorProcess must start this very
// executable by its absolute path, detached and without a shell, with the
// arguments exactly as given, whatever characters they hold.
//
// The test executable stands in for the program: started with the successor
// flag it only records what it received (its executable and its arguments) in
// the file the environment names, and ends before any test runs.
#include "app/startup.h"

#include <QCoreApplication>
#include <QFile>
#include <QSaveFile>
#include <QTemporaryDir>
#include <QTest>

using namespace sonolabe;
using namespace Qt::Literals::StringLiterals;

namespace {

constexpr char recordVariable[] = "SONOLABE_TEST_SUCCESSOR_RECORD";

// The record: the child's /proc/self/exe, then each argument, each ended by
// NUL. Written under another name and renamed, so it is complete or absent.
int recordSuccessor(int argc, char *argv[])
{
    const QByteArray record = qgetenv(recordVariable);
    if (record.isEmpty())
        return 2;
    QByteArray bytes = QFile::encodeName(QFile::symLinkTarget(u"/proc/self/exe"_s)) + '\0';
    for (int i = 0; i < argc; ++i)
        bytes += QByteArray(argv[i]) + '\0';
    QSaveFile file(QFile::decodeName(record));
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
        return 3;
    return 0;
}

} // namespace

class TestSuccessorStart : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void startsOwnExecutableVerbatim_data();
    void startsOwnExecutableVerbatim();
};

void TestSuccessorStart::startsOwnExecutableVerbatim_data()
{
    QTest::addColumn<QStringList>("paths");
    QTest::newRow("spaces and double quotes")
        << QStringList{u"a b.txt"_s, u"the \"best\" of.txt"_s, u"\"a.txt"_s};
    QTest::newRow("shell metacharacters")
        << QStringList{u"$(touch injected) `touch injected`; touch injected && touch injected | "
                       "> injected < /etc/hostname * ? [a-z] ~ !! # 'a'\\''b' \\\" \\$HOME"_s};
    QTest::newRow("line breaks, tabs, non-ASCII")
        << QStringList{u"a\nb\tc\r\nd"_s, u"曲名 ﾀｲﾄﾙ.txt"_s};
    QTest::newRow("looks like options") << QStringList{u"--help"_s, u"-platform"_s, u"xcb"_s};
    QTest::newRow("empty") << QStringList{QString()};
}

void TestSuccessorStart::startsOwnExecutableVerbatim()
{
    QFETCH(QStringList, paths);
    const QStringList arguments = QStringList{QStringView(SuccessorFlag).toString()} + paths;
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString record = dir.filePath(u"record"_s);

    qputenv(recordVariable, QFile::encodeName(record));
    StartSuccessorProcess(arguments);
    qunsetenv(recordVariable);

    QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(record), 60'000);
    QFile file(record);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QByteArray bytes = file.readAll();
    QVERIFY(bytes.endsWith('\0'));
    bytes.chop(1);
    // What ran, then its arguments: this very executable by its absolute
    // path, then the arguments exactly as given (a shell would have changed
    // them, or run parts of them).
    const QByteArray ownExecutable = QFile::encodeName(QCoreApplication::applicationFilePath());
    QList<QByteArray> expected{ownExecutable, ownExecutable};
    for (const QString &argument : arguments)
        expected << argument.toUtf8();
    QCOMPARE(bytes.split('\0'), expected);
}

int main(int argc, char *argv[])
{
    if (argc >= 2 && QString::fromLocal8Bit(argv[1]) == QStringView(SuccessorFlag))
        return recordSuccessor(argc, argv);
    QCoreApplication app(argc, argv);
    TestSuccessorStart test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_successorstart.moc"
