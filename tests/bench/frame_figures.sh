#!/usr/bin/env bash
# The game's frame pacing, rest and start-up as a player's machine sees them,
# on Xvfb (1920 x 1080, software drawing, no sound card), next to an earlier
# build of the game and to two other falling-block games when installed
# (LTris, an SDL game, in its menu and in its demo, where the computer plays;
# GNOME's Quadrapassel before a game is started). Not a test: it prints a
# table.
#
#   tests/bench/frame_figures.sh GAME [BEFORE_GAME]   (ROUNDS=3 SCENE_SECONDS=20 PACING_SECONDS=60)
#   ONLY=rest tests/bench/frame_figures.sh GAME [BEFORE_GAME]   (the paused and minimised rows alone)
#
# The paused and minimised rows are also measured with a sound device
# (SDL's dummy audio driver): with the tune on, with the music at level 0
# and muted.
#
# Per row: CPU as a share of one core and wake-ups a second (context switches
# of all the process's threads, from /proc) over SCENE_SECONDS, after the scene has
# settled; CPU per frame is CPU over the frames a second (the game's 40, the
# 50 LTris is set to). The pacing row is the
# game's own frame log (TESSMAR_FPS_LOG) over PACING_SECONDS. Start is the
# time from launch to the window's appearance (the X server's map event), the
# same way for every program; RSS is read 3 s after launch. Each figure is the
# median of ROUNDS rounds, the programs taking turns within a round.
set -u
game=$(readlink -f "$1")
before=${2:+$(readlink -f "$2")}
rounds=${ROUNDS:-3}
seconds=${SCENE_SECONDS:-20}
pacing_seconds=${PACING_SECONDS:-60}
here=$(dirname "$(readlink -f "$0")")
. "$here/../smoke/xvfb.sh"
. "$here/ltris_demo.sh"
for tool in Xvfb openbox xdotool bc python3; do command -v $tool >/dev/null || skip "$tool is missing"; done
start_xvfb 1920x1080x24 || skip "Xvfb could not start"
openbox >"$work/openbox.log" 2>&1 &
wm_pid=$!
sleep 1
unset SDL_AUDIODRIVER SDL_RENDER_DRIVER

# Scripts for the game's replay: into play, and into play then paused. Once
# a script is played out the game is the player's (and may rest).
printf '40\n3 Z\n4000\n' >"$work/play.txt"
printf '40\n3 Z\n200\n3 Enter\n' >"$work/pause.txt"

# CPU ns and context switches of every thread of a process.
snapshot() {
  cat /proc/"$1"/task/*/schedstat 2>/dev/null | awk '{ns += $1} END {printf "%.0f ", ns}'
  cat /proc/"$1"/task/*/status 2>/dev/null | awk '/ctxt_switches/ {n += $2} END {print n + 0}'
}

# Runs "$@" in a fresh home, lets it settle, measures; prints "cpu% wakeups/s rss_kb".
measure() {  # settle-seconds, command...
  local settle=$1 home pid ns0 cs0 ns1 cs1 rss
  shift
  home=$(mktemp -d -p "$work")
  mkdir -p "$home/config/tessmar"
  [ -n "${FULLSCREEN:-}" ] && echo "fullscreen=1" >"$home/config/tessmar/settings.conf"
  [ -n "${SETTING:-}" ] && echo "$SETTING" >>"$home/config/tessmar/settings.conf"
  (cd "$home" && HOME=$home XDG_CONFIG_HOME=$home/config XDG_DATA_HOME=$home/data exec env ${AUDIO:+SDL_AUDIODRIVER=$AUDIO} \
    "$@") >"$home/out" 2>&1 &
  pid=$!
  pids+=("$pid")
  sleep "$settle"
  if [ -n "${MINIMISE:-}" ]; then
    local w
    w=$(xdotool search --pid "$pid" 2>/dev/null | head -1)
    [ -n "$w" ] && xdotool windowminimize "$w" 2>/dev/null
    sleep 2
  fi
  read -r ns0 cs0 < <(snapshot "$pid")
  sleep "$seconds"
  read -r ns1 cs1 < <(snapshot "$pid")
  rss=$(awk '/VmRSS/ {print $2}' /proc/"$pid"/status 2>/dev/null)
  kill -TERM "$pid" 2>/dev/null
  sleep 0.5
  kill -KILL "$pid" 2>/dev/null
  wait "$pid" 2>/dev/null
  echo "$(echo "scale=3; ($ns1 - $ns0) / 10000000 / $seconds" | bc) $(echo "scale=1; ($cs1 - $cs0) / $seconds" | bc) ${rss:-0}"
}

