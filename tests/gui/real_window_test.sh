#!/usr/bin/env bash
# Drives zurconv-gui as a person would: in a real window on a virtual screen
# (Xvfb) under a window manager (openbox), with real X input (xdotool).
#
#  1. The level prefix, typed as soon as the window has appeared, and Enter
#     convert the level.
#  2. A click on the window's close box during that conversion is dropped:
#     no file picker opens, and the batch ends with the report, the level
#     file being the same as the command line's.
#  3. The dialog answers afterwards: the close box opens the picker, and
#     Alt+X ends the program with status 0.
#
# Usage: real_window_test.sh ZURCONV_GUI ZURCONV ZUR_MAKE_LEVEL
set -euo pipefail
gui=$1 cli=$2 make_level=$3
title='^ZUR level converter v1\.0$'

work=$(mktemp -d)
pids=()
cleanup() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  wait 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

fail() {
  echo "real_window_test: $*" >&2
  exit 1
}

# Retries a command every 0.1 s until it succeeds, for at most $1 seconds.
within() {
  local tries=$(($1 * 10))
  shift
  for ((i = 0; i < tries; i++)); do
    "$@" >/dev/null 2>&1 && return 0
    sleep 0.1
  done
  return 1
}
shown() { xdotool search --onlyvisible --name "$1" >/dev/null; }
not_shown() { ! shown "$1"; }
focused() { [ "$(xdotool getwindowfocus)" = "$1" ]; }
# The converter's windows on the screen other than the dialog $1: message boxes.
boxes() { xdotool search --onlyvisible --name "$title" | grep -vx "$1" || true; }
# Waits for a message box, failing should the file picker open meanwhile.
next_box() {
  for ((i = 0; i < 600; i++)); do
    shown '^Open$' && fail "the file picker opened during the conversion"
    box=$(boxes "$1" | head -n 1)
    [ -n "$box" ] && return 0
    sleep 0.1
  done
  fail "no message box appeared"
}

# The level, and a copy that the command line converts.
mkdir "$work/gui" "$work/cli"
"$make_level" "$work/gui" big 4096
cp "$work"/gui/big.* "$work/cli/"
"$cli" -q "$work/cli/big" </dev/null || fail "zurconv failed"

# The virtual screen on a free display, and the window manager.
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$work/display" 2>/dev/null &
pids+=($!)
within 10 test -s "$work/display" || fail "Xvfb did not start"
export GSETTINGS_BACKEND=memory # the file picker would save its settings
export DISPLAY=":$(head -n 1 "$work/display")"
openbox --sm-disable >/dev/null 2>&1 &
pids+=($!)
wm_ready() { xprop -root _NET_SUPPORTING_WM_CHECK | grep -q 'window id'; }
within 10 wm_ready || fail "openbox did not start"

"$gui" &
gui_pid=$!
pids+=("$gui_pid")
within 30 shown "$title" || fail "the dialog did not appear"
dialog=$(xdotool search --onlyvisible --name "$title" | head -n 1)
within 10 focused "$dialog" || fail "the dialog did not get the focus"

# Its close box sits in the frame's title bar at the right end; xwininfo
# gives the dialog's place on the screen and within its frame.
read -r x y width title_height < <(xwininfo -id "$dialog" | awk '
  /Absolute upper-left X/ { x = $NF } /Absolute upper-left Y/ { y = $NF }
  /Relative upper-left Y/ { top = $NF } /Width/ { w = $NF }
  END { print x, y, w, top }')
close_box=("$((x + width - 10))" "$((y - title_height / 2))")

# 1 and 2: type, convert, and ask to close during the conversion.
xdotool type --delay 5 "$work/gui/big"
xdotool key Return mousemove "${close_box[@]}" click 1
next_box "$dialog"
within 10 focused "$box" || fail "the report did not get the focus"
xdotool key Return # Yes: show the statistics
within 10 not_shown "$box" || fail "the report question stayed"
next_box "$dialog"
within 10 focused "$box" || fail "the statistics did not get the focus"
xdotool key Return # OK
within 10 test -z "$(boxes "$dialog")" || fail "a message box stayed"
shown '^Open$' && fail "the file picker opened after the conversion"
cmp -s "$work/gui/big.lev" "$work/cli/big.lev" || fail "the level file differs from zurconv's"

# 3: the dialog answers again.
xdotool mousemove "${close_box[@]}" click 1
within 10 shown '^Open$' || fail "the close box did not open the file picker"
xdotool key Escape
within 10 not_shown '^Open$' || fail "the file picker did not close"
within 10 focused "$dialog" || fail "the dialog did not get the focus back"
xdotool key alt+x
within 30 sh -c "! kill -0 $gui_pid" || fail "Exit did not end the program"
status=0
wait "$gui_pid" || status=$?
[ "$status" -eq 0 ] || fail "the program ended with status $status"
echo "real_window_test: passed"
