#!/bin/sh
# SPDX-License-Identifier: MIT
# Takes the picture of the page in docs/page.png: the page's test at
# 1280 × 800 in headless Chromium, with the broken and jungle examples
# picked, a config problem's line shown beside the whole map. Builds the
# site first (the web preset); installs what it needs when it is missing.
set -eu
cd "$(dirname "$0")/.."
scripts/install-deps.sh cmake ninja-build emscripten chromium nlohmann-json3-dev
command -v node >/dev/null && command -v npm >/dev/null || scripts/install-deps.sh nodejs npm
export NODE_PATH=/usr/share/nodejs
cmake --preset web
cmake --build --preset web -j2 --target zur_site
cd web
PLAYWRIGHT_SKIP_BROWSER_DOWNLOAD=1 npm ci --no-audit --no-fund
ZUR_WEB_SCREENSHOT="$PWD/../docs/page.png" npx playwright test views -g '1280'
