#!/usr/bin/env bash
# Plays numbered mission NN as a player reaches it: from the title through the
# mission select, in a fresh game folder whose records have missions 1 to
# NN-1 cleared. For trying a mission by hand from its pictures, as a player
# sees it.
#
#   tools/missions/play_mission.sh NN SCRIPT OUTDIR [FRAME ...]
#   tools/missions/play_mission.sh pages OUTDIR
#
# Frame 1 of SCRIPT is the first frame after the board has come in; the
# first pair enters a few frames later. The pictures of the frames asked for
# go to OUTDIR/fFRAME.png, and one of the end to OUTDIR/last.png: the frame
# the mission was cleared or lost, or IDLE frames (600 unless set) after the
# script. Frames past the end are not drawn, so no picture shows the next
# mission. It prints the frames where each pair came in and where the
# mission ended. Random pairs are dealt alike at every run (SEED, 15 unless
# set). `pages` writes the nine how-to-play pages to OUTDIR/page-N.png.
# HEADLESS, SOLVE and GAMEDATA name the runner, the solver (which writes the
# menu's keys) and the game data (build/ by default); LANGUAGE is en unless set.
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/../.." && pwd)
HEADLESS=${HEADLESS:-$ROOT/build/tessmar-headless}
SOLVE=${SOLVE:-$ROOT/build/tessmar-solve}
GAMEDATA=${GAMEDATA:-$ROOT/build/gamedata}
LANGUAGE=${LANGUAGE:-en}
PAGE_FRAMES=30          # frames each how-to-play page is left up
PAGE_COUNT=9

usage() { echo "usage: $0 NN SCRIPT OUTDIR [FRAME ...] | $0 pages OUTDIR" >&2; exit 2; }
[ $# -ge 2 ] || usage

RUN=$(mktemp -d)
trap 'rm -rf "$RUN"' EXIT
mkdir -p "$RUN/dir"
cp -r "$GAMEDATA/." "$RUN/dir/"

headless() {  # runner options...
  XDG_CONFIG_HOME="$RUN/cfg" XDG_DATA_HOME="$RUN/data" "$HEADLESS" --seed "${SEED:-15}" \
    --dir "$RUN/dir" --language "$LANGUAGE" "$@" >/dev/null
}

if [ "$1" = pages ]; then
  OUT=$2; mkdir -p "$OUT"
  { echo 100; echo 1 F1; echo "$PAGE_FRAMES"
    for ((k = 1; k < PAGE_COUNT; k++)); do echo 1 Right; echo "$PAGE_FRAMES"; done; } > "$RUN/input.txt"
  shots=()
  for ((k = 0; k < PAGE_COUNT; k++)); do
    shots+=(--shot "$((101 + PAGE_FRAMES + k * (PAGE_FRAMES + 1)))=$OUT/page-$((k + 1)).png")
  done
  headless --input "$RUN/input.txt" "${shots[@]}"
  exit 0
fi

[ $# -ge 3 ] || usage
[[ $1 =~ ^[0-9]+$ ]] && (( 10#$1 >= 1 && 10#$1 <= 30 )) || { echo "$0: no mission $1" >&2; exit 2; }
NN=$((10#$1)); SCRIPT=$2; OUT=$3; shift 3
mkdir -p "$OUT"
IDLE=${IDLE:-600}

# Records: the cleared flags of missions 1 to NN-1 and the count cleared.
python3 - "$RUN/dir/rcd.dat" "$NN" <<'PY'
import sys
n = int(sys.argv[2]); records = bytearray(197)
for k in range(1, n): records[96 + k] = 1
records[196] = n - 1
open(sys.argv[1], "wb").write(records)
PY

# Title, mission select, NN-1 steps right, then the board entry.
"$SOLVE" --menu "$NN" > "$RUN/input.txt"
MENU=$(awk '/^[ \t]*#/ {next} NF {n += $1} END {print n + 0}' "$RUN/input.txt")
cat "$SCRIPT" >> "$RUN/input.txt"

# First the run itself, for where the pairs came in and where it ended.
headless --input "$RUN/input.txt" --frames "$IDLE" --trace "$RUN/trace.jsonl"
python3 - "$RUN/trace.jsonl" "$MENU" > "$RUN/events.txt" <<'PY'
import json, sys
# ScreenState values: a pair falling, the game over, the mission clear.
PAIR_FALLING, GAME_OVER, MISSION_CLEAR = 0, 5, 8
menu = int(sys.argv[2]); previous = None; pair = 0; pending = None; end = None
for number, line in enumerate(open(sys.argv[1]), 1):
    state = json.loads(line).get("ScreenState")
    frame = number - menu
    # The last erase passes through a pair's first frame before the clear.
    if pending and frame - pending[0] > 3:
        print(pending[1]); pending = None
    if state != previous and frame > 0:
        if state == PAIR_FALLING:
            pair += 1; pending = (frame, f"frame {frame}: pair {pair} comes in")
        elif state in (MISSION_CLEAR, GAME_OVER):
            print(f"frame {frame}: " + ("MISSION CLEAR" if state == MISSION_CLEAR else "the mission is lost"))
            pending = None; end = frame; break
    previous = state
if pending: print(pending[1])
print(f"end {end if end is not None else number - menu}")
PY
END=$(sed -n 's/^end //p' "$RUN/events.txt")
grep -v '^end ' "$RUN/events.txt" || true

# Then the pictures, none past the end.
# The runner takes one picture a frame: a frame asked for at the end is a
# copy of last.png.
shots=(--shot "$((MENU + END))=$OUT/last.png")
at_end=()
for f in "$@"; do
  if (( f >= 1 && f < END )); then shots+=(--shot "$((MENU + f))=$OUT/f$f.png")
  elif (( f == END )); then at_end+=("$f")
  else echo "frame $f: after the end (frame $END), not drawn"; fi
done
headless --input "$RUN/input.txt" --frames "$IDLE" "${shots[@]}"
for f in "${at_end[@]}"; do cp "$OUT/last.png" "$OUT/f$f.png"; done
