#!/usr/bin/env bash
# Builds the script-object layer optimised and prints how the cost per object
# of destroying every object grows from a small run to a ten times larger one
# (target: at most 3; a quadratic shutdown gives 10 or more).
#   bench/objects/run.sh
set -euo pipefail
cd "$(dirname "$0")/../.."
build=build-bench-objects
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DVORK_TESTS=OFF >/dev/null
cmake --build "$build" --target vork_bridge >/dev/null
c++ -std=c++20 -O2 -DNDEBUG -I src -I "$build/generated" bench/objects/bench_objects.cpp \
  "$build/src/bridge/libvork_bridge.a" "$build/src/vm/libvork_vm.a" \
  "$build/src/platform/libvork_platform.a" -o "$build/bench_objects"
"$build/bench_objects"
