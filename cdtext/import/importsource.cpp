// SPDX-License-Identifier: GPL-3.0-or-later
#include "cdtext/import/importsource.h"

#include "cdtext/import/importsheets.h"
#include "cdtext/packs/packreader.h"
#include "cdtext/v07t/v07t.h"
#include "model/codepage932.h"

#include <QList>

#include <algorithm>
#include <iterator>
#include <utility>

namespace sonolabe::cdtext {

using namespace Qt::Literals::StringLiterals;

namespace {

// What the lines of a text source show of its kind.
struct KindEvidence
{
    bool v07t = false;
    bool toc = false;
    bool cue = false;
};

void weighLine(QByteArrayView line, KindEvidence &evidence)
{
    const QList<QByteArray> words = line.toByteArray().simplified().split(' ');
    const QByteArray first = words[0].toUpper();
    const QByteArray second = words.size() > 1 ? words[1].toUpper() : QByteArray();
    static const QList<QByteArray> discTypes{"CD_DA", "CD_ROM",  "CD_ROM_XA",
                                             "CD_I",  "CD_TEXT", "LANGUAGE_MAP"};
    static const QList<QByteArray> fileTypes{"WAVE", "BINARY", "MOTOROLA", "AIFF", "MP3"};
    bool number = false;
    second.toInt(&number);
    const qsizetype equals = line.indexOf('=');
    const std::optional<V07tField> v07tKey =
        equals < 0 ? std::nullopt : ParseV07tKey(line.first(equals));
    if (v07tKey && (v07tKey->key == V07tKey::SheetVersion || v07tKey->key == V07tKey::TextCode ||
                    v07tKey->key == V07tKey::AlbumTitle || v07tKey->key == V07tKey::TrackTitle))
        evidence.v07t = true;
    else if (discTypes.contains(first) || first.startsWith("CD_TEXT{") ||
             (first == "TRACK" && !second.isEmpty() && !number))
        evidence.toc = true;
    else if ((first == "TRACK" && number) ||
             (first == "FILE" && fileTypes.contains(words.back().toUpper())) || first == "TITLE" ||
             first == "PERFORMER" || first == "REM")
        evidence.cue = true;
}

bool looksLikePackFile(QByteArrayView bytes)
{
    const std::optional<QByteArrayView> packs = PacksOfFile(bytes);
    if (!packs)
        return false;
    for (qsizetype at = 0; at < packs->size(); at += PackSize) {
        const auto type = static_cast<quint8>((*packs)[at]);
        if (type < 0x80 || type > 0x8F)
            return false;
    }
    return true;
}

// The title file's rules, and Unicode's other line breaks: a text holding
// one would show as two lines wherever it is read as Unicode. The language
// is the section's.
std::optional<Replacement::Reason> reasonFor(char16_t unit, int language)
{
    if (isTitleLineEnd(unit) || unit == u'\u0085' || unit == u'\u2028' || unit == u'\u2029')
        return Replacement::LineBreak;
    if (unit == TitleFieldSeparator)
        return Replacement::Tab;
    if (unit < 0x20 || (unit >= 0x7F && unit <= 0x9F))
        return Replacement::ControlCharacter;
    if (language == English && !TypographicAsciiForm(unit).isEmpty())
        return Replacement::Typographic;
    if (unit == Cp932Decoder::Replacement)
        return Replacement::NoCharacter;
    if (!isHeldByTitleFile(unit))
        return TitleFileTwin(unit, language) ? Replacement::Mapped : Replacement::NotInCodePage;
    return std::nullopt;
}

void note(std::vector<Replacement> &replacements, const TextRef &ref, Replacement::Reason reason,
          qsizetype index, char32_t character)
{
    NoteFirstOfKind(replacements, {ref, reason, index + 1, character, 0}, &Replacement::reason);
}

SourceTexts readSource(QByteArrayView source, ImportKind kind, const ImportChoice &choice)
{
    switch (kind) {
    case ImportKind::Packs:
        return ReadPackFile(source, choice.ignoreCrc);
    case ImportKind::V07t:
        return ReadV07tSheets(source);
    case ImportKind::Cue:
        return ReadCueSheet(source, choice.encoding);
    case ImportKind::Toc:
        break;
    }
    return ReadTocFile(source);
}

// Japanese when a text holds a Japanese character.
int languageByContent(const SourceBlock &block)
{
    const auto japanese = [](const QString &text) {
        return std::any_of(text.begin(), text.end(),
                           [](QChar ch) { return IsJapaneseCharacter(ch.unicode()); });
    };
    const bool any = japanese(block.discTitle) || japanese(block.discPerformer) ||
                     std::any_of(block.titles.begin(), block.titles.end(), japanese);
    return any ? Japanese : English;
}

struct Pick
{
    const SourceBlock *block = nullptr;
    int language = English;
};

std::vector<Pick> pickBlocks(const SourceTexts &source, const ImportChoice &choice,
                             std::vector<SourceNote> &notes)
{
    std::vector<Pick> picks;
    if (choice.block) {
        for (const SourceBlock &block : source.blocks) {
            if (block.number == *choice.block)
                return {{&block, choice.language.value_or(
                                     block.language.value_or(languageByContent(block)))}};
        }
        notes.push_back({SourceNote::NoSuchBlock, *choice.block, 0, {}});
        return {};
    }
    for (const SourceBlock &block : source.blocks) {
        // A block that does not say its language (a CUE sheet's, the tags'
        // of audio files, a track list's) fills the section asked for, else
        // the one its texts belong to.
        const int language =
            block.language.value_or(choice.language.value_or(languageByContent(block)));
        if (choice.language && language != *choice.language)
            continue;
        if (std::any_of(picks.begin(), picks.end(),
                        [&](const Pick &pick) { return pick.language == language; })) {
            notes.push_back({SourceNote::LanguageAgain, block.number, language, {}});
            continue;
        }
        picks.push_back({&block, language});
    }
    if (choice.language && picks.empty())
        notes.push_back({SourceNote::NoBlockInLanguage, 0, *choice.language, {}});
    return picks;
}

// Fills one section of the store; returns the last track the block names.
int fillSection(TitleStore &store, const Pick &pick, std::vector<Replacement> &replacements)
{
    const SourceBlock &block = *pick.block;
    const int language = pick.language;
    store.discNames[language] =
        CleanForTitleFile(block.discTitle, {language, TextRef::DiscName, 0}, replacements);
    store.artistNames[language] =
        CleanForTitleFile(block.discPerformer, {language, TextRef::Artist, 0}, replacements);
    int last = block.lastTrack;
    for (int track = 1; track <= MaxTracks; ++track) {
        const QString &title = block.titles[track - 1];
        store.trackTitles(language, track) =
            CleanForTitleFile(title, {language, TextRef::TrackTitle, track}, replacements);
        if (!title.isEmpty())
            last = std::max(last, track);
    }
    return last;
}

} // namespace

QStringView TypographicAsciiForm(char32_t character)
{
    switch (character) {
    case U'\u2018': // ‘ ’ ‚ ‛
    case U'\u2019':
    case U'\u201A':
    case U'\u201B':
        return u"'";
    case U'\u201C': // “ ” „ ‟
    case U'\u201D':
    case U'\u201E':
    case U'\u201F':
        return u"\"";
    case U'\u2010': // the hyphens and dashes from ‐ to ―, and the minus sign −
    case U'\u2011':
    case U'\u2012':
    case U'\u2013':
    case U'\u2014':
    case U'\u2015':
    case U'\u2212':
        return u"-";
    case U'\u2026': // …
        return u"...";
    case U'\u2022': // •
        return u"*";
    default:
        return {};
    }
}

char16_t TitleFileTwin(char32_t character, int language)
{
    // The character a UTF-8 source holds, and the one code page 932 writes
    // for it (its code in the comment).
    static constexpr std::pair<char32_t, char16_t> Twins[] = {
        {U'\u301C', u'\uFF5E'}, // WAVE DASH, 0x8160
        {U'\u2016', u'\u2225'}, // DOUBLE VERTICAL LINE, 0x8161
        {U'\u2212', u'\uFF0D'}, // MINUS SIGN, 0x817C
        {U'\u00A2', u'\uFFE0'}, // CENT SIGN, 0x8191
        {U'\u00A3', u'\uFFE1'}, // POUND SIGN, 0x8192
        {U'\u00AC', u'\uFFE2'}, // NOT SIGN, 0x81CA
        {U'\u2014', u'\u2015'}, // EM DASH, written by U+2015's code 0x815C
        {U'\u00A5', u'\uFFE5'}, // YEN SIGN, written as the backslash 0x5C
    };
    const auto found = std::find_if(std::begin(Twins), std::end(Twins),
                                    [&](const auto &pair) { return pair.first == character; });
    if (found == std::end(Twins))
        return 0;
    const char16_t twin = found->second;
    const bool held = isHeldByTitleFile(twin) && (language != English || isEnglishUnit(twin));
    return held ? twin : 0;
}

bool IsJapaneseCharacter(char32_t character)
{
    if (character <= 0xFF || character > 0xFFFF)
        return false;
    const auto unit = static_cast<char16_t>(character);
    if (!isHeldByTitleFile(unit) && !TitleFileTwin(unit, Japanese))
        return false;
    const bool cjk = (unit >= 0x3000 && unit <= 0x33FF) || // symbols, kana, enclosed, squared
                     (unit >= 0x3400 && unit <= 0x9FFF) || // kanji
                     (unit >= 0xF900 && unit <= 0xFAFF) || // compatibility kanji
                     (unit >= 0xFF00 && unit <= 0xFFEF);   // full-width and half-width forms
    return cjk || (QChar::isLetter(unit) && QChar::script(unit) != QChar::Script_Latin);
}

std::optional<ImportKind> DetectImportKind(QByteArrayView bytes)
{
    if (looksLikePackFile(bytes))
        return ImportKind::Packs;
    KindEvidence evidence;
    qsizetype start = bytes.startsWith("\xEF\xBB\xBF") ? 3 : 0;
    while (start < bytes.size()) {
        qsizetype end = start;
        while (end < bytes.size() && bytes[end] != '\n' && bytes[end] != '\r')
            ++end;
        weighLine(bytes.sliced(start, end - start), evidence);
        start = end + 1;
    }
    if (evidence.v07t)
        return ImportKind::V07t;
    if (evidence.toc)
        return ImportKind::Toc;
    if (evidence.cue)
        return ImportKind::Cue;
    return std::nullopt;
}

void NoteTextLeftOut(SourceTexts &source, int block, LeftOutField field, int track)
{
    const auto same = [&](const SourceNote &note) {
        return note.kind == SourceNote::TextLeftOut && note.number == block &&
               note.value == int(field);
    };
    const auto found = std::find_if(source.notes.begin(), source.notes.end(), same);
    if (found == source.notes.end()) {
        SourceNote note{SourceNote::TextLeftOut, block, int(field), {}};
        note.track = track;
        source.notes.push_back(note);
    } else if (found->track != track) {
        // A text given again for the first track is no further track.
        found->track = std::min(found->track, track);
        ++found->more;
    }
}

QString CleanForTitleFile(QStringView text, const TextRef &ref,
                          std::vector<Replacement> &replacements)
{
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t unit = text[i].unicode();
        if (QChar::isHighSurrogate(unit) && i + 1 < text.size() &&
            QChar::isLowSurrogate(text[i + 1].unicode())) {
            note(replacements, ref, Replacement::NotInCodePage, i,
                 QChar::surrogateToUcs4(unit, text[i + 1].unicode()));
            out += QChar(CharacterReplacement);
            ++i;
            continue;
        }
        const std::optional<Replacement::Reason> reason = reasonFor(unit, ref.language);
        if (!reason) {
            out += QChar(unit);
            continue;
        }
        note(replacements, ref, *reason, i, unit);
        switch (*reason) {
        case Replacement::LineBreak:
        case Replacement::Tab:
        case Replacement::ControlCharacter:
            out += QChar(ControlReplacement);
            break;
        case Replacement::Typographic:
            out += TypographicAsciiForm(unit);
            break;
        case Replacement::Mapped:
            out += QChar(TitleFileTwin(unit, ref.language));
            break;
        case Replacement::NotInCodePage:
        case Replacement::NoCharacter:
            out += QChar(CharacterReplacement);
            break;
        }
    }
    return out;
}

