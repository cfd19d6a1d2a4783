#!/usr/bin/env bash
# Makes the small media clips that the media player tests play, with Debian's
# ffmpeg, into tests/players/clips. The results are committed (the test
# machines have no ffmpeg); run this again only to change them.
#   scripts/make-test-clips.sh
set -euo pipefail
cd "$(dirname "$0")/.."
command -v ffmpeg >/dev/null || {
  echo "needs ffmpeg: apt-get install ffmpeg" >&2
  exit 1
}
out=tests/players/clips
mkdir -p "$out"
# Reproducible output: no encoder names or dates in the files.
quiet=(-hide_banner -loglevel error -y)
same=(-fflags +bitexact -map_metadata -1)

# One second of colour bars (160 x 120, 25 frames a second) with a 440 Hz
# tone, as MPEG-1 in an MPEG program stream, the way a course's video is.
ffmpeg "${quiet[@]}" \
  -f lavfi -i smptebars=size=160x120:rate=25:duration=1 \
  -f lavfi -i sine=frequency=440:sample_rate=22050:duration=1 \
  -c:v mpeg1video -q:v 6 -flags:v +bitexact \
  -c:a mp2 -b:a 64k -flags:a +bitexact "${same[@]}" "$out/bars.mpg"

# One second of a 660 Hz tone as MP3: long audio without a picture.
ffmpeg "${quiet[@]}" \
  -f lavfi -i sine=frequency=660:sample_rate=22050:duration=1 \
  -c:a libmp3lame -b:a 32k -flags:a +bitexact "${same[@]}" "$out/tone.mp3"
ls -l "$out"
