// SPDX-License-Identifier: GPL-3.0-or-later
// Importing texts back into a title file: every title file of the table
// survives packs, v07t, CUE and TOC and the way back; damaged and foreign
// sources are reported; and what the burning tools build and accept imports
// to the texts they were given. A test whose tool is not installed is
// skipped; ./test.sh installs them all.
#include "cdtexttest.h"

#include "cdtext/command.h"
#include "cdtext/cuesheet.h"
#include "cdtext/discblocks.h"
#include "cdtext/importcommand.h"
#include "cdtext/importsource.h"
#include "cdtext/packs.h"
#include "cdtext/tocfile.h"
#include "cdtext/v07t.h"
#include "model/codepage932.h"
#include "model/titlefile.h"

#include <QBuffer>
#include <QLibrary>
#include <QProcess>
#include <QStandardPaths>

#include <cstdlib>

using namespace sonolabe;
using namespace sonolabe::cdtext;
using namespace Qt::Literals::StringLiterals;

Q_DECLARE_METATYPE(sonolabe::cdtext::ImportKind)
Q_DECLARE_METATYPE(std::optional<int>)

namespace {

// The title files of the round trip, by name.
TitleStore titleDisc(const QString &name)
{
    TitleStore store;
    const bool english = !name.contains(u"Japanese only");
    const bool japanese = !name.contains(u"English only");
    const int tracks = name == u"99 tracks" ? 99 : 3;
    store.trackCount = static_cast<quint8>(tracks);
    if (english) {
        store.discNames[English] = u"Best of Sonolabe"_s;
        store.artistNames[English] = u"The Band"_s;
    }
    if (japanese) {
        store.discNames[Japanese] = u"ベスト表示"_s;
        store.artistNames[Japanese] = name == u"half-width katakana" ? u"ｿﾉﾗﾍﾞ楽団"_s : u"楽団"_s;
    }
    for (int t = 1; t <= tracks; ++t) {
        const QString n = QString::number(t).rightJustified(2, u'0');
        if (english)
            store.trackTitles(English, t) = u"Song "_s + n + u" (Live)"_s;
        if (japanese)
            store.trackTitles(Japanese, t) = u"ソ能曲"_s + n;
    }
    if (name == u"Tabs as repeat") {
        store.trackTitles(English, 2) = store.trackTitles(English, 1);
        store.trackTitles(Japanese, 3) = store.trackTitles(Japanese, 2);
    } else if (name == u"half-width katakana") {
        store.trackTitles(Japanese, 1) = u"ﾃﾞｨｽｸ No.1 ｢ﾊﾟｰﾄ｣"_s;
    } else if (name == u"empty titles") {
        store.discNames[English].clear();
        store.trackTitles(English, 1).clear();
        store.trackTitles(Japanese, 1).clear();
        store.trackTitles(English, 3).clear();
        store.trackTitles(Japanese, 3).clear();
    }
    return store;
}

TitleFileSections sectionsWithText(const TitleStore &store)
{
    return {LanguageHasText(store, English), LanguageHasText(store, Japanese)};
}

// The store as a Japanese block gives it back: in full-width forms.
TitleStore asBurned(TitleStore store)
{
    const auto form = [](QString &text) {
        text = Cp932Decoder::instance().decode(JapaneseBlockBytes(text));
    };
    form(store.discNames[Japanese]);
    form(store.artistNames[Japanese]);
    for (int t = 1; t <= MaxTracks; ++t)
        form(store.trackTitles(Japanese, t));
    return store;
}

TitleStore onlyLanguage(const TitleStore &store, int language)
{
    TitleStore one;
    one.trackCount = store.trackCount;
    one.discNames[language] = store.discNames[language];
    one.artistNames[language] = store.artistNames[language];
    for (int t = 1; t <= MaxTracks; ++t)
        one.trackTitles(language, t) = store.trackTitles(language, t);
    return one;
}

QByteArray cueFrame(int tracks)
{
    QByteArray cue = "REM GENRE Pop\r\nFILE \"disc.wav\" WAVE\r\n";
    for (int t = 1; t <= tracks; ++t)
        cue += "  TRACK " + QByteArray::number(t).rightJustified(2, '0') +
               " AUDIO\r\n    INDEX 01 00:00:00\r\n";
    return cue;
}

QByteArray tocFrame(int tracks)
{
    QByteArray toc = "CD_DA\n";
    for (int t = 1; t <= tracks; ++t)
        toc += "\n// track " + QByteArray::number(t) + "\nTRACK AUDIO\nFILE \"audio.raw\" 0\n";
    return toc;
}

QByteArray packFile(const TitleStore &store, bool tabRepeat)
{
    PackOptions options;
    options.tabRepeat = tabRepeat;
    return PackFileBytes(BuildPacks(PackBlocksOf(DiscBlocks(store, {})), options).value());
}

QByteArray importedFile(QByteArrayView source, ImportKind kind, ImportChoice choice = {})
{
    return ImportTexts(source, kind, choice).titleFile();
}

struct Run
{
    int exitCode = -1;
    QByteArray out;
    QString err;
};

Run runImport(const ImportOptions &options)
{
    QBuffer out;
    QBuffer err;
    out.open(QIODevice::WriteOnly);
    err.open(QIODevice::WriteOnly);
    const int code = RunImport(options, out, err, UiLanguage::English);
    return {code, out.data(), QString::fromUtf8(err.data())};
}

} // namespace

