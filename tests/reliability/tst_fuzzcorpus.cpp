// The fuzzers' corpus in the normal suite: every saved input of every target
// through the same property checks the fuzz targets run, and every input of
// any target through the title-file reader (any bytes are a file to it).
// Inputs that once found a fault are kept in the corpus, so each stays a
// regression test here.
#include "fuzz/fuzzchecks.h"

#include <QDir>
#include <QFile>
#include <QTest>

using namespace sonolabe;
using namespace Qt::Literals::StringLiterals;

class TestFuzzCorpus : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void corpus_data();
    void corpus();
};

void TestFuzzCorpus::corpus_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<int>("target");
    for (int target = 0; target < int(fuzz::Targets.size()); ++target) {
        const QString folder = QStringLiteral(SONOLABE_FUZZ_CORPUS "/") +
                               QLatin1StringView(fuzz::Targets[target].name);
        const QStringList files = QDir(folder).entryList(QDir::Files, QDir::Name);
        if (files.isEmpty())
            qFatal("no seeds in %s", qUtf8Printable(folder));
        for (const QString &file : files) {
            const QString row = QLatin1StringView(fuzz::Targets[target].name) % u'/' % file;
            QTest::newRow(qUtf8Printable(row)) << (folder % u'/' % file) << target;
        }
    }
}

void TestFuzzCorpus::corpus()
{
    QFETCH(QString, path);
    QFETCH(int, target);
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    const QString failure = fuzz::Targets[target].check(bytes);
    QVERIFY2(failure.isEmpty(), qUtf8Printable(failure));
    const QString readerFailure = fuzz::checkTitleFileParse(bytes);
    QVERIFY2(readerFailure.isEmpty(), qUtf8Printable(readerFailure));
}

QTEST_GUILESS_MAIN(TestFuzzCorpus)
#include "tst_fuzzcorpus.moc"
