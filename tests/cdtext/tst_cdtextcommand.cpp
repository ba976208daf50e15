// The sonolabe-cdtext command line, run in-process: usage errors (exit 2),
// refused input (exit 1), the check report, and where results go.
#include "cdtext/command.h"
#include "cdtext/packs.h"
#include "cdtext/v07t.h"
#include "model/titlefile.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

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

TitleStore sampleDisc()
{
    TitleStore store;
    store.TrackCount = 2;
    store.DiscNames[English] = u"Best"_s;
    store.ArtistNames[English] = u"Band"_s;
    store.TrackTitles(English, 1) = u"Intro"_s;
    store.TrackTitles(English, 2) = u"Outro"_s;
    store.DiscNames[Japanese] = u"ベスト"_s;
    store.TrackTitles(Japanese, 1) = u"序曲"_s;
    store.TrackTitles(Japanese, 2) = u"表紙"_s;
    return store;
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
    void checkReport_data();
    void checkReport();
    void results();
    void warningsDoNotStopAResult();

private:
    QString path(const QString &name) const { return m_dir->filePath(name); }
    void writeFile(const QString &name, const QByteArray &bytes) const
    {
        QFile file(path(name));
        QVERIFY(file.open(QIODevice::WriteOnly));
        QCOMPARE(file.write(bytes), bytes.size());
    }
    void writeDisc(const QString &name, const TitleStore &store) const
    {
        writeFile(name, WriteTitleFile(store, {}));
    }
    QByteArray readFile(const QString &name) const
    {
        QFile file(path(name));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    // Runs the command in the temporary folder; "@name" stands for a file
    // in it.
    Run run(const QStringList &arguments, UiLanguage language = UiLanguage::English) const
    {
        QStringList args;
        for (const QString &argument : arguments)
            args << (argument.startsWith(u'@') ? path(argument.mid(1)) : argument);
        QBuffer out;
        QBuffer err;
        out.open(QIODevice::WriteOnly);
        err.open(QIODevice::WriteOnly);
        Run result;
        result.exitCode = RunCdTextCommand(args, out, err, language);
        result.out = out.data();
        result.err = QString::fromUtf8(err.data()).replace(m_dir->path() + u'/', QString());
        return result;
    }
    std::unique_ptr<QTemporaryDir> m_dir;
};

void TestCdTextCommand::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    writeDisc(u"disc.txt"_s, sampleDisc());
    writeFile(u"a.cue"_s, "FILE \"a.wav\" WAVE\n  TRACK 01 AUDIO\n  TRACK 02 AUDIO\n");
}

void TestCdTextCommand::usage_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("message");
    QTest::newRow("nothing") << QStringList() << u"no command given"_s;
    QTest::newRow("unknown command")
        << QStringList{u"burn"_s, u"@disc.txt"_s} << u"unknown command 'burn'"_s;
    QTest::newRow("no title file")
        << QStringList{u"packs"_s, u"-o"_s, u"@x.cdt"_s} << u"no title file given"_s;
    QTest::newRow("packs without -o")
        << QStringList{u"packs"_s, u"@disc.txt"_s} << u"'packs' needs the option '-o'"_s;
    QTest::newRow("cue without --lang")
        << QStringList{u"cue"_s, u"@disc.txt"_s, u"--into"_s, u"@a.cue"_s}
        << u"'cue' needs the option '--lang'"_s;
    QTest::newRow("toc without --into")
        << QStringList{u"toc"_s, u"@disc.txt"_s} << u"'toc' needs the option '--into'"_s;
    QTest::newRow("language not known") << QStringList{u"v07t"_s, u"@disc.txt"_s, u"--lang=fr"_s}
                                        << u"--lang takes 'en' or 'ja', not 'fr'"_s;
    QTest::newRow("unknown option")
        << QStringList{u"check"_s, u"@disc.txt"_s, u"--fast"_s} << u"unknown option '--fast'"_s;
    QTest::newRow("-o for check") << QStringList{u"check"_s, u"@disc.txt"_s, u"-o"_s, u"@x"_s}
                                  << u"option '-o' does not apply to 'check'"_s;
    QTest::newRow("--tab-repeat for toc")
        << QStringList{u"toc"_s, u"@disc.txt"_s, u"--into"_s, u"@a.toc"_s, u"--tab-repeat"_s}
        << u"option '--tab-repeat' does not apply to 'toc'"_s;
    QTest::newRow("-o without value")
        << QStringList{u"packs"_s, u"@disc.txt"_s, u"-o"_s} << u"option '-o' needs a value"_s;
    QTest::newRow("two title files") << QStringList{u"check"_s, u"@disc.txt"_s, u"other.txt"_s}
                                     << u"unexpected argument 'other.txt'"_s;
    QTest::newRow("output over the title file")
        << QStringList{u"packs"_s, u"@disc.txt"_s, u"--output"_s, u"@disc.txt"_s}
        << u"'disc.txt' is an input; write the result to another file"_s;
    QTest::newRow("output over the sheet")
        << QStringList{u"cue"_s,    u"@disc.txt"_s, u"--into"_s,           u"@a.cue"_s,
                       u"--lang"_s, u"en"_s,        u"--output=@./a.cue"_s}
        << u"is an input; write the result to another file"_s;
}

