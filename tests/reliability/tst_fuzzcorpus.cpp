// SPDX-License-Identifier: GPL-3.0-or-later
// The fuzzers' corpus in the normal suite: every saved input of every target
// through the same property checks the fuzz targets run, and every input of
// any target through the title-file reader (any bytes are a file to it).
// Inputs that once found a fault are kept in the corpus, so each stays a
// regression test here.
#include "fuzz/fuzzchecks.h"

#include <QDir>
#include <QFile>
#include <QTest>

using sonolabe::fuzz::Targets;

class TestFuzzCorpus : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void corpus_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("target");
        for (int target = 0; target < int(Targets.size()); ++target) {
            const QDir folder(QStringLiteral(SONOLABE_FUZZ_CORPUS "/") +
                              QLatin1StringView(Targets[target].name));
            // A target without seeds would be left out without a word.
            const QStringList files = folder.entryList(QDir::Files, QDir::Name);
            QVERIFY2(!files.isEmpty(), qUtf8Printable(folder.path()));
            for (const QString &name : files) {
                QFile file(folder.filePath(name));
                QVERIFY(file.open(QIODevice::ReadOnly));
                QTest::addRow("%s/%s", Targets[target].name, qUtf8Printable(name))
                    << file.readAll() << target;
            }
        }
    }

    void corpus()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(int, target);
        for (const auto check : {Targets[target].check, sonolabe::fuzz::checkTitleFileParse})
            QCOMPARE(check(bytes), QString());
    }
};

QTEST_GUILESS_MAIN(TestFuzzCorpus)
#include "tst_fuzzcorpus.moc"