# Launch to window in ms (to the first window mapped on the root, seen as an
# X event), and RSS after 3 s.
start_figures() {  # command...
  local home ms pid rss
  home=$(mktemp -d -p "$work")
  read -r ms pid < <(cd "$home" && HOME=$home XDG_CONFIG_HOME=$home/config XDG_DATA_HOME=$home/data \
    python3 "$here/window_appears.py" 20 "$@")
  pids+=("$pid")
  sleep 3
  rss=$(awk '/VmRSS/ {print $2}' /proc/"$pid"/status 2>/dev/null)
  kill -TERM "$pid" 2>/dev/null
  sleep 0.5
  kill -KILL "$pid" 2>/dev/null
  echo "$ms ${rss:-0}"
}

# The game's frame log over the pacing window: mean period and longest gap.
pacing() {  # game
  local home pid
  home=$(mktemp -d -p "$work")
  (cd "$home" && HOME=$home XDG_CONFIG_HOME=$home/config TESSMAR_FPS_LOG=1 exec "$1") 2>"$home/err" >/dev/null &
  pid=$!
  pids+=("$pid")
  sleep "$((pacing_seconds + 1))"
  kill -TERM "$pid"
  wait "$pid" 2>/dev/null
  sed -n 's/.*mean period \([0-9.]*\) ms, longest \([0-9.]*\) ms.*/\1 \2/p; s/^tessmar: FPS \([0-9]*\)$/fps \1/p' "$home/err" | tr '\n' ' '
  echo
}

# A peer game, when installed (games live in /usr/games, which may not be on
# the PATH): its scene as it starts, then its start and memory.
peer() {  # program, scene name
  local bin cpu wake rss ms
  bin=$(command -v "$1" || echo "/usr/games/$1")
  [ -x "$bin" ] || return 0
  read -r cpu wake rss < <(measure 4 "$bin")
  record "$2 cpu" "$cpu"; record "$2 wake" "$wake"
  read -r ms rss < <(start_figures "$bin")
  record "$1 start" "$ms"; record "$1 rss" "$rss"
}

# LTris in play: its demo (the computer plays) at its 50 frames a second
# setting, in a window of 640 x 480 at 16 bits (its only size), started from
# its menu with the mouse. Its settings file is written by quitting it once,
# then set to 50 frames a second. Prints "cpu% wakeups/s", or nothing when the
# demo did not start.
ltris_demo() {
  local bin home pid ns0 cs0 ns1 cs1
  bin=$(command -v ltris || echo /usr/games/ltris)
  [ -x "$bin" ] || return 0
  home=$(mktemp -d -p "$work")
  if start_ltris_demo "$bin" "$home"; then
    pid=$ltris_pid
    sleep 2
    read -r ns0 cs0 < <(snapshot "$pid")
    sleep "$seconds"
    read -r ns1 cs1 < <(snapshot "$pid")
    echo "$(echo "scale=3; ($ns1 - $ns0) / 10000000 / $seconds" | bc) $(echo "scale=1; ($cs1 - $cs0) / $seconds" | bc)"
  fi
  kill "$ltris_pid" 2>/dev/null
  wait "$ltris_pid" 2>/dev/null
}

median() { sort -n | awk '{v[NR] = $1} END {print (NR ? v[int((NR + 1) / 2)] : "-")}'; }

declare -A results
# A value of "-" (nothing measured) is left out.
record() { [ "$2" = - ] || results["$1"]+="$2"$'\n'; }

