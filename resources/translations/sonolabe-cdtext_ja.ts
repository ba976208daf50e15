<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="ja">
<context>
    <name>Messages</name>
    <message>
        <source>Try &apos;sonolabe-cdtext --help&apos;.</source>
        <translation>&apos;sonolabe-cdtext --help&apos; で使い方を表示します。</translation>
    </message>
    <message>
        <source>cannot read &apos;%1&apos;: %2</source>
        <translation>&apos;%1&apos; を読めません: %2</translation>
    </message>
    <message>
        <source>cannot write &apos;%1&apos;: %2</source>
        <translation>&apos;%1&apos; に書き込めません: %2</translation>
    </message>
    <message>
        <source>warning: %1</source>
        <translation>警告: %1</translation>
    </message>
    <message>
        <source>error: %1</source>
        <translation>ｴﾗｰ: %1</translation>
    </message>
    <message>
        <source>English</source>
        <translation>英語</translation>
    </message>
    <message>
        <source>Japanese</source>
        <translation>日本語</translation>
    </message>
    <message>
        <source>%1 disc name</source>
        <translation>%1のﾃﾞｨｽｸ名</translation>
    </message>
    <message>
        <source>%1 artist name</source>
        <translation>%1の作者名</translation>
    </message>
    <message>
        <source>%1 title of track %2</source>
        <translation>%1の曲名 (%2曲目)</translation>
    </message>
    <message>
        <source>no command given</source>
        <translation>ｺﾏﾝﾄﾞがありません</translation>
    </message>
    <message>
        <source>unknown command &apos;%1&apos;</source>
        <translation>&apos;%1&apos; というｺﾏﾝﾄﾞはありません</translation>
    </message>
    <message>
        <source>unknown option &apos;%1&apos;</source>
        <translation>&apos;%1&apos; というｵﾌﾟｼｮﾝはありません</translation>
    </message>
    <message>
        <source>option &apos;%1&apos; needs a value</source>
        <translation>ｵﾌﾟｼｮﾝ &apos;%1&apos; には値が必要です</translation>
    </message>
    <message>
        <source>no title file given</source>
        <translation>曲名ﾌｧｲﾙが指定されていません</translation>
    </message>
    <message>
        <source>no source given</source>
        <translation>元ﾌｧｲﾙが指定されていません</translation>
    </message>
    <message>
        <source>unexpected argument &apos;%1&apos;</source>
        <translation>余分な引数 &apos;%1&apos; があります</translation>
    </message>
    <message>
        <source>option &apos;%1&apos; does not apply to &apos;%2&apos;</source>
        <translation>ｵﾌﾟｼｮﾝ &apos;%1&apos; は &apos;%2&apos; では使えません</translation>
    </message>
    <message>
        <source>&apos;%2&apos; needs the option &apos;%1&apos;</source>
        <translation>&apos;%2&apos; にはｵﾌﾟｼｮﾝ &apos;%1&apos; が必要です</translation>
    </message>
    <message>
        <source>%1 or %2</source>
        <translation>%1 か %2</translation>
    </message>
    <message>
        <source>, </source>
        <comment>between choices</comment>
        <translation>、</translation>
    </message>
    <message>
        <source>%1 takes %2, not &apos;%3&apos;</source>
        <translation>%1 には %2 を指定します (&apos;%3&apos; は使えません)</translation>
    </message>
    <message>
        <source>%1 takes a number, not &apos;%2&apos;</source>
        <translation>%1 には数を指定します (&apos;%2&apos; は使えません)</translation>
    </message>
    <message>
        <source>%1 takes a version such as 1.2.4, not &apos;%2&apos;</source>
        <translation>%1 には 1.2.4 のような版を指定します (&apos;%2&apos; は使えません)</translation>
    </message>
    <message>
        <source>&apos;%1&apos; is an input; write the result to another file</source>
        <translation>&apos;%1&apos; は入力ﾌｧｲﾙです。結果は別のﾌｧｲﾙに書き込んでください</translation>
    </message>
    <message>
        <source>--block %1: a block number is 0 to 7</source>
        <translation>--block %1: ﾌﾞﾛｯｸ番号は 0 から 7 です</translation>
    </message>
    <message>
        <source>--block does not apply to a CUE sheet; use --lang</source>
        <translation>CUE ｼｰﾄに --block は使えません。--lang を使ってください</translation>
    </message>
    <message>
        <source>&apos;%1&apos; is the source; write the title file to another file</source>
        <translation>&apos;%1&apos; は元ﾌｧｲﾙです。曲名ﾌｧｲﾙは別のﾌｧｲﾙに書き込んでください</translation>
    </message>
    <message>
        <source>cannot read the title file &apos;%1&apos;: %2</source>
        <translation>曲名ﾌｧｲﾙ &apos;%1&apos; を読めません: %2</translation>
    </message>
    <message>
        <source>&apos;%1&apos; is not a CD-TEXT title file (it has no &quot;ja&quot; or &quot;en&quot; line)</source>
        <translation>&apos;%1&apos; は CD-TEXT の曲名ﾌｧｲﾙの規格に合っていません (&quot;ja&quot; も &quot;en&quot; の行もありません)</translation>
    </message>
    <message>
        <source>the title file has no tracks</source>
        <translation>曲名ﾌｧｲﾙに曲がありません</translation>
    </message>
    <message>
        <source>the title file holds no text to write</source>
        <translation>曲名ﾌｧｲﾙに書き込むﾃｷｽﾄがありません</translation>
    </message>
    <message>
        <source>the title file holds no %1 text</source>
        <translation>曲名ﾌｧｲﾙに%1のﾃｷｽﾄがありません</translation>
    </message>
    <message>
        <source>block %1 (%2) needs %3 text packs, %4 more than the %5 that fit</source>
        <translation>ﾌﾞﾛｯｸ %1 (%2) にはﾃｷｽﾄﾊﾟｯｸが %3 個必要で、入る %5 個を %4 個超えています</translation>
    </message>
    <message>
        <source>; with --tab-repeat it needs %1 text packs and fits</source>
        <translation>; --tab-repeat を付けると %1 個で収まります</translation>
    </message>
    <message>
        <source>character %1 &quot;%2&quot; (%3)</source>
        <translation>%1文字目の「%2」(%3)</translation>
    </message>
    <message>
        <source>character %1 (%2)</source>
        <translation>%1文字目 (%2)</translation>
    </message>
    <message>
        <source>%1 is not allowed in an English title file</source>
        <translation>%1は英語の曲名ﾌｧｲﾙに使えない文字です</translation>
    </message>
    <message>
        <source>%1 has no ISO-8859-1 form; the disc would show another character</source>
        <translation>%1は ISO-8859-1 にないため、ﾃﾞｨｽｸには別の文字が記録されます</translation>
    </message>
    <message>
        <source>%1 is a control character, which CD-Text cannot hold</source>
        <translation>%1は制御文字で、CD-TEXT に記録できません</translation>
    </message>
    <message>
        <source>%1 is outside JIS X 0208; many players cannot show it</source>
        <translation>%1は JIS X 0208 にない文字で、表示できないﾌﾟﾚｰﾔｰが多くあります</translation>
    </message>
    <message>
        <source>%1 has no code page 932 form and is written as &quot;？&quot;</source>
        <translation>%1はｺｰﾄﾞﾍﾟｰｼﾞ 932 にないため「？」として書き込まれます</translation>
    </message>
    <message numerus="yes">
        <source> (and %n more such character(s))</source>
        <translation>
            <numerusform> (ほかに %n 文字)</numerusform>
        </translation>
    </message>
    <message>
        <source>a CUE sheet cannot hold a double quote (&quot;); use packs or toc</source>
        <translation>CUE ｼｰﾄには二重引用符 (&quot;) を書けません。packs か toc を使ってください</translation>
    </message>
    <message>
        <source>its last byte is 0x5C (\, or the second byte of a character such as 表 or ソ), which CUE readers that take \ as an escape misread; use packs or toc</source>
        <translation>最後のﾊﾞｲﾄが 0x5C (\ または 表・ソ などの 2 ﾊﾞｲﾄ目) で、\ をｴｽｹｰﾌﾟとみなす CUE の読み込みｿﾌﾄが誤読します。packs か toc を使ってください</translation>
    </message>
    <message>
        <source>an input sheet drops the spaces at the start of a text; use packs</source>
        <translation>ｼｰﾄではﾃｷｽﾄ先頭の空白が失われます。packs を使ってください</translation>
    </message>
    <message numerus="yes">
        <source>&apos;%1&apos; has %n track(s) but the title file has %2</source>
        <translation>
            <numerusform>&apos;%1&apos; の曲数は %n ですが、曲名ﾌｧｲﾙの曲数は %2 です</numerusform>
        </translation>
    </message>
    <message>
        <source>%1:%2: cannot read this CD_TEXT block (%3)</source>
        <translation>%1:%2: この CD_TEXT ﾌﾞﾛｯｸを読めません (%3)</translation>
    </message>
    <message>
        <source>&apos;%1&apos; already uses all eight language numbers</source>
        <translation>&apos;%1&apos; では 8 つの言語番号がすべて使われています</translation>
    </message>
    <message>
        <source>cdrskin (libburn) burns the texts of a Japanese (MS-JIS) v07t sheet on the wrong tracks: it ends each text with one NUL and clears the double-byte flag; use packs (v07t --lang en writes the English block alone)</source>
        <translation>cdrskin (libburn) は日本語 (MS-JIS) の v07t ｼｰﾄのﾃｷｽﾄを誤った曲に記録します (ﾃｷｽﾄの終わりを NUL 1 ﾊﾞｲﾄにし、2 ﾊﾞｲﾄ文字の印を消すため)。packs を使ってください (英語ﾌﾞﾛｯｸだけなら v07t --lang en)</translation>
    </message>
    <message>
        <source>cdrdao %1 marks every CD-Text block ISO-8859-1, so the Japanese texts would be burned as other characters (ENCODING_MS_JIS needs cdrdao 1.2.5 or later); use packs with cdrskin, or toc --lang en, or --cdrdao-version if you burn with a newer cdrdao</source>
        <translation>cdrdao %1 はすべての CD-TEXT ﾌﾞﾛｯｸを ISO-8859-1 とするため、日本語のﾃｷｽﾄは別の文字として記録されます (ENCODING_MS_JIS は cdrdao 1.2.5 以降)。cdrskin で packs を使うか、toc --lang en を使ってください。新しい cdrdao で書き込むなら --cdrdao-version で版を指定してください</translation>
    </message>
    <message>
        <source>no cdrdao is installed to tell whether it can burn Japanese texts (1.2.5 and later can); name the version that burns with --cdrdao-version, or use packs</source>
        <translation>cdrdao がｲﾝｽﾄｰﾙされていないため、日本語のﾃｷｽﾄを書き込めるか (1.2.5 以降) 分かりません。書き込みに使う版を --cdrdao-version で指定するか、packs を使ってください</translation>
    </message>
    <message>
        <source>cdrskin burns the texts of a CUE sheet as ISO-8859-1, so --lang ja writes the Japanese block as a pack file beside the sheet, named by a CDTEXTFILE line; give the sheet&apos;s name with -o, or use packs</source>
        <translation>cdrskin は CUE ｼｰﾄのﾃｷｽﾄを ISO-8859-1 として記録するため、--lang ja では日本語ﾌﾞﾛｯｸをｼｰﾄの隣のﾊﾟｯｸﾌｧｲﾙに書き、CDTEXTFILE 行で指定します。-o でｼｰﾄの名前を指定するか、packs を使ってください</translation>
    </message>
    <message>
        <source>the pack file &apos;%1&apos; beside the sheet would overwrite an input; choose another name with -o</source>
        <translation>ｼｰﾄの隣のﾊﾟｯｸﾌｧｲﾙ &apos;%1&apos; が入力ﾌｧｲﾙを上書きしてしまいます。-o で別の名前を指定してください</translation>
    </message>
    <message>
        <source>a CUE sheet cannot name the pack file &apos;%1&apos; (a double quote or a line break in its name); choose another name with -o</source>
        <translation>ﾊﾟｯｸﾌｧｲﾙ &apos;%1&apos; の名前に二重引用符か改行があり、CUE ｼｰﾄに書けません。-o で別の名前を指定してください</translation>
    </message>
    <message>
        <source>the text of &apos;%1&apos; was not read: its CRCs are wrong (--ignore-crc reads it anyway); no title file written</source>
        <translation>&apos;%1&apos; は CRC が合わないためﾃｷｽﾄを読みませんでした (--ignore-crc で読めます)。曲名ﾌｧｲﾙは書き込んでいません</translation>
    </message>
    <message>
        <source>note: %1</source>
        <translation>注記: %1</translation>
    </message>
    <message>
        <source>no text could be read from &apos;%1&apos;; no title file written</source>
        <translation>&apos;%1&apos; からﾃｷｽﾄを読めませんでした。曲名ﾌｧｲﾙは書き込んでいません</translation>
    </message>
    <message numerus="yes">
        <source>%1: %n track(s)</source>
        <translation>
            <numerusform>%1: %n 曲</numerusform>
        </translation>
    </message>
    <message>
        <source>block %1 (%2): %3 of %4 text packs</source>
        <translation>ﾌﾞﾛｯｸ %1 (%2): ﾃｷｽﾄﾊﾟｯｸ %3 / %4 個</translation>
    </message>
    <message>
        <source>%1: no text, no block</source>
        <translation>%1: ﾃｷｽﾄなし (ﾌﾞﾛｯｸなし)</translation>
    </message>
    <message>
        <source>the texts reach the disc as they are</source>
        <translation>ﾃｷｽﾄはそのままﾃﾞｨｽｸに記録されます</translation>
    </message>
    <message>
        <source>one language a sheet: --lang en burns the English texts as they are, --lang ja the Japanese ones through a pack file (CDTEXTFILE)</source>
        <translation>ｼｰﾄ 1 つに 1 言語: --lang en で英語、--lang ja で日本語 (ﾊﾟｯｸﾌｧｲﾙと CDTEXTFILE) がそのまま記録されます</translation>
    </message>
    <message>
        <source>--lang ja burns the texts as they are through a pack file (CDTEXTFILE)</source>
        <translation>--lang ja でﾃｷｽﾄはﾊﾟｯｸﾌｧｲﾙ (CDTEXTFILE) からそのまま記録されます</translation>
    </message>
    <message>
        <source>--lang en burns the texts as they are</source>
        <translation>--lang en でﾃｷｽﾄはそのまま記録されます</translation>
    </message>
    <message>
        <source>the lines end in LF alone; a title file&apos;s lines end in CR LF, so the whole file is one line</source>
        <translation>行末が LF だけです。曲名ﾌｧｲﾙの行末は CR LF なので、ﾌｧｲﾙ全体が 1 行になります</translation>
    </message>
    <message>
        <source>line %1 is neither a section name nor number, Tab, text; it is read as the editor reads it: &quot;%2&quot;</source>
        <translation>%1 行目はｾｸｼｮﾝ名でも「番号 Tab ﾃｷｽﾄ」でもありません。ｴﾃﾞｨﾀと同じように読みます: 「%2」</translation>
    </message>
    <message>
        <source>ready to burn</source>
        <translation>そのまま書き込めます</translation>
    </message>
    <message>
        <source>ready to burn; warnings: %1</source>
        <translation>書き込めます (警告 %1 件)</translation>
    </message>
    <message>
        <source>cannot be burned as it is; errors: %1, warnings: %2</source>
        <translation>このままでは書き込めません (ｴﾗｰ %1 件、警告 %2 件)</translation>
    </message>
    <message>
        <source>the size fits no CD-Text pack file</source>
        <translation>ｻｲｽﾞが CD-Text ﾊﾟｯｸﾌｧｲﾙに合いません</translation>
    </message>
    <message>
        <source>pack %1: wrong CRC</source>
        <translation>ﾊﾟｯｸ %1: CRC が合いません</translation>
    </message>
    <message>
        <source>pack %1: wrong CRC; its text read all the same (--ignore-crc)</source>
        <translation>ﾊﾟｯｸ %1: CRC が合いませんが、ﾃｷｽﾄを読みました (--ignore-crc)</translation>
    </message>
    <message>
        <source>the CRCs are all zero, never filled in; the text read without them</source>
        <translation>CRC がすべて 0 で未記入のため、CRC を確かめずにﾃｷｽﾄを読みました</translation>
    </message>
    <message>
        <source>the disc starts at track %1; the tracks before it are left empty</source>
        <translation>ﾃﾞｨｽｸは %1曲目から始まります。それより前の曲は空にしました</translation>
    </message>
    <message>
        <source>block %1: character code %2 cannot be read; block skipped</source>
        <translation>ﾌﾞﾛｯｸ %1: 文字ｺｰﾄﾞ %2 は読めません。このﾌﾞﾛｯｸは読みません</translation>
    </message>
    <message>
        <source>block %1 (no language given)</source>
        <translation>ﾌﾞﾛｯｸ %1 (言語の指定なし)</translation>
    </message>
    <message>
        <source>block %1 (language %2)</source>
        <translation>ﾌﾞﾛｯｸ %1 (言語 %2)</translation>
    </message>
    <message>
        <source>%1 is neither English nor Japanese; skipped (--block %2 reads it)</source>
        <translation>%1 は英語でも日本語でもないので読みません (--block %2 で読めます)</translation>
    </message>
    <message>
        <source>block %1: a second %2 block; skipped (--block %1 reads it)</source>
        <translation>ﾌﾞﾛｯｸ %1: 2 つ目の%2のﾌﾞﾛｯｸなので読みません (--block %1 で読めます)</translation>
    </message>
    <message>
        <source>there is no block %1</source>
        <translation>ﾌﾞﾛｯｸ %1 はありません</translation>
    </message>
    <message>
        <source>there is no %1 block</source>
        <translation>%1のﾌﾞﾛｯｸはありません</translation>
    </message>
    <message>
        <source>track %1: a title file names tracks 1 to 99; its text skipped</source>
        <translation>%1曲目: 曲名ﾌｧｲﾙは 99 曲までなので、このﾃｷｽﾄは読みません</translation>
    </message>
    <message>
        <source>the disc</source>
        <translation>ﾃﾞｨｽｸ</translation>
    </message>
    <message>
        <source>track %1</source>
        <translation>%1曲目</translation>
    </message>
    <message>
        <source>the songwriter</source>
        <translation>作詞者</translation>
    </message>
    <message>
        <source>the composer</source>
        <translation>作曲者</translation>
    </message>
    <message>
        <source>the arranger</source>
        <translation>編曲者</translation>
    </message>
    <message>
        <source>the message</source>
        <translation>ﾒｯｾｰｼﾞ</translation>
    </message>
    <message>
        <source>the genre</source>
        <translation>ｼﾞｬﾝﾙ</translation>
    </message>
    <message>
        <source>the disc ID</source>
        <translation>ﾃﾞｨｽｸ ID</translation>
    </message>
    <message>
        <source>the UPC/EAN</source>
        <translation>UPC/EAN</translation>
    </message>
    <message>
        <source>the ISRC</source>
        <translation>ISRC</translation>
    </message>
    <message>
        <source>%1 is left out: a title file holds only the disc name, the artist and the track titles</source>
        <translation>%1は読みません (曲名ﾌｧｲﾙにはﾃﾞｨｽｸ名、作者名、曲名だけが入ります)</translation>
    </message>
    <message>
        <source>%1: %2</source>
        <translation>%1: %2</translation>
    </message>
    <message>
        <source>block %1, %2: %3</source>
        <translation>ﾌﾞﾛｯｸ %1、%2: %3</translation>
    </message>
    <message>
        <source>the tracks&apos; performers are skipped: a title file has one artist, the disc&apos;s</source>
        <translation>曲ごとの演奏者は読みません (曲名ﾌｧｲﾙの作者名はﾃﾞｨｽｸに 1 つです)</translation>
    </message>
    <message>
        <source>line %1: %2; read up to there</source>
        <translation>%1 行目: %2。そこまでを読みました</translation>
    </message>
    <message numerus="yes">
        <source>%n more pack(s) with a wrong CRC</source>
        <translation>
            <numerusform>ほかに CRC が合わないﾊﾟｯｸが %n 個</numerusform>
        </translation>
    </message>
    <message>
        <source>a line break</source>
        <translation>改行</translation>
    </message>
    <message>
        <source>a Tab</source>
        <translation>ﾀﾌﾞ</translation>
    </message>
    <message>
        <source>the control character %1</source>
        <translation>制御文字 %1</translation>
    </message>
    <message>
        <source>%1, which code page 932 lacks,</source>
        <translation>ｺｰﾄﾞﾍﾟｰｼﾞ 932 にない %1 </translation>
    </message>
    <message>
        <source>bytes that are no character</source>
        <translation>文字にならないﾊﾞｲﾄ</translation>
    </message>
    <message>
        <source>a space</source>
        <translation>空白</translation>
    </message>
    <message>
        <source>%1: %2 at character %3 written as %4</source>
        <translation>%1: %3 文字目の%2を%4にしました</translation>
    </message>
    <message>
        <source> (and %1 more)</source>
        <translation> (ほか %1 か所)</translation>
    </message>
    <message numerus="yes">
        <source>%1 (%2): %n track(s), %3</source>
        <translation>
            <numerusform>%1 (%2): %n 曲、%3</numerusform>
        </translation>
    </message>
    <message>
        <source> and </source>
        <translation>と</translation>
    </message>
    <message>
        <source>CD-Text pack file</source>
        <translation>CD-Text ﾊﾟｯｸﾌｧｲﾙ</translation>
    </message>
    <message>
        <source>v07t sheet</source>
        <translation>v07t ｼｰﾄ</translation>
    </message>
    <message>
        <source>CUE sheet</source>
        <translation>CUE ｼｰﾄ</translation>
    </message>
    <message>
        <source>TOC file</source>
        <translation>TOC ﾌｧｲﾙ</translation>
    </message>
    <message>
        <source>a string that never ends</source>
        <translation>終わらない文字列</translation>
    </message>
    <message>
        <source>a &quot;{&quot; that is never closed</source>
        <translation>閉じられない &quot;{&quot;</translation>
    </message>
    <message>
        <source>expected LANGUAGE_MAP, LANGUAGE or &quot;}&quot;</source>
        <translation>LANGUAGE_MAP、LANGUAGE または &quot;}&quot; がありません</translation>
    </message>
    <message>
        <source>expected &quot;number : language&quot; in LANGUAGE_MAP</source>
        <translation>LANGUAGE_MAP に &quot;番号 : 言語&quot; がありません</translation>
    </message>
    <message>
        <source>a language number that is not a number from 0 to 7</source>
        <translation>0 から 7 の数でない言語番号</translation>
    </message>
    <message>
        <source>a language code that is neither a number from 0 to 255 nor EN</source>
        <translation>0 から 255 の数でも EN でもない言語ｺｰﾄﾞ</translation>
    </message>
    <message>
        <source>expected an item such as TITLE</source>
        <translation>TITLE などの項目がありません</translation>
    </message>
    <message>
        <source>an item without a string or { data }</source>
        <translation>文字列も { ﾃﾞｰﾀ } もない項目</translation>
    </message>
    <message>
        <source>more words and signs than any TOC file holds</source>
        <translation>TOC ﾌｧｲﾙとしては多すぎる語と記号</translation>
    </message>
    <message>
        <source>blocks nested deeper than any TOC file nests them</source>
        <translation>TOC ﾌｧｲﾙとしては深すぎるﾌﾞﾛｯｸの入れ子</translation>
    </message>
    <message>
        <source>line %1: a disc holds eight blocks at most; read up to there</source>
        <translation>%1 行目: ﾌﾞﾛｯｸは 1 枚に 8 つまでです。そこまでを読みました</translation>
    </message>
    <message>
        <source>Usage: sonolabe-cdtext COMMAND TITLEFILE [options]

