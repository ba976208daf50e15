// SPDX-License-Identifier: GPL-3.0-or-later
// Proof against the burning tools: the files sonolabe-cdtext writes are read
// back by cdrskin, cueprint (cuetools) and cdrdao and say what the title file
// says; what cdrskin decodes and what cdrdao accepts imports to the texts it
// was made from. A test whose tool is not installed is skipped; ./test.sh
// (and so CI) installs them all.
#include "cdtexttest.h"

#include "cdtext/importsource.h"
#include "cdtext/packs.h"
#include "cdtext/tocfile.h"
#include "cdtext/v07t.h"

#include <QProcess>
#include <QStandardPaths>

#include <map>
#include <optional>

using namespace sonolabe;
using namespace sonolabe::cdtext;
using namespace sonolabe::cdtext::test;

namespace {

using Fields = std::map<QString, QString>;

// The sections of a tool's report, each begun by a line holding start, as
// "key<separator>value" lines; values are MS-JIS when japanese or when the
// section's Text Code says so.
std::vector<Fields> sections(const QByteArray &report, const char *start, const char *separator,
                             bool japanese)
{
    std::vector<Fields> found;
    for (const QByteArray &line : report.split('\n')) {
        const qsizetype at = line.indexOf(separator);
        if (line.contains(start)) {
            found.emplace_back();
        } else if (at > 0 && !found.empty()) {
            const QByteArray value = line.mid(at + qstrlen(separator));
            const bool msJis = japanese || found.back()[u"Text Code"_s] == u"MS-JIS";
            found.back()[QString::fromLatin1(line.left(at)).trimmed()] =
                (msJis ? Cp932Decoder::instance().decode(value) : QString::fromLatin1(value))
                    .remove(u'\t');
        }
    }
    return found;
}

} // namespace

class TestCdTextTools : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init() { m_folder.emplace(); }
    void cdrskinDecodesPacks_data();
    void cdrskinDecodesPacks();
    void cdrskinBurnRun_data();
    void cdrskinBurnRun();
    void cueprintReadsCue_data();
    void cueprintReadsCue();
    void cdrdaoReadsToc_data();
    void cdrdaoReadsToc();

private:
    // A run that does not end within 10 s counts as failed (exit code -1).
    Run run(const QString &program, const QStringList &arguments) const
    {
        QProcess process;
        process.setWorkingDirectory(m_folder->path());
        process.start(program, arguments);
        const bool ended = process.waitForFinished(10000);
        return {ended && process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
                process.readAllStandardOutput(), QString::fromUtf8(process.readAllStandardError())};
    }
    // Writes the title file disc.txt and runs COMMAND disc.txt OPTIONS.
    Run cdtext(const TitleStore &store, const QString &command, const QStringList &options)
    {
        m_folder->write(u"disc.txt"_s, WriteTitleFile(store, {}));
        return run(QStringLiteral(SONOLABE_CDTEXT_EXE),
                   QStringList{command, u"disc.txt"_s} + options);
    }
    std::optional<Folder> m_folder;
};

#define REQUIRE_TOOL(name)                                                                         \
    do {                                                                                           \
        if (QStandardPaths::findExecutable(QStringLiteral(name)).isEmpty())                        \
            QSKIP(name " is not installed (Debian packages cdrskin, cdrdao, cuetools; "            \
                       "./test.sh installs them)");                                                \
    } while (false)

void TestCdTextTools::cdrskinDecodesPacks_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("packs");
    // Per block its text packs and three size packs. English: titles of
    // 17 + 13 + 5 + 6 bytes (4 packs), performers 9 + 3 (1). Japanese:
    // titles 12 + 16 + 10 + 6 (4 packs), performers 14 + 3 x 2 (2).
    QTest::newRow("English only") << u"English only"_s << 5 + 3;
    QTest::newRow("Japanese only") << u"Japanese only"_s << 6 + 3;
    QTest::newRow("both") << u"both"_s << 5 + 3 + 6 + 3;
    QTest::newRow("both, repeats as Tabs") << u"both repeated"_s << 5 + 3 + 6 + 3;
    // cdrskin's decoder refuses a 99-track pack file ("illegal track range 1
    // to 99"), so full blocks are decoded with 98 tracks; the 99-track file
    // is loaded by cdrskin's burn run below.
    QTest::newRow("98 tracks, both blocks at the limit") << u"98 tracks"_s << 2 * 255;
}

