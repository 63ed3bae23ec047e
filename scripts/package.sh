#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Builds the Debian package zurconv (the commands, the dialog, its desktop
# files and the manual pages) in build/package, installing what is missing.
set -euo pipefail
cd "$(dirname "$0")/.."

# What configure finds: the dialog's toolkit and GTK (through pkg-config),
# and the engine's JSON and PNG libraries; dpkg-shlibdeps (build-essential's
# dpkg-dev) names the package's dependencies.
scripts/install-deps.sh build-essential cmake pkgconf libwxgtk3.2-dev libgtk-3-dev nlohmann-json3-dev \
  libpng-dev

cmake -S . -B build/package -DCMAKE_BUILD_TYPE=Release -DZUR_BUILD_GUI=ON -DZUR_BUILD_TESTS=OFF
cmake --build build/package -j "$(nproc)"
(cd build/package && cpack -G DEB)
ls build/package/zurconv_*.deb
