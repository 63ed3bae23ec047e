#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Drives zurconv-gui.exe under Wine as a person would: in a real window on a
# virtual screen (Xvfb) under a window manager (openbox), with real X input
# (xdotool). A probe that runs beside it reads the prefix field and the
# progress bar's pixels.
#
#  1. The level prefix, typed as soon as the window has appeared, and Enter
#     convert the level; its level file is the same as zurconv's.
#  2. A click on the window's close box during that conversion (of a
#     MAP_SIZE x MAP_SIZE map) is dropped: no file picker opens and the
#     batch ends with the report. Meanwhile the bar shows positions between
#     40 and 70. The program converts such a map in a few tens of
#     milliseconds here, so it is slowed down during the conversion, as on
#     a machine busy with other work.
#  3. Enter pressed twice quickly on a level with an illegal colour: the
#     second press does not answer the illegal colour question; Enter once
#     the question has been up a while answers Yes.
#  4. Escape opens the file picker; 40 quoted names typed into its name
#     field fill the prefix field with their 40 prefixes, and the field has
#     the keyboard focus.
#  5. F1 shows the short help; Alt+X ends the program with status 0.
#
# The program starts with a level's name as argument, which it does not read.
#
# Usage: real_window_test.sh ZURCONV_GUI ZURCONV ZUR_MAKE_LEVEL ZUR_DIALOG_PROBE MAP_SIZE
set -euo pipefail
gui=$1 cli=$2 make_level=$3 probe=$4 map_size=$5
source "$(dirname "$0")/../gui/real_screen.sh"
source "$(dirname "$0")/wine_screen.sh"

start_screen
own_wine_prefix

# The levels; a copy of the large one that zurconv converts; 40 config files
# for the picker.
mkdir "$work/levels" "$work/cli"
(cd "$work/levels" && wine "$make_level" . big "$map_size" && wine "$make_level" . bad 64 illegal)
cp "$work"/levels/big.* "$work/cli/"
(cd "$work/cli" && wine "$cli" -q big </dev/null) || fail "zurconv failed"
names=() prefixes=()
folder=$(winepath -w "$work/levels")
for i in $(seq -w 1 40); do
  touch "$work/levels/level$i.txt"
  names+=("\"level$i.txt\"")
  prefixes+=("$folder\\level$i")
done

start_wine_converter "$gui" "$work/levels" big

# Its close box sits in the frame's title bar at the right end; xwininfo
# gives the dialog's place on the screen and within its frame.
read -r x y width title_height < <(xwininfo -id "$dialog" | awk '
  /Absolute upper-left X/ { x = $NF } /Absolute upper-left Y/ { y = $NF }
  /Relative upper-left Y/ { top = $NF } /Width/ { w = $NF }
  END { print x, y, w, top }')
close_box=("$((x + width - 10))" "$((y - title_height / 2))")

# Answers each message box that comes with Enter, once a question would
# take the key.
answer_boxes() {
  while within 2 some_box; do
    box=$(boxes | head -n 1)
    within 10 focused "$box" || fail "a message box did not get the focus"
    sleep 0.4
    xdotool key Return
    within 10 gone "$box" || fail "a message box stayed"
  done
}

field() { wine "$probe" field | tr -d '\r'; }
field_is() { [ "$(field)" = "$1" ]; }
field_is "" || fail "the command line's argument reached the prefix field"
[ ! -e "$work/levels/big.lev" ] && no_box || fail "the command line's level was converted"

# The positions the bar has shown, one a line, and whether one was at
# least $1, or strictly between $1 and $2 (a per cent either side being
# left to the pixels' rounding).
shown_positions() { tr -d '\r' <"$work/bar"; }
shows_at_least() { shown_positions | awk -v p="$1" '$1 >= p { f = 1 } END { exit !f }'; }
shows_between() { shown_positions | awk -v a="$1" -v b="$2" '$1 > a + 1 && $1 < b - 1 { f = 1 } END { exit !f }'; }

# Lets the program run 5 ms in every 50 ms until stopped.
slow_down() {
  while kill -STOP "$gui_pid" 2>/dev/null; do
    sleep 0.045
    kill -CONT "$gui_pid"
    sleep 0.005
  done
}

# 1 and 2.
wine "$probe" bar 20000 >"$work/bar" &
probe_pid=$!
pids+=("$probe_pid")
sleep 0.5 # the probe's start
xdotool type --delay 5 "big"
slow_down &
slowing_pid=$!
pids+=("$slowing_pid")
xdotool key Return
# Wine would read the click's close request in the same go as the key, and
# hand the dialog the request first: it clicks once the conversion is on.
within 10 shows_at_least 40 || fail "the conversion did not start: $(shown_positions)"
xdotool mousemove "${close_box[@]}" click 1
next_box
kill "$slowing_pid"
wait "$slowing_pid" || true
kill -CONT "$gui_pid"
wait "$probe_pid"
answer_boxes
shown '^Open$' && fail "the file picker opened after the conversion"
cmp -s "$work/levels/big.lev" "$work/cli/big.lev" || fail "the level file differs from zurconv's"
shows_between 40 70 || fail "the bar showed no position between 40 and 70: $(shown_positions)"

# 3. The second Enter lands on the illegal colour question just as it takes
# the keyboard, well within its first 300 ms.
within 10 focused "$dialog" || fail "the dialog did not get the focus back"
xdotool key Home shift+End
xdotool type --delay 5 "bad"
xdotool key Return
at_once 10 some_box || fail "the illegal colour question did not come"
box=$(boxes | head -n 1)
at_once 10 focused "$box" || fail "the illegal colour question did not get the focus"
xdotool key Return
sleep 1
gone "$box" && fail "the second Enter answered the illegal colour question"
answer_boxes
[ -f "$work/levels/bad.lev" ] || fail "Enter did not answer Yes to the illegal colour question"

# 4.
within 10 focused "$dialog" || fail "the dialog did not get the focus back"
xdotool key Escape
within 10 shown '^Open$' || fail "Escape did not open the file picker"
sleep 0.5 # the picker reads the folder
xdotool type --delay 2 "${names[*]}"
xdotool key Return
within 10 not_shown '^Open$' || fail "the file picker did not close"
within 10 focused "$dialog" || fail "the dialog did not get the focus back"
expected=$(printf '%s | ' "${prefixes[@]}")
field_is "${expected% | }" || fail "the prefix field holds $(field)"
xdotool type "x"
within 5 field_is x || fail "the prefix field did not have the focus after the pick"

# 5.
xdotool key F1
next_box
help=$(wine "$probe" box | tr -d '\r')
[[ $help == "The level converter compiles the sources of a level"* ]] ||
  fail "F1 did not show the help: $help"
answer_boxes
xdotool key alt+x
within 30 sh -c "! kill -0 $gui_pid" || fail "Exit did not end the program"
status=0
wait "$gui_pid" || status=$?
[ "$status" -eq 0 ] || fail "the program ended with status $status"
echo "real_window_test: passed"
