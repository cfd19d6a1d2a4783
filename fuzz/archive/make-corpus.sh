#!/usr/bin/env bash
# Writes the seed archives (one per scrambling method) with the vka tool.
#   fuzz/archive/make-corpus.sh BUILD_DIR
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
vka="$1/vka"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/course/pics" "$here/corpus"
printf 'setSceneWidth 800\r\n' >"$work/course/vork.cfg"
printf 'OggS sound' >"$work/course/hello.ogg"
printf 'BM picture' >"$work/course/pics/Title.bmp"
for method in 0 1 2 3; do
  "$vka" pack "$work/course" "$here/corpus/method$method.vka" --method "$method"
done
