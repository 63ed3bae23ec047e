#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Builds the libFuzzer targets of fuzz/ with clang (AddressSanitizer and
# UndefinedBehaviorSanitizer) and runs them, starting from fuzz/corpus/.
#
#   scripts/fuzz.sh                  each target for a fixed number of inputs
#                                    (the regression run)
#   scripts/fuzz.sh --in BUILD       the regression run of the targets already
#                                    built in BUILD (the test command's, in
#                                    the sanitizer build)
#   scripts/fuzz.sh TARGET RUNS [OPTION...]
#                                    one target (config, attribute_map, job,
#                                    level_reader)
#                                    for RUNS inputs, -1 for no end; further
#                                    libFuzzer options are passed on
#
# Inputs the fuzzer finds go to build/fuzz/corpus/TARGET, crashes to
# build/fuzz/findings/; the seeds in fuzz/corpus/ are only read.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh build-essential cmake ninja-build clang libclang-rt-14-dev nlohmann-json3-dev libpng-dev

build=build/fuzz
if [ "${1:-}" = --in ]; then
  build=$2
  shift 2
else
  cmake --preset fuzz >/dev/null
fi
mkdir -p "$build/findings"

run() {
  local target=$1 runs=$2
  shift 2
  mkdir -p "$build/corpus/$target"
  "$build/fuzz/fuzz_$target" -runs="$runs" -print_final_stats=1 \
    -artifact_prefix="$build/findings/$target-" "$@" \
    "$build/corpus/$target" "fuzz/corpus/$target"
}

if [ $# -gt 0 ]; then
  cmake --build "$build" --target "fuzz_$1"
  run "$@"
  exit
fi
# The regression run: the same inputs every time, the targets side by side
# on every core, each one's output kept in build/fuzz/TARGET.log and shown
# when it fails. About half a minute in all on a 2-core machine.
[ "$build" != build/fuzz ] || cmake --build --preset fuzz
pids=()
targets=(config attribute_map job level_reader)
runs=(200000 100000 20000 100000)
for i in "${!targets[@]}"; do
  run "${targets[i]}" "${runs[i]}" -seed=1 >"$build/${targets[i]}.log" 2>&1 &
  pids+=($!)
done
status=0
for i in "${!targets[@]}"; do
  if wait "${pids[i]}"; then
    echo "fuzz_${targets[i]}: ${runs[i]} inputs, no finding"
  else
    cat "$build/${targets[i]}.log" >&2
    echo "fuzz_${targets[i]} failed: see $build/${targets[i]}.log and $build/findings/" >&2
    status=1
  fi
done
exit "$status"
