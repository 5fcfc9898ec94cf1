#!/usr/bin/env bash
# Kills the game while it writes rcd.dat, and the editor's save while it writes
# a mission file, at random moments. The file must always hold the old or the
# new bytes, whole; after the next start of the game, or the next save to the
# same path, no temporary file may remain.
#   kill_test.sh HEADLESS SAVE_MISSIONS MISSION_A MISSION_B [GAME_KILLS] [EDITOR_KILLS]
set -u
headless=$(readlink -f "$1")
saver=$(readlink -f "$2")
mission_a=$(readlink -f "$3")
mission_b=$(readlink -f "$4")
game_kills=${5:-200}
editor_kills=${6:-200}
work=$(mktemp -d)
pid=
cleanup() {
  [ -n "$pid" ] && kill -KILL "$pid" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "FAILED: $*"; exit 1; }

# A random pause of $1 to $1 + $2 milliseconds.
random_sleep() { sleep "$(awk -v from="$1" -v ms="$2" -v r="$RANDOM" 'BEGIN { t = from + r % (ms + 1); printf "%.3f", (t < 0 ? 0 : t) / 1000 }')"; }
now_ms() { date +%s%3N; }
temporaries() { find "$1" -maxdepth 1 -name "$2.tmp-*" | wc -l; }
# True when $1 has the same bytes as one of the other files.
one_of() {
  local f=$1 v
  shift
  for v in "$@"; do cmp -s "$f" "$v" && return 0; done
  return 1
}

# The game: score-attack games straight from the start, each lost by holding
# Down and ended in the name entry, which writes rcd.dat.
games=5
for ((g = 0; g < games; g++)); do
  [ $g -gt 0 ] && printf '1 Z\n80\n'
  printf '450 Down\n1 Enter\n1\n'
done >"$work/games.txt"
: >"$work/nothing.txt"
head -c 197 /dev/zero >"$work/v0"
versions=("$work/v0")
# The file after each game, from runs that stop after that game.
# Each such run ends just after its write, so its length tells when game k
# writes in the whole run.
write_at=()
for ((k = 1; k <= games; k++)); do
  mkdir -p "$work/ref$k"
  cp "$work/v0" "$work/ref$k/rcd.dat"
  head -n $((k == 1 ? 3 : 3 + 5 * (k - 1))) "$work/games.txt" >"$work/ref$k/script.txt"
  started=$(now_ms)
  "$headless" --seed 5 --dir "$work/ref$k" --input "$work/ref$k/script.txt" --start-score-attack ||
    fail "reference run $k"
  write_at+=($(($(now_ms) - started)))
  cp "$work/ref$k/rcd.dat" "$work/v$k"
  versions+=("$work/v$k")
  cmp -s "$work/v$k" "$work/v$((k - 1))" && fail "game $k wrote nothing new"
done

inside=0
mkdir -p "$work/game"
for ((i = 1; i <= game_kills; i++)); do
  cp "$work/v0" "$work/game/rcd.dat"
  "$headless" --seed 5 --dir "$work/game" --input "$work/games.txt" --start-score-attack &
  pid=$!
  # Around one of the writes: from 8 ms before the end of its reference run.
  random_sleep $((write_at[RANDOM % games] - 8)) 10
  kill -KILL $pid 2>/dev/null
  wait $pid 2>/dev/null
  pid=
  one_of "$work/game/rcd.dat" "${versions[@]}" || fail "game kill $i left rcd.dat of $(stat -c %s "$work/game/rcd.dat") bytes, neither old nor new"
  [ "$(temporaries "$work/game" rcd.dat)" -gt 0 ] && inside=$((inside + 1))
  "$headless" --dir "$work/game" --input "$work/nothing.txt" || fail "next start after game kill $i"
  [ "$(temporaries "$work/game" rcd.dat)" -eq 0 ] || fail "a temporary file remains after the start that followed game kill $i"
done
echo "ok: $game_kills kills of the game around its writes at ${write_at[*]} ms; $inside left a temporary file, removed at the next start"

# The editor: saves of two missions in turn to the same file, killed.
mkdir -p "$work/editor"
"$saver" "$work/ref_a.msn" 1 "$mission_a" || fail "saving mission A"
"$saver" "$work/ref_b.msn" 1 "$mission_b" || fail "saving mission B"
cmp -s "$work/ref_a.msn" "$work/ref_b.msn" && fail "the two missions save the same bytes"
inside=0
for ((i = 1; i <= editor_kills; i++)); do
  cp "$work/ref_a.msn" "$work/editor/m.msn"
  "$saver" "$work/editor/m.msn" 0 "$mission_b" "$mission_a" &
  pid=$!
  random_sleep 0 40
  kill -KILL $pid 2>/dev/null
  wait $pid 2>/dev/null
  pid=
  one_of "$work/editor/m.msn" "$work/ref_a.msn" "$work/ref_b.msn" ||
    fail "editor kill $i left m.msn of $(stat -c %s "$work/editor/m.msn") bytes, neither old nor new"
  [ "$(temporaries "$work/editor" m.msn)" -gt 0 ] && inside=$((inside + 1))
  "$saver" "$work/editor/m.msn" 1 "$mission_b" || fail "next save after editor kill $i"
  [ "$(temporaries "$work/editor" m.msn)" -eq 0 ] || fail "a temporary file remains after the save that followed editor kill $i"
done
echo "ok: $editor_kills kills of the editor's save; $inside left a temporary file, removed by the next save"
exit 0
