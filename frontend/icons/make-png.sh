#!/usr/bin/env bash
# Makes the installed icon PNGs from the pictures compiled into the program.
# Run after editing an .xpm; needs ImageMagick.
set -euo pipefail
cd "$(dirname "$0")"
for size in 16 32; do
  convert "converter$size.xpm" "zurconv-gui-$size.png"
done
