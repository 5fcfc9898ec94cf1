#!/usr/bin/env bash
# Measures what a player hears: the tune rendered as the game plays it, whole
# and one MIDI channel at a time, and the four short sounds (RMS level, and the
# energy above 6 kHz in dB of full scale over one second). Needs sox.
#   tools/sound/measure_sounds.sh [BUILD_DIR]
set -euo pipefail
build=${1:-build}
gen=$build/tools/tessmar-soundgen
render=$build/tools/tessmar-tunerender
snd=$build/gamedata/snd
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

echo "== tune, whole"
"$render" "$snd/bgm.mid" "$tmp/whole.raw" 2>/dev/null

echo "== tune, one channel at a time (RMS over the whole tune)"
for channel in 0 1 2 3 4 5 6 7 8 9; do
  "$gen" --solo "$channel" "$tmp/solo.mid"
  level=$("$render" "$tmp/solo.mid" "$tmp/solo.raw" 2>/dev/null | awk '/^rms/ {print $2}')
  # A channel without notes renders as the synthesiser's noise floor.
  awk -v l="$level" 'BEGIN { exit !(l > -90) }' && echo "channel $channel: $level dB"
done

echo "== short sounds"
for name in lr turn pi picoon; do
  seconds=$(sox "$snd/$name.wav" -n stats 2>&1 | awk '/^Length s/ {print $3}')
  rms=$(sox "$snd/$name.wav" -n stats 2>&1 | awk '/^RMS lev dB/ {print $4}')
  high=$(sox "$snd/$name.wav" -n sinc 6000 stats 2>&1 | awk '/^RMS lev dB/ {print $4}')
  energy=$(awk -v r="$high" -v s="$seconds" 'BEGIN { printf "%.1f", r + 10 * log(s) / log(10) }')
  echo "$name.wav: $seconds s, RMS $rms dB, above 6 kHz $energy dB"
done