class TestCdTextImport : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init() { m_folder.emplace(); }
    void roundTrip_data();
    void roundTrip();
    void detectsKind_data();
    void detectsKind();
    void packFileDamage_data();
    void packFileDamage();
    void blockChoice_data();
    void blockChoice();
    void foreignTexts_data();
    void foreignTexts();
    void command_data();
    void command();
    void publishedExample();
    void libburnBuildsPacks_data();
    void libburnBuildsPacks();
    void cdrdaoAcceptsToc_data();
    void cdrdaoAcceptsToc();

private:
    std::optional<test::Folder> m_folder;
};

void TestCdTextImport::roundTrip_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<ImportKind>("kind");
    const QStringList discs{u"English only"_s, u"Japanese only"_s,  u"both"_s,
                            u"99 tracks"_s,    u"Tabs as repeat"_s, u"half-width katakana"_s,
                            u"empty titles"_s};
    const std::pair<const char *, ImportKind> kinds[] = {{"packs", ImportKind::Packs},
                                                         {"v07t", ImportKind::V07t},
                                                         {"cue", ImportKind::Cue},
                                                         {"toc", ImportKind::Toc}};
    for (const QString &disc : discs) {
        for (const auto &[kindName, kind] : kinds)
            QTest::addRow("%s, %s", qPrintable(disc), kindName) << disc << kind;
    }
}

