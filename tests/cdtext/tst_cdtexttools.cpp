// SPDX-License-Identifier: GPL-3.0-or-later
// Proof against the burning tools: the files sonolabe-cdtext writes are read
// back by cdrskin, cueprint (cuetools) and cdrdao, and say what the title
// file says. A test whose tool is not installed is skipped; ./test.sh
// installs them all.
#include "cdtexttest.h"

#include "cdtext/discblocks.h"
#include "cdtext/packs.h"
#include "model/codepage932.h"
#include "model/titlefile.h"

#include <QProcess>
#include <QStandardPaths>

#include <map>
#include <optional>

using namespace sonolabe;
using namespace sonolabe::cdtext;
using namespace Qt::Literals::StringLiterals;

namespace {

struct Result
{
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
};

using Fields = std::map<QString, QString>;

QString twoDigits(int n)
{
    return QString::number(n).rightJustified(2, u'0');
}

// The discs the tests burn, by name: "both", "English only", "Japanese
// only", "repeated" titles, or a disc of "98 tracks" or "99 tracks" whose
// blocks are at the budget, or one pack over it ("English over").
TitleStore disc(const QString &name)
{
    TitleStore store;
    if (name.contains(u"tracks")) {
        // Block budget: 252 packs of 12 bytes are 3024 bytes. English, 99
        // tracks: a disc name of 53 characters and titles of 29, each with
        // its NUL: 54 + 99 x 30. Japanese: 26 and 14 characters of two bytes,
        // each with two NULs: 54 + 99 x 30. With 98 tracks the disc name is
        // 30 bytes longer. One character more is one pack more.
        const int tracks = name.startsWith(u"99") ? 99 : 98;
        const int longer = (99 - tracks) * 30;
        store.trackCount = static_cast<quint8>(tracks);
        store.discNames[English] =
            u"Disc "_s + QString(48 + longer + name.contains(u"English over"), u'y');
        store.discNames[Japanese] =
            u"ベスト表ソ"_s + QString(21 + longer / 2 + name.contains(u"Japanese over"), u'あ');
        const QString digits = u"０１２３４５６７８９"_s;
        for (int t = 1; t <= tracks; ++t) {
            store.trackTitles(English, t) =
                QString(u"English title number "_s + twoDigits(t) + u' ').leftJustified(29, u'x');
            store.trackTitles(Japanese, t) =
                u"第"_s + digits[t / 10] + digits[t % 10] + u"曲表ソ能十予表ソ能十予"_s;
        }
        return store;
    }
    const bool repeated = name.contains(u"repeated");
    store.trackCount = 3;
    if (!name.contains(u"Japanese only")) {
        store.discNames[English] = u"Best of Sonolabe"_s;
        store.artistNames[English] = u"The Band"_s;
        store.trackTitles(English, 1) = u"Intro (Live)"_s;
        store.trackTitles(English, 2) = repeated ? u"Intro (Live)"_s : u"Song"_s;
        store.trackTitles(English, 3) = u"Outro"_s;
    }
    if (!name.contains(u"English only")) {
        store.discNames[Japanese] = u"ベスト表示"_s;
        store.artistNames[Japanese] = u"ｿﾉﾗﾍﾞ楽団"_s;
        store.trackTitles(Japanese, 1) = u"序曲 No.1"_s;
        store.trackTitles(Japanese, 2) = u"ソナタ①"_s;
        store.trackTitles(Japanese, 3) = repeated ? u"ソナタ①"_s : u"能"_s;
    }
    return store;
}

// The blocks of cdrskin's textfile_to_v07t report, texts decoded.
std::vector<Fields> parseV07t(const QByteArray &report)
{
    std::vector<Fields> blocks;
    for (const QByteArray &line : report.split('\n')) {
        const qsizetype equals = line.indexOf(" = ");
        if (line.contains("Input Sheet Version"))
            blocks.emplace_back();
        else if (equals > 0 && !blocks.empty())
            blocks.back()[QString::fromLatin1(line.left(equals)).trimmed()] =
                blocks.back()[u"Text Code"_s] == u"MS-JIS"
                    ? Cp932Decoder::instance().decode(line.mid(equals + 3))
                    : QString::fromLatin1(line.mid(equals + 3));
    }
    return blocks;
}

// Lines "key:<tabs>value" of cueprint's report, per section.
std::vector<Fields> parseCueprint(const QString &report)
{
    std::vector<Fields> sections;
    for (const QString &line : report.split(u'\n')) {
        const qsizetype colon = line.indexOf(u":\t");
        if (line.endsWith(u" Information"))
            sections.emplace_back();
        else if (colon > 0 && !sections.empty())
            sections.back()[line.left(colon)] = line.mid(colon + 1).remove(u'\t');
    }
    return sections;
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
    void overBudgetIsRefused_data();
    void overBudgetIsRefused();
    void cueprintReadsCue_data();
    void cueprintReadsCue();
    void cdrdaoReadsToc_data();
    void cdrdaoReadsToc();

private:
    // A run that does not end within 10 s counts as failed (exit code -1).
    Result run(const QString &program, const QStringList &arguments) const
    {
        QProcess process;
        process.setWorkingDirectory(m_folder->path());
        process.start(program, arguments);
        const bool ended = process.waitForFinished(10000);
        return {ended && process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
                process.readAllStandardOutput(), process.readAllStandardError()};
    }
    // Writes the title file disc.txt and runs COMMAND disc.txt OPTIONS.
    Result cdtext(const TitleStore &store, const QString &command, const QStringList &options)
    {
        m_folder->write(u"disc.txt"_s, WriteTitleFile(store, {}));
        return run(QStringLiteral(SONOLABE_CDTEXT_EXE),
                   QStringList{command, u"disc.txt"_s} + options);
    }
    std::optional<test::Folder> m_folder;
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
    // titles 12 + 16 + 10 + 4 (4 packs), performers 14 + 3 x 2 (2).
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
    const Result made = cdtext(store, u"packs"_s, QStringList{u"-o"_s, u"disc.cdt"_s} + tabs);
    QVERIFY2(made.exitCode == 0, made.err.constData());
    const QByteArray file = m_folder->read(u"disc.cdt"_s);
    QCOMPARE(file.size(), 4 + packs * PackSize);
    // cdrskin does not look at the CRCs when it decodes; this does.
    QVERIFY(VerifyPackFile(file).ok);

    const Result decoded = run(u"cdrskin"_s, {u"textfile_to_v07t=disc.cdt"_s});
    QCOMPARE(decoded.exitCode, 0);
    std::vector<Fields> blocks = parseV07t(decoded.out);
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
            QCOMPARE(block[u"Track "_s + twoDigits(t) + u" Title"_s],
                     burned(store.trackTitles(language, t)));
        }
    }
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
    const Result made = cdtext(store, command, {u"-o"_s, file});
    QVERIFY2(made.exitCode == 0, made.err.constData());
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
    const Result dry = run(u"cdrskin"_s, arguments);
    const QByteArray said = dry.out + dry.err;
    QCOMPARE(said.contains("audio track prohibited by non-CD"), !spoil);
    QCOMPARE(said.contains(packs ? "CRC mismatch" : "v07t"), spoil);
}

