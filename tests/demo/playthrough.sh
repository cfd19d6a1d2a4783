#!/usr/bin/env bash
# Plays the demo course from its title to its last scene with the keyboard,
# headless, and checks what the learner is told and what is kept in their
# settings. With SCREENSHOTS=DIR it also leaves a picture of every scene there.
#   playthrough.sh BUILD_DIR
set -euo pipefail
build=$(cd "$1" && pwd)
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d "${TMPDIR:-/tmp}/vork-demo.XXXXXX")
trap 'rm -rf "$work"' EXIT
cp -r "$build/courses/demo" "$work/demo"
mkdir -p "$work/runtime" "$work/config"
chmod 700 "$work/runtime"

play() {  # play EVENTS ANSWERS TRANSCRIPT
  XDG_RUNTIME_DIR="$work/runtime" XDG_CONFIG_HOME="$work/config" HOME="$work" \
    QT_QPA_PLATFORM=offscreen SDL_AUDIODRIVER=dummy VORK_SCREENSHOTS="${SCREENSHOTS:-}" \
    "$work/demo/demo" --transcript "$3" --events "$1" --answers "$2" --timeout 60000
}

# First visit: every word in turn, to the end.
play "$here/playthrough.events" "" "$work/first"
printf 'info: Well done! You have met all 10 words.\n' | diff -u - "$work/first"
store="$work/config/kestrova/kestrova_demo.vkr"
grep -aq 'demo.furthest' "$store" || { echo "no progress kept in $store"; exit 1; }

# Second visit: the course knows the learner has finished and starts again
# from the first word without asking.
play "$here/revisit.events" "" "$work/second"
diff -u /dev/null "$work/second"
echo "demo playthrough: ok"
