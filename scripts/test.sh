#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Installs what is missing, builds the project with its dialog and runs every
# test twice: in a normal build, and in a build with AddressSanitizer and
# UndefinedBehaviorSanitizer. The dialog's tests run on a virtual screen
# (xvfb-run; one under the openbox window manager, driven by xdotool), so no
# display is needed. Between the two, each fuzz target runs for a fixed
# number of inputs. Last, the Windows programs are cross-built and their
# tests run under Wine, compared with the Linux programs of the normal build.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh build-essential cmake ninja-build libgtest-dev libwxgtk3.2-dev libgtk-3-dev libx11-dev \
  xvfb xauth openbox xdotool x11-utils groff desktop-file-utils appstream nlohmann-json3-dev \
  libpng-dev

jobs=$(nproc)
cmake --preset release
cmake --build --preset release -j "$jobs"
ctest --preset release

scripts/fuzz.sh

cmake --preset sanitize
cmake --build --preset sanitize -j "$jobs"
ctest --preset sanitize

# The Windows programs under Wine, compared with the Linux ones just built.
ZUR_REFERENCE_ZURCONV="$PWD/build/release/cli/zurconv" scripts/test-windows.sh
