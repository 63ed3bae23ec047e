#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Runs a Windows program under Wine for the comparison with Linux, with
# Wine's errors on, and keeps them apart: the program's standard output and
# standard error pass as they are, except Wine's own lines, which go to LOG
# under a line naming the run, followed by the run's exit status. A run that
# fails without a word of the program's then tells in LOG what Wine saw.
#
# Usage: wine_run.sh LOG PROGRAM [ARGUMENTS...]  (WINEPREFIX and the DLL
# overrides from the environment)
set -uo pipefail
log=$1
shift

# Wine's 64-bit loader itself: Debian's wine script, which only picks it,
# warns of a missing wine32 on standard error unless Wine's messages are off.
export WINELOADER=/usr/lib/wine/wine64 WINEDEBUG=err+all
# Class, channel and function, after the thread's number once there is a
# thread.
wine_line='^([0-9a-f]{4}:)?(err|fixme|warn|trace):[A-Za-z0-9_]*:'

# The program's standard error with Wine's lines taken out.
split_standard_error() {
  local line
  while IFS= read -r line; do
    if [[ $line =~ $wine_line ]]; then
      printf '%s\n' "$line" >>"$log"
    else
      printf '%s\n' "$line" >&2
    fi
  done
  # A last line without a line end stays without one.
  [ -z "$line" ] || printf '%s' "$line" >&2
}

echo "-- $* (in $PWD)" >>"$log"
exec 3>&1
# Without address randomization: Debian's wine64 has no preloader to keep
# Windows' fixed addresses free, so the kernel may start the loader's heap
# anywhere up to 1 GB above the loader (at 0x7d000000), at times over the
# shared user data at 0x7ffe0000; Wine then ends with exit status 1 before
# the program starts ("failed to map the shared user data: c0000018").
setarch -R "$WINELOADER" "$@" 2>&1 1>&3 3>&- | split_standard_error 3>&-
status=${PIPESTATUS[0]}
echo "-- exit status $status" >>"$log"
exit "$status"
