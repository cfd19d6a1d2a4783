#!/usr/bin/env bash
# Plays the demo course from a fresh, empty home with no XDG variables but
# the runtime directory, and checks where the player wrote: only under the
# XDG base directories (config and data below HOME, the runtime directory)
# and the course's own folders; no temporary file is left behind, nothing
# is written to the working directory, and the course's files stay as they
# were.
#   empty_home.sh BUILD_DIR
set -euo pipefail
build=$(cd "$1" && pwd)
here=$(cd "$(dirname "$0")" && pwd)
demo_events=$(cd "$here/../demo" && pwd)/playthrough.events
work=$(mktemp -d "${TMPDIR:-/tmp}/vork-home.XXXXXX")
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/home" "$work/runtime" "$work/tmp" "$work/cwd"
chmod 700 "$work/runtime"
cp -r "$build/courses/demo" "$work/demo"
(cd "$work/demo" && find . -path ./users -prune -o -type f -print0 | xargs -0 sha256sum | sort) \
  >"$work/course-before"

# Volume keys first, so that the learner's sound settings are written too.
# The lesson pack is left out: installing it writes into the program folder,
# which is what it is for.
{ printf 'wait 100\nkey Ctrl+Down\nkey Ctrl+M\n'; sed '/^key 9$/,/^key Escape$/d' "$demo_events"; } >"$work/events"
(cd "$work/cwd" &&
  env -u XDG_CONFIG_HOME -u XDG_DATA_HOME -u XDG_CACHE_HOME -u XDG_STATE_HOME \
      -u XDG_CONFIG_DIRS -u XDG_DATA_DIRS \
      HOME="$work/home" XDG_RUNTIME_DIR="$work/runtime" TMPDIR="$work/tmp" \
      QT_QPA_PLATFORM=offscreen SDL_AUDIODRIVER=dummy VORK_SEED=7 \
      "$work/demo/demo" --transcript "$work/transcript" --events "$work/events" --timeout 120000)

fail() { echo "empty_home: $*" >&2; exit 1; }
grep -q 'Well done, Ana!' "$work/transcript" || fail "the course did not reach its end: $(cat "$work/transcript")"

stray=$(cd "$work/home" && find . -type f ! -path './.config/*' ! -path './.local/share/*')
[ -z "$stray" ] || fail "written outside the XDG directories of HOME: $stray"
[ -z "$(ls -A "$work/tmp")" ] || fail "left in the temporary folder: $(ls -A "$work/tmp")"
[ -z "$(ls -A "$work/cwd")" ] || fail "written to the working directory: $(ls -A "$work/cwd")"
(cd "$work/demo" && sha256sum --quiet -c "$work/course-before") || fail "the course's files changed"
[ -f "$work/demo/users/Ana.vkr" ] || fail "the learner's settings are not in the course's users folder"
sound="$work/home/.config/kestrova/sound.ini"
[ -f "$sound" ] || fail "the sound settings are not in the config directory"
grep -qx 'Volume=90' "$sound" && grep -qx 'Muted=1' "$sound" ||
  fail "the sound keys were not kept: $(cat "$sound")"
echo "empty_home: ok ($(cd "$work/home" && find . -type f | tr '\n' ' '))"
