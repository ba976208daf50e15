// SPDX-License-Identifier: GPL-3.0-or-later
// CD-Text packs: the published example both ways, texts over packs and
// blocks with Tab repeats, the double-byte form of Japanese texts, and the
// import of blocks back into a title file. The round trips through every
// layout of a pack file are the import fuzz target's property, replayed over
// its corpus in tst_fuzzcorpus.
#include "cdtext/cdtexttest.h"

namespace {

// Three blocks of one track: English, German (language code 0x08) and
// Japanese.
std::vector<DiscBlock> threeBlocks()
{
    std::vector<DiscBlock> blocks = DiscBlocks(makeDisc(1, {u"ベスト"_s}, {u"Best"_s}), {});
    blocks.insert(blocks.begin() + 1, blocks[0]);
    blocks[1].pack.languageCode = 0x08;
    blocks[1].pack.types[0].entries[0] = "Die Besten";
    return blocks;
}

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

} // namespace

class TestPacks : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    // The example of libburn's CD-Text documentation (doc/cdtext.txt, also in
    // the Debian package libburn-doc): the packs cdrskin makes from a CUE sheet
    // of three tracks with titles, performers, songwriters, UPC and ISRCs. The
    // import reads its titles back and says why the performers are left out.
    void publishedExample()
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
        const PackBlock block = makeBlock(
            3, {{0x80, {"Joyful Nights", "Song of Joy", "Humpty Dumpty", "Mee Owwww"}},
                {0x81, {"", "Felix and The Purrs", "Catwalk Beauties", "Mia Kitten"}},
                {0x82, {"", "Friedrich Schiller", "Mother Goose", "Mia Kitten"}},
                {0x8E, {"1234567890123", "XYBLG1101234", "XYBLG1100005", "XYBLG1100006"}}});
        QCOMPARE(TextPacksNeeded(block, false), 19);
        QCOMPARE(BuildPacks({block}).value_or(QByteArray()).toHex(), expected.toHex());

        const ImportResult result = ImportTexts(expected, ImportKind::Packs, {});
        QCOMPARE(result.titleFile(), "en\r\n0\tJoyful Nights\t\r\n1\tSong of Joy\r\n"
                                     "2\tHumpty Dumpty\r\n3\tMee Owwww\r\n\r\n"_ba);
        // Performers, songwriters and ISRCs of tracks 1 to 3, the disc's UPC/EAN:
        // block 0, the field, its first track and the further ones.
        const auto leftOut = [](LeftOutField field, int track, int more) {
            return SourceNote{SourceNote::TextLeftOut, 0, int(field), {}, track, more};
        };
        QCOMPARE(result.notes, (std::vector<SourceNote>{leftOut(LeftOutField::Performer, 1, 2),
                                                        leftOut(LeftOutField::Songwriter, 1, 2),
                                                        leftOut(LeftOutField::UpcEan, 0, 0),
                                                        leftOut(LeftOutField::Isrc, 1, 2)}));
    }

    // A block of one byte per character and one of two, with Tab repeats, pack
    // by pack: the header (type, track, sequence number, then double-byte flag,
    // block number and the characters of the pack's first text that earlier
    // packs hold) and the text. A track's text like the one before is a Tab, two
    // in a double-byte block; empty texts, and track 1, which is not compared
    // with the disc, are written out. The size information of each block
    // (character code, first and last track, copyright; packs per type 0x80 to
    // 0x8F; every block's last sequence number and language) tells about both.
    void twoBlocks()
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
    void doubleByteForm()
    {
        QCOMPARE(DoubleByteForm(u"CD 1-A\"a'表ソ①"_s), u"ＣＤ\u3000１－Ａ\u201Dａ\u2019表ソ①"_s);
        QCOMPARE(DoubleByteForm(u"ｶﾞｷﾞﾊﾟｳﾞﾞﾝﾟﾜﾞ"_s), u"ガギパヴ゛ン゜ワ゛"_s);
        QCOMPARE(DoubleByteForm(u"\u00A5\u203E"_s), u"￥￣"_s);
    }

    // The blocks read, and those skipped with the reason.
    void reads_data()
    {
        importColumns();
        const QByteArray source = BuildPacks(PackBlocksOf(threeBlocks())).value_or(QByteArray());
        const QString both = section("en", u"Best"_s) + section("ja", u"ベスト"_s);
        importRow("German skipped", source, both, {SourceNote::OtherLanguage});
        importRow("--block 1 reads German as English", source, section("en", u"Die Besten"_s), {},
                  {}, 1);
        importRow("--block 1 --lang ja", source, section("ja", u"Die Besten"_s), {}, {}, 1,
                  Japanese);
        importRow("--lang ja", source, section("ja", u"ベスト"_s), {SourceNote::OtherLanguage}, {},
                  {}, Japanese);
        importRow("--block 5", source, QString(), {SourceNote::NoSuchBlock}, {}, 5);
        // Some tools leave every CRC zero, to be filled in later.
        QByteArray zeroCrcs = source;
        for (qsizetype at = 0; at < zeroCrcs.size(); at += PackSize)
            zeroCrcs[at + 16] = zeroCrcs[at + 17] = 0;
        importRow("CRCs all zero: read, noted", zeroCrcs, both,
                  {SourceNote::CrcNotFilledIn, SourceNote::OtherLanguage});
        // The second disc of a set, its tracks numbered on from the first disc's.
        PackBlock third = makeBlock(4, {{PackTypeTitle, {"Disc", "Three", "Four"}}});
        third.firstTrack = 3;
        importRow("first track 3: tracks 1 and 2 empty", BuildPacks({third}).value_or(QByteArray()),
                  u"en\r\n0\tDisc\t\r\n1\t\r\n2\t\r\n3\tThree\r\n4\tFour\r\n\r\n"_s,
                  {SourceNote::FirstTrackNotOne});

        PackBlock msJis =
            makeBlock(1, {{PackTypeTitle, {"a\r\nb\xB1\xB2", "\x83\x5C\td\xFF"}}}, true);
        msJis.doubleByte = false; // as some discs have it
        importRow("MS-JIS in single bytes; line break, Tab, bytes that are no character",
                  BuildPacks({msJis}).value_or(QByteArray()),
                  section("ja", u"a  bｱｲ"_s, u"ソ d?"_s), {},
                  {Replacement::LineBreak, Replacement::Tab, Replacement::NoCharacter});
    }
    void reads() { checkImportRow(ImportKind::Packs); }
};

QTEST_GUILESS_MAIN(TestPacks)
#include "tst_packs.moc"
