#!/usr/bin/env bash
# Sets up, builds and starts the demo course in a window.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
cmake -S . -B build -G Ninja >/dev/null
cmake --build build -j "$(nproc)"
exec build/courses/demo/demo "$@"
