# SPDX-License-Identifier: MIT
"""The attribute palette as the engine has it, for the example scripts.

The build writes it from the engine's own table into the paint programs'
palette file (docs/zurconv.gpl in the build folder), so the scripts never
hold a copy. ZUR_PALETTE_FILE names another palette file.
"""

import os
import pathlib
import re
import sys

DEFAULT = pathlib.Path(__file__).resolve().parent.parent / "build/release/docs/zurconv.gpl"
ENTRY = re.compile(r"^\s*(\d+)\s+(\d+)\s+(\d+)\tcode (\d+)\b")


def load_palette():
    """Attribute code -> (red, green, blue)."""
    path = pathlib.Path(os.environ.get("ZUR_PALETTE_FILE", DEFAULT))
    if not path.is_file():
        sys.exit(f"{path} not found: build it first "
                 "(cmake --preset release && cmake --build --preset release "
                 "--target zur_palette_file), or set ZUR_PALETTE_FILE")
    palette = {}
    for line in path.read_text().splitlines():
        match = ENTRY.match(line)
        if match:
            red, green, blue, code = map(int, match.groups())
            palette[code] = (red, green, blue)
    return palette
