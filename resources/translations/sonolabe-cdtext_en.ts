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
</context>
</TS>
