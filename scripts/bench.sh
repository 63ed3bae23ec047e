#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Builds the benchmarks in Release and runs them; arguments go to the
# benchmark program (e.g. --benchmark_filter=noise).
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh build-essential cmake ninja-build libbenchmark-dev nlohmann-json3-dev libpng-dev

cmake --preset bench
cmake --build --preset bench -j "$(nproc)"
build/bench/bench/zur_bench "$@"