void TestCdTextTools::cdrskinDecodesPacks()
{
    REQUIRE_TOOL("cdrskin");
    QFETCH(QString, name);
    QFETCH(int, packs);
    const TitleStore store = disc(name);
    const QStringList tabs =
        name.contains(u"repeated") ? QStringList{u"--tab-repeat"_s} : QStringList();
    const Run made = cdtext(store, u"packs"_s, QStringList{u"-o"_s, u"disc.cdt"_s} + tabs);
    QVERIFY2(made.exitCode == 0, qPrintable(made.err));
    const QByteArray file = m_folder->read(u"disc.cdt"_s);
    QCOMPARE(file.size(), 4 + packs * PackSize);
    // cdrskin does not look at the CRCs when it decodes; this does.
    QVERIFY(VerifyPackFile(file).ok);

    const Run decoded = run(u"cdrskin"_s, {u"textfile_to_v07t=disc.cdt"_s});
    QCOMPARE(decoded.exitCode, 0);
    std::vector<Fields> blocks = sections(decoded.out, "Input Sheet Version", " = ", false);
    // Block 0 is English, unless the disc has Japanese texts only.
    std::vector<int> languages{English, Japanese};
    if (name.contains(u"only"))
        languages = {name.contains(u"English") ? English : Japanese};
    QCOMPARE(blocks.size(), languages.size());
    for (size_t b = 0; b < blocks.size(); ++b) {
        Fields &block = blocks[b];
        const int language = languages[b];
        const auto burned = [&](const QString &text) {
            return language == Japanese ? DoubleByteForm(text) : text;
        };
        QCOMPARE(block[u"Language Code"_s], language == English ? u"English"_s : u"Japanese"_s);
        QCOMPARE(block[u"Text Code"_s], language == English ? u"8859"_s : u"MS-JIS"_s);
        QCOMPARE(block[u"Last Track Number"_s], QString::number(store.trackCount));
        QCOMPARE(block[u"Album Title"_s], burned(store.discNames[language]));
        QCOMPARE(block[u"Artist Name"_s], burned(store.artistNames[language]));
        for (int t = 1; t <= store.trackCount; ++t) {
            QCOMPARE(block[u"Track "_s + QString::number(t).rightJustified(2, u'0') + u" Title"_s],
                     burned(store.trackTitles(language, t)));
        }
    }
    // The import reads cdrskin's report, which it tells by its content.
    QCOMPARE(DetectImportKind(decoded.out), std::optional<ImportKind>(ImportKind::V07t));
    QCOMPARE(ImportTexts(decoded.out, ImportKind::V07t, {}).titleFile(),
             titleFileOf(asBurned(store)));
}

void TestCdTextTools::cdrskinBurnRun_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("command");
    QTest::addColumn<bool>("spoil");
    QTest::newRow("pack file, 99 tracks at the limit") << u"99 tracks"_s << u"packs"_s << false;
    QTest::newRow("sheet") << u"both"_s << u"v07t"_s << false;
    QTest::newRow("sheet, 99 tracks at the limit") << u"99 tracks"_s << u"v07t"_s << false;
    // The judgement must be able to fail: cdrskin checks the CRCs of a pack
    // file it is to burn, and refuses an unknown language in a sheet.
    QTest::newRow("control: a CRC spoiled") << u"both"_s << u"packs"_s << true;
    QTest::newRow("control: a broken sheet") << u"both"_s << u"v07t"_s << true;
}

