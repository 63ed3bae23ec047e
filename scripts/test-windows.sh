#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Installs what is missing, cross-builds zurconv-gui.exe, zurconv.exe,
# zurlev.exe, their installer (with wixl) and the Windows tests with
# MinGW-w64 (the "windows" presets), and runs the tests under Wine: the test
# programs, the zip, the installer installed, upgraded and removed, the
# dialog in a real window on a virtual screen (Xvfb, openbox, xdotool), and
# the end-to-end comparison with the Linux programs when
# ZUR_REFERENCE_ZURCONV names the Linux zurconv (its zurlev beside it);
# without it that test is reported as skipped. With --deps-only it installs
# what they need and stops.
set -euo pipefail
cd "$(dirname "$0")/.."
# Wine names Unix files in the locale's encoding, so the tests' non-Latin
# folder needs a UTF-8 locale; C.UTF-8 is on every Debian, set or not.
export LC_ALL=C.UTF-8

scripts/install-deps.sh cmake ninja-build g++-mingw-w64-x86-64-posix googletest \
  nlohmann-json3-dev wine wine64 wixl xvfb openbox xdotool x11-utils
[ "${1:-}" = --deps-only ] && exit 0

# Wine makes windows only on a screen, and its desktop keeps the screen it
# started on: the whole run is on one virtual screen. It runs without
# address randomization, which now and then puts the heap of Debian's
# wine64 over an address Windows fixes, and Wine ends before the program
# starts (see tests/windows/wine_run.sh).
if [ -z "${ZUR_WINDOWS_SCREEN:-}" ]; then
  exec env ZUR_WINDOWS_SCREEN=1 setarch -R xvfb-run -a -s "-screen 0 1280x1024x24" "$0" "$@"
fi

cmake --preset windows

# A fresh Wine prefix of the build's own, and one Wine server kept up for the
# whole run: a program then starts in a fraction of a second instead of
# seconds. The prefix is made before any test runs, so that Wine's
# background services do not hold a test's output open.
export WINEPREFIX="$PWD/build/windows/wine-prefix" WINEDEBUG=-all WINEDLLOVERRIDES=mscoree,mshtml=
rm -rf "$WINEPREFIX"
mkdir -p "$WINEPREFIX"
wineserver -p </dev/null >/dev/null 2>&1
trap 'wineserver -k </dev/null >/dev/null 2>&1 || true' EXIT
wine wineboot --init </dev/null >/dev/null 2>&1

cmake --build --preset windows -j "$(nproc)"
ctest --preset windows
