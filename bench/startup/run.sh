#!/usr/bin/env bash
# Times the player from process start to its first scene shown (a course
# that ends right then) against a minimal Qt Widgets program that opens one
# window, both in this run, and prints the ratio (target: at most 1.5): on
# Qt's offscreen platform, and on xcb under a virtual X server (Xvfb) when
# xvfb-run is there. With QT_QPA_PLATFORM set, on that platform only.
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
export XDG_RUNTIME_DIR="$work/runtime" XDG_CONFIG_HOME="$work/config" SDL_AUDIODRIVER=dummy
export build work

# Wall time of one run of the command, in microseconds.
wall_us() {
  local start end
  start=$(date +%s%N)
  "$@" >/dev/null 2>&1
  end=$(date +%s%N)
  echo $(( (end - start) / 1000 ))
}

# Both programs on the platform in QT_QPA_PLATFORM, best wall time of
# fifteen runs each, taken in turns so that other work on the machine
# weighs on both alike: the times, then the figure line that bench/run-all
# collects.
measure() {
  local player= reference= t
  for _ in $(seq 15); do
    t=$(wall_us "$build/vork" --image "$work/course.vkbc" --transcript "$work/transcript")
    if [ -z "$player" ] || [ "$t" -lt "$player" ]; then player=$t; fi
    t=$(wall_us "$build/minimal_window")
    if [ -z "$reference" ] || [ "$t" -lt "$reference" ]; then reference=$t; fi
  done
  awk -v p="$player" -v r="$reference" -v platform="$QT_QPA_PLATFORM" 'BEGIN {
    printf "start to first scene (%s): player %.1f ms, minimal Qt window %.1f ms\n", platform, p / 1000, r / 1000
    ratio = p / r
    printf "startup %s: %.2f (target <= 1.5) %s\n", platform, ratio, ratio <= 1.5 ? "holds" : "misses" }'
}

if [ -n "${QT_QPA_PLATFORM:-}" ]; then
  measure
  exit
fi
QT_QPA_PLATFORM=offscreen measure
if command -v xvfb-run >/dev/null; then
  QT_QPA_PLATFORM=xcb xvfb-run -a -s "-screen 0 1280x1024x24" \
    bash -c "$(declare -f wall_us measure); measure"
else
  echo "no xvfb-run (scripts/install-deps.sh installs it): xcb not measured" >&2
  echo "startup xcb: not measured (target <= 1.5) misses"
fi
