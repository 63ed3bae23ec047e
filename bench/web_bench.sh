#!/bin/sh
# SPDX-License-Identifier: MIT
# The page against the Linux zurconv on the conversion benchmark's 8192²
# terrain map: check and conversion timed three times each; then the memory
# the tab and the engine's worker hold with a LARGE² map's view open and
# after its conversion. Needs the web build (scripts/test-web.sh) and
# build/release; SIZE (8192) and LARGE (16384, 0 for none) may be given.
set -eu
cd "$(dirname "$0")/.."
size="${1:-8192}"
large="${2:-16384}"
zurconv="${ZUR_REFERENCE_ZURCONV:-$PWD/build/release/cli/zurconv}"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
g++ -O2 -std=c++20 -I. -o "$work/make_level" bench/make_web_bench_level.cpp bench/bench_levels.cpp \
  build/release/engine/libzur_level.a build/release/engine/libzur_attrmap.a \
  build/release/engine/libzur_conversion.a build/release/engine/libzur_base.a -lpng
"$work/make_level" "$size" "$work/level"
[ "$large" = 0 ] || "$work/make_level" "$large" "$work/large"
cd "$work/level"
for run in 1 2 3; do
  start=$(date +%s%N); "$zurconv" --check terrain >/dev/null || true; checked=$(date +%s%N)
  "$zurconv" --yes terrain >/dev/null; done_at=$(date +%s%N)
  echo "run $run: zurconv --check $(( (checked - start) / 1000000 )) ms, zurconv $(( (done_at - checked) / 1000000 )) ms"
  rm -f terrain.lev
done
cd - >/dev/null
cd web
[ "$large" = 0 ] || export ZUR_BENCH_LARGE_LEVEL="$work/large"
ZUR_BENCH_LEVEL="$work/level" NODE_PATH="$PWD/node_modules" npx playwright test -c ../bench/web_bench.config.js
