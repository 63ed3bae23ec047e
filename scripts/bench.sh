#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Builds the benchmarks in Release and runs them; arguments go to the
# benchmark program (e.g. --benchmark_filter=noise).
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh build-essential cmake libbenchmark-dev nlohmann-json3-dev libpng-dev

cmake -S . -B build/bench -DCMAKE_BUILD_TYPE=Release -DZUR_BUILD_BENCH=ON -DZUR_BUILD_TESTS=OFF
cmake --build build/bench -j "$(nproc)" --target zur_bench
build/bench/bench/zur_bench "$@"
