#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Draws Sonolabe's application icon and renders it at the hicolor sizes.

The icon follows the window icon (resources/sonolabe.xpm): a compact disc whose
surface shows the rainbow bands of the light it scatters, going round the disc
twice, a silver hub around the centre hole, and the red word CD-TEXT on a white
band across its lower part.

Written next to this script:

  sonolabe.svg       the scalable icon, drawn on a 256-unit canvas; also the
                     source of the 48, 64, 128 and 256 pixel pictures
  sonolabe-16.svg,   the small sizes, each drawn on its own pixel grid so that
  sonolabe-22.svg,   the band and the letters fall on whole pixels instead of
  sonolabe-32.svg    being blurred by scaling
  sonolabe-N.png     one picture per hicolor size N

The SVG and PNG files are committed; run this after changing the drawing:

    python3 packaging/icons/make_icons.py

Rendering needs rsvg-convert (Debian package librsvg2-bin). With --svg-only
the script writes the SVG files and leaves the PNG files alone; with
--render-into DIR it writes all of them into DIR instead (the test that checks
that the committed pictures are up to date uses this).
"""

import argparse
import colorsys
import math
import os
import subprocess
import sys

HERE = os.path.dirname(os.path.abspath(__file__))

SCALED_SIZES = [48, 64, 128, 256]
PIXEL_SIZES = [16, 22, 32]

RED = "#e01b24"
DARK_RED = "#a51d2d"
RIM = "#77767b"
SILVER = "#deddda"
HUB_EDGE = "#9a9996"


def fmt(value):
    """A coordinate without needless digits, so the files stay readable."""
    text = f"{value:.3f}".rstrip("0").rstrip(".")
    return "0" if text == "-0" else text


def rainbow(fraction, saturation, lightness):
    """The hue at a fraction of one turn, red first, as the window icon's bands."""
    r, g, b = colorsys.hls_to_rgb(fraction % 1.0, lightness, saturation)
    return "#%02x%02x%02x" % (round(r * 255), round(g * 255), round(b * 255))


def wedges(centre, radius, count, saturation, lightness, start_angle):
    """count wedges that together fill the circle, the hues running round twice.

    Each wedge reaches half a step into the next one, so no background shows
    through the anti-aliased seams between them.
    """
    step = 2 * math.pi / count
    paths = []
    for i in range(count):
        a0 = start_angle + i * step
        a1 = a0 + step * 1.5
        x0, y0 = centre + radius * math.cos(a0), centre + radius * math.sin(a0)
        x1, y1 = centre + radius * math.cos(a1), centre + radius * math.sin(a1)
        colour = rainbow(2 * i / count, saturation, lightness)
        paths.append(
            f'<path fill="{colour}" d="M{fmt(centre)},{fmt(centre)} L{fmt(x0)},{fmt(y0)} '
            f'A{fmt(radius)},{fmt(radius)} 0 0 1 {fmt(x1)},{fmt(y1)} Z"/>')
    return paths


def ring_path(centre, outer, inner):
    """A disc with a hole, as one even-odd path."""
    def circle(r):
        return (f"M{fmt(centre - r)},{fmt(centre)} a{fmt(r)},{fmt(r)} 0 1 0 {fmt(2 * r)},0 "
                f"a{fmt(r)},{fmt(r)} 0 1 0 {fmt(-2 * r)},0 Z")
    return circle(outer) + " " + circle(inner)


# Block letters drawn with a pen of width 8; each glyph's pen path lies in an
# 18 x 26 box, so the inked glyph is 26 x 34. The hyphen is narrower.
STROKE_GLYPHS = {
    "C": (18, "M18,0 H6 A6,6 0 0 0 0,6 V20 A6,6 0 0 0 6,26 H18"),
    "D": (18, "M0,0 H9 A9,9 0 0 1 18,9 V17 A9,9 0 0 1 9,26 H0 Z"),
    "-": (10, "M0,13 H10"),
    "T": (18, "M0,0 H18 M9,0 V26"),
    "E": (18, "M18,0 H0 V26 H18 M0,13 H14"),
    "X": (18, "M0,0 L18,26 M18,0 L0,26"),
}
PEN = 8
GLYPH_GAP = 7