// A burn run on a null device: cdrskin loads the pack file or reads the
// sheets, then stops because the device is no CD. Its exit code is 10 either
// way; its message tells.
void TestCdTextTools::cdrskinBurnRun()
{
    REQUIRE_TOOL("cdrskin");
    QFETCH(QString, name);
    QFETCH(QString, command);
    QFETCH(bool, spoil);
    const TitleStore store = disc(name);
    const bool packs = command == u"packs";
    const QString file = packs ? u"disc.cdt"_s : u"disc.v07t"_s;
    const Run made = cdtext(store, command, {u"-o"_s, file});
    QVERIFY2(made.exitCode == 0, qPrintable(made.err));
    if (spoil) {
        QByteArray bytes = m_folder->read(file);
        if (packs)
            bytes[4 + 17] = static_cast<char>(bytes[4 + 17] ^ 0x40);
        else
            bytes.replace("Japanese", "Klingon");
        m_folder->write(file, bytes);
    }
    m_folder->write(u"track.raw"_s, QByteArray());
    QStringList arguments{u"--allow_emulated_drives"_s, u"dev=stdio:/dev/null"_s, u"-sao"_s};
    arguments << (packs ? QStringList{u"textfile="_s + file}
                        : QStringList{u"--cdtext_dummy"_s, u"input_sheet_v07t="_s + file});
    arguments << u"-audio"_s;
    for (int t = 0; t < store.trackCount; ++t)
        arguments << u"track.raw"_s;
    const Run dry = run(u"cdrskin"_s, arguments);
    const QByteArray said = dry.out + dry.err.toUtf8();
    QCOMPARE(said.contains("audio track prohibited by non-CD"), !spoil);
    QCOMPARE(said.contains(packs ? "CRC mismatch" : "v07t"), spoil);
}

void TestCdTextTools::cueprintReadsCue_data()
{
    QTest::addColumn<int>("language");
    QTest::newRow("English") << English;
    QTest::newRow("Japanese") << Japanese;
}

// cueprint prints the texts it read, and complains on standard error (never
// in its exit code) about anything it cannot parse.
void TestCdTextTools::cueprintReadsCue()
{
    REQUIRE_TOOL("cueprint");
    QFETCH(int, language);
    const TitleStore store = disc(u"both"_s);
    m_folder->write(u"in.cue"_s,
                    "REM GENRE Pop\r\nFILE \"audio.wav\" WAVE\r\n"
                    "  TRACK 01 AUDIO\r\n    TITLE \"old\"\r\n    INDEX 01 00:00:00\r\n"
                    "  TRACK 02 AUDIO\r\n    INDEX 01 01:00:00\r\n"
                    "  TRACK 03 AUDIO\r\n    PERFORMER \"Guest\"\r\n    INDEX 01 02:00:00\r\n");
    const Run made = cdtext(store, u"cue"_s,
                            {u"--into"_s, u"in.cue"_s, u"--lang"_s,
                             language == English ? u"en"_s : u"ja"_s, u"-o"_s, u"out.cue"_s});
    QVERIFY2(made.exitCode == 0, qPrintable(made.err));

    const Run printed = run(u"cueprint"_s, {u"out.cue"_s});
    QCOMPARE(printed.err, QString());
    std::vector<Fields> found = sections(printed.out, " Information", ":\t", language == Japanese);
    QCOMPARE(int(found.size()), 1 + store.trackCount);
    QCOMPARE(found[0][u"title"_s], store.discNames[language]);
    QCOMPARE(found[0][u"performer"_s], store.artistNames[language]);
    for (int t = 1; t <= store.trackCount; ++t)
        QCOMPARE(found[t][u"title"_s], store.trackTitles(language, t));
    QCOMPARE(found[3][u"perfomer"_s], u"Guest"_s); // cueprint's own spelling
}

