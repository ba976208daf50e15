// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/englishtext.h"

#include <QTest>

using namespace sonolabe;
using namespace Qt::Literals::StringLiterals;

class TestEnglishText : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void checks_data();
    void checks();
};

void TestEnglishText::checks_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("doubleByte");
    QTest::addColumn<int>("refused");
    QTest::newRow("empty") << QString() << 0 << 0;
    QTest::newRow("tilde space bang") << u"~ !"_s << 0 << 0;
    QTest::newRow("tab") << u"abc\tdef"_s << 0 << 1;
    QTest::newRow("hiragana") << u"abcあ"_s << 4 << 1;
    QTest::newRow("full-width A") << u"Ａ"_s << 1 << 1;
    QTest::newRow("half-width katakana A") << u"ｱ"_s << 0 << 0;
    QTest::newRow("half-width katakana N") << u"ﾝ"_s << 0 << 1;
    QTest::newRow("e acute") << u"é"_s << 0 << 1;
    QTest::newRow("L stroke, not in code page") << u"Ł"_s << 0 << 0;
    QTest::newRow("DEL") << u"\u007F"_s << 0 << 1;
    // U+2F861 is D87E DC61: each half alone is single-byte, low bytes 7E, 61.
    QTest::newRow("surrogate pair, printable low bytes") << u"x\U0002F861"_s << 0 << 0;
}

void TestEnglishText::checks()
{
    QFETCH(QString, text);
    QFETCH(int, doubleByte);
    QFETCH(int, refused);
    QCOMPARE(firstDoubleByteCharacter(text), doubleByte);
    QCOMPARE(isEnglishText(text), refused == 0);
}

QTEST_GUILESS_MAIN(TestEnglishText)
#include "tst_englishtext.moc"