// import(kind(F)) is F, in the full-width forms of the Japanese blocks; a
// CUE sheet holds one language at a time, written as it is.
void TestCdTextImport::roundTrip()
{
    QFETCH(QString, name);
    QFETCH(ImportKind, kind);
    const std::optional<TitleStore> file =
        ParseTitleFile(WriteTitleFile(titleDisc(name), sectionsWithText(titleDisc(name))));
    QVERIFY(file);
    const TitleStore expected = asBurned(*file);
    const QByteArray expectedFile = WriteTitleFile(expected, sectionsWithText(expected));
    const auto check = [&](QByteArrayView source, const QByteArray &wanted, ImportChoice choice) {
        const ImportResult result = ImportTexts(source, kind, choice);
        QCOMPARE(result.titleFile(), wanted);
        QVERIFY(result.notes.empty());
        QVERIFY(result.replacements.empty());
        QCOMPARE(DetectImportKind(source), std::optional<ImportKind>(kind));
    };

    switch (kind) {
    case ImportKind::Packs: {
        const QByteArray withHeader = packFile(*file, name == u"Tabs as repeat");
        const QByteArray packs = withHeader.sliced(4);
        for (const QByteArray &source :
             {withHeader, packs, QByteArray(packs + '\0'), QByteArray(withHeader + '\0')}) {
            check(source, expectedFile, {});
            if (QTest::currentTestFailed())
                return;
        }
        break;
    }
    case ImportKind::V07t: {
        const V07tSheets sheets = WriteV07tSheets(DiscBlocks(*file, {}));
        QVERIFY(sheets.ok());
        check(sheets.bytes, expectedFile, {});
        break;
    }
    case ImportKind::Cue:
        for (const int language : {English, Japanese}) {
            const TitleStore one = onlyLanguage(*file, language);
            if (!LanguageHasText(one, language))
                continue;
            const CueRewrite cue = RewriteCueSheet(cueFrame(one.trackCount), one, language);
            QVERIFY(cue.ok());
            check(cue.sheet, WriteTitleFile(one, sectionsWithText(one)), {{}, language, false});
            if (QTest::currentTestFailed())
                return;
        }
        break;
    case ImportKind::Toc: {
        const TocRewrite toc =
            RewriteTocFile(tocFrame(file->trackCount), *file, DiscBlocks(*file, {}));
        QVERIFY(toc.ok());
        check(toc.toc, expectedFile, {});
        break;
    }
    }
}

void TestCdTextImport::detectsKind_data()
{
    QTest::addColumn<QByteArray>("source");
    QTest::addColumn<std::optional<int>>("kind");
    const auto kind = [](ImportKind k) { return std::optional<int>(int(k)); };
    QTest::newRow("cdrskin's v07t report")
        << QByteArray("cdrskin 1.5.4 : limited cdrecord compatibility wrapper\n"
                      "Input Sheet Version = 0.7T\nAlbum Title = X\n")
        << kind(ImportKind::V07t);
    QTest::newRow("CUE with a byte-order mark")
        << QByteArray("\xEF\xBB\xBFTITLE \"x\"\nFILE \"a.wav\" WAVE\n  TRACK 01 AUDIO\n")
        << kind(ImportKind::Cue);
    QTest::newRow("TOC whose texts are on lines of their own")
        << QByteArray("// made by hand\nCD_DA\nCD_TEXT {\n  LANGUAGE 0 {\n    TITLE \"x\"\n  }\n}\n"
                      "TRACK AUDIO\n")
        << kind(ImportKind::Toc);
    QTest::newRow("a title file") << QByteArray("en\r\n0\tdisc\tartist\r\n1\tone\r\n")
                                  << std::optional<int>();
    QTest::newRow("packs of a type that is none")
        << QByteArray(2 * PackSize, '\x70') << std::optional<int>();
}

void TestCdTextImport::detectsKind()
{
    QFETCH(QByteArray, source);
    QFETCH(std::optional<int>, kind);
    const std::optional<ImportKind> found = DetectImportKind(source);
    QCOMPARE(found ? std::optional<int>(int(*found)) : std::nullopt, kind);
}

void TestCdTextImport::packFileDamage_data()
{
    QTest::addColumn<int>("spoiledByte"); // into the packs, after the 4-byte header
    QTest::addColumn<bool>("ignoreCrc");
    QTest::addColumn<int>("badPack");      // counted from 1, 0 for none
    QTest::addColumn<QString>("discName"); // English, as read with --ignore-crc
    // Pack 1 holds "Best of Sonolabe" from its first byte of text.
    QTest::newRow("text byte, refused") << 4 + 1 << false << 1 << QString();
    QTest::newRow("text byte, read on") << 4 + 1 << true << 1 << u"Bast of Sonolabe"_s;
    QTest::newRow("CRC byte, read on") << 2 * PackSize + 17 << true << 3 << u"Best of Sonolabe"_s;
    QTest::newRow("size cut by 2 bytes") << -1 << false << 0 << QString();
}

