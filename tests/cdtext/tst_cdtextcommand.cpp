// SPDX-License-Identifier: GPL-3.0-or-later
// The sonolabe-cdtext command line, run in-process: usage errors (exit 2),
// refused input (exit 1), help, the check report, and where results go.
#include "cdtexttest.h"

#include "cdtext/command.h"
#include "cdtext/importcommand.h"

#include <QBuffer>
#include <QDir>

#include <functional>
#include <optional>

using namespace sonolabe;
using namespace sonolabe::cdtext;
using namespace sonolabe::cdtext::test;

namespace {

// The title file of the two-track disc after a change.
QByteArray titleFile(const std::function<void(TitleStore &)> &change)
{
    TitleStore store = twoTracks();
    change(store);
    return WriteTitleFile(store, {});
}

} // namespace

class TestCdTextCommand : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init();
    void exits_data();
    void exits();
    void checkReport();
    void results();
    void importDefaults();

private:
    // Runs the command; "@" stands for the test's folder, which messages
    // do not name.
    Run run(const QStringList &arguments) const
    {
        QStringList args;
        for (const QString &argument : arguments)
            args << QString(argument).replace(u'@', m_folder->path() + u'/');
        QBuffer out;
        QBuffer err;
        out.open(QIODevice::WriteOnly);
        err.open(QIODevice::WriteOnly);
        const int exitCode = RunCdTextCommand(args, out, err, UiLanguage::English);
        return {exitCode, out.data(),
                QString::fromUtf8(err.data()).remove(m_folder->path() + u'/')};
    }
    std::optional<Folder> m_folder;
};

void TestCdTextCommand::init()
{
    m_folder.emplace();
    m_folder->write(u"disc.txt"_s, WriteTitleFile(twoTracks(), {}));
    m_folder->write(u"a.cue"_s, "FILE \"a.wav\" WAVE\n  TRACK 01 AUDIO\n  TRACK 02 AUDIO\n");
}