void TestCdTextCommand::usage()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, message);
    // "--output=@..." names a file in the folder too.
    for (QString &argument : arguments)
        argument.replace(u"=@"_s, u'=' + m_dir->path() + u'/');
    const QByteArray disc = readFile(u"disc.txt"_s);
    const QByteArray sheet = readFile(u"a.cue"_s);
    const Run result = run(arguments);
    QCOMPARE(result.exitCode, ExitUsage);
    QVERIFY2(result.err.contains(message), qPrintable(result.err));
    QVERIFY(result.err.contains(u"Try 'sonolabe-cdtext --help'."_s));
    QVERIFY(result.out.isEmpty());
    QCOMPARE(readFile(u"disc.txt"_s), disc);
    QCOMPARE(readFile(u"a.cue"_s), sheet);
}

void TestCdTextCommand::help_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<bool>("japanese");
    QTest::addColumn<QString>("start");
    QTest::newRow("--help") << QStringList{u"--help"_s} << false << u"Usage: sonolabe-cdtext"_s;
    QTest::newRow("-h after a command")
        << QStringList{u"packs"_s, u"x"_s, u"-h"_s} << false << u"Usage: sonolabe-cdtext"_s;
    QTest::newRow("Japanese") << QStringList{u"--help"_s} << true << u"使い方: sonolabe-cdtext"_s;
}

void TestCdTextCommand::help()
{
    QFETCH(QStringList, arguments);
    QFETCH(bool, japanese);
    QFETCH(QString, start);
    const Run result = run(arguments, japanese ? UiLanguage::Japanese : UiLanguage::English);
    QCOMPARE(result.exitCode, ExitDone);
    const QString text = QString::fromUtf8(result.out);
    QVERIFY2(text.startsWith(start), qPrintable(text));
    for (const char16_t *command : {u"check", u"packs", u"v07t", u"cue", u"toc"})
        QVERIFY(text.contains(u"  "_s + QStringView(command) + u' '));
    QVERIFY(result.err.isEmpty());
}

void TestCdTextCommand::refused_data()
{
    QTest::addColumn<QString>("setup");
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("message");
    const QStringList packs{u"packs"_s, u"@disc.txt"_s, u"-o"_s, u"@out.cdt"_s};
    QTest::newRow("missing title file")
        << u"missing"_s << packs << u"error: cannot read the title file 'disc.txt': "_s;
    QTest::newRow("not a title file")
        << u"plain text"_s << packs
        << u"error: 'disc.txt' is not a CD-TEXT title file (it has no \"ja\" or \"en\" line)"_s;
    QTest::newRow("no tracks") << u"no tracks"_s << packs
                               << u"error: the title file has no tracks"_s;
    QTest::newRow("no text") << u"no text"_s << packs
                             << u"error: the title file holds no text to write"_s;
    QTest::newRow("no text in the language")
        << u"English only"_s << QStringList{u"v07t"_s, u"@disc.txt"_s, u"--lang"_s, u"ja"_s}
        << u"error: the title file holds no Japanese text"_s;
    QTest::newRow("English text refused")
        << u"hiragana in English"_s << packs
        << u"error: English title of track 2: character 4 \"あ\" (U+3042) is not allowed in an "
           u"English title file"_s;
    QTest::newRow("half-width katakana on the English side")
        << u"katakana in English"_s << packs
        << u"error: English disc name: character 1 \"ｱ\" (U+FF71) has no ISO-8859-1 form; the "
           u"disc would show another character"_s;
    QTest::newRow("Tab in a Japanese title")
        << u"Tab in Japanese"_s << packs
        << u"error: Japanese title of track 1: character 2 (U+0009) is a control character, "
           u"which CD-Text cannot hold"_s;
    // "D" and 30 titles of 109 characters: 2 + 30 x 110 = 3302 bytes, 276
    // packs; with repeats 2 + 110 + 29 x 2 = 170 bytes, 15 packs.
    QTest::newRow("over budget, a repeat would fit")
        << u"repeated long titles"_s << packs
        << u"error: block 0 (English) needs 276 text packs, 24 more than the 252 that fit; with "
           u"--tab-repeat it needs 15 text packs and fits"_s;
    QTest::newRow("sheet missing")
        << QString() << QStringList{u"toc"_s, u"@disc.txt"_s, u"--into"_s, u"@none.toc"_s}
        << u"error: cannot read 'none.toc': "_s;
    QTest::newRow("sheet is a folder")
        << QString() << QStringList{u"toc"_s, u"@disc.txt"_s, u"--into"_s, u"@."_s}
        << u"is a directory"_s;
    QTest::newRow("track count differs")
        << u"three tracks"_s
        << QStringList{u"cue"_s, u"@disc.txt"_s, u"--into"_s, u"@a.cue"_s, u"--lang"_s, u"en"_s}
        << u"error: 'a.cue' has 2 tracks but the title file has 3"_s;
    QTest::newRow("quote in a CUE title")
        << u"quote"_s
        << QStringList{u"cue"_s, u"@disc.txt"_s, u"--into"_s, u"@a.cue"_s, u"--lang"_s, u"en"_s}
        << u"error: English title of track 1: a CUE sheet cannot hold a double quote"_s;
    QTest::newRow("leading space in a sheet")
        << u"leading space"_s << QStringList{u"v07t"_s, u"@disc.txt"_s}
        << u"error: English disc name: an input sheet drops the spaces at the start"_s;
}

