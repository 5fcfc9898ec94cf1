#!/usr/bin/env bash
# How long the game's process outlives its window after Escape, on Xvfb
# (1920 x 1080, openbox), with SDL's dummy audio device and with the
# machine's own audio (none on a machine without a sound card), in three
# scenes: Escape on the title; in a score-attack game (the tune playing);
# in a mission picked under EDIT GAME (Qt's dialog module loaded). Not a
# test: it prints a table of the median and the longest of ROUNDS runs.
#
#   tests/bench/quit_figures.sh GAME [BEFORE_GAME] [MISSION]   (ROUNDS=5)
#
# Each figure is "window gone -> process ended" in ms (window_gone.py: the
# X server's destroy or unmap of the window, then the process's end), with
# "Escape -> window gone" after the slash.
set -u
game=$(readlink -f "$1")
before=${2:+$(readlink -f "$2")}
here=$(dirname "$(readlink -f "$0")")
mission=$(readlink -f "${3:-$(dirname "$game")/gamedata/mission/05.msn}")
rounds=${ROUNDS:-5}
. "$here/../smoke/xvfb.sh"
for tool in Xvfb openbox xdotool python3; do command -v $tool >/dev/null || skip "$tool is missing"; done
start_xvfb 1920x1080x24 || skip "Xvfb could not start"
openbox >"$work/openbox.log" 2>&1 &
wm_pid=$!
sleep 1
export HOME=$work XDG_DATA_HOME=$work/data XDG_CONFIG_HOME=$work/config
mkdir -p "$work/data/tessmar/mission"
cp "$mission" "$work/data/tessmar/mission/05.msn"

# Keys before the Escape, 1.5 s apart.
scene_keys() {
  case $1 in
    title) echo "" ;;
    play) echo "z" ;;
    picked) echo "Down,z,Down,z,type:mission/05.msn,Return,Return" ;;
  esac
}

median() { sort -n | awk '{v[NR] = $1} END {print NR ? v[int((NR + 1) / 2)] : "-"}'; }

# "median (max longest) / median" of gone->ended and escape->gone over the rounds.
measure() {  # game, audio (dummy|own), scene
  local i runs=$work/runs
  : >"$runs"
  for i in $(seq "$rounds"); do
    if [ "$2" = dummy ]; then
      (cd "$work" && SDL_AUDIODRIVER=dummy python3 "$here/window_gone.py" 1.5 "$(scene_keys "$3")" "$1")
    else
      (cd "$work" && env -u SDL_AUDIODRIVER python3 "$here/window_gone.py" 1.5 "$(scene_keys "$3")" "$1")
    fi
  done | grep -v '^-' >"$runs"
  [ -s "$runs" ] || { echo "-"; return; }
  echo "$(cut -d' ' -f1 "$runs" | median) (max $(cut -d' ' -f1 "$runs" | sort -n | tail -n 1)) / $(cut -d' ' -f3 "$runs" | median)"
}

printf '%-8s %-6s %-26s %s\n' scene audio "now: ended (max) / gone" "${before:+before}"
for scene in title play picked; do
  for audio in dummy own; do
    now=$(measure "$game" "$audio" "$scene")
    old=${before:+$(measure "$before" "$audio" "$scene")}
    printf '%-8s %-6s %-26s %s\n' "$scene" "$audio" "$now" "$old"
  done
done
