// Proof against the burning tools: the files sonolabe-cdtext writes are read
// back by cdrskin, cueprint (cuetools) and cdrdao, and say what the title
// file says. A test whose tool is not installed is skipped; ./test.sh
// installs them all.
#include "cdtext/discblocks.h"
#include "cdtext/packs.h"
#include "model/codepage932.h"
#include "model/titlefile.h"

#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <map>

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

QString twoDigits(int n)
{
    return QString::number(n).rightJustified(2, u'0');
}

// The discs the tests burn, by name.
TitleStore disc(const QString &name)
{
    TitleStore store;
    const bool english = !name.contains(u"Japanese only");
    const bool japanese = !name.contains(u"English only");
    if (name.startsWith(u"99 tracks") || name.startsWith(u"98 tracks")) {
        // Block budget: 252 packs of 12 bytes are 3024 bytes. English, 99
        // tracks: a disc name of 53 characters and titles of 29, each with
        // its NUL: 54 + 99 x 30. Japanese: 26 and 14 characters of two bytes,
        // each with two NULs: 54 + 99 x 30. With 98 tracks the disc name is
        // 30 bytes longer. One character more is one pack more.
        const int tracks = name.startsWith(u"99") ? 99 : 98;
        store.TrackCount = static_cast<quint8>(tracks);
        const int englishOver = name.contains(u"English over") ? 1 : 0;
        const int japaneseOver = name.contains(u"Japanese over") ? 1 : 0;
        if (english) {
            store.DiscNames[English] =
                u"Disc "_s + QString(48 + (99 - tracks) * 30 + englishOver, u'y');
            for (int t = 1; t <= tracks; ++t)
                store.TrackTitles(English, t) =
                    QString(u"English title number "_s + twoDigits(t) + u' ')
                        .leftJustified(29, u'x');
        }
        if (japanese) {
            store.DiscNames[Japanese] =
                u"ベスト表ソ"_s + QString(21 + (99 - tracks) * 15 + japaneseOver, u'あ');
            const QString digits = u"０１２３４５６７８９"_s;
            for (int t = 1; t <= tracks; ++t)
                store.TrackTitles(Japanese, t) =
                    u"第"_s + digits[t / 10] + digits[t % 10] + u"曲表ソ能十予表ソ能十予"_s;
        }
        return store;
    }
    store.TrackCount = 3;
    if (english) {
        store.DiscNames[English] = u"Best of Sonolabe"_s;
        store.ArtistNames[English] = u"The Band"_s;
        store.TrackTitles(English, 1) = u"Intro (Live)"_s;
        store.TrackTitles(English, 2) = name.contains(u"repeated") ? u"Intro (Live)"_s : u"Song"_s;
        store.TrackTitles(English, 3) = u"Outro"_s;
    }
    if (japanese) {
        store.DiscNames[Japanese] = u"ベスト表示"_s;
        store.ArtistNames[Japanese] = u"ｿﾉﾗﾍﾞ楽団"_s;
        store.TrackTitles(Japanese, 1) = u"序曲 No.1"_s;
        store.TrackTitles(Japanese, 2) = u"ソナタ①"_s;
        store.TrackTitles(Japanese, 3) = name.contains(u"repeated") ? u"ソナタ①"_s : u"能"_s;
    }
    return store;
}

// What a tool should read back for a text of a block.
QString asBurned(int language, const QString &text)
{
    return language == Japanese ? DoubleByteForm(text) : text;
}

// The blocks of cdrskin's textfile_to_v07t report, texts decoded.
std::vector<std::map<QString, QString>> parseV07t(const QByteArray &report)
{
    std::vector<std::map<QString, QString>> blocks;
    for (const QByteArray &line : report.split('\n')) {
        const qsizetype equals = line.indexOf(" = ");
        if (equals < 0)
            continue;
        const QString key = QString::fromLatin1(line.left(equals)).trimmed();
        const QByteArray value = line.mid(equals + 3);
        if (key == u"Input Sheet Version") {
            blocks.emplace_back();
            continue;
        }
        if (blocks.empty())
            continue;
        const bool msJis = blocks.back()[u"Text Code"_s] == u"MS-JIS";
        blocks.back()[key] =
            msJis ? Cp932Decoder::instance().decode(value) : QString::fromLatin1(value);
    }
    return blocks;
}

