// SPDX-License-Identifier: GPL-3.0-or-later
// The formats, in-process: CD-Text packs (the published example both ways,
// texts over packs and blocks with Tab repeats, the double-byte form of
// Japanese texts, the layouts of a pack file), CUE sheets given with --into
// (what is written and kept), and the import of texts
// back into a title file (block choices and foreign texts, with what was
// changed or skipped reported).
#include "cdtexttest.h"

#include "cdtext/cue/cuesheet.h"
#include "cdtext/import/importsource.h"
#include "cdtext/v07t/v07t.h"

using namespace sonolabe;
using namespace sonolabe::cdtext;
using namespace sonolabe::cdtext::test;

Q_DECLARE_METATYPE(sonolabe::cdtext::ImportKind)
Q_DECLARE_METATYPE(std::optional<int>)

namespace {

PackBlock makeBlock(int lastTrack, std::vector<PackTexts> types, bool doubleByte = false)
{
    PackBlock block;
    block.lastTrack = static_cast<quint8>(lastTrack);
    block.types = std::move(types);
    if (doubleByte) {
        block.doubleByte = true;
        block.characterCode = CharacterCodeMsJis;
        block.languageCode = LanguageCodeJapanese;
    }
    return block;
}

// A section of a one-track title file.
QString section(const char *language, const QString &disc, const QString &title1 = {})
{
    return QString::fromLatin1(language) + u"\r\n0\t"_s + disc + u"\t\r\n1\t"_s + title1 +
           u"\r\n\r\n"_s;
}

} // namespace

class TestCdTextFormats : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void publishedExample();
    void twoBlocks();
    void doubleByteForm();
    void packLayouts();
    void rewrite_data();
    void rewrite();
    void reads_data();
    void reads();
};