void TestCdTextTools::cdrdaoReadsToc_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("utf8"); // texts as cdrdao 1.2.5 writes them
    QTest::newRow("both, English is language 0") << u"both"_s << false;
    QTest::newRow("Japanese only, 表 and ソ at the end") << u"Japanese only"_s << false;
    QTest::newRow("Japanese only, UTF-8") << u"Japanese only"_s << true;
}

// cdrdao reads the TOC file (show-toc fails on a syntax error), toc2cddb
// prints language 0's titles as cdrdao decoded them, and the import gives
// back the texts the file was made from.
void TestCdTextTools::cdrdaoReadsToc()
{
    REQUIRE_TOOL("cdrdao");
    REQUIRE_TOOL("toc2cddb");
    QFETCH(QString, name);
    QFETCH(bool, utf8);
    TitleStore store = disc(name);
    const int language = LanguageHasText(store, English) ? English : Japanese;
    if (language == English) {
        store.trackTitles(English, 2) = u"12\" Mix \\ B"_s; // escaped in a TOC string
    } else {
        store.discNames[Japanese] = u"一覧表"_s;
        store.trackTitles(Japanese, 1) = u"ソ"_s;
        store.trackTitles(Japanese, 2) = u"\"表\"\\"_s;
    }
    m_folder->write(u"audio.raw"_s, QByteArray(4 * 75 * 2352, '\0'));
    m_folder->write(u"in.toc"_s, "CD_DA\n\n// track 1\nTRACK AUDIO\nFILE \"audio.raw\" 0\n"
                                 "TRACK AUDIO\nFILE \"audio.raw\" 0\n"
                                 "TRACK AUDIO\nFILE \"audio.raw\" 0\n");
    const Run made = cdtext(store, u"toc"_s, {u"--into"_s, u"in.toc"_s, u"-o"_s, u"out.toc"_s});
    QVERIFY2(made.exitCode == 0, qPrintable(made.err));
    QByteArray toc = m_folder->read(u"out.toc"_s);
    // The bytes of a text in language 0 as cdrdao has them.
    const auto bytes = [&](const QString &text) {
        return language == English ? text.toLatin1()
               : utf8              ? DoubleByteForm(text).toUtf8()
                                   : JapaneseBlockBytes(text);
    };
    if (utf8) {
        // Every text again, its escapes written out as UTF-8.
        QStringList texts{store.discNames[Japanese], store.artistNames[Japanese]};
        for (int t = 1; t <= store.trackCount; ++t)
            texts << store.trackTitles(Japanese, t);
        for (const QString &text : texts)
            toc.replace(TocString(JapaneseBlockBytes(text)), QByteArray('"' + bytes(text) + '"'));
        QVERIFY(toc.contains("\xE4\xB8\x80\xE8\xA6\xA7")); // 一覧, as it is
        m_folder->write(u"out.toc"_s, toc);
    }
    const Run shown = run(u"cdrdao"_s, {u"show-toc"_s, u"out.toc"_s});
    QVERIFY2(shown.exitCode == 0, qPrintable(shown.err));
    QVERIFY2(!shown.err.contains(u"ERROR"_s), qPrintable(shown.err));

    const Run cddb = run(u"toc2cddb"_s, {u"out.toc"_s});
    QCOMPARE(cddb.exitCode, 0);
    std::map<QByteArray, QByteArray> fields;
    for (const QByteArray &line : cddb.out.split('\n'))
        fields[line.left(line.indexOf('='))] = line.mid(line.indexOf('=') + 1);
    QCOMPARE(fields["DTITLE"],
             bytes(store.artistNames[language]) + " / " + bytes(store.discNames[language]));
    for (int t = 1; t <= store.trackCount; ++t)
        QCOMPARE(fields["TTITLE" + QByteArray::number(t - 1)],
                 bytes(store.trackTitles(language, t)));
    QCOMPARE(ImportTexts(toc, ImportKind::Toc, {}).titleFile(), titleFileOf(asBurned(store)));
}

QTEST_GUILESS_MAIN(TestCdTextTools)
#include "tst_cdtexttools.moc"
