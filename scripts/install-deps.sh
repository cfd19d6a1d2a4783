#!/usr/bin/env bash
# Installs every Debian package that building, testing and running vork needs.
# Idempotent: when everything is present it only checks and returns.
set -euo pipefail

packages=(
  # toolchain
  cmake g++ ninja-build pkg-config
  # testing
  # (python3 writes course tests' pictures and serves the demo's lesson pack)
  libgtest-dev libgmock-dev poppler-utils python3
  # the author's guide makes its pictures and sounds with these (tests/docs)
  imagemagick espeak-ng vorbis-tools
  # validators of the installed desktop entry and AppStream metainfo
  desktop-file-utils appstream
  # the player's libraries
  qt6-base-dev libgl-dev libsdl2-dev libvorbis-dev libmpv-dev libarchive-dev libjpeg62-turbo-dev
  libsndfile1-dev
  fonts-liberation2
  # TLS for https downloads (Qt Network's OpenSSL backend) and the CAs it trusts
  libssl3 ca-certificates
  # fuzzing (clang + libFuzzer runtime) and the benchmark's reference interpreter
  clang libclang-rt-14-dev lua5.4
  # the start-up benchmark's X server (the xcb platform)
  xvfb
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

if [ "$(id -u)" -ne 0 ]; then
  SUDO=sudo
else
  SUDO=
fi
echo "install-deps: installing ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
