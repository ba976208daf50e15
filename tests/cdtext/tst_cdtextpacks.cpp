// CD-Text packs: the CRC, the layout of texts over packs, the size
// information, the budget, and the pack-file verifier.
#include "cdtext/packs.h"

#include <QTest>

using namespace sonolabe::cdtext;
using namespace Qt::Literals::StringLiterals;

namespace {

QByteArray pack(const QByteArray &all, int index)
{
    return all.mid(index * PackSize, PackSize);
}

PackBlock singleByteBlock(int lastTrack, std::vector<PackTexts> types)
{
    PackBlock block;
    block.lastTrack = static_cast<quint8>(lastTrack);
    block.types = std::move(types);
    return block;
}

} // namespace

class TestCdTextPacks : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void crcOfKnownInput();
    void publishedExample();
    void characterPositions();
    void doubleByteBlock();
    void tabRepeat_data();
    void tabRepeat();
    void twoBlocksShareSizeInformation();
    void budget_data();
    void budget();
    void verifier_data();
    void verifier();
};

// CRC-16 with polynomial 0x1021 and initial value 0 gives 0x31C3 for the
// digits 1 to 9; the packs store it inverted.
void TestCdTextPacks::crcOfKnownInput()
{
    QCOMPARE(PackCrc("123456789"), quint16(~0x31C3));
}

// The example of libburn's CD-Text documentation (doc/cdtext.txt, also in
// the Debian package libburn-doc): the packs cdrskin makes from a CUE sheet
// of three tracks with titles, performers, songwriters, UPC and ISRCs.
void TestCdTextPacks::publishedExample()
{
    const QList<QByteArray> expected = {
        "800000004a6f7966756c204e69676874f0f7", "8000010c7300536f6e67206f66204a6f431c",
        "8001020a790048756d7074792044756d43f9", "8002030a707479004d6565204f7777772472",
        "800304087700000000000000000000006eaf", "810005000046656c697820616e6420544d51",
        "8101060b686520507572727300436174a740", "8102070377616c6b20426561757469655980",
        "8102080f73004d6961204b697474656e30c9", "8103090a000000000000000000000000ad19",
        "82000a00004672696564726963682053708f", "82010b0b6368696c6c6572004d6f74683343",
        "82020c04657220476f6f7365004d6961d6f5", "82030d03204b697474656e0000000000f583",
        "8e000e00313233343536373839303132923e", "8e000f0c33005859424c473131303132c02b",
        "8e01100a3334005859424c4731313030bbb3", "8e021109303035005859424c47313130f3bf",
        "8e0312083030303600000000000000005b5c", "8f0013000001030005050400000000009bfe",
        "8f011400000000000000050315000000110b", "8f021500000000000900000000000000da77",
    };
    const PackBlock block = singleByteBlock(
        3, {{0x80, {"Joyful Nights", "Song of Joy", "Humpty Dumpty", "Mee Owwww"}},
            {0x81, {"", "Felix and The Purrs", "Catwalk Beauties", "Mia Kitten"}},
            {0x82, {"", "Friedrich Schiller", "Mother Goose", "Mia Kitten"}},
            {0x8E, {"1234567890123", "XYBLG1101234", "XYBLG1100005", "XYBLG1100006"}}});

    QCOMPARE(TextPacksNeeded(block, false), 19);
    const std::optional<QByteArray> packs = BuildPacks({block});
    QVERIFY(packs);
    QCOMPARE(packs->size(), expected.size() * PackSize);
    for (int i = 0; i < expected.size(); ++i)
        QCOMPARE(pack(*packs, i).toHex(), expected[i]);
}

// The fourth header byte counts the characters of the pack's first text that
// earlier packs hold, up to 15.
void TestCdTextPacks::characterPositions()
{
    const QByteArray longTitle(40, 'x');
    const std::optional<QByteArray> packs =
        BuildPacks({singleByteBlock(2, {{0x80, {"Disc", longTitle, "B"}}})});
    QVERIFY(packs);
    // Packs: "Disc\0" and 7 x | 12 x | 12 x | 9 x, "\0B\0"
    QCOMPARE(packs->size(), (4 + 3) * PackSize);
    QCOMPARE(quint8(pack(*packs, 0)[1]), quint8(0)); // starts with the disc's text
    QCOMPARE(quint8(pack(*packs, 0)[3]), quint8(0));
    QCOMPARE(quint8(pack(*packs, 1)[1]), quint8(1));
    QCOMPARE(quint8(pack(*packs, 1)[3]), quint8(7));
    QCOMPARE(quint8(pack(*packs, 2)[3]), quint8(15)); // 19 characters, shown as 15
    QCOMPARE(quint8(pack(*packs, 3)[1]), quint8(1));
    QCOMPARE(quint8(pack(*packs, 3)[3]), quint8(15));
    QCOMPARE(pack(*packs, 3).mid(4, 12), QByteArray("xxxxxxxxx\0B\0", 12));
}

