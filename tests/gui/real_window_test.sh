#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Drives zurconv-gui as a person would: in a real window on a virtual screen
# (Xvfb) under a window manager (openbox), with real X input (xdotool).
#
#  1. The level prefix, typed as soon as the window has appeared, and Enter
#     convert the level.
#  2. A click on the window's close box during that conversion (of a
#     MAP_SIZE x MAP_SIZE map) is dropped: no file picker opens, and the
#     batch ends with the report, the level file being the same as the
#     command line's.
#  3. Enter pressed twice quickly on a level with illegal colours: the
#     second press does not answer the illegal colour question; Enter once
#     the question has been up a while answers Yes.
#  4. Typing the config file's name, small.txt, converts the level small.
#  5. The dialog answers afterwards: the close box opens the picker; a name
#     typed there that names no file is told, and the picker comes back
#     with the name; Alt+X ends the program with status 0.
#
# Usage: real_window_test.sh ZURCONV_GUI ZURCONV ZUR_MAKE_LEVEL MAP_SIZE
set -euo pipefail
gui=$1 cli=$2 make_level=$3 map_size=$4
source "$(dirname "$0")/real_screen.sh"

# The level, and a copy that the command line converts; two small levels,
# one with an illegal colour.
mkdir "$work/gui" "$work/cli"
"$make_level" "$work/gui" big "$map_size"
"$make_level" "$work/gui" bad 64 illegal
"$make_level" "$work/gui" small 64
cp "$work"/gui/big.* "$work/cli/"
"$cli" -q "$work/cli/big" </dev/null || fail "zurconv failed"

start_screen
start_converter "$gui" "$work"

find_close_box

# 1 and 2: type, convert, and ask to close during the conversion.
xdotool type --delay 5 "gui/big"
xdotool key Return mousemove "${close_box[@]}" click 1
next_box
within 10 focused "$box" || fail "the report did not get the focus"
sleep 0.5 # a question takes no key in its first 300 ms
xdotool key Return # Yes: show the statistics
within 10 gone "$box" || fail "the report question stayed"
next_box
within 10 focused "$box" || fail "the statistics did not get the focus"
xdotool key Return # OK
within 10 no_box || fail "a message box stayed"
shown '^Open$' && fail "the file picker opened after the conversion"
cmp -s "$work/gui/big.lev" "$work/cli/big.lev" || fail "the level file differs from zurconv's"

# Replaces the prefix field's text, once the dialog has the focus back.
type_prefix() {
  within 10 focused "$dialog" || fail "the dialog did not get the focus back"
  xdotool key ctrl+a
  xdotool type --delay 5 "$1"
}

# 3: Enter twice quickly (the question takes the keyboard here some 40 ms
# after it appears).
type_prefix "gui/bad"
enter_twice_on_illegal_colour "$work/gui/bad"

# 4: the config file's name.
type_prefix "gui/small.txt"
xdotool key Return
answer_boxes
[ -f "$work/gui/small.lev" ] || fail "gui/small.txt did not convert gui/small"

# 5: the dialog answers again. The batch ends a moment after its last
# message box, and a click before that is dropped: the click is repeated
# until the picker opens.
for ((try = 0; try < 10; try++)); do
  xdotool mousemove "${close_box[@]}" click 1
  within 2 shown '^Open$' && break
done
shown '^Open$' || fail "the close box did not open the file picker"
# The picker may take Enter only once it has read the folder: Enter is
# repeated until a message box comes.
enter_until_box() {
  for ((try = 0; try < 5; try++)); do
    sleep 1
    xdotool key Return
    within 4 some_box && return 0
  done
  fail "$1"
}
xdotool type --delay 5 "$work/gui/nosuch"
enter_until_box "a missing file's name was not told"
answer_boxes
within 10 shown '^Open$' || fail "the file picker did not come back"
enter_until_box "the file picker came back without the name"
answer_boxes
within 10 shown '^Open$' || fail "the file picker did not come back"
for ((try = 0; try < 10; try++)); do
  sleep 1
  xdotool key Escape
  within 2 not_shown '^Open$' && break
done
within 10 not_shown '^Open$' || fail "the file picker did not close"
within 10 focused "$dialog" || fail "the dialog did not get the focus back"
exit_with_alt_x
