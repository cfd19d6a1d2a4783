#!/usr/bin/env bash
# Times the player from process start to its first scene shown (a course
# that ends right then) against a minimal Qt Widgets program that opens one
# window, both in this run, and prints the ratio (target: at most 1.5).
# Runs on Qt's offscreen platform unless QT_QPA_PLATFORM is set.
#   bench/startup/run.sh
# VORK_BENCH_BUILD=DIR uses vork and vkc already built (Release) in DIR.
set -euo pipefail
cd "$(dirname "$0")/../.."
build=${VORK_BENCH_BUILD:-build-bench-startup}
if [ -z "${VORK_BENCH_BUILD:-}" ]; then
  cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DVORK_TESTS=OFF >/dev/null
  cmake --build "$build" --target vork vkc >/dev/null
fi
c++ -std=c++20 -O2 -fPIC bench/startup/minimal_window.cpp \
  $(pkg-config --cflags --libs Qt6Widgets) -o "$build/minimal_window"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/media" "$work/users" "$work/runtime" "$work/config"
chmod 700 "$work/runtime"
touch "$work/media/media.dir"
"$build/vkc" bench/startup/first_scene.vkc -o "$work/course.vkbc"
export QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen} XDG_RUNTIME_DIR="$work/runtime" \
  XDG_CONFIG_HOME="$work/config" SDL_AUDIODRIVER=dummy

# Best wall time of ten runs, in microseconds.
best_us() {
  local best= start end t
  for _ in $(seq 10); do
    start=$(date +%s%N)
    "$@" >/dev/null 2>&1
    end=$(date +%s%N)
    t=$(( (end - start) / 1000 ))
    if [ -z "$best" ] || [ "$t" -lt "$best" ]; then best=$t; fi
  done
  echo "$best"
}

player=$(best_us "$build/vork" --image "$work/course.vkbc" --transcript "$work/transcript")
reference=$(best_us "$build/minimal_window")
awk -v p="$player" -v r="$reference" 'BEGIN {
  printf "start to first scene: player %.1f ms, minimal Qt window %.1f ms, ratio %.2f (target <= 1.5)\n",
         p / 1000, r / 1000, p / r }'