void TestCdTextCommand::exits_data()
{
    QTest::addColumn<QByteArray>("titleFile"); // empty: twoTracks()
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("message"); // what the command says
    const QByteArray plain;               // twoTracks()
    const QStringList packs{u"packs"_s, u"@disc.txt"_s, u"-o"_s, u"@out.cdt"_s};
    const QStringList cue{u"cue"_s, u"@disc.txt"_s, u"--into"_s, u"@a.cue"_s, u"--lang"_s};
    const QStringList import{u"import"_s, u"@disc.txt"_s};
    const QByteArray cueBytes = "TITLE \"Line\x01"
                                "Break\"\nFILE \"a.wav\" WAVE\n  TRACK 01 AUDIO\n";
    QByteArray badCrc = packFile(disc(u"both"_s));
    badCrc[4 + 4 + 1] = 'a'; // after the header of the file and of pack 1: "Best" is "Bast"

    // One usage row per way out: a rule read from a beginning of the line,
    // an option missing from the whole line, the import's own checks, an
    // output that is an input. Help wins over all.
    QTest::newRow("language not known, after an option and its value")
        << plain << QStringList{u"v07t"_s, u"@disc.txt"_s, u"-o"_s, u"@out"_s, u"--lang=fr"_s}
        << ExitUsage << u"--lang takes 'en' or 'ja', not 'fr'"_s;
    QTest::newRow("packs without -o") << plain << QStringList{u"packs"_s, u"@disc.txt"_s}
                                      << ExitUsage << u"'packs' needs the option '-o'"_s;
    QTest::newRow("import: its own check")
        << cueBytes << QStringList{u"import"_s, u"@disc.txt"_s, u"--block"_s, u"0"_s} << ExitUsage
        << u"--block does not apply to a CUE sheet"_s;
    QTest::newRow("output over the sheet, named another way")
        << plain << cue + QStringList{u"en"_s, u"--output=@./a.cue"_s} << ExitUsage
        << u"'./a.cue' is an input"_s;
    QTest::newRow("help") << plain << QStringList{u"packs"_s, u"x"_s, u"-h"_s} << ExitDone
                          << u"Usage: sonolabe-cdtext"_s;

    QTest::newRow("no tracks") << QByteArray("ja\r\n0\tD\tA\r\n") << packs << ExitRefused
                               << u"error: the title file has no tracks"_s;
    QTest::newRow("no text in the language")
        << QByteArray("en\r\n0\tD\t\r\n1\tI\r\n\r\n")
        << QStringList{u"v07t"_s, u"@disc.txt"_s, u"--lang"_s, u"ja"_s} << ExitRefused
        << u"error: the title file holds no Japanese text"_s;
    QTest::newRow("English text refused")
        << titleFile([](TitleStore &s) { s.trackTitles(English, 2) = u"Outあ"_s; }) << packs
        << ExitRefused
        << u"error: English title of track 2: character 4 \"あ\" (U+3042) is not allowed in an "
           u"English title file"_s;
    QByteArray big = "en\r\n0\tD\t\r\n";
    for (int t = 1; t <= 30; ++t)
        big += QByteArray::number(t) + '\t' + QByteArray(109, 'x') + "\r\n";
    QTest::newRow("over budget, a repeat would fit")
        << big + "\r\n"
        << packs << ExitRefused
        << u"error: block 0 (English) needs 276 text packs, 24 more than the 252 that fit; with "
           u"--tab-repeat it needs 15 text packs and fits"_s;
    QTest::newRow("track count differs")
        << titleFile([](TitleStore &s) { s.trackCount = 3; }) << cue + QStringList{u"en"_s}
        << ExitRefused << u"error: 'a.cue' has 2 tracks but the title file has 3"_s;
    QTest::newRow("CUE text ending in 0x5C")
        << titleFile([](TitleStore &s) { s.trackTitles(Japanese, 2) = u"一覧表"_s; })
        << cue + QStringList{u"ja"_s} << ExitRefused
        << u"error: Japanese title of track 2: its last byte is 0x5C"_s;
    QTest::newRow("leading space in a sheet")
        << titleFile([](TitleStore &s) { s.discNames[English] = u" Best"_s; })
        << QStringList{u"v07t"_s, u"@disc.txt"_s} << ExitRefused
        << u"error: English disc name: an input sheet drops the spaces at the start"_s;

    // The import: the title file goes to standard output; a source it
    // cannot read gets none.
    QTest::newRow("import: a replacement told")
        << cueBytes << import << ExitDone
        << u"warning: English disc name: the control character U+0001 at character 5 written "
           u"as a space\n"_s;
    QTest::newRow("import: a title file is no source")
        << plain << import << ExitRefused << u"cannot tell what kind of file"_s;
    QTest::newRow("import: no text read")
        << QByteArray("FILE \"a.wav\" WAVE\n  TRACK 01 AUDIO\n") << import << ExitRefused
        << u"no text could be read from"_s;
    QTest::newRow("import: the size fits no pack file")
        << badCrc.chopped(2) << import + QStringList{u"--from"_s, u"packs"_s} << ExitRefused
        << u"warning: the size fits no CD-Text pack file\n"_s;
    QTest::newRow("import: a wrong CRC read on")
        << badCrc << import + QStringList{u"--ignore-crc"_s} << ExitDone
        << u"0\tBast of Sonolabe"_s;
}

