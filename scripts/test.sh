#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Installs what is missing, builds the project with its dialog and runs every
# test twice: in a normal build, and in a build with AddressSanitizer and
# UndefinedBehaviorSanitizer. The dialog's tests run on a virtual screen
# (xvfb-run; one under the openbox window manager, driven by xdotool), so no
# display is needed. Between the two, each fuzz target runs for a fixed
# number of inputs.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh build-essential cmake ninja-build libgtest-dev libwxgtk3.2-dev libx11-dev \
  xvfb xauth openbox xdotool x11-utils groff desktop-file-utils appstream nlohmann-json3-dev \
  libpng-dev

jobs=$(nproc)
cmake -S . -B build/release -DCMAKE_BUILD_TYPE=Release -DZUR_BUILD_GUI=ON
cmake --build build/release -j "$jobs"
ctest --test-dir build/release --output-on-failure

scripts/fuzz.sh

cmake -S . -B build/sanitize -DCMAKE_BUILD_TYPE=Debug -DZUR_SANITIZE=ON -DZUR_BUILD_GUI=ON
cmake --build build/sanitize -j "$jobs"
ctest --test-dir build/sanitize --output-on-failure
