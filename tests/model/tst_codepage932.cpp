// The code page 932 tables against vectors made by an independent
// implementation (Python's cp932 codec; tests/data/cp932/make_vectors.py).
#include "model/codepage932.h"

#include <QFile>
#include <QHash>
#include <QTest>

using namespace sonolabe;
using namespace Qt::Literals::StringLiterals;

namespace {

QHash<uint, uint> readVectors(const QString &name)
{
    QFile file(QStringLiteral(SONOLABE_TEST_DATA "/cp932/") + name);
    if (!file.open(QIODevice::ReadOnly))
        qFatal("cannot read %s", qPrintable(file.fileName()));
    QHash<uint, uint> map;
    while (!file.atEnd()) {
        const QList<QByteArray> fields = file.readLine().trimmed().split(' ');
        map.insert(fields.at(0).toUInt(nullptr, 16), fields.at(1).toUInt(nullptr, 16));
    }
    return map;
}

QString hex(uint value)
{
    return QString::number(value, 16).toUpper();
}

} // namespace

class TestCodePage932 : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void encodeMatchesReference();
    void decodeMatchesReference();
    void encode_data();
    void encode();
    void decode_data();
    void decode();
};

// Where glibc's CP932 encodes differently from the reference, and why each
// difference is acceptable:
//  - U+0080 and the private-use U+F8F0..U+F8F3: the reference maps them to
//    the single bytes 0x80, 0xA0, 0xFD, 0xFE, 0xFF; glibc has no mapping, so
//    they are written as '?'.
//  - U+00A5, U+203E, U+2014: glibc writes them as 0x5C, 0x7E and 0x815C (the
//    characters those codes stand for in JIS); the reference has no mapping.
//  - The 373 kanji and symbols that code page 932 holds twice, as an IBM
//    extension (0xFA40..0xFC4B) and as a NEC-selected IBM extension
//    (0xED40..0xEEFC): glibc writes the IBM code, the reference the NEC one.
//    Both codes read back as the same character.
void TestCodePage932::encodeMatchesReference()
{
    const QHash<uint, uint> reference = readVectors(u"cp932-encode.txt"_s);
    const QHash<uint, uint> referenceDecode = readVectors(u"cp932-decode.txt"_s);
    const Cp932Encoder &encoder = Cp932Encoder::instance();
    int unmappedHere = 0, extraHere = 0, duplicates = 0;
    QStringList unexplained;
    for (uint unit = 0; unit < 0x10000; ++unit) {
        const uint ours = encoder.canEncode(char16_t(unit)) ? encoder.code(char16_t(unit)) : 0;
        const uint theirs = reference.value(unit, 0);
        if (ours == theirs)
            continue;
        if (ours == 0 && (unit == 0x80 || (unit >= 0xF8F0 && unit <= 0xF8F3)))
            ++unmappedHere;
        else if (theirs == 0 && (unit == 0xA5 || unit == 0x203E || unit == 0x2014))
            ++extraHere;
        else if (ours >= 0xFA40 && ours <= 0xFC4B && theirs >= 0xED40 && theirs <= 0xEEFC &&
                 referenceDecode.value(ours) == unit && referenceDecode.value(theirs) == unit)
            ++duplicates;
        else
            unexplained << u"U+%1:%2/%3"_s.arg(hex(unit), hex(ours), hex(theirs));
    }
    QCOMPARE(unexplained, QStringList());
    QCOMPARE(unmappedHere, 5);
    QCOMPARE(extraHere, 3);
    QCOMPARE(duplicates, 373);
}

void TestCodePage932::decodeMatchesReference()
{
    const QHash<uint, uint> reference = readVectors(u"cp932-decode.txt"_s);
    const Cp932Decoder &decoder = Cp932Decoder::instance();
    QStringList differences;
    auto check = [&](const QByteArray &bytes, uint key) {
        const QString ours = decoder.decode(bytes);
        const uint theirs = reference.value(key, 0);
        const bool oursValid = ours.size() == 1 && ours.at(0) != Cp932Decoder::Replacement;
        const uint oursUnit = oursValid ? ours.at(0).unicode() : 0;
        if (oursUnit != theirs)
            differences << u"%1:%2/%3"_s.arg(hex(key), hex(oursUnit), hex(theirs));
    };
    for (uint byte = 0; byte < 0x100; ++byte)
        check(QByteArray(1, char(byte)), byte);
    for (uint lead = 0x81; lead < 0x100; ++lead) {
        if (decoder.decode(QByteArray(1, char(lead))) != QString(Cp932Decoder::Replacement))
            continue; // a single-byte character, not a lead byte
        for (uint trail = 0x40; trail < 0x100; ++trail)
        {
            const char pair[2] = {char(lead), char(trail)};
            check(QByteArray(pair, 2), lead << 8 | trail);
        }
    }
    // Decoding agrees everywhere but on the five single bytes that the
    // reference maps and glibc does not; they read as U+FFFD here.
    QCOMPARE(differences, QStringList({u"80:0/80"_s, u"A0:0/F8F0"_s, u"FD:0/F8F1"_s,
                                       u"FE:0/F8F2"_s, u"FF:0/F8F3"_s}));
}

void TestCodePage932::encode_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("ascii") << u"Best Band"_s << QByteArray("Best Band");
    QTest::newRow("katakana") << u"ベスト"_s << QByteArray("\x83\x78\x83\x58\x83\x67");
    QTest::newRow("second byte 5C") << u"表ソ"_s << QByteArray("\x95\x5C\x83\x5C");
    QTest::newRow("half-width katakana") << u"ｱﾝ"_s << QByteArray("\xB1\xDD");
    QTest::newRow("NEC extension") << u"①"_s << QByteArray("\x87\x40");
    QTest::newRow("not in the code page") << u"Łé"_s << QByteArray("??");
    QTest::newRow("surrogate pair") << u"a\U0001F600b"_s << QByteArray("a??b");
}

void TestCodePage932::encode()
{
    QFETCH(QString, text);
    QFETCH(QByteArray, bytes);
    QCOMPARE(Cp932Encoder::instance().encode(text), bytes);
}

void TestCodePage932::decode_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("text");
    QTest::newRow("pairs") << QByteArray("\x8F\x98\x8B\xC8") << u"序曲"_s;
    QTest::newRow("second byte 5C") << QByteArray("\x95\x5C") << u"表"_s;
    QTest::newRow("invalid single byte") << QByteArray("a\x80z") << u"a\uFFFDz"_s;
    QTest::newRow("lead before tab") << QByteArray("\x83\tX") << u"\uFFFD\tX"_s;
    QTest::newRow("lead at end") << QByteArray("ab\x83") << u"ab\uFFFD"_s;
    QTest::newRow("NUL kept") << QByteArray("a\0b", 3) << u"a\u0000b"_s;
}

void TestCodePage932::decode()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, text);
    QCOMPARE(Cp932Decoder::instance().decode(bytes), text);
}

QTEST_GUILESS_MAIN(TestCodePage932)
#include "tst_codepage932.moc"
