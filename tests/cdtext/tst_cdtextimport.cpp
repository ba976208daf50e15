// SPDX-License-Identifier: GPL-3.0-or-later
// Importing texts back into a title file: every disc survives packs, v07t,
// CUE and TOC and the way back; block choices and foreign texts are read as
// the tables say, with what was changed or skipped reported.
#include "cdtexttest.h"

#include "cdtext/cuesheet.h"
#include "cdtext/importsource.h"
#include "cdtext/tocfile.h"
#include "cdtext/v07t.h"

using namespace sonolabe;
using namespace sonolabe::cdtext;
using namespace sonolabe::cdtext::test;

Q_DECLARE_METATYPE(sonolabe::cdtext::ImportKind)
Q_DECLARE_METATYPE(std::optional<int>)

namespace {

TitleStore onlyLanguage(const TitleStore &store, int language)
{
    TitleStore one;
    one.trackCount = store.trackCount;
    one.discNames[language] = store.discNames[language];
    one.artistNames[language] = store.artistNames[language];
    for (int t = 1; t <= MaxTracks; ++t)
        one.trackTitles(language, t) = store.trackTitles(language, t);
    return one;
}

QByteArray cueFrame(int tracks)
{
    QByteArray cue = "REM GENRE Pop\r\nFILE \"disc.wav\" WAVE\r\n";
    for (int t = 1; t <= tracks; ++t)
        cue += "  TRACK " + QByteArray::number(t).rightJustified(2, '0') +
               " AUDIO\r\n    INDEX 01 00:00:00\r\n";
    return cue;
}

// A section of a one-track title file.
QString section(const char *language, const QString &disc, const QString &title1 = {})
{
    return QString::fromLatin1(language) + u"\r\n0\t"_s + disc + u"\t\r\n1\t"_s + title1 +
           u"\r\n\r\n"_s;
}

} // namespace

class TestCdTextImport : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void roundTrip_data();
    void roundTrip();
    void reads_data();
    void reads();
};

void TestCdTextImport::roundTrip_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<ImportKind>("kind");
    const std::pair<const char *, ImportKind> kinds[] = {{"packs", ImportKind::Packs},
                                                         {"v07t", ImportKind::V07t},
                                                         {"cue", ImportKind::Cue},
                                                         {"toc", ImportKind::Toc}};
    for (const char *disc :
         {"English only", "Japanese only", "both", "99 tracks", "repeated", "empty"}) {
        for (const auto &[kindName, kind] : kinds)
            QTest::addRow("%s, %s", disc, kindName) << QString::fromLatin1(disc) << kind;
    }
}

// import(kind(F)) is F, in the full-width forms of the Japanese blocks; a
// CUE sheet holds one language at a time, written as it is. A pack file
// reads with or without its header and trailing NUL.
void TestCdTextImport::roundTrip()
{
    QFETCH(QString, name);
    QFETCH(ImportKind, kind);
    const std::optional<TitleStore> file = ParseTitleFile(titleFileOf(disc(name)));
    QVERIFY(file);
    const auto check = [&](QByteArrayView source, const QByteArray &wanted, ImportChoice choice) {
        const ImportResult result = ImportTexts(source, kind, choice);
        QCOMPARE(result.titleFile(), wanted);
        QVERIFY(result.notes.empty());
        QVERIFY(result.replacements.empty());
        QCOMPARE(DetectImportKind(source), std::optional<ImportKind>(kind));
    };
    const QByteArray expected = titleFileOf(asBurned(*file));
    if (kind == ImportKind::Packs) {
        const QByteArray withHeader = packFile(*file, name == u"repeated");
        const QByteArray packs = withHeader.sliced(4);
        for (const QByteArray &source :
             {withHeader, packs, QByteArray(packs + '\0'), QByteArray(withHeader + '\0')})
            check(source, expected, {});
    } else if (kind == ImportKind::V07t) {
        check(WriteV07tSheets(DiscBlocks(*file, {})).bytes, expected, {});
    } else if (kind == ImportKind::Toc) {
        QByteArray frame = "CD_DA\n";
        for (int t = 1; t <= file->trackCount; ++t)
            frame += "\n// track " + QByteArray::number(t) + "\nTRACK AUDIO\nFILE \"a.raw\" 0\n";
        check(RewriteTocFile(frame, *file, DiscBlocks(*file, {})).toc, expected, {});
    } else {
        for (const int language : {English, Japanese}) {
            const TitleStore one = onlyLanguage(*file, language);
            if (LanguageHasText(one, language))
                check(RewriteCueSheet(cueFrame(one.trackCount), one, language).sheet,
                      titleFileOf(one), {{}, language, false});
        }
    }
}

