// SPDX-License-Identifier: GPL-3.0-or-later
#include "cdtext/cli/messages.h"

#include "cdtext/cli/importmessages.h"

#include <QLocale>

namespace sonolabe::cdtext {

using namespace Qt::Literals::StringLiterals;

UiLanguage UiLanguageFromLocale()
{
    return QLocale::system().language() == QLocale::Japanese ? UiLanguage::Japanese
                                                             : UiLanguage::English;
}

namespace {

QString codePoint(QChar ch)
{
    return u"U+"_s % QString::number(ch.unicode(), 16).toUpper().rightJustified(4, u'0');
}

bool printable(QChar ch)
{
    return ch.isPrint() && !ch.isSpace();
}

// The help up to its import lines, and from them on.
QString englishHelpStart()
{
    return uR"(Usage: sonolabe-cdtext COMMAND TITLEFILE [options]

Turns a CD-TEXT title file into what Linux burning tools read.

Commands:
  check TITLEFILE            show the tracks, the text packs each language block
                             needs, whether each command's output burns the texts
                             as they are, and every text that cannot be burned
  packs TITLEFILE -o FILE    write a CD-Text pack file (cdrskin/wodim textfile=FILE)
  v07t TITLEFILE [-o FILE]   write input sheets for cdrskin input_sheet_v07t=FILE
                             (English only: libburn mis-burns Japanese sheets)
  cue TITLEFILE --into SHEET.cue --lang en|ja [-o FILE]
                             rewrite the TITLE and PERFORMER lines of a CUE sheet;
                             with ja, the packs go beside FILE (as .cdt), named
                             by a CDTEXTFILE line
  toc TITLEFILE --into FILE.toc [-o FILE]
                             rewrite the CD_TEXT blocks of a cdrdao TOC file
                             (Japanese needs cdrdao 1.2.5 or later)
)"_s;
}

QString englishHelpEnd()
{
    return uR"(
Options:
  -o, --output FILE   where to write (standard output when omitted; packs needs it)
  --into SHEET        the CUE sheet or TOC file to rewrite; it is never changed itself
  --lang en|ja        only the English or only the Japanese texts (cue needs it)
  --tab-repeat        write a title equal to the previous track's as a Tab, which
                      saves packs (check, packs)
  --cdrdao-version X.Y.Z  the cdrdao that burns the TOC file (toc, check;
                      default: the installed one)
  -h, --help          show this help

Block 0 is English (ISO-8859-1), block 1 Japanese (MS-JIS). MS-JIS takes two bytes
for every character, so ASCII and half-width katakana in Japanese texts are
written in their full-width forms.
Exit status: 0 done, 1 input refused (the reason is shown), 2 wrong usage.
)"_s;
}

QString japaneseHelpStart()
{
    return uR"(使い方: sonolabe-cdtext ｺﾏﾝﾄﾞ 曲名ﾌｧｲﾙ [ｵﾌﾟｼｮﾝ]

CD-TEXT の曲名ﾌｧｲﾙを Linux の書き込みｿﾌﾄが読む形にします。

ｺﾏﾝﾄﾞ:
  check 曲名ﾌｧｲﾙ           曲数、言語ﾌﾞﾛｯｸごとのﾃｷｽﾄﾊﾟｯｸ数、そのままでは書き込めない
                           ﾃｷｽﾄ、各ｺﾏﾝﾄﾞの出力でﾃｷｽﾄがそのまま記録されるかを
                           表示します
  packs 曲名ﾌｧｲﾙ -o ﾌｧｲﾙ   CD-TEXT ﾊﾟｯｸﾌｧｲﾙを作ります (cdrskin/wodim の textfile=)
  v07t 曲名ﾌｧｲﾙ [-o ﾌｧｲﾙ]  cdrskin の input_sheet_v07t= 用のｼｰﾄを作ります
                           (英語だけ。libburn は日本語のｼｰﾄを誤って記録します)
  cue 曲名ﾌｧｲﾙ --into ｼｰﾄ.cue --lang en|ja [-o ﾌｧｲﾙ]
                           CUE ｼｰﾄの TITLE と PERFORMER を書き換えます。ja では
                           CDTEXTFILE 行で指定するﾊﾟｯｸﾌｧｲﾙ (.cdt) も作ります
  toc 曲名ﾌｧｲﾙ --into ﾌｧｲﾙ.toc [-o ﾌｧｲﾙ]
                           cdrdao の TOC ﾌｧｲﾙの CD_TEXT を書き換えます
                           (日本語は cdrdao 1.2.5 以降)
)"_s;
}

