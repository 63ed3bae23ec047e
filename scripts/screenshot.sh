#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Takes the picture of the converter dialog in docs/dialog.png: the window
# with its frame under a window manager, during a conversion. The level
# converted has an illegal colour, so the conversion waits at 70 % for the
# answer to that question; its message box is moved aside meanwhile. Builds
# what it needs first (in build/screenshot, or BUILD_DIR); installs what it
# needs when it is missing.
set -euo pipefail
cd "$(dirname "$0")/.."

build_dir=${BUILD_DIR:-build/screenshot}

scripts/install-deps.sh build-essential cmake ninja-build libgtest-dev libwxgtk3.2-dev libgtk-3-dev imagemagick \
  xvfb xauth openbox xdotool x11-utils groff desktop-file-utils appstream nlohmann-json3-dev \
  libpng-dev

cmake -S . -B "$build_dir" -DCMAKE_BUILD_TYPE=Release -DZUR_BUILD_GUI=ON
cmake --build "$build_dir" -j 2 --target zurconv-gui zur_make_level

source tests/gui/real_screen.sh
mkdir "$work/levels"
"$build_dir/tests/gui/zur_make_level" "$work/levels" jungle 2048 illegal

start_screen
start_converter "$build_dir/frontend/wx/zurconv-gui" "$work"
xdotool type --delay 5 "levels/jungle"
xdotool key Return
picture_beside_first_box docs/dialog.png
