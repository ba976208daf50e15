// SPDX-License-Identifier: GPL-3.0-or-later
// The sonolabe-cdtext command line, run in-process: usage errors (exit 2),
// refused input (exit 1), the check report, and where results go.
#include "cdtexttest.h"

#include "cdtext/command.h"
#include "cdtext/packs.h"
#include "cdtext/v07t.h"
#include "model/titlefile.h"

#include <QBuffer>
#include <QDir>

#include <functional>
#include <optional>

using namespace sonolabe;
using namespace sonolabe::cdtext;
using namespace Qt::Literals::StringLiterals;

namespace {

struct Run
{
    int exitCode = -1;
    QByteArray out;
    QString err;
};

// The title file of the two-track disc after a change.
QByteArray titleFile(const std::function<void(TitleStore &)> &change)
{
    TitleStore store = test::twoTracks();
    change(store);
    return WriteTitleFile(store, {});
}

void clearLanguage(TitleStore &store, int language)
{
    store.discNames[language].clear();
    store.artistNames[language].clear();
    for (int track = 1; track <= store.trackCount; ++track)
        store.trackTitles(language, track).clear();
}

} // namespace

class TestCdTextCommand : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init();
    void usage_data();
    void usage();
    void help_data();
    void help();
    void refused_data();
    void refused();
    void checkReport();
    void results();

private:
    // Runs the command; "@" stands for the test's folder, which messages
    // do not name.
    Run run(const QStringList &arguments, UiLanguage language = UiLanguage::English) const
    {
        QStringList args;
        for (const QString &argument : arguments)
            args << QString(argument).replace(u'@', m_folder->path() + u'/');
        QBuffer out;
        QBuffer err;
        out.open(QIODevice::WriteOnly);
        err.open(QIODevice::WriteOnly);
        const int exitCode = RunCdTextCommand(args, out, err, language);
        return {exitCode, out.data(),
                QString::fromUtf8(err.data()).remove(m_folder->path() + u'/')};
    }
    std::optional<test::Folder> m_folder;
};

void TestCdTextCommand::init()
{
    m_folder.emplace();
    m_folder->write(u"disc.txt"_s, WriteTitleFile(test::twoTracks(), {}));
    m_folder->write(u"a.cue"_s, "FILE \"a.wav\" WAVE\n  TRACK 01 AUDIO\n  TRACK 02 AUDIO\n");
}

void TestCdTextCommand::usage_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("message");
    QTest::newRow("nothing") << QStringList() << u"no command given"_s;
    QTest::newRow("unknown command")
        << QStringList{u"burn"_s, u"@disc.txt"_s} << u"unknown command 'burn'"_s;
    QTest::newRow("packs without -o")
        << QStringList{u"packs"_s, u"@disc.txt"_s} << u"'packs' needs the option '-o'"_s;
    QTest::newRow("language not known") << QStringList{u"v07t"_s, u"@disc.txt"_s, u"--lang=fr"_s}
                                        << u"--lang takes 'en' or 'ja', not 'fr'"_s;
    QTest::newRow("empty --output=") << QStringList{u"packs"_s, u"@disc.txt"_s, u"--output="_s}
                                     << u"option '-o' needs a value"_s;
    QTest::newRow("import reaches its own command")
        << QStringList{u"import"_s, u"@disc.txt"_s, u"--block"_s, u"9"_s}
        << u"--block 9: a block number is 0 to 7"_s;
    QTest::newRow("output over the title file")
        << QStringList{u"packs"_s, u"@disc.txt"_s, u"-o"_s, u"@disc.txt"_s}
        << u"'disc.txt' is an input; write the result to another file"_s;
    QTest::newRow("output over the sheet, named another way")
        << QStringList{u"cue"_s,    u"@disc.txt"_s, u"--into"_s,           u"@a.cue"_s,
                       u"--lang"_s, u"en"_s,        u"--output=@./a.cue"_s}
        << u"'./a.cue' is an input"_s;
}