QString japaneseHelpEnd()
{
    return uR"(
ｵﾌﾟｼｮﾝ:
  -o, --output ﾌｧｲﾙ  書き込み先 (省略すると標準出力。packs では必須)
  --into ｼｰﾄ         書き換える CUE ｼｰﾄまたは TOC ﾌｧｲﾙ (このﾌｧｲﾙ自体は変更しません)
  --lang en|ja       英語または日本語だけを扱います (cue では必須)
  --tab-repeat       前の曲と同じ曲名を Tab で表し、ﾊﾟｯｸを節約します (check, packs)
  --cdrdao-version X.Y.Z  TOC ﾌｧｲﾙを書き込む cdrdao の版 (toc, check。省略すると
                     ｲﾝｽﾄｰﾙされている版)
  -h, --help         この説明を表示します

ﾌﾞﾛｯｸ 0 は英語 (ISO-8859-1)、ﾌﾞﾛｯｸ 1 は日本語 (MS-JIS) です。MS-JIS は 1 文字 2 ﾊﾞｲﾄ
なので、日本語のﾃｷｽﾄの半角英数字と半角ｶﾀｶﾅは全角で書き込みます。
終了ｺｰﾄﾞ: 0 完了、1 入力を受け付けられない (理由を表示)、2 使い方の誤り。
)"_s;
}

} // namespace

QString Wording::tryHelp() const
{
    return pick(u"Try 'sonolabe-cdtext --help'.",
                u"'sonolabe-cdtext --help' で使い方を表示します。");
}

QString Wording::cannotRead(const QString &path, const QString &reason) const
{
    return pick(u"cannot read '%1': %2", u"'%1' を読めません: %2").arg(path, reason);
}

QString Wording::cannotWrite(const QString &path, const QString &reason) const
{
    return pick(u"cannot write '%1': %2", u"'%1' に書き込めません: %2").arg(path, reason);
}

QString Wording::warning(const QString &text) const
{
    return pick(u"warning: ", u"警告: ") % text;
}

QString Wording::error(const QString &text) const
{
    return pick(u"error: ", u"ｴﾗｰ: ") % text;
}

QString Wording::languageName(int language) const
{
    if (language == English)
        return pick(u"English", u"英語");
    return pick(u"Japanese", u"日本語");
}

QString Wording::tocSyntaxProblemText(TocSyntaxError::Kind kind) const
{
    switch (kind) {
    case TocSyntaxError::StringNeverEnds:
        return pick(u"a string that never ends", u"終わらない文字列");
    case TocSyntaxError::BraceNeverClosed:
        return pick(u"a \"{\" that is never closed", u"閉じられない \"{\"");
    case TocSyntaxError::BlockExpected:
        return pick(u"expected LANGUAGE_MAP, LANGUAGE or \"}\"",
                    u"LANGUAGE_MAP、LANGUAGE または \"}\" がありません");
    case TocSyntaxError::MapEntryExpected:
        return pick(u"expected \"number : language\" in LANGUAGE_MAP",
                    u"LANGUAGE_MAP に \"番号 : 言語\" がありません");
    case TocSyntaxError::BadLanguageNumber:
        return pick(u"a language number that is not a number from 0 to 7",
                    u"0 から 7 の数でない言語番号");
    case TocSyntaxError::BadLanguageCode:
        return pick(u"a language code that is neither a number from 0 to 255 nor EN",
                    u"0 から 255 の数でも EN でもない言語ｺｰﾄﾞ");
    case TocSyntaxError::ItemExpected:
        return pick(u"expected an item such as TITLE", u"TITLE などの項目がありません");
    case TocSyntaxError::ValueExpected:
        return pick(u"an item without a string or { data }", u"文字列も { ﾃﾞｰﾀ } もない項目");
    case TocSyntaxError::TooManyTokens:
        return pick(u"more words and signs than any TOC file holds",
                    u"TOC ﾌｧｲﾙとしては多すぎる語と記号");
    case TocSyntaxError::NestedTooDeep:
        return pick(u"blocks nested deeper than any TOC file nests them",
                    u"TOC ﾌｧｲﾙとしては深すぎるﾌﾞﾛｯｸの入れ子");
    }
    return {};
}

