# SPDX-License-Identifier: MIT
# Sourced after tests/gui/real_screen.sh by real_window_test.sh and
# scripts/screenshot-windows.sh: runs the Windows dialog under Wine on the
# virtual screen. Wine shows windows on the display its desktop process
# started with, so the programs run in a fresh Wine prefix of their own,
# made once the screen is up. Its Wine server, and every program in it,
# ends when the sourcing script exits.

# Wine brings up a message box more slowly.
box_wait=2

# Makes the prefix, in $work, and keeps its Wine server up; after
# start_screen.
own_wine_prefix() {
  export WINEPREFIX=$work/wine-prefix WINEDEBUG=-all WINEDLLOVERRIDES=mscoree,mshtml=
  mkdir "$WINEPREFIX"
  trap 'wineserver -k 2>/dev/null || true; cleanup' EXIT
  wineserver -p
  wine wineboot --init </dev/null >/dev/null 2>&1
}

# Starts zurconv-gui.exe ($1) in the folder $2 with the arguments after them,
# and waits until its dialog has the keyboard focus; sets gui_pid and dialog
# (the window).
start_wine_converter() {
  local program=$1 folder=$2
  shift 2
  (cd "$folder" && exec wine "$program" "$@") &
  gui_pid=$!
  pids+=("$gui_pid")
  within 30 shown "$title" || fail "the dialog did not appear"
  dialog=$(xdotool search --onlyvisible --name "$title" | head -n 1)
  within 10 focused "$dialog" || fail "the dialog did not get the focus"
}
