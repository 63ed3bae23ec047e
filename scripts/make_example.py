#!/usr/bin/env python3
# SPDX-License-Identifier: MIT
"""Generates the example level "jungle" in examples/.

Writes jungle.txt (config), jungle.tga (attribute map), jungle.jpg (level
picture painted from the attribute map) and junglep.jpg (parallax
background). The generated files are committed, so only someone changing the
example needs this script. It uses Python's standard library and ImageMagick's
"convert" for the JPEGs (Debian: apt-get install imagemagick), and takes the
attribute colours from the palette file the build writes (zur_palette.py).

Usage: scripts/make_example.py [output folder, default examples/]
"""

import math
import pathlib
import random
import struct
import subprocess
import sys
import tempfile

from zur_palette import load_palette

WIDTH, HEIGHT = 640, 480

# Attribute codes and their exact attribute map colours (red, green, blue),
# from the engine's palette.
PALETTE = load_palette()
AIR, GRASS, ROCK, WALL, REPAIR, TNT, TNT_HOT, CLAY, SOIL = 0, 1, 2, 3, 4, 5, 6, 8, 9
UNDERGROWTH, MOSS_REPAIR, LEAVES = 24, 29, 32
WATER_BY_DEPTH = [17, 15, 13, 11]  # lighter near the surface

# Object markers: (x, y, (red, green, blue)); the blue value selects the kind.
MARKERS = [
    (70, None, (0x23, 0x05, 230)),  # kind 0 on the western hill
    (560, None, (0x14, 0x09, 230)),  # kind 0 on the eastern hill
    (205, None, (200, 0xB6, 120)),  # kind 1 at the cave mouth
    (470, None, (0x41, 0x22, 120)),  # kind 1
    (150, None, (0, 0x29, 180)),  # kind 2, red 0: stands on land
    (420, None, (1, 0x13, 180)),  # kind 2, red 1: stands on land
    (610, None, (77, 0x4A, 180)),  # kind 2
    (110, None, (3, 0, 140)),  # kind 3
    (500, None, (9, 0, 140)),  # kind 3
    (250, None, (0x85, 40, 190)),  # kind 4
    (330, 390, (0x07, 12, 190)),  # kind 4, in the lower cave
]

LAKE_LEVEL = 272
BEDROCK = 466


def surface(x):
    """The first land row of column x: two hills around a lake valley."""
    return int(255 - 45 * math.sin(x / WIDTH * 2 * math.pi * 1.5 + 0.9)
               + 12 * math.sin(x / 23.0) + 60 * math.exp(-((x - 330) / 70.0) ** 2))


def in_ellipse(x, y, cx, cy, rx, ry):
    return ((x - cx) / rx) ** 2 + ((y - cy) / ry) ** 2 < 1


