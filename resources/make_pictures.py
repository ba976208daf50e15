#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Draws the program's pictures and writes them as XPM files next to itself.

sonolabe.xpm: the 32 x 32 window icon in the 16 standard colours, a compact
disc whose surface shows the rainbow bands of the light it scatters, a silver
hub around the centre hole, and the red word CD-TEXT with a white rim across
its lower part.

japanese-pointer.xpm, english-pointer.xpm: the 32 x 32 monochrome text
pointers over the Japanese and the English boxes, an I-beam whose stem's
middle is the hot spot (5, 11), marked 日本 or 英 to its lower right. Black
strokes with a white rim, so they show on light and dark backgrounds alike.

The XPM files are committed; run this after changing a picture:

    python3 resources/make_pictures.py
"""

import math
import os

SIZE = 32

# The 16 standard colours, one XPM character each; "." is transparent.
PALETTE = {
    "k": "#000000", "m": "#800000", "g": "#008000", "o": "#808000",
    "n": "#000080", "p": "#800080", "t": "#008080", "s": "#C0C0C0",
    "d": "#808080", "r": "#FF0000", "l": "#00FF00", "y": "#FFFF00",
    "b": "#0000FF", "f": "#FF00FF", "a": "#00FFFF", "w": "#FFFFFF",
}

# Hue bands of the surface, going round the disc twice as light scatters on a
# real one: red, yellow, green, cyan, blue, magenta.
RAINBOW = ["r", "y", "l", "a", "b", "f"]

# A 3 x 5 pixel alphabet for the lettering.
FONT = {
    "C": ["###", "#..", "#..", "#..", "###"],
    "D": ["##.", "#.#", "#.#", "#.#", "##."],
    "-": ["...", "...", "###", "...", "..."],
    "T": ["###", ".#.", ".#.", ".#.", ".#."],
    "E": ["###", "#..", "##.", "#..", "###"],
    "X": ["#.#", "#.#", ".#.", "#.#", "#.#"],
}
WORD = "CD-TEXT"
WORD_TOP = 21


def disc():
    centre = (SIZE - 1) / 2
    outer, hub, hole = 15.6, 5.2, 2.6
    image = [["."] * SIZE for _ in range(SIZE)]
    for y in range(SIZE):
        for x in range(SIZE):
            dx, dy = x - centre, y - centre
            radius = math.hypot(dx, dy)
            if radius > outer or radius < hole:
                continue
            if radius > outer - 1.1:
                image[y][x] = "d"  # rim
            elif radius < hub - 1.2:
                image[y][x] = "w"  # clear plastic around the hole
            elif radius < hub:
                image[y][x] = "s"  # hub ring
            else:
                angle = (math.atan2(dy, dx) + math.pi) / (2 * math.pi)
                band = int(angle * 2 * len(RAINBOW) + radius / 9) % len(RAINBOW)
                image[y][x] = RAINBOW[band]
    return image


def add_rim(image, ink, ink_colour, rim_colour):
    """Paints the pixels of ink, and every pixel around them that is not ink."""
    for x, y in ink:
        for ny in range(y - 1, y + 2):
            for nx in range(x - 1, x + 2):
                if (nx, ny) not in ink and 0 <= nx < SIZE and 0 <= ny < SIZE:
                    image[ny][nx] = rim_colour
    for x, y in ink:
        image[y][x] = ink_colour


def pixels(rows, left, top):
    """The positions of the "#" cells of a picture drawn as text."""
    return {(left + col, top + row)
            for row, line in enumerate(rows) for col, cell in enumerate(line) if cell == "#"}


def letter(image):
    width = len(WORD) * 4 - 1
    left = (SIZE - width) // 2
    ink = set()
    for i, ch in enumerate(WORD):
        ink |= pixels(FONT[ch], left + 4 * i, WORD_TOP)
    # The white rim keeps the red readable on the bands.
    add_rim(image, ink, "r", "w")


# The I-beam: serifs on rows 3 and 19, the stem in column 5 from row 4 to 18,
# so that its middle is the hot spot (5, 11).
HOT_SPOT = (5, 11)
I_BEAM = ["###.###"] + [
    "...#..."] * 15 + ["###.###"]
I_BEAM_LEFT, I_BEAM_TOP = 2, 3

NICHI = [  # 日
    "######",
    "#....#",
    "#....#",
    "#....#",
    "######",
    "#....#",
    "#....#",
    "#....#",
    "#....#",
    "######",
]
HON = [  # 本
    "....#....",
    "....#....",
    "#########",
    "....#....",
    "...###...",
    "..#.#.#..",
    ".#..#..#.",
    "#...#...#",
    "..#####..",
    "....#....",
    "....#....",
]
EI = [  # 英
    "...#.....#...",
    "#############",
    "...#.....#...",
    "......#......",
    ".###########.",
    ".#....#....#.",
    ".#....#....#.",
    "#############",
    ".....#.#.....",
    "....#...#....",
    "..##.....##..",
    "##.........##",
]


def pointer(marks):
    image = [["."] * SIZE for _ in range(SIZE)]
    ink = pixels(I_BEAM, I_BEAM_LEFT, I_BEAM_TOP)
    for rows, left, top in marks:
        ink |= pixels(rows, left, top)
    add_rim(image, ink, "k", "w")
    return image


def write_xpm(image, path, name, hot_spot=None):
    used = sorted({c for row in image for c in row})
    header = f"{SIZE} {SIZE} {len(used)} 1"
    if hot_spot:
        header += f" {hot_spot[0]} {hot_spot[1]}"
    lines = ["/* XPM */", "/* Written by make_pictures.py; edit that script, not this file. */",
             f"static const char *{name}[] = {{", f'"{header}",']
    for c in used:
        lines.append(f'"{c} c {"None" if c == "." else PALETTE[c]}",')
    for i, row in enumerate(image):
        lines.append('"' + "".join(row) + '"' + ("," if i < SIZE - 1 else ""))
    lines.append("};")
    with open(path, "w", encoding="ascii", newline="\n") as out:
        out.write("\n".join(lines) + "\n")


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    icon = disc()
    letter(icon)
    write_xpm(icon, os.path.join(here, "sonolabe.xpm"), "sonolabe_icon")
    # The marks sit to the lower right of the I-beam, clear of its bottom serif.
    write_xpm(pointer([(NICHI, 11, 19), (HON, 19, 18)]),
              os.path.join(here, "japanese-pointer.xpm"), "japanese_pointer", HOT_SPOT)
    write_xpm(pointer([(EI, 11, 18)]),
              os.path.join(here, "english-pointer.xpm"), "english_pointer", HOT_SPOT)


if __name__ == "__main__":
    main()
