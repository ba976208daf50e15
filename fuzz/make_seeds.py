#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Writes the seed corpus of the fuzz targets into fuzz/corpus/<target>/.

Run once after changing a seed; the files are committed. Files found by
fuzzing (regressions) are added to the same folders by hand and are not
touched by this script.
"""
import os
import struct

HERE = os.path.dirname(os.path.abspath(__file__))


def write(target, name, data):
    folder = os.path.join(HERE, "corpus", target)
    os.makedirs(folder, exist_ok=True)
    with open(os.path.join(folder, name), "wb") as f:
        f.write(data)


def sjis(text):
    return text.encode("cp932")


# --- the title-file reader -------------------------------------------------
P = "titlefile_parse"
write(P, "both-sections-one-track.txt",
      b"en\r\n0\tBest\tBand\r\n1\tIntro\r\n\r\n"
      b"ja\r\n0\t" + sjis("ベスト") + b"\t" + sjis("バンド") + b"\r\n1\t" + sjis("序曲") +
      b"\r\n\r\n")
write(P, "line-kinds.txt", b"\r\n".join([
    b"ja", b"5\tTitle", b"12\tTitle", b"9\t", b"05\tTitle", b"100\tx", b"7",
    b"1a\tTitle", b"ab\txyz", b"0\tDisc\tArtist\tMore", b"ja ", b"JA", b"",
    b"en", b"0\tE disc\tE artist", b"3\t  spaced  ", b"3\treplaced", b"4\ta\tb",
    b"", b"ja", b"0\tsecond\tjoined"]) + b"\r\n")
write(P, "line-ends-mixed.txt",
      b"ja\r0\tcr only\tx\r\n1\tcrlf\n2\tlf stays\n\r3\tlf cr\r\r\n4\tcr cr lf\r\n\n5\tlf after crlf"
      b"\r\n6\tno line end at the end")
write(P, "lf-only.txt", b"ja\n0\tdisc\tartist\n1\tone\n")
write(P, "no-tag.txt", b"0\tdisc\tartist\r\n1\tone\r\n2\ttwo\r\n")
write(P, "empty.txt", b"")
write(P, "tag-only.txt", b"ja")
write(P, "invalid-cp932.txt",
      b"ja\r\n0\t\x80\xa0\xfd\xfe\xff\t\x81\r\n1\t\x81\t\x82\r\n2\t\x81\x7f\x9f\xfc\xe0\x40\r\n"
      b"3\t\xef\x40\xf0\x40\xfc\xfc\r\n\x82\x4f\t\x82\x50\r\n4\ttrail \x81")
write(P, "nul-bytes.txt", b"ja\r\n0\tA\x00B\t\x00C\r\n1\t\x00\x00\r\n\x00\r\nen\x00\r\nen\r\n2\t\x00")
write(P, "full-width.txt",
      b"ja\r\n" + sjis("１２\t全角") + b"\r\n" + sjis("０\tディスク\tアーティスト") + b"\r\n"
      b"1\t" + sjis("ｱｲｳｴｵ半角カナ①Ⅸ㈱髙﨑") + b"\r\n")
tracks = b"".join(b"%d\ttrack %d\r\n" % (n, n) for n in range(1, 100))
write(P, "99-tracks-both.txt",
      b"en\r\n0\tdisc\tartist\r\n" + tracks + b"\r\nja\r\n0\tdisc\tartist\r\n" + tracks + b"\r\n")
write(P, "above-99.txt", b"en\r\n99\tlast\r\n100\tten\r\n999\tninety-nine\r\n990\tx\r\n9\r\n")
write(P, "tracks-12-and-10.txt",
      b"en\r\n" + b"".join(b"%d\te%d\r\n" % (n, n) for n in range(1, 13)) +
      b"ja\r\n" + b"".join(b"%d\tj%d\r\n" % (n, n) for n in range(1, 11)))
write(P, "long-disc-line.txt", b"ja\r\n0\t" + b"d" * 20000 + b"\t" + b"a" * 20000 + b"\r\n")
write(P, "long-title.txt", b"en\r\n42\t" + sjis("長い曲名") * 5000 + b"\r\n")
write(P, "long-line-no-tag.txt", b"x" * 30000)

# --- write, then read back -------------------------------------------------
# Bytes: file type, count, language mode, current track, then texts, each a
# length byte and characters (a byte below 0x80 is that character, two bytes
# from 0x80 on pick another code page 932 character).
R = "titlefile_roundtrip"


def text(chars):
    out = bytearray()
    count = 0
    for ch in chars:
        if isinstance(ch, int):
            out += bytes([0x80 | (ch >> 8), ch & 0xFF])
        else:
            out += ch.encode("ascii")
        count += 1
    return bytes([count]) + bytes(out)


write(R, "empty-disc.bin", bytes([1, 0, 0, 0]))
write(R, "three-tracks-both.bin", bytes([1, 3, 1, 2]) + text("Best") + text("Band") +
      text("Disc") + text("Artist") + text("one") + text("One") + text("two\tx") + text("Two") +
      text("3\n") + text("Three"))
write(R, "japanese-only.bin", bytes([2, 2, 0, 1]) + text([100, 200, 300]) + text([7000]) +
      text("English disc") + text("E") + text([1, 2, 3]) + text("x"))
write(R, "english-only.bin", bytes([0, 1, 0, 1]) + text("ja") + text("en") + text("en") +
      text("ja") + text("0\t") + text("\t0"))
write(R, "99-tracks.bin", bytes([3, 99, 0, 99]) + b"".join(text("t%02d" % n) * 2 for n in range(99)))
write(R, "long-text.bin", bytes([1, 1, 0, 1, 0xFF, 0x10, 0x00]) + b"L" * 5000)

# --- CUE sheets --------------------------------------------------------------
# Bytes: a selector (bit 0 Japanese, bits 1-2 the kind of texts, bits 3-6 the
# disc's track count), then the sheet.
Q = "cuesheet_rewrite"


def cue(japanese=False, kind=0, tracks=0):
    return bytes([int(japanese) | kind << 1 | tracks << 3])


write(Q, "two-tracks.cue", cue(tracks=2) +
      b'REM GENRE Pop\nREM DATE 2001\nPERFORMER "Old band"\nTITLE "Old"\n'
      b'FILE "disc.wav" WAVE\n  TRACK 01 AUDIO\n    TITLE "One"\n    INDEX 01 00:00:00\n'
      b'  TRACK 02 AUDIO\n    PERFORMER "Guest"\n    INDEX 00 03:58:10\n    INDEX 01 04:00:00\n')
write(Q, "japanese-crlf-bom.cue", cue(True, tracks=3) + b"\xef\xbb\xbf" + b"\r\n".join([
    b'REM COMMENT "' + sjis("ベスト盤") + b'"', b'CATALOG 4988001234567',
    b'FILE "01.wav" WAVE', b'  TRACK 01 AUDIO', b'    TITLE "' + sjis("序曲") + b'"',
    b'    INDEX 01 00:00:00', b'FILE "02.wav" WAVE', b'  TRACK 02 AUDIO', b'    FLAGS DCP',
    b'    ISRC JPXX00000001', b'    INDEX 01 00:00:00', b'FILE "03.wav" WAVE',
    b'  TRACK 03 AUDIO', b'    PREGAP 00:02:00', b'    INDEX 01 00:00:00']) + b"\r\n")
write(Q, "no-file-no-track.cue", cue() + b'REM DATE 2001\nPERFORMER "Old"\nREM COMMENT x')
write(Q, "empty.cue", cue())
write(Q, "messy.cue", cue(kind=1, tracks=2) +
      b'title "a"\r\tTitle\t"b"\rPERFORMER\rfile a.wav WAVE\r\n'
      b'\ttrack 1 audio\n\t\tTITLE "x" extra\n\t\ttitle "y"\n\t\tindex 1 0:0:0\ntrack 2 audio')
write(Q, "awkward-texts.cue", cue(kind=2, tracks=2) +
      b'FILE "a.wav" WAVE\n  TRACK 01 AUDIO\n  TRACK 02 AUDIO\n')
write(Q, "backslash-refused.cue", cue(True, kind=2, tracks=4) +
      b"".join(b'FILE "%d.wav" WAVE\n  TRACK %02d AUDIO\n    INDEX 01 00:00:00\n' % (n, n)
               for n in range(1, 5)))
write(Q, "long-texts-20-tracks.cue", cue(kind=3) + b'FILE "a.bin" BINARY\n' +
      b"".join(b"  TRACK %02d AUDIO\n    INDEX 01 %02d:00:00\n" % (n, n) for n in range(1, 21)))

# --- TOC files ---------------------------------------------------------------
# Bytes: a selector (bits 0-1 the languages: 1 English only, 2 Japanese only,
# else both; bits 2-3 the kind of texts; bits 4-7 the disc's track count),
# then the file.
T = "tocfile_rewrite"


def toc(languages=0, kind=0, tracks=0):
    return bytes([languages | kind << 2 | tracks << 4])


tracks2 = (b'// first\nTRACK AUDIO\n  PREGAP 0:2:0\n  FILE "disc.wav" 0 4:0:0\n'
           b'TRACK AUDIO\n  FILE "disc.wav" 4:0:0\n')
write(T, "cd-da-two-tracks.toc", toc(tracks=2) + b'CD_DA\n\n' + tracks2)
write(T, "cd-text-full.toc", toc(tracks=2) + b"""CD_DA
CATALOG "4988001234567"
CD_TEXT {
  LANGUAGE_MAP {
    0 : EN
    1 : 105
  }
  LANGUAGE 0 {
    TITLE "Old"
    PERFORMER "Old band"
    SONGWRITER "Writer" // kept
    SIZE_INFO { 0, 0, 2, 0, 4, 0, 0, 0, 0, 0, 0, 0,
                3, 3, 0, 0, 0, 0, 0, 0, 9, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}
  }
  LANGUAGE 1 { TITLE "\\203x\\203X\\203g" }
}
TRACK AUDIO
ISRC "JPXX00000001"
CD_TEXT {
  LANGUAGE 0 { TITLE "One" PERFORMER "Guest" }
}
FILE "a.wav" 0
TRACK AUDIO
COPY
CD_TEXT { LANGUAGE 1 { TITLE "\\"" } }
FILE "a.wav" 4:0:0
""")
write(T, "other-language.toc", toc(languages=1, tracks=1) +
      b'CD_DA\nCD_TEXT {\n  LANGUAGE_MAP { 0 : 8 1 : EN }\n  LANGUAGE 0 { TITLE "Deutsch" }\n}\n'
      b'TRACK AUDIO\nCD_TEXT {\n  LANGUAGE 0 { TITLE "Eins" }\n}\nFILE "a" 0\n')
write(T, "no-tracks.toc", toc() + b"CD_DA\n")
write(T, "empty.toc", toc())
write(T, "crlf-no-final-line-end.toc", toc(languages=2, tracks=2) +
      b'CD_DA\r\n// comment\r\nTRACK AUDIO FILE "a" 0\r\nTRACK AUDIO\r\n  FILE "a" 1:0:0 // end')
write(T, "data-tracks-awkward.toc", toc(languages=2, kind=2, tracks=3) +
      b'CD_ROM_XA\nTRACK MODE1\nDATAFILE "data.bin"\nZERO 0:2:0\n'
      b'TRACK AUDIO\nNO COPY\nSILENCE 0:2:0\nFILE "a.wav" 0\nSTART 0:1:0\n'
      b'TRACK AUDIO\nFIFO "fifo" 100\nINDEX 0:30:0\nEND 0:1:0\n')
write(T, "sparse-texts.toc", toc(kind=1, tracks=2) +
      b'CD_TEXT { LANGUAGE_MAP { 0 : EN } LANGUAGE 0 { TITLE "Old" PERFORMER "Old" } }\n'
      b'TRACK AUDIO CD_TEXT { LANGUAGE 0 { TITLE "a" TITLE "b" } } FILE "a" 0\n'
      b'TRACK AUDIO CD_TEXT { LANGUAGE 0 { PERFORMER "p" } } FILE "a" 0\n')
write(T, "crlf-lines-removed.toc", toc(kind=1, tracks=1) + b"\r\n".join([
    b"CD_TEXT {", b"  LANGUAGE_MAP {", b"    0 : EN", b"  }", b"  LANGUAGE 0 {",
    b'    TITLE "Old"', b'    PERFORMER "Old band"  ', b'    TITLE "Again"', b"  }", b"}",
    b"TRACK AUDIO", b'FILE "a" 0']) + b"\r\n")
write(T, "string-never-ends.toc", toc(tracks=1) + b'CD_DA\nCATALOG "123\nTRACK AUDIO\n')
write(T, "brace-never-closed.toc", toc(tracks=1) +
      b'CD_TEXT { LANGUAGE 0 { TITLE "a" }\nTRACK AUDIO\n')
write(T, "all-numbers-taken.toc", toc(tracks=1) +
      b"CD_TEXT {\n  LANGUAGE_MAP { 0 : 1 1 : 2 2 : 3 3 : 4 4 : 5 5 : 6 6 : 7 7 : 8 }\n}\n"
      b"TRACK AUDIO\n")
write(T, "long-texts-15-tracks.toc", toc(kind=3, tracks=15) + b"CD_DA\n" +
      b"".join(b'TRACK AUDIO\nFILE "%d.wav" 0\n' % n for n in range(1, 16)))

# --- import, round trip ------------------------------------------------------
# Bytes: a selector (bits 0-1 the pack file's layout: header, none, trailing
# NUL, both; bit 2 Tab repeats; bits 3 and 4 drop English or Japanese), the
# track count, the English disc name, artist and titles (a length byte, then
# one byte per character, 0 for a space), then the Japanese ones (as in
# titlefile_roundtrip); a title whose first byte is 0xFE repeats the track
# before's. The same bytes are read as every kind of source, so sources are
# seeds too.
I = "import_roundtrip"


def en(chars):
    return bytes([len(chars)]) + bytes(ord(c) - 0x20 for c in chars)


REPEAT = b"\xfe"
write(I, "both-three-tracks.bin", bytes([0, 3]) + en("Best of") + en("The Band") + en("Intro") +
      en("Song") + REPEAT + text([100, 2000]) + text([3000]) + text([5, 6]) + text("No.1") +
      text([7000, 7001]))
write(I, "japanese-only-repeats-raw.bin", bytes([1 | 4 | 8, 4]) + text([10, 20]) + text([]) +
      text([300]) + REPEAT + REPEAT + text([400, 401]))
write(I, "english-only-nul-99.bin", bytes([2 | 16, 99]) + en("Disc") + en("") +
      b"".join(en("t%02d" % n) for n in range(99)))
write(I, "published-example.cdt", bytes.fromhex(
    "800000004a6f7966756c204e69676874f0f78000010c7300536f6e67206f66204a6f431c"
    "8001020a790048756d7074792044756d43f98002030a707479004d6565204f7777772472"
    "800304087700000000000000000000006eaf810005000046656c697820616e6420544d51"
    "8f0013000001030005050400000000009bfe8f011400000000000000050315000000110b"
    "8f021500000000000900000000000000da77"))
write(I, "two-blocks.v07t", b"cdrskin 1.5.4 : limited cdrecord compatibility wrapper\n"
      b"Input Sheet Version = 0.7T\nText Code = 8859\nLanguage Code = English\n"
      b"Album Title = Best\nArtist Name = Band\nLast Track Number = 2\n"
      b"Track 01 Title = One\nTrack 02 Artist = Guest\n"
      b"Input Sheet Version = 0.7T\nText Code = MS-JIS\nLanguage Code = Japanese\n"
      b"Album Title = " + sjis("ベスト") + b"\nTrack 02 Title = " + sjis("表ソ") + b"\n")
write(I, "utf8-bom.cue", b"\xef\xbb\xbfTITLE \"" + "日本\U0001F3B5".encode() + b"\"\r\n"
      b"PERFORMER Band\r\nFILE \"a.wav\" WAVE\r\n  TRACK 01 AUDIO\r\n    TITLE \"a\tb\"\r\n"
      b"    PERFORMER \"Guest\"\r\n  TRACK 02 AUDIO\r\n    TITLE \"" + sjis("能") + b"\"\r\n")
write(I, "cdrdao-both-styles.toc",
      b"CD_DA\nCD_TEXT { LANGUAGE_MAP { 0 : 105, 1 : EN 2 : 7 }\n"
      b"  LANGUAGE 0 { ENCODING_MS_JIS TITLE \"\\203\\134\" PERFORMER \"\xe3\x82\xbd\" }\n"
      b"  LANGUAGE 1 { TITLE \"a\\\\b\\\"\" SIZE_INFO { 0, 1 } }\n"
      b"  LANGUAGE 2 { TITLE \"x\" } }\n"
      b"TRACK AUDIO\nCD_TEXT { LANGUAGE 0 { TITLE \"\\202\\240\" } }\nFILE \"a\" 0\n")

# --- audio files' tags -----------------------------------------------------
# The first byte picks the extension (AudioExtensions in fuzzchecks.cpp:
# 0 flac, 1 mp3, 4 wav); the rest is the file.
A = "audiotags_read"


def le32(n):
    return struct.pack("<I", n)


def flac(comments):
    info = struct.pack(">HH", 4096, 4096) + bytes(6) + struct.pack(">Q", 44100 << 44 | 15 << 36)
    info += bytes(16)
    body = le32(6) + b"seeder" + le32(len(comments))
    for c in comments:
        body += le32(len(c)) + c
    return (b"fLaC" + b"\x00" + len(info).to_bytes(3, "big") + info + b"\x84" +
            len(body).to_bytes(3, "big") + body)


def syncsafe(n):
    return bytes([(n >> 21) & 0x7F, (n >> 14) & 0x7F, (n >> 7) & 0x7F, n & 0x7F])


MPEG_FRAME = b"\xff\xfb\x90\xc0" + bytes(413)
write(A, "flac-vorbis-comments.bin", b"\x00" + flac([
    "TITLE=夏の日".encode(), b"ARTIST=Band", b"ALBUMARTIST=Various", b"ALBUM=Best",
    b"TRACKNUMBER=3/12", b"DISCNUMBER=1/2"]))
title_frame = b"TIT2" + struct.pack(">I", 1 + len(sjis("夏の日"))) + b"\x00\x00\x00" + sjis("夏の日")
write(A, "mp3-id3v2-cp932.bin", b"\x01" + b"ID3\x03\x00\x00" + syncsafe(len(title_frame)) +
      title_frame + MPEG_FRAME * 2)
info = b"INFO" + b"INAM" + le32(6) + sjis("表ソ") + b"\x00\x00" + b"IPRT" + le32(2) + b"7\x00"
fmt = struct.pack("<HHIIHH", 1, 1, 8000, 16000, 2, 16)
wav = b"WAVE" + b"fmt " + le32(len(fmt)) + fmt + b"data" + le32(4) + bytes(4) + b"LIST" + \
    le32(len(info)) + info
write(A, "wav-riff-info.bin", b"\x04" + b"RIFF" + le32(len(wav)) + wav)
write(A, "not-audio.bin", b"\x00not audio at all\n")

# --- plain track lists -----------------------------------------------------
L = "tracklist_read"
write(L, "numbered-cp932.txt", sjis("1. 夏の日\r\n2) 表ソ\r\n\r\n3\t冬\r\n"))
write(L, "artist-form-utf8-bom.txt", "\ufeffBand - Intro\nBand / Song - Live\nBand - Outro\n".encode())
write(L, "windows-1252.txt", b"Sigur R\xf3s - \xc1g\xe6tis byrjun\r")