// A wrong CRC is reported with its pack, and nothing is read unless the
// user asks to read on; a size that fits no pack file is no pack file.
void TestCdTextImport::packFileDamage()
{
    QFETCH(int, spoiledByte);
    QFETCH(bool, ignoreCrc);
    QFETCH(int, badPack);
    QFETCH(QString, discName);
    QByteArray file = packFile(titleDisc(u"both"_s), false);
    if (spoiledByte < 0)
        file.chop(2);
    else
        file[4 + spoiledByte] = static_cast<char>(file[4 + spoiledByte] ^ 0x04);
    const ImportResult result = ImportTexts(file, ImportKind::Packs, {{}, {}, ignoreCrc});
    std::vector<SourceNote> expectedNotes;
    if (badPack > 0)
        expectedNotes.push_back({SourceNote::CrcMismatch, badPack, 0, {}});
    else
        expectedNotes.push_back({SourceNote::NotAPackFile, 0, 0, {}});
    QCOMPARE(result.notes, expectedNotes);
    QCOMPARE(result.store.has_value(), !discName.isEmpty());
    if (result.store) {
        QCOMPARE(result.store->discNames[English], discName);
        QCOMPARE(result.store->trackTitles(Japanese, 2), DoubleByteForm(u"ソ能曲02"_s));
    }
}

void TestCdTextImport::blockChoice_data()
{
    QTest::addColumn<ImportKind>("kind");
    QTest::addColumn<std::optional<int>>("block");
    QTest::addColumn<std::optional<int>>("language");
    QTest::addColumn<QString>("english"); // the disc names read, "" for none
    QTest::addColumn<QString>("japanese");
    QTest::addColumn<QList<int>>("notes"); // SourceNote kinds
    const auto none = std::optional<int>();
    const auto some = [](int n) { return std::optional<int>(n); };
    const QString german = u"Die Besten"_s;
    const QString japanese = DoubleByteForm(u"ベスト"_s);
    for (const ImportKind kind : {ImportKind::Packs, ImportKind::V07t}) {
        const char *k = kind == ImportKind::Packs ? "packs" : "v07t";
        QTest::addRow("%s: German skipped", k) << kind << none << none << u"Best"_s << japanese
                                               << QList<int>{SourceNote::OtherLanguage};
        QTest::addRow("%s: --block 1 reads German as English", k)
            << kind << some(1) << none << german << QString() << QList<int>{};
        QTest::addRow("%s: --block 1 --lang ja", k)
            << kind << some(1) << some(Japanese) << QString() << german << QList<int>{};
        QTest::addRow("%s: --lang ja", k) << kind << none << some(Japanese) << QString() << japanese
                                          << QList<int>{SourceNote::OtherLanguage};
        QTest::addRow("%s: --block 5", k) << kind << some(5) << none << QString() << QString()
                                          << QList<int>{SourceNote::NoSuchBlock};
    }
}

// Three blocks: English, German (code 0x08) and Japanese.
void TestCdTextImport::blockChoice()
{
    QFETCH(ImportKind, kind);
    QFETCH(std::optional<int>, block);
    QFETCH(std::optional<int>, language);
    QFETCH(QString, english);
    QFETCH(QString, japanese);
    QFETCH(QList<int>, notes);
    TitleStore store;
    store.trackCount = 1;
    store.discNames[English] = u"Best"_s;
    store.discNames[Japanese] = u"ベスト"_s;
    std::vector<DiscBlock> blocks = DiscBlocks(store, {});
    DiscBlock german = blocks[0];
    german.pack.languageCode = 0x08;
    german.pack.types[0].entries[0] = "Die Besten";
    blocks.insert(blocks.begin() + 1, german);
    QByteArray source;
    if (kind == ImportKind::Packs) {
        source = BuildPacks(PackBlocksOf(blocks)).value();
    } else {
        source = WriteV07tSheets(blocks).bytes;
        const qsizetype second = source.indexOf("English", source.indexOf("English") + 1);
        source.replace(second, 7, "German");
    }
    const ImportResult result = ImportTexts(source, kind, {block, language, false});
    QList<int> found;
    for (const SourceNote &note : result.notes)
        found << note.kind;
    QCOMPARE(found, notes);
    QCOMPARE(result.store.has_value(), !english.isEmpty() || !japanese.isEmpty());
    if (result.store) {
        QCOMPARE(result.store->discNames[English], english);
        QCOMPARE(result.store->discNames[Japanese], japanese);
    }
}

