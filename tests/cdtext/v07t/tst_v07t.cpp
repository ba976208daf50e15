// SPDX-License-Identifier: GPL-3.0-or-later
// v07t sheets read back into a title file: keys as cdrskin reads them, and
// no more than the eight blocks of a disc. Which blocks are read is told by
// the pack file rows (tst_packs); the round trip through the writer is a
// fuzz target's property.
#include "cdtext/cdtexttest.h"

class TestV07t : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void reads_data();
    void reads() { checkImportRow(ImportKind::V07t); }
};

void TestV07t::reads_data()
{
    importColumns();
    // Keys in any case and spacing, a track number of one digit, CR LF.
    importRow("keys as cdrskin reads them",
              "input sheet VERSION=0.7T\r\n  Language code = 9\r\n"
              "album TITLE =\tThe disc\r\nTrack 1  title= One\r\nTrack x Title = no\r\n",
              section("en", u"The disc"_s, u"One"_s));
    // cdrskin reads a single sheet without its version line.
    importRow("one sheet without its version line",
              "Text Code = MS-JIS\nLanguage Code = Japanese\nAlbum Title = \x83\x5C\n"
              "Track 01 Title = One\n",
              section("ja", u"ソ"_s, u"One"_s));
    // A ninth sheet is no block of a disc: reading stops at its first line,
    // the Japanese block is never read.
    const QByteArray english = "Input Sheet Version = 0.7T\nLanguage Code = English\n";
    importRow("nine sheets: eight read",
              english + "Album Title = A\nTrack 01 Title = a\n" + english.repeated(7) +
                  "Input Sheet Version = 0.7T\nLanguage Code = Japanese\nAlbum Title = B\n",
              section("en", u"A"_s, u"a"_s),
              QList<int>{SourceNote::TooManyBlocks} + QList<int>(7, SourceNote::LanguageAgain));
    // The disc's songwriter and genre, the songwriters of tracks 1 and 2:
    // one note for each field.
    importRow("songwriters and the genre left out",
              "Input Sheet Version = 0.7T\nLanguage Code = English\nAlbum Title = A\n"
              "Songwriter = S\nGenre Code = 25\nTrack 01 Title = a\n"
              "Track 01 Songwriter = T\nTrack 02 Songwriter = U\n",
              section("en", u"A"_s, u"a"_s), QList<int>(2, SourceNote::TextLeftOut));
}

QTEST_GUILESS_MAIN(TestV07t)
#include "tst_v07t.moc"