QString Wording::textName(const TextRef &text) const
{
    switch (text.slot) {
    case TextRef::DiscName:
        return pick(u"%1 disc name", u"%1のﾃﾞｨｽｸ名").arg(languageName(text.language));
    case TextRef::Artist:
        return pick(u"%1 artist name", u"%1の作者名").arg(languageName(text.language));
    case TextRef::TrackTitle:
        break;
    }
    return pick(u"%1 title of track %2", u"%1の曲名 (%2曲目)")
        .arg(languageName(text.language))
        .arg(text.track);
}

QString Messages::help() const
{
    const QString import = ImportMessages(language()).help();
    if (m_japanese)
        return japaneseHelpStart() % import % u'\n' % japaneseHelpEnd();
    return englishHelpStart() % import % u'\n' % englishHelpEnd();
}

QString Messages::noCommand() const
{
    return pick(u"no command given", u"ｺﾏﾝﾄﾞがありません");
}

QString Messages::unknownCommand(const QString &command) const
{
    return pick(u"unknown command '%1'", u"'%1' というｺﾏﾝﾄﾞはありません").arg(command);
}

QString Messages::unknownOption(const QString &option) const
{
    return pick(u"unknown option '%1'", u"'%1' というｵﾌﾟｼｮﾝはありません").arg(option);
}

QString Messages::missingValue(const QString &option) const
{
    return pick(u"option '%1' needs a value", u"ｵﾌﾟｼｮﾝ '%1' には値が必要です").arg(option);
}

QString Messages::missingTitleFile() const
{
    return pick(u"no title file given", u"曲名ﾌｧｲﾙが指定されていません");
}

QString Messages::missingSource() const
{
    return pick(u"no source given", u"元ﾌｧｲﾙが指定されていません");
}

QString Messages::extraArgument(const QString &argument) const
{
    return pick(u"unexpected argument '%1'", u"余分な引数 '%1' があります").arg(argument);
}

QString Messages::optionNotForCommand(const QString &option, const QString &command) const
{
    return pick(u"option '%1' does not apply to '%2'", u"ｵﾌﾟｼｮﾝ '%1' は '%2' では使えません")
        .arg(option, command);
}

QString Messages::missingOption(const QString &option, const QString &command) const
{
    return pick(u"'%2' needs the option '%1'", u"'%2' にはｵﾌﾟｼｮﾝ '%1' が必要です")
        .arg(option, command);
}

QString Messages::badChoice(const QString &option, const QString &value,
                            const QStringList &choices) const
{
    QStringList quoted;
    for (const QString &choice : choices)
        quoted << u'\'' + choice + u'\'';
    const QString last = quoted.takeLast();
    const QString listed = quoted.isEmpty() ? last
                           : m_japanese     ? quoted.join(u"、"_s) + u" か "_s + last
                                            : quoted.join(u", "_s) + u" or "_s + last;
    return pick(u"%1 takes %2, not '%3'", u"%1 には %2 を指定します ('%3' は使えません)")
        .arg(option, listed, value);
}

QString Messages::notANumber(const QString &option, const QString &value) const
{
    return pick(u"%1 takes a number, not '%2'", u"%1 には数を指定します ('%2' は使えません)")
        .arg(option, value);
}

QString Messages::notAVersion(const QString &option, const QString &value) const
{
    return pick(u"%1 takes a version such as 1.2.4, not '%2'",
                u"%1 には 1.2.4 のような版を指定します ('%2' は使えません)")
        .arg(option, value);
}

QString Messages::outputIsInput(const QString &path) const
{
    return pick(u"'%1' is an input; write the result to another file",
                u"'%1' は入力ﾌｧｲﾙです。結果は別のﾌｧｲﾙに書き込んでください")
        .arg(path);
}

QString Messages::cannotReadTitleFile(const QString &path, const QString &reason) const
{
    return pick(u"cannot read the title file '%1': %2", u"曲名ﾌｧｲﾙ '%1' を読めません: %2")
        .arg(path, reason);
}

QString Messages::notATitleFile(const QString &path) const
{
    return pick(u"'%1' is not a CD-TEXT title file (it has no \"ja\" or \"en\" line)",
                u"'%1' は CD-TEXT の曲名ﾌｧｲﾙの規格に合っていません (\"ja\" も \"en\" "
                u"の行もありません)")
        .arg(path);
}

