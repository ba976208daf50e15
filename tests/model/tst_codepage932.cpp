// SPDX-License-Identifier: GPL-3.0-or-later
// The code page 932 tables against vectors made by an independent
// implementation (Python's cp932 codec; tests/data/cp932/make_vectors.py),
// and what becomes of text and bytes the code page has no place for.
#include "common/testing.h"
#include "model/codepage932.h"
#include "model/titlefile.h"

#include <QFile>
#include <QHash>

class TestCodePage932 : public QObject
{
    Q_OBJECT
private Q_SLOTS:
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
    void encodeMatchesReference()
    {
        const QHash<uint, uint> reference = readVectors(u"cp932-encode.txt"_s);
        const QHash<uint, uint> referenceDecode = readVectors(u"cp932-decode.txt"_s);
        const Cp932Encoder &encoder = Cp932Encoder::instance();
        int unmappedHere = 0, extraHere = 0, duplicates = 0;
        QStringList unexplained;
        for (uint unit = 0; unit < 0x10000; ++unit) {
            const uint ours = encoder.canEncode(char16_t(unit)) ? encoder.code(char16_t(unit)) : 0;
            if (isHeldByTitleFile(char16_t(unit)) != (referenceDecode.value(ours) == unit))
                unexplained << u"title file rule differs from reading back: U+%1"_s.arg(hex(unit));
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

    void decodeMatchesReference()
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
            for (uint trail = 0x40; trail < 0x100; ++trail) {
                const char pair[2] = {char(lead), char(trail)};
                check(QByteArray(pair, 2), lead << 8 | trail);
            }
        }
        // Decoding agrees everywhere but on the five single bytes that the
        // reference maps and glibc does not; they read as U+FFFD here.
        QCOMPARE(differences, QStringList({u"80:0/80"_s, u"A0:0/F8F0"_s, u"FD:0/F8F1"_s,
                                           u"FE:0/F8F2"_s, u"FF:0/F8F3"_s}));
    }

    // A character the code page lacks is written as one '?': one outside the
    // Basic Multilingual Plane too, though it takes two code units, and a lone
    // surrogate, paired with nothing. A byte that starts no character reads as
    // U+FFFD and reading goes on at the next byte, so a broken pair never
    // swallows the Tab or line end after it.
    void unmapped_data()
    {
        QTest::addColumn<bool>("writing"); // the text to the bytes, else the bytes to the text
        QTest::addColumn<QString>("text");
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("not in the code page") << true << u"Ł表"_s << "?\x95\x5C"_ba;
        QTest::newRow("outside the BMP") << true << u"a\U0001F600\U00020BB7b"_s << "a??b"_ba;
        QTest::newRow("lone surrogates")
            << true << u"\xDE00x\xD83D\xD83D\xDE00\xD83D"_s << "?x???"_ba;
        QTest::newRow("invalid single byte") << false << u"a\uFFFDz"_s << "a\x80z"_ba;
        QTest::newRow("lead byte before a tab") << false << u"\uFFFD\tX"_s << "\x83\tX"_ba;
        QTest::newRow("lead byte at the end") << false << u"ab\uFFFD"_s << "ab\x83"_ba;
    }

    void unmapped()
    {
        QFETCH(bool, writing);
        QFETCH(QString, text);
        QFETCH(QByteArray, bytes);
        if (writing)
            QCOMPARE(Cp932Encoder::instance().encode(text), bytes);
        else
            QCOMPARE(Cp932Decoder::instance().decode(bytes), text);
    }

private:
    static QHash<uint, uint> readVectors(const QString &name)
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

    static QString hex(uint value) { return QString::number(value, 16).toUpper(); }
};

QTEST_GUILESS_MAIN(TestCodePage932)
#include "tst_codepage932.moc"
