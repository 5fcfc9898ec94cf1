#!/usr/bin/env bash
# A best score waiting for its name under Xvfb: SIGHUP, and then the X server
# going away (with no sound device, and with one playing), must each leave it
# in rcd.dat with the name so far, as a quit does, and end the game without
# a crash. SIGTERM with the open-file dialog open ends the game.
#   quit_signals.sh GAME
set -u
game=$(readlink -f "$1")
. "$(dirname "$0")/xvfb.sh"
command -v Xvfb >/dev/null || skip "Xvfb is not installed"
export XDG_CONFIG_HOME=$work/config SDL_AUDIODRIVER=dummy
unset LANG LC_ALL XDG_RUNTIME_DIR
# Score attack from the title, every pair dropped until the well is full;
# then nothing is held and the name entry waits.
printf '2\n1 Z\n79\n200 Down\n100\n' >"$work/script.txt"

for ending in hangup display display-sound; do
  start_xvfb || skip "Xvfb could not start"
  export XDG_DATA_HOME=$work/data-$ending SDL_AUDIODRIVER=dummy
  [ $ending = display ] && export SDL_AUDIODRIVER=none
  (cd "$work" && exec "$game" --replay "$work/script.txt") 2>"$work/stderr" &
  game_pid=$!
  wid=$(wait_window $game_pid '^Tessmar$') || fail "$ending: no window: $(cat "$work/stderr")"
  # About ten seconds of the replay at 40 frames a second.
  wait_until 60 "$ending: the name entry" name_entry_shown "$wid"
  records=$XDG_DATA_HOME/tessmar/rcd.dat
  [ -s "$records" ] && fail "$ending: records written before the name was finished"
  if [ $ending = hangup ]; then kill -HUP $game_pid; else kill $xvfb_pid; wait $xvfb_pid 2>/dev/null; xvfb_pid=; fi
  wait_until 20 "$ending: the game to end" gone "$game_pid"
  wait $game_pid
  status=$?
  game_pid=
  [ $status -lt 128 ] || fail "$ending: ended by signal $((status - 128)): $(cat "$work/stderr")"
  [ "$(stat -c %s "$records" 2>/dev/null)" = 197 ] || fail "$ending: no 197-byte records file: $(cat "$work/stderr")"
  score=$(od -An -tu4 -j28 -N4 "$records" | tr -d ' ')
  name=$(head -c 17 "$records" | tail -c 1)
  [ "$score" -gt 0 ] && [ "$name" = A ] || fail "$ending: place 1 holds '$name' with $score points"
  echo "ok: $ending during the name entry kept $score points for '$name'"
  [ -n "$xvfb_pid" ] && { kill $xvfb_pid; wait $xvfb_pid 2>/dev/null; xvfb_pid=; }
done

# SIGTERM while the "EDIT GAME" file dialog is open: the dialog closes and
# the game ends, with exit code 0.
start_xvfb || skip "Xvfb could not start"
command -v xdotool >/dev/null || fail "xdotool is missing"
export XDG_DATA_HOME=$work/data-dialog
(cd "$work" && exec "$game" --language en) 2>"$work/stderr" &
game_pid=$!
wid=$(wait_window $game_pid '^Tessmar$') || fail "dialog: no window: $(cat "$work/stderr")"
focus_window "$wid"
to_edit_game "$wid"
press "$wid" z
wait_window $game_pid '^Choose a mission$' >/dev/null || fail "dialog: no open-file dialog: $(cat "$work/stderr")"
kill -TERM $game_pid
wait_until 20 "dialog: the game to end after SIGTERM with the dialog open" gone "$game_pid"
wait $game_pid || fail "dialog: exit code $? after SIGTERM"
game_pid=
echo "ok: SIGTERM with the file dialog open ended the game"