QString Messages::noTracks() const
{
    return pick(u"the title file has no tracks", u"曲名ﾌｧｲﾙに曲がありません");
}

QString Messages::noText() const
{
    return pick(u"the title file holds no text to write", u"曲名ﾌｧｲﾙに書き込むﾃｷｽﾄがありません");
}

QString Messages::noTextInLanguage(int language) const
{
    return pick(u"the title file holds no %1 text", u"曲名ﾌｧｲﾙに%1のﾃｷｽﾄがありません")
        .arg(languageName(language));
}

QString Messages::overBudget(int language, int blockNumber, int needed, int budget,
                             std::optional<int> withTabRepeat) const
{
    QString line = pick(u"block %1 (%2) needs %3 text packs, %4 more than the %5 that fit",
                        u"ﾌﾞﾛｯｸ %1 (%2) にはﾃｷｽﾄﾊﾟｯｸが %3 個必要で、入る %5 個を %4 個超えています")
                       .arg(blockNumber)
                       .arg(languageName(language))
                       .arg(needed)
                       .arg(needed - budget)
                       .arg(budget);
    if (withTabRepeat) {
        line += u"; "_s % pick(u"with --tab-repeat it needs %1 text packs and fits",
                               u"--tab-repeat を付けると %1 個で収まります")
                              .arg(*withTabRepeat);
    }
    return line;
}

QString Messages::problem(const TextProblem &problem) const
{
    const QChar ch = problem.character;
    QString character;
    if (printable(ch))
        character = pick(u"character %1 \"%2\" (%3)", u"%1文字目の「%2」(%3)")
                        .arg(problem.position)
                        .arg(QString(ch), codePoint(ch));
    else
        character =
            pick(u"character %1 (%2)", u"%1文字目 (%2)").arg(problem.position).arg(codePoint(ch));

    QString line =
        textName(problem.text) % u": "_s % problemWording(problem.problem).arg(character);
    if (problem.more > 0)
        line += pick(u" (and %1 more such characters)", u" (ほかに %1 文字)").arg(problem.more);
    return line;
}

// What is wrong with a character, which %1 names.
QString Messages::problemWording(Problem problem) const
{
    struct Wording
    {
        Problem problem;
        QStringView english;
        QStringView japanese;
    };
    static constexpr Wording wordings[] = {
        {Problem::EditorRefuses, u"%1 is not allowed in an English title file",
         u"%1は英語の曲名ﾌｧｲﾙに使えない文字です"},
        {Problem::NotIso8859_1, u"%1 has no ISO-8859-1 form; the disc would show another character",
         u"%1は ISO-8859-1 にないため、ﾃﾞｨｽｸには別の文字が記録されます"},
        {Problem::ControlCharacter, u"%1 is a control character, which CD-Text cannot hold",
         u"%1は制御文字で、CD-TEXT に記録できません"},
        {Problem::OutsideJisX0208, u"%1 is outside JIS X 0208; many players cannot show it",
         u"%1は JIS X 0208 にない文字で、表示できないﾌﾟﾚｰﾔｰが多くあります"},
        {Problem::NotInCodePage, u"%1 has no code page 932 form and is written as \"？\"",
         u"%1はｺｰﾄﾞﾍﾟｰｼﾞ 932 にないため「？」として書き込まれます"},
    };
    for (const Wording &wording : wordings) {
        if (wording.problem == problem)
            return pick(wording.english, wording.japanese);
    }
    Q_UNREACHABLE();
    return {};
}

QString Messages::notWritableInSheet(const TextRef &text, const QString &why) const
{
    return textName(text) % u": "_s % why;
}

QString Messages::quoteInCueText() const
{
    return pick(u"a CUE sheet cannot hold a double quote (\"); use packs or toc",
                u"CUE ｼｰﾄには二重引用符 (\") を書けません。packs か toc を使ってください");
}

QString Messages::backslashEndsCueText() const
{
    return pick(u"its last byte is 0x5C (\\, or the second byte of a character such as 表 or "
                u"ソ), which CUE readers that take \\ as an escape misread; use packs or toc",
                u"最後のﾊﾞｲﾄが 0x5C (\\ または 表・ソ などの 2 ﾊﾞｲﾄ目) で、\\ をｴｽｹｰﾌﾟと"
                u"みなす CUE の読み込みｿﾌﾄが誤読します。packs か toc を使ってください");
}