void TestCdTextCommand::usage()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, message);
    const QByteArray disc = m_folder->read(u"disc.txt"_s);
    const QByteArray sheet = m_folder->read(u"a.cue"_s);
    const Run result = run(arguments);
    QCOMPARE(result.exitCode, ExitUsage);
    QVERIFY2(result.err.contains(message), qPrintable(result.err));
    QVERIFY(result.err.contains(u"Try 'sonolabe-cdtext --help'."_s));
    QVERIFY(result.out.isEmpty());
    QCOMPARE(m_folder->read(u"disc.txt"_s), disc);
    QCOMPARE(m_folder->read(u"a.cue"_s), sheet);
}

void TestCdTextCommand::help_data()
{
    QTest::addColumn<bool>("japanese");
    QTest::addColumn<QString>("start");
    QTest::newRow("English") << false << u"Usage: sonolabe-cdtext"_s;
    QTest::newRow("Japanese") << true << u"使い方: sonolabe-cdtext"_s;
}

// Help wins over everything else on the line.
void TestCdTextCommand::help()
{
    QFETCH(bool, japanese);
    QFETCH(QString, start);
    const Run result =
        run({u"packs"_s, u"x"_s, u"-h"_s}, japanese ? UiLanguage::Japanese : UiLanguage::English);
    QCOMPARE(result.exitCode, ExitDone);
    const QString text = QString::fromUtf8(result.out);
    QVERIFY2(text.startsWith(start), qPrintable(text));
    for (const char16_t *command : {u"check", u"packs", u"v07t", u"cue", u"toc"})
        QVERIFY(text.contains(u"  "_s + QStringView(command) + u' '));
    QVERIFY(result.err.isEmpty());
}

void TestCdTextCommand::refused_data()
{
    QTest::addColumn<QByteArray>("titleFile");
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("message");
    const QStringList packs{u"packs"_s, u"@disc.txt"_s, u"-o"_s, u"@out.cdt"_s};
    const QStringList cue{u"cue"_s, u"@disc.txt"_s, u"--into"_s, u"@a.cue"_s, u"--lang"_s, u"en"_s};
    QTest::newRow("no tracks") << QByteArray("ja\r\n0\tD\tA\r\n") << packs
                               << u"error: the title file has no tracks"_s;
    QTest::newRow("no text in the language")
        << titleFile([](TitleStore &s) { clearLanguage(s, Japanese); })
        << QStringList{u"v07t"_s, u"@disc.txt"_s, u"--lang"_s, u"ja"_s}
        << u"error: the title file holds no Japanese text"_s;
    QTest::newRow("English text refused")
        << titleFile([](TitleStore &s) { s.trackTitles(English, 2) = u"Outあ"_s; }) << packs
        << u"error: English title of track 2: character 4 \"あ\" (U+3042) is not allowed in an "
           u"English title file"_s;
    QTest::newRow("over budget, a repeat would fit")
        << titleFile([](TitleStore &s) {
               clearLanguage(s, Japanese);
               s.trackCount = 30;
               s.artistNames[English].clear();
               s.discNames[English] = u"D"_s;
               for (int track = 1; track <= 30; ++track)
                   s.trackTitles(English, track) = QString(109, u'x');
           })
        << packs
        << u"error: block 0 (English) needs 276 text packs, 24 more than the 252 that fit; with "
           u"--tab-repeat it needs 15 text packs and fits"_s;
    QTest::newRow("track count differs")
        << titleFile([](TitleStore &s) { s.trackCount = 3; }) << cue
        << u"error: 'a.cue' has 2 tracks but the title file has 3"_s;
    QTest::newRow("quote in a CUE title")
        << titleFile([](TitleStore &s) { s.trackTitles(English, 1) = u"12\" Mix"_s; }) << cue
        << u"error: English title of track 1: a CUE sheet cannot hold a double quote"_s;
    QTest::newRow("CUE text ending in 0x5C")
        << titleFile([](TitleStore &s) { s.trackTitles(Japanese, 2) = u"一覧表"_s; })
        << QStringList{u"cue"_s, u"@disc.txt"_s, u"--into"_s, u"@a.cue"_s, u"--lang"_s, u"ja"_s}
        << u"error: Japanese title of track 2: its last byte is 0x5C"_s;
    QTest::newRow("leading space in a sheet")
        << titleFile([](TitleStore &s) { s.discNames[English] = u" Best"_s; })
        << QStringList{u"v07t"_s, u"@disc.txt"_s}
        << u"error: English disc name: an input sheet drops the spaces at the start"_s;
}

