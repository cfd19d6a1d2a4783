#!/usr/bin/env bash
# Makes the demo course's lesson pack, the part a learner downloads from
# inside the course: the files of courses/demo/pack as the update part
# demo.x01 (a course archive), inside the RAR archive the course downloads,
# courses/demo/site/demo-pack.rar. The result is committed; run this again
# only to change the pack. It needs a build with the tests (vka and the
# stored-RAR writer rar4_fixture).
#   scripts/make-demo-pack.sh [BUILD_DIR]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
cmake --build "$build" --target vka rar4_fixture >/dev/null
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$build/vka" pack courses/demo/pack "$work/demo.x01" --method 2 >/dev/null
mkdir -p courses/demo/site
"$build/rar4_fixture" courses/demo/site/demo-pack.rar "demo.x01=$work/demo.x01"
ls -l courses/demo/site/demo-pack.rar
