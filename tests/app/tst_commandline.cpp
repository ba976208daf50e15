// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/commandline.h"

#include <QTest>

using namespace sonolabe;
using namespace Qt::Literals::StringLiterals;

Q_DECLARE_METATYPE(std::optional<QString>)

class TestCommandLine : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void split_data();
    void split();
    void join_data();
    void join();
    void successorArguments();
};

void TestCommandLine::split_data()
{
    using Path = std::optional<QString>;
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("spawned");
    QTest::addColumn<Path>("path");
    QTest::addColumn<Path>("successor");
    QTest::newRow("empty") << QString() << false << Path() << Path();
    QTest::newRow("one path") << u"a.txt"_s << false << Path(u"a.txt"_s) << Path();
    QTest::newRow("three paths") << u"a.txt b.txt c.txt"_s << false << Path(u"a.txt"_s)
                                 << Path(u"b.txt c.txt"_s);
    QTest::newRow("successor with two")
        << u"b.txt c.txt"_s << true << Path(u"b.txt"_s) << Path(u"c.txt"_s);
    QTest::newRow("quoted with spaces")
        << u"\"/My Files/a.txt\""_s << false << Path(u"/My Files/a.txt"_s) << Path();
    QTest::newRow("quoted then another")
        << u"\"a b.txt\" c.txt"_s << false << Path(u"a b.txt"_s) << Path(u"c.txt"_s);
    QTest::newRow("no closing quote") << u"\"a.txt"_s << false << Path(u"a.txt"_s) << Path();
    QTest::newRow("trailing space") << u"a.txt "_s << false << Path(u"a.txt"_s) << Path();
    QTest::newRow("absolute path keeps its slash")
        << u"/home/u/a.txt"_s << false << Path(u"/home/u/a.txt"_s) << Path();
    QTest::newRow("empty quotes") << u"\"\" b.txt"_s << false << Path(QString())
                                  << Path(u"b.txt"_s);
    QTest::newRow("one char after quote skipped")
        << u"\"a\"xb.txt"_s << false << Path(u"a"_s) << Path(u"b.txt"_s);
    QTest::newRow("two spaces leave a leading space")
        << u"a.txt  b.txt"_s << false << Path(u"a.txt"_s) << Path(u" b.txt"_s);
    QTest::newRow("successor with empty text") << QString() << true << Path(QString()) << Path();
}

void TestCommandLine::split()
{
    QFETCH(QString, text);
    QFETCH(bool, spawned);
    QFETCH(std::optional<QString>, path);
    QFETCH(std::optional<QString>, successor);
    const StartupPaths paths = SplitArgumentText({text, spawned});
    QCOMPARE(paths.path, path);
    QCOMPARE(paths.successorText, successor);
}

void TestCommandLine::join_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("text");
    QTest::newRow("space quoted") << QStringList{u"a.txt"_s, u"c d.txt"_s}
                                  << u"a.txt \"c d.txt\""_s;
    QTest::newRow("empty quoted") << QStringList{QString()} << u"\"\""_s;
    QTest::newRow("metacharacters as they are")
        << QStringList{u"$(touch\tx);'`|&.txt"_s, u"日本語.txt"_s}
        << u"$(touch\tx);'`|&.txt 日本語.txt"_s;
}

void TestCommandLine::join()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, text);
    QCOMPARE(JoinArguments(arguments), text);
    QCOMPARE(ArgumentTextFromArguments(arguments).text, text);
    QVERIFY(!ArgumentTextFromArguments(arguments).blnSpawned);
}

// A whole chain: every path of the command line reaches exactly one instance.
void TestCommandLine::successorArguments()
{
    const QStringList typed{u"a.txt"_s, u"/x/c d.txt"_s, u"e.txt"_s};
    ArgumentText arguments = ArgumentTextFromArguments(typed);
    QStringList opened;
    for (int instance = 0; instance < 5; ++instance) {
        const StartupPaths paths = SplitArgumentText(arguments);
        QVERIFY(paths.path);
        opened << *paths.path;
        if (!paths.successorText)
            break;
        arguments = ArgumentTextFromArguments(
            {QStringView(SuccessorFlag).toString(), *paths.successorText});
        QVERIFY(arguments.blnSpawned);
    }
    QCOMPARE(opened, typed);
}

QTEST_GUILESS_MAIN(TestCommandLine)
#include "tst_commandline.moc"