// A double-byte block: every text ends in two NULs, positions count
// characters of two bytes, and every text pack carries the flag and the
// block number.
void TestCdTextPacks::doubleByteBlock()
{
    PackBlock english = singleByteBlock(1, {{0x80, {"E", "e"}}});
    PackBlock japanese = singleByteBlock(1, {{0x80, {QByteArray(14, 'A'), "\x82\xa0"}}});
    japanese.doubleByte = true;
    japanese.characterCode = CharacterCodeMsJis;
    japanese.languageCode = LanguageCodeJapanese;
    const std::optional<QByteArray> packs = BuildPacks({english, japanese});
    QVERIFY(packs);
    QCOMPARE(packs->size(), (1 + 3 + 2 + 3) * PackSize);
    const QByteArray first = pack(*packs, 4);
    const QByteArray second = pack(*packs, 5);
    QCOMPARE(quint8(first[0]), quint8(0x80));
    QCOMPARE(quint8(first[2]), quint8(0)); // sequence numbers start again per block
    QCOMPARE(quint8(first[3]), quint8(0x90));
    QCOMPARE(quint8(second[1]), quint8(0));        // still the disc's text
    QCOMPARE(quint8(second[3]), quint8(0x90 | 6)); // 12 bytes are 6 characters
    QCOMPARE(second.mid(4, 12), QByteArray("AA\0\0\x82\xa0\0\0\0\0\0\0", 12));
    // Size information is binary: block number only, no double-byte flag.
    QCOMPARE(quint8(pack(*packs, 6)[3]), quint8(0x10));
    QCOMPARE(quint8(pack(*packs, 6)[4]), quint8(CharacterCodeMsJis));
}

void TestCdTextPacks::tabRepeat_data()
{
    QTest::addColumn<bool>("doubleByte");
    QTest::addColumn<QList<QByteArray>>("entries");
    QTest::addColumn<QByteArray>("text");
    QTest::newRow("same as the track before") << false << QList<QByteArray>{"D", "Ab", "Ab", "Ab"}
                                              << QByteArray("D\0Ab\0\t\0\t\0\0\0\0", 12);
    QTest::newRow("double-byte repeat is two Tabs")
        << true << QList<QByteArray>{"DD", "AA", "AA"} << QByteArray("DD\0\0AA\0\0\t\t\0\0", 12);
    QTest::newRow("track 1 is not compared with the disc")
        << false << QList<QByteArray>{"Ab", "Ab", "c"} << QByteArray("Ab\0Ab\0c\0\0\0\0\0", 12);
    QTest::newRow("empty texts stay empty")
        << false << QList<QByteArray>{"D", "", "", "x"} << QByteArray("D\0\0\0x\0\0\0\0\0\0\0", 12);
}

void TestCdTextPacks::tabRepeat()
{
    QFETCH(bool, doubleByte);
    QFETCH(QList<QByteArray>, entries);
    QFETCH(QByteArray, text);
    PackBlock block =
        singleByteBlock(static_cast<int>(entries.size() - 1),
                        {{0x80, std::vector<QByteArray>(entries.begin(), entries.end())}});
    block.doubleByte = doubleByte;
    const std::optional<QByteArray> packs = BuildPacks({block}, {true, TextPackBudget});
    QVERIFY(packs);
    QCOMPARE(pack(*packs, 0).mid(4, 12), text);
}