def stroke_word(word, centre_x, top):
    widths = [STROKE_GLYPHS[ch][0] + PEN for ch in word]
    total = sum(widths) + GLYPH_GAP * (len(word) - 1)
    x = centre_x - total / 2
    parts = []
    for ch, width in zip(word, widths):
        parts.append(f'<path transform="translate({fmt(x + PEN / 2)},{fmt(top + PEN / 2)})" '
                     f'd="{STROKE_GLYPHS[ch][1]}"/>')
        x += width + GLYPH_GAP
    return parts


def scalable_icon():
    size, c = 256, 128
    outer, hub, clear, hole = 118, 38, 27, 13
    band_top, band_bottom = 160, 216
    out = [
        '<?xml version="1.0" encoding="UTF-8"?>',
        f'<svg xmlns="http://www.w3.org/2000/svg" width="{size}" height="{size}" '
        f'viewBox="0 0 {size} {size}">',
        "  <title>Sonolabe</title>",
        "  <defs>",
        '    <clipPath id="disc"><path clip-rule="evenodd" '
        f'd="{ring_path(c, outer, hole)}"/></clipPath>',
        # Light falls from the upper left: the surface is brighter near the hub
        # and darkens a little towards the rim.
        f'    <radialGradient id="sheen" cx="{c}" cy="{c}" r="{outer}" '
        'gradientUnits="userSpaceOnUse">',
        '      <stop offset="0.3" stop-color="#ffffff" stop-opacity="0.55"/>',
        '      <stop offset="0.65" stop-color="#ffffff" stop-opacity="0"/>',
        '      <stop offset="1" stop-color="#000000" stop-opacity="0.12"/>',
        "    </radialGradient>",
        f'    <linearGradient id="glare" x1="40" y1="40" x2="216" y2="216" '
        'gradientUnits="userSpaceOnUse">',
        '      <stop offset="0" stop-color="#ffffff" stop-opacity="0.5"/>',
        '      <stop offset="0.45" stop-color="#ffffff" stop-opacity="0"/>',
        "    </linearGradient>",
        "  </defs>",
        # A soft shadow under the disc, with the hole's shadow offset too, so
        # the desktop shows through the hole.
        f'  <path transform="translate(2,4)" fill="#000000" fill-opacity="0.18" '
        f'fill-rule="evenodd" d="{ring_path(c, outer + 1, hole + 1)}"/>',
        '  <g clip-path="url(#disc)">',
    ]
    out += ["    " + p for p in wedges(c, outer + 2, 96, 0.85, 0.6, -math.pi / 2)]
    out += [
        f'    <circle cx="{c}" cy="{c}" r="{outer}" fill="url(#sheen)"/>',
        f'    <circle cx="{c}" cy="{c}" r="{outer}" fill="url(#glare)"/>',
        f'    <circle cx="{c}" cy="{c}" r="{hub}" fill="{SILVER}" stroke="{HUB_EDGE}" '
        'stroke-width="2"/>',
        f'    <circle cx="{c}" cy="{c}" r="{clear}" fill="#f6f5f4" fill-opacity="0.85" '
        f'stroke="{HUB_EDGE}" stroke-width="1.5"/>',
        "  </g>",
        f'  <circle cx="{c}" cy="{c}" r="{outer - 1}" fill="none" stroke="{RIM}" '
        'stroke-width="2.5"/>',
        f'  <circle cx="{c}" cy="{c}" r="{hole}" fill="none" stroke="{HUB_EDGE}" '
        'stroke-width="2"/>',
        # The white band with the lettering, wider than the disc like a label
        # laid across it.
        f'  <rect x="6" y="{band_top + 3}" width="{size - 12}" height="{band_bottom - band_top}" '
        'rx="9" fill="#000000" fill-opacity="0.18"/>',
        f'  <rect x="5" y="{band_top}" width="{size - 10}" height="{band_bottom - band_top}" '
        f'rx="9" fill="#ffffff" stroke="{RIM}" stroke-width="2"/>',
        f'  <g fill="none" stroke="{RED}" stroke-width="{PEN}" stroke-linejoin="miter" '
        'stroke-linecap="square">',
    ]
    letters_top = band_top + (band_bottom - band_top - 34) / 2
    out += ["    " + p for p in stroke_word("CD-TEXT", c, letters_top)]
    out += ["  </g>", "</svg>", ""]
    return "\n".join(out)