programs=("now:$game")
[ -n "$before" ] && programs+=("before:$before")
for round in $(seq "$rounds"); do
  echo "round $round of $rounds" >&2
  for entry in "${programs[@]}"; do
    name=${entry%%:*} bin=${entry#*:}
    if [ "${ONLY:-}" != rest ]; then
      read -r cpu wake rss < <(measure 8 "$bin" --replay "$work/play.txt")
      record "$name play cpu" "$cpu"; record "$name play wake" "$wake"
      read -r cpu wake rss < <(FULLSCREEN=1 measure 8 "$bin" --replay "$work/play.txt")
      record "$name full cpu" "$cpu"; record "$name full wake" "$wake"
    fi
    read -r cpu wake rss < <(measure 9 "$bin" --replay "$work/pause.txt")
    record "$name pause cpu" "$cpu"; record "$name pause wake" "$wake"
    read -r cpu wake rss < <(MINIMISE=1 measure 3 "$bin")
    record "$name min cpu" "$cpu"; record "$name min wake" "$wake"
    if [ "${ONLY:-}" != rest ]; then
      read -r ms rss < <(start_figures "$bin")
      record "$name start" "$ms"; record "$name rss" "$rss"
    fi
    # With a sound device (SDL's dummy driver): the tune on (the default),
    # the music at level 0, and muted; RSS at the title with the tune on.
    for music in on 0 mute; do
      setting=
      [ "$music" = 0 ] && setting="music=0"
      [ "$music" = mute ] && setting="mute=1"
      read -r cpu wake rss < <(AUDIO=dummy SETTING=$setting measure 9 "$bin" --replay "$work/pause.txt")
      record "$name pause $music cpu" "$cpu"; record "$name pause $music wake" "$wake"
      read -r cpu wake rss < <(AUDIO=dummy SETTING=$setting MINIMISE=1 measure 3 "$bin")
      record "$name min $music cpu" "$cpu"; record "$name min $music wake" "$wake"
      record "$name min $music rss" "$rss"
    done
  done
  [ "${ONLY:-}" = rest ] && continue
  peer ltris "ltris menu"
  read -r cpu wake < <(ltris_demo)
  [ -n "${cpu:-}" ] && record "ltris play cpu" "$cpu" && record "ltris play wake" "$wake"
  peer quadrapassel "quadrapassel idle"
done

fig() { printf '%s' "${results[$1]:-}" | median; }
echo
echo "| measure | now | before | LTris | Quadrapassel |"
echo "|---|---|---|---|---|"
row() {  # label, key suffix, ltris key, quadrapassel key
  printf '| %s | %s | %s | %s | %s |\n' "$1" "$(fig "now $2")" "$( [ -n "$before" ] && fig "before $2" || echo -)" \
    "$( [ -n "$3" ] && fig "$3" || echo -)" "$( [ -n "$4" ] && fig "$4" || echo -)"
}
# CPU per frame in ms from a CPU share at a frame rate; "-" stays "-".
per_frame() { [ "$1" = - ] && echo - || echo "scale=3; $1 * 10 / $2" | bc; }
frame_row() {  # label, key suffix
  printf '| %s | %s | %s | %s | - |\n' "$1" "$(per_frame "$(fig "now $2")" 40)" \
    "$( [ -n "$before" ] && per_frame "$(fig "before $2")" 40 || echo -)" "$(per_frame "$(fig "ltris play cpu")" 50)"
}
row "CPU % of a core, in play, 2x window" "play cpu" "ltris play cpu" ""
row "CPU % in play, fullscreen" "full cpu" "" ""
frame_row "CPU ms per frame in play, 2x window (LTris: its demo, 1x, 50 fps)" "play cpu"
frame_row "CPU ms per frame in play, fullscreen (LTris as above)" "full cpu"
row "wake-ups/s in play" "play wake" "ltris play wake" ""
row "CPU % in LTris's menu" "-" "ltris menu cpu" ""
row "CPU % paused" "pause cpu" "" "quadrapassel idle cpu"
row "wake-ups/s paused" "pause wake" "" "quadrapassel idle wake"
row "CPU % minimised (title)" "min cpu" "" ""
row "wake-ups/s minimised" "min wake" "" ""
for music in on 0 mute; do
  label="tune on"
  [ "$music" = 0 ] && label="MUSIC 0"
  [ "$music" = mute ] && label="muted"
  row "CPU % paused, dummy audio device, $label" "pause $music cpu" "" ""
  row "wake-ups/s paused, dummy audio device, $label" "pause $music wake" "" ""
  row "CPU % minimised (title), dummy audio device, $label" "min $music cpu" "" ""
  row "wake-ups/s minimised (title), dummy audio device, $label" "min $music wake" "" ""
  row "RSS minimised (title), dummy audio device, $label, KiB" "min $music rss" "" ""
done
row "launch to window, ms" "start" "ltris start" "quadrapassel start"
row "RSS at the title, KiB" "rss" "ltris rss" "quadrapassel rss"
echo
echo "CPU per frame (ms) = CPU % x 10 / frames a second: 40 for the game, 50 for LTris."
echo "pacing over ${pacing_seconds} s on the title (mean period ms, longest gap ms, FPS shown):"
[ "${ONLY:-}" = rest ] && exit 0
echo "  now:    $(pacing "$game")"
[ -n "$before" ] && echo "  before: $(pacing "$before")"
exit 0
