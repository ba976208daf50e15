// SPDX-License-Identifier: GPL-3.0-or-later
// What the cdtext tests share: the discs they write and read back.
#pragma once

#include "cdtext/disc/discblocks.h"
#include "cdtext/import/importsource.h"
#include "cdtext/packs/packreader.h"
#include "cdtext/packs/packs.h"
#include "common/discs.h"
#include "common/testing.h"
#include "model/codepage932.h"
#include "model/titlefile.h"
#include "model/titlestore.h"

#include <algorithm>

namespace sonolabe::cdtext::test {

inline QByteArray sjis(const QString &text)
{
    return Cp932Encoder::instance().encode(text);
}

// Two tracks: English with an artist, Japanese without one.
inline TitleStore twoTracks()
{
    return makeDisc(2, {u"ベスト"_s, {}, u"序曲"_s, u"表紙"_s},
                    {u"Best"_s, u"Band"_s, u"Intro"_s, u"Outro"_s});
}

// Three tracks in both languages. Texts hold the byte 0x5C (表, 能) inside,
// never at the end, where a CUE sheet cannot have it.
inline TitleStore threeTracks()
{
    return makeDisc(
        3, {u"ベスト表示"_s, u"ｿﾉﾗﾍﾞ楽団"_s, u"序曲 No.1"_s, u"ソナタ①"_s, u"能力"_s},
        {u"Best of Sonolabe"_s, u"The Band"_s, u"Intro (Live)"_s, u"Song"_s, u"Outro"_s});
}

// The store with the texts of the other language emptied.
inline TitleStore onlyLanguage(TitleStore store, int language)
{
    store.discNames[1 - language] = store.artistNames[1 - language] = QString();
    for (int t = 1; t <= MaxTracks; ++t)
        store.trackTitles(1 - language, t).clear();
    return store;
}

// The title file that the burned blocks of the store read back to: its
// Japanese texts in the full-width forms of a Japanese block, with the
// sections that hold text.
inline QByteArray burnedTitleFile(TitleStore store)
{
    const auto form = [](QString &text) {
        text = Cp932Decoder::instance().decode(JapaneseBlockBytes(text));
    };
    form(store.discNames[Japanese]);
    form(store.artistNames[Japanese]);
    for (int t = 1; t <= MaxTracks; ++t)
        form(store.trackTitles(Japanese, t));
    return writeTitleFile(store,
                          {LanguageHasText(store, English), LanguageHasText(store, Japanese)});
}

// The pack file of the store's blocks.
inline QByteArray packFile(const TitleStore &store)
{
    return PackFileBytes(BuildPacks(PackBlocksOf(DiscBlocks(store, {})), {}).value());
}

// The pack file is whole: its size fits one and every pack's CRC is right.
inline bool packFileWhole(QByteArrayView file)
{
    const std::vector<SourceNote> notes = ReadPackFile(file, false).notes;
    return std::none_of(notes.begin(), notes.end(), [](const SourceNote &note) {
        return note.kind == SourceNote::NotAPackFile || note.kind == SourceNote::CrcMismatch ||
               note.kind == SourceNote::CrcNotFilledIn;
    });
}

// A section of a one-track title file.
inline QString section(const char *language, const QString &disc, const QString &title1 = {})
{
    return QString::fromLatin1(language) + u"\r\n0\t"_s + disc + u"\t\r\n1\t"_s + title1 +
           u"\r\n\r\n"_s;
}

// One field of every item of a list: the reasons of replacements, the kinds
// of notes.
template <typename List, typename Field> QList<int> fieldOf(const List &list, Field field)
{
    QList<int> found;
    for (const auto &item : list)
        found << item.*field;
    return found;
}

// The columns of the import rows of every kind of source, and their check:
// the kind is told by the content; texts the title file cannot hold are
// written with the stated replacement and reported, each reason once per
// text.
inline void importColumns()
{
    QTest::addColumn<QByteArray>("source");
    QTest::addColumn<std::optional<int>>("block");
    QTest::addColumn<std::optional<int>>("language");
    QTest::addColumn<QString>("file");       // the title file written, "" for none
    QTest::addColumn<QList<int>>("reasons"); // Replacement reasons, in order
    QTest::addColumn<QList<int>>("notes");   // SourceNote kinds
}

// A row of those columns: the source read with the block and language
// given (none chosen by default), the title file, the notes and the reasons.
inline void importRow(const char *name, const QByteArray &source, const QString &file,
                      const QList<int> &notes = {}, const QList<int> &reasons = {},
                      std::optional<int> block = {}, std::optional<int> language = {})
{
    QTest::newRow(name) << source << block << language << file << reasons << notes;
}

inline void checkImportRow(ImportKind kind)
{
    QFETCH(QByteArray, source);
    QFETCH(std::optional<int>, block);
    QFETCH(std::optional<int>, language);
    QFETCH(QString, file);
    QCOMPARE(DetectImportKind(source), std::optional<ImportKind>(kind));
    const ImportResult result = ImportTexts(source, kind, {block, language, false, {}});
    QCOMPARE(result.titleFile(), sjis(file));
    QTEST(fieldOf(result.replacements, &Replacement::reason), "reasons");
    QTEST(fieldOf(result.notes, &SourceNote::kind), "notes");
}

} // namespace sonolabe::cdtext::test

// Each cdtext test reads in the names of the program and of these helpers.
using namespace sonolabe::cdtext;
using namespace sonolabe::cdtext::test;
