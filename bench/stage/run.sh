#!/usr/bin/env bash
# Builds the stage library optimised, then times a drag step of a 64 x 64
# sprite over a stage of 100 sprites against a full-stage repaint, both in
# this run, and prints the ratio (target: the drag step at least 10 times
# cheaper), for picture sprites and for masked frame sprites with captions,
# with the tick of the two slides. Runs on Qt's offscreen platform unless
# QT_QPA_PLATFORM is set.
#   bench/stage/run.sh
set -euo pipefail
cd "$(dirname "$0")/../.."
build=build-bench-stage
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DVORK_TESTS=OFF >/dev/null
cmake --build "$build" --target vork_scene >/dev/null
c++ -std=c++20 -O2 -DNDEBUG -fPIC -I src bench/stage/bench_stage.cpp \
  "$build/src/scene/libvork_scene.a" "$build/src/platform/qt/libvork_platform_qt.a" \
  "$build/src/platform/libvork_platform.a" \
  $(pkg-config --cflags --libs Qt6Widgets) -o "$build/bench_stage"
QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen} "$build/bench_stage"
