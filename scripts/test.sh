#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Installs what is missing, builds the project with its dialog and runs its
# tests: every test in a normal build, and the C++ test programs again in a
# build with AddressSanitizer and UndefinedBehaviorSanitizer, whose fuzz
# targets then run for a fixed number of inputs. The dialog's tests run on a
# virtual screen (xvfb-run; one under the openbox window manager, driven by
# xdotool), so no display is needed. Then the browser build
# and its page are tested in headless Chromium, and the Windows programs are
# cross-built and their tests run under Wine, both compared with the Linux
# programs of the normal build. Ends with the time each stage took.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh build-essential cmake ninja-build libgtest-dev libwxgtk3.2-dev libgtk-3-dev libx11-dev \
  xvfb xauth openbox xdotool x11-utils groff desktop-file-utils appstream nlohmann-json3-dev \
  libpng-dev clang libclang-rt-14-dev

mkdir -p build
times=build/test-times
: >"$times"
# The times are shown however the run ends, a failed stage's among them.
trap 'sed "s/^/scripts\/test.sh: /" "$times"' EXIT
# Runs the command after the stage's name $1, and notes how long it took.
stage() {
  local name=$1 start=$SECONDS
  shift
  local status=0 failed=""
  "$@" || status=$?
  [ "$status" = 0 ] || failed=" (failed)"
  printf '%-16s %4d s%s\n' "$name" $((SECONDS - start)) "$failed" >>"$times"
  return "$status"
}

# The browser's and Windows' packages download and unpack while the Linux
# builds compile; their stages wait for them.
stage "later packages" nice -n 10 sh -c 'scripts/test-web.sh --deps-only && scripts/test-windows.sh --deps-only' \
  >build/later-packages.log 2>&1 &
later_packages=$!
stage "release build" sh -c 'cmake --preset release && cmake --build --preset release'
# The release tests wait for windows most of their time: the sanitizer
# build runs beside them at a lower priority, so that they keep their pace;
# their output follows the build's.
stage "release tests" ctest --preset release >build/release-tests.log 2>&1 &
release_tests=$!
build_status=0
stage "sanitize build" nice -n 10 sh -c 'cmake --preset sanitize && cmake --build --preset sanitize' ||
  build_status=$?
tests_status=0
wait "$release_tests" || tests_status=$?
cat build/release-tests.log
[ "$tests_status" = 0 ] || exit "$tests_status"
[ "$build_status" = 0 ] || exit "$build_status"
stage "sanitize tests" ctest --preset sanitize
stage "fuzz" scripts/fuzz.sh --in build/sanitize
packages_status=0
wait "$later_packages" || packages_status=$?
cat build/later-packages.log
[ "$packages_status" = 0 ] || exit "$packages_status"
# The browser build and the page in headless Chromium, compared with the
# Linux programs just built.
stage "web" env ZUR_REFERENCE_ZURCONV="$PWD/build/release/cli/zurconv" scripts/test-web.sh
# The Windows programs under Wine, compared with the Linux ones just built.
stage "windows" env ZUR_REFERENCE_ZURCONV="$PWD/build/release/cli/zurconv" scripts/test-windows.sh
