#!/usr/bin/env bash
# The mission player reaches numbered missions through the mission select:
# frame 1 is the first after the board entry; the stored way of each
# mission, played after the menu frames it puts first, clears it with as
# many pairs as the way says; and no picture is drawn past the clear (the
# next mission would be in it).
#   play_mission_test.sh PLAY_MISSION HEADLESS SOLVE GAMEDATA SOLUTIONS
set -euo pipefail
PLAY=$1; export HEADLESS=$2 SOLVE=$3 GAMEDATA=$4; SOLUTIONS=$5
export LANG=C LC_ALL=C
OUT=$(mktemp -d); trap 'rm -rf "$OUT"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }
for n in 01 13 30; do
  way=$SOLUTIONS/$n.txt
  pairs=$(sed -n '1s/.*cleared with \([0-9]*\) pairs.*/\1/p' "$way")
  tail -n +"$(grep -n 'the first pair comes in' "$way" | cut -d: -f1)" "$way" > "$OUT/way.txt"
  log=$("$PLAY" "$n" "$OUT/way.txt" "$OUT/$n" 1 100000)
  grep -q ": MISSION CLEAR$" <<<"$log" || fail "mission $n not cleared: $log"
  [ "$(grep -c 'comes in$' <<<"$log")" = "$pairs" ] || fail "mission $n: not $pairs pairs: $log"
  # Frames are counted from the board entry: the first pair is in 11 frames later.
  grep -q "^frame 11: pair 1 comes in$" <<<"$log" || fail "mission $n: frames not counted from the board entry: $log"
  grep -q "^frame 100000: after the end" <<<"$log" || fail "mission $n: a frame past the clear was drawn"
  [ -s "$OUT/$n/f1.png" ] && [ -s "$OUT/$n/last.png" ] || fail "mission $n: pictures missing"
  [ ! -e "$OUT/$n/f100000.png" ] || fail "mission $n: picture past the clear"
done
echo ok