// Lines "key:<tabs>value" of cueprint's report, per section.
std::vector<std::map<QString, QString>> parseCueprint(const QString &report)
{
    std::vector<std::map<QString, QString>> sections;
    for (const QString &line : report.split(u'\n')) {
        if (line.endsWith(u" Information")) {
            sections.emplace_back();
            continue;
        }
        const qsizetype colon = line.indexOf(u":\t");
        if (colon < 0 || sections.empty())
            continue;
        QString value = line.mid(colon + 1);
        while (value.startsWith(u'\t'))
            value.remove(0, 1);
        sections.back()[line.left(colon)] = value;
    }
    return sections;
}

} // namespace

class TestCdTextTools : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cdrskinDecodesPacks_data();
    void cdrskinDecodesPacks();
    void cdrskinLoadsPackFiles_data();
    void cdrskinLoadsPackFiles();
    void overBudgetIsRefused_data();
    void overBudgetIsRefused();
    void cdrskinAcceptsV07t_data();
    void cdrskinAcceptsV07t();
    void cueprintReadsCue_data();
    void cueprintReadsCue();
    void rawSecondByte5CBreaksCueprint();
    void cdrdaoReadsToc_data();
    void cdrdaoReadsToc();

private:
    QString path(const QString &name) const { return m_dir->filePath(name); }
    void writeFile(const QString &name, const QByteArray &bytes) const
    {
        QFile file(path(name));
        QVERIFY(file.open(QIODevice::WriteOnly));
        QCOMPARE(file.write(bytes), bytes.size());
    }
    QByteArray readFile(const QString &name) const
    {
        QFile file(path(name));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    Result run(const QString &program, const QStringList &arguments) const
    {
        QProcess process;
        process.setWorkingDirectory(m_dir->path());
        process.start(program, arguments);
        Result result;
        if (!process.waitForFinished(10000)) {
            process.kill();
            process.waitForFinished();
            return result;
        }
        result.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
        result.out = process.readAllStandardOutput();
        result.err = process.readAllStandardError();
        return result;
    }
    Result cdtext(const QStringList &arguments) const
    {
        return run(QStringLiteral(SONOLABE_CDTEXT_EXE), arguments);
    }
    std::unique_ptr<QTemporaryDir> m_dir;
};

#define REQUIRE_TOOL(name)                                                                         \
    do {                                                                                           \
        if (QStandardPaths::findExecutable(QStringLiteral(name)).isEmpty())                        \
            QSKIP(name " is not installed (Debian packages cdrskin, cdrdao, cuetools; "            \
                       "./test.sh installs them)");                                                \
    } while (false)

void TestCdTextTools::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
}

void TestCdTextTools::cdrskinDecodesPacks_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<int>("fileSize");
    // Header, then per block its text packs and three size packs. English:
    // titles of 17 + 13 + 5 + 6 bytes (4 packs), performers 9 + 3 (1).
    // Japanese: titles 12 + 16 + 10 + 4 (4 packs), performers 14 + 3 x 2 (2).
    QTest::newRow("English only") << u"English only"_s << QStringList() << 4 + (5 + 3) * 18;
    QTest::newRow("Japanese only") << u"Japanese only"_s << QStringList() << 4 + (6 + 3) * 18;
    QTest::newRow("both") << u"both"_s << QStringList() << 4 + (5 + 3 + 6 + 3) * 18;
    QTest::newRow("both, repeats as Tabs")
        << u"both repeated"_s << QStringList{u"--tab-repeat"_s} << 4 + (5 + 3 + 6 + 3) * 18;
    // cdrskin's decoder refuses a 99-track pack file ("illegal track range 1
    // to 99"), so full blocks are decoded with 98 tracks; the 99-track files
    // are loaded by cdrskin's burn run below.
    QTest::newRow("98 tracks at the limit, English")
        << u"98 tracks English only"_s << QStringList() << 4 + 255 * 18;
    QTest::newRow("98 tracks at the limit, Japanese")
        << u"98 tracks Japanese only"_s << QStringList() << 4 + 255 * 18;
    QTest::newRow("98 tracks at the limit, both")
        << u"98 tracks"_s << QStringList() << 4 + 2 * 255 * 18;
}

