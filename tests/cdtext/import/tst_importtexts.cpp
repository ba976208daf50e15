// SPDX-License-Identifier: GPL-3.0-or-later
// The section a UTF-8 CUE sheet fills, told by its letters, and what its
// typographic characters and a Windows user's code page 932 twins become.
#include "cdtext/cdtexttest.h"
#include "cdtext/cli/messages.h"

#include <QTranslator>

class TestImportTexts : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void cueSheets_data()
    {
        QTest::addColumn<QStringList>("texts"); // the sheet's disc title, then track 1's
        QTest::addColumn<int>("language");
        QTest::addColumn<QStringList>("held");
        QTest::addColumn<QList<int>>("reasons");
        QTest::addColumn<QString>("report"); // of the first replacement, in English and Japanese

        QTest::newRow("English with typographic quotes, dashes, ellipsis, bullet: en, in ASCII")
            << QStringList{u"“Live Killers” — 1979 … • Remastered"_s, u"Don’t Stop Me Now"_s}
            << int(English)
            << QStringList{u"\"Live Killers\" - 1979 ... * Remastered"_s, u"Don't Stop Me Now"_s}
            << QList<int>{Replacement::Typographic, Replacement::Typographic}
            << u"English disc name: the typographic U+201C \"“\" at character 1 written as its "
               u"ASCII form '\"' (and 4 more)|英語のﾃﾞｨｽｸ名: 1 文字目の組版用の記号 U+201C \"“\"を"
               u"ASCII の '\"'にしました (ほか 4 か所)"_s;
        QTest::newRow("Japanese with 〜 — ¥ − ¢ £ ¬ ‖: ja, their code page 932 twins")
            << QStringList{u"ベスト〜夏の思い出〜"_s, u"恋のうた—acoustic— ¥1,000 −10% ¢£¬‖"_s}
            << int(Japanese)
            << QStringList{u"ベスト～夏の思い出～"_s, u"恋のうた―acoustic― ￥1,000 －10% ￠￡￢∥"_s}
            << QList<int>{Replacement::Mapped, Replacement::Mapped}
            << u"Japanese disc name: U+301C \"〜\" at character 4 written as its code page 932 "
               u"twin U+FF5E \"～\" (and 1 more)|日本語のﾃﾞｨｽｸ名: 4 文字目のU+301C \"〜\"を"
               u"ｺｰﾄﾞﾍﾟｰｼﾞ 932 の同じ文字 U+FF5E \"～\"にしました (ほか 1 か所)"_s;
        QTest::newRow("Japanese with typographic quotes: ja, quotes kept")
            << QStringList{u"“あの日” …"_s, u"Don’t"_s} << int(Japanese)
            << QStringList{u"“あの日” …"_s, u"Don’t"_s} << QList<int>{} << QString();
        QTest::newRow("English with a cent sign: en, whose single bytes hold no twin")
            << QStringList{u"50¢ Song"_s, u"Über"_s} << int(English)
            << QStringList{u"50? Song"_s, u"?ber"_s}
            << QList<int>{Replacement::NotInCodePage, Replacement::NotInCodePage} << QString();
    }

    void cueSheets()
    {
        QFETCH(QStringList, texts);
        QFETCH(int, language);
        QFETCH(QString, report);
        // As a ripper writes it on Linux: UTF-8 without a byte-order mark.
        const QByteArray sheet =
            u"PERFORMER \"Queen\"\r\nTITLE \"%1\"\r\nFILE \"01.flac\" WAVE\r\n"
            u"  TRACK 01 AUDIO\r\n    TITLE \"%2\"\r\n    INDEX 01 00:00:00\r\n"_s
                .arg(texts[0], texts[1])
                .toUtf8();
        const ImportResult result = ImportTexts(sheet, ImportKind::Cue, {});
        QVERIFY(result.store);
        QCOMPARE(result.sections, (TitleFileSections{language == English, language == Japanese}));
        QTEST((QStringList{result.store->discNames[language],
                           result.store->trackTitles(language, 1)}),
              "held");
        QTEST(fieldOf(result.replacements, &Replacement::reason), "reasons");
        if (report.isEmpty())
            return;
        QCOMPARE(Messages::replacement(result.replacements.front()), report.section(u'|', 0, 0));
        QTranslator japanese; // the catalogue the command loads; removed again when destroyed
        QVERIFY(japanese.load(u":/i18n/sonolabe-cdtext_ja.qm"_s));
        QVERIFY(QCoreApplication::installTranslator(&japanese));
        QCOMPARE(Messages::replacement(result.replacements.front()), report.section(u'|', 1, 1));
    }
};

QTEST_GUILESS_MAIN(TestImportTexts)
#include "tst_importtexts.moc"
