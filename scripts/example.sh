#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Builds zurconv and converts the bundled example level, showing its report.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh build-essential cmake nlohmann-json3-dev libpng-dev

cmake -S . -B build/example -DCMAKE_BUILD_TYPE=Release -DZUR_BUILD_TESTS=OFF
cmake --build build/example -j "$(nproc)" --target zurconv
build/example/cli/zurconv --stats examples/jungle
echo "Level file written: examples/jungle.lev"