void TestCdTextTools::cdrskinDecodesPacks()
{
    REQUIRE_TOOL("cdrskin");
    QFETCH(QString, name);
    QFETCH(QStringList, options);
    QFETCH(int, fileSize);
    const TitleStore store = disc(name);
    writeFile(u"disc.txt"_s, WriteTitleFile(store, {}));

    const Result made =
        cdtext(QStringList{u"packs"_s, u"disc.txt"_s, u"-o"_s, u"disc.cdt"_s} + options);
    QVERIFY2(made.exitCode == 0, made.err.constData());
    const QByteArray file = readFile(u"disc.cdt"_s);
    QCOMPARE(file.size(), fileSize);
    // cdrskin does not look at the CRCs when it decodes; this does.
    QVERIFY(VerifyPackFile(file).ok);

    const Result decoded = run(u"cdrskin"_s, {u"textfile_to_v07t=disc.cdt"_s});
    QCOMPARE(decoded.exitCode, 0);
    const std::vector<std::map<QString, QString>> blocks = parseV07t(decoded.out);
    std::vector<int> languages;
    for (const int language : {English, Japanese}) {
        if (LanguageHasText(store, language))
            languages.push_back(language);
    }
    QCOMPARE(blocks.size(), languages.size());
    for (size_t b = 0; b < blocks.size(); ++b) {
        std::map<QString, QString> block = blocks[b];
        const int language = languages[b];
        QCOMPARE(block[u"Language Code"_s], language == English ? u"English"_s : u"Japanese"_s);
        QCOMPARE(block[u"Text Code"_s], language == English ? u"8859"_s : u"MS-JIS"_s);
        QCOMPARE(block[u"Last Track Number"_s], QString::number(store.TrackCount));
        QCOMPARE(block[u"Album Title"_s], asBurned(language, store.DiscNames[language]));
        QCOMPARE(block[u"Artist Name"_s], asBurned(language, store.ArtistNames[language]));
        for (int t = 1; t <= store.TrackCount; ++t) {
            QCOMPARE(block[u"Track "_s + twoDigits(t) + u" Title"_s],
                     asBurned(language, store.TrackTitles(language, t)));
        }
    }
}

void TestCdTextTools::cdrskinLoadsPackFiles_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("spoilCrc");
    QTest::newRow("both") << u"both"_s << false;
    QTest::newRow("99 tracks at the limit, English") << u"99 tracks English only"_s << false;
    QTest::newRow("99 tracks at the limit, Japanese") << u"99 tracks Japanese only"_s << false;
    QTest::newRow("99 tracks at the limit, both") << u"99 tracks"_s << false;
    // The judgement below must be able to fail: cdrskin checks the CRCs of
    // a pack file it is to burn.
    QTest::newRow("control: a CRC spoiled") << u"both"_s << true;
}

// A burn run on a null device with the pack file: cdrskin loads the packs
// (checking every CRC) and then stops because the device is no CD. Its exit
// code is 10 either way; its message tells.
void TestCdTextTools::cdrskinLoadsPackFiles()
{
    REQUIRE_TOOL("cdrskin");
    QFETCH(QString, name);
    QFETCH(bool, spoilCrc);
    const TitleStore store = disc(name);
    writeFile(u"disc.txt"_s, WriteTitleFile(store, {}));
    const Result made = cdtext({u"packs"_s, u"disc.txt"_s, u"-o"_s, u"disc.cdt"_s});
    QVERIFY2(made.exitCode == 0, made.err.constData());
    if (spoilCrc) {
        QByteArray file = readFile(u"disc.cdt"_s);
        file[4 + 17] = static_cast<char>(file[4 + 17] ^ 0x40);
        writeFile(u"disc.cdt"_s, file);
    }
    writeFile(u"track.raw"_s, QByteArray());
    QStringList arguments{u"--allow_emulated_drives"_s, u"dev=stdio:/dev/null"_s, u"-sao"_s,
                          u"textfile=disc.cdt"_s, u"-audio"_s};
    for (int t = 0; t < store.TrackCount; ++t)
        arguments << u"track.raw"_s;
    const Result dry = run(u"cdrskin"_s, arguments);
    const QByteArray said = dry.out + dry.err;
    QCOMPARE(said.contains("audio track prohibited by non-CD"), !spoilCrc);
    QCOMPARE(said.contains("CRC mismatch"), spoilCrc);
}

