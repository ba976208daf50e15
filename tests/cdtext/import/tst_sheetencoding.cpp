// SPDX-License-Identifier: GPL-3.0-or-later
// The encoding of a sheet that does not name it: the sheets as rippers write
// them in each encoding, and where a Latin-1 sheet and a Japanese one could
// be taken for each other.
#include "cdtext/import/importsource.h"
#include "cdtext/import/sheetencoding.h"

#include "model/codepage932.h"

#include <QTest>

using namespace sonolabe;
using namespace sonolabe::cdtext;
using namespace Qt::Literals::StringLiterals;

Q_DECLARE_METATYPE(sonolabe::cdtext::SheetEncoding)

namespace {

QByteArray windows1252(QStringView text)
{
    QByteArray bytes;
    for (QChar c : text) {
        if (c.unicode() < 0x100) {
            bytes += char(c.unicode());
        } else {
            // the few that Windows-1252 places in 0x80-0x9F
            static const QHash<char16_t, char> high = {{u'’', '\x92'}, {u'“', '\x93'},
                                                        {u'”', '\x94'}, {u'–', '\x96'},
                                                        {u'€', '\x80'}, {u'…', '\x85'}};
            bytes += high.value(c.unicode());
        }
    }
    return bytes;
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
    void chooses_data();
    void chooses();
    void cueImport_data();
    void cueImport();
};

void TestSheetEncoding::chooses_data()
{
    QTest::addColumn<QByteArray>("sheet");
    QTest::addColumn<QString>("title");
    QTest::addColumn<SheetEncoding>("encoding");
    QTest::addColumn<bool>("guessed");

    const auto cp932 = [](QStringView t) { return Cp932Encoder::instance().encode(t); };
    const auto latin = [](QStringView t) { return windows1252(t); };
    struct Row
    {
        const char *name;
        QString title;
        QByteArray bytes;
        SheetEncoding encoding;
        bool guessed;
    };
    const Row rows[] = {
        {"ASCII only", u"Heima"_s, "Heima", SheetEncoding::Cp932, false},
        {"UTF-8", u"Ágætis byrjun"_s, u"Ágætis byrjun"_s.toUtf8(), SheetEncoding::Utf8, false},
        {"UTF-8 with a byte-order mark", u"夏の日"_s, u"夏の日"_s.toUtf8(), SheetEncoding::Utf8,
         false},
        {"Windows-1252: accented letters", u"Ágætis byrjun"_s, latin(u"Ágætis byrjun"),
         SheetEncoding::Windows1252, true},
        {"Windows-1252: umlaut that reads as a user-defined character", u"Motörhead"_s,
         latin(u"Motörhead"), SheetEncoding::Windows1252, true},
        {"Windows-1252: letter that reads as half-width katakana", u"Über"_s, latin(u"Über"),
         SheetEncoding::Windows1252, true},
        {"Windows-1252: typographic quotes", u"Don’t “Stop” – Café…"_s,
         latin(u"Don’t “Stop” – Café…"), SheetEncoding::Windows1252, true},
        {"code page 932: kanji and kana", u"夏の日の思い出"_s, cp932(u"夏の日の思い出"),
         SheetEncoding::Cp932, true},
        {"code page 932: half-width katakana", u"ｻﾏｰ ﾃﾞｲｽﾞ"_s, cp932(u"ｻﾏｰ ﾃﾞｲｽﾞ"),
         SheetEncoding::Cp932, true},
        {"code page 932: Japanese beside Latin", u"Summer 夏 Days"_s, cp932(u"Summer 夏 Days"),
         SheetEncoding::Cp932, true},
    };
    for (const Row &row : rows) {
        const QByteArray bom = QByteArrayView(row.name).contains("byte-order") ? "\xEF\xBB\xBF" : "";
        QTest::newRow(row.name) << bom + cueSheet(row.bytes) << row.title << row.encoding
                                << row.guessed;
    }
}

void TestSheetEncoding::chooses()
{
    QFETCH(QByteArray, sheet);
    QFETCH(QString, title);
    QFETCH(SheetEncoding, encoding);
    QFETCH(bool, guessed);

    const SheetEncodingChoice choice = chooseSheetEncoding(sheet);
    QCOMPARE(choice.encoding, encoding);
    QCOMPARE(choice.guessed, guessed);
    const QString text = decodeSheet(sheet, choice.encoding);
    QVERIFY2(text.startsWith(u"PERFORMER"_s), qPrintable(text.left(20)));
    QVERIFY2(text.contains(u"TITLE \""_s + title + u'"'), qPrintable(text));
}

// A Windows-1252 sheet as a ripper writes it, imported: guessed and said so,
// or read as the user names it.
void TestSheetEncoding::cueImport_data()
{
    QTest::addColumn<std::optional<SheetEncoding>>("forced");
    QTest::addColumn<int>("language");
    QTest::addColumn<QString>("discName");
    QTest::addColumn<bool>("guessNoted");
    QTest::newRow("guessed") << std::optional<SheetEncoding>() << int(English)
                             << u"?g?tis byrjun"_s << true;
    QTest::newRow("named cp1252") << std::optional(SheetEncoding::Windows1252) << int(English)
                                  << u"?g?tis byrjun"_s << false;
    QTest::newRow("named cp932") << std::optional(SheetEncoding::Cp932) << int(Japanese)
                                 << u"ﾁg誥is byrjun"_s << false;
}

void TestSheetEncoding::cueImport()
{
    QFETCH(std::optional<SheetEncoding>, forced);
    QFETCH(int, language);
    QFETCH(QString, discName);
    QFETCH(bool, guessNoted);
    ImportChoice choice;
    choice.encoding = forced;
    const ImportResult result =
        ImportTexts(cueSheet(windows1252(u"Ágætis byrjun")), ImportKind::Cue, choice);
    QVERIFY(result.store);
    QCOMPARE(result.store->discNames[language], discName);
    const SourceNote guess{SourceNote::EncodingGuessed, 0, int(SheetEncoding::Windows1252), {}};
    QCOMPARE(std::count(result.notes.begin(), result.notes.end(), guess), qsizetype(guessNoted));
}

QTEST_GUILESS_MAIN(TestSheetEncoding)
#include "tst_sheetencoding.moc"
