#!/usr/bin/env bash
# Runs a whole-course test (of tests/courses or tests/desktop) with the
# stage at zoom 2: the same events (in stage pixels) must give the same
# transcript. The course's folder is mirrored with links so that its setup
# finds its neighbours.
#   run_zoomed.sh BUILD_DIR tests/courses/NAME.vkc
set -euo pipefail
build=$(cd "$1" && pwd)
source=$(cd "$(dirname "$2")" && pwd)/$(basename "$2")
courses=$(dirname "$source")
tests=$(dirname "$courses")
name=$(basename "${source%.*}")
mirror=$(mktemp -d "${TMPDIR:-/tmp}/vork-zoomed-$name.XXXXXX")
trap 'rm -rf "$mirror"' EXIT
for entry in "$tests"/*; do
  [ "$entry" = "$courses" ] || ln -s "$entry" "$mirror/$(basename "$entry")"
done
folder="$mirror/$(basename "$courses")"
mkdir "$folder"
for file in "$courses"/*; do ln -s "$file" "$folder/$(basename "$file")"; done
rm -f "$folder/$name.args"
{ [ -f "$courses/$name.args" ] && tr -d '\n' <"$courses/$name.args" && printf ' '; echo "--zoom 2"; } \
  >"$folder/$name.args"
bash "$tests/courses/run_course.sh" "$build" "$folder/$(basename "$source")"
