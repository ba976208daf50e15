// SPDX-License-Identifier: GPL-3.0-or-later
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
    QTest::addColumn<QString>("text");
    QTest::newRow("quoted paths with spaces") << u"\"a b.txt\" \"c d.txt\" e.txt"_s;
    QTest::newRow("shell metacharacters")
        << u"$(touch injected) `touch injected`; touch injected && touch injected | "
           "> injected < /etc/hostname * ? [a-z] ~ !! # 'a'\\''b' \\\" \\$HOME"_s;
    QTest::newRow("line breaks, tabs, non-ASCII") << u"a\nb\tc\r\nd 曲名 ﾀｲﾄﾙ.txt"_s;
    QTest::newRow("looks like options") << u"--help -platform xcb"_s;
    QTest::newRow("empty") << QString();
}

void TestSuccessorStart::startsOwnExecutableVerbatim()
{
    QFETCH(QString, text);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString record = dir.filePath(u"record"_s);

    qputenv(recordVariable, QFile::encodeName(record));
    StartSuccessorProcess(text);
    qunsetenv(recordVariable);

    QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(record), 60'000);
    QFile file(record);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QByteArray bytes = file.readAll();
    QVERIFY(bytes.endsWith('\0'));
    bytes.chop(1);
    // What ran, then its arguments: this very executable by its absolute
    // path, the flag and the text exactly as given (a shell would have
    // changed it, or run parts of it).
    const QByteArray ownExecutable = QFile::encodeName(QCoreApplication::applicationFilePath());
    QCOMPARE(bytes.split('\0'),
             (QList<QByteArray>{ownExecutable, ownExecutable, QStringView(SuccessorFlag).toUtf8(),
                                text.toUtf8()}));
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