void TestCdTextTools::overBudgetIsRefused_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("message");
    QTest::newRow("English") << u"99 tracks English only, English over"_s
                             << u"block 0 (English) needs 253 text packs, 1 more than the 252"_s;
    QTest::newRow("Japanese") << u"99 tracks Japanese only, Japanese over"_s
                              << u"block 0 (Japanese) needs 253 text packs, 1 more than the 252"_s;
    QTest::newRow("both, English over")
        << u"99 tracks, English over"_s << u"block 0 (English) needs 253 text packs, 1 more"_s;
    QTest::newRow("both, Japanese over")
        << u"99 tracks, Japanese over"_s << u"block 1 (Japanese) needs 253 text packs, 1 more"_s;
}

// A disc one pack over the budget gets no file, and the message says by how
// much; the sheets for the burning tools are refused the same way.
void TestCdTextTools::overBudgetIsRefused()
{
    QFETCH(QString, name);
    QFETCH(QString, message);
    writeFile(u"disc.txt"_s, WriteTitleFile(disc(name), {}));
    for (const QStringList &arguments :
         {QStringList{u"packs"_s, u"disc.txt"_s, u"-o"_s, u"disc.cdt"_s},
          QStringList{u"v07t"_s, u"disc.txt"_s, u"-o"_s, u"disc.v07t"_s}}) {
        const Result result = cdtext(arguments);
        QCOMPARE(result.exitCode, 1);
        QVERIFY2(QString::fromUtf8(result.err).contains(message), result.err.constData());
    }
    QVERIFY(!QFile::exists(path(u"disc.cdt"_s)));
    QVERIFY(!QFile::exists(path(u"disc.v07t"_s)));
}

void TestCdTextTools::cdrskinAcceptsV07t_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<bool>("accepted");
    QTest::newRow("English") << u"English only"_s << QStringList() << true;
    QTest::newRow("Japanese") << u"Japanese only"_s << QStringList() << true;
    QTest::newRow("both") << u"both"_s << QStringList() << true;
    QTest::newRow("both, one language asked for")
        << u"both"_s << QStringList{u"--lang"_s, u"ja"_s} << true;
    QTest::newRow("99 tracks at the limit, both") << u"99 tracks"_s << QStringList() << true;
    // The judgement below must be able to fail: a sheet cdrskin refuses.
    QTest::newRow("control: a broken sheet") << u"broken"_s << QStringList() << false;
}

