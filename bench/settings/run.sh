#!/usr/bin/env bash
# Builds the learners' store optimised and prints what a routine writing
# 1,000 and 10,000 settings costs per write, their ratio (target <= 1.2: a
# store written anew on every change grows with the count), the whole
# 10,000-setting routine (target well under 100 ms) and how the cost of one
# save grows with the store (per item, target <= 1.2). One line per figure:
#   NAME: VALUE (target T) holds|misses
#   bench/settings/run.sh [FOLDER]   (the store's folder; default the temp folder)
set -euo pipefail
cd "$(dirname "$0")/../.."
build=build-bench-settings
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DVORK_TESTS=OFF -DVORK_CORE_ONLY=ON >/dev/null
cmake --build "$build" --target vork_users >/dev/null
c++ -std=c++20 -O2 -DNDEBUG -I src bench/settings/bench_settings.cpp \
  $(find "$build/src" -name libvork_users.a) $(find "$build/src" -name libvork_text_utils.a) \
  $(find "$build/src" -name libvork_platform.a) -o "$build/bench_settings"
"$build/bench_settings" "$@"