// Whatever goes wrong, nothing is written and the inputs stay as they were.
void TestCdTextCommand::exits()
{
    QFETCH(QByteArray, titleFile);
    QFETCH(QStringList, arguments);
    QFETCH(int, exitCode);
    QFETCH(QString, message);
    if (!titleFile.isEmpty())
        m_folder->write(u"disc.txt"_s, titleFile);
    const QByteArray disc = m_folder->read(u"disc.txt"_s);
    const QByteArray sheet = m_folder->read(u"a.cue"_s);
    const Run result = run(arguments);
    QCOMPARE(result.exitCode, exitCode);
    const QString said = QString::fromUtf8(result.out) + result.err;
    QVERIFY2(said.contains(message), qPrintable(said));
    QCOMPARE(result.err.contains(u"Try 'sonolabe-cdtext --help'."_s), exitCode == ExitUsage);
    QCOMPARE(result.out.isEmpty(), exitCode != ExitDone);
    QCOMPARE(m_folder->read(u"disc.txt"_s), disc);
    QCOMPARE(m_folder->read(u"a.cue"_s), sheet);
    QVERIFY(!QFile::exists(m_folder->path(u"out.cdt"_s)));
}

// Every problem of every text, each kind once per text with its first
// character; errors refuse the disc, warnings do not.
void TestCdTextCommand::checkReport()
{
    m_folder->write(u"disc.txt"_s, titleFile([](TitleStore &s) {
                        s.artistNames[English] = u"Baﾝnd"_s;
                        s.trackTitles(English, 1) = u"abあé"_s;
                        s.trackTitles(Japanese, 1) = u"曲\t名①"_s;
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
        u"block 1 (Japanese): 3 of 252 text packs\n"
        u"error: English artist name: character 3 \"ﾝ\" (U+FF9D) is not allowed in an English "
        u"title file\n"
        u"error: English title of track 1: character 3 \"あ\" (U+3042) is not allowed in an "
        u"English title file\n"
        u"error: Japanese title of track 1: character 2 (U+0009) is a control character, which "
        u"CD-Text cannot hold\n"
        u"warning: Japanese title of track 1: character 4 \"①\" (U+2460) is outside JIS X 0208; "
        u"many players cannot show it\n"
        u"warning: Japanese title of track 2: character 1 \"①\" (U+2460) is outside JIS X 0208; "
        u"many players cannot show it (and 1 more such characters)\n"
        u"cannot be burned as it is; errors: 3, warnings: 2\n"_s);
    QVERIFY(result.err.isEmpty());
}

// Without -o a result goes to standard output; the sheet read with --into
// stays as it was. A warning does not stop a result.
void TestCdTextCommand::results()
{
    const Run v07t = run({u"v07t"_s, u"@disc.txt"_s});
    QCOMPARE(v07t.exitCode, ExitDone);
    QCOMPARE(v07t.out, "Input Sheet Version = 0.7T\nText Code           = 8859\n"
                       "Language Code       = English\nAlbum Title         = Best\n"
                       "Artist Name         = Band\nFirst Track Number  = 1\n"
                       "Last Track Number   = 2\nTrack 01 Title      = Intro\n"
                       "Track 02 Title      = Outro\n"
                       "Input Sheet Version = 0.7T\nText Code           = MS-JIS\n"
                       "Language Code       = Japanese\nAlbum Title         = " +
                           sjis(u"ベスト"_s) +
                           "\nFirst Track Number  = 1\nLast Track Number   = 2\n"
                           "Track 01 Title      = " +
                           sjis(u"序曲"_s) + "\nTrack 02 Title      = " + sjis(u"表紙"_s) + "\n");

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

// The import with every option left unset reads no pack with a wrong CRC.
void TestCdTextCommand::importDefaults()
{
    QByteArray file = packFile(twoTracks());
    file[4 + 4] = 'X';
    m_folder->write(u"bad.cdt"_s, file);
    ImportOptions options;
    options.source = m_folder->path(u"bad.cdt"_s);
    QBuffer out;
    QBuffer err;
    out.open(QIODevice::WriteOnly);
    err.open(QIODevice::WriteOnly);
    QCOMPARE(RunImport(options, out, err, UiLanguage::English), ExitRefused);
    QVERIFY(out.data().isEmpty());
    QVERIFY(err.data().startsWith("warning: pack 1: wrong CRC (--ignore-crc reads it anyway)\n"));
}

QTEST_GUILESS_MAIN(TestCdTextCommand)
#include "tst_cdtextcommand.moc"
