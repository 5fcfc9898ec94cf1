#!/usr/bin/env bash
# The game beside LTris in the same active-play scene, counted the same way:
# every thread of the program and the X server's work for its window, each
# divided by the frames the program really shows. On one Xvfb of
# 3840 x 2160 (software drawing, openbox, no sound card) the game plays a
# script of real moves at 1x, 2x, 3x and 4x and fullscreen; LTris plays its
# demo (the computer plays) in its only window, 640 x 480. Not a test: it
# prints a table.
#
#   tests/bench/fair_figures.sh GAME [BEFORE_GAME]   (ROUNDS=3 SCENE_SECONDS=20)
#
# SCENES="1 4 full" plays only those scenes (of 1 2 3 4 full), for more
# rounds of the sizes being compared in the same time.
#
# With BEFORE_GAME, an earlier build plays the same scenes in the same
# rounds.
#
# CPU is from /proc (schedstat of every thread) of the program and of Xvfb
# over the same SCENE_SECONDS, the programs taking turns within a round.
# Frames shown: the game's own frame log (TESSMAR_FPS_LOG) over the run;
# LTris's calls that put a picture on the screen, counted by a preloaded
# library (frame_count.c). Each figure is the median of ROUNDS rounds, the
# spread is the lowest and highest. The load average is printed before and
# after.
set -u
game=$(readlink -f "$1")
before=${2:+$(readlink -f "$2")}
rounds=${ROUNDS:-3}
seconds=${SCENE_SECONDS:-20}
here=$(dirname "$(readlink -f "$0")")
. "$here/../smoke/xvfb.sh"
. "$here/ltris_demo.sh"
for tool in Xvfb openbox xdotool bc python3 cc import perl; do command -v $tool >/dev/null || skip "$tool is missing"; done
start_xvfb 3840x2160x24 || skip "Xvfb could not start"
start_openbox
unset SDL_AUDIODRIVER SDL_RENDER_DRIVER
cc -O2 -shared -fPIC -o "$work/frame_count.so" "$here/frame_count.c" -ldl || skip "frame_count.c does not build"

# Active play: the first menu item (a game), then pair after pair moved to a
# column, sometimes turned, and dropped, over and over; the script outlasts
# the scene.
moves() {
  printf '40\n3 Z\n60\n'
  local i
  for i in $(seq 400); do
    case $((i % 4)) in
      0) printf '2 Left\n2\n2 Left\n2\n' ;;
      1) printf '2 Right\n2\n2 Z\n2\n' ;;
      2) printf '2 Right\n2\n2 Right\n2\n2 Right\n2\n' ;;
      3) printf '2 Left\n2\n2 X\n2\n' ;;
    esac
    printf '6\n20 Down\n30\n'
  done
}
moves >"$work/play.txt"

# CPU ns of every thread of a process.
cpu_ns() { cat /proc/"$1"/task/*/schedstat 2>/dev/null | awk '{ns += $1} END {printf "%.0f\n", ns}'; }
frames_counted() { od -An -t u8 "$1" 2>/dev/null | tr -d ' ' || echo 0; }

# Measures process $1 and the X server over the scene; prints
# "program_ns xserver_ns".
scene_cpu() {
  local p0 x0 p1 x1
  p0=$(cpu_ns "$1") x0=$(cpu_ns "$xvfb_pid")
  sleep "$seconds"
  p1=$(cpu_ns "$1") x1=$(cpu_ns "$xvfb_pid")
  echo "$((p1 - p0)) $((x1 - x0))"
}

# The game at `scale` (a number, or "full" for fullscreen): prints
# "program_ms_a_frame xserver_ms_a_frame frames_a_second".
game_scene() {  # scale [game]
  local home pid p x fps bin=${2:-$game}
  home=$(mktemp -d -p "$work")
  mkdir -p "$home/config/tessmar"
  if [ "$1" = full ]; then echo "fullscreen=1" >"$home/config/tessmar/settings.conf"
  else echo "scale=$1" >"$home/config/tessmar/settings.conf"; fi
  (cd "$home" && HOME=$home XDG_CONFIG_HOME=$home/config XDG_DATA_HOME=$home/data TESSMAR_FPS_LOG=1 \
    exec "$bin" --replay "$work/play.txt") >"$home/out" 2>"$home/err" &
  pid=$!
  pids+=("$pid")
  sleep 6
  read -r p x < <(scene_cpu "$pid")
  kill -TERM "$pid" 2>/dev/null
  wait "$pid" 2>/dev/null
  fps=$(sed -n 's/.*mean period \([0-9.]*\) ms.*/\1/p' "$home/err")
  [ -n "$fps" ] || return 0
  fps=$(echo "scale=3; 1000 / $fps" | bc)
  echo "$(echo "scale=4; $p / 1000000 / ($fps * $seconds)" | bc) $(echo "scale=4; $x / 1000000 / ($fps * $seconds)" | bc) $fps"
}