QString Messages::leadingSpaceInSheet() const
{
    return pick(u"an input sheet drops the spaces at the start of a text; use packs",
                u"ｼｰﾄではﾃｷｽﾄ先頭の空白が失われます。packs を使ってください");
}

QString Messages::trackCountDiffers(const QString &sheet, int sheetTracks, int fileTracks) const
{
    return pick(u"'%1' has %2 tracks but the title file has %3",
                u"'%1' の曲数は %2 ですが、曲名ﾌｧｲﾙの曲数は %3 です")
        .arg(sheet)
        .arg(sheetTracks)
        .arg(fileTracks);
}

QString Messages::sheetNotUnderstood(const QString &path, int line,
                                     TocSyntaxError::Kind problem) const
{
    return pick(u"%1:%2: cannot read this CD_TEXT block (%3)",
                u"%1:%2: この CD_TEXT ﾌﾞﾛｯｸを読めません (%3)")
        .arg(path)
        .arg(line)
        .arg(tocSyntaxProblemText(problem));
}

QString Messages::noFreeLanguageNumber(const QString &path) const
{
    return pick(u"'%1' already uses all eight language numbers",
                u"'%1' では 8 つの言語番号がすべて使われています")
        .arg(path);
}

QString Messages::routeFault(RouteFault fault, std::optional<CdrdaoVersion> cdrdao) const
{
    switch (fault) {
    case RouteFault::None:
        break;
    case RouteFault::JapaneseV07t:
        return pick(u"cdrskin (libburn) burns the texts of a Japanese (MS-JIS) v07t sheet on the "
                    u"wrong tracks: it ends each text with one NUL and clears the double-byte "
                    u"flag; use packs (v07t --lang en writes the English block alone)",
                    u"cdrskin (libburn) は日本語 (MS-JIS) の v07t ｼｰﾄのﾃｷｽﾄを誤った曲に記録します"
                    u" (ﾃｷｽﾄの終わりを NUL 1 ﾊﾞｲﾄにし、2 ﾊﾞｲﾄ文字の印を消すため)。packs を使って"
                    u"ください (英語ﾌﾞﾛｯｸだけなら v07t --lang en)");
    case RouteFault::JapaneseTocOldCdrdao:
        return pick(u"cdrdao %1 marks every CD-Text block ISO-8859-1, so the Japanese texts would "
                    u"be burned as other characters (ENCODING_MS_JIS needs cdrdao 1.2.5 or "
                    u"later); use packs with cdrskin, or toc --lang en, or --cdrdao-version if "
                    u"you burn with a newer cdrdao",
                    u"cdrdao %1 はすべての CD-TEXT ﾌﾞﾛｯｸを ISO-8859-1 とするため、日本語のﾃｷｽﾄは"
                    u"別の文字として記録されます (ENCODING_MS_JIS は cdrdao 1.2.5 以降)。cdrskin "
                    u"で packs を使うか、toc --lang en を使ってください。新しい cdrdao で書き込む"
                    u"なら --cdrdao-version で版を指定してください")
            .arg(cdrdao ? cdrdao->toString() : QString());
    case RouteFault::JapaneseTocNoCdrdao:
        return pick(u"no cdrdao is installed to tell whether it can burn Japanese texts (1.2.5 "
                    u"and later can); name the version that burns with --cdrdao-version, or use "
                    u"packs",
                    u"cdrdao がｲﾝｽﾄｰﾙされていないため、日本語のﾃｷｽﾄを書き込めるか (1.2.5 以降) "
                    u"分かりません。書き込みに使う版を --cdrdao-version で指定するか、packs を"
                    u"使ってください");
    }
    return {};
}

QString Messages::cueJapaneseNeedsOutput() const
{
    return pick(u"cdrskin burns the texts of a CUE sheet as ISO-8859-1, so --lang ja writes the "
                u"Japanese block as a pack file beside the sheet, named by a CDTEXTFILE line; "
                u"give the sheet's name with -o, or use packs",
                u"cdrskin は CUE ｼｰﾄのﾃｷｽﾄを ISO-8859-1 として記録するため、--lang ja では日本語"
                u"ﾌﾞﾛｯｸをｼｰﾄの隣のﾊﾟｯｸﾌｧｲﾙに書き、CDTEXTFILE 行で指定します。-o でｼｰﾄの名前を"
                u"指定するか、packs を使ってください");
}

