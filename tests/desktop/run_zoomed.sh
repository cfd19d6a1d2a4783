#!/usr/bin/env bash
# Runs a whole-course test of tests/courses with the stage at zoom 2: the
# same events (in stage pixels) must give the same transcript. The test's
# own files are linked into a scratch folder beside its NAME.args with
# "--zoom 2" added.
#   run_zoomed.sh BUILD_DIR tests/courses/TOPIC/NAME.vkc
set -euo pipefail
build=$(cd "$1" && pwd)
source=$(cd "$(dirname "$2")" && pwd)/$(basename "$2")
folder=$(dirname "$source")
tests=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
name=$(basename "${source%.*}")
mirror=$(mktemp -d "${TMPDIR:-/tmp}/vork-zoomed-$name.XXXXXX")
trap 'rm -rf "$mirror"' EXIT
for file in "$folder"/*; do ln -s "$file" "$mirror/$(basename "$file")"; done
rm -f "$mirror/$name.args"
{ [ -f "$folder/$name.args" ] && tr -d '\n' <"$folder/$name.args" && printf ' '; echo "--zoom 2"; } \
  >"$mirror/$name.args"
bash "$tests/courses/run_course.sh" "$build" "$mirror/$(basename "$source")"
