#!/bin/sh
# SPDX-License-Identifier: MIT
# The page against the browser's read floor and the Linux zurconv, on the
# conversion benchmark's SIZE² terrain and noise maps (8192): zurconv's
# check and conversion and `cat` of the map, three runs each; then the
# page's check, map view and conversion beside a worker reading the map
# (web_bench.test.js). Last, the tab's memory over twenty conversions of a
# LARGE² terrain map (6600, about 130 MB; 0 for none). Needs the web build
# (scripts/test-web.sh) and a release build, the one ZUR_REFERENCE_ZURCONV
# is in (build/release by default), whose libraries make the levels.
set -eu
cd "$(dirname "$0")/.."
size="${1:-8192}"
large="${2:-6600}"
zurconv="${ZUR_REFERENCE_ZURCONV:-$PWD/build/release/cli/zurconv}"
release="$(dirname "$(dirname "$zurconv")")"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
g++ -O2 -std=c++20 -I. -Iengine/include -o "$work/make_level" bench/make_web_bench_level.cpp bench/bench_levels.cpp \
  "$release/engine/libzur_level.a" "$release/engine/libzur_attrmap.a" \
  "$release/engine/libzur_conversion.a" "$release/engine/libzur_base.a" -lpng
for kind in terrain noise; do
  "$work/make_level" "$kind" "$size" "$work/$kind"
  cd "$work/$kind"
  for run in 1 2 3; do
    start=$(date +%s%N); cat "$kind.TGA" >/dev/null; read=$(date +%s%N)
    "$zurconv" --check "$kind" >/dev/null || true; checked=$(date +%s%N)
    "$zurconv" --yes "$kind" >/dev/null; done_at=$(date +%s%N)
    echo "$kind run $run: cat $(( (read - start) / 1000000 )) ms," \
      "zurconv --check $(( (checked - read) / 1000000 )) ms, zurconv $(( (done_at - checked) / 1000000 )) ms"
    rm -f "$kind.lev"
  done
  cd - >/dev/null
done
[ "$large" = 0 ] || "$work/make_level" terrain "$large" "$work/large"
cd web
[ "$large" = 0 ] || export ZUR_BENCH_LARGE_LEVEL="$work/large"
echo "load: $(cat /proc/loadavg)"
ZUR_BENCH_LEVELS="$work/terrain:$work/noise" NODE_PATH="$PWD/node_modules" \
  npx playwright test -c ../bench/web_bench.config.js
echo "load: $(cat /proc/loadavg)"
