// SPDX-License-Identifier: GPL-3.0-or-later
// The sonolabe-cdtext command line. Run in-process: usage errors (exit 2),
// refused input (exit 1), help, the check report, and where results go. Run
// as a process, against the burning tools that tst_burnroutes does not
// cover: cdrskin loads a pack file for a burn and checks its CRCs, cdrdao
// reads a TOC file. A test whose tool is not installed is skipped; ./test.sh
// (and so CI) installs them all.
#include "cdtexttest.h"
#include "common/files.h"

#include "cdtext/cli/command.h"
#include "cdtext/import/importsource.h"

#include <QBuffer>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <optional>

using namespace sonolabe;
using namespace sonolabe::cdtext;
using namespace sonolabe::cdtext::test;

namespace {

struct Run
{
    int exitCode = -1;
    QByteArray out;
    QString err;
};

// The title file of the two-track disc after a change.
QByteArray titleFile(void (*change)(TitleStore &))
{
    TitleStore store = twoTracks();
    change(store);
    return writeTitleFile(store, {});
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
    void outputKept_data();
    void outputKept();
    void cdrskinBurnRun_data();
    void cdrskinBurnRun();
    void cdrdaoReadsToc_data();
    void cdrdaoReadsToc();

private:
    // Runs the command in-process; "@" stands for the test's folder, which
    // messages do not name.
    Run run(const QStringList &arguments) const
    {
        QStringList args;
        for (const QString &argument : arguments)
            args << QString(argument).replace(u'@', m_dir->path() + u'/');
        QBuffer out;
        QBuffer err;
        out.open(QIODevice::WriteOnly);
        err.open(QIODevice::WriteOnly);
        const int exitCode = RunCdTextCommand(args, out, err, UiLanguage::English);
        return {exitCode, out.data(), QString::fromUtf8(err.data()).remove(m_dir->path() + u'/')};
    }
    // A run that does not end within 10 s counts as failed (exit code -1).
    Run tool(const QString &program, const QStringList &arguments) const
    {
        QProcess process;
        process.setWorkingDirectory(m_dir->path());
        process.start(program, arguments);
        const bool ended = process.waitForFinished(10000);
        return {ended && process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
                process.readAllStandardOutput(), QString::fromUtf8(process.readAllStandardError())};
    }
    // Writes the title file disc.txt and runs the command as a process:
    // COMMAND disc.txt OPTIONS.
    Run cdtext(const TitleStore &store, const QString &command, const QStringList &options)
    {
        write(u"disc.txt"_s, writeTitleFile(store, {}));
        return tool(QStringLiteral(SONOLABE_CDTEXT_EXE),
                    QStringList{command, u"disc.txt"_s} + options);
    }
    void write(const QString &name, const QByteArray &bytes) const
    {
        QVERIFY(sonolabe::test::writeFile(m_dir->filePath(name), bytes));
    }
    QByteArray read(const QString &name) const
    {
        QFile file(m_dir->filePath(name));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    std::optional<QTemporaryDir> m_dir; // one per test function
};

#define REQUIRE_TOOL(name)                                                                         \
    do {                                                                                           \
        if (QStandardPaths::findExecutable(QStringLiteral(name)).isEmpty())                        \
            QSKIP(name " is not installed (Debian packages cdrskin, cdrdao, cuetools; "            \
                       "./test.sh installs them)");                                                \
    } while (false)

void TestCdTextCommand::init()
{
    m_dir.emplace();
    write(u"a.cue"_s, "FILE \"a.wav\" WAVE\n  TRACK 01 AUDIO\n  TRACK 02 AUDIO\n");
}

void TestCdTextCommand::exits_data()
{
    QTest::addColumn<QByteArray>("titleFile");
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("message"); // what the command says
    const QByteArray plain = writeTitleFile(twoTracks(), {});
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
    QTest::newRow("cdrdao version not a version")
        << plain << QStringList{u"toc"_s,    u"@disc.txt"_s,        u"--into"_s,
                                u"@a.cue"_s, u"--cdrdao-version"_s, u"1.2.x"_s}
        << ExitUsage << u"--cdrdao-version takes a version such as 1.2.4, not '1.2.x'"_s;
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

    // Results: without -o on standard output; a warning does not stop one.
    QTest::newRow("v07t on standard output")
        << plain << QStringList{u"v07t"_s, u"@disc.txt"_s, u"--lang"_s, u"en"_s} << ExitDone
        << u"Input Sheet Version = 0.7T\nText Code           = 8859\n"
           u"Language Code       = English\nAlbum Title         = Best\n"_s;
    QTest::newRow("a warning, the packs written")
        << titleFile([](TitleStore &s) { s.discNames[Japanese] = u"㈱ベスト"_s; }) << packs
        << ExitDone
        << u"warning: Japanese disc name: character 1 \"㈱\" (U+3231) is outside JIS X 0208"_s;

    QTest::newRow("no tracks") << QByteArray("ja\r\n0\tD\tA\r\n") << packs << ExitRefused
                               << u"error: the title file has no tracks"_s;
    QTest::newRow("no text in the language")
        << QByteArray("en\r\n0\tD\t\r\n1\tI\r\n\r\n")
        << QStringList{u"v07t"_s, u"@disc.txt"_s, u"--lang"_s, u"ja"_s} << ExitRefused
        << u"error: the title file holds no Japanese text"_s;
    QTest::newRow("English text refused")
        << titleFile([](TitleStore &s) { s.trackTitles(English, 2) = u"Outあ"_s; }) << packs
        << ExitRefused
        << u"error: English title of track 2: character 4 \"あ\" (U+3042) is not allowed"_s;
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
    QTest::newRow("TOC, Japanese, for cdrdao 1.2.4")
        << titleFile([](TitleStore &s) { s.discNames[English].clear(); })
        << QStringList{u"toc"_s,    u"@disc.txt"_s,        u"--into"_s,
                       u"@a.cue"_s, u"--cdrdao-version"_s, u"1.2.4"_s}
        << ExitRefused << u"(ENCODING_MS_JIS needs cdrdao 1.2.5 or later); use packs"_s;
    QTest::newRow("CUE text ending in 0x5C")
        << titleFile([](TitleStore &s) { s.trackTitles(Japanese, 2) = u"一覧表"_s; })
        << cue + QStringList{u"ja"_s, u"-o"_s, u"@x.cue"_s} << ExitRefused
        << u"error: Japanese title of track 2: its last byte is 0x5C"_s;
    QTest::newRow("CUE, Japanese: a pack file name no sheet can hold")
        << plain << cue + QStringList{u"ja"_s, u"-o"_s, u"@q\"x.cue"_s} << ExitRefused
        << u"error: a CUE sheet cannot name the pack file 'q\"x.cdt'"_s;
    QTest::newRow("leading space in a sheet")
        << titleFile([](TitleStore &s) { s.discNames[English] = u" Best"_s; })
        << QStringList{u"v07t"_s, u"@disc.txt"_s, u"--lang"_s, u"en"_s} << ExitRefused
        << u"error: English disc name: an input sheet drops the spaces at the start"_s;

    // check reads the file as the editor does and tells what looks wrong.
    QTest::newRow("check: a line that is no title line")
        << QByteArray("en\r\n0\tD\tA\r\n1\tx\r\nstray\r\n\r\n")
        << QStringList{u"check"_s, u"@disc.txt"_s} << ExitDone
        << u"warning: line 4 is neither a section name nor number, Tab, text; it is read as "
           u"the editor reads it: \"stray\""_s;
    QTest::newRow("check: LF line ends told")
        << QByteArray("en\n0\tD\tA\n1\tx\n") << QStringList{u"check"_s, u"@disc.txt"_s}
        << ExitRefused << u"the lines end in LF alone"_s;

    // The import: the title file goes to standard output; a source it
    // cannot read gets none.
    QTest::newRow("import: a replacement told")
        << cueBytes << import << ExitDone
        << u"warning: English disc name: the control character U+0001 at character 5 written "
           u"as a space\n"_s;
    QTest::newRow("import: a title file is no source")
        << plain << import << ExitRefused << u"cannot tell what kind of file"_s;
    QTest::newRow("import: a wrong CRC refused unless asked")
        << badCrc << import << ExitRefused
        << u"warning: pack 1: wrong CRC (--ignore-crc reads it anyway)"_s;
    QTest::newRow("import: a wrong CRC read on")
        << badCrc << import + QStringList{u"--from"_s, u"packs"_s, u"--ignore-crc"_s} << ExitDone
        << u"0\tBast of Sonolabe"_s;
}

// The inputs stay as they were whatever happens; a refusal writes nothing.
void TestCdTextCommand::exits()
{
    QFETCH(QByteArray, titleFile);
    QFETCH(QStringList, arguments);
    QFETCH(int, exitCode);
    QFETCH(QString, message);
    write(u"disc.txt"_s, titleFile);
    const QByteArray sheet = read(u"a.cue"_s);
    const Run result = run(arguments);
    QCOMPARE(result.exitCode, exitCode);
    const QString said = QString::fromUtf8(result.out) + result.err;
    QVERIFY2(said.contains(message), qPrintable(said));
    QCOMPARE(result.err.contains(u"Try 'sonolabe-cdtext --help'."_s), exitCode == ExitUsage);
    QCOMPARE(read(u"disc.txt"_s), titleFile);
    QCOMPARE(read(u"a.cue"_s), sheet);
    // A refusal writes nothing; packs written are whole.
    QCOMPARE(packFileWhole(read(u"out.cdt"_s)),
             exitCode == ExitDone && arguments.contains(u"@out.cdt"_s));
    if (exitCode != ExitDone)
        QVERIFY(result.out.isEmpty());
}

// Every problem of every text, each kind once per text with its first
// character; errors refuse the disc, warnings do not.
void TestCdTextCommand::checkReport()
{
    write(u"disc.txt"_s, titleFile([](TitleStore &s) {
              s.artistNames[English] = u"Baﾝnd"_s;
              s.trackTitles(English, 1) = u"abあé"_s;
              s.trackTitles(Japanese, 1) = u"曲\t名①"_s;
              s.trackTitles(Japanese, 2) = u"①表紙②"_s;
          }));
    const Run result = run({u"check"_s, u"@disc.txt"_s, u"--cdrdao-version"_s, u"1.2.4"_s});
    QCOMPARE(result.exitCode, ExitRefused);
    QCOMPARE(
        QString::fromUtf8(result.out).remove(m_dir->path() + u'/'), // named as it was given
        u"disc.txt: 2 tracks\n"
        u"block 0 (English): 3 of 252 text packs\n"
        u"block 1 (Japanese): 3 of 252 text packs\n"
        u"packs: the texts reach the disc as they are\n"
        u"v07t: cdrskin (libburn) burns the texts of a Japanese (MS-JIS) v07t sheet on the "
        u"wrong tracks: it ends each text with one NUL and clears the double-byte flag; use "
        u"packs (v07t --lang en writes the English block alone)\n"
        u"cue: one language a sheet: --lang en burns the English texts as they are, --lang ja "
        u"the Japanese ones through a pack file (CDTEXTFILE)\n"
        u"toc: cdrdao 1.2.4 marks every CD-Text block ISO-8859-1, so the Japanese texts would be "
        u"burned as other characters (ENCODING_MS_JIS needs cdrdao 1.2.5 or later); use packs "
        u"with cdrskin, or toc --lang en, or --cdrdao-version if you burn with a newer cdrdao\n"
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

void TestCdTextCommand::outputKept_data()
{
    QTest::addColumn<QString>("script"); // $X is the command, run in the test's folder
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("message");
    QTest::newRow("v07t to a full device")
        << u"$X v07t disc.txt --lang en >/dev/full"_s << 1
        << u"error: cannot write '-': No space left on device\n"_s;
    QTest::newRow("check to a full device")
        << u"$X check disc.txt --cdrdao-version 1.2.5 >/dev/full"_s << 1
        << u"error: cannot write '-': No space left on device\n"_s;
    QTest::newRow("import to a full device: no success line")
        << u"$X packs disc.txt -o d.cdt && $X import d.cdt >/dev/full"_s << 1
        << u"error: cannot write '-': No space left on device\n"_s;
    QTest::newRow("names that are not UTF-8")
        << u"cp disc.txt \"$(printf 'n\\377.txt')\" && "
           u"$X packs \"$(printf 'n\\377.txt')\" -o \"$(printf 'o\\376.cdt')\" && "
           u"test -s \"$(printf 'o\\376.cdt')\""_s
           // Qt cannot remove what it cannot name; the shell can.
           u"; status=$?; rm -f n?.txt o?.cdt; exit $status"_s
        << 0 << QString();
}

// Nothing is lost quietly: standard output that takes nothing is an error,
// and a file name is the bytes given.
void TestCdTextCommand::outputKept()
{
    QFETCH(QString, script);
    QFETCH(int, exitCode);
    QFETCH(QString, message);
    write(u"disc.txt"_s, writeTitleFile(twoTracks(), {}));
    QProcess shell;
    shell.setWorkingDirectory(m_dir->path());
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(u"X"_s, QStringLiteral(SONOLABE_CDTEXT_EXE));
    shell.setProcessEnvironment(environment);
    shell.start(u"sh"_s, {u"-c"_s, script});
    QVERIFY(shell.waitForFinished(10000));
    const QString err = QString::fromUtf8(shell.readAllStandardError());
    QVERIFY2(shell.exitCode() == exitCode, qPrintable(err));
    QCOMPARE(err, message);
}

void TestCdTextCommand::cdrskinBurnRun_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("spoil");
    QTest::newRow("99 tracks at the limit") << u"99 tracks"_s << false;
    // The judgement must be able to fail: cdrskin checks the CRCs of a pack
    // file it is to burn.
    QTest::newRow("control: a CRC spoiled") << u"both"_s << true;
}

// A burn run of a pack file on a null device: cdrskin loads it, then stops
// because the device is no CD. Its exit code is 10 either way; its message
// tells. (Sheets are read by libburn's own parsers in tst_burnroutes.)
void TestCdTextCommand::cdrskinBurnRun()
{
    REQUIRE_TOOL("cdrskin");
    QFETCH(QString, name);
    QFETCH(bool, spoil);
    const TitleStore store = disc(name);
    const Run made = cdtext(store, u"packs"_s, {u"-o"_s, u"disc.cdt"_s});
    QVERIFY2(made.exitCode == 0, qPrintable(made.err));
    if (spoil) {
        QByteArray bytes = read(u"disc.cdt"_s);
        bytes[4 + 17] = static_cast<char>(bytes[4 + 17] ^ 0x40);
        write(u"disc.cdt"_s, bytes);
    }
    write(u"track.raw"_s, QByteArray());
    QStringList arguments{u"--allow_emulated_drives"_s, u"dev=stdio:/dev/null"_s, u"-sao"_s,
                          u"textfile=disc.cdt"_s, u"-audio"_s};
    for (int t = 0; t < store.trackCount; ++t)
        arguments << u"track.raw"_s;
    const Run dry = tool(u"cdrskin"_s, arguments);
    const QByteArray said = dry.out + dry.err.toUtf8();
    QCOMPARE(said.contains("audio track prohibited by non-CD"), !spoil);
    QCOMPARE(said.contains("CRC mismatch"), spoil);
}

void TestCdTextCommand::cdrdaoReadsToc_data()
{
    QTest::addColumn<int>("language");
    QTest::addColumn<QString>("cdrdao"); // the version the file is written for
    QTest::newRow("English, cdrdao 1.2.4") << int(English) << u"1.2.4"_s;
    QTest::newRow("Japanese, cdrdao 1.2.5: ENCODING_MS_JIS") << int(Japanese) << u"1.2.5"_s;
}

// The TOC road, which libburn does not take: the import gives back the texts
// the file was made from, and Japanese ones are declared ENCODING_MS_JIS
// (cdrdao 1.2.5; for 1.2.4 the command refuses them, a row of exits). For
// English, cdrdao reads the file (show-toc fails on a syntax error) and
// toc2cddb prints the titles as cdrdao decoded them.
void TestCdTextCommand::cdrdaoReadsToc()
{
    REQUIRE_TOOL("cdrdao");
    REQUIRE_TOOL("toc2cddb");
    QFETCH(int, language);
    QFETCH(QString, cdrdao);
    TitleStore store = disc(language == Japanese ? u"Japanese only"_s : u"both"_s);
    if (language == English) {
        store.trackTitles(English, 2) = u"12\" Mix \\ B"_s; // escaped in a TOC string
        store.discNames[Japanese] = store.artistNames[Japanese] = QString();
        for (int t = 1; t <= store.trackCount; ++t)
            store.trackTitles(Japanese, t).clear();
    } else {
        store.discNames[Japanese] = u"一覧表"_s;
        store.trackTitles(Japanese, 1) = u"ソ"_s;
        store.trackTitles(Japanese, 2) = u"\"表\"\\"_s;
    }
    write(u"audio.raw"_s, QByteArray(4 * 75 * 2352, '\0'));
    write(u"in.toc"_s, "CD_DA\n\n// track 1\nTRACK AUDIO\nFILE \"audio.raw\" 0\n"
                       "TRACK AUDIO\nFILE \"audio.raw\" 0\n"
                       "TRACK AUDIO\nFILE \"audio.raw\" 0\n");
    const Run made =
        cdtext(store, u"toc"_s,
               {u"--into"_s, u"in.toc"_s, u"-o"_s, u"out.toc"_s, u"--cdrdao-version"_s, cdrdao});
    QVERIFY2(made.exitCode == 0, qPrintable(made.err));
    const QByteArray toc = read(u"out.toc"_s);
    QCOMPARE(toc.contains("ENCODING_MS_JIS"), language == Japanese);
    QCOMPARE(ImportTexts(toc, ImportKind::Toc, {}).titleFile(), burnedTitleFile(store));
    if (language == Japanese)
        return;
    const Run shown = tool(u"cdrdao"_s, {u"show-toc"_s, u"out.toc"_s});
    QVERIFY2(shown.exitCode == 0 && !shown.err.contains(u"ERROR"_s), qPrintable(shown.err));
    const Run cddb = tool(u"toc2cddb"_s, {u"out.toc"_s});
    QCOMPARE(cddb.exitCode, 0);
    const QList<QByteArray> lines = cddb.out.split('\n');
    QVERIFY(lines.contains("DTITLE=" + store.artistNames[English].toLatin1() + " / " +
                           store.discNames[English].toLatin1()));
    for (int t = 1; t <= store.trackCount; ++t)
        QVERIFY(lines.contains("TTITLE" + QByteArray::number(t - 1) + '=' +
                               store.trackTitles(English, t).toLatin1()));
}

QTEST_GUILESS_MAIN(TestCdTextCommand)
#include "tst_cdtextcommand.moc"
