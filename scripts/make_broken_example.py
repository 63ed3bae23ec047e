#!/usr/bin/env python3
# SPDX-License-Identifier: MIT
"""Generates the example level "broken" in examples/: a level with planted
mistakes for `zurconv --check` to find.

Writes broken.txt (config), broken.tga (attribute map), broken.jpg (a real
JPEG of the wrong size: a copy of jungle.jpg) and brokenp.jpg (not a JPEG).
The generated files are committed, so only someone changing the example needs
this script. It uses Python's standard library only, and the engine's
palette from the palette file the build writes (zur_palette.py).

Usage: scripts/make_broken_example.py [output folder, default examples/]
"""

import pathlib
import shutil
import struct
import sys

from zur_palette import load_palette

WIDTH, HEIGHT = 128, 80
PALETTE = load_palette()
AIR, GRASS, ROCK = PALETTE[0], PALETTE[1], PALETTE[2]
GROUND = 40
KIND0, KIND3 = 230, 140  # marker blue values

CONFIG = """\
Broken example: each setting below hides a mistake that zurconv --check finds.
/MAKER
{maker}
/EMAIL
designer@example.org
/PARA
y
/CIVIL
300
/BOMB
12abc
/WATERC
80,90
/DISABLERUN
no
/GRAVITY
95
/RESISTANCE
lots
/COLLDAMAGE
100
{bouncing}
100
/AMBIENT
0
/PARALLAXAT
0
/GGLEVEL
no
/GGTHEME
*
/GGSHAPE
yes
/REPAIR
10
/STUFFD
10
/SIGND
10
/SPEED
5
/PARA
yes
{comment}
/SIGNTEXT1
Welcome to the broken jungle
/SIGNTEXT2
no comma here
/SIGNTEXT1
""".format(maker="M" * 130, bouncing="/BOUNCING ", comment="A very long comment line " + "-" * 150)


def attribute_map():
    pixels = {}
    for y in range(HEIGHT):
        for x in range(WIDTH):
            pixels[x, y] = GRASS if y >= GROUND else AIR
    # A soft brush left anti-aliased edges on the ground.
    for x in range(10, 21):
        pixels[x, GROUND] = (0, 151, 0)
    pixels[30, GROUND - 1] = (60, 60, 60)
    pixels[31, GROUND - 1] = (60, 60, 60)
    pixels[90, GROUND + 5] = (120, 50, 60)
    # A marker painted with a 2 x 2 brush places four objects.
    for x, y in [(40, 20), (41, 20), (40, 21), (41, 21)]:
        pixels[x, y] = (3, 0, KIND3)
    # A mine field of more markers than a level holds.
    for y in range(GROUND + 10, HEIGHT):
        for x in range(WIDTH):
            if (x + y) % 2 == 0:
                pixels[x, y] = (0x23, 0x05, KIND0)
    return pixels


def save_tga(path, pixels):
    header = struct.pack("<BBBHHBHHHHBB", 0, 0, 2, 0, 0, 0, 0, 0, WIDTH, HEIGHT, 24, 32)
    rows = bytearray()
    for y in range(HEIGHT):
        for x in range(WIDTH):
            red, green, blue = pixels[x, y]
            rows += bytes((blue, green, red))
    path.write_bytes(header + bytes(rows))


def main():
    folder = pathlib.Path(sys.argv[1] if len(sys.argv) > 1 else "examples")
    (folder / "broken.txt").write_text(CONFIG)
    save_tga(folder / "broken.tga", attribute_map())
    shutil.copyfile(folder / "jungle.jpg", folder / "broken.jpg")
    (folder / "brokenp.jpg").write_text("This text file is not a picture.\n")


if __name__ == "__main__":
    main()