# A 3 x 5 pixel alphabet for the small sizes, as in the window icon.
PIXEL_FONT = {
    "C": ["###", "#..", "#..", "#..", "###"],
    "D": ["##.", "#.#", "#.#", "#.#", "##."],
    "-": ["...", "...", "###", "...", "..."],
    "T": ["###", ".#.", ".#.", ".#.", ".#."],
    "E": ["###", "#..", "##.", "#..", "###"],
    "X": ["#.#", "#.#", ".#.", "#.#", "#.#"],
}

# Four rows high, for the smallest size, where five would hide half the disc.
SHORT_PIXEL_FONT = {
    "C": ["###", "#..", "#..", "###"],
    "D": ["##.", "#.#", "#.#", "##."],
}

# Per pixel size: the lettering, its font, and the rows of the white band (top
# row and number of rows); the letters sit one row below the band's top.
PIXEL_LAYOUT = {
    16: ("CD", SHORT_PIXEL_FONT, 10, 6),
    22: ("CD", PIXEL_FONT, 13, 7),
    32: ("CD-TEXT", PIXEL_FONT, 20, 7),
}


def pixel_icon(size):
    word, font, band_top, band_rows = PIXEL_LAYOUT[size]
    c = size / 2
    outer = size / 2 - 0.5
    hub = size * 0.19
    hole = max(1.5, size * 0.07)
    out = [
        '<?xml version="1.0" encoding="UTF-8"?>',
        f'<svg xmlns="http://www.w3.org/2000/svg" width="{size}" height="{size}" '
        f'viewBox="0 0 {size} {size}">',
        f"  <title>Sonolabe, {size} pixels</title>",
        "  <defs>",
        '    <clipPath id="disc"><path clip-rule="evenodd" '
        f'd="{ring_path(c, outer, hole)}"/></clipPath>',
        "  </defs>",
        '  <g clip-path="url(#disc)">',
    ]
    # Few, clearly different hues: at this size fine gradations only blur.
    out += ["    " + p for p in wedges(c, outer + 1, 24, 0.95, 0.55, -math.pi / 2)]
    out += [
        f'    <circle cx="{fmt(c)}" cy="{fmt(c)}" r="{fmt(hub)}" fill="{SILVER}"/>',
        "  </g>",
        f'  <circle cx="{fmt(c)}" cy="{fmt(c)}" r="{fmt(outer - 0.5)}" fill="none" '
        f'stroke="{RIM}" stroke-width="1"/>',
        # Edges on half pixels, so the one-pixel outline lands on whole pixels.
        f'  <rect x="0.5" y="{band_top + 0.5}" width="{size - 1}" height="{band_rows - 1}" '
        f'fill="#ffffff" stroke="{RIM}" stroke-width="1"/>',
        f'  <g fill="{RED}">',
    ]
    width = len(word) * 4 - 1
    left = (size - width) // 2
    for i, ch in enumerate(word):
        for row, line in enumerate(font[ch]):
            for col, cell in enumerate(line):
                if cell == "#":
                    out.append(f'    <rect x="{left + 4 * i + col}" y="{band_top + 1 + row}" '
                               'width="1" height="1"/>')
    out += ["  </g>", "</svg>", ""]
    return "\n".join(out)


def write(path, text):
    with open(path, "w", encoding="utf-8", newline="\n") as out:
        out.write(text)


def render(svg, size, png):
    subprocess.run(["rsvg-convert", "--width", str(size), "--height", str(size),
                    "--format", "png", "--output", png, svg], check=True)


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--svg-only", action="store_true",
                        help="write the SVG files only")
    parser.add_argument("--render-into", metavar="DIR",
                        help="write the SVG and PNG files into DIR instead of next to this script")
    args = parser.parse_args()

    target = args.render_into or HERE
    scalable = os.path.join(target, "sonolabe.svg")
    write(scalable, scalable_icon())
    sources = {size: scalable for size in SCALED_SIZES}
    for size in PIXEL_SIZES:
        sources[size] = os.path.join(target, f"sonolabe-{size}.svg")
        write(sources[size], pixel_icon(size))
    if args.svg_only:
        return 0
    for size, svg in sorted(sources.items()):
        render(svg, size, os.path.join(target, f"sonolabe-{size}.png"))
    return 0


if __name__ == "__main__":
    sys.exit(main())
