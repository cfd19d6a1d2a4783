#!/usr/bin/env bash
# Sets up, builds and starts the demo course in a window.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
cmake -S . -B build -G Ninja >/dev/null
cmake --build build -j "$(nproc)"
# The course's lesson pack downloads from a site on this machine, standing
# in for the course's web site.
python3 scripts/serve-folder.py build/courses/demo-site 8642 &
site=$!
trap 'kill $site 2>/dev/null' EXIT
build/courses/demo/demo "$@"
