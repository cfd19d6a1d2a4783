#!/usr/bin/env bash
# Builds the archive library optimised, then runs the archive benchmark in a
# scratch folder. Prints the open time, the lookup rate and the descrambled
# read throughput as a ratio to plain file reads measured in the same run.
set -euo pipefail
cd "$(dirname "$0")/../.."
build=build-bench-archives
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DVORK_CORE_ONLY=ON -DVORK_TESTS=OFF >/dev/null
cmake --build "$build" --target vork_archives >/dev/null
c++ -std=c++20 -O2 -DNDEBUG -I src bench/archives/bench_archives.cpp \
  "$build/src/archives/libvork_archives.a" "$build/src/platform/libvork_platform.a" \
  -o "$build/bench_archives"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$build/bench_archives" "$work"
