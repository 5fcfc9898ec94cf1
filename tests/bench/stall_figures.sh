#!/usr/bin/env bash
# The game's frames under a CPU hog: a busy loop beside it for one core's
# worth of the machine, the game playing the same script of real moves as
# fair_figures.sh in a 2x window on Xvfb (openbox, no sound card). Per round:
# the longest gap between two frames shown and the gaps over 40 ms, from the
# game's own frame log over SCENE_SECONDS after SETTLE_SECONDS. Not a test:
# it prints a line a round and the worst.
#
#   tests/bench/stall_figures.sh GAME   (ROUNDS=5 SCENE_SECONDS=20 SETTLE_SECONDS=5)
set -u
game=$(readlink -f "$1")
rounds=${ROUNDS:-5}
seconds=${SCENE_SECONDS:-20}
settle=${SETTLE_SECONDS:-5}
here=$(dirname "$(readlink -f "$0")")
. "$here/../smoke/xvfb.sh"
for tool in Xvfb openbox; do command -v $tool >/dev/null || skip "$tool is missing"; done
start_xvfb 1920x1080x24 || skip "Xvfb could not start"
start_openbox
unset SDL_AUDIODRIVER SDL_RENDER_DRIVER
eval "$(sed -n '/^moves()/,/^}/p' "$here/fair_figures.sh")"
moves >"$work/play.txt"

hog() { while :; do :; done; }
worst=0
echo "load before: $(cut -d' ' -f1-3 /proc/loadavg)"
for round in $(seq "$rounds"); do
  hog &
  hog_pid=$!
  pids+=("$hog_pid")
  home=$(mktemp -d -p "$work")
  mkdir -p "$home/config/tessmar"
  echo "scale=2" >"$home/config/tessmar/settings.conf"
  (cd "$home" && HOME=$home XDG_CONFIG_HOME=$home/config XDG_DATA_HOME=$home/data TESSMAR_FPS_LOG=$settle \
    exec "$game" --replay "$work/play.txt") >/dev/null 2>"$home/err" &
  pid=$!
  pids+=("$pid")
  sleep $((settle + seconds))
  kill -TERM "$pid"
  wait "$pid" 2>/dev/null
  kill "$hog_pid"
  wait "$hog_pid" 2>/dev/null
  line=$(grep 'frames shown' "$home/err")
  longest=$(sed -n 's/.*longest \([0-9.]*\) ms.*/\1/p' <<<"$line")
  echo "round $round: $(sed 's/^tessmar: //' <<<"$line")"
  [ -n "$longest" ] && worst=$(echo "if ($longest > $worst) $longest else $worst" | bc)
done
echo "load after: $(cut -d' ' -f1-3 /proc/loadavg)"
echo "longest gap over $rounds rounds of $seconds s: $worst ms"
