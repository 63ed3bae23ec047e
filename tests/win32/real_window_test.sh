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
#  5. A level picked in a subfolder leaves the working folder alone: a
#     relative name typed afterwards names the level of the working folder,
#     not the subfolder's level of the same name.
#  6. F1 shows the short help; Alt+X ends the program with status 0.
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
# for the picker; a level twin both here and in the subfolder sub.
mkdir "$work/levels" "$work/levels/sub" "$work/cli"
(cd "$work/levels" && wine "$make_level" . big "$map_size" && wine "$make_level" . bad 64 illegal &&
  wine "$make_level" . twin 64 && wine "$make_level" sub twin 64)
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

find_close_box

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

# 3.
within 10 focused "$dialog" || fail "the dialog did not get the focus back"
xdotool key Home shift+End
xdotool type --delay 5 "bad"
enter_twice_on_illegal_colour "$work/levels/bad"

# Escape opens the file picker, where each argument is typed and taken with
# Enter (a folder's name opens the folder); the dialog has the focus back.
pick() {
  within 10 focused "$dialog" || fail "the dialog did not get the focus back"
  xdotool key Escape
  within 10 shown '^Open$' || fail "Escape did not open the file picker"
  for name in "$@"; do
    sleep 0.5 # the picker reads the folder
    xdotool type --delay 2 "$name"
    xdotool key Return
  done
  within 10 not_shown '^Open$' || fail "the file picker did not close"
  within 10 focused "$dialog" || fail "the dialog did not get the focus back"
}

# 4.
pick "${names[*]}"
expected=$(printf '%s | ' "${prefixes[@]}")
field_is "${expected% | }" || fail "the prefix field holds $(field)"
xdotool type "x"
within 5 field_is x || fail "the prefix field did not have the focus after the pick"

# 5.
pick sub twin.txt
within 10 field_is "$folder\\sub\\twin" || fail "the pick left $(field) in the prefix field"
xdotool key Home shift+End
xdotool type --delay 5 "twin"
xdotool key Return
answer_boxes
[ -f "$work/levels/sub/twin.lev" ] && fail "twin, typed after a pick in sub, converted sub\\twin"
[ -f "$work/levels/twin.lev" ] || fail "twin, typed after a pick in sub, was not converted"

# 6.
xdotool key F1
next_box
help=$(wine "$probe" box | tr -d '\r')
[[ $help == "The level converter compiles the sources of a level"* ]] ||
  fail "F1 did not show the help: $help"
answer_boxes
exit_with_alt_x
