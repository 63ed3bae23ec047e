#!/bin/sh
# SPDX-License-Identifier: MIT
# The browser build's tests: installs what they need (Debian's emscripten
# and chromium, the pinned Playwright), builds the web preset, runs the
# engine's unit tests under Node and the page's tests in headless Chromium
# against the native programs of build/release (or ZUR_REFERENCE_ZURCONV,
# with zurlev beside it, or ZUR_REFERENCE_ZURLEV). With --deps-only it
# installs what they need and stops.
set -eu
cd "$(dirname "$0")/.."
scripts/install-deps.sh cmake ninja-build emscripten chromium nlohmann-json3-dev googletest
# Node and npm may come from elsewhere than Debian's packages; only when
# either is missing are Debian's installed.
command -v node >/dev/null && command -v npm >/dev/null || scripts/install-deps.sh nodejs npm
(cd web && PLAYWRIGHT_SKIP_BROWSER_DOWNLOAD=1 npm ci --no-audit --no-fund)
[ "${1:-}" = --deps-only ] && exit 0
export ZUR_REFERENCE_ZURCONV="${ZUR_REFERENCE_ZURCONV:-$PWD/build/release/cli/zurconv}"
if [ ! -x "$ZUR_REFERENCE_ZURCONV" ]; then
  echo "test-web.sh: the native zurconv to compare with is missing: $ZUR_REFERENCE_ZURCONV" >&2
  echo "(build the release preset first, or set ZUR_REFERENCE_ZURCONV)" >&2
  exit 1
fi
export NODE_PATH=/usr/share/nodejs
cmake --preset web
cmake --build --preset web -j2
ctest --preset web
cd web
npx playwright test
