#!/usr/bin/env bash
# x86 instructions the machine spends per bytecode instruction, counted by
# callgrind (repeatable under load, unlike wall-clock time). Start-up and the
# image load are the same for every size, so the script runs each workload at
# two sizes and divides the difference in x86 instructions by the difference
# in bytecode instructions.
#   bench/vm/callgrind.sh
# VORK_BENCH_BUILD=DIR uses vkasm and vkrun already built in DIR.
set -euo pipefail
cd "$(dirname "$0")/../.."
here=bench/vm

if ! command -v valgrind >/dev/null; then
  sudo=; [ "$(id -u)" -ne 0 ] && sudo=sudo
  $sudo apt-get install -y -qq valgrind >/dev/null
fi

build=${VORK_BENCH_BUILD:-build-bench}
if [ -z "${VORK_BENCH_BUILD:-}" ]; then
  cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DVORK_CORE_ONLY=ON -DVORK_TESTS=OFF >/dev/null
  cmake --build "$build" --target vkasm vkrun >/dev/null
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# x86 instructions of one run of image under callgrind.
x86_instructions() {
  valgrind --tool=callgrind --callgrind-out-file="$work/out" "$build/vkrun" "$1" 2>&1 >/dev/null |
    sed -n 's/.*Collected : \([0-9]*\).*/\1/p'
}
bytecode_instructions() {
  "$build/vkrun" "$1" --count 2>&1 >/dev/null | sed -n 's/^instructions: //p'
}

# name, source, the instruction that sets the size (as written there), small
# size, large size, target (empty: printed for information)
measure() {
  local name=$1 source=$2 sizing=$3 small=$4 large=$5 target=$6
  local size x86=() bytecode=()
  for size in "$small" "$large"; do
    grep -q "^\s*$sizing\s*\(;\|$\)" "$source" || { echo "$source: no line '$sizing'" >&2; exit 1; }
    sed "s/^\(\s*\)$sizing\s*\(;\|$\)/\1${sizing% *} $size \2/" "$source" >"$work/$name-$size.vkasm"
    "$build/vkasm" "$work/$name-$size.vkasm" -o "$work/$name-$size.vkbc"
    x86+=("$(x86_instructions "$work/$name-$size.vkbc")")
    bytecode+=("$(bytecode_instructions "$work/$name-$size.vkbc")")
  done
  awk -v n="$name" -v xs="${x86[0]}" -v xl="${x86[1]}" -v bs="${bytecode[0]}" -v bl="${bytecode[1]}" \
    -v t="$target" 'BEGIN {
      r = (xl - xs) / (bl - bs)
      if (t == "") printf "vm %s costs %.2f x86 instructions per bytecode instruction\n", n, r
      else printf "vm %s x86 instructions per bytecode instruction: %.2f (target %s) %s\n",
        n, r, t, r <= t ? "holds" : "misses"
      printf "  %.1f M x86 for %.2f M bytecode instructions, start-up subtracted\n",
        (xl - xs) / 1e6, (bl - bs) / 1e6 }'
}

measure fib "$here/fib.vkasm" "push 32" 20 24 10
measure strings "$here/strings.vkasm" "push 2000000" 20000 100000 ""
