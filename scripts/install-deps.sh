#!/usr/bin/env bash
# The one list of Debian packages Orvane needs to build, run, test and benchmark.
# Idempotent: installs only what is missing and says nothing when all is there.
set -euo pipefail

packages=(
  # build
  build-essential cmake ninja-build ccache pkg-config clang libclang-rt-14-dev
  # libraries of the program
  qt6-base-dev qt6-base-dev-tools libqt6svg6 qt6-webengine-dev
  libmpv-dev libpulse-dev libmp3lame-dev libcurl4-openssl-dev libarchive-dev
  libxcb1-dev libxcb-keysyms1-dev
  fonts-wqy-microhei fonts-dejavu-core
  # tests and benchmarks
  libgtest-dev libgmock-dev libbenchmark-dev
  xvfb xauth x11-utils xdotool trayer imagemagick
  pulseaudio pulseaudio-utils icecast2 ffmpeg sox espeak-ng
  python3 python3-pyftpdlib
  # comparison peers of the playback benchmark
  mpv audacious mpg123 strawberry
)

missing=()
for p in "${packages[@]}"; do
  status=$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null || true)
  [[ "$status" == "install ok installed" ]] || missing+=("$p")
done
[[ ${#missing[@]} -eq 0 ]] && exit 0

SUDO=""
[[ $(id -u) -ne 0 ]] && SUDO="sudo"
export DEBIAN_FRONTEND=noninteractive
echo "install-deps: installing ${missing[*]}"
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
