// SPDX-License-Identifier: GPL-3.0-or-later
// The encoding of a sheet that does not name it: the sheets as rippers write
// them in each encoding, and where a Latin-1 sheet and a Japanese one could
// be taken for each other.
#include "cdtext/cdtexttest.h"
#include "cdtext/import/sheetencoding.h"

namespace {

// Latin-1, and the few typographic characters that Windows-1252 places in
// 0x80-0x9F (the C1 controls of Latin-1).
QByteArray windows1252(QString text)
{
    const QString typographic = u"’“”–…"_s;
    for (qsizetype i = 0; i < typographic.size(); ++i)
        text.replace(typographic[i], QChar(u"\x92\x93\x94\x96\x85"[i]));
    return text.toLatin1();
}

QByteArray cueSheet(const QByteArray &title)
{
    return "PERFORMER \"Sigur\"\r\nTITLE \"" + title +
           "\"\r\nFILE \"01.flac\" WAVE\r\n  TRACK 01 AUDIO\r\n    INDEX 01 00:00:00\r\n";
}

} // namespace

class TestSheetEncoding : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void chooses_data()
    {
        QTest::addColumn<QByteArray>("sheet");
        QTest::addColumn<QString>("title");
        QTest::addColumn<SheetEncoding>("encoding"); // guessed

        // Where a Latin-1 sheet and a Japanese one could be taken for each other;
        // the plain cases (ASCII, UTF-8 with and without a byte-order mark,
        // accented letters, kanji and kana) are the track list's rows
        // (tst_tracklist), which the same choice reads.
        const auto row = [](const char *name, const QString &title, SheetEncoding encoding) {
            const QByteArray bytes =
                encoding == SheetEncoding::Cp932 ? sjis(title) : windows1252(title);
            QTest::newRow(name) << cueSheet(bytes) << title << encoding;
        };
        row("Windows-1252: umlaut that reads as a user-defined character", u"Motörhead"_s,
            SheetEncoding::Windows1252);
        row("Windows-1252: letter that reads as half-width katakana", u"Über"_s,
            SheetEncoding::Windows1252);
        row("Windows-1252: typographic quotes", u"Don’t “Stop” – Café…"_s,
            SheetEncoding::Windows1252);
        row("code page 932: half-width katakana", u"ｻﾏｰ ﾃﾞｲｽﾞ"_s, SheetEncoding::Cp932);
        row("code page 932: Japanese beside Latin", u"Summer 夏 Days"_s, SheetEncoding::Cp932);
    }

    void chooses()
    {
        QFETCH(QByteArray, sheet);
        QFETCH(QString, title);

        const SheetEncodingChoice choice = chooseSheetEncoding(sheet);
        QTEST(choice.encoding, "encoding");
        QVERIFY(choice.guessed);
        const QString text = decodeSheet(sheet, choice.encoding);
        QVERIFY2(text.startsWith(u"PERFORMER"_s), qPrintable(text.left(20)));
        QVERIFY2(text.contains(u"TITLE \""_s + title + u'"'), qPrintable(text));
    }

    // A Windows-1252 sheet as a ripper writes it, imported: guessed and said so,
    // or read as the user names it.
    void cueImport_data()
    {
        QTest::addColumn<std::optional<SheetEncoding>>("forced");
        QTest::addColumn<int>("language");
        QTest::addColumn<QString>("discName");
        QTest::addColumn<bool>("guessNoted");
        QTest::newRow("guessed") << std::optional<SheetEncoding>() << int(English)
                                 << u"?g?tis byrjun"_s << true;
        QTest::newRow("named cp1252") << std::optional(SheetEncoding::Windows1252) << int(English)
                                      << u"?g?tis byrjun"_s << false;
        QTest::newRow("named cp932")
            << std::optional(SheetEncoding::Cp932) << int(Japanese) << u"ﾁg誥is byrjun"_s << false;
    }

    void cueImport()
    {
        QFETCH(std::optional<SheetEncoding>, forced);
        QFETCH(int, language);
        QFETCH(bool, guessNoted);
        const ImportResult result = ImportTexts(cueSheet(windows1252(u"Ágætis byrjun"_s)),
                                                ImportKind::Cue, {{}, {}, false, forced});
        QVERIFY(result.store);
        QTEST(result.store->discNames[language], "discName");
        const SourceNote guess{SourceNote::EncodingGuessed, 0, int(SheetEncoding::Windows1252), {}};
        QCOMPARE(std::count(result.notes.begin(), result.notes.end(), guess),
                 qsizetype(guessNoted));
    }
};

QTEST_GUILESS_MAIN(TestSheetEncoding)
#include "tst_sheetencoding.moc"
