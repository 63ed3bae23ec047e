#!/usr/bin/env bash
# Takes a picture of the converter dialog on a virtual screen into
# docs/dialog.png. Builds zurconv-gui first if needed (in build/screenshot,
# or BUILD_DIR); installs what it needs when it is missing.
set -euo pipefail
cd "$(dirname "$0")/.."

build_dir=${BUILD_DIR:-build/screenshot}
title="ZUR level converter v1.0"

scripts/install-deps.sh build-essential cmake libwxgtk3.2-dev nlohmann-json3-dev imagemagick xvfb xauth

if [ ! -x "$build_dir/frontend/zurconv-gui" ]; then
  cmake -S . -B "$build_dir" -DCMAKE_BUILD_TYPE=Release -DZUR_BUILD_GUI=ON -DZUR_BUILD_TESTS=OFF
  cmake --build "$build_dir" -j 2 --target zurconv-gui
fi

mkdir -p docs
# Runs on the virtual screen: starts the dialog, waits until its window can
# be captured, and ends it.
xvfb-run -a -s "-screen 0 1024x768x24" bash -c '
  "$1" & pid=$!
  trap "kill $pid 2>/dev/null" EXIT
  for _ in $(seq 50); do
    sleep 0.2
    if import -window "$2" "$3" 2>/dev/null; then
      sleep 1  # the first painting
      import -window "$2" "$3"
      exit 0
    fi
  done
  echo "screenshot.sh: the dialog did not appear" >&2
  exit 1
' screenshot "$build_dir/frontend/zurconv-gui" "$title" docs/dialog.png
echo "docs/dialog.png written"
