#!/usr/bin/env bash
# The long soak run: the course tests/courses/machine/soak_scenes.vkc with SCENES
# scene changes (default 10,000) in the real player, headless, sound through
# SDL's disk driver. Prints live objects, resident memory and open files at
# the first, the middle and the last scene, and fails unless the course ends
# normally with the same live objects and open files at all three and the
# memory grew by no more than the allowance below after the first half.
#   tests/soak/run-soak.sh BUILD_DIR [SCENES]
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
courses="$here/../courses/machine"
build=$(cd "$1" && pwd)
scenes=${2:-10000}
# The first scenes warm up the caches of Qt, fontconfig and the allocator;
# after that the second half may not grow by more than this.
second_half_allowance_kb=2048

work=$(mktemp -d "${TMPDIR:-/tmp}/vork-soak.XXXXXX")
trap 'rm -rf "$work"' EXIT
sed "s/^const SCENES = .*/const SCENES = $scenes;/" "$courses/soak_scenes.vkc" >"$work/soak_long.vkc"
cp "$courses/soak_scenes.setup" "$work/soak_long.setup"
echo "--timeout $((scenes * 60 + 60000))" >"$work/soak_long.args"
# The same live objects and trail as the short run's first and last scenes.
first=$(sed -n 1p "$courses/soak_scenes.expected")
last=$(sed -n 3p "$courses/soak_scenes.expected")
{
  echo "$first"
  sed "s/scene [0-9]*:/scene $((scenes / 2)):/" <<<"$last"
  sed "s/scene [0-9]*:/scene $scenes:/" <<<"$last"
  echo "exit: 0"
} >"$work/soak_long.expected"

export SOAK_REPORT="$work/report" SOAK_SAMPLER="$here/sample.sh"
started=$(date +%s)
status=0
bash "$here/../courses/run_course.sh" "$build" "$work/soak_long.vkc" || status=$?
echo "soak: $scenes scene changes in $(($(date +%s) - started)) s"
echo "soak: scene  live objects  RSS (kB)  open files"
awk '{ printf "soak: %5d  %12d  %8d  %10d\n", $1, $2, $3, $4 }' "$SOAK_REPORT"
[ "$status" -eq 0 ] || { echo "soak: the course did not end as expected"; exit 1; }
[ "$(wc -l <"$SOAK_REPORT")" -eq 3 ] || { echo "soak: not every checkpoint was sampled"; exit 1; }
read -r _ objects1 rss1 fds1 < <(sed -n 1p "$SOAK_REPORT")
read -r _ objects2 rss2 fds2 < <(sed -n 2p "$SOAK_REPORT")
read -r _ objects3 rss3 fds3 < <(sed -n 3p "$SOAK_REPORT")
verdict=0
if [ "$fds1" -ne "$fds2" ] || [ "$fds2" -ne "$fds3" ]; then
  echo "soak: open files changed: $fds1, $fds2, $fds3"; verdict=1
fi
if [ $((rss3 - rss2)) -gt "$second_half_allowance_kb" ]; then
  echo "soak: memory grew by $((rss3 - rss2)) kB in the second half"; verdict=1
fi
[ "$verdict" -eq 0 ] && echo "soak: flat"
exit $verdict
