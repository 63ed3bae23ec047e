#!/bin/sh
# SPDX-License-Identifier: MIT
# Installs what is missing, builds the level workbench for the browser
# (build/web/site/) and serves it at http://localhost:8080 (or the port
# given); with --zip, zips the site for a static host instead
# (build/web/zurconv-web-VERSION.zip).
set -eu
cd "$(dirname "$0")/.."
# The web preset configures the engine's tests too, from GoogleTest's sources.
scripts/install-deps.sh cmake ninja-build emscripten nlohmann-json3-dev googletest python3
export NODE_PATH=/usr/share/nodejs
cmake --preset web
if [ "${1:-}" = --zip ]; then
  exec cmake --build --preset web --target zur_site_zip
fi
cmake --build --preset web --target zur_site
exec python3 web/serve.py build/web/site "${1:-8080}"
