#!/usr/bin/env bash
# Measures what a player hears, through the game's own render path
# (tessmar-tunerender: SDL2_mixer and FluidSynth) with each General MIDI
# soundfont found: for each tune, its length, level and peak, and per block of
# eight bars the lead over the rest of the mix; the tune's rests, hook and
# chords from the score; for the short sounds, their length, peak and loudest
# 50 ms (K-weighted) against the median of them all, and the move's energy in
# 2-5 kHz and 350-1000 Hz over the tune. Needs nothing beyond the build's own
# tools and awk.
#   tools/sound/measure_sounds.sh [BUILD_DIR]
set -euo pipefail
build=${1:-build}
snd=$build/gamedata/snd
gen=$build/tools/tessmar-soundgen
render=$build/tools/tessmar-tunerender
measure=$build/tools/tessmar-soundmeasure
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

tunes=(1 2 3)  # bgm.mid, bgm2.mid, bgm-calm.mid

fonts=()
for font in /usr/share/sounds/sf2/TimGM6mb.sf2 /usr/share/sounds/sf2/FluidR3_GM.sf2; do
  [ -f "$font" ] && fonts+=("$font")
done

for font in "${fonts[@]}"; do
  # Without the force, SDL_mixer prefers a system default soundfont over the
  # one it is given.
  export SDL_FORCE_SOUNDFONTS=1 SDL_SOUNDFONTS=$font
  for tune in "${tunes[@]}"; do
    file=$snd/bgm.mid
    [ "$tune" = 2 ] && file=$snd/bgm2.mid
    [ "$tune" = 3 ] && file=$snd/bgm-calm.mid
    echo "== $(basename "$file") with $(basename "$font")"
    # Two passes, looped as the game loops it: the longest silence is the joint's.
    "$render" "$file" "$tmp/whole.raw" 2 2>/dev/null | grep -E '^(length|rms|peak|longest)'
    tempo=$("$gen" --stats "$tune" | awk '/^tempo/ {print $2}')
    "$gen" --part "$tune" lead "$tmp/lead.mid"
    "$gen" --part "$tune" rest "$tmp/rest.mid"
    "$render" "$tmp/lead.mid" "$tmp/lead.raw" >/dev/null 2>&1
    "$render" "$tmp/rest.mid" "$tmp/rest.raw" >/dev/null 2>&1
    "$measure" blocks "$tmp/lead.raw" "$tmp/rest.raw" "$(awk -v t="$tempo" 'BEGIN { print 8 * 4 * 60 / t }')"
    [ "$tune" = 1 ] && cp "$tmp/whole.raw" "$tmp/tune1.raw"
  done
  echo "== the move over the tune with $(basename "$font")"
  for band in "2000 5000" "350 1000"; do
    for move in lr move; do
      echo -n "$move.wav "
      # shellcheck disable=SC2086
      "$measure" band "$snd/$move.wav" "$tmp/tune1.raw" $band
    done
  done
done

for tune in "${tunes[@]}"; do
  echo "== score of tune $tune"
  "$gen" --stats "$tune"
done

echo "== the classic set (sounds=classic; loudest 50 ms, K-weighted)"
"$measure" effects "$snd"/{lr,turn,pi,picoon}.wav
echo "== the full set (the default)"
"$measure" effects "$snd"/{move,rotate,cursor,decide,land,levelup,chain1,chain2,chain3,chain4,chain5,fish,link,gameover,clear}.wav
