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
wine_line='^[0-9a-f]{4}:(err|fixme|warn|trace):'

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
"$WINELOADER" "$@" 2>&1 1>&3 3>&- | split_standard_error 3>&-
status=${PIPESTATUS[0]}
echo "-- exit status $status" >>"$log"
exit "$status"
