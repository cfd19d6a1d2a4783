#!/usr/bin/env bash
# Plays the demo course from its title to its last scene with the mouse and
# the keyboard, and once with the keyboard alone, headless, and checks what
# the learner is told and what is kept in their settings. The quiz draws its words at random: VORK_SEED fixes the draw.
# With SCREENSHOTS=DIR it also leaves a picture of every scene there.
#   playthrough.sh BUILD_DIR
set -euo pipefail
build=$(cd "$1" && pwd)
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d "${TMPDIR:-/tmp}/vork-demo.XXXXXX")
trap 'rm -rf "$work"' EXIT
cp -r "$build/courses/demo" "$work/demo"
mkdir -p "$work/runtime" "$work/config"
chmod 700 "$work/runtime"

# The lesson pack's download site, on a free port; the course's copy of its
# address is changed to match.
python3 "$here/../../scripts/serve-folder.py" "$build/courses/demo-site" 0 "$work/port" &
site=$!
trap 'kill $site 2>/dev/null; rm -rf "$work"' EXIT
for _ in $(seq 100); do [ -f "$work/port" ] && break; sleep 0.05; done
"$build/vka" extract "$work/demo/demo.vka" "$work/resources" >/dev/null
printf 'http://127.0.0.1:%s/demo-pack.rar\r\n' "$(cat "$work/port")" >"$work/resources/pack-url.txt"
"$build/vka" pack "$work/resources" "$work/demo/demo.vka" --method 2 >/dev/null

play() {  # play EVENTS ANSWERS TRANSCRIPT
  XDG_RUNTIME_DIR="$work/runtime" XDG_CONFIG_HOME="$work/config" HOME="$work" \
    QT_QPA_PLATFORM=offscreen SDL_AUDIODRIVER=dummy VORK_SEED=7 VORK_SCREENSHOTS="${SCREENSHOTS:-}" \
    "$work/demo/demo" --transcript "$3" --events "$1" --answers "$2" --timeout 90000
}

# First visit: a new learner does every activity of the menu: every word in
# turn, the review and the matching game with one wrong drop, the quiz with
# one wrong answer, the gap-fill with one wrong gap, the crossword, the
# dictation, the video, the reading page, whose question is answered "yes",
# and the lesson pack, downloaded and installed beside the course; then the
# score.
play "$here/playthrough.events" "yes,yes" "$work/first"
cat >"$work/expected" <<'EOF'
dialog: ask.img yes|no
question: This part of Primeras palabras is currently NOT installed.\n\nWould you like to install it now (requires Internet connection)?
info: Installation complete. This part of Primeras palabras is now available.
info: Well done, Ana! Words met: 10. Matching mistakes: 1. Quiz: 2 of 3 right. Gaps: all 4 right. Crossword: solved. Dictation: at least half written. Video: watched. Reading: understood. Lesson pack: installed.
EOF
diff -u "$work/expected" "$work/first"
[ -f "$work/demo/demo.x01" ] || { echo "the lesson pack was not installed beside the course"; exit 1; }
store="$work/demo/users/Ana.vkr"
for key in demo.furthest quiz.txt; do
  grep -aq "$key" "$store" || { echo "no $key kept in $store"; exit 1; }
done

# Second visit: the learner picks their name from the list; the course knows
# they have met every word and starts again from the first without asking;
# back on the menu, Escape shows the score of this visit.
SCREENSHOTS= play "$here/revisit.events" "" "$work/second"   # pictures of the first visit only
printf 'info: Well done, Ana! Words met: 10.\n' | diff -u - "$work/second"
# A third learner does every activity but the lesson pack (installed by
# now) with the keyboard alone.
SCREENSHOTS= play "$here/keyboard.events" "yes" "$work/third"
cat >"$work/expected" <<'EOF'
dialog: ask.img yes|no
info: Well done, Ben! Words met: 10. Matching mistakes: 0. Quiz: 3 of 3 right. Gaps: all 4 right. Crossword: solved. Dictation: at least half written. Video: watched. Reading: understood.
EOF
diff -u "$work/expected" "$work/third"
echo "demo playthrough: ok"
