// Starting the successor instance: StartSuccessorProcess must start this very
// executable by its absolute path, detached and without a shell, with the
// successor flag and the argument text as its two arguments, whatever
// characters the text holds.
//
// The test executable stands in for the program: started with the successor
// flag it only records what it received (its executable and its arguments) in
// the file the environment names, and ends before any test runs.
#include "app/startup.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QSaveFile>
#include <QTemporaryDir>
#include <QTest>

#include <cstdlib>
#include <cstring>

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
    QTest::addColumn<QString>("text");
    QTest::newRow("one path") << u"b.txt"_s;
    QTest::newRow("quoted paths with spaces") << u"\"a b.txt\" \"c d.txt\" e.txt"_s;
    QTest::newRow("command substitution") << u"$(touch injected) `touch injected`"_s;
    QTest::newRow("command separators")
        << u"x.txt; touch injected && touch injected || touch injected | touch injected &"_s;
    QTest::newRow("redirection and globs") << u"> injected < /etc/hostname * ? [a-z] ~ !! #"_s;
    QTest::newRow("backslashes and single quotes") << u"'a'\\''b' \\\\ \\\" \\$HOME"_s;
    QTest::newRow("line breaks and tabs") << u"a\nb\tc\r\nd"_s;
    QTest::newRow("non-ASCII") << u"曲名 ファイル.txt ①é ﾀｲﾄﾙ"_s;
    QTest::newRow("looks like options") << u"--help -platform xcb"_s;
    QTest::newRow("empty") << QString();
}

void TestSuccessorStart::startsOwnExecutableVerbatim()
{
    QFETCH(QString, text);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString record = dir.filePath(u"record"_s);

    // Started from the temporary folder, where an injected command would
    // leave its file, and with an empty PATH, on which no bare program name
    // could be found.
    const QString oldFolder = QDir::currentPath();
    const QByteArray oldPath = qgetenv("PATH");
    QVERIFY(QDir::setCurrent(dir.path()));
    qputenv("PATH", "");
    qputenv(recordVariable, QFile::encodeName(record));
    StartSuccessorProcess(text);
    qunsetenv(recordVariable);
    qputenv("PATH", oldPath);
    QVERIFY(QDir::setCurrent(oldFolder));

    QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(record), 60'000);
    QFile file(record);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QByteArray bytes = file.readAll();
    QVERIFY(bytes.endsWith('\0'));
    bytes.chop(1);
    const QList<QByteArray> fields = bytes.split('\0');
    QCOMPARE(fields.size(), 4);
    const QByteArray ownExecutable = QFile::encodeName(QCoreApplication::applicationFilePath());
    QVERIFY2(QFileInfo(QFile::decodeName(fields[1])).isAbsolute(), fields[1].constData());
    QCOMPARE(fields[0], ownExecutable);
    QCOMPARE(fields[1], ownExecutable);
    QCOMPARE(QString::fromUtf8(fields[2]), QStringView(SuccessorFlag).toString());
    QCOMPARE(QString::fromUtf8(fields[3]), text);
    QVERIFY2(QDir(dir.path()).entryList(QDir::Files) == QStringList{u"record"_s},
             "no part of the text was run as a command");
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
