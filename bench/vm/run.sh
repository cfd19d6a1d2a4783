#!/usr/bin/env bash
# Runs the bytecode machine and Lua 5.4 on the same two workloads, one after
# the other in this run, and prints the machine's instructions per second and
# its time relative to Lua (ratio < 1: faster than Lua), then what each
# bytecode instruction costs in x86 instructions (callgrind.sh).
#   bench/vm/run.sh
# VORK_BENCH_BUILD=DIR uses vkasm and vkrun already built in DIR;
# VORK_BENCH_RUNS=N times each program N times (default 9).
set -euo pipefail
cd "$(dirname "$0")/../.."
here=bench/vm

if ! command -v lua5.4 >/dev/null; then
  sudo=; [ "$(id -u)" -ne 0 ] && sudo=sudo
  $sudo apt-get install -y -qq lua5.4 >/dev/null
fi

build=${VORK_BENCH_BUILD:-build-bench}
if [ -z "${VORK_BENCH_BUILD:-}" ]; then
  cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DVORK_CORE_ONLY=ON -DVORK_TESTS=OFF >/dev/null
  cmake --build "$build" --target vkasm vkrun >/dev/null
fi

# Processor time (user + system) of one run, in microseconds. Processor
# time rather than wall time, so that other load on the machine disturbs the
# comparison less.
time_us() {
  { TIMEFORMAT='%3U %3S'; time "$@" >/dev/null; } 2>&1 | awk '{ printf "%d", ($1 + $2) * 1e6 }'
}
smaller() { if [ -z "$1" ] || [ "$2" -lt "$1" ]; then echo "$2"; else echo "$1"; fi; }

# The smallest of VORK_BENCH_RUNS runs (default 9) of each, the two programs
# taking turns, so that a change in the machine's load or clock during the
# measurement touches both alike.
runs=${VORK_BENCH_RUNS:-9}
for name in fib strings; do
  image="$build/bench-$name.vkbc"
  "$build/vkasm" "$here/$name.vkasm" -o "$image"
  vork_out=$("$build/vkrun" "$image")
  lua_out=$(lua5.4 "$here/$name.lua")
  if [ "$vork_out" != "$lua_out" ]; then
    echo "$name: results differ (vork: $vork_out, lua: $lua_out)" >&2
    exit 1
  fi
  instructions=$("$build/vkrun" "$image" --count 2>&1 >/dev/null | sed -n 's/^instructions: //p')
  vork_us= lua_us=
  for ((run = 0; run < runs; run++)); do
    vork_us=$(smaller "$vork_us" "$(time_us "$build/vkrun" "$image")")
    lua_us=$(smaller "$lua_us" "$(time_us lua5.4 "$here/$name.lua")")
  done
  awk -v n="$name" -v i="$instructions" -v v="$vork_us" -v l="$lua_us" 'BEGIN {
    printf "%-8s vork %.3f s, %.0f M instructions/s (%d instructions) | lua5.4 %.3f s | ratio %.2f\n",
      n, v / 1e6, i / (v / 1e6) / 1e6, i, l / 1e6, v / l
    printf "vm %s time against lua5.4: %.2f (target 0.7) %s\n", n, v / l, v / l <= 0.7 ? "holds" : "misses" }'
done

# The x86 instructions per bytecode instruction, counted by callgrind.
VORK_BENCH_BUILD="$build" "$here/callgrind.sh"