QString Messages::cuePackFileIsInput(const QString &path) const
{
    return pick(u"the pack file '%1' beside the sheet would overwrite an input; choose another "
                u"name with -o",
                u"ｼｰﾄの隣のﾊﾟｯｸﾌｧｲﾙ '%1' が入力ﾌｧｲﾙを上書きしてしまいます。-o で別の名前を"
                u"指定してください")
        .arg(path);
}

QString Messages::cuePackFileNameUnusable(const QString &path) const
{
    return pick(u"a CUE sheet cannot name the pack file '%1' (a double quote or a line break in "
                u"its name); choose another name with -o",
                u"ﾊﾟｯｸﾌｧｲﾙ '%1' の名前に二重引用符か改行があり、CUE ｼｰﾄに書けません。-o で別の"
                u"名前を指定してください")
        .arg(path);
}

QString Messages::reportRoute(const QString &route, const QString &verdict) const
{
    return pick(u"%1: %2", u"%1: %2").arg(route, verdict);
}

QString Messages::routeBurnsAsIs() const
{
    return pick(u"the texts reach the disc as they are", u"ﾃｷｽﾄはそのままﾃﾞｨｽｸに記録されます");
}

QString Messages::cueRouteVerdict(bool english, bool japanese) const
{
    if (english && japanese)
        return pick(u"one language a sheet: --lang en burns the English texts as they are, "
                    u"--lang ja the Japanese ones through a pack file (CDTEXTFILE)",
                    u"ｼｰﾄ 1 つに 1 言語: --lang en で英語、--lang ja で日本語 (ﾊﾟｯｸﾌｧｲﾙと "
                    u"CDTEXTFILE) がそのまま記録されます");
    if (japanese)
        return pick(u"--lang ja burns the texts as they are through a pack file (CDTEXTFILE)",
                    u"--lang ja でﾃｷｽﾄはﾊﾟｯｸﾌｧｲﾙ (CDTEXTFILE) からそのまま記録されます");
    return pick(u"--lang en burns the texts as they are",
                u"--lang en でﾃｷｽﾄはそのまま記録されます");
}

QString Messages::reportLfLineEnds() const
{
    return pick(u"the lines end in LF alone; a title file's lines end in CR LF, so the whole file "
                u"is one line",
                u"行末が LF だけです。曲名ﾌｧｲﾙの行末は CR LF なので、ﾌｧｲﾙ全体が 1 行になります");
}

QString Messages::reportStrayLine(int line, const QString &text) const
{
    return pick(u"line %1 is neither a section name nor number, Tab, text; it is read as the "
                u"editor reads it: \"%2\"",
                u"%1 行目はｾｸｼｮﾝ名でも「番号 Tab ﾃｷｽﾄ」でもありません。ｴﾃﾞｨﾀと同じように"
                u"読みます: 「%2」")
        .arg(line)
        .arg(text);
}

QString Messages::reportHeader(const QString &path, int trackCount) const
{
    return pick(u"%1: %2 tracks", u"%1: %2 曲").arg(path).arg(trackCount);
}

QString Messages::reportBlock(int language, int blockNumber, int textPacks, int budget) const
{
    return pick(u"block %1 (%2): %3 of %4 text packs", u"ﾌﾞﾛｯｸ %1 (%2): ﾃｷｽﾄﾊﾟｯｸ %3 / %4 個")
        .arg(blockNumber)
        .arg(languageName(language))
        .arg(textPacks)
        .arg(budget);
}

QString Messages::reportNoBlock(int language) const
{
    return pick(u"%1: no text, no block", u"%1: ﾃｷｽﾄなし (ﾌﾞﾛｯｸなし)").arg(languageName(language));
}

QString Messages::reportVerdict(int errors, int warnings) const
{
    if (errors == 0 && warnings == 0)
        return pick(u"ready to burn", u"そのまま書き込めます");
    if (errors == 0)
        return pick(u"ready to burn; warnings: %1", u"書き込めます (警告 %1 件)").arg(warnings);
    return pick(u"cannot be burned as it is; errors: %1, warnings: %2",
                u"このままでは書き込めません (ｴﾗｰ %1 件、警告 %2 件)")
        .arg(errors)
        .arg(warnings);
}

} // namespace sonolabe::cdtext
