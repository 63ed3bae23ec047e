# SPDX-License-Identifier: MIT
# Sourced by real_window_test.sh and scripts/screenshot.sh: a virtual screen
# (Xvfb on a free display) with a window manager (openbox), on which
# zurconv-gui runs in a real window and is driven by real X input (xdotool),
# and the waits that go with it. What is started here ends, and the folder
# $work is removed, when the sourcing script exits.

# The dialog's and its message boxes' title, as the program defines it.
title=$(sed -n 's/^#define ZUR_PROGRAM_TITLE "\(.*\)"$/\1/p' \
  "$(dirname "${BASH_SOURCE[0]}")/../../engine/level/shared/program_title.h")
title="^${title//./\\.}\$"
work=$(mktemp -d)
pids=()
cleanup() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  wait 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

fail() {
  echo "$(basename "$0"): $*" >&2
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
# The same without pausing between tries, where a moment matters.
at_once() {
  local end=$((SECONDS + $1))
  shift
  until "$@" >/dev/null 2>&1; do
    ((SECONDS < end)) || return 1
  done
}
shown() { xdotool search --onlyvisible --name "$1" >/dev/null; }
not_shown() { ! shown "$1"; }
focused() { [ "$(xdotool getwindowfocus)" = "$1" ]; }
wm_ready() { xprop -root _NET_SUPPORTING_WM_CHECK | grep -q 'window id'; }

# Starts the screen and the window manager, and exports DISPLAY.
start_screen() {
  Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$work/display" 2>/dev/null &
  pids+=($!)
  within 10 test -s "$work/display" || fail "Xvfb did not start"
  # The file picker would save its settings for the user.
  export DISPLAY=":$(head -n 1 "$work/display")" GSETTINGS_BACKEND=memory
  openbox --sm-disable >/dev/null 2>&1 &
  pids+=($!)
  within 10 wm_ready || fail "openbox did not start"
}

# Starts zurconv-gui ($1) in the folder $2 and waits until its dialog has
# the keyboard focus; sets gui_pid and dialog (the window).
start_converter() {
  local program
  program=$(realpath "$1")
  (cd "$2" && exec "$program") &
  gui_pid=$!
  pids+=("$gui_pid")
  within 30 shown "$title" || fail "the dialog did not appear"
  dialog=$(xdotool search --onlyvisible --name "$title" | head -n 1)
  within 10 focused "$dialog" || fail "the dialog did not get the focus"
}

# The message boxes on the screen: the converter's windows but its dialog.
boxes() { xdotool search --onlyvisible --name "$title" | grep -vx "$dialog" || true; }
# Whether one is shown, or none; each call looks again, as `within` needs.
some_box() { [ -n "$(boxes)" ]; }
no_box() { [ -z "$(boxes)" ]; }
# Whether the converter's window $1 has left the screen.
gone() { ! xdotool search --onlyvisible --name "$title" | grep -qx "$1"; }

# Waits for a message box and sets box to it; fails should the file picker
# open meanwhile.
next_box() {
  for ((i = 0; i < 600; i++)); do
    shown '^Open$' && fail "the file picker opened during the conversion"
    box=$(boxes | head -n 1)
    [ -n "$box" ] && return 0
    sleep 0.1
  done
  fail "no message box appeared"
}
