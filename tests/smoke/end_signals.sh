#!/usr/bin/env bash
# Every signal that ends the game keeps a best score waiting for its name,
# as SIGTERM does: one game per row, side by side under one Xvfb, each
# played to the name entry by the same replay, then sent its signal; each
# must end by itself (no death by the signal) with the score and the name so
# far in its rcd.dat. SIGPIPE must not end the game at all, nor a stderr
# that is a pipe nobody reads.
#   end_signals.sh GAME
set -u
game=$(readlink -f "$1")
. "$(dirname "$0")/xvfb.sh"
for tool in Xvfb xdotool import convert; do command -v $tool >/dev/null || skip "$tool is not installed"; done
# Fourteen windows side by side on one screen, none over another, so that
# each one's screenshot is its own picture.
start_xvfb 2720x1000x24 || skip "Xvfb could not start"
export XDG_CONFIG_HOME=$work/config SDL_AUDIODRIVER=dummy
unset LANG LC_ALL XDG_RUNTIME_DIR
mkdir -p "$work/config/tessmar"
echo scale=1 >"$work/config/tessmar/settings.conf"  # 384 x 480 windows, seven to a row
# Score attack from the title, every pair dropped until the well is full;
# then nothing is held and the name entry waits.
printf '2\n1 Z\n79\n200 Down\n100\n' >"$work/script.txt"
rows=(QUIT USR1 USR2 ALRM VTALRM PROF XCPU XFSZ IO PWR RTMIN RTMAX PIPE closed-stderr)

# The game's window, by its process (every window is titled Tessmar).
window_of_pid() {  # pid
  found_window=$(xdotool search --onlyvisible --pid "$1" --name '^Tessmar$' 2>/dev/null | head -n 1)
  [ -n "$found_window" ] || ! alive "$1"
}

declare -A pid wid
for row in "${rows[@]}"; do
  mkdir -p "$work/$row"
  if [ "$row" = closed-stderr ]; then
    # stderr a pipe whose reader is gone before the game writes a line
    (cd "$work/$row" && XDG_DATA_HOME=$work/$row exec "$game" --replay "$work/script.txt") 2> >(exec true) &
  else
    (cd "$work/$row" && XDG_DATA_HOME=$work/$row exec "$game" --replay "$work/script.txt") 2>"$work/$row/stderr" &
  fi
  pid[$row]=$!
  pids+=($!)
done
tile=0
for row in "${rows[@]}"; do
  found_window=
  holds_within 30 window_of_pid ${pid[$row]} && [ -n "$found_window" ] || fail "$row: no window"
  wid[$row]=$found_window
  xdotool windowmove "$found_window" $((tile % 7 * 388)) $((tile / 7 * 500))
  tile=$((tile + 1))
done
# Each replay ends at the name entry, which then waits.
for row in "${rows[@]}"; do
  wait_until 60 "$row: the name entry" name_entry_shown "${wid[$row]}"
  alive ${pid[$row]} || fail "$row: the game ended before its signal"
  [ -s "$work/$row/tessmar/rcd.dat" ] && fail "$row: records written before the name was finished"
done
# SIGPIPE is ignored: the game is still there after it, and is then ended
# by SIGTERM like the closed-stderr one.
kill -PIPE ${pid[PIPE]}
for row in "${rows[@]}"; do
  case $row in PIPE | closed-stderr) ;; *) kill -s "$row" ${pid[$row]} ;; esac
done
# Time let pass on purpose: nothing shows that the game did not end.
sleep 0.5
alive ${pid[PIPE]} || fail "PIPE: SIGPIPE ended the game"
kill -TERM ${pid[PIPE]} ${pid[closed-stderr]}
for row in "${rows[@]}"; do
  holds_within 5 gone ${pid[$row]} || fail "$row: still running 5 seconds after the signal"
  wait ${pid[$row]}
  status=$?
  [ $status -lt 128 ] || fail "$row: ended by signal $((status - 128))"
  records=$work/$row/tessmar/rcd.dat
  [ "$(stat -c %s "$records" 2>/dev/null)" = 197 ] || fail "$row: no 197-byte records file"
  score=$(od -An -tu4 -j28 -N4 "$records" | tr -d ' ')
  name=$(head -c 17 "$records" | tail -c 1)
  [ "$score" -gt 0 ] && [ "$name" = A ] || fail "$row: place 1 holds '$name' with $score points"
  echo "ok: $row kept $score points for '$name' (exit code $status)"
done
exit 0