void TestCdTextCommand::refused()
{
    QFETCH(QString, setup);
    QFETCH(QStringList, arguments);
    QFETCH(QString, message);
    TitleStore store = sampleDisc();
    if (setup == u"missing") {
        QVERIFY(QFile::remove(path(u"disc.txt"_s)));
    } else if (setup == u"plain text") {
        writeFile(u"disc.txt"_s, "just text\r\n");
    } else if (setup == u"no tracks") {
        writeFile(u"disc.txt"_s, "ja\r\n0\tD\tA\r\n");
    } else if (setup == u"no text") {
        writeFile(u"disc.txt"_s, "ja\r\n0\t\t\r\n1\t\r\n");
    } else if (setup == u"English only") {
        writeFile(u"disc.txt"_s, WriteTitleFile(store, {true, false}));
    } else if (!setup.isEmpty()) {
        if (setup == u"hiragana in English")
            store.TrackTitles(English, 2) = u"Outあ"_s;
        else if (setup == u"katakana in English")
            store.DiscNames[English] = u"ｱ"_s;
        else if (setup == u"Tab in Japanese")
            store.TrackTitles(Japanese, 1) = u"序\t曲"_s;
        else if (setup == u"three tracks")
            store.TrackCount = 3;
        else if (setup == u"quote")
            store.TrackTitles(English, 1) = u"12\" Mix"_s;
        else if (setup == u"leading space")
            store.DiscNames[English] = u" Best"_s;
        else if (setup == u"repeated long titles") {
            store.TrackCount = 30;
            store.ArtistNames[English].clear();
            store.DiscNames[English] = u"D"_s;
            for (int track = 1; track <= 30; ++track)
                store.TrackTitles(English, track) = QString(109, u'x');
        }
        writeDisc(u"disc.txt"_s, store);
    }
    const Run result = run(arguments);
    QCOMPARE(result.exitCode, ExitRefused);
    QVERIFY2(result.err.contains(message), qPrintable(result.err));
    QVERIFY(result.out.isEmpty());
    QVERIFY(!QFile::exists(path(u"out.cdt"_s)));
}

void TestCdTextCommand::checkReport_data()
{
    QTest::addColumn<QString>("setup");
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<bool>("japanese");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("report");
    QTest::newRow("clean") << QString() << QStringList() << false << ExitDone
                           << u"disc.txt: 2 tracks\n"
                              u"block 0 (English): 3 of 252 text packs\n"
                              u"block 1 (Japanese): 2 of 252 text packs\n"
                              u"ready to burn\n"_s;
    QTest::newRow("errors and warnings")
        << u"problems"_s << QStringList() << false << ExitRefused
        << u"disc.txt: 2 tracks\n"
           u"block 0 (English): 3 of 252 text packs\n"
           u"block 1 (Japanese): 2 of 252 text packs\n"
           u"error: English artist name: character 3 \"ﾝ\" (U+FF9D) is not allowed in an English "
           u"title file\n"
           u"warning: Japanese title of track 2: character 1 \"①\" (U+2460) is outside JIS X 0208; "
           u"many players cannot show it (and 1 more such characters)\n"
           u"cannot be burned as it is; errors: 1, warnings: 1\n"_s;
    QTest::newRow("only Japanese asked for")
        << u"problems"_s << QStringList{u"--lang"_s, u"ja"_s} << false << ExitDone
        << u"disc.txt: 2 tracks\n"
           u"block 0 (Japanese): 2 of 252 text packs\n"
           u"warning: Japanese title of track 2: character 1 \"①\" (U+2460) is outside JIS X 0208; "
           u"many players cannot show it (and 1 more such characters)\n"
           u"ready to burn; warnings: 1\n"_s;
    QTest::newRow("no English text") << u"Japanese only"_s << QStringList() << false << ExitDone
                                     << u"disc.txt: 2 tracks\n"
                                        u"English: no text, no block\n"
                                        u"block 0 (Japanese): 2 of 252 text packs\n"
                                        u"ready to burn\n"_s;
    QTest::newRow("Japanese messages") << u"Japanese only"_s << QStringList() << true << ExitDone
                                       << u"disc.txt: 2 曲\n"
                                          u"英語: ﾃｷｽﾄなし (ﾌﾞﾛｯｸなし)\n"
                                          u"ﾌﾞﾛｯｸ 0 (日本語): ﾃｷｽﾄﾊﾟｯｸ 2 / 252 個\n"
                                          u"そのまま書き込めます\n"_s;
}

