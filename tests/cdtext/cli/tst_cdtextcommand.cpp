// SPDX-License-Identifier: GPL-3.0-or-later
// The sonolabe-cdtext command line, run as a process: every command line
// that the README and the manual pages show, run as written and its result
// read back; every exit code, the messages in English and Japanese, the
// check report, and where results go; and cdrdao reading a TOC file (the
// road tst_burnroutes does not take). A test whose tool is not installed is
// skipped; ./test.sh (and so CI) installs them all.
#include "cdtext/audio/silentaudio.h"
#include "cdtext/cdtexttest.h"
#include "common/files.h"

#include "cdtext/cli/command.h"
#include "cdtext/v07t/v07t.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>


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
    void init()
    {
        m_dir.emplace();
        write(u"a.cue"_s, "FILE \"a.wav\" WAVE\n  TRACK 01 AUDIO\n  TRACK 02 AUDIO\n");
        TitleStore one = threeTracks();
        one.trackCount = 1;
        write(u"take%1.txt"_s, writeTitleFile(one, {}));
        write(u"t%2.cdt"_s, packFile(one));
    }

    // Every command line shown in the README and in the manual pages, English and
    // Japanese, as a row: "sonolabe-cdtext" lines of the README's indented
    // examples and of the manual pages' EX blocks, also where the clipboard is
    // piped into it.
    void documentedUses_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QStringList seen;
        for (const char *document : {"README.md", "packaging/man/sonolabe-cdtext.1",
                                     "packaging/man/ja/sonolabe-cdtext.1"}) {
            QFile file(QStringLiteral(SONOLABE_SOURCE_DIR "/") + QLatin1StringView(document));
            QVERIFY2(file.open(QIODevice::ReadOnly), document);
            const QString text = QString::fromUtf8(file.readAll()).replace(u"\\-"_s, u"-"_s);
            static const QRegularExpression example(
                u"^(?:    )?(?:xclip -o \\| )?sonolabe-cdtext ([a-z][^#\\n]*)"_s,
                QRegularExpression::MultilineOption);
            int found = 0;
            for (const QRegularExpressionMatch &match : example.globalMatch(text)) {
                ++found;
                const QString line = match.captured(1).trimmed();
                if (!seen.contains(line)) {
                    seen << line;
                    QTest::newRow(qPrintable(line)) << line.split(u' ', Qt::SkipEmptyParts);
                }
            }
            QVERIFY2(found >= 4, document); // the examples are still there
        }
    }

    // Run as written in a folder holding the files the documents start from, with
    // a cdrdao that can burn Japanese; each result is read back to the texts of
    // the title file it was made from (the languages --lang names). album/ holds
    // its Japanese texts as the tags of WAV files named against the track order,
    // and the clipboard ("-") its English titles as a pasted track list.
    void documentedUses()
    {
        QFETCH(QStringList, arguments);
        const TitleStore store = threeTracks();
        write(u"disc.txt"_s, writeTitleFile(store, {}));
        write(u"disc.cue"_s, "FILE \"a.wav\" WAVE\n  TRACK 01 AUDIO\n  TRACK 02 AUDIO\n"
                             "  TRACK 03 AUDIO\n");
        write(u"disc.toc"_s, "CD_DA\nTRACK AUDIO\nFILE \"a.raw\" 0\nTRACK AUDIO\nFILE \"a.raw\" 0\n"
                             "TRACK AUDIO\nFILE \"a.raw\" 0\n");
        write(u"disc.v07t"_s, WriteV07tSheets(DiscBlocks(store, {true, false})).bytes);
        QVERIFY(QDir(m_dir->path()).mkdir(u"bin"_s));
        write(u"bin/cdrdao"_s, "#!/bin/sh\necho 'Cdrdao version 1.2.5 - (C)'\n");
        QFile::setPermissions(m_dir->filePath(u"bin/cdrdao"_s), QFile::ReadOwner | QFile::ExeOwner);
        QVERIFY(QDir(m_dir->path()).mkdir(u"album"_s));
        QByteArray clipboard;
        for (int t = 1; t <= store.trackCount; ++t) {
            const AudioTags tags{
                store.trackTitles(Japanese, t), u"x"_s, store.artistNames[Japanese],
                store.discNames[Japanese],      t,      0};
            const QString name = u"album/%1.wav"_s.arg(QChar(u'a' + store.trackCount - t));
            QVERIFY(writeAudioFile(m_dir->filePath(name), AudioFormat::WavId3, tags));
            clipboard += QByteArray::number(t) + ". The Band - " +
                         store.trackTitles(English, t).toUtf8() + '\n';
        }
        const Run result =
            tool(QStringLiteral(SONOLABE_CDTEXT_EXE), arguments, environment(u"C"_s), clipboard);
        QVERIFY2(result.exitCode == ExitDone, qPrintable(result.err));
        const QString command = arguments.value(0);
        const qsizetype o = arguments.indexOf(u"-o"_s);
        const QByteArray output = o < 0 ? result.out : read(arguments.value(o + 1));
        const QString lang = arguments.value(arguments.indexOf(u"--lang"_s) + 1);
        // What import makes of the tags, and of the list, is opened as the editor
        // opens it.
        const bool audio = arguments.contains(u"album/"_s), list = arguments.contains(u"list"_s);
        if (audio || list) {
            TitleStore expected = onlyLanguage(store, audio ? Japanese : English);
            expected.discNames[English].clear(); // a list names no disc
            const std::optional<TitleStore> opened = parseTitleFile(output);
            QVERIFY(opened && *opened == expected);
            return;
        }
        if (command == u"check") {
            QVERIFY2(result.out.startsWith("disc.txt: 3 tracks\n") &&
                         result.out.endsWith("\nready to burn; warnings: 1\n"),
                     result.out.constData());
            return;
        }
        // The result read back as import reads it: a title file as it is, a CUE
        // sheet's Japanese block from the pack file it names.
        ImportChoice choice;
        if (lang == u"en")
            choice.language = English;
        QByteArray readBack = output;
        if (command == u"cue" && lang == u"ja") {
            QVERIFY(output.contains("CDTEXTFILE \"disc-text.cdt\""));
            readBack = ImportTexts(read(u"disc-text.cdt"_s), ImportKind::Packs, {}).titleFile();
        } else if (command != u"import") {
            readBack = ImportTexts(output, DetectImportKind(output).value(), choice).titleFile();
        }
        // disc.v07t, which import reads, holds the English texts.
        const bool english = lang == u"en" || command == u"import";
        QCOMPARE(readBack, burnedTitleFile(english         ? onlyLanguage(store, English)
                                           : lang == u"ja" ? onlyLanguage(store, Japanese)
                                                           : store));
    }

    void exits_data()
    {
        QTest::addColumn<QByteArray>("titleFile");
        QTest::addColumn<QString>("arguments"); // split at each space
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("message"); // what the command says; "ja:" rows in Japanese
        const QByteArray plain = writeTitleFile(twoTracks(), {});
        const QString packs = u"packs disc.txt -o out.cdt"_s,
                      cue = u"cue disc.txt --into a.cue --lang "_s;
        const QByteArray cueBytes = "TITLE \"Line\x01"
                                    "Break\"\nFILE \"a.wav\" WAVE\n  TRACK 01 AUDIO\n";
        QByteArray badCrc = packFile(threeTracks());
        badCrc[4 + 4 + 1] = 'a'; // after the header of the file and of pack 1: "Best" is "Bast"

        // One usage row per way out: a wrong value, the import's own checks, an
        // output that is an input (a missing option is a Japanese row below).
        QTest::newRow("language not known, after an option and its value")
            << plain << u"v07t disc.txt -o out --lang=fr"_s << ExitUsage
            << u"--lang takes 'en' or 'ja', not 'fr'"_s;
        QTest::newRow("import: its own check")
            << cueBytes << u"import disc.txt --block 0"_s << ExitUsage
            << u"--block does not apply to a CUE sheet"_s;
        QTest::newRow("output over the sheet, named another way")
            << plain << cue + u"en --output=./a.cue"_s << ExitUsage << u"'./a.cue' is an input"_s;

        // A warning does not stop a result.
        QTest::newRow("a warning, the packs written")
            << titleFile([](TitleStore &s) { s.discNames[Japanese] = u"㈱ベスト"_s; }) << packs
            << ExitDone
            << u"warning: Japanese disc name: character 1 \"㈱\" (U+3231) is outside JIS X 0208"_s;

        QTest::newRow("no tracks") << "ja\r\n0\tD\tA\r\n"_ba << packs << ExitRefused
                                   << u"error: the title file has no tracks"_s;
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
            << u"error: block 0 (English) needs 276 text packs, 24 more than the 252 that fit; "
               u"with --tab-repeat it needs 15 text packs and fits"_s;
        QTest::newRow("TOC, Japanese, for cdrdao 1.2.4")
            << titleFile([](TitleStore &s) { s.discNames[English].clear(); })
            << u"toc disc.txt --into a.cue --cdrdao-version 1.2.4"_s << ExitRefused
            << u"(ENCODING_MS_JIS needs cdrdao 1.2.5 or later); use packs"_s;
        QTest::newRow("CUE text ending in 0x5C")
            << titleFile([](TitleStore &s) { s.trackTitles(Japanese, 2) = u"一覧表"_s; })
            << cue + u"ja -o x.cue"_s << ExitRefused
            << u"error: Japanese title of track 2: its last byte is 0x5C"_s;
        QTest::newRow("CUE, Japanese: a pack file name no sheet can hold")
            << plain << cue + u"ja -o q\"x.cue"_s << ExitRefused
            << u"error: a CUE sheet cannot name the pack file './q\"x.cdt'"_s;
        QTest::newRow("leading space in a sheet")
            << titleFile([](TitleStore &s) { s.discNames[English] = u" Best"_s; })
            << u"v07t disc.txt --lang en"_s << ExitRefused
            << u"error: English disc name: an input sheet drops the spaces at the start"_s;

        // check reads the file as the editor does and tells what looks wrong.
        QTest::newRow("check: a line that is no title line")
            << "en\r\n0\tD\tA\r\n1\tx\r\nstray\r\n\r\n"_ba << u"check disc.txt"_s << ExitDone
            << u"warning: line 4 is neither a section name nor number, Tab, text; it is read as "
               u"the editor reads it: \"stray\""_s;
        // Every problem of every text, each kind once per text with its first
        // character; errors refuse the disc, warnings do not.
        QTest::newRow("check: every problem")
            << titleFile([](TitleStore &s) {
                   s.artistNames[English] = u"Baﾝnd"_s;
                   s.trackTitles(English, 1) = u"abあé"_s;
                   s.trackTitles(Japanese, 1) = u"曲\t名①"_s;
                   s.trackTitles(Japanese, 2) = u"①表紙②"_s;
               })
            << u"check disc.txt --cdrdao-version 1.2.4"_s << ExitRefused
            << u"\nerror: English artist name: character 3 \"ﾝ\" (U+FF9D) is not allowed in an "
               u"English title file\n"
               u"error: English title of track 1: character 3 \"あ\" (U+3042) is not allowed in an "
               u"English title file\n"
               u"error: Japanese title of track 1: character 2 (U+0009) is a control character, "
               u"which CD-Text cannot hold\n"
               u"warning: Japanese title of track 1: character 4 \"①\" (U+2460) is outside JIS X "
               u"0208; many players cannot show it\n"
               u"warning: Japanese title of track 2: character 1 \"①\" (U+2460) is outside JIS X "
               u"0208; many players cannot show it (and 1 more such character)\n"
               u"cannot be burned as it is; errors: 3, warnings: 2\n"_s;
        QTest::newRow("check: LF line ends told") << "en\n0\tD\tA\n1\tx\n"_ba << u"check disc.txt"_s
                                                  << ExitRefused << u"the lines end in LF alone"_s;

        // The import: the title file goes to standard output; a source it
        // cannot read gets none.
        QTest::newRow("import: a wrong CRC refused unless asked")
            << badCrc << u"import disc.txt"_s << ExitRefused
            << u"warning: pack 1: wrong CRC\nerror: the text of 'disc.txt' was not read: its "
               u"CRCs are wrong (--ignore-crc reads it anyway)"_s;
        QTest::newRow("import: a wrong CRC read on")
            << badCrc << u"import disc.txt --from packs --ignore-crc"_s << ExitDone
            << u"0\tBast of Sonolabe"_s;
        QTest::newRow("import: a wrong CRC read on, noted")
            << badCrc << u"import disc.txt --ignore-crc"_s << ExitDone
            << u"note: pack 1: wrong CRC; its text read all the same (--ignore-crc)"_s;

        // Through the translation: a count of one, file names holding the
        // placeholders of a message, the help, and the version as the editor's.
        QTest::newRow("one track, a name with %1")
            << plain << u"check take%1.txt"_s << 0 << u"take%1.txt: 1 track\n"_s;
        QTest::newRow("ja: one track, a name with %1")
            << plain << u"check take%1.txt"_s << 0 << u"take%1.txt: 1 曲\n"_s;
        QTest::newRow("import: one track, a name with %2")
            << plain << u"import t%2.cdt -o n.txt"_s << 0
            << u"t%2.cdt (CD-Text pack file): 1 track, English and Japanese\n"_s;
        QTest::newRow("ja: wrong usage") << plain << u"packs disc.txt"_s << 2
                                         << u"sonolabe-cdtext: 'packs' にはｵﾌﾟｼｮﾝ '-o' が必要です\n"
                                            u"'sonolabe-cdtext --help' で使い方を表示します。\n"_s;
        QTest::newRow("ja: help") << plain << u"cue --help"_s << 0
                                  << u"使い方: sonolabe-cdtext ｺﾏﾝﾄﾞ 曲名ﾌｧｲﾙ [ｵﾌﾟｼｮﾝ]\n"_s;
        QTest::newRow("version, as the editor's")
            << plain << u"--version"_s << 0 << u"sonolabe-cdtext " SONOLABE_PROJECT_VERSION "\n"_s;
    }

    // The inputs stay as they were whatever happens; a refusal writes nothing.
    void exits()
    {
        QFETCH(QByteArray, titleFile);
        QFETCH(QString, arguments);
        QFETCH(int, exitCode);
        QFETCH(QString, message);
        write(u"disc.txt"_s, titleFile);
        const QByteArray sheet = read(u"a.cue"_s);
        const bool japanese = QByteArrayView(QTest::currentDataTag()).startsWith("ja:");
        const Run result = tool(QStringLiteral(SONOLABE_CDTEXT_EXE), arguments.split(u' '),
                                environment(japanese ? u"ja_JP.UTF-8"_s : u"C"_s));
        QCOMPARE(result.exitCode, exitCode);
        const QString said = QString::fromUtf8(result.out) + result.err;
        QVERIFY2(said.contains(message), qPrintable(said));
        QCOMPARE(result.err.contains(u"--help"_s), exitCode == ExitUsage);
        QCOMPARE(read(u"disc.txt"_s), titleFile);
        QCOMPARE(read(u"a.cue"_s), sheet);
        // A refusal writes nothing; packs written are whole.
        QCOMPARE(packFileWhole(read(u"out.cdt"_s)),
                 exitCode == ExitDone && arguments.contains(u"out.cdt"_s));
        if (exitCode != ExitDone && !arguments.startsWith(u"check")) // the report is check's result
            QVERIFY(result.out.isEmpty());
    }

    void outputKept_data()
    {
        QTest::addColumn<QString>("script"); // $X is the command, run in the test's folder
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("message");
        QTest::newRow("import to a full device: no success line")
            << u"$X packs disc.txt -o d.cdt && $X import d.cdt >/dev/full"_s << 1
            << u"error: cannot write '-': No space left on device\n"_s;
        // Refused before a tag is read, in both languages, and nothing written.
        QTest::newRow("more than 99 audio files")
            << u"mkdir many && for i in $(seq 100); do : >many/$i.wav; done && "
               u"for l in C ja_JP.UTF-8; do LANGUAGE= LC_ALL=$l $X import many -o t.txt; "
               u"test $? = 1 -a ! -e t.txt || exit 9; done"_s
            << 0
            << u"error: 100 audio files, more than the 99 tracks of a disc; nothing read\n"
               u"ｴﾗｰ: 音声ﾌｧｲﾙが 100 個あり、1 枚のﾃﾞｨｽｸの 99 曲を超えています。何も読みません\n"_s;
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
    void outputKept()
    {
        QFETCH(QString, script);
        QFETCH(int, exitCode);
        write(u"disc.txt"_s, writeTitleFile(twoTracks(), {}));
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(u"X"_s, QStringLiteral(SONOLABE_CDTEXT_EXE));
        const Run shell = tool(u"sh"_s, {u"-c"_s, script}, environment);
        QVERIFY2(shell.exitCode == exitCode, qPrintable(shell.err));
        QTEST(shell.err, "message");
    }

    // The TOC road, which libburn does not take: cdrdao reads the file (show-toc
    // fails on a syntax error) and toc2cddb prints the titles as cdrdao decoded
    // them. (The Japanese ENCODING_MS_JIS file is read back in documentedUses;
    // for cdrdao 1.2.4 the command refuses it, a row of exits.)
    void cdrdaoReadsToc()
    {
        for (const QString &name : {u"cdrdao"_s, u"toc2cddb"_s}) {
            if (QStandardPaths::findExecutable(name).isEmpty())
                QSKIP("cdrdao or toc2cddb is missing (Debian packages cdrdao, cuetools)");
        }
        TitleStore store = onlyLanguage(threeTracks(), English);
        store.trackTitles(English, 2) = u"12\" Mix \\ B"_s; // escaped in a TOC string
        write(u"audio.raw"_s, QByteArray(4 * 75 * 2352, '\0'));
        write(u"in.toc"_s, "CD_DA\n\n// track 1\nTRACK AUDIO\nFILE \"audio.raw\" 0\n"
                           "TRACK AUDIO\nFILE \"audio.raw\" 0\n"
                           "TRACK AUDIO\nFILE \"audio.raw\" 0\n");
        write(u"disc.txt"_s, writeTitleFile(store, {}));
        const Run made = tool(QStringLiteral(SONOLABE_CDTEXT_EXE),
                              u"toc disc.txt --into in.toc -o out.toc"_s.split(u' '));
        QVERIFY2(made.exitCode == 0, qPrintable(made.err));
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

private:
    // A run that does not end within 10 s counts as failed (exit code -1).
    // Standard input holds input, and ends.
    Run tool(const QString &program, const QStringList &arguments,
             const QProcessEnvironment &environment = QProcessEnvironment::systemEnvironment(),
             const QByteArray &input = {}) const
    {
        QProcess process;
        process.setProcessEnvironment(environment);
        process.setWorkingDirectory(m_dir->path());
        process.start(program, arguments);
        process.write(input);
        process.closeWriteChannel();
        const bool ended = process.waitForFinished(10000);
        return {ended && process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
                process.readAllStandardOutput(), QString::fromUtf8(process.readAllStandardError())};
    }
    // The environment of a run in locale, with PATH starting at the test's bin.
    QProcessEnvironment environment(const QString &locale) const
    {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.remove(u"LANGUAGE"_s);
        environment.insert(u"LC_ALL"_s, locale);
        environment.insert(u"PATH"_s,
                           m_dir->filePath(u"bin"_s) + u':' + environment.value(u"PATH"_s));
        return environment;
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

QTEST_GUILESS_MAIN(TestCdTextCommand)
#include "tst_cdtextcommand.moc"
