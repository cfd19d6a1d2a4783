#!/usr/bin/env bash
# Builds the player's sound code optimised, then times PlayAudio of an
# archived click sound to its first samples at the audio output (SDL's disk
# driver) against the output's buffer period, both in this run, and prints
# the ratio (target: within two buffer periods; the period itself about
# 23 ms, 1,024 frames at 44.1 kHz).
#   bench/audio/run.sh
set -euo pipefail
cd "$(dirname "$0")/../.."
build=${VORK_BENCH_BUILD:-build-bench-audio}
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build" --target vork_media oggaudio vka vork_oggaudio_fixtures >/dev/null
# Every static library of the build in one group: the linker picks what
# the sound code needs, in whatever order they depend on one another.
mapfile -t libraries < <(find "$build/src" "$build/tests/media/oggaudio" -name 'libvork_*.a' | sort)
c++ -std=c++20 -O2 -DNDEBUG -fPIC -I src -I "$build/generated" -I tests bench/audio/bench_audio.cpp \
  -Wl,--start-group "${libraries[@]}" -Wl,--end-group \
  $(pkg-config --cflags --libs Qt6Widgets sdl2 vorbisenc vorbisfile vorbis ogg sndfile libjpeg libarchive) -ldl \
  -o "$build/bench_audio"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$build/bench_audio" "$build" "$work"
