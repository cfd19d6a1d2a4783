#!/usr/bin/env bash
# Runs one whole-course test: assembles (or compiles) NAME.vkasm / NAME.vkc,
# lays out a course folder (media with media.dir, users), runs the real
# player headless and compares its transcript and exit status with
# NAME.expected. Optional beside it: NAME.events (scripted input),
# NAME.answers (one line: the --answers list), NAME.setup (a bash snippet run
# in the course folder before the player starts, with $COURSE set).
#   run_course.sh BUILD_DIR SOURCE
set -euo pipefail
build=$1
source=$2
dir=$(dirname "$source")
name=$(basename "${source%.*}")
work=$(mktemp -d "${TMPDIR:-/tmp}/vork-course-$name.XXXXXX")
trap 'rm -rf "$work"' EXIT

course="$work/$name"
mkdir -p "$work/media" "$work/users" "$work/runtime" "$work/config"
touch "$work/media/media.dir"
case "$source" in
  *.vkasm) "$build/vkasm" "$source" -o "$course.vkbc" ;;
  *.vkc) "$build/vkc" "$source" -o "$course.vkbc" ;;
esac
if [ -f "$dir/$name.setup" ]; then
  (cd "$work" && COURSE="$course" BUILD="$build" SOURCE_DIR="$dir" bash "$dir/$name.setup")
fi

args=(--image "$course.vkbc" --transcript "$work/transcript" --timeout 20000)
[ -f "$dir/$name.events" ] && args+=(--events "$dir/$name.events")
[ -f "$dir/$name.answers" ] && args+=(--answers "$(head -n1 "$dir/$name.answers")")

set +e
XDG_RUNTIME_DIR="$work/runtime" XDG_CONFIG_HOME="$work/config" HOME="$work" \
  QT_QPA_PLATFORM=offscreen SDL_AUDIODRIVER=dummy VORK_SEED=1 \
  "$build/vork" "${args[@]}" >"$work/stdout" 2>"$work/stderr"
status=$?
set -e
echo "exit: $status" >>"$work/transcript"

if ! diff -u "$dir/$name.expected" "$work/transcript"; then
  echo "--- player's standard error:"
  cat "$work/stderr"
  exit 1
fi