// A dry run on a null device: cdrskin reads the sheets and then stops because
// the device is no CD. Its exit code is 10 either way; its message tells.
void TestCdTextTools::cdrskinAcceptsV07t()
{
    REQUIRE_TOOL("cdrskin");
    QFETCH(QString, name);
    QFETCH(QStringList, options);
    QFETCH(bool, accepted);
    const TitleStore store = disc(name == u"broken" ? u"both"_s : name);
    writeFile(u"disc.txt"_s, WriteTitleFile(store, {}));
    const Result made =
        cdtext(QStringList{u"v07t"_s, u"disc.txt"_s, u"-o"_s, u"disc.v07t"_s} + options);
    QVERIFY2(made.exitCode == 0, made.err.constData());
    if (name == u"broken")
        writeFile(u"disc.v07t"_s, readFile(u"disc.v07t"_s).replace("Japanese", "Klingon"));
    writeFile(u"track.raw"_s, QByteArray());

    QStringList arguments{
        u"--allow_emulated_drives"_s, u"dev=stdio:/dev/null"_s,        u"-sao"_s,
        u"--cdtext_dummy"_s,          u"input_sheet_v07t=disc.v07t"_s, u"-audio"_s};
    for (int t = 0; t < store.TrackCount; ++t)
        arguments << u"track.raw"_s;
    const Result dry = run(u"cdrskin"_s, arguments);
    const QByteArray said = dry.out + dry.err;
    QCOMPARE(said.contains("audio track prohibited by non-CD"), accepted);
    QCOMPARE(said.contains("v07t"), !accepted);
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
    store.TrackTitles(Japanese, 3) = u"能力"_s; // 0x5C inside a text is harmless
    writeFile(u"disc.txt"_s, WriteTitleFile(store, {}));
    writeFile(u"in.cue"_s, "REM GENRE Pop\r\nFILE \"audio.wav\" WAVE\r\n"
                           "  TRACK 01 AUDIO\r\n    TITLE \"old\"\r\n    INDEX 01 00:00:00\r\n"
                           "  TRACK 02 AUDIO\r\n    INDEX 01 01:00:00\r\n"
                           "  TRACK 03 AUDIO\r\n    PERFORMER \"Guest\"\r\n"
                           "    INDEX 01 02:00:00\r\n");
    const Result made = cdtext({u"cue"_s, u"disc.txt"_s, u"--into"_s, u"in.cue"_s, u"--lang"_s,
                                language == English ? u"en"_s : u"ja"_s, u"-o"_s, u"out.cue"_s});
    QVERIFY2(made.exitCode == 0, made.err.constData());

    const Result printed = run(u"cueprint"_s, {u"out.cue"_s});
    QCOMPARE(printed.err, QByteArray());
    const QString report = language == English ? QString::fromLatin1(printed.out)
                                               : Cp932Decoder::instance().decode(printed.out);
    std::vector<std::map<QString, QString>> sections = parseCueprint(report);
    QCOMPARE(int(sections.size()), 1 + store.TrackCount);
    QCOMPARE(sections[0][u"title"_s], store.DiscNames[language]);
    QCOMPARE(sections[0][u"performer"_s], store.ArtistNames[language]);
    for (int t = 1; t <= store.TrackCount; ++t)
        QCOMPARE(sections[t][u"title"_s], store.TrackTitles(language, t));
    QCOMPARE(sections[3][u"perfomer"_s], u"Guest"_s); // cueprint's own spelling
}

// Why a CUE text may not end in a byte 0x5C: cueprint takes it as an escape
// of the closing quote. The command refuses such a text instead.
void TestCdTextTools::rawSecondByte5CBreaksCueprint()
{
    REQUIRE_TOOL("cueprint");
    // The string runs on to the next quote, if there is one.
    const QByteArray sheet = "FILE \"audio.wav\" WAVE\n  TRACK 01 AUDIO\n    TITLE \"" +
                             Cp932Encoder::instance().encode(u"ソ"_s) +
                             "\"\n    INDEX 01 00:00:00\n  TRACK 02 AUDIO\n    TITLE \"b\"\n"
                             "    INDEX 01 01:00:00\n";
    writeFile(u"raw.cue"_s, sheet);
    QVERIFY(!run(u"cueprint"_s, {u"raw.cue"_s}).err.isEmpty());

    TitleStore store;
    store.TrackCount = 2;
    store.TrackTitles(Japanese, 1) = u"ソ"_s;
    store.TrackTitles(Japanese, 2) = u"b"_s;
    writeFile(u"disc.txt"_s, WriteTitleFile(store, {}));
    const Result refused =
        cdtext({u"cue"_s, u"disc.txt"_s, u"--into"_s, u"raw.cue"_s, u"--lang"_s, u"ja"_s});
    QCOMPARE(refused.exitCode, 1);
    QVERIFY(refused.out.isEmpty());
}