void TestCdTextImport::foreignTexts_data()
{
    QTest::addColumn<ImportKind>("kind");
    QTest::addColumn<QByteArray>("source");
    QTest::addColumn<std::optional<int>>("language");
    QTest::addColumn<QString>("discName"); // in the section of language, as written
    QTest::addColumn<QString>("title1");
    QTest::addColumn<QList<int>>("reasons"); // Replacement reasons, in order

    const auto block = [](quint8 code, const QList<QByteArray> &texts, quint8 language) {
        PackBlock pack;
        pack.characterCode = code;
        pack.languageCode = language;
        pack.doubleByte = false; // as some discs have it, whatever the code
        pack.types.push_back({PackTypeTitle, std::vector<QByteArray>(texts.begin(), texts.end())});
        return BuildPacks({pack}).value();
    };
    const auto some = [](int n) { return std::optional<int>(n); };
    QTest::newRow("packs: MS-JIS block of single bytes")
        << ImportKind::Packs << block(CharacterCodeMsJis, {"ABC", "\xB1\xB2\x83\x5C"}, 0x69)
        << some(Japanese) << u"ABC"_s << u"ｱｲソ"_s << QList<int>{};
    QTest::newRow("packs: line break, Tab, bytes that are no character")
        << ImportKind::Packs << block(CharacterCodeMsJis, {"a\r\nb", "c\td\xFF"}, 0x69)
        << some(Japanese) << u"a  b"_s << u"c d?"_s
        << QList<int>{Replacement::LineBreak, Replacement::Tab, Replacement::NoCharacter};
    QTest::newRow("packs: Latin-1 the code page lacks")
        << ImportKind::Packs << block(CharacterCodeIso8859_1, {"Caf\xE9", "\xA5 1"}, 0x09)
        << some(English) << u"Caf?"_s << u"? 1"_s
        << QList<int>{Replacement::NotInCodePage, Replacement::NotInCodePage};
    QTest::newRow("CUE: UTF-8, Japanese by its characters")
        << ImportKind::Cue
        << QByteArray("TITLE \"\xE6\x97\xA5\xE6\x9C\xAC \xF0\x9F\x8E\xB5\"\nFILE \"a.wav\" WAVE\n"
                      "  TRACK 01 AUDIO\n    TITLE \"ﾃｽﾄ \"quoted\"\"\n")
        << some(Japanese) << u"日本 ?"_s << u"ﾃｽﾄ \"quoted\""_s
        << QList<int>{Replacement::NotInCodePage};
    QTest::newRow("TOC: cdrdao up to 1.2.4, octal MS-JIS and a kept \\\\")
        << ImportKind::Toc
        << QByteArray("CD_DA\nCD_TEXT { LANGUAGE_MAP { 0 : 105 }\n"
                      "  LANGUAGE 0 { TITLE \"\\203\\134\\225\\134\" PERFORMER \"\" } }\n"
                      "TRACK AUDIO\nCD_TEXT { LANGUAGE 0 { TITLE \"a\\\\b\\\"\" } }\n")
        << some(Japanese) << u"ソ表"_s << u"a\\\\b\""_s << QList<int>{};
    QTest::newRow("TOC: cdrdao 1.2.5, UTF-8 and ENCODING_MS_JIS")
        << ImportKind::Toc
        << QByteArray("CD_DA\nCD_TEXT { LANGUAGE_MAP { 0 : 105, }\n"
                      "  LANGUAGE 0 { ENCODING_MS_JIS TITLE \"\xE3\x82\xBD\xE8\xA1\xA8\" } }\n"
                      "TRACK AUDIO\nCD_TEXT { LANGUAGE 0 { TITLE \"\\202\\240\" } }\n")
        << some(Japanese) << u"ソ表"_s << u"あ"_s << QList<int>{};
}

