// SPDX-License-Identifier: GPL-3.0-or-later
// CD-Text packs: the published example both ways, the layout of texts over
// packs and blocks, Tab repeats, the double-byte form of Japanese texts, and
// the pack-file verifier.
#include "cdtext/discblocks.h"
#include "cdtext/importsource.h"
#include "cdtext/packs.h"

#include <QTest>

using namespace sonolabe::cdtext;
using namespace Qt::Literals::StringLiterals;

namespace {

QByteArray pack(const QByteArray &all, int index)
{
    return all.mid(index * PackSize, PackSize);
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

class TestCdTextPacks : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void publishedExample();
    void twoBlocks();
    void tabRepeat_data();
    void tabRepeat();
    void doubleByteForm_data();
    void doubleByteForm();
    void verifier_data();
    void verifier();
};

// The example of libburn's CD-Text documentation (doc/cdtext.txt, also in
// the Debian package libburn-doc): the packs cdrskin makes from a CUE sheet
// of three tracks with titles, performers, songwriters, UPC and ISRCs. The
// import reads its titles back and says why the performers are left out.
void TestCdTextPacks::publishedExample()
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
    const std::optional<QByteArray> packs = BuildPacks({block});
    QVERIFY(packs);
    QCOMPARE(packs->size(), expected.size());
    for (int i = 0; i < expected.size() / PackSize; ++i)
        QCOMPARE(pack(*packs, i).toHex(), pack(expected, i).toHex());

    const ImportResult result = ImportTexts(expected, ImportKind::Packs, {});
    QCOMPARE(result.titleFile(), QByteArray("en\r\n0\tJoyful Nights\t\r\n1\tSong of Joy\r\n"
                                            "2\tHumpty Dumpty\r\n3\tMee Owwww\r\n\r\n"));
    QCOMPARE(result.notes, (std::vector<SourceNote>{{SourceNote::TrackPerformers, 0, 0, {}}}));
}

// An English block whose long title runs over several packs and a Japanese
// block of double-byte texts: headers, terminators, and the size information
// each block gives about itself and about both blocks.
void TestCdTextPacks::twoBlocks()
{
    const PackBlock english =
        makeBlock(2, {{0x80, {"Disc", QByteArray(40, 'x'), "B"}}, {0x81, {"Band", "", ""}}});
    const PackBlock japanese =
        makeBlock(2, {{0x80, {QByteArray(14, 'A'), "\x82\xa0", "BB"}}}, true);
    const std::optional<QByteArray> packs = BuildPacks({english, japanese});
    QVERIFY(packs);
    // Type, track, sequence number, then double-byte flag, block number and
    // the characters of the pack's first text that earlier packs hold (15
    // standing for 15 or more).
    const QList<QByteArray> headers = {"80000000", "80010107", "8001020f", "8001030f", "81000400",
                                       "8f000500", "8f010600", "8f020700", "80000090", "80000196",
                                       "8f000210", "8f010310", "8f020410"};
    QCOMPARE(packs->size(), headers.size() * PackSize);
    for (int i = 0; i < headers.size(); ++i)
        QCOMPARE(pack(*packs, i).left(4).toHex(), headers[i]);
    QCOMPARE(pack(*packs, 9).mid(4, 12), QByteArray("AA\0\0\x82\xa0\0\0BB\0\0", 12));

    const auto sizeInfo = [&](int first) {
        return QByteArray(pack(*packs, first).mid(4, 12) + pack(*packs, first + 1).mid(4, 12) +
                          pack(*packs, first + 2).mid(4, 12))
            .toHex();
    };
    // Character code, first and last track, copyright; packs per type 0x80
    // to 0x8F; last sequence number of every block; language of every block.
    const QByteArray blocks = "07040000000000000969000000000000";
    QCOMPARE(sizeInfo(5), "0001020004010000000000000000000000000003" + blocks);
    QCOMPARE(sizeInfo(10), "8001020002000000000000000000000000000003" + blocks);
}

