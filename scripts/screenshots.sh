#!/usr/bin/env bash
# Plays the demo course headlessly and saves a picture of every scene into
# docs/screenshots (the pictures the README shows).
#   scripts/screenshots.sh [BUILD_DIR]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
if [ ! -x "$build/courses/demo/demo" ]; then
  bash scripts/install-deps.sh
  cmake -S . -B "$build" -G Ninja >/dev/null
  cmake --build "$build" -j "$(nproc)" --target demo_course
fi
out=$PWD/docs/screenshots
rm -rf "$out"
mkdir -p "$out"
SCREENSHOTS=$out bash tests/demo/playthrough.sh "$build" >/dev/null
ls "$out"
