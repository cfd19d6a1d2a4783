#!/usr/bin/env bash
# Runs one whole-course test: assembles (or compiles) NAME.vkasm / NAME.vkc,
# lays out a course folder (media with media.dir, users), runs the real
# player headless and compares its transcript and exit status with
# NAME.expected. Optional beside it: NAME.events (scripted input),
# NAME.answers (one line: the --answers list), NAME.args (one line of further
# arguments; relative file names in it mean the course folder, where the
# player is started), NAME.setup (a bash snippet run in the course folder
# before the player starts, with $COURSE, $BUILD, $SOURCE_DIR (the test's
# own folder), $TESTS (the tests folder) and $COURSE_TOOLS (the picture,
# sound and step writers in tests/courses/tools) set; it may copy the player
# to ./player/vork to run a copy). In the transcript the course folder is
# written @DIR@ (and @UPPERDIR@ in upper case). The run ends as hung after
# VORK_COURSE_TIMEOUT_MS (20000 by default; longer under the sanitizers).
#   run_course.sh BUILD_DIR SOURCE
set -euo pipefail
build=$(cd "$1" && pwd)
source=$2
tests=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
dir=$(cd "$(dirname "$source")" && pwd)
name=$(basename "${source%.*}")
work=$(mktemp -d "${TMPDIR:-/tmp}/vork-course-$name.XXXXXX")
trap 'rm -rf "$work"' EXIT

course="$work/$name"
mkdir -p "$work/media" "$work/users" "$work/runtime" "$work/config"
chmod 700 "$work/runtime"
touch "$work/media/media.dir"
case "$source" in
  *.vkasm) "$build/vkasm" "$source" -o "$course.vkbc" ;;
  *.vkc) "$build/vkc" "$source" -o "$course.vkbc" ;;
esac
if [ -f "$dir/$name.setup" ]; then
  (cd "$work" && COURSE="$course" BUILD="$build" SOURCE_DIR="$dir" TESTS="$tests" \
    COURSE_TOOLS="$tests/courses/tools" bash "$dir/$name.setup")
fi

args=(--image "$course.vkbc" --transcript "$work/transcript" --timeout "${VORK_COURSE_TIMEOUT_MS:-20000}")
[ -f "$dir/$name.events" ] && args+=(--events "$dir/$name.events")
[ -f "$dir/$name.answers" ] && args+=(--answers "$(head -n1 "$dir/$name.answers")")
if [ -f "$dir/$name.args" ]; then
  read -r -a extra <"$dir/$name.args"
  args+=("${extra[@]}")
fi
player="$build/vork"
[ -x "$work/player/vork" ] && player="$work/player/vork"

# The player starts in the course folder: that is its launch directory.
set +e
(cd "$work" && XDG_RUNTIME_DIR="$work/runtime" XDG_CONFIG_HOME="$work/config" HOME="$work" \
  QT_QPA_PLATFORM=offscreen SDL_AUDIODRIVER=dummy VORK_SEED=1 \
  "$player" "${args[@]}" >"$work/stdout" 2>"$work/stderr")
status=$?
set -e
echo "exit: $status" >>"$work/transcript"
upper=$(printf '%s' "$work" | tr '[:lower:]' '[:upper:]')
sed -i -e "s|$work|@DIR@|g" -e "s|$upper|@UPPERDIR@|g" "$work/transcript"

if ! diff -u "$dir/$name.expected" "$work/transcript"; then
  echo "--- player's standard error:"
  cat "$work/stderr"
  exit 1
fi
