#!/usr/bin/env bash
# Sets up, builds and runs every test: the full build with ctest (which
# also installs it into a scratch root and validates the installed desktop
# entry and AppStream metainfo), the
# Qt-free core again under AddressSanitizer and UndefinedBehaviorSanitizer,
# and a short run of every fuzz target (VORK_FUZZ_SECONDS, default 10).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
jobs=$(nproc)

cmake -S . -B build -G Ninja >/dev/null
cmake --build build -j "$jobs"
ctest --test-dir build -j "$jobs" --output-on-failure

cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DVORK_CORE_ONLY=ON -DVORK_SANITIZE=ON >/dev/null
cmake --build build-asan -j "$jobs"
ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
  ctest --test-dir build-asan -j "$jobs" --output-on-failure

fuzz/run-all "${VORK_FUZZ_SECONDS:-10}"
