// The fuzzers' corpus in the normal suite: every saved input of every target
// through the same property checks the fuzz targets run, and every input of
// any target through the title-file reader (any bytes are a file to it).
// Inputs that once found a fault are kept in the corpus, so each stays a
// regression test here.
#include "fuzz/fuzzchecks.h"
#include "model/titlefile.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QTest>

using namespace sonolabe;
using namespace Qt::Literals::StringLiterals;

class TestFuzzCorpus : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void everyTargetHasSeeds();
    void corpus_data();
    void corpus();
};

namespace {

const QString corpusRoot = QStringLiteral(SONOLABE_FUZZ_CORPUS);

QByteArray readAll(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        qFatal("cannot read %s", qUtf8Printable(path));
    return file.readAll();
}

} // namespace

void TestFuzzCorpus::everyTargetHasSeeds()
{
    for (const fuzz::Target &target : fuzz::Targets) {
        const QDir folder(corpusRoot + u'/' + QLatin1StringView(target.name));
        QVERIFY2(!folder.entryList(QDir::Files).isEmpty(), target.name);
    }
    // The seeds the reader's corpus is meant to hold.
    const QByteArray example = readAll(corpusRoot + u"/titlefile_parse/example-59-bytes.txt"_s);
    QCOMPARE(example.size(), 59);
    const std::optional<TitleStore> disc = ParseTitleFile(example);
    QVERIFY(disc);
    QCOMPARE(disc->DiscNames[Japanese], u"ベスト"_s);
    QCOMPARE(disc->TrackTitles(English, 1), u"Intro"_s);
}

void TestFuzzCorpus::corpus_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<int>("target");
    for (int target = 0; target < int(fuzz::Targets.size()); ++target) {
        const QString folder = corpusRoot + u'/' + QLatin1StringView(fuzz::Targets[target].name);
        QStringList files = QDir(folder).entryList(QDir::Files, QDir::Name);
        for (const QString &file : std::as_const(files)) {
            const QString row = QLatin1StringView(fuzz::Targets[target].name) % u'/' % file;
            QTest::newRow(qUtf8Printable(row)) << (folder % u'/' % file) << target;
        }
    }
}

void TestFuzzCorpus::corpus()
{
    QFETCH(QString, path);
    QFETCH(int, target);
    const QByteArray bytes = readAll(path);
    const QString failure = fuzz::Targets[target].check(bytes);
    QVERIFY2(failure.isEmpty(), qUtf8Printable(failure));
    const QString readerFailure = fuzz::checkTitleFileParse(bytes);
    QVERIFY2(readerFailure.isEmpty(), qUtf8Printable(readerFailure));
}

QTEST_GUILESS_MAIN(TestFuzzCorpus)
#include "tst_fuzzcorpus.moc"