Turns a CD-TEXT title file into what Linux burning tools read.

Commands:
  check TITLEFILE            show the tracks, the text packs each language block
                             needs, whether each command&apos;s output burns the texts
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
  import SOURCE -o TITLEFILE   a title file from a pack file, a v07t sheet, a CUE
                               sheet or a TOC file (told by its content)
  import FILE...|FOLDER -o TITLEFILE
                               a title file from the tags of audio files, in the
                               order of their track numbers
  import --from list LIST -o TITLEFILE
                               a title file from a track list (one title a line);
                               SOURCE or LIST - reads standard input
    --from packs|v07t|cue|toc|list|audio
                               the kind of SOURCE
    --lang en|ja               CUE, list, audio: the section the texts fill
                               (default: ja when they hold Japanese characters);
                               others: read only that language&apos;s block
    --block N                  read block N (a TOC&apos;s language N) only, whatever
                               its language; --lang says which section it fills
    --ignore-crc               read a pack file whose CRCs are wrong
    --encoding utf-8|cp932|cp1252
                               a CUE sheet&apos;s encoding (default: told by its bytes)
    --disc N                   audio: the disc to read when the files span discs
    --disc TEXT, --artist TEXT list: the disc name and the artist name

Options:
  -o, --output FILE   where to write (standard output when omitted; packs needs it)
  --into SHEET        the CUE sheet or TOC file to rewrite; it is never changed itself
  --lang en|ja        only the English or only the Japanese texts (cue needs it)
  --tab-repeat        write a title equal to the previous track&apos;s as a Tab, which
                      saves packs (check, packs)
  --cdrdao-version X.Y.Z  the cdrdao that burns the TOC file (toc, check;
                      default: the installed one)
  -h, --help          show this help
  --version           show the version