// Every block's size information describes its own packs and lists the last
// sequence number and the language of every block.
void TestCdTextPacks::twoBlocksShareSizeInformation()
{
    PackBlock english =
        singleByteBlock(2, {{0x80, {"Disc", "One", "Two"}}, {0x81, {"Band", "", ""}}});
    PackBlock japanese = singleByteBlock(2, {{0x80, {QByteArray(22, 'J'), "AA", "BB"}}});
    japanese.doubleByte = true;
    japanese.characterCode = CharacterCodeMsJis;
    japanese.languageCode = LanguageCodeJapanese;
    const std::optional<QByteArray> packs = BuildPacks({english, japanese});
    QVERIFY(packs);
    // English: 2 title packs, 1 performer pack, 3 size packs (sequence 0-5);
    // Japanese: 3 title packs, 3 size packs (sequence 0-5).
    QCOMPARE(packs->size(), 12 * PackSize);
    const auto sizeInfo = [&](int firstPack) -> QByteArray {
        return pack(*packs, firstPack).mid(4, 12) + pack(*packs, firstPack + 1).mid(4, 12) +
               pack(*packs, firstPack + 2).mid(4, 12);
    };
    const QByteArray englishInfo = sizeInfo(3);
    const QByteArray japaneseInfo = sizeInfo(9);
    QCOMPARE(englishInfo.left(8).toHex(), "0001020002010000");
    QCOMPARE(englishInfo.mid(19, 1).toHex(), "03");
    QCOMPARE(japaneseInfo.left(8).toHex(), "8001020003000000");
    for (const QByteArray &info : {englishInfo, japaneseInfo}) {
        QCOMPARE(info.mid(20, 8).toHex(), "0505000000000000");
        QCOMPARE(info.mid(28, 8).toHex(), "0969000000000000");
    }
    for (int i = 0; i < 3; ++i) {
        QCOMPARE(quint8(pack(*packs, 3 + i)[1]), quint8(i));
        QCOMPARE(quint8(pack(*packs, 3 + i)[2]), quint8(3 + i));
    }
}

void TestCdTextPacks::budget_data()
{
    QTest::addColumn<int>("bytes");
    QTest::addColumn<int>("textPacks");
    QTest::newRow("252 packs exactly") << 252 * 12 << 252;
    QTest::newRow("one byte more") << 252 * 12 + 1 << 253;
    QTest::newRow("253 packs exactly") << 253 * 12 << 253;
    QTest::newRow("254 packs") << 253 * 12 + 1 << 254;
}

// A block is refused once it needs more text packs than the limit; the
// format's own limit of 253 cannot be raised.
void TestCdTextPacks::budget()
{
    QFETCH(int, bytes);
    QFETCH(int, textPacks);
    // A disc text and 9 titles of 300 bytes (with their terminators).
    std::vector<QByteArray> entries(10, QByteArray(299, 't'));
    entries[0] = QByteArray(bytes - 9 * 300 - 1, 'd');
    const PackBlock block = singleByteBlock(9, {{0x80, entries}});
    QCOMPARE(TextPacksNeeded(block, false), textPacks);
    QCOMPARE(BuildPacks({block}).has_value(), textPacks <= TextPackBudget);
    QCOMPARE(BuildPacks({block}, {false, 253}).has_value(), textPacks <= 253);
    QCOMPARE(BuildPacks({block}, {false, 999}).has_value(), textPacks <= 253);
    if (textPacks <= TextPackBudget) {
        const QByteArray last = pack(*BuildPacks({block}), textPacks + 2);
        QCOMPARE(quint8(last[2]), quint8(textPacks + 2)); // sequence still fits a byte
    }
}

void TestCdTextPacks::verifier_data()
{
    const QByteArray packs = *BuildPacks({singleByteBlock(1, {{0x80, {"Disc", "One"}}})});
    const QByteArray file = PackFileBytes(packs);
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<int>("badPack");
    QTest::newRow("file with header") << file << true << -1;
    QTest::newRow("packs only") << packs << true << -1;
    QTest::newRow("packs and a trailing NUL") << packs + QByteArray(1, '\0') << true << -1;
    QByteArray text = file;
    text[4 + PackSize + 7] = 'X';
    QTest::newRow("a text byte changed") << text << false << 1;
    QByteArray crc = file;
    crc[4 + 17] = char(crc[4 + 17] ^ 1);
    QTest::newRow("a CRC byte changed") << crc << false << 0;
    QTest::newRow("cut short") << file.chopped(5) << false << -1;
    QByteArray header = file;
    header[1] = char(header[1] + 18);
    QTest::newRow("header tells another size") << header << false << -1;
    QTest::newRow("empty") << QByteArray() << false << -1;
}

void TestCdTextPacks::verifier()
{
    QFETCH(QByteArray, file);
    QFETCH(bool, ok);
    QFETCH(int, badPack);
    const PackFileVerdict verdict = VerifyPackFile(file);
    QCOMPARE(verdict.ok, ok);
    QCOMPARE(verdict.badPack, badPack);
    if (ok)
        QCOMPARE(verdict.packCount, 4);
}

QTEST_GUILESS_MAIN(TestCdTextPacks)
#include "tst_cdtextpacks.moc"