// Texts the title file cannot hold are written with the stated replacement
// and reported, each reason once per text with its first position.
void TestCdTextImport::foreignTexts()
{
    QFETCH(ImportKind, kind);
    QFETCH(QByteArray, source);
    QFETCH(std::optional<int>, language);
    QFETCH(QString, discName);
    QFETCH(QString, title1);
    QFETCH(QList<int>, reasons);
    const ImportResult result = ImportTexts(source, kind, {});
    QVERIFY(result.store);
    QCOMPARE(result.store->discNames[*language], discName);
    QCOMPARE(result.store->trackTitles(*language, 1), title1);
    QList<int> found;
    for (const Replacement &replacement : result.replacements)
        found << replacement.reason;
    QCOMPARE(found, reasons);
    // The file holds exactly what was read.
    QCOMPARE(ParseTitleFile(result.titleFile())->sameDisc(*result.store), true);
}

void TestCdTextImport::command_data()
{
    QTest::addColumn<QByteArray>("source");
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("message");
    const QByteArray cue = "TITLE \"Line\x01"
                           "Break\"\nFILE \"a.wav\" WAVE\n  TRACK 01 AUDIO\n";
    QTest::newRow("replacement reported") << cue << QStringList{} << ExitDone
                                          << u"warning: English disc name: the control character "
                                             "U+0001 at character 5 written as a space"_s;
    QTest::newRow("CUE given a block") << cue << QStringList{u"--block"_s, u"0"_s} << ExitUsage
                                       << u"--block does not apply to a CUE sheet"_s;
    QTest::newRow("block out of range")
        << cue << QStringList{u"--block"_s, u"8"_s} << ExitUsage << u"a block number is 0 to 7"_s;
    QTest::newRow("nothing read") << QByteArray("FILE \"a.wav\" WAVE\n  TRACK 01 AUDIO\n")
                                  << QStringList{} << ExitRefused
                                  << u"no text could be read from"_s;
    QTest::newRow("kind unknown") << QByteArray("hello\n") << QStringList{} << ExitRefused
                                  << u"cannot tell what kind of file"_s;
}

// The entry point: the title file is written only when something was read,
// and what was changed or refused is told.
void TestCdTextImport::command()
{
    QFETCH(QByteArray, source);
    QFETCH(QStringList, options);
    QFETCH(int, exitCode);
    QFETCH(QString, message);
    m_folder->write(u"source"_s, source);
    ImportOptions import;
    import.source = m_folder->path(u"source"_s);
    import.output = m_folder->path(u"disc.txt"_s);
    if (options.size() == 2)
        import.block = options[1].toInt();
    const Run run = runImport(import);
    QCOMPARE(run.exitCode, exitCode);
    QVERIFY2(run.err.contains(message), qPrintable(run.err));
    const QByteArray written = m_folder->read(u"disc.txt"_s);
    QCOMPARE(written.isEmpty(), exitCode != ExitDone);
    if (exitCode == ExitDone)
        QCOMPARE(written, QByteArray("en\r\n0\tLine Break\t\r\n1\t\r\n\r\n"));
}