# LTris's demo at its 50 frames a second setting, started from its menu with
# the mouse (its settings file is written by quitting it once). Prints the
# same as game_scene, or nothing when the demo did not start.
ltris_scene() {
  local bin home pid p x n0 n1 fps count
  bin=$(command -v ltris || echo /usr/games/ltris)
  [ -x "$bin" ] || return 0
  # A copy without its set-group-id bit (for the shared high scores), which
  # would make the loader ignore the preloaded counter.
  cp "$bin" "$work/ltris" || return 0
  bin=$work/ltris
  home=$(mktemp -d -p "$work")
  count=$home/frames
  if start_ltris_demo "$bin" "$home" FRAME_COUNT_FILE="$count" LD_PRELOAD="$work/frame_count.so"; then
    pid=$ltris_pid
    sleep 2
    n0=$(frames_counted "$count")
    read -r p x < <(scene_cpu "$pid")
    n1=$(frames_counted "$count")
    if [ $((n1 - n0)) -gt 0 ]; then
      fps=$(echo "scale=3; ($n1 - $n0) / $seconds" | bc)
      echo "$(echo "scale=4; $p / 1000000 / ($n1 - $n0)" | bc) $(echo "scale=4; $x / 1000000 / ($n1 - $n0)" | bc) $fps"
    fi
  fi
  kill "$ltris_pid" 2>/dev/null
  wait "$ltris_pid" 2>/dev/null
}

declare -A results
record() { [ -n "$2" ] && results["$1"]+="$2"$'\n'; }
# Median, lowest and highest of the values recorded under a key.
fig() { printf '%s' "${results[$1]:-}" | sort -n | awk '{v[NR] = $1} END {if (NR) printf "%.3f", v[int((NR + 1) / 2)]; else printf "-"}'; }
spread() { printf '%s' "${results[$1]:-}" | sort -n | awk '{v[NR] = $1} END {if (NR) printf "%.3f-%.3f", v[1], v[NR]; else printf "-"}'; }

load_before=$(cut -d' ' -f1-3 /proc/loadavg)
read -ra scenes <<<"${SCENES:-1 2 3 4 full}"
for round in $(seq "$rounds"); do
  echo "round $round of $rounds" >&2
  for s in "${scenes[@]}"; do
    read -r p x fps < <(game_scene "$s")
    record "game $s prog" "${p:-}"; record "game $s x" "${x:-}"; record "game $s fps" "${fps:-}"
    [ -n "${p:-}" ] && record "game $s sum" "$(echo "$p + $x" | bc)"
    if [ -n "$before" ]; then
      read -r p x fps < <(game_scene "$s" "$before")
      [ -n "${p:-}" ] && record "before $s sum" "$(echo "$p + $x" | bc)"
    fi
    if [ "$s" = 2 ] || [ "$s" = 1 ]; then
      read -r p x fps < <(ltris_scene)
      record "ltris $s prog" "${p:-}"; record "ltris $s x" "${x:-}"; record "ltris $s fps" "${fps:-}"
      [ -n "${p:-}" ] && record "ltris $s sum" "$(echo "$p + $x" | bc)"
    fi
  done
done
load_after=$(cut -d' ' -f1-3 /proc/loadavg)

# Records under $1, round by round, the value under $2 divided by the one
# under $3 of the same round.
per_round() {
  local i over under
  mapfile -t over < <(printf '%s' "${results[$2]:-}")
  mapfile -t under < <(printf '%s' "${results[$3]:-}")
  for i in "${!over[@]}"; do
    [ -n "${under[$i]:-}" ] && record "$1" "$(echo "scale=4; ${over[$i]} / ${under[$i]}" | bc)"
  done
}
# Growth from 1x within each round (the sizes of one round played minutes
# apart, under the same load), and the game against the LTris run beside it.
for s in 4 full; do
  for who in game before; do per_round "$who growth $s" "$who $s sum" "$who 1 sum"; done
done
for s in 1 2; do per_round "ratio $s" "game $s sum" "ltris $s sum"; done

echo
echo "ms of CPU a frame shown, median of $rounds rounds of $seconds s (lowest-highest); load $load_before before, $load_after after"
echo
echo "| scene | program | X server | both | spread of both | frames a second | before: both (spread) |"
echo "|---|---|---|---|---|---|---|"
for s in "${scenes[@]}"; do
  label="game ${s}x window"
  [ "$s" = full ] && label="game fullscreen 3840 x 2160 (4x)"
  printf '| %s | %s | %s | %s | %s | %s | %s (%s) |\n' "$label" "$(fig "game $s prog")" "$(fig "game $s x")" \
    "$(fig "game $s sum")" "$(spread "game $s sum")" "$(fig "game $s fps")" "$(fig "before $s sum")" \
    "$(spread "before $s sum")"
done
for s in 1 2; do
  printf '| LTris demo 640 x 480 (beside the %sx runs) | %s | %s | %s | %s | %s | - |\n' "$s" "$(fig "ltris $s prog")" \
    "$(fig "ltris $s x")" "$(fig "ltris $s sum")" "$(spread "ltris $s sum")" "$(fig "ltris $s fps")"
done
echo
echo "game / LTris (both counted), per round then median: 1x $(fig "ratio 1") ($(spread "ratio 1")), 2x $(fig "ratio 2") ($(spread "ratio 2"))"
growth() {  # game|before: the growth of the medians, then per round
  local one big4 bigf
  one=$(fig "$1 1 sum") big4=$(fig "$1 4 sum") bigf=$(fig "$1 full sum")
  [ "$one" != - ] || return 0
  printf 'growth from 1x: 4x %s, fullscreen %s; per round 4x %s (%s), fullscreen %s (%s)\n' \
    "$([ "$big4" != - ] && echo "scale=3; $big4 / $one" | bc || echo -)" \
    "$([ "$bigf" != - ] && echo "scale=3; $bigf / $one" | bc || echo -)" \
    "$(fig "$1 growth 4")" "$(spread "$1 growth 4")" "$(fig "$1 growth full")" "$(spread "$1 growth full")"
}
growth game
[ -n "$before" ] && printf 'before, ' && growth before
exit 0