void TestCdTextCommand::checkReport()
{
    QFETCH(QString, setup);
    QFETCH(QStringList, options);
    QFETCH(bool, japanese);
    QFETCH(int, exitCode);
    QFETCH(QString, report);
    TitleStore store = sampleDisc();
    if (setup == u"problems") {
        store.ArtistNames[English] = u"Baﾝnd"_s;
        store.TrackTitles(Japanese, 2) = u"①表紙②"_s;
    } else if (setup == u"Japanese only") {
        store.DiscNames[English].clear();
        store.ArtistNames[English].clear();
        store.TrackTitles(English, 1).clear();
        store.TrackTitles(English, 2).clear();
    }
    writeDisc(u"disc.txt"_s, store);
    // The report names the title file as it was given.
    QDir::setCurrent(m_dir->path());
    const Run result = run(QStringList{u"check"_s, u"disc.txt"_s} + options,
                           japanese ? UiLanguage::Japanese : UiLanguage::English);
    QCOMPARE(result.exitCode, exitCode);
    QCOMPARE(QString::fromUtf8(result.out), report);
    QVERIFY(result.err.isEmpty());
}

// Results go to the output file, or to standard output; the sheet read with
// --into stays as it was.
void TestCdTextCommand::results()
{
    Run packs = run({u"packs"_s, u"@disc.txt"_s, u"-o"_s, u"@out.cdt"_s});
    QCOMPARE(packs.exitCode, ExitDone);
    QVERIFY(packs.out.isEmpty());
    const PackFileVerdict verdict = VerifyPackFile(readFile(u"out.cdt"_s));
    QVERIFY(verdict.ok);
    QCOMPARE(verdict.packCount, 3 + 3 + 2 + 3);

    const Run v07t = run({u"v07t"_s, u"@disc.txt"_s});
    QCOMPARE(v07t.exitCode, ExitDone);
    QCOMPARE(v07t.out, WriteV07tSheets(DiscBlocks(sampleDisc(), {})).bytes);

    const QByteArray sheet = readFile(u"a.cue"_s);
    const Run cue = run({u"cue"_s, u"@disc.txt"_s, u"--into"_s, u"@a.cue"_s, u"--lang"_s, u"en"_s});
    QCOMPARE(cue.exitCode, ExitDone);
    QVERIFY(cue.out.startsWith("TITLE \"Best\"\nPERFORMER \"Band\"\nFILE"));
    QCOMPARE(readFile(u"a.cue"_s), sheet);

    writeFile(u"a.toc"_s, "TRACK AUDIO\nFILE \"a\" 0\nTRACK AUDIO\nFILE \"a\" 0\n");
    const Run toc = run({u"toc"_s, u"@disc.txt"_s, u"--into"_s, u"@a.toc"_s, u"-o"_s, u"@b.toc"_s});
    QCOMPARE(toc.exitCode, ExitDone);
    QVERIFY(toc.out.isEmpty());
    QVERIFY(
        readFile(u"b.toc"_s).startsWith("CD_TEXT {\n  LANGUAGE_MAP {\n    0 : EN\n    1 : 105"));
    QCOMPARE(readFile(u"a.toc"_s),
             QByteArray("TRACK AUDIO\nFILE \"a\" 0\nTRACK AUDIO\nFILE \"a\" 0\n"));
}

void TestCdTextCommand::warningsDoNotStopAResult()
{
    TitleStore store = sampleDisc();
    store.DiscNames[Japanese] = u"㈱ベスト"_s;
    writeDisc(u"disc.txt"_s, store);
    const Run result = run({u"packs"_s, u"@disc.txt"_s, u"-o"_s, u"@out.cdt"_s});
    QCOMPARE(result.exitCode, ExitDone);
    QCOMPARE(result.err, u"warning: Japanese disc name: character 1 \"㈱\" (U+3231) is outside JIS "
                         u"X 0208; many players cannot show it\n"_s);
    QVERIFY(VerifyPackFile(readFile(u"out.cdt"_s)).ok);
}

QTEST_GUILESS_MAIN(TestCdTextCommand)
#include "tst_cdtextcommand.moc"
