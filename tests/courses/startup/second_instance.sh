#!/usr/bin/env bash
# A second player started for the same course while the first runs ends at
# once, silently, with status 0; the same course under another file name
# starts.
#   second_instance.sh BUILD_DIR
set -euo pipefail
build=$(cd "$1" && pwd)
work=$(mktemp -d "${TMPDIR:-/tmp}/vork-instance.XXXXXX")
trap 'kill $first 2>/dev/null || true; rm -rf "$work"' EXIT
mkdir -p "$work/media" "$work/users" "$work/runtime" "$work/config"
chmod 700 "$work/runtime"
touch "$work/media/media.dir"
cat >"$work/course.vkc" <<'COURSE'
void main() { sys.changeScene(waiting); }
scene waiting(phase) {
  if (phase == SHOWN) {
    sys.showInfo("running");
    sys.sleep(4000);
    sys.changeScene(0);
  }
}
COURSE
"$build/vkc" "$work/course.vkc" -o "$work/course.vkbc"
cp "$work/course.vkbc" "$work/other.vkbc"
run() {
  XDG_RUNTIME_DIR="$work/runtime" XDG_CONFIG_HOME="$work/config" HOME="$work" \
    QT_QPA_PLATFORM=offscreen SDL_AUDIODRIVER=dummy \
    "$build/vork" --image "$work/$1.vkbc" --transcript "$work/$2" --timeout 20000
}
run course first &
first=$!
for _ in $(seq 100); do grep -q running "$work/first" 2>/dev/null && break; sleep 0.1; done
grep -q running "$work/first" || { echo "the first player did not start"; exit 1; }

run course second
[ ! -s "$work/second" ] || { echo "the second instance said something:"; cat "$work/second"; exit 1; }
run other third
grep -q running "$work/third" || { echo "the course under another name did not start"; exit 1; }
wait $first
echo "second instance: ok"
