#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Renders the program icon from its drawing zurconv-gui.svg: the PNGs installed
# into the desktop's icon theme, and the 32 and 16 pixel XPMs compiled into the
# dialog, which hold the same pixels as the PNGs of their size.
# Run after editing the drawing; installs the renderer if it is missing.
set -euo pipefail
cd "$(dirname "$0")"
../../scripts/install-deps.sh librsvg2-bin imagemagick python3

for size in 16 32 48 64 128; do
  rsvg-convert --width "$size" --height "$size" --output "zurconv-gui-$size.png" zurconv-gui.svg
done
for size in 16 32; do
  convert "zurconv-gui-$size.png" -alpha off -depth 8 rgb:- |
    python3 rgb_to_xpm.py "converter_${size}_xpm" "$size" > "converter$size.xpm"
done