void TestCdTextTools::cdrdaoReadsToc_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("cdText"); // the sheet's own CD_TEXT, "" for none
    QTest::addColumn<int>("language0");  // the language toc2cddb reports, -1 for another
    QTest::newRow("both, sheet without CD-Text") << u"both"_s << QString() << English;
    QTest::newRow("Japanese only, 表 and ソ at the end")
        << u"Japanese only, 5C"_s << QString() << Japanese;
    QTest::newRow("sheet with another language first") << u"both"_s << u"existing"_s << -1;
}

// cdrdao reads the TOC file (show-toc fails on a syntax error), and toc2cddb
// prints language 0's titles as cdrdao decoded them.
void TestCdTextTools::cdrdaoReadsToc()
{
    REQUIRE_TOOL("cdrdao");
    REQUIRE_TOOL("toc2cddb");
    QFETCH(QString, name);
    QFETCH(QString, cdText);
    QFETCH(int, language0);
    TitleStore store = disc(name);
    if (name.contains(u"5C")) {
        store.DiscNames[Japanese] = u"一覧表"_s;
        store.TrackTitles(Japanese, 1) = u"ソ"_s;
        store.TrackTitles(Japanese, 2) = u"\"表\"\\"_s;
    }
    writeFile(u"disc.txt"_s, WriteTitleFile(store, {}));
    writeFile(u"audio.raw"_s, QByteArray(4 * 75 * 2352, '\0'));
    QByteArray toc = "CD_DA\n";
    if (!cdText.isEmpty())
        toc += "CD_TEXT {\n  LANGUAGE_MAP {\n    0 : 8\n  }\n  LANGUAGE 0 {\n"
               "    TITLE \"Deutsch\"\n    PERFORMER \"Gruppe\"\n  }\n}\n";
    for (int t = 1; t <= store.TrackCount; ++t) {
        toc += "\n// track " + QByteArray::number(t) + "\nTRACK AUDIO\n";
        if (!cdText.isEmpty())
            toc += "CD_TEXT {\n  LANGUAGE 0 {\n    TITLE \"Titel " + QByteArray::number(t) +
                   "\"\n    PERFORMER \"\"\n  }\n}\n";
        toc += "FILE \"audio.raw\" 0\n";
    }
    writeFile(u"in.toc"_s, toc);
    const Result made =
        cdtext({u"toc"_s, u"disc.txt"_s, u"--into"_s, u"in.toc"_s, u"-o"_s, u"out.toc"_s});
    QVERIFY2(made.exitCode == 0, made.err.constData());

    const Result shown = run(u"cdrdao"_s, {u"show-toc"_s, u"out.toc"_s});
    QVERIFY2(shown.exitCode == 0, shown.err.constData());
    QVERIFY2(!shown.err.contains("ERROR"), shown.err.constData());

    const Result cddb = run(u"toc2cddb"_s, {u"out.toc"_s});
    QCOMPARE(cddb.exitCode, 0);
    std::map<QByteArray, QByteArray> fields;
    for (const QByteArray &line : cddb.out.split('\n')) {
        const qsizetype equals = line.indexOf('=');
        if (equals > 0)
            fields[line.left(equals)] = line.mid(equals + 1);
    }
    const auto bytes = [&](int language, const QString &text) {
        return language == English ? text.toLatin1() : JapaneseBlockBytes(text);
    };
    if (language0 < 0) {
        QCOMPARE(fields["DTITLE"], QByteArray("Gruppe / Deutsch"));
        QCOMPARE(fields["TTITLE0"], QByteArray("Titel 1"));
        return;
    }
    QCOMPARE(fields["DTITLE"], bytes(language0, store.ArtistNames[language0]) + " / " +
                                   bytes(language0, store.DiscNames[language0]));
    for (int t = 1; t <= store.TrackCount; ++t)
        QCOMPARE(fields["TTITLE" + QByteArray::number(t - 1)],
                 bytes(language0, store.TrackTitles(language0, t)));
}

QTEST_GUILESS_MAIN(TestCdTextTools)
#include "tst_cdtexttools.moc"
