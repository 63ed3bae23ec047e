#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Takes the picture of the Windows dialog in docs/dialog-windows.png: the
# window with its frame under Wine and a window manager, during a
# conversion. The level converted has an illegal colour, so the conversion
# waits at 70 % for the answer to that question; its message box is moved
# aside meanwhile. Builds what it needs first (the windows preset);
# installs what it needs when it is missing.
set -euo pipefail
cd "$(dirname "$0")/.."
# Wine names Unix files in the locale's encoding; C.UTF-8, on every Debian,
# lets it name any.
export LC_ALL=C.UTF-8

scripts/install-deps.sh cmake ninja-build g++-mingw-w64-x86-64-posix googletest \
  nlohmann-json3-dev wine wine64 wixl xvfb openbox xdotool x11-utils imagemagick

build=$PWD/build/windows
cmake --preset windows
cmake --build --preset windows -j 2 --target zurconv-gui zur_make_level

source tests/gui/real_screen.sh
source tests/win32/wine_screen.sh
start_screen
own_wine_prefix
mkdir "$work/levels"
(cd "$work/levels" && wine "$build/tests/win32/zur_make_level.exe" . jungle 2048 illegal)

start_wine_converter "$build/frontend/win32/zurconv-gui.exe" "$work"
xdotool type --delay 5 'levels\jungle'
xdotool key Return
picture_beside_first_box docs/dialog-windows.png
