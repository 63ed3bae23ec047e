# SPDX-License-Identifier: MIT
"""Writes a square picture of raw 8-bit RGB bytes (standard input) as an XPM
array of the given name, keeping every colour exactly, so that the dialog's
compiled icon shows the same pixels as the installed PNG."""
import sys

ALPHABET = "".join(chr(c) for c in range(35, 127) if chr(c) not in '"\\')


def main() -> None:
    name, size = sys.argv[1], int(sys.argv[2])
    data = sys.stdin.buffer.read()
    if len(data) != size * size * 3:
        sys.exit(f"expected {size * size * 3} bytes of RGB, got {len(data)}")
    pixels = [data[i : i + 3].hex() for i in range(0, len(data), 3)]
    colours = sorted(set(pixels))
    width = 1 if len(colours) <= len(ALPHABET) else 2
    codes = {}
    for n, colour in enumerate(colours):
        code = ""
        for _ in range(width):
            n, digit = divmod(n, len(ALPHABET))
            code += ALPHABET[digit]
        codes[colour] = code
    lines = [f"{size} {size} {len(colours)} {width}"]
    lines += [f"{codes[c]} c #{c.upper()}" for c in colours]
    lines += ["".join(codes[p] for p in pixels[y * size : (y + 1) * size]) for y in range(size)]
    body = ",\n".join(f'"{line}"' for line in lines)
    sys.stdout.write(f"/* XPM */\nstatic const char* const {name}[] = {{\n{body}\n}};\n")


main()
