#!/usr/bin/env bash
# Writes the seed archives with the tests' RAR 4 fixture tool: plain files
# and folders with "\" names, names that try to leave the folder, a link.
#   fuzz/rar_archive/make-corpus.sh BUILD_DIR
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
rar="$1/rar4_fixture"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
printf 'update part' >"$work/part"
printf 'OggS' >"$work/sound"
printf 'payload' >"$work/payload"
mkdir -p "$here/corpus"
"$rar" "$here/corpus/part.rar" "course.x01=$work/part" media/ "media\\say_sol.ogg=$work/sound"
"$rar" "$here/corpus/evil.rar" "fine.txt=$work/part" "..\\..\\evil=$work/payload"
"$rar" "$here/corpus/link.rar" "out->/tmp" "out/x=$work/payload"
