# SPDX-License-Identifier: MIT
# Sourced after tests/gui/real_screen.sh by real_window_test.sh and
# scripts/screenshot-windows.sh: runs the Windows dialog under Wine on the
# virtual screen. Wine shows windows on the display its desktop process
# started with, and the build's Wine prefix has none, so the programs run in
# a Wine prefix of their own: a copy of the build's, its files hard links
# (Wine never writes them) but for the registry, which Wine rewrites. Its
# Wine server ends, and the copy is removed, when the sourcing script exits.

# Makes the copy of the build's prefix $1 (readied first if it is not) the
# prefix of every Wine program started from here on.
own_wine_prefix() {
  local shared=$1
  export WINEDEBUG=-all WINEDLLOVERRIDES=mscoree,mshtml=
  [ -f "$shared/system.reg" ] || WINEPREFIX=$shared wine wineboot --init </dev/null
  export WINEPREFIX=$work/wine-prefix
  cp -al "$shared" "$WINEPREFIX" 2>/dev/null || cp -a "$shared" "$WINEPREFIX"
  for file in "$WINEPREFIX"/*.reg; do cp --remove-destination "$shared/${file##*/}" "$file"; done
  trap 'wineserver -k 2>/dev/null || true; cleanup' EXIT
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
