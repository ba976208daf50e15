// SPDX-License-Identifier: GPL-3.0-or-later
// What typing and pasting may bring into a single-line box.
#include "common/testing.h"
#include "ui/editor/singlelineinput.h"

class TestSingleLineInput : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void flatten_data()
    {
        QTest::addColumn<QString>("before");
        QTest::addColumn<QString>("after");
        QTest::addColumn<int>("cursor");
        QTest::addColumn<Separators>("separators");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("movedCursor");

        const Separators lines = Separators::LineBreaks, tabs = Separators::LineBreaksAndTabs;
        QTest::newRow("pasted CR LF") << u"ab"_s << u"aX\r\nYb"_s << 5 << lines << u"aX Yb"_s << 4;
        QTest::newRow("two CR LFs are two blanks")
            << u""_s << u"a\r\n\r\nb"_s << 6 << lines << u"a  b"_s << 4;
        QTest::newRow("cursor before the pasted text")
            << u"ab"_s << u"a\r\nb"_s << 0 << lines << u"a b"_s << 0;
        QTest::newRow("cursor inside the pasted text")
            << u""_s << u"\r\nx\r\n"_s << 3 << lines << u" x "_s << 2;
        QTest::newRow("cursor inside text pasted after kept text")
            << u"ab"_s << u"a\r\nx\r\nb"_s << 4 << lines << u"a x b"_s << 3;
        QTest::newRow("loaded LF kept while typing after it")
            << u"a\nb"_s << u"a\nbc"_s << 4 << lines << u"a\nbc"_s << 4;
        QTest::newRow("loaded LF kept beside a pasted one")
            << u"a\nb"_s << u"a\n\nb"_s << 3 << lines << u"a\n b"_s << 3;
        QTest::newRow("pasted LF before a loaded LF")
            << u"a\nb"_s << u"ax\n\nb"_s << 3 << lines << u"ax \nb"_s << 3;
        QTest::newRow("Tab kept in a title") << u""_s << u"a\tb"_s << 3 << lines << u"a\tb"_s << 3;
        QTest::newRow("Tab and CR LF in a disc name")
            << u"d"_s << u"d\t\r\ne"_s << 5 << tabs << u"d  e"_s << 4;
    }

    void flatten()
    {
        QFETCH(QString, before);
        QFETCH(QString, after);
        QFETCH(int, cursor);
        QFETCH(Separators, separators);
        QFETCH(QString, text);
        QFETCH(int, movedCursor);

        const TypedText result = flattenTypedText(before, after, cursor, separators);
        QCOMPARE(result.text, text);
        QCOMPARE(result.cursor, movedCursor);
    }
};

QTEST_GUILESS_MAIN(TestSingleLineInput)
#include "tst_singlelineinput.moc"
