<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en">
<context>
    <name>Messages</name>
    <message numerus="yes">
        <source> (and %n more such character(s))</source>
        <translation>
            <numerusform> (and %n more such character)</numerusform>
            <numerusform> (and %n more such characters)</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>&apos;%1&apos; has %n track(s) but the title file has %2</source>
        <translation>
            <numerusform>&apos;%1&apos; has %n track but the title file has %2</numerusform>
            <numerusform>&apos;%1&apos; has %n tracks but the title file has %2</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%1: %n track(s)</source>
        <translation>
            <numerusform>%1: %n track</numerusform>
            <numerusform>%1: %n tracks</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n more pack(s) with a wrong CRC</source>
        <translation>
            <numerusform>%n more pack with a wrong CRC</numerusform>
            <numerusform>%n more packs with a wrong CRC</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%1 (%2): %n track(s), %3</source>
        <translation>
            <numerusform>%1 (%2): %n track, %3</numerusform>
            <numerusform>%1 (%2): %n tracks, %3</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n audio file(s), more than the 99 tracks of a disc; nothing read</source>
        <translation>
            <numerusform>%n audio file, more than the 99 tracks of a disc; nothing read</numerusform>
            <numerusform>%n audio files, more than the 99 tracks of a disc; nothing read</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>the files name %n album(s); the disc name is the most common one: &apos;%1&apos;</source>
        <translation>
            <numerusform>the files name %n album; the disc name is the most common one: &apos;%1&apos;</numerusform>
            <numerusform>the files name %n albums; the disc name is the most common one: &apos;%1&apos;</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>the files name %n artist(s); the artist name is the most common one: &apos;%1&apos; (a title file has one artist)</source>
        <translation>
            <numerusform>the files name %n artist; the artist name is the most common one: &apos;%1&apos; (a title file has one artist)</numerusform>
            <numerusform>the files name %n artists; the artist name is the most common one: &apos;%1&apos; (a title file has one artist)</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>the list has %n title(s), more than the 99 tracks of a disc; nothing read</source>
        <translation>
            <numerusform>the list has %n title, more than the 99 tracks of a disc; nothing read</numerusform>
            <numerusform>the list has %n titles, more than the 99 tracks of a disc; nothing read</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>the lines name %n artist(s); each line is kept whole as its title (a title file has one artist)</source>
        <translation>
            <numerusform>the lines name %n artist; each line is kept whole as its title (a title file has one artist)</numerusform>
            <numerusform>the lines name %n artists; each line is kept whole as its title (a title file has one artist)</numerusform>
        </translation>
    </message>
</context>
</TS>