void TestCdTextTools::overBudgetIsRefused_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("message");
    QTest::newRow("English") << u"99 tracks, English over"_s
                             << u"block 0 (English) needs 253 text packs, 1 more than the 252"_s;
    QTest::newRow("Japanese") << u"99 tracks, Japanese over"_s
                              << u"block 1 (Japanese) needs 253 text packs, 1 more than the 252"_s;
}

// A 99-track disc one pack over the budget gets no file, and the message
// says by how much; the sheets for the burning tools are refused the same
// way.
void TestCdTextTools::overBudgetIsRefused()
{
    QFETCH(QString, name);
    QFETCH(QString, message);
    for (const QString &command : {u"packs"_s, u"v07t"_s}) {
        const Result result = cdtext(disc(name), command, {u"-o"_s, u"out"_s});
        QCOMPARE(result.exitCode, 1);
        QVERIFY2(QString::fromUtf8(result.err).contains(message), result.err.constData());
        QVERIFY(!QFile::exists(m_folder->path(u"out"_s)));
    }
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
    TitleStore store = disc(u"both"_s);
    store.trackTitles(Japanese, 3) = u"能力"_s; // 0x5C inside a text is harmless
    m_folder->write(u"in.cue"_s,
                    "REM GENRE Pop\r\nFILE \"audio.wav\" WAVE\r\n"
                    "  TRACK 01 AUDIO\r\n    TITLE \"old\"\r\n    INDEX 01 00:00:00\r\n"
                    "  TRACK 02 AUDIO\r\n    INDEX 01 01:00:00\r\n"
                    "  TRACK 03 AUDIO\r\n    PERFORMER \"Guest\"\r\n    INDEX 01 02:00:00\r\n");
    const Result made = cdtext(store, u"cue"_s,
                               {u"--into"_s, u"in.cue"_s, u"--lang"_s,
                                language == English ? u"en"_s : u"ja"_s, u"-o"_s, u"out.cue"_s});
    QVERIFY2(made.exitCode == 0, made.err.constData());

    const Result printed = run(u"cueprint"_s, {u"out.cue"_s});
    QCOMPARE(printed.err, QByteArray());
    const QString report = language == English ? QString::fromLatin1(printed.out)
                                               : Cp932Decoder::instance().decode(printed.out);
    std::vector<Fields> found = parseCueprint(report);
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
    QTest::addColumn<int>("language"); // language 0, whose texts toc2cddb prints
    QTest::newRow("both, English is language 0") << u"both"_s << English;
    QTest::newRow("Japanese only, 表 and ソ at the end") << u"Japanese only"_s << Japanese;
}

