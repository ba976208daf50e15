// SPDX-License-Identifier: GPL-3.0-or-later
// The properties the fuzz targets check on every input. They live apart from
// libFuzzer so that the unit tests can run the saved corpus through the very
// same checks in the normal build (tests/reliability/tst_fuzzcorpus.cpp).
//
// Each check takes the raw input bytes and returns an empty string when the
// property holds, otherwise a message saying what went wrong. Every property
// is stated from outside the code it checks: round trips, rewriting twice,
// agreement of two public functions, bounds on what may come out.
#pragma once

#include <QByteArrayView>
#include <QString>

#include <array>

namespace sonolabe::fuzz {

// The reader over any bytes: it accepts exactly the bytes that hold a tag
// line ("ja" or "en" alone on a line ending at CR LF or a lone CR), keeps the
// store's invariants (count at most 99, titles above the count empty, no CR
// in any text, no Tab in a disc or artist name), holds nothing but what the
// bytes held, leaves the editor's position alone, and what it read is written
// and read back unchanged, and written again as the same bytes.
QString checkTitleFileParse(QByteArrayView bytes);

// Writing and reading back: the bytes describe a store that meets the
// read-back conditions (no CR anywhere, no Tab in a disc or artist name, only
// characters code page 932 writes and reads back as themselves), an editor
// position and the file type to save. The bytes do not depend on the
// position, every line ends in CR LF, reading them gives the store again
// with the languages not written empty, and writing that gives the same
// bytes.
QString checkTitleFileRoundTrip(QByteArrayView bytes);

// The sheet targets read their first byte as a selector (see sheetDisc in
// fuzzchecks.cpp: the language or languages, the kind of texts and a track
// count) and the rest as the sheet. A sheet whose track count differs is
// refused with its own count, and tried again with a disc of that many
// tracks. Any sheet gives a rewritten sheet or a fault that fits the input;
// a rewritten sheet holds the disc's title, and rewriting it again succeeds
// and changes nothing.
QString checkCueRewrite(QByteArrayView bytes);
QString checkTocRewrite(QByteArrayView bytes);

// The importers: any bytes read as each kind never crash and give a store
// that a title file holds exactly. The bytes also describe a title file F
// (see importDisc in fuzzchecks.cpp) that the writers accept; importing its
// pack file (in every layout), v07t sheet, TOC file and each language's CUE
// sheet gives F back without a note or a replacement, its Japanese texts in
// the full-width forms of the Japanese blocks (a CUE sheet holds them as they
// are). A CUE sheet whose code page 932 texts happen to be valid UTF-8 is
// read as UTF-8 by rule, and is left out.
QString checkImportRoundTrip(QByteArrayView bytes);

// An audio file: the first byte picks the file's extension (the order of
// AudioExtensions in fuzzchecks.cpp), the rest are its bytes, written to a
// temporary file. Reading it never crashes and gives one of two outcomes:
// the file reported unreadable and no title, or exactly one title, not
// empty, for that file and no note but a title taken from the file's name.
QString checkAudioTags(QByteArrayView bytes);

// A plain track list: reading any bytes never crashes and gives at most 99
// titles, none holding a line break, never more titles than the bytes have
// lines that are not empty; a refusal only of more than 99 such lines, and
// then no title.
QString checkTrackList(QByteArrayView bytes);

// The CUE rewrite and the CUE import agree on any bytes (see
// fuzzchecks.cpp).
QString checkCueAgreement(QByteArrayView bytes);

struct Target
{
    const char *name; // the folder of its seed corpus under fuzz/corpus
    QString (*check)(QByteArrayView bytes);
};

inline constexpr std::array<Target, 8> Targets{{
    {"titlefile_parse", checkTitleFileParse},
    {"titlefile_roundtrip", checkTitleFileRoundTrip},
    {"cuesheet_rewrite", checkCueRewrite},
    {"tocfile_rewrite", checkTocRewrite},
    {"import_roundtrip", checkImportRoundTrip},
    {"audiotags_read", checkAudioTags},
    {"tracklist_read", checkTrackList},
    {"cuesheet_agree", checkCueAgreement},
}};

} // namespace sonolabe::fuzz