ImportResult ImportTexts(QByteArrayView source, ImportKind kind, const ImportChoice &choice)
{
    SourceTexts texts = readSource(source, kind, choice);
    // A block of a pack file, a v07t sheet or a TOC file that is neither
    // English nor Japanese (or does not say) is read only when --block picks
    // it.
    if (kind != ImportKind::Cue && !choice.block) {
        std::erase_if(texts.blocks, [&](const SourceBlock &block) {
            if (block.language)
                return false;
            texts.notes.push_back({SourceNote::OtherLanguage, block.number, 0, block.languageName});
            return true;
        });
    }
    return ImportSourceTexts(texts, choice);
}

ImportResult ImportSourceTexts(const SourceTexts &texts, const ImportChoice &choice)
{
    ImportResult result;
    result.notes = texts.notes;
    const std::vector<Pick> picks = pickBlocks(texts, choice, result.notes);
    // A block not read loses nothing to the title file: its texts left out
    // are not reported (a CUE sheet's, of no block, always are).
    std::erase_if(result.notes, [&picks](const SourceNote &note) {
        return note.kind == SourceNote::TextLeftOut && note.number >= 0 &&
               std::none_of(picks.begin(), picks.end(), [&note](const Pick &pick) {
                   return pick.block->number == note.number;
               });
    });

    TitleStore store;
    int tracks = texts.trackListCount;
    for (const Pick &pick : picks)
        tracks = std::max(tracks, fillSection(store, pick, result.replacements));
    store.trackCount = static_cast<quint8>(std::min(tracks, int(MaxTracks)));
    result.sections = {LanguageHasText(store, English), LanguageHasText(store, Japanese)};
    if (result.sections.english || result.sections.japanese)
        result.store = std::move(store);
    return result;
}

QByteArray ImportResult::titleFile() const
{
    return store ? writeTitleFile(*store, sections) : QByteArray();
}

} // namespace sonolabe::cdtext