def attribute_codes():
    """The level's attribute codes, rows from the top."""
    rng = random.Random(7)
    tops = [surface(x) for x in range(WIDTH)]
    codes = [[AIR] * WIDTH for _ in range(HEIGHT)]
    for x in range(WIDTH):
        top = tops[x]
        grass = 3 + (x * 7 % 5 == 0)
        for y in range(HEIGHT):
            depth = y - top
            if y >= BEDROCK or (y >= BEDROCK - 6 and math.sin(x / 9.0) > 0.6):
                code = WALL
            elif depth < 0:
                in_lake = y >= LAKE_LEVEL and 150 <= x < 480
                code = AIR if not in_lake else WATER_BY_DEPTH[min(3, (y - LAKE_LEVEL) // 20)]
            elif depth < grass:
                code = GRASS
            elif depth < 14 + 4 * math.sin(x / 17.0):
                code = UNDERGROWTH if y < LAKE_LEVEL else SOIL
            elif depth < 40 + 6 * math.sin(x / 31.0):
                code = SOIL
            elif 360 + 5 * math.sin(x / 40.0) < y < 372 + 5 * math.sin(x / 40.0):
                code = CLAY
            else:
                code = ROCK
            codes[y][x] = code
    # Two caves, an explosive cache and a wall pillar underground.
    for y in range(HEIGHT):
        for x in range(WIDTH):
            if codes[y][x] in (ROCK, SOIL, CLAY):
                if in_ellipse(x, y, 215, 330, 45, 22) or in_ellipse(x, y, 340, 400, 80, 20):
                    codes[y][x] = AIR
                elif in_ellipse(x, y, 520, 410, 14, 6):
                    codes[y][x] = TNT if (x + y) % 5 else TNT_HOT
            if 590 <= x < 600 and 330 <= y < BEDROCK:
                codes[y][x] = WALL
    # Trees: trunks of clay, canopies of leaves.
    for tx in (40, 120, 255, 480, 540, 600):
        base = tops[tx]
        for y in range(base - 40, base):
            for x in range(tx - 2, tx + 2):
                codes[y][x] = CLAY
        for y in range(base - 70, base - 30):
            for x in range(tx - 25, tx + 25):
                if in_ellipse(x, y, tx, base - 50, 24, 18) and rng.random() < 0.97:
                    codes[y][x] = LEAVES
    # Repair places: a landing pad on each hill and a mossy one in the cave.
    for px, code in ((90, REPAIR), (575, REPAIR)):
        top = min(tops[px - 15:px + 15])
        for y in range(top - 3, top):
            for x in range(px - 15, px + 15):
                codes[y][x] = code
        for x in range(px - 15, px + 15):
            for y in range(top, tops[x]):
                codes[y][x] = SOIL  # fill under the pad
    for x in range(310, 370):
        for y in range(417, 420):
            codes[y][x] = MOSS_REPAIR
    return codes, tops


def marker_pixels(tops):
    """Marker positions: just above the ground unless given."""
    return [(x, y if y is not None else tops[x] - 1, colour) for x, y, colour in MARKERS]


def write_tga(path, codes, markers):
    """24-bit uncompressed, bottom row first."""
    pixels = [[PALETTE[c] for c in row] for row in codes]
    for x, y, colour in markers:
        pixels[y][x] = colour
    header = struct.pack("<BBBHHBHHHHBB", 0, 0, 2, 0, 0, 0, 0, 0, WIDTH, HEIGHT, 24, 0)
    body = bytearray()
    for row in reversed(pixels):
        for r, g, b in row:
            body += bytes((b, g, r))
    path.write_bytes(header + body)


def shade(colour, amount):
    return tuple(max(0, min(255, int(c + amount))) for c in colour)


# How each attribute looks in the level picture.
LOOKS = {
    GRASS: (70, 160, 40), ROCK: (105, 80, 75), WALL: (60, 62, 66), REPAIR: (175, 180, 190),
    TNT: (170, 40, 20), TNT_HOT: (220, 90, 20), CLAY: (150, 100, 55), SOIL: (100, 68, 40),
    UNDERGROWTH: (40, 110, 50), MOSS_REPAIR: (120, 170, 110), LEAVES: (30, 95, 35),
}


def level_picture(codes, tops, markers):
    """The drawn level: sky, textured ground and water, objects as dark blocks."""
    rng = random.Random(11)
    rows = []
    for y, row in enumerate(codes):
        out = []
        for x, code in enumerate(row):
            grain = rng.randint(-12, 12)
            if code == AIR:
                if y < tops[x]:
                    out.append((110 + y // 6, 170 + y // 8, 235))  # sky
                else:
                    out.append(shade((35, 28, 30), grain // 2))  # cave
            elif code in WATER_BY_DEPTH:
                depth = y - LAKE_LEVEL
                out.append(shade((40, 110 - depth, 170 - depth), grain // 3))
            else:
                out.append(shade(LOOKS[code], grain))
        rows.append(out)
    for mx, my, _ in markers:
        for y in range(my - 4, my + 1):
            for x in range(mx - 3, mx + 4):
                if 0 <= x < WIDTH and 0 <= y < HEIGHT:
                    rows[y][x] = (45, 45, 55)
    return rows


def parallax_picture():
    """Distant hazy mountains over an evening sky."""
    rows = []
    ridges = [(150, 60, 0.011, (120, 130, 160)), (230, 45, 0.023, (80, 95, 120))]
    for y in range(HEIGHT):
        row = []
        for x in range(WIDTH):
            colour = (250 - y // 4, 190 - y // 5, 150 + y // 6)
            for base, height, freq, ridge in ridges:
                if y > base - height * math.sin(x * freq) ** 2 - 10 * math.sin(x * freq * 5):
                    colour = ridge
            row.append(colour)
        rows.append(row)
    return rows


def write_jpeg(path, rows, quality):
    with tempfile.NamedTemporaryFile(suffix=".ppm") as ppm:
        ppm.write(b"P6 %d %d 255\n" % (WIDTH, HEIGHT))
        for row in rows:
            ppm.write(bytes(channel for pixel in row for channel in pixel))
        ppm.flush()
        subprocess.run(["convert", ppm.name, "-strip", "-quality", str(quality), str(path)],
                       check=True)


CONFIG = """\
Config file of the example level "jungle".

Every line that does not begin with a slash is a comment, like this one.
A setting is two lines: the keyword line, a slash and the keyword alone
(no blanks after it, letter case does not matter), then its value line.
Never leave a value line empty: an empty value ends the reading, and the
settings after it keep their defaults. Give each keyword once.

Who made the level and how to reach them.
/MAKER
ZUR example levels
/EMAIL
levels@example.org

Yes: the level has a parallax background, junglep.jpg.
/PARA
yes
No: the level has its own picture, jungle.jpg.
/GGLEVEL
no
/GGTHEME
jungle
/GGSHAPE
yes

Numbers for the game. GRAVITY, RESISTANCE, COLLDAMAGE and BOUNCING are in
tenths: 1000 is stored as 100.
/CIVIL
12
/BOMB
8
/REPAIR
10
/STUFFD
10
/SIGND
10
/GRAVITY
1000
/RESISTANCE
900
/COLLDAMAGE
800
/BOUNCING
500
/AMBIENT
20
/PARALLAXAT
2
/DISABLERUN
no

Water colour: red, green, blue.
/WATERC
40,110,150
/RANDOMSEED
20240607

Signs, up to sixteen. SIGNTEXT1 has one text; SIGNTEXT2 has two texts
separated by a comma. Each text holds at most 15 characters.
/SIGNTEXT1
Welcome!
/SIGNTEXT2
Deep water,Swim with care
/SIGNTEXT2
Caves below,Mind the TNT
"""


def main():
    folder = pathlib.Path(sys.argv[1] if len(sys.argv) > 1 else "examples")
    folder.mkdir(parents=True, exist_ok=True)
    codes, tops = attribute_codes()
    markers = marker_pixels(tops)
    (folder / "jungle.txt").write_text(CONFIG)
    write_tga(folder / "jungle.tga", codes, markers)
    write_jpeg(folder / "jungle.jpg", level_picture(codes, tops, markers), 80)
    write_jpeg(folder / "junglep.jpg", parallax_picture(), 75)


if __name__ == "__main__":
    main()
