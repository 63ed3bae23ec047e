#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Builds the libFuzzer targets of fuzz/ with clang (AddressSanitizer and
# UndefinedBehaviorSanitizer) and runs them, starting from fuzz/corpus/.
#
#   scripts/fuzz.sh                  each target for a fixed number of inputs
#                                    (the test command's regression run)
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
cmake --preset fuzz >/dev/null
mkdir -p "$build/findings"

run() {
  local target=$1 runs=$2
  shift 2
  cmake --build "$build" -j 2 --target "fuzz_$target"
  mkdir -p "$build/corpus/$target"
  "$build/fuzz/fuzz_$target" -runs="$runs" -print_final_stats=1 \
    -artifact_prefix="$build/findings/$target-" "$@" \
    "$build/corpus/$target" "fuzz/corpus/$target"
}

if [ $# -gt 0 ]; then
  run "$@"
  exit
fi
# About a minute in all on a 2-core machine, the same inputs every time.
run config 200000 -seed=1
run attribute_map 100000 -seed=1
run job 20000 -seed=1
run level_reader 100000 -seed=1
