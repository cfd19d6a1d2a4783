#!/usr/bin/env bash
# Adds seed images compiled with vkc from the example courses and a few
# whole-course tests, so that the fuzzer starts from the code the compiler
# really writes (loops, string joins, message sends, event routines).
#   fuzz/image/make-corpus.sh BUILD_DIR
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root="$here/../.."
vkc="$1/vkc"
for source in "$root"/examples/*.vkc "$root"/tests/courses/machine/{soak_scenes,timer_ticks,scene_change_order}.vkc; do
  "$vkc" "$source" -o "$here/corpus/vkc-$(basename "${source%.vkc}").vkbc"
done
