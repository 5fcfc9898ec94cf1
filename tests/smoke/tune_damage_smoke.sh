#!/usr/bin/env bash
# Damaged copies of the tune (cut short, no notes, no tracks, huge events,
# absurd counts) under Xvfb with an audio device open (SDL's dummy driver),
# so that the mixer and its synthesiser really run. For each: a score-attack
# game starts and plays on (the picture keeps changing once the board is in
# place and the tune has begun), stderr holds a few lines of the game's own
# and none of the synthesiser's, and the game ends within a second, by
# Escape for one half of the tunes and by SIGTERM for the other.
#   tune_damage_smoke.sh GAME GOOD_TUNE
set -u
game=$(readlink -f "$1")
good=$(readlink -f "$2")
here=$(dirname "$(readlink -f "$0")")
. "$here/xvfb.sh"
for tool in Xvfb xdotool import compare convert python3; do command -v $tool >/dev/null || skip "$tool is not installed"; done

start_xvfb || skip "Xvfb could not start"
export XDG_CONFIG_HOME=$work/config SDL_AUDIODRIVER=dummy
unset LANG LC_ALL LC_MESSAGES TESSMAR_VERBOSE
mkdir -p "$work/tunes"
python3 "$here/damaged_tunes.py" "$good" "$work/tunes" >/dev/null || fail "could not write the damaged tunes"

# Ends the game with $1 (Escape or TERM); sets ms to how long it took to go,
# or fails when it is still there a second later.
end_game() {  # how, window, name
  local start
  start=$(now_ms)
  if [ "$1" = Escape ]; then press "$2" Escape; else kill -TERM $game_pid; fi
  holds_within 1 gone $game_pid || fail "$3: still running a second after $1 ($(wc -l <"$work/stderr") lines on stderr)"
  ms=$(($(now_ms) - start))
  wait $game_pid || fail "$3: exit code $? after $1: $(head -c 600 "$work/stderr")"
  game_pid=
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
  wait_until 20 "$name: the title's pointer on SCORE ATTACK" pointer_at "$wid" 300
  focus_window "$wid"
  press "$wid" z  # SCORE ATTACK: the board slides in and the tune starts
  wait_until 20 "$name: the board in place after Z" board_in_place "$wid"
  wait_until 10 "$name: the picture moving once the tune began ($(wc -l <"$work/stderr") lines on stderr)" moving "$wid"
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
