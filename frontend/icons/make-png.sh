#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Renders the program icon from its drawing zurconv-gui.svg: the PNGs installed
# into the desktop's icon theme, the 32 and 16 pixel XPMs compiled into the wx
# dialog, which hold the same pixels as the PNGs of their size, and the
# Windows icon zurconv-gui.ico (16, 32, 48 and 256 pixels; the largest stored
# as PNG, as Windows expects).
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

large=$(mktemp --suffix=.png)
trap 'rm -f "$large"' EXIT
rsvg-convert --width 256 --height 256 --output "$large" zurconv-gui.svg
convert zurconv-gui-16.png zurconv-gui-32.png zurconv-gui-48.png "$large" zurconv-gui.ico
