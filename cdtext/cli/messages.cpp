// SPDX-License-Identifier: GPL-3.0-or-later
#include "cdtext/cli/messages.h"

#include <QTranslator>

namespace sonolabe::cdtext {

using namespace Qt::Literals::StringLiterals;

bool InstallTranslation(const QLocale &locale)
{
    auto *translator = new QTranslator(QCoreApplication::instance());
    // The catalogues are compiled in, under :/i18n (resources/translations).
    if ((translator->load(locale, u"sonolabe-cdtext"_s, u"_"_s, u":/i18n"_s) ||
         translator->load(u"sonolabe-cdtext_en"_s, u":/i18n"_s)) &&
        QCoreApplication::installTranslator(translator))
        return true;
    delete translator;
    return false;
}

namespace {

QString number(int n)
{
    return QString::number(n);
}

// A character as the user can find it: U+XXXX, and the character itself when
// it can be shown on a line.
QString codePoint(char32_t character)
{
    return u"U+"_s + QString::number(character, 16).toUpper().rightJustified(4, u'0');
}

QString shown(char32_t character)
{
    const bool printable = character > 0x20 && (character < 0x7F || character > 0x9F) &&
                           character != 0xFFFD && character != 0x2028 && character != 0x2029;
    if (!printable)
        return codePoint(character);
    return codePoint(character) + u" \""_s + QString::fromUcs4(&character, 1) + u'"';
}

} // namespace

QString Messages::help()
{
    return tr(
        "Usage: sonolabe-cdtext COMMAND TITLEFILE [options]\n"
        "\n"
        "Turns a CD-TEXT title file into what Linux burning tools read.\n"
        "\n"
        "Commands:\n"
        "  check TITLEFILE            show the tracks, the text packs each language block\n"
        "                             needs, whether each command's output burns the texts\n"
        "                             as they are, and every text that cannot be burned\n"
        "  packs TITLEFILE -o FILE    write a CD-Text pack file (cdrskin/wodim textfile=FILE)\n"
        "  v07t TITLEFILE [-o FILE]   write input sheets for cdrskin input_sheet_v07t=FILE\n"
        "                             (English only: libburn mis-burns Japanese sheets)\n"
        "  cue TITLEFILE --into SHEET.cue --lang en|ja [-o FILE]\n"
        "                             rewrite the TITLE and PERFORMER lines of a CUE sheet;\n"
        "                             with ja, the packs go beside FILE (as .cdt), named\n"
        "                             by a CDTEXTFILE line\n"
        "  toc TITLEFILE --into FILE.toc [-o FILE]\n"
        "                             rewrite the CD_TEXT blocks of a cdrdao TOC file\n"
        "                             (Japanese needs cdrdao 1.2.5 or later)\n"
        "  import SOURCE -o TITLEFILE   a title file from a pack file, a v07t sheet, a CUE\n"
        "                               sheet or a TOC file (told by its content)\n"
        "  import FILE...|FOLDER -o TITLEFILE\n"
        "                               a title file from the tags of audio files, in the\n"
        "                               order of their track numbers\n"
        "  import --from list LIST -o TITLEFILE\n"
        "                               a title file from a track list (one title a line);\n"
        "                               SOURCE or LIST - reads standard input\n"
        "    --from packs|v07t|cue|toc|list|audio\n"
        "                               the kind of SOURCE\n"
        "    --lang en|ja               CUE, list, audio: the section the texts fill\n"
        "                               (default: ja when they hold Japanese characters);\n"
        "                               others: read only that language's block\n"
        "    --block N                  read block N (a TOC's language N) only, whatever\n"
        "                               its language; --lang says which section it fills\n"
        "    --ignore-crc               read a pack file whose CRCs are wrong\n"
        "    --encoding utf-8|cp932|cp1252\n"
        "                               a CUE sheet's encoding (default: told by its bytes)\n"
        "    --disc N                   audio: the disc to read when the files span discs\n"
        "    --disc TEXT, --artist TEXT list: the disc name and the artist name\n"
        "\n"
        "Options:\n"
        "  -o, --output FILE   where to write (standard output when omitted; packs needs it)\n"
        "  --into SHEET        the CUE sheet or TOC file to rewrite; it is never changed itself\n"
        "  --lang en|ja        only the English or only the Japanese texts (cue needs it)\n"
        "  --tab-repeat        write a title equal to the previous track's as a Tab, which\n"
        "                      saves packs (check, packs)\n"
        "  --cdrdao-version X.Y.Z  the cdrdao that burns the TOC file (toc, check;\n"
        "                      default: the installed one)\n"
        "  -h, --help          show this help\n"
        "  --version           show the version\n"
        "\n"
        "Block 0 is English (ISO-8859-1), block 1 Japanese (MS-JIS). MS-JIS takes two bytes\n"
        "for every character, so ASCII and half-width katakana in Japanese texts are\n"
        "written in their full-width forms.\n"
        "\n"
        "From audio files to a disc: import their tags, add the English texts in\n"
        "Sonolabe, write the packs and burn:\n"
        "  sonolabe-cdtext import album/ -o disc.txt\n"
        "  sonolabe disc.txt\n"
        "  sonolabe-cdtext packs disc.txt -o disc.cdt\n"
        "  cdrskin -sao textfile=disc.cdt -audio album/*.wav\n"
        "Exit status: 0 done, 1 input refused (the reason is shown), 2 wrong usage.\n");
}

QString Messages::version()
{
    return u"sonolabe-cdtext %1.%2.%3"_s.arg(number(SONOLABE_VERSION_MAJOR),
                                             number(SONOLABE_VERSION_MINOR),
                                             number(SONOLABE_VERSION_PATCH));
}

QString Messages::tryHelp()
{
    return tr("Try 'sonolabe-cdtext --help'.");
}

QString Messages::cannotRead(const QString &path, const QString &reason)
{
    return tr("cannot read '%1': %2").arg(path, reason);
}

QString Messages::cannotWrite(const QString &path, const QString &reason)
{
    return tr("cannot write '%1': %2").arg(path, reason);
}

QString Messages::warning(const QString &text)
{
    return tr("warning: %1").arg(text);
}

QString Messages::error(const QString &text)
{
    return tr("error: %1").arg(text);
}

QString Messages::languageName(int language)
{
    return language == English ? tr("English") : tr("Japanese");
}

QString Messages::tocSyntaxProblem(TocSyntaxError::Kind kind)
{
    switch (kind) {
    case TocSyntaxError::StringNeverEnds:
        return tr("a string that never ends");
    case TocSyntaxError::BraceNeverClosed:
        return tr("a \"{\" that is never closed");
    case TocSyntaxError::BlockExpected:
        return tr("expected LANGUAGE_MAP, LANGUAGE or \"}\"");
    case TocSyntaxError::MapEntryExpected:
        return tr("expected \"number : language\" in LANGUAGE_MAP");
    case TocSyntaxError::BadLanguageNumber:
        return tr("a language number that is not a number from 0 to 7");
    case TocSyntaxError::BadLanguageCode:
        return tr("a language code that is neither a number from 0 to 255 nor EN");
    case TocSyntaxError::ItemExpected:
        return tr("expected an item such as TITLE");
    case TocSyntaxError::ValueExpected:
        return tr("an item without a string or { data }");
    case TocSyntaxError::TooManyTokens:
        return tr("more words and signs than any TOC file holds");
    case TocSyntaxError::NestedTooDeep:
        return tr("blocks nested deeper than any TOC file nests them");
    }
    return {};
}

QString Messages::textName(const TextRef &text)
{
    switch (text.slot) {
    case TextRef::DiscName:
        return tr("%1 disc name").arg(languageName(text.language));
    case TextRef::Artist:
        return tr("%1 artist name").arg(languageName(text.language));
    case TextRef::TrackTitle:
        break;
    }
    return tr("%1 title of track %2").arg(languageName(text.language), number(text.track));
}

QString Messages::noCommand()
{
    return tr("no command given");
}

QString Messages::unknownCommand(const QString &command)
{
    return tr("unknown command '%1'").arg(command);
}

QString Messages::unknownOption(const QString &option)
{
    return tr("unknown option '%1'").arg(option);
}

QString Messages::missingValue(const QString &option)
{
    return tr("option '%1' needs a value").arg(option);
}

QString Messages::missingTitleFile()
{
    return tr("no title file given");
}

QString Messages::missingSource()
{
    return tr("no source given");
}

QString Messages::extraArgument(const QString &argument)
{
    return tr("unexpected argument '%1'").arg(argument);
}

QString Messages::optionNotForCommand(const QString &option, const QString &command)
{
    return tr("option '%1' does not apply to '%2'").arg(option, command);
}

QString Messages::missingOption(const QString &option, const QString &command)
{
    return tr("'%2' needs the option '%1'").arg(option, command);
}

QString Messages::badChoice(const QString &option, const QString &value, const QStringList &choices)
{
    QStringList quoted;
    for (const QString &choice : choices)
        quoted << u'\'' + choice + u'\'';
    const QString last = quoted.takeLast();
    const QString listed = quoted.isEmpty()
                               ? last
                               : tr("%1 or %2").arg(quoted.join(tr(", ", "between choices")), last);
    return tr("%1 takes %2, not '%3'").arg(option, listed, value);
}

QString Messages::notANumber(const QString &option, const QString &value)
{
    return tr("%1 takes a number, not '%2'").arg(option, value);
}

QString Messages::notAVersion(const QString &option, const QString &value)
{
    return tr("%1 takes a version such as 1.2.4, not '%2'").arg(option, value);
}

QString Messages::outputIsInput(const QString &path)
{
    return tr("'%1' is an input; write the result to another file").arg(path);
}

QString Messages::blockOutOfRange(int block)
{
    return tr("--block %1: a block number is 0 to 7").arg(block);
}

QString Messages::blockNotForCue()
{
    return tr("--block does not apply to a CUE sheet; use --lang");
}

QString Messages::outputIsSource(const QString &path)
{
    return tr("'%1' is the source; write the title file to another file").arg(path);
}

QString Messages::optionNotForSource(const QString &option, const QString &source)
{
    return tr("%1 does not apply to a source read as %2").arg(option, source);
}

QString Messages::cannotReadTitleFile(const QString &path, const QString &reason)
{
    return tr("cannot read the title file '%1': %2").arg(path, reason);
}

QString Messages::notATitleFile(const QString &path)
{
    return tr("'%1' is not a CD-TEXT title file (it has no \"ja\" or \"en\" line)").arg(path);
}

QString Messages::lfLineEnds(const QString &path)
{
    return u"'%1': %2"_s.arg(path, reportLfLineEnds());
}

QString Messages::noTracks()
{
    return tr("the title file has no tracks");
}

QString Messages::noText()
{
    return tr("the title file holds no text to write");
}

QString Messages::noTextInLanguage(int language)
{
    return tr("the title file holds no %1 text").arg(languageName(language));
}

QString Messages::overBudget(int language, int blockNumber, int needed, int budget,
                             std::optional<int> withTabRepeat)
{
    QString line = tr("block %1 (%2) needs %3 text packs, %4 more than the %5 that fit")
                       .arg(number(blockNumber), languageName(language), number(needed),
                            number(needed - budget), number(budget));
    if (withTabRepeat)
        line += tr("; with --tab-repeat it needs %1 text packs and fits").arg(*withTabRepeat);
    return line;
}

QString Messages::problem(const TextProblem &problem)
{
    const char32_t ch = problem.character.unicode();
    const bool printable = problem.character.isPrint() && !problem.character.isSpace();
    const QString character =
        printable ? tr("character %1 \"%2\" (%3)")
                        .arg(number(problem.position), QString(problem.character), codePoint(ch))
                  : tr("character %1 (%2)").arg(number(problem.position), codePoint(ch));
    QString wording;
    switch (problem.problem) {
    case Problem::EditorRefuses:
        wording = tr("%1 is not allowed in an English title file");
        break;
    case Problem::NotIso8859_1:
        wording = tr("%1 has no ISO-8859-1 form; the disc would show another character");
        break;
    case Problem::ControlCharacter:
        wording = tr("%1 is a control character, which CD-Text cannot hold");
        break;
    case Problem::OutsideJisX0208:
        wording = tr("%1 is outside JIS X 0208; many players cannot show it");
        break;
    case Problem::NotInCodePage:
        wording = tr("%1 has no code page 932 form and is written as \"？\"");
        break;
    }
    QString line = textName(problem.text) % u": "_s % wording.arg(character);
    if (problem.more > 0)
        line += tr(" (and %n more such character(s))", nullptr, problem.more);
    return line;
}

QString Messages::notWritableInSheet(const TextRef &text, const QString &why)
{
    return textName(text) % u": "_s % why;
}

QString Messages::quoteInCueText()
{
    return tr("a CUE sheet cannot hold a double quote (\"); use packs or toc");
}

QString Messages::backslashEndsCueText()
{
    return tr("its last byte is 0x5C (\\, or the second byte of a character such as 表 or ソ), "
              "which CUE readers that take \\ as an escape misread; use packs or toc");
}

QString Messages::leadingSpaceInSheet()
{
    return tr("an input sheet drops the spaces at the start of a text; use packs");
}

QString Messages::trackCountDiffers(const QString &sheet, int sheetTracks, int fileTracks)
{
    return tr("'%1' has %n track(s) but the title file has %2", nullptr, sheetTracks)
        .arg(sheet, number(fileTracks));
}

QString Messages::sheetNotUnderstood(const QString &path, int line, TocSyntaxError::Kind problem)
{
    return tr("%1:%2: cannot read this CD_TEXT block (%3)")
        .arg(path, number(line), tocSyntaxProblem(problem));
}

QString Messages::noFreeLanguageNumber(const QString &path)
{
    return tr("'%1' already uses all eight language numbers").arg(path);
}

QString Messages::routeFault(RouteFault fault, std::optional<CdrdaoVersion> cdrdao)
{
    switch (fault) {
    case RouteFault::None:
        break;
    case RouteFault::JapaneseV07t:
        return tr("cdrskin (libburn) burns the texts of a Japanese (MS-JIS) v07t sheet on the "
                  "wrong tracks: it ends each text with one NUL and clears the double-byte flag; "
                  "use packs (v07t --lang en writes the English block alone)");
    case RouteFault::JapaneseTocOldCdrdao:
        return tr("cdrdao %1 marks every CD-Text block ISO-8859-1, so the Japanese texts would be "
                  "burned as other characters (ENCODING_MS_JIS needs cdrdao 1.2.5 or later); use "
                  "packs with cdrskin, or toc --lang en, or --cdrdao-version if you burn with a "
                  "newer cdrdao")
            .arg(cdrdao ? cdrdao->toString() : QString());
    case RouteFault::JapaneseTocNoCdrdao:
        return tr("no cdrdao is installed to tell whether it can burn Japanese texts (1.2.5 and "
                  "later can); name the version that burns with --cdrdao-version, or use packs");
    }
    return {};
}

QString Messages::cueJapaneseNeedsOutput()
{
    return tr("cdrskin burns the texts of a CUE sheet as ISO-8859-1, so --lang ja writes the "
              "Japanese block as a pack file beside the sheet, named by a CDTEXTFILE line; give "
              "the sheet's name with -o, or use packs");
}

QString Messages::cuePackFileIsInput(const QString &path)
{
    return tr("the pack file '%1' beside the sheet would overwrite an input; choose another name "
              "with -o")
        .arg(path);
}

QString Messages::cuePackFileNameUnusable(const QString &path)
{
    return tr("a CUE sheet cannot name the pack file '%1' (a double quote or a line break in its "
              "name); choose another name with -o")
        .arg(path);
}

QString Messages::kindUnknown(const QString &path)
{
    return tr("cannot tell what kind of file '%1' is; name it with --from "
              "packs|v07t|cue|toc|list|audio")
        .arg(path);
}

QString Messages::crcRefused(const QString &path)
{
    return tr("the text of '%1' was not read: its CRCs are wrong (--ignore-crc reads it "
              "anyway); no title file written")
        .arg(path);
}

QString Messages::notice(const QString &text)
{
    return tr("note: %1").arg(text);
}

QString Messages::nothingRead(const QString &path)
{
    return tr("no text could be read from '%1'; no title file written").arg(path);
}

QString Messages::reportHeader(const QString &path, int trackCount)
{
    return tr("%1: %n track(s)", nullptr, trackCount).arg(path);
}

QString Messages::reportBlock(int language, int blockNumber, int textPacks, int budget)
{
    return tr("block %1 (%2): %3 of %4 text packs")
        .arg(number(blockNumber), languageName(language), number(textPacks), number(budget));
}

QString Messages::reportNoBlock(int language)
{
    return tr("%1: no text, no block").arg(languageName(language));
}

QString Messages::routeBurnsAsIs()
{
    return tr("the texts reach the disc as they are");
}

QString Messages::cueRouteVerdict(bool english, bool japanese)
{
    if (english && japanese)
        return tr("one language a sheet: --lang en burns the English texts as they are, --lang "
                  "ja the Japanese ones through a pack file (CDTEXTFILE)");
    if (japanese)
        return tr("--lang ja burns the texts as they are through a pack file (CDTEXTFILE)");
    return tr("--lang en burns the texts as they are");
}

QString Messages::reportLfLineEnds()
{
    return tr("the lines end in LF alone; a title file's lines end in CR LF, so the whole file is "
              "one line");
}

QString Messages::reportStrayLine(int line, const QString &text)
{
    return tr("line %1 is neither a section name nor number, Tab, text; it is read as the editor "
              "reads it: \"%2\"")
        .arg(number(line), text);
}

QString Messages::reportVerdict(int errors, int warnings)
{
    if (errors == 0 && warnings == 0)
        return tr("ready to burn");
    if (errors == 0)
        return tr("ready to burn; warnings: %1").arg(warnings);
    return tr("cannot be burned as it is; errors: %1, warnings: %2")
        .arg(number(errors), number(warnings));
}

QString Messages::note(const SourceNote &note)
{
    switch (note.kind) {
    case SourceNote::NotAPackFile:
        return tr("the size fits no CD-Text pack file");
    case SourceNote::CrcMismatch:
        return tr("pack %1: wrong CRC").arg(note.number);
    case SourceNote::CrcIgnored:
        return tr("pack %1: wrong CRC; its text read all the same (--ignore-crc)").arg(note.number);
    case SourceNote::CrcNotFilledIn:
        return tr("the CRCs are all zero, never filled in; the text read without them");
    case SourceNote::FirstTrackNotOne:
        return tr("the disc starts at track %1; the tracks before it are left empty")
            .arg(note.number);
    case SourceNote::CharacterCodeUnknown:
        return tr("block %1: character code %2 cannot be read; block skipped")
            .arg(number(note.number),
                 note.what.isEmpty() ? u"0x"_s + QString::number(note.value, 16) : note.what);
    case SourceNote::OtherLanguage: {
        const QString block =
            note.what.isEmpty() ? tr("block %1 (no language given)").arg(note.number)
                                : tr("block %1 (language %2)").arg(number(note.number), note.what);
        return tr("%1 is neither English nor Japanese; skipped (--block %2 reads it)")
            .arg(block, number(note.number));
    }
    case SourceNote::LanguageAgain:
        return tr("block %1: a second %2 block; skipped (--block %1 reads it)")
            .arg(number(note.number), languageName(note.value));
    case SourceNote::NoSuchBlock:
        return tr("there is no block %1").arg(note.number);
    case SourceNote::NoBlockInLanguage:
        return tr("there is no %1 block").arg(languageName(note.value));
    case SourceNote::TrackBeyondLimit:
        return tr("track %1: a title file names tracks 1 to 99; its text skipped").arg(note.number);
    case SourceNote::TextLeftOut: {
        QString place = note.track == 0 ? tr("the disc") : tr("track %1").arg(number(note.track));
        if (note.more > 0)
            place += tr(" (and %1 more)").arg(note.more);
        QString field;
        switch (LeftOutField(note.value)) {
        case LeftOutField::Performer:
            break;
        case LeftOutField::Songwriter:
            field = tr("the songwriter");
            break;
        case LeftOutField::Composer:
            field = tr("the composer");
            break;
        case LeftOutField::Arranger:
            field = tr("the arranger");
            break;
        case LeftOutField::Message:
            field = tr("the message");
            break;
        case LeftOutField::Genre:
            field = tr("the genre");
            break;
        case LeftOutField::DiscId:
            field = tr("the disc ID");
            break;
        case LeftOutField::UpcEan:
            field = tr("the UPC/EAN");
            break;
        case LeftOutField::Isrc:
            field = tr("the ISRC");
            break;
        }
        const QString what =
            field.isEmpty()
                ? tr("the tracks' performers are skipped: a title file has one artist, the disc's")
                : tr("%1 is left out: a title file holds only the disc name, the artist and the "
                     "track titles")
                      .arg(field);
        // A CUE sheet has no blocks (-1).
        return note.number < 0 ? tr("%1: %2").arg(place, what)
                               : tr("block %1, %2: %3").arg(number(note.number), place, what);
    }
    case SourceNote::EncodingGuessed:
        return note.value == int(SheetEncoding::Windows1252)
                   ? tr("read as Windows-1252, as its bytes suggest (--encoding cp932 or utf-8 "
                        "reads it otherwise)")
                   : tr("read as code page 932, as its bytes suggest (--encoding cp1252 or utf-8 "
                        "reads it otherwise)");
    case SourceNote::TooManyBlocks:
        return tr("line %1: a disc holds eight blocks at most; read up to there")
            .arg(number(note.number));
    case SourceNote::NotUnderstood:
        break;
    }
    return tr("line %1: %2; read up to there")
        .arg(number(note.number), tocSyntaxProblem(TocSyntaxError::Kind(note.value)));
}

QString Messages::moreCrcMismatches(int count)
{
    return tr("%n more pack(s) with a wrong CRC", nullptr, count);
}

QString Messages::replacement(const Replacement &replacement)
{
    QString what;
    QString into = u"'?'"_s;
    switch (replacement.reason) {
    case Replacement::LineBreak:
        what = tr("a line break");
        break;
    case Replacement::Tab:
        what = tr("a Tab");
        break;
    case Replacement::ControlCharacter:
        what = tr("the control character %1").arg(shown(replacement.character));
        break;
    case Replacement::NotInCodePage:
        what = tr("%1, which code page 932 lacks,").arg(shown(replacement.character));
        break;
    case Replacement::NoCharacter:
        what = tr("bytes that are no character");
        break;
    case Replacement::Typographic: {
        what = tr("the typographic %1").arg(shown(replacement.character));
        const QStringView form = TypographicAsciiForm(replacement.character);
        const QChar quote = form.contains(u'"') ? u'\'' : u'"';
        into = tr("its ASCII form %1").arg(quote + form.toString() + quote);
        break;
    }
    case Replacement::Mapped:
        what = shown(replacement.character);
        into = tr("its code page 932 twin %1")
                   .arg(shown(TitleFileTwin(replacement.character, replacement.text.language)));
        break;
    }
    if (replacement.reason == Replacement::LineBreak || replacement.reason == Replacement::Tab ||
        replacement.reason == Replacement::ControlCharacter)
        into = tr("a space");
    QString line = tr("%1: %2 at character %3 written as %4")
                       .arg(textName(replacement.text), what, number(replacement.position), into);
    if (replacement.more > 0)
        line += tr(" (and %1 more)").arg(replacement.more);
    return line;
}

QString Messages::imported(const QString &path, SourceKind kind, int tracks,
                           TitleFileSections sections)
{
    QStringList languages;
    if (sections.english)
        languages << languageName(English);
    if (sections.japanese)
        languages << languageName(Japanese);
    return tr("%1 (%2): %n track(s), %3", nullptr, tracks)
        .arg(path, sourceName(kind), languages.join(tr(" and ")));
}

QString Messages::sourceName(SourceKind kind)
{
    switch (kind) {
    case SourceKind::Packs:
        return tr("CD-Text pack file");
    case SourceKind::V07t:
        return tr("v07t sheet");
    case SourceKind::Cue:
        return tr("CUE sheet");
    case SourceKind::Toc:
        return tr("TOC file");
    case SourceKind::List:
        return tr("track list");
    case SourceKind::Audio:
        break;
    }
    return tr("audio files");
}

QString Messages::note(const AudioNote &note)
{
    switch (note.kind) {
    case AudioNote::TooManyFiles:
        return tr("%n audio file(s), more than the 99 tracks of a disc; nothing read", nullptr,
                  note.value);
    case AudioNote::NoAudioFiles:
        return tr("no audio files in '%1'").arg(note.what);
    case AudioNote::Unreadable:
        return tr("'%1': no audio file whose tags can be read; left out").arg(note.what);
    case AudioNote::DiscsMixed:
        return tr("the files are of discs %1; pick one with --disc N; nothing read")
            .arg(note.what);
    case AudioNote::NoSuchDisc:
        return tr("no file is of disc %1 (the files are of discs %2); nothing read")
            .arg(number(note.value), note.what);
    case AudioNote::NoTrackNumber:
        return tr("'%1' has no track number; the tracks follow the order of the files")
            .arg(note.what);
    case AudioNote::TrackNumberAgain:
        return tr("'%1' has track number %2 again; the tracks follow the order of the files")
            .arg(note.what, number(note.value));
    case AudioNote::TrackNumberGap:
        return tr("no file has track number %1; the tracks follow the order of the files")
            .arg(note.value);
    case AudioNote::AlbumsDiffer:
        return tr("the files name %n album(s); the disc name is the most common one: '%1'",
                  nullptr, note.value)
            .arg(note.what);
    case AudioNote::ArtistsDiffer:
        return tr("the files name %n artist(s); the artist name is the most common one: '%1' (a "
                  "title file has one artist)",
                  nullptr, note.value)
            .arg(note.what);
    case AudioNote::TitleFromFileName:
        break;
    }
    return tr("track %1 has no title; its file's name '%2' is taken")
        .arg(number(note.number), note.what);
}

QString Messages::note(const TrackListNote &note)
{
    switch (note.kind) {
    case TrackListNote::EncodingGuessed:
        return tr("the list's encoding is not marked; read as %1")
            .arg(static_cast<SheetEncoding>(note.value) == SheetEncoding::Cp932
                     ? tr("code page 932")
                     : u"Windows-1252"_s);
    case TrackListNote::TooManyTracks:
        return tr("the list has %n title(s), more than the 99 tracks of a disc; nothing read",
                  nullptr, note.value);
    case TrackListNote::ArtistsDiffer:
        break;
    }
    return tr("the lines name %n artist(s); each line is kept whole as its title (a title file "
              "has one artist)",
              nullptr, note.value);
}

} // namespace sonolabe::cdtext