Block 0 is English (ISO-8859-1), block 1 Japanese (MS-JIS). MS-JIS takes two bytes
for every character, so ASCII and half-width katakana in Japanese texts are
written in their full-width forms.

From audio files to a disc: import their tags, add the English texts in
Sonolabe, write the packs and burn:
  sonolabe-cdtext import album/ -o disc.txt
  sonolabe disc.txt
  sonolabe-cdtext packs disc.txt -o disc.cdt
  cdrskin -sao textfile=disc.cdt -audio album/*.wav
Exit status: 0 done, 1 input refused (the reason is shown), 2 wrong usage.
</source>
        <translation>使い方: sonolabe-cdtext ｺﾏﾝﾄﾞ 曲名ﾌｧｲﾙ [ｵﾌﾟｼｮﾝ]

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
  import 元ﾌｧｲﾙ -o 曲名ﾌｧｲﾙ    ﾊﾟｯｸﾌｧｲﾙ、v07t ｼｰﾄ、CUE ｼｰﾄ、TOC ﾌｧｲﾙから
                               曲名ﾌｧｲﾙを作ります (種類は内容から判断)
  import ﾌｧｲﾙ...|ﾌｫﾙﾀﾞ -o 曲名ﾌｧｲﾙ
                               音声ﾌｧｲﾙのﾀｸﾞから曲名ﾌｧｲﾙを作ります (曲順はﾄﾗｯｸ番号順)
  import --from list 曲目ﾘｽﾄ -o 曲名ﾌｧｲﾙ
                               曲目ﾘｽﾄ (1 行に 1 曲) から曲名ﾌｧｲﾙを作ります。
                               元ﾌｧｲﾙや曲目ﾘｽﾄに - を指定すると標準入力を読みます
    --from packs|v07t|cue|toc|list|audio
                               元ﾌｧｲﾙの種類
    --lang en|ja               CUE、ﾘｽﾄ、音声: ﾃｷｽﾄを入れる言語 (既定: 日本語の文字
                               があれば ja); その他: その言語のﾌﾞﾛｯｸだけを読む
    --block N                  ﾌﾞﾛｯｸ N (TOC は言語番号 N) だけを読む。入れる
                               言語は --lang で指定
    --ignore-crc               CRC が合わないﾊﾟｯｸﾌｧｲﾙも読む
    --encoding utf-8|cp932|cp1252
                               CUE ｼｰﾄの文字ｺｰﾄﾞ (既定: ﾊﾞｲﾄ列から判断)
    --disc N                   音声: ﾌｧｲﾙが複数のﾃﾞｨｽｸにわたるとき、読むﾃﾞｨｽｸの番号
    --disc ﾃｷｽﾄ, --artist ﾃｷｽﾄ ﾘｽﾄ: ﾃﾞｨｽｸ名と作者名

ｵﾌﾟｼｮﾝ:
  -o, --output ﾌｧｲﾙ  書き込み先 (省略すると標準出力。packs では必須)
  --into ｼｰﾄ         書き換える CUE ｼｰﾄまたは TOC ﾌｧｲﾙ (このﾌｧｲﾙ自体は変更しません)
  --lang en|ja       英語または日本語だけを扱います (cue では必須)
  --tab-repeat       前の曲と同じ曲名を Tab で表し、ﾊﾟｯｸを節約します (check, packs)
  --cdrdao-version X.Y.Z  TOC ﾌｧｲﾙを書き込む cdrdao の版 (toc, check。省略すると
                     ｲﾝｽﾄｰﾙされている版)
  -h, --help         この説明を表示します
  --version          版を表示します

ﾌﾞﾛｯｸ 0 は英語 (ISO-8859-1)、ﾌﾞﾛｯｸ 1 は日本語 (MS-JIS) です。MS-JIS は 1 文字 2 ﾊﾞｲﾄ
なので、日本語のﾃｷｽﾄの半角英数字と半角ｶﾀｶﾅは全角で書き込みます。

音声ﾌｧｲﾙからﾃﾞｨｽｸへ: ﾀｸﾞを取り込み、Sonolabe で英語のﾃｷｽﾄを加え、ﾊﾟｯｸを作って
書き込みます:
  sonolabe-cdtext import album/ -o disc.txt
  sonolabe disc.txt
  sonolabe-cdtext packs disc.txt -o disc.cdt
  cdrskin -sao textfile=disc.cdt -audio album/*.wav
終了ｺｰﾄﾞ: 0 完了、1 入力を受け付けられない (理由を表示)、2 使い方の誤り。
</translation>
    </message>
    <message>
        <source>%1 does not apply to a source read as %2</source>
        <translation>%1 は%2には使えません</translation>
    </message>
    <message>
        <source>cannot tell what kind of file &apos;%1&apos; is; name it with --from packs|v07t|cue|toc|list|audio</source>
        <translation>&apos;%1&apos; の種類がわかりません。--from packs|v07t|cue|toc|list|audio で指定してください</translation>
    </message>
    <message>
        <source>read as Windows-1252, as its bytes suggest (--encoding cp932 or utf-8 reads it otherwise)</source>
        <translation>ﾊﾞｲﾄ列から判断して Windows-1252 として読みました (--encoding cp932 または utf-8 で別の読み方になります)</translation>
    </message>
    <message>
        <source>read as code page 932, as its bytes suggest (--encoding cp1252 or utf-8 reads it otherwise)</source>
        <translation>ﾊﾞｲﾄ列から判断してｺｰﾄﾞﾍﾟｰｼﾞ 932 として読みました (--encoding cp1252 または utf-8 で別の読み方になります)</translation>
    </message>
    <message>
        <source>the typographic %1</source>
        <translation>組版用の記号 %1</translation>
    </message>
    <message>
        <source>its ASCII form %1</source>
        <translation>ASCII の %1</translation>
    </message>
    <message>
        <source>its code page 932 twin %1</source>
        <translation>ｺｰﾄﾞﾍﾟｰｼﾞ 932 の同じ文字 %1</translation>
    </message>
    <message>
        <source>track list</source>
        <translation>曲目ﾘｽﾄ</translation>
    </message>
    <message>
        <source>audio files</source>
        <translation>音声ﾌｧｲﾙ</translation>
    </message>
    <message numerus="yes">
        <source>%n audio file(s), more than the 99 tracks of a disc; nothing read</source>
        <translation>
            <numerusform>音声ﾌｧｲﾙが %n 個あり、1 枚のﾃﾞｨｽｸの 99 曲を超えています。何も読みません</numerusform>
        </translation>
    </message>
    <message>
        <source>no audio files in &apos;%1&apos;</source>
        <translation>&apos;%1&apos; に音声ﾌｧｲﾙがありません</translation>
    </message>
    <message>
        <source>&apos;%1&apos;: no audio file whose tags can be read; left out</source>
        <translation>&apos;%1&apos;: ﾀｸﾞを読める音声ﾌｧｲﾙではないので除きます</translation>
    </message>
    <message>
        <source>the files are of discs %1; pick one with --disc N; nothing read</source>
        <translation>ﾌｧｲﾙはﾃﾞｨｽｸ %1 のものです。--disc N で 1 枚を選んでください。何も読みません</translation>
    </message>
    <message>
        <source>no file is of disc %1 (the files are of discs %2); nothing read</source>
        <translation>ﾃﾞｨｽｸ %1 のﾌｧｲﾙはありません (ﾌｧｲﾙはﾃﾞｨｽｸ %2 のもの)。何も読みません</translation>
    </message>
    <message>
        <source>&apos;%1&apos; has no track number; the tracks follow the order of the files</source>
        <translation>&apos;%1&apos; にﾄﾗｯｸ番号がありません。曲順はﾌｧｲﾙの順です</translation>
    </message>
    <message>
        <source>&apos;%1&apos; has track number %2 again; the tracks follow the order of the files</source>
        <translation>&apos;%1&apos; のﾄﾗｯｸ番号 %2 は重複しています。曲順はﾌｧｲﾙの順です</translation>
    </message>
    <message>
        <source>no file has track number %1; the tracks follow the order of the files</source>
        <translation>ﾄﾗｯｸ番号 %1 のﾌｧｲﾙがありません。曲順はﾌｧｲﾙの順です</translation>
    </message>
    <message numerus="yes">
        <source>the files name %n album(s); the disc name is the most common one: &apos;%1&apos;</source>
        <translation>
            <numerusform>ﾌｧｲﾙのｱﾙﾊﾞﾑ名は %n 種類あります。最も多い &apos;%1&apos; をﾃﾞｨｽｸ名にします</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>the files name %n artist(s); the artist name is the most common one: &apos;%1&apos; (a title file has one artist)</source>
        <translation>
            <numerusform>ﾌｧｲﾙのｱｰﾃｨｽﾄ名は %n 種類あります。最も多い &apos;%1&apos; を作者名にします (曲名ﾌｧｲﾙの作者名は 1 つです)</numerusform>
        </translation>
    </message>
    <message>
        <source>track %1 has no title; its file&apos;s name &apos;%2&apos; is taken</source>
        <translation>%1曲目に曲名がないので、ﾌｧｲﾙ名 &apos;%2&apos; を使います</translation>
    </message>
    <message>
        <source>the list&apos;s encoding is not marked; read as %1</source>
        <translation>ﾘｽﾄの文字ｺｰﾄﾞが示されていないので、%1 として読みます</translation>
    </message>
    <message>
        <source>code page 932</source>
        <translation>ｺｰﾄﾞﾍﾟｰｼﾞ 932</translation>
    </message>
    <message numerus="yes">
        <source>the list has %n title(s), more than the 99 tracks of a disc; nothing read</source>
        <translation>
            <numerusform>ﾘｽﾄに曲名が %n 個あり、1 枚のﾃﾞｨｽｸの 99 曲を超えています。何も読みません</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>the lines name %n artist(s); each line is kept whole as its title (a title file has one artist)</source>
        <translation>
            <numerusform>行のｱｰﾃｨｽﾄ名は %n 種類あります。各行をそのまま曲名にします (曲名ﾌｧｲﾙの作者名は 1 つです)</numerusform>
        </translation>
    </message>
</context>
</TS>
