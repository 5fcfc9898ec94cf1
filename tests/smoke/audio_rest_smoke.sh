#!/usr/bin/env bash
# The audio device rests while nothing can be heard, and wakes for the next
# sound; with the tune on it never rests in play. Under Xvfb with SDL's disk
# audio driver, which writes what the game plays to a file in real time
# (the file is started again each time the device opens).
#   audio_rest_smoke.sh GAME
set -u
game=$(readlink -f "$1")
. "$(dirname "$0")/xvfb.sh"
command -v Xvfb >/dev/null || skip "Xvfb is not installed"
command -v xdotool >/dev/null || fail "xdotool is missing"
start_xvfb || skip "Xvfb could not start"

audio_threads() { grep -l '^SDLAudio' /proc/"$game_pid"/task/*/comm 2>/dev/null | wc -l; }
resting() { [ "$(audio_threads)" -eq 0 ]; }
# The output has grown past a tenth of a second of sound since the device
# last opened, and holds something other than silence.
heard() { [ "$(stat -c %s "$out" 2>/dev/null || echo 0)" -gt 17640 ] && [ "$(tr -d '\0' <"$out" | head -c 1 | wc -c)" -eq 1 ]; }

start_game() {  # settings line
  home=$work/$1
  mkdir -p "$home/config/tessmar"
  echo "$1" >"$home/config/tessmar/settings.conf"
  out=$home/audio.raw
  (cd "$home" && HOME=$home XDG_CONFIG_HOME=$home/config XDG_DATA_HOME=$home/data \
    SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE=$out exec "$game") 2>"$home/stderr" &
  game_pid=$!
  wid=$(wait_window $game_pid '^Tessmar$') || fail "$1: no window: $(cat "$home/stderr")"
  wait_until 20 "$1: the title's picture" drawn "$wid"
  focus_window "$wid"
}

end_game() {
  press "$wid" Escape
  wait_until 20 "the game to end after Escape" gone "$game_pid"
  wait "$game_pid" || fail "exit code $?: $(cat "$home/stderr")"
  game_pid=
}

# MUSIC 0: on the title nothing sounds, so the device closes (SDL's audio
# thread ends); a menu move's sound opens it again and is played.
start_game music=0
wait_until 20 "the silent title's device to rest" resting
press "$wid" Down
wait_until 10 "the menu move's sound after the rest" heard
[ "$(audio_threads)" -eq 1 ] || fail "the device did not open again for the sound"
wait_until 20 "the device to rest again" resting
end_game

# The tune on: play starts it, and the device stays open while it plays,
# longer than the rest would wait: the output grows all along (a device
# opened again would start it anew), by at least half the time's sound.
start_game music=8
press "$wid" z
# Past the board's entry (2.25 s), where play starts the tune.
played() { [ "$(stat -c %s "$out")" -gt $((3 * 176400)) ]; }
wait_until 20 "the tune in play" played
before=$(stat -c %s "$out")
sleep 4
grown=$(($(stat -c %s "$out") - before))
[ "$grown" -ge $((2 * 176400)) ] || fail "the device rested while the tune played (the output grew by $grown bytes in 4 s)"
end_game
echo "ok: the device rests when silent, wakes for a sound, stays open for the tune"
exit 0
