#!/usr/bin/env bash
# Sets up, builds and runs every test: the full build with ctest (which
# also installs it into a scratch root and validates the installed desktop
# entry and AppStream metainfo); the whole player again under
# AddressSanitizer and UndefinedBehaviorSanitizer with leak checking (every
# unit suite, every whole-course test and the demo playthrough); and a short
# run of every fuzz target (VORK_FUZZ_SECONDS, default 10).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
jobs=$(nproc)
started=$SECONDS
stage() { echo "test.sh: $1 ($(( (SECONDS - started) / 60 )) min so far)"; }

stage "release build"
cmake -S . -B build -G Ninja >/dev/null
cmake --build build -j "$jobs"
stage "release tests"
ctest --test-dir build -j "$jobs" --output-on-failure

# The sanitizer options come from ctest (tests/sanitizer_environment.cmake.in).
stage "sanitizer build"
cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DVORK_SANITIZE=ON >/dev/null
cmake --build build-asan -j "$jobs"
stage "sanitizer tests"
ctest --test-dir build-asan -j "$jobs" --output-on-failure

stage "fuzz targets"
fuzz/run-all "${VORK_FUZZ_SECONDS:-10}"
stage "done"
