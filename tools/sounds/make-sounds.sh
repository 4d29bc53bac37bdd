#!/usr/bin/env bash
# Makes the notification sounds of every shipped language:
#   waiting.wav  a soft two-note chime followed by a pause; it loops while a
#                station connects or buffers, so it carries no words
#   error.wav    a falling tone and a short spoken message in the language
# Needs sox and espeak-ng (both in scripts/install-deps.sh). Writes into
# data/Sound/<lang>/ of the source tree:  tools/sounds/make-sounds.sh
set -euo pipefail
cd "$(dirname "$0")/../.."
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

fmt=(-r 22050 -c 1 -b 16)

# language code, espeak-ng voice, error message
languages=(
  "eng|en-us|The station cannot be played."
  "chs|cmn|无法播放这个电台。"
)

sox -n "${fmt[@]}" "$tmp/n1.wav" synth 0.16 sine 880 fade q 0.01 0.16 0.12 vol 0.35
sox -n "${fmt[@]}" "$tmp/n2.wav" synth 0.22 sine 1320 fade q 0.01 0.22 0.18 vol 0.28
sox -n "${fmt[@]}" "$tmp/gap.wav" trim 0 1.1
sox "$tmp/n1.wav" "$tmp/n2.wav" "$tmp/gap.wav" "$tmp/waiting.wav"

sox -n "${fmt[@]}" "$tmp/e1.wav" synth 0.18 sine 660 fade q 0.01 0.18 0.1 vol 0.35
sox -n "${fmt[@]}" "$tmp/e2.wav" synth 0.28 sine 440 fade q 0.01 0.28 0.2 vol 0.35
sox -n "${fmt[@]}" "$tmp/pause.wav" trim 0 0.15

for entry in "${languages[@]}"; do
  IFS='|' read -r lang voice text <<<"$entry"
  out="data/Sound/$lang"
  mkdir -p "$out"
  espeak-ng -v "$voice" -s 150 -w "$tmp/speech-raw.wav" "$text"
  sox "$tmp/speech-raw.wav" "${fmt[@]}" "$tmp/speech.wav" norm -3
  sox "$tmp/e1.wav" "$tmp/e2.wav" "$tmp/pause.wav" "$tmp/speech.wav" "$out/error.wav"
  cp "$tmp/waiting.wav" "$out/waiting.wav"
  echo "made $out/waiting.wav and $out/error.wav"
done