// The example of libburn's CD-Text documentation (doc/cdtext.txt): three
// tracks with titles, performers, songwriters and codes.
void TestCdTextImport::publishedExample()
{
    const QByteArray packs = QByteArray::fromHex(
        "800000004a6f7966756c204e69676874f0f78000010c7300536f6e67206f66204a6f431c"
        "8001020a790048756d7074792044756d43f98002030a707479004d6565204f7777772472"
        "800304087700000000000000000000006eaf810005000046656c697820616e6420544d51"
        "8101060b686520507572727300436174a7408102070377616c6b204265617574696559"
        "808102080f73004d6961204b697474656e30c98103090a000000000000000000000000ad19"
        "82000a00004672696564726963682053708f82010b0b6368696c6c6572004d6f74683343"
        "82020c04657220476f6f7365004d6961d6f582030d03204b697474656e0000000000f583"
        "8e000e00313233343536373839303132923e8e000f0c33005859424c473131303132c02b"
        "8e01100a3334005859424c4731313030bbb38e021109303035005859424c47313130f3bf"
        "8e0312083030303600000000000000005b5c8f0013000001030005050400000000009bfe"
        "8f011400000000000000050315000000110b8f021500000000000900000000000000da77");
    const ImportResult result = ImportTexts(packs, ImportKind::Packs, {});
    QCOMPARE(result.titleFile(), QByteArray("en\r\n0\tJoyful Nights\t\r\n1\tSong of Joy\r\n"
                                            "2\tHumpty Dumpty\r\n3\tMee Owwww\r\n\r\n"));
    QCOMPARE(result.notes, (std::vector<SourceNote>{{SourceNote::TrackPerformers, 0, 0, {}}}));
}

void TestCdTextImport::libburnBuildsPacks_data()
{
    QTest::addColumn<QString>("name");
    for (const char *name : {"English only", "Japanese only", "both", "half-width katakana"})
        QTest::newRow(name) << QString::fromLatin1(name);
}

// cdrskin shows the packs it would burn only with a blank CD in a drive
// (--cdtext_dummy); without one, the packs come from the functions of its
// library libburn that it calls for input_sheet_v07t= before a burn.
void TestCdTextImport::libburnBuildsPacks()
{
    QLibrary libburn(u"burn"_s, 4);
    if (!libburn.load())
        QSKIP("libburn4 (cdrskin's library) is not installed; ./test.sh installs cdrskin");
    using Init = int (*)();
    using Finish = void (*)();
    using SessionCreate = void *(*)();
    using SessionFree = void (*)(void *);
    using TrackCreate = void *(*)();
    using TrackFree = void (*)(void *);
    using AddTrack = int (*)(void *, void *, unsigned);
    using ReadSheet = int (*)(void *, char *, int, int);
    using BuildPacksFrom = int (*)(void *, unsigned char **, int *, int);
    const auto init = reinterpret_cast<Init>(libburn.resolve("burn_initialize"));
    const auto finish = reinterpret_cast<Finish>(libburn.resolve("burn_finish"));
    const auto sessionCreate =
        reinterpret_cast<SessionCreate>(libburn.resolve("burn_session_create"));
    const auto sessionFree = reinterpret_cast<SessionFree>(libburn.resolve("burn_session_free"));
    const auto trackCreate = reinterpret_cast<TrackCreate>(libburn.resolve("burn_track_create"));
    const auto trackFree = reinterpret_cast<TrackFree>(libburn.resolve("burn_track_free"));
    const auto addTrack = reinterpret_cast<AddTrack>(libburn.resolve("burn_session_add_track"));
    const auto readSheet =
        reinterpret_cast<ReadSheet>(libburn.resolve("burn_session_input_sheet_v07t"));
    const auto buildPacks =
        reinterpret_cast<BuildPacksFrom>(libburn.resolve("burn_cdtext_from_session"));
    QVERIFY(init && finish && sessionCreate && sessionFree && trackCreate && trackFree &&
            addTrack && readSheet && buildPacks);

    QFETCH(QString, name);
    const TitleStore store = titleDisc(name);
    const V07tSheets sheets = WriteV07tSheets(DiscBlocks(store, {}));
    QVERIFY(sheets.ok());
    m_folder->write(u"disc.v07t"_s, sheets.bytes);
    QByteArray path = QFile::encodeName(m_folder->path(u"disc.v07t"_s));

    QVERIFY(init() > 0);
    void *session = sessionCreate();
    for (int t = 0; t < store.trackCount; ++t) {
        void *track = trackCreate();
        QVERIFY(addTrack(session, track, 100 /* BURN_POS_END */) > 0);
        trackFree(track); // the session holds it
    }
    // Flag bit 0: the one file may hold several blocks.
    const int read = readSheet(session, path.data(), 0, 1);
    unsigned char *packs = nullptr;
    int count = 0;
    const int built = read > 0 ? buildPacks(session, &packs, &count, 0) : 0;
    const QByteArray bytes(reinterpret_cast<const char *>(packs), count * PackSize);
    std::free(packs);
    sessionFree(session);
    finish();
    QVERIFY(read > 0 && built > 0 && count > 0);

    const TitleStore expected = asBurned(store);
    QCOMPARE(importedFile(bytes, ImportKind::Packs),
             WriteTitleFile(expected, sectionsWithText(expected)));
    QCOMPARE(DetectImportKind(bytes), std::optional<ImportKind>(ImportKind::Packs));
}

