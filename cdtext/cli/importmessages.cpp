// SPDX-License-Identifier: GPL-3.0-or-later
#include "cdtext/cli/importmessages.h"

namespace sonolabe::cdtext {

using namespace Qt::Literals::StringLiterals;

namespace {

// A character as the user can find it: U+XXXX, and the character itself
// when it can be shown on a line.
QString shown(char32_t character)
{
    QString code = u"U+"_s + QString::number(character, 16).toUpper().rightJustified(4, u'0');
    const bool printable = character > 0x20 && (character < 0x7F || character > 0x9F) &&
                           character != 0xFFFD && character != 0x2028 && character != 0x2029;
    if (printable)
        code += u" \""_s + QString::fromUcs4(&character, 1) + u'"';
    return code;
}

} // namespace

QString ImportMessages::help() const
{
    return pick(
        u"  import SOURCE -o TITLEFILE   a title file from a pack file, a v07t sheet, a CUE\n"
        u"                               sheet or a TOC file (told by its content)\n"
        u"    --from packs|v07t|cue|toc  the kind of SOURCE\n"
        u"    --lang en|ja               CUE: the section its texts fill (default: ja when\n"
        u"                               they hold Japanese characters); others: read only\n"
        u"                               that language's block\n"
        u"    --block N                  read block N (a TOC's language N) only, whatever\n"
        u"                               its language; --lang says which section it fills\n"
        u"    --ignore-crc               read a pack file whose CRCs are wrong",
        u"  import 元ﾌｧｲﾙ -o 曲名ﾌｧｲﾙ    ﾊﾟｯｸﾌｧｲﾙ、v07t ｼｰﾄ、CUE ｼｰﾄ、TOC ﾌｧｲﾙから\n"
        u"                               曲名ﾌｧｲﾙを作ります (種類は内容から判断)\n"
        u"    --from packs|v07t|cue|toc  元ﾌｧｲﾙの種類\n"
        u"    --lang en|ja               CUE: ﾃｷｽﾄを入れる言語 (既定: 日本語の文字があれば\n"
        u"                               ja); その他: その言語のﾌﾞﾛｯｸだけを読む\n"
        u"    --block N                  ﾌﾞﾛｯｸ N (TOC は言語番号 N) だけを読む。入れる\n"
        u"                               言語は --lang で指定\n"
        u"    --ignore-crc               CRC が合わないﾊﾟｯｸﾌｧｲﾙも読む");
}

QString ImportMessages::blockOutOfRange(int block) const
{
    return pick(u"--block %1: a block number is 0 to 7", u"--block %1: ﾌﾞﾛｯｸ番号は 0 から 7 です")
        .arg(block);
}

QString ImportMessages::blockNotForCue() const
{
    return pick(u"--block does not apply to a CUE sheet; use --lang",
                u"CUE ｼｰﾄに --block は使えません。--lang を使ってください");
}

QString ImportMessages::outputIsSource(const QString &path) const
{
    return pick(u"'%1' is the source; write the title file to another file",
                u"'%1' は元ﾌｧｲﾙです。曲名ﾌｧｲﾙは別のﾌｧｲﾙに書き込んでください")
        .arg(path);
}

QString ImportMessages::kindUnknown(const QString &path) const
{
    return pick(u"cannot tell what kind of file '%1' is; name it with --from packs|v07t|cue|toc",
                u"'%1' の種類がわかりません。--from packs|v07t|cue|toc で指定してください")
        .arg(path);
}

QString ImportMessages::nothingRead(const QString &path) const
{
    return pick(u"no text could be read from '%1'; no title file written",
                u"'%1' からﾃｷｽﾄを読めませんでした。曲名ﾌｧｲﾙは書き込んでいません")
        .arg(path);
}

QString ImportMessages::blockLanguage(const SourceNote &note) const
{
    if (note.what.isEmpty())
        return pick(u"block %1 (no language given)", u"ﾌﾞﾛｯｸ %1 (言語の指定なし)").arg(note.number);
    return pick(u"block %1 (language %2)", u"ﾌﾞﾛｯｸ %1 (言語 %2)").arg(note.number).arg(note.what);
}

QString ImportMessages::note(const SourceNote &note) const
{
    switch (note.kind) {
    case SourceNote::NotAPackFile:
        return pick(u"the size fits no CD-Text pack file", u"ｻｲｽﾞが CD-Text ﾊﾟｯｸﾌｧｲﾙに合いません");
    case SourceNote::CrcMismatch:
        return pick(u"pack %1: wrong CRC (--ignore-crc reads it anyway)",
                    u"ﾊﾟｯｸ %1: CRC が合いません (--ignore-crc で読めます)")
            .arg(note.number);
    case SourceNote::CharacterCodeUnknown:
        return pick(u"block %1: character code %2 cannot be read; block skipped",
                    u"ﾌﾞﾛｯｸ %1: 文字ｺｰﾄﾞ %2 は読めません。このﾌﾞﾛｯｸは読みません")
            .arg(note.number)
            .arg(note.what.isEmpty() ? u"0x"_s + QString::number(note.value, 16) : note.what);
    case SourceNote::OtherLanguage:
        return pick(u"%1 is neither English nor Japanese; skipped (--block %2 reads it)",
                    u"%1 は英語でも日本語でもないので読みません (--block %2 で読めます)")
            .arg(blockLanguage(note))
            .arg(note.number);
    case SourceNote::LanguageAgain:
        return pick(u"block %1: a second %2 block; skipped (--block %1 reads it)",
                    u"ﾌﾞﾛｯｸ %1: 2 つ目の%2のﾌﾞﾛｯｸなので読みません (--block %1 で読めます)")
            .arg(note.number)
            .arg(languageName(note.value));
    case SourceNote::NoSuchBlock:
        return pick(u"there is no block %1", u"ﾌﾞﾛｯｸ %1 はありません").arg(note.number);
    case SourceNote::NoBlockInLanguage:
        return pick(u"there is no %1 block", u"%1のﾌﾞﾛｯｸはありません")
            .arg(languageName(note.value));
    case SourceNote::TrackBeyondLimit:
        return pick(u"track %1: a title file names tracks 1 to 99; its text skipped",
                    u"%1曲目: 曲名ﾌｧｲﾙは 99 曲までなので、このﾃｷｽﾄは読みません")
            .arg(note.number);
    case SourceNote::TrackPerformers:
        return pick(u"the tracks' performers are skipped: a title file has one artist, the disc's",
                    u"曲ごとの演奏者は読みません (曲名ﾌｧｲﾙの作者名はﾃﾞｨｽｸに 1 つです)");
    case SourceNote::NotUnderstood:
        break;
    }
    return pick(u"line %1: %2; read up to there", u"%1 行目: %2。そこまでを読みました")
        .arg(note.number)
        .arg(tocSyntaxProblemText(static_cast<TocSyntaxError::Kind>(note.value)));
}

QString ImportMessages::moreCrcMismatches(int count) const
{
    return pick(u"%1 more packs with a wrong CRC", u"ほかに CRC が合わないﾊﾟｯｸが %1 個").arg(count);
}

QString ImportMessages::replacement(const Replacement &replacement) const
{
    QString what;
    switch (replacement.reason) {
    case Replacement::LineBreak:
        what = pick(u"a line break", u"改行");
        break;
    case Replacement::Tab:
        what = pick(u"a Tab", u"ﾀﾌﾞ");
        break;
    case Replacement::ControlCharacter:
        what = pick(u"the control character %1", u"制御文字 %1").arg(shown(replacement.character));
        break;
    case Replacement::NotInCodePage:
        what = pick(u"%1, which code page 932 lacks,", u"ｺｰﾄﾞﾍﾟｰｼﾞ 932 にない %1 ")
                   .arg(shown(replacement.character));
        break;
    case Replacement::NoCharacter:
        what = pick(u"bytes that are no character", u"文字にならないﾊﾞｲﾄ");
        break;
    }
    const bool control = replacement.reason == Replacement::LineBreak ||
                         replacement.reason == Replacement::Tab ||
                         replacement.reason == Replacement::ControlCharacter;
    const QString into = control ? pick(u"a space", u"空白") : u"'?'"_s;
    QString line = pick(u"%1: %2 at character %3 written as %4", u"%1: %3 文字目の%2を%4にしました")
                       .arg(textName(replacement.text), what)
                       .arg(replacement.position)
                       .arg(into);
    if (replacement.more > 0)
        line += pick(u" (and %1 more)", u" (ほか %1 か所)").arg(replacement.more);
    return line;
}

QString ImportMessages::imported(const QString &path, ImportKind kind, int tracks,
                                 TitleFileSections sections) const
{
    QStringList languages;
    if (sections.english)
        languages << languageName(English);
    if (sections.japanese)
        languages << languageName(Japanese);
    return pick(u"%1 (%2): %3 tracks, %4", u"%1 (%2): %3 曲、%4")
        .arg(path, kindName(kind))
        .arg(tracks)
        .arg(languages.join(pick(u" and ", u"と")));
}

QString ImportMessages::kindName(ImportKind kind) const
{
    switch (kind) {
    case ImportKind::Packs:
        return pick(u"CD-Text pack file", u"CD-Text ﾊﾟｯｸﾌｧｲﾙ");
    case ImportKind::V07t:
        return pick(u"v07t sheet", u"v07t ｼｰﾄ");
    case ImportKind::Cue:
        return pick(u"CUE sheet", u"CUE ｼｰﾄ");
    case ImportKind::Toc:
        break;
    }
    return pick(u"TOC file", u"TOC ﾌｧｲﾙ");
}

} // namespace sonolabe::cdtext
