#!/usr/bin/env bash
# Starts the game under Xvfb in a folder with broken sounds and no audio
# device, checks the window's size, title and picture, then quits it with
# Escape and checks the exit code; then renders the tune through SDL's disk
# audio driver and checks it is heard once a game starts, and the landing
# sound with the full set of sounds but not the classic one.
set -u
game=$(readlink -f "$1")
. "$(dirname "$0")/xvfb.sh"
command -v Xvfb >/dev/null || skip "Xvfb is not installed"
for tool in xdotool xwininfo convert; do command -v $tool >/dev/null || fail "$tool is missing"; done

start_xvfb || skip "Xvfb could not start"
# A settings folder of its own, so the window opens as on a new machine.
export XDG_CONFIG_HOME=$work/config
# The game folder is the player's own (as ./tessmar play makes it): only
# there are its sounds used instead of the build's.
export XDG_DATA_HOME=$work/data
mkdir -p "$work/data" && ln -s "$work/game" "$work/data/tessmar"

run_once() {  # audio driver
  mkdir -p "$work/game/snd"
  printf 'RIFF garbage' >"$work/game/snd/lr.wav"
  : >"$work/game/snd/turn.wav"
  (cd "$work/game" && SDL_AUDIODRIVER=$1 TESSMAR_FPS_LOG=1 exec "$game") 2>"$work/stderr" &
  game_pid=$!
  wid=$(wait_window $game_pid '^Tessmar$') || fail "no window titled Tessmar: $(cat "$work/stderr")"
  geometry=$(xwininfo -id "$wid" | awk '/Width:/{w=$2} /Height:/{h=$2} END{print w "x" h}')
  [ "$geometry" = "384x480" ] || fail "client area is $geometry, not 384x480"
  wait_until 20 "a picture in the window" drawn "$wid"
  # The menus' background: the sky gradient seen through the light tile.
  top=$(convert "$work/now.png" -format '%[fx:int(255*p{20,2}.r)],%[fx:int(255*p{20,2}.g)],%[fx:int(255*p{20,2}.b)]' info:)
  bottom=$(convert "$work/now.png" -format '%[fx:int(255*p{20,477}.r)],%[fx:int(255*p{20,477}.g)],%[fx:int(255*p{20,477}.b)]' info:)
  IFS=, read -r tr tg tb <<<"$top"
  IFS=, read -r br bg bb <<<"$bottom"
  [ "$tb" -gt "$tr" ] && [ "$tb" -le 247 ] && [ "$tb" -ge 120 ] || fail "top pixel $top is not the sky"
  [ "$bb" -le 200 ] && [ "$bb" -gt "$br" ] || fail "bottom pixel $bottom is not the sky"
  [ "$tb" -ge "$bb" ] || fail "the sky is not lighter at the top ($top over $bottom)"
  focus_window "$wid"
  press "$wid" Escape
  wait_until 20 "the game to end after Escape" gone "$game_pid"
  wait $game_pid
  code=$?
  game_pid=
  [ $code -eq 0 ] || fail "exit code $code"
  echo "ok with SDL_AUDIODRIVER=$1: window $geometry, top $top, bottom $bottom; $(tr '\n' ' ' <"$work/stderr")"
}

run_once dummy
run_once no-such-driver

# The tune plays: rendered through SDL's disk audio driver (44100 Hz, 16-bit
# stereo, written at the pace of playing), the title is silent and, once a
# score-attack game's board has slid in, the tune is heard.
rm -rf "$work/game" && mkdir -p "$work/game"
cp -r "$(dirname "$game")/gamedata/snd" "$work/game/" || fail "no sounds beside the game"
(cd "$work/game" && SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE="$work/audio.raw" exec "$game") 2>"$work/stderr" &
game_pid=$!
wid=$(wait_window $game_pid '^Tessmar$') || fail "no window titled Tessmar: $(cat "$work/stderr")"
listen_title_then_game "$wid" "$work/audio.raw"
press "$wid" Escape
wait $game_pid || fail "exit code $? after the tune"
game_pid=
read -r title_peak _ <<<"$(sound_level "$work/audio.raw" 0 "$at_title")"
read -r tune_peak tune_rms <<<"$(sound_level "$work/audio.raw" "$tune_from" "$audio_second")"
[ "$title_peak" -eq 0 ] || fail "the title is not silent (peak $title_peak)"
[ "$tune_rms" -ge 500 ] || fail "no tune in the game (peak $tune_peak, rms $tune_rms)"
echo "ok with the tune: the title's $at_title bytes silent, play's first second at peak $tune_peak, rms $tune_rms"

# The landing is heard with the full set of sounds and not with the classic
# one: a game folder with land.wav alone, a replayed score-attack game whose
# first pairs are dropped to the floor, then Escape from the script.
printf '2\n1 Z\n100\n40 Down\n30\n1 Escape\n' >"$work/land.txt"
landing_peak() {  # settings file's text
  rm -rf "$work/game" "$work/config" "$work/land.raw" && mkdir -p "$work/game/snd" "$work/config/tessmar"
  cp "$(dirname "$game")/gamedata/snd/land.wav" "$work/game/snd/" || fail "no land.wav beside the game"
  printf '%s' "$1" >"$work/config/tessmar/settings.conf"
  (cd "$work/game" && SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE="$work/land.raw" exec timeout 30 "$game" \
    --replay "$work/land.txt") 2>"$work/stderr"
  [ $? -eq 0 ] || fail "the replayed landing did not end well: $(cat "$work/stderr")"
  read -r peak _ <<<"$(sound_level "$work/land.raw" 0 "$(stat -c %s "$work/land.raw")")"
  echo "$peak"
}
full_peak=$(landing_peak '') || fail "$full_peak"
classic_peak=$(landing_peak 'sounds=classic') || fail "$classic_peak"
[ "$full_peak" -ge 1000 ] || fail "no landing heard with the full set (peak $full_peak)"
[ "$classic_peak" -eq 0 ] || fail "a landing heard with sounds=classic (peak $classic_peak)"
echo "ok with the landing: peak $full_peak with the full set, silent with sounds=classic"

# Without any display the game says so and stops instead of running unseen.
(cd "$work" && env -u DISPLAY -u WAYLAND_DISPLAY SDL_AUDIODRIVER=dummy timeout 10 "$game") 2>"$work/stderr"
code=$?
[ $code -eq 1 ] || fail "without a display the exit code is $code, not 1"
grep -q 'no display' "$work/stderr" || fail "without a display nothing was said: $(cat "$work/stderr")"
echo "ok without a display: exit code 1, '$(grep 'no display' "$work/stderr")'"
exit 0