void TestCdTextImport::cdrdaoAcceptsToc_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("utf8"); // texts as cdrdao 1.2.5 writes them
    QTest::newRow("both, octal escapes") << u"both"_s << false;
    QTest::newRow("Japanese only, octal escapes") << u"Japanese only"_s << false;
    QTest::newRow("Japanese only, UTF-8") << u"Japanese only"_s << true;
}

// cdrdao reads the TOC file (show-toc fails on a syntax error) and toc2cddb
// prints language 0's texts as cdrdao has them; the import gives the texts
// the file was made from.
void TestCdTextImport::cdrdaoAcceptsToc()
{
    QFETCH(QString, name);
    QFETCH(bool, utf8);
    for (const char *tool : {"cdrdao", "toc2cddb"}) {
        if (QStandardPaths::findExecutable(QString::fromLatin1(tool)).isEmpty())
            QSKIP("cdrdao is not installed; ./test.sh installs it");
    }
    const TitleStore store = titleDisc(name);
    const TitleStore expected = asBurned(store);
    QByteArray toc = RewriteTocFile(tocFrame(store.trackCount), store, DiscBlocks(store, {})).toc;
    if (utf8) {
        // Every string again, its escapes written out as UTF-8.
        for (const int language : {English, Japanese}) {
            const auto swap = [&](const QString &text) {
                const QByteArray escaped =
                    TocString(language == English ? text.toLatin1() : JapaneseBlockBytes(text));
                toc.replace(escaped, QByteArray('"' + DoubleByteForm(text).toUtf8() + '"'));
            };
            if (language == Japanese)
                swap(store.discNames[Japanese]);
            for (int t = 1; t <= store.trackCount && language == Japanese; ++t)
                swap(store.trackTitles(Japanese, t));
        }
        QVERIFY(toc.contains("\xE6\x9B\xB2")); // 曲, as it is
    }
    m_folder->write(u"audio.raw"_s, QByteArray(4 * 75 * 2352, '\0'));
    m_folder->write(u"disc.toc"_s, toc);
    QProcess show;
    show.setWorkingDirectory(m_folder->path());
    show.start(u"cdrdao"_s, {u"show-toc"_s, u"disc.toc"_s});
    QVERIFY(show.waitForFinished(10000));
    QVERIFY2(show.exitCode() == 0, show.readAllStandardError().constData());

    QCOMPARE(importedFile(toc, ImportKind::Toc),
             WriteTitleFile(expected, sectionsWithText(expected)));
    QProcess cddb;
    cddb.setWorkingDirectory(m_folder->path());
    cddb.start(u"toc2cddb"_s, {u"disc.toc"_s});
    QVERIFY(cddb.waitForFinished(10000));
    const QByteArray fields = cddb.readAllStandardOutput();
    const int first = LanguageHasText(store, English) ? English : Japanese;
    const QString title = expected.trackTitles(first, 2);
    const QByteArray asCdrdaoHasIt = first == English ? title.toLatin1()
                                     : utf8           ? title.toUtf8()
                                                      : Cp932Encoder::instance().encode(title);
    QVERIFY2(fields.contains(QByteArray("TTITLE1=" + asCdrdaoHasIt + '\n')), fields.constData());
}

QTEST_GUILESS_MAIN(TestCdTextImport)
#include "tst_cdtextimport.moc"