void TestCdTextCommand::refused()
{
    QFETCH(QByteArray, titleFile);
    QFETCH(QStringList, arguments);
    QFETCH(QString, message);
    m_folder->write(u"disc.txt"_s, titleFile);
    const Run result = run(arguments);
    QCOMPARE(result.exitCode, ExitRefused);
    QVERIFY2(result.err.contains(message), qPrintable(result.err));
    QVERIFY(result.out.isEmpty());
    QVERIFY(!QFile::exists(m_folder->path(u"out.cdt"_s)));
}

void TestCdTextCommand::checkReport()
{
    m_folder->write(u"disc.txt"_s, titleFile([](TitleStore &s) {
                        s.artistNames[English] = u"Baﾝnd"_s;
                        s.trackTitles(Japanese, 2) = u"①表紙②"_s;
                    }));
    // The report names the title file as it was given.
    QDir::setCurrent(m_folder->path());
    const Run result = run({u"check"_s, u"disc.txt"_s});
    QCOMPARE(result.exitCode, ExitRefused);
    QCOMPARE(
        QString::fromUtf8(result.out),
        u"disc.txt: 2 tracks\n"
        u"block 0 (English): 3 of 252 text packs\n"
        u"block 1 (Japanese): 2 of 252 text packs\n"
        u"error: English artist name: character 3 \"ﾝ\" (U+FF9D) is not allowed in an English "
        u"title file\n"
        u"warning: Japanese title of track 2: character 1 \"①\" (U+2460) is outside JIS X 0208; "
        u"many players cannot show it (and 1 more such characters)\n"
        u"cannot be burned as it is; errors: 1, warnings: 1\n"_s);
    QVERIFY(result.err.isEmpty());
}

// Without -o a result goes to standard output; the sheet read with --into
// stays as it was. A warning does not stop a result.
void TestCdTextCommand::results()
{
    const Run v07t = run({u"v07t"_s, u"@disc.txt"_s});
    QCOMPARE(v07t.exitCode, ExitDone);
    QCOMPARE(v07t.out, WriteV07tSheets(DiscBlocks(test::twoTracks(), {})).bytes);

    const QByteArray sheet = m_folder->read(u"a.cue"_s);
    const Run cue = run({u"cue"_s, u"@disc.txt"_s, u"--into"_s, u"@a.cue"_s, u"--lang"_s, u"en"_s});
    QCOMPARE(cue.exitCode, ExitDone);
    QVERIFY(cue.out.startsWith("TITLE \"Best\"\nPERFORMER \"Band\"\nFILE"));
    QCOMPARE(m_folder->read(u"a.cue"_s), sheet);

    m_folder->write(u"disc.txt"_s,
                    titleFile([](TitleStore &s) { s.discNames[Japanese] = u"㈱ベスト"_s; }));
    const Run warned = run({u"packs"_s, u"@disc.txt"_s, u"-o"_s, u"@out.cdt"_s});
    QCOMPARE(warned.exitCode, ExitDone);
    QCOMPARE(warned.err, u"warning: Japanese disc name: character 1 \"㈱\" (U+3231) is outside JIS "
                         u"X 0208; many players cannot show it\n"_s);
    QVERIFY(VerifyPackFile(m_folder->read(u"out.cdt"_s)).ok);
}

QTEST_GUILESS_MAIN(TestCdTextCommand)
#include "tst_cdtextcommand.moc"
