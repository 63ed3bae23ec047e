#!/usr/bin/env bash
# Takes the picture of the converter dialog in docs/dialog.png: the window
# with its frame under a window manager, during a conversion. The level
# converted has an illegal colour, so the conversion waits at 70 % for the
# answer to that question; its message box is moved aside meanwhile. Builds
# what it needs first (in build/screenshot, or BUILD_DIR); installs what it
# needs when it is missing.
set -euo pipefail
cd "$(dirname "$0")/.."

build_dir=${BUILD_DIR:-build/screenshot}
title='^ZUR level converter v1\.0$'

scripts/install-deps.sh build-essential cmake libwxgtk3.2-dev libgtest-dev imagemagick \
  xvfb openbox xdotool x11-utils

cmake -S . -B "$build_dir" -DCMAKE_BUILD_TYPE=Release -DZUR_BUILD_GUI=ON
cmake --build "$build_dir" -j 2 --target zurconv-gui zur_make_level

work=$(mktemp -d)
pids=()
cleanup() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  wait 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
fail() {
  echo "screenshot.sh: $*" >&2
  exit 1
}
within() {
  for ((i = 0; i < $1 * 10; i++)); do
    "${@:2}" >/dev/null 2>&1 && return 0
    sleep 0.1
  done
  return 1
}
shown() { xdotool search --onlyvisible --name "$title" | grep -c . | grep -qx "$1"; }
focused() { [ "$(xdotool getwindowfocus)" = "$1" ]; }
wm_ready() { xprop -root _NET_SUPPORTING_WM_CHECK | grep -q 'window id'; }

mkdir "$work/levels"
"$build_dir/tests/gui/zur_make_level" "$work/levels" jungle 2048 illegal

Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$work/display" 2>/dev/null &
pids+=($!)
within 10 test -s "$work/display" || fail "Xvfb did not start"
export DISPLAY=":$(head -n 1 "$work/display")" GSETTINGS_BACKEND=memory
openbox --sm-disable >/dev/null 2>&1 &
pids+=($!)
within 10 wm_ready || fail "openbox did not start"

gui=$(realpath "$build_dir/frontend/zurconv-gui")
(cd "$work" && exec "$gui") &
pids+=($!)
within 30 shown 1 || fail "the dialog did not appear"
dialog=$(xdotool search --onlyvisible --name "$title")
within 10 focused "$dialog" || fail "the dialog did not get the focus"
xdotool type --delay 5 "levels/jungle"
xdotool key Return
within 60 shown 2 || fail "the illegal colour question did not appear"
box=$(xdotool search --onlyvisible --name "$title" | grep -vx "$dialog")
xdotool windowmove --sync "$box" 0 560
frame=$(xwininfo -id "$dialog" -tree | awk '/Parent window id/ { print $4 }')
sleep 0.5 # the repainting of what the box uncovered
mkdir -p docs
import -window "$frame" docs/dialog.png
echo "docs/dialog.png written"
