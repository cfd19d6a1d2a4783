#!/usr/bin/env bash
# Sets up, builds and starts the demo course. Until the player and its demo
# course are built, the demo is the sample program run by the console runner.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
cmake -S . -B build -G Ninja >/dev/null
if cmake --build build --target help | grep -q '^vork-demo:'; then
  cmake --build build -j "$(nproc)"
  exec build/vork-demo "$@"
fi
cmake --build build -j "$(nproc)" --target vkasm vkrun
build/vkasm examples/sample.vkasm -o build/sample.vkbc
exec build/vkrun build/sample.vkbc