void TestCdTextImport::reads_data()
{
    QTest::addColumn<ImportKind>("kind");
    QTest::addColumn<QByteArray>("source");
    QTest::addColumn<std::optional<int>>("block");
    QTest::addColumn<std::optional<int>>("language");
    QTest::addColumn<QString>("file");       // the title file written, "" for none
    QTest::addColumn<QList<int>>("reasons"); // Replacement reasons, in order
    QTest::addColumn<QList<int>>("notes");   // SourceNote kinds
    const auto none = std::optional<int>();
    const auto some = [](int n) { return std::optional<int>(n); };

    // Three blocks: English, German (code 0x08) and Japanese.
    TitleStore store;
    store.trackCount = 1;
    store.discNames[English] = u"Best"_s;
    store.discNames[Japanese] = u"ベスト"_s;
    std::vector<DiscBlock> blocks = DiscBlocks(store, {});
    blocks.insert(blocks.begin() + 1, blocks[0]);
    blocks[1].pack.languageCode = 0x08;
    blocks[1].pack.types[0].entries[0] = "Die Besten";
    QByteArray v07t = WriteV07tSheets(blocks).bytes;
    v07t.replace(v07t.indexOf("English", v07t.indexOf("English") + 1), 7, "German");
    const QString both = section("en", u"Best"_s) + section("ja", u"ベスト"_s);
    for (const ImportKind kind : {ImportKind::Packs, ImportKind::V07t}) {
        const char *k = kind == ImportKind::Packs ? "packs" : "v07t";
        const QByteArray source =
            kind == ImportKind::V07t ? v07t : *BuildPacks(PackBlocksOf(blocks));
        QTest::addRow("%s: German skipped", k)
            << kind << source << none << none << both << QList<int>{}
            << QList<int>{SourceNote::OtherLanguage};
        QTest::addRow("%s: --block 1 reads German as English", k)
            << kind << source << some(1) << none << section("en", u"Die Besten"_s) << QList<int>{}
            << QList<int>{};
        QTest::addRow("%s: --block 1 --lang ja", k)
            << kind << source << some(1) << some(Japanese) << section("ja", u"Die Besten"_s)
            << QList<int>{} << QList<int>{};
        QTest::addRow("%s: --lang ja", k)
            << kind << source << none << some(Japanese) << section("ja", u"ベスト"_s)
            << QList<int>{} << QList<int>{SourceNote::OtherLanguage};
        QTest::addRow("%s: --block 5", k) << kind << source << some(5) << none << QString()
                                          << QList<int>{} << QList<int>{SourceNote::NoSuchBlock};
    }

    const auto block = [](quint8 code, const QList<QByteArray> &texts, quint8 language) {
        PackBlock pack;
        pack.characterCode = code;
        pack.languageCode = language;
        pack.doubleByte = false; // as some discs have it, whatever the code
        pack.types.push_back({PackTypeTitle, std::vector<QByteArray>(texts.begin(), texts.end())});
        return BuildPacks({pack}).value();
    };
    QTest::newRow("packs: MS-JIS block of single bytes")
        << ImportKind::Packs << block(CharacterCodeMsJis, {"ABC", "\xB1\xB2\x83\x5C"}, 0x69) << none
        << none << section("ja", u"ABC"_s, u"ｱｲソ"_s) << QList<int>{} << QList<int>{};
    QTest::newRow("packs: line break, Tab, bytes that are no character")
        << ImportKind::Packs << block(CharacterCodeMsJis, {"a\r\nb", "c\td\xFF"}, 0x69) << none
        << none << section("ja", u"a  b"_s, u"c d?"_s)
        << QList<int>{Replacement::LineBreak, Replacement::Tab, Replacement::NoCharacter}
        << QList<int>{};
    QTest::newRow("packs: Latin-1 the code page lacks")
        << ImportKind::Packs << block(CharacterCodeIso8859_1, {"Caf\xE9", "\xA5 1"}, 0x09) << none
        << none << section("en", u"Caf?"_s, u"? 1"_s)
        << QList<int>{Replacement::NotInCodePage, Replacement::NotInCodePage} << QList<int>{};
    QTest::newRow("CUE: UTF-8, Japanese by its characters")
        << ImportKind::Cue
        << QByteArray("TITLE \"\xE6\x97\xA5\xE6\x9C\xAC \xF0\x9F\x8E\xB5\"\nFILE \"a.wav\" WAVE\n"
                      "  TRACK 01 AUDIO\n    TITLE \"ﾃｽﾄ \"quoted\"\"\n")
        << none << none << section("ja", u"日本 ?"_s, u"ﾃｽﾄ \"quoted\""_s)
        << QList<int>{Replacement::NotInCodePage} << QList<int>{};
    QTest::newRow("TOC: cdrdao up to 1.2.4, octal MS-JIS and a kept \\\\")
        << ImportKind::Toc
        << QByteArray("CD_DA\nCD_TEXT { LANGUAGE_MAP { 0 : 105 }\n"
                      "  LANGUAGE 0 { TITLE \"\\203\\134\\225\\134\" PERFORMER \"\" } }\n"
                      "TRACK AUDIO\nCD_TEXT { LANGUAGE 0 { TITLE \"a\\\\b\\\"\" } }\n")
        << none << none << section("ja", u"ソ表"_s, u"a\\\\b\""_s) << QList<int>{} << QList<int>{};
    QTest::newRow("TOC: cdrdao 1.2.5, UTF-8 and ENCODING_MS_JIS")
        << ImportKind::Toc
        << QByteArray("CD_DA\nCD_TEXT { LANGUAGE_MAP { 0 : 105, }\n"
                      "  LANGUAGE 0 { ENCODING_MS_JIS TITLE \"\xE3\x82\xBD\xE8\xA1\xA8\" } }\n"
                      "TRACK AUDIO\nCD_TEXT { LANGUAGE 0 { TITLE \"\\202\\240\" } }\n")
        << none << none << section("ja", u"ソ表"_s, u"あ"_s) << QList<int>{} << QList<int>{};
    // Data items in braces are passed over; a track's performer is not read.
    QTest::newRow("TOC: English is ISO-8859-1, data skipped, a track performer")
        << ImportKind::Toc
        << QByteArray("CD_TEXT { LANGUAGE_MAP { 0 : EN }\n"
                      "  LANGUAGE 0 { TITLE \"Caf\\351 \\261\" SIZE_INFO { 0, 1 } } }\n"
                      "TRACK AUDIO\nCD_TEXT { LANGUAGE 0 { TITLE \"x\" PERFORMER \"Guest\" } }\n")
        << none << none << section("en", u"Caf? ±"_s, u"x"_s)
        << QList<int>{Replacement::NotInCodePage} << QList<int>{SourceNote::TrackPerformers};
}

// Texts the title file cannot hold are written with the stated replacement
// and reported, each reason once per text.
void TestCdTextImport::reads()
{
    QFETCH(ImportKind, kind);
    QFETCH(QByteArray, source);
    QFETCH(std::optional<int>, block);
    QFETCH(std::optional<int>, language);
    QFETCH(QString, file);
    QFETCH(QList<int>, reasons);
    QFETCH(QList<int>, notes);
    const ImportResult result = ImportTexts(source, kind, {block, language, false});
    QCOMPARE(result.titleFile(), sjis(file));
    QList<int> found;
    for (const Replacement &replacement : result.replacements)
        found << replacement.reason;
    QCOMPARE(found, reasons);
    found.clear();
    for (const SourceNote &note : result.notes)
        found << note.kind;
    QCOMPARE(found, notes);
}
QTEST_GUILESS_MAIN(TestCdTextImport)
#include "tst_cdtextimport.moc"