// The example of libburn's CD-Text documentation (doc/cdtext.txt, also in
// the Debian package libburn-doc): the packs cdrskin makes from a CUE sheet
// of three tracks with titles, performers, songwriters, UPC and ISRCs. The
// import reads its titles back and says why the performers are left out.
void TestCdTextFormats::publishedExample()
{
    const QByteArray expected = QByteArray::fromHex(
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
    const PackBlock block =
        makeBlock(3, {{0x80, {"Joyful Nights", "Song of Joy", "Humpty Dumpty", "Mee Owwww"}},
                      {0x81, {"", "Felix and The Purrs", "Catwalk Beauties", "Mia Kitten"}},
                      {0x82, {"", "Friedrich Schiller", "Mother Goose", "Mia Kitten"}},
                      {0x8E, {"1234567890123", "XYBLG1101234", "XYBLG1100005", "XYBLG1100006"}}});
    QCOMPARE(TextPacksNeeded(block, false), 19);
    QCOMPARE(BuildPacks({block}).value_or(QByteArray()).toHex(), expected.toHex());

    const ImportResult result = ImportTexts(expected, ImportKind::Packs, {});
    QCOMPARE(result.titleFile(), QByteArray("en\r\n0\tJoyful Nights\t\r\n1\tSong of Joy\r\n"
                                            "2\tHumpty Dumpty\r\n3\tMee Owwww\r\n\r\n"));
    QCOMPARE(result.notes, (std::vector<SourceNote>{{SourceNote::TrackPerformers, 0, 0, {}}}));
}

// A block of one byte per character and one of two, with Tab repeats, pack
// by pack: the header (type, track, sequence number, then double-byte flag,
// block number and the characters of the pack's first text that earlier
// packs hold) and the text. A track's text like the one before is a Tab, two
// in a double-byte block; empty texts, and track 1, which is not compared
// with the disc, are written out. The size information of each block
// (character code, first and last track, copyright; packs per type 0x80 to
// 0x8F; every block's last sequence number and language) tells about both.
void TestCdTextFormats::twoBlocks()
{
    const QByteArray packs =
        BuildPacks({makeBlock(5, {{0x80, {"Ab", "Ab", "", "", "c", "c"}}}),
                    makeBlock(2, {{0x80, {QByteArray(14, 'A'), "BB", "BB"}}}, true)},
                   {true, TextPackBudget})
            .value_or(QByteArray());
    QByteArray dump;
    for (qsizetype at = 0; at < packs.size(); at += PackSize)
        dump += packs.mid(at, 4).toHex() + ' ' + packs.mid(at + 4, 12).toHex() + '\n';
    QCOMPARE(dump, "80000000 416200416200000063000900\n"
                   "8f000100 000105000100000000000000\n"
                   "8f010200 000000000000000303040000\n"
                   "8f020300 000000000969000000000000\n"
                   "80000090 414141414141414141414141\n"
                   "80000196 414100004242000009090000\n"
                   "8f000210 800102000200000000000000\n"
                   "8f010310 000000000000000303040000\n"
                   "8f020410 000000000969000000000000\n");
}

// In an MS-JIS block every character takes two bytes: ASCII and half-width
// katakana are written in their full-width forms, the quotes as curly ones
// (the full-width straight quotes are IBM extensions); a voiced mark joins
// the kana before it, one the code page lacks composed is kept apart, and one
// that joins nothing stands alone.
void TestCdTextFormats::doubleByteForm()
{
    QCOMPARE(DoubleByteForm(u"CD 1-A\"a'表ソ①"_s), u"ＣＤ\u3000１－Ａ\u201Dａ\u2019表ソ①"_s);
    QCOMPARE(DoubleByteForm(u"ｶﾞｷﾞﾊﾟｳﾞﾞﾝﾟﾜﾞ"_s), u"ガギパヴ゛ン゜ワ゛"_s);
    QCOMPARE(DoubleByteForm(u"\u00A5\u203E"_s), u"￥￣"_s);
}

// The disc of twoTracks(), its tracks cut to the row's count.
void TestCdTextFormats::rewrite_data()
{
    QTest::addColumn<int>("language");
    QTest::addColumn<int>("tracks");
    QTest::addColumn<bool>("artist");             // the English one kept
    QTest::addColumn<QByteArray>("sheet");
    QTest::addColumn<QByteArray>("expected");
    QTest::newRow("CUE: added, a title replaced; byte-order mark, CR LF, no line end at the end")
        << int(English) << 2 << true
        << QByteArray("\xEF\xBB\xBF"
                      "FILE \"a.wav\" WAVE\r\n  TRACK 01 AUDIO\r\n    title \"old\"\r\n"
                      "    PERFORMER \"Guest\"\r\n    INDEX 01 00:00:00\r\n  TRACK 02 AUDIO")
        << QByteArray("\xEF\xBB\xBFTITLE \"Best\"\r\nPERFORMER \"Band\"\r\nFILE \"a.wav\" WAVE\r\n"
                      "  TRACK 01 AUDIO\r\n    title \"Intro\"\r\n    PERFORMER \"Guest\"\r\n"
                      "    INDEX 01 00:00:00\r\n  TRACK 02 AUDIO\r\n    TITLE \"Outro\"\r\n");
    // Japanese sheets name the pack file disc.cdt, which the disc gets.
    QTest::newRow("CUE, Japanese: no artist removes the performer, duplicates go")
        << int(Japanese) << 2 << true
        << QByteArray("TITLE \"a\"\nTITLE \"b\"\nPERFORMER \"P\"\nFILE \"a.wav\" WAVE\n"
                      "  TRACK 01 AUDIO\n    INDEX 01 00:00:00\n"
                      "  TRACK 02 AUDIO\n    INDEX 01 01:00:00\n")
        << "TITLE \"" + sjis(u"ベスト"_s) +
               "\"\nCDTEXTFILE \"disc.cdt\"\nFILE \"a.wav\" WAVE\n  TRACK 01 AUDIO\n    TITLE \"" +
               sjis(u"序曲"_s) + "\"\n    INDEX 01 00:00:00\n  TRACK 02 AUDIO\n    TITLE \"" +
               sjis(u"表紙"_s) + "\"\n    INDEX 01 01:00:00\n";
    QTest::newRow("CUE, Japanese, UTF-8 with byte-order mark: UTF-8 texts, the mark kept")
        << int(Japanese) << 2 << true
        << QByteArray(
               "\xEF\xBB\xBFREM \xC3\xA9\r\nCDTEXTFILE \"old.cdt\"\r\nFILE \"a.wav\" WAVE\r\n"
               "  TRACK 01 AUDIO\r\n  TRACK 02 AUDIO\r\n")
        << u"\uFEFFREM é\r\nCDTEXTFILE \"disc.cdt\"\r\nTITLE \"ベスト\"\r\nFILE \"a.wav\" WAVE\r\n"
           u"  TRACK 01 AUDIO\r\n    TITLE \"序曲\"\r\n  TRACK 02 AUDIO\r\n    TITLE \"表紙\"\r\n"_s
               .toUtf8();
    QTest::newRow("CUE, Japanese, UTF-8 without a mark")
        << int(Japanese) << 0 << true << u"TITLE \"古い\"\n"_s.toUtf8()
        << u"TITLE \"ベスト\"\nCDTEXTFILE \"disc.cdt\"\n"_s.toUtf8();
    QTest::newRow("CUE, English: a CDTEXTFILE line goes, as it would hide the texts")
        << int(English) << 1 << false
        << QByteArray("CDTEXTFILE \"old.cdt\"\nFILE \"a.wav\" WAVE\n  TRACK 01 AUDIO\n")
        << QByteArray(
               "TITLE \"Best\"\nFILE \"a.wav\" WAVE\n  TRACK 01 AUDIO\n    TITLE \"Intro\"\n");
    // Nothing to put the disc's lines in front of: they go at the end.
    QTest::newRow("CUE: no tracks, no FILE or TRACK line")
        << int(English) << 0 << true
        << QByteArray("REM DATE 2001\nPERFORMER \"Old\"\nREM COMMENT x")
        << QByteArray("REM DATE 2001\nPERFORMER \"Band\"\nREM COMMENT x\nTITLE \"Best\"\n");
}

void TestCdTextFormats::rewrite()
{
    QFETCH(int, language);
    QFETCH(int, tracks);
    QFETCH(bool, artist);
    QFETCH(QByteArray, sheet);
    QFETCH(QByteArray, expected);
    TitleStore store = twoTracks();
    store.setTrackCount(tracks);
    if (!artist)
        store.artistNames[English].clear();
    const CueRewrite cue = RewriteCueSheet(
        sheet, store, language,
        language == Japanese ? std::optional(QByteArray("disc.cdt")) : std::nullopt);
    QCOMPARE(cue.fault, CueRewrite::None);
    QCOMPARE(cue.sheet, expected);
}

// A pack file reads with or without its header and trailing NUL, its Tabs
// as the texts they repeat, its Japanese block in full-width forms; the
// verifier the tests use takes each but header and NUL together. The round
// trips through every writer are the import fuzz target's property, replayed
// over its corpus in tst_fuzzcorpus.
void TestCdTextFormats::packLayouts()
{
    const TitleStore store = disc(u"both repeated"_s);
    const QByteArray withHeader = packFile(store, true);
    const QByteArray packs = withHeader.sliced(4);
    for (const QByteArray &source :
         {withHeader, packs, QByteArray(packs + '\0'), QByteArray(withHeader + '\0')}) {
        if (source.size() % PackSize != 5)
            QVERIFY(VerifyPackFile(source).ok);
        QCOMPARE(DetectImportKind(source), std::optional<ImportKind>(ImportKind::Packs));
        const ImportResult result = ImportTexts(source, ImportKind::Packs, {});
        QCOMPARE(result.titleFile(), burnedTitleFile(store));
        QVERIFY(result.notes.empty() && result.replacements.empty());
    }
}

void TestCdTextFormats::reads_data()
{
    QTest::addColumn<ImportKind>("kind");
    QTest::addColumn<QByteArray>("source");
    QTest::addColumn<std::optional<int>>("block");
    QTest::addColumn<std::optional<int>>("language");
    QTest::addColumn<QString>("file");       // the title file written, "" for none
    QTest::addColumn<QList<int>>("reasons"); // Replacement reasons, in order
    QTest::addColumn<QList<int>>("notes");   // SourceNote kinds
    const auto none = std::optional<int>();
    const auto some = [](int n) { return std::optional<int>(n); };

    // Three blocks: English, German (code 0x08) and Japanese.
    TitleStore store;
    store.trackCount = 1;
    store.discNames[English] = u"Best"_s;
    store.discNames[Japanese] = u"ベスト"_s;
    std::vector<DiscBlock> blocks = DiscBlocks(store, {});
    blocks.insert(blocks.begin() + 1, blocks[0]);
    blocks[1].pack.languageCode = 0x08;
    blocks[1].pack.types[0].entries[0] = "Die Besten";
    QByteArray v07t = WriteV07tSheets(blocks).bytes;
    v07t.replace(v07t.indexOf("English", v07t.indexOf("English") + 1), 7, "German");
    const QString both = section("en", u"Best"_s) + section("ja", u"ベスト"_s);
    for (const ImportKind kind : {ImportKind::Packs, ImportKind::V07t}) {
        const char *k = kind == ImportKind::Packs ? "packs" : "v07t";
        const QByteArray source =
            kind == ImportKind::V07t ? v07t : *BuildPacks(PackBlocksOf(blocks));
        QTest::addRow("%s: German skipped", k)
            << kind << source << none << none << both << QList<int>{}
            << QList<int>{SourceNote::OtherLanguage};
        QTest::addRow("%s: --block 1 reads German as English", k)
            << kind << source << some(1) << none << section("en", u"Die Besten"_s) << QList<int>{}
            << QList<int>{};
        QTest::addRow("%s: --block 1 --lang ja", k)
            << kind << source << some(1) << some(Japanese) << section("ja", u"Die Besten"_s)
            << QList<int>{} << QList<int>{};
        QTest::addRow("%s: --lang ja", k)
            << kind << source << none << some(Japanese) << section("ja", u"ベスト"_s)
            << QList<int>{} << QList<int>{SourceNote::OtherLanguage};
        QTest::addRow("%s: --block 5", k) << kind << source << some(5) << none << QString()
                                          << QList<int>{} << QList<int>{SourceNote::NoSuchBlock};
    }

    PackBlock msJis = makeBlock(1, {{PackTypeTitle, {"a\r\nb\xB1\xB2", "\x83\x5C\td\xFF"}}}, true);
    msJis.doubleByte = false; // as some discs have it
    QTest::newRow("packs: MS-JIS in single bytes; line break, Tab, bytes that are no character")
        << ImportKind::Packs << BuildPacks({msJis}).value_or(QByteArray()) << none << none
        << section("ja", u"a  bｱｲ"_s, u"ソ d?"_s)
        << QList<int>{Replacement::LineBreak, Replacement::Tab, Replacement::NoCharacter}
        << QList<int>{};
    QTest::newRow("CUE: UTF-8, Japanese by its characters")
        << ImportKind::Cue
        << QByteArray("TITLE \"\xE6\x97\xA5\xE6\x9C\xAC \xF0\x9F\x8E\xB5\"\nFILE \"a.wav\" WAVE\n"
                      "  TRACK 01 AUDIO\n    TITLE \"ﾃｽﾄ \"quoted\"\"\n")
        << none << none << section("ja", u"日本 ?"_s, u"ﾃｽﾄ \"quoted\""_s)
        << QList<int>{Replacement::NotInCodePage} << QList<int>{};
}

// The kind of source is told by its content. Texts the title file cannot
// hold are written with the stated replacement and reported, each reason
// once per text.
void TestCdTextFormats::reads()
{
    QFETCH(ImportKind, kind);
    QFETCH(QByteArray, source);
    QFETCH(std::optional<int>, block);
    QFETCH(std::optional<int>, language);
    QFETCH(QString, file);
    QFETCH(QList<int>, reasons);
    QFETCH(QList<int>, notes);
    QCOMPARE(DetectImportKind(source), std::optional<ImportKind>(kind));
    const ImportResult result = ImportTexts(source, kind, {block, language, false});
    QCOMPARE(result.titleFile(), sjis(file));
    const auto kinds = [](const auto &list, auto kind) {
        QList<int> found;
        for (const auto &item : list)
            found << item.*kind;
        return found;
    };
    QCOMPARE(kinds(result.replacements, &Replacement::reason), reasons);
    QCOMPARE(kinds(result.notes, &SourceNote::kind), notes);
}
QTEST_GUILESS_MAIN(TestCdTextFormats)
#include "tst_cdtextformats.moc"
