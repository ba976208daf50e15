<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="ja">
<context>
    <name>EditorCommandLine</name>
    <message>
        <source>sonolabe: unknown option: %1
</source>
        <translation>sonolabe: 知らないオプションです: %1
</translation>
    </message>
    <message>
        <source>Usage: sonolabe [FILE ...]
       sonolabe --help | --version
Opens each CD-TEXT title file in a process and window of its own; without
FILE, shows the dialog that creates a new disc or opens a file.
</source>
        <translation>使い方: sonolabe [ファイル ...]
        sonolabe --help | --version
ファイルごとに別のプロセスでCD-TEXTの曲名ファイルを開きます。
ファイルがなければ、新規作成か既存のファイルを開くかを選ぶ画面を表示します。
</translation>
    </message>
</context>
</TS>