// cdrdao reads the TOC file (show-toc fails on a syntax error), and toc2cddb
// prints language 0's titles as cdrdao decoded them.
void TestCdTextTools::cdrdaoReadsToc()
{
    REQUIRE_TOOL("cdrdao");
    REQUIRE_TOOL("toc2cddb");
    QFETCH(QString, name);
    QFETCH(int, language);
    TitleStore store = disc(name);
    if (language == Japanese) {
        store.discNames[Japanese] = u"一覧表"_s;
        store.trackTitles(Japanese, 1) = u"ソ"_s;
        store.trackTitles(Japanese, 2) = u"\"表\"\\"_s;
    }
    m_folder->write(u"audio.raw"_s, QByteArray(4 * 75 * 2352, '\0'));
    m_folder->write(u"in.toc"_s, "CD_DA\n\n// track 1\nTRACK AUDIO\nFILE \"audio.raw\" 0\n"
                                 "TRACK AUDIO\nFILE \"audio.raw\" 0\n"
                                 "TRACK AUDIO\nFILE \"audio.raw\" 0\n");
    const Result made = cdtext(store, u"toc"_s, {u"--into"_s, u"in.toc"_s, u"-o"_s, u"out.toc"_s});
    QVERIFY2(made.exitCode == 0, made.err.constData());

    const Result shown = run(u"cdrdao"_s, {u"show-toc"_s, u"out.toc"_s});
    QVERIFY2(shown.exitCode == 0, shown.err.constData());
    QVERIFY2(!shown.err.contains("ERROR"), shown.err.constData());

    const Result cddb = run(u"toc2cddb"_s, {u"out.toc"_s});
    QCOMPARE(cddb.exitCode, 0);
    std::map<QByteArray, QByteArray> fields;
    for (const QByteArray &line : cddb.out.split('\n'))
        fields[line.left(line.indexOf('='))] = line.mid(line.indexOf('=') + 1);
    const auto bytes = [&](const QString &text) {
        return language == English ? text.toLatin1() : JapaneseBlockBytes(text);
    };
    QCOMPARE(fields["DTITLE"],
             bytes(store.artistNames[language]) + " / " + bytes(store.discNames[language]));
    for (int t = 1; t <= store.trackCount; ++t)
        QCOMPARE(fields["TTITLE" + QByteArray::number(t - 1)],
                 bytes(store.trackTitles(language, t)));
}

QTEST_GUILESS_MAIN(TestCdTextTools)
#include "tst_cdtexttools.moc"
