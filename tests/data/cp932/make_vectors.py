#!/usr/bin/env python3
"""Writes the code page 932 reference vectors with Python's own cp932 codec,
an implementation independent of glibc's iconv. Run once; the output is
committed beside this script.

  cp932-encode.txt  one line per BMP code unit that cp932 can encode:
                    "UUUU BYTES" (hex; BYTES is 2 or 4 hex digits)
  cp932-decode.txt  one line per 1- or 2-byte sequence that decodes to one
                    BMP character: "BYTES UUUU"
"""
import os

here = os.path.dirname(os.path.abspath(__file__))

with open(os.path.join(here, "cp932-encode.txt"), "w") as out:
    for unit in range(0x10000):
        if 0xD800 <= unit <= 0xDFFF:
            continue
        try:
            encoded = chr(unit).encode("cp932")
        except UnicodeEncodeError:
            continue
        out.write("%04X %s\n" % (unit, encoded.hex().upper()))

def decode(seq):
    try:
        text = seq.decode("cp932")
    except UnicodeDecodeError:
        return None
    return text if len(text) == 1 and ord(text) < 0x10000 else None

with open(os.path.join(here, "cp932-decode.txt"), "w") as out:
    for byte in range(0x100):
        text = decode(bytes([byte]))
        if text is not None:
            out.write("%02X %04X\n" % (byte, ord(text)))
    for lead in range(0x80, 0x100):
        for trail in range(0x40, 0x100):
            text = decode(bytes([lead, trail]))
            if text is not None:
                out.write("%02X%02X %04X\n" % (lead, trail, ord(text)))
