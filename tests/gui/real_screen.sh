# SPDX-License-Identifier: MIT
# Sourced by the real-window tests and the screenshot scripts, of both
# dialogs: a virtual screen (Xvfb on a free display) with a window manager
# (openbox), on which zurconv-gui runs in a real window and is driven by
# real X input (xdotool), the waits that go with it, and the steps that the
# dialogs share. What is started here ends, and the folder $work is removed,
# when the sourcing script exits.

# The dialog's and its message boxes' title, as the program defines it.
title=$(sed -n 's/^#define ZUR_PROGRAM_TITLE "\(.*\)"$/\1/p' \
  "$(dirname "${BASH_SOURCE[0]}")/../../engine/include/zur/program_title.h")
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

# The screen position of the dialog's close box, in close_box: it sits in the
# frame's title bar at the right end; xwininfo gives the dialog's place on
# the screen and within its frame.
find_close_box() {
  local x y width title_height
  read -r x y width title_height < <(xwininfo -id "$dialog" | awk '
    /Absolute upper-left X/ { x = $NF } /Absolute upper-left Y/ { y = $NF }
    /Relative upper-left Y/ { top = $NF } /Width/ { w = $NF }
    END { print x, y, w, top }')
  close_box=("$((x + width - 10))" "$((y - title_height / 2))")
}

# Answers each message box that comes with Enter, once a question would
# take the key; waits up to box_wait seconds for each next box.
box_wait=1
answer_boxes() {
  while within "$box_wait" some_box; do
    box=$(boxes | head -n 1)
    within 10 focused "$box" || fail "a message box did not get the focus"
    sleep 0.5 # a question takes no key in its first 300 ms
    xdotool key Return
    within 10 gone "$box" || fail "a message box stayed"
  done
}

# Presses Enter twice quickly in the dialog, whose field names the level
# $1 with an illegal colour: the second press lands on the illegal colour
# question just as it takes the keyboard, well within its first 300 ms, and
# must not answer it; Enter once the question has been up a while answers
# Yes, so the level file $1.lev is written. On a busy machine the second
# press may come too late to tell: when it answered the question then, the
# level is converted again, up to five times.
enter_twice_on_illegal_colour() {
  local try
  for try in 1 2 3 4 5; do
    rm -f "$1.lev"
    second_enter_on_question && break
    ((try < 5)) || fail "in five tries no Enter came within 200 ms of the question: too busy to tell"
    answer_boxes
    within 10 focused "$dialog" || fail "the dialog did not get the focus back"
  done
  answer_boxes
  [ -f "$1.lev" ] || fail "Enter did not answer Yes to the illegal colour question"
}

# One try of the above: fails the test when a prompt second press answered
# the question, returns 1 when a late one did.
second_enter_on_question() {
  local since end=$((SECONDS + 10)) looked
  # The question was not on the screen before the first press, nor before
  # the last look that did not find it: the second press's lateness is
  # counted from there, in microseconds.
  since=${EPOCHREALTIME/./}
  xdotool key Return
  while :; do
    looked=${EPOCHREALTIME/./}
    box=$(boxes | head -n 1)
    [ -n "$box" ] && break
    since=$looked
    ((SECONDS < end)) || fail "the illegal colour question did not come"
  done
  at_once 10 focused "$box" || fail "the illegal colour question did not get the focus"
  xdotool key Return
  local late=$((${EPOCHREALTIME/./} - since > 200000))
  sleep 1
  gone "$box" || return 0
  ((late)) || fail "the second Enter answered the illegal colour question"
  return 1
}

# Alt+X ends the program, with status 0.
exit_with_alt_x() {
  xdotool key alt+x
  within 30 sh -c "! kill -0 $gui_pid" || fail "Exit did not end the program"
  local status=0
  wait "$gui_pid" || status=$?
  [ "$status" -eq 0 ] || fail "the program ended with status $status"
  echo "$(basename "$0"): passed"
}

# For the screenshot scripts: once the converter shows its first message
# box, moves it aside, below the dialog, and saves the dialog's window with
# its frame as the picture $1.
picture_beside_first_box() {
  next_box
  xdotool windowmove --sync "$box" 0 560
  local frame
  frame=$(xwininfo -id "$dialog" -tree | awk '/Parent window id/ { print $4 }')
  sleep 0.5 # the repainting of what the box uncovered
  mkdir -p "$(dirname "$1")"
  import -window "$frame" "$1"
  echo "$1 written"
}