void TestCdTextPacks::tabRepeat_data()
{
    QTest::addColumn<bool>("doubleByte");
    QTest::addColumn<QList<QByteArray>>("entries");
    QTest::addColumn<QByteArray>("text");
    QTest::newRow("a Tab for the track before, empty texts stay")
        << false << QList<QByteArray>{"D", "", "", "Ab", "Ab", "Ab"}
        << QByteArray("D\0\0\0Ab\0\t\0\t\0\0", 12);
    QTest::newRow("double-byte repeat is two Tabs")
        << true << QList<QByteArray>{"DD", "AA", "AA"} << QByteArray("DD\0\0AA\0\0\t\t\0\0", 12);
    QTest::newRow("track 1 is not compared with the disc")
        << false << QList<QByteArray>{"Ab", "Ab", "c"} << QByteArray("Ab\0Ab\0c\0\0\0\0\0", 12);
}

void TestCdTextPacks::tabRepeat()
{
    QFETCH(bool, doubleByte);
    QFETCH(QList<QByteArray>, entries);
    QFETCH(QByteArray, text);
    const PackBlock block = makeBlock(static_cast<int>(entries.size() - 1),
                                      {{0x80, {entries.begin(), entries.end()}}}, doubleByte);
    const std::optional<QByteArray> packs = BuildPacks({block}, {true, TextPackBudget});
    QVERIFY(packs);
    QCOMPARE(pack(*packs, 0).mid(4, 12), text);
}

void TestCdTextPacks::doubleByteForm_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("form");
    QTest::newRow("ASCII; double-byte characters stay")
        << u"CD 1-A表ソ①"_s << u"ＣＤ\u3000１－Ａ表ソ①"_s;
    // The full-width straight quotes are IBM extensions.
    QTest::newRow("quotes") << u"\"a'"_s << u"\u201Dａ\u2019"_s;
    QTest::newRow("kana with voiced mark") << u"ｶﾞｷﾞﾊﾟｳﾞ"_s << u"ガギパヴ"_s;
    QTest::newRow("mark that joins nothing") << u"ﾞﾝﾟ"_s << u"゛ン゜"_s;
    QTest::newRow("kana the code page lacks composed") << u"ﾜﾞ"_s << u"ワ゛"_s;
    QTest::newRow("yen sign and overline") << u"\u00A5\u203E"_s << u"￥￣"_s;
}

// In an MS-JIS block every character takes two bytes: ASCII and half-width
// katakana are written in their full-width forms.
void TestCdTextPacks::doubleByteForm()
{
    QFETCH(QString, text);
    QFETCH(QString, form);
    QCOMPARE(DoubleByteForm(text), form);
}

void TestCdTextPacks::verifier_data()
{
    const QByteArray packs = *BuildPacks({makeBlock(1, {{0x80, {"Disc", "One"}}})});
    const QByteArray file = PackFileBytes(packs);
    QByteArray text = file;
    text[4 + 3 * PackSize + 7] = 'X';
    QByteArray header = file;
    header[1] = char(header[1] + 18);
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<int>("badPack"); // -2: the file is good
    QTest::newRow("file with header") << file << -2;
    QTest::newRow("packs and a trailing NUL") << packs + QByteArray(1, '\0') << -2;
    QTest::newRow("a byte of the last pack changed") << text << 3;
    QTest::newRow("header tells another size") << header << -1;
}

void TestCdTextPacks::verifier()
{
    QFETCH(QByteArray, file);
    QFETCH(int, badPack);
    const PackFileVerdict verdict = VerifyPackFile(file);
    QCOMPARE(verdict.ok, badPack == -2);
    QCOMPARE(verdict.badPack, std::max(badPack, -1));
    if (verdict.ok)
        QCOMPARE(verdict.packCount, 4);
}

QTEST_GUILESS_MAIN(TestCdTextPacks)
#include "tst_cdtextpacks.moc"
