#!/usr/bin/env bash
# The options screen in a real window (openbox on Xvfb), driven by xdotool,
# with the sound recorded by SDL's disk audio driver: MUSIC set to 0 on the
# screen, turning anticlockwise moved from Z to Q. In play the output is
# silent while nothing sounds (the tune is not played at all), Z no longer
# turns the pair (silence), Q does (the turn's sound).
set -u
game=$(readlink -f "$1")
. "$(dirname "$(readlink -f "$0")")/xvfb.sh"
command -v Xvfb >/dev/null || skip "Xvfb is not installed"
for tool in openbox xdotool import convert od awk; do command -v $tool >/dev/null || fail "$tool is missing"; done
start_xvfb || skip "Xvfb could not start"
start_openbox
export HOME=$work XDG_DATA_HOME=$work/data XDG_CONFIG_HOME=$work/config
settings=$work/config/tessmar/settings.conf
mkdir -p "$work/config/tessmar"
# The picture at 1x, from the window's corner; MUSIC one step above 0, so a
# single press sets it (presses closer than a frame apart would count once).
printf 'scale=1\nmusic=1\n' >"$settings"
(cd "$work" && SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE="$work/audio.raw" exec "$game" --language en) 2>"$work/stderr" &
game_pid=$!
wid=$(wait_window $game_pid '^Tessmar$') || fail "no game window: $(cat "$work/stderr")"
focus_window "$wid"
wait_until 20 "the title's pointer on SCORE ATTACK" pointer_at "$wid" 300

# The options' main page: its pointer ">" at (16, 64 + 28 a line); the keys
# page's narrow one at (8, 56 + 22 a line).
options_pointer_at() { snap "$1" now && glyph_at "$work/now.png" 16 "$2"; }
keys_pointer_at() { snap "$1" now && [ "$(outline_pixels "$work/now.png" 8 "$2" 8 16)" -ge 6 ]; }
has_line() { grep -qx "$1" "$settings"; }

press "$wid" F2
wait_until 20 "the options screen after F2" options_pointer_at "$wid" 64
press "$wid" Left
wait_until 20 "MUSIC 0 kept in settings.conf" has_line "music=0"
press "$wid" Down
wait_until 20 "the pointer on EFFECTS" options_pointer_at "$wid" 92
press "$wid" Down
wait_until 20 "the pointer on KEYS" options_pointer_at "$wid" 120
press "$wid" z
wait_until 20 "the keys page" keys_pointer_at "$wid" 56
for line in 1 2 3 4; do
  press "$wid" Down
  wait_until 20 "the keys page's pointer on line $line" keys_pointer_at "$wid" $((56 + 22 * line))
done
snap "$wid" before_capture
key_text() { outline_pixels "$1" 232 144 120 16; }
before=$(key_text "$work/before_capture.png")
capturing() { snap "$1" now && [ "$(key_text "$work/now.png")" -gt $((before + 100)) ]; }
press "$wid" z
wait_until 20 "PRESS A KEY beside TURN ANTICLOCKWISE" capturing "$wid"
press "$wid" q
wait_until 20 "key.turn_left=Q kept in settings.conf" has_line "key.turn_left=Q"
echo "ok: MUSIC 0 and turning anticlockwise on Q, chosen on the options screen"
press "$wid" F2
wait_until 20 "the title after F2" pointer_at "$wid" 300
press "$wid" q  # the menus' confirm is the turning key: SCORE ATTACK
wait_until 20 "play to begin after Q" board_in_place "$wid"

# What the device plays over the next SECONDS: its peak and rms. The device
# rests (writes nothing) while nothing sounds, and the file starts anew each
# time it opens again.
played_since() {  # size before
  local now
  now=$(file_size "$work/audio.raw")
  if [ "$now" -lt "$1" ]; then sound_level "$work/audio.raw" 0 "$now"; else sound_level "$work/audio.raw" "$1" $((now - $1)); fi
}
listen() {  # seconds
  local from
  from=$(file_size "$work/audio.raw")
  sleep "$1"
  played_since "$from"
}
read -r peak rms <<<"$(listen 1)"
[ "$peak" -eq 0 ] || fail "a second of play with MUSIC 0 and no key is not silent: peak $peak, rms $rms"
echo "ok: a second of play with MUSIC 0 is silent"
press "$wid" z
read -r peak rms <<<"$(listen 0.5)"
[ "$peak" -eq 0 ] || fail "Z still sounds after it was moved: peak $peak"
from=$(file_size "$work/audio.raw")
loud() { read -r peak rms <<<"$(played_since "$from")"; [ "$peak" -gt 1000 ]; }
press "$wid" q
wait_until 20 "the turn's sound after Q" loud
echo "ok: Z is silent, Q turns the pair (the turn's sound, peak $peak)"
press "$wid" Escape
wait_until 20 "the game to end after Escape" gone "$game_pid"
echo "PASSED"
