#!/usr/bin/env bash
# Damaged copies of the tune (cut short, no notes, no tracks, huge events,
# absurd counts) under Xvfb with an audio device open (SDL's dummy driver),
# so that the mixer and its synthesiser really run. For each: a score-attack
# game starts and plays on (the picture keeps changing after the tune has
# begun), stderr holds a few lines of the game's own and none of the
# synthesiser's, and the game ends within a second, by Escape for one half
# of the tunes and by SIGTERM for the other.
#   tune_damage_smoke.sh GAME GOOD_TUNE
set -u
game=$(readlink -f "$1")
good=$(readlink -f "$2")
here=$(dirname "$(readlink -f "$0")")
. "$here/xvfb.sh"
for tool in Xvfb xdotool import compare python3; do command -v $tool >/dev/null || skip "$tool is not installed"; done

start_xvfb || skip "Xvfb could not start"
export XDG_CONFIG_HOME=$work/config SDL_AUDIODRIVER=dummy
unset LANG LC_ALL LC_MESSAGES TESSMAR_VERBOSE
mkdir -p "$work/tunes"
python3 "$here/damaged_tunes.py" "$good" "$work/tunes" >/dev/null || fail "could not write the damaged tunes"

# Ends the game with $1 (Escape or TERM) and sets ms to how many
# milliseconds it took to go, or fails when it is still there after a second.
end_game() {  # how, window, name
  local start end
  start=$(date +%s%N)
  if [ "$1" = Escape ]; then press "$2" Escape; else kill -TERM $game_pid; fi
  for _ in $(seq 200); do
    alive $game_pid 2>/dev/null || break
    sleep 0.005
  done
  end=$(date +%s%N)
  alive $game_pid && fail "$3: still running a second after $1 ($(wc -l <"$work/stderr") lines on stderr)"
  wait $game_pid || fail "$3: exit code $? after $1: $(head -c 600 "$work/stderr")"
  game_pid=
  ms=$(((end - start) / 1000000))
}

count=0
for tune in "$work"/tunes/*.mid; do
  name=$(basename "$tune" .mid)
  dir=$work/game-$name
  mkdir -p "$dir/snd" "$work/data-$name"
  cp "$(dirname "$good")"/*.wav "$dir/snd/"
  cp "$tune" "$dir/snd/bgm.mid"
  cp "$tune" "$dir/snd/bgm2.mid"
  ln -s "$dir" "$work/data-$name/tessmar"  # the player's own game folder holds the tunes
  (cd "$dir" && XDG_DATA_HOME=$work/data-$name exec "$game") 2>"$work/stderr" &
  game_pid=$!
  wid=$(wait_window $game_pid '^Tessmar$') || fail "$name: no window: $(head -c 600 "$work/stderr")"
  sleep 0.5
  xdotool windowfocus --sync "$wid" 2>/dev/null
  press "$wid" z  # SCORE ATTACK: the board slides in and the tune starts
  sleep 2
  import -window "$wid" "$work/play1.png" 2>/dev/null || fail "$name: no screenshot (the game is gone?)"
  sleep 0.5
  import -window "$wid" "$work/play2.png" 2>/dev/null || fail "$name: no second screenshot"
  [ "$(compare -metric AE "$work/play1.png" "$work/play2.png" null: 2>&1)" != "0" ] ||
    fail "$name: the picture stood still for half a second once the tune began ($(wc -l <"$work/stderr") lines on stderr)"
  grep -q fluidsynth "$work/stderr" && fail "$name: the synthesiser's own lines reached stderr: $(grep -m 2 fluidsynth "$work/stderr")"
  lines=$(wc -l <"$work/stderr")
  [ "$lines" -le 3 ] || fail "$name: $lines lines on stderr: $(head -c 600 "$work/stderr")"
  said=$(tr '\n' ' ' <"$work/stderr")
  if [ $((count % 2)) = 0 ]; then how=Escape; else how=TERM; fi
  end_game $how "$wid" "$name"
  echo "ok: $name: played on, ended by $how in $ms ms; stderr: $said"
  count=$((count + 1))
done
[ $count -ge 10 ] || fail "only $count damaged tunes were written"
exit 0
