#!/usr/bin/env bash
# Under a window manager (openbox on Xvfb): another window takes the focus
# while the board slides in; play must not run unattended: once play begins
# the game is paused, and only Enter, back in the game's window, resumes it.
set -u
game=$(readlink -f "$1")
. "$(dirname "$(readlink -f "$0")")/xvfb.sh"
command -v Xvfb >/dev/null || skip "Xvfb is not installed"
for tool in openbox xdotool xprop xmessage import convert compare; do command -v $tool >/dev/null || fail "$tool is missing"; done
start_xvfb 1280x1024x24 || skip "Xvfb could not start"
openbox >"$work/openbox.log" 2>&1 &
wm_pid=$!
for _ in $(seq 50); do xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q window && break; sleep 0.1; done
export HOME=$work XDG_DATA_HOME=$work/data XDG_CONFIG_HOME=$work/config SDL_AUDIODRIVER=dummy
mkdir -p "$work/config/tessmar"
echo "scale=1" >"$work/config/tessmar/settings.conf"
(cd "$work" && exec "$game") 2>"$work/stderr" &
game_pid=$!
wid=$(wait_window $game_pid '^Tessmar$') || fail "no game window: $(cat "$work/stderr")"
shot() { import -window "$wid" "$work/$1.png" 2>/dev/null || fail "no screenshot $1"; }
sleep 2
xdotool windowactivate --sync "$wid" 2>/dev/null
xdotool keydown --window "$wid" z; sleep 0.2; xdotool keyup z  # SCORE ATTACK: the board slides in
sleep 0.6  # the choice taken (the entry lasts two seconds)
xmessage -geometry 200x80+0+0 "elsewhere" &
other_pid=$!
for _ in $(seq 50); do other=$(xdotool search --name '^xmessage$' 2>/dev/null | head -n 1); [ -n "$other" ] && break; sleep 0.1; done
[ -n "$other" ] || fail "no other window to take the focus"
xdotool windowactivate --sync "$other" 2>/dev/null
sleep 5  # the rest of the entry, then what would be a few seconds of play
# Paused: only the blinking PAUSE (picture rows 240 to 255) may change.
for n in 1 2 3; do
  shot "paused$n"
  convert "$work/paused$n.png" -fill black -draw "rectangle 0,235 383,260" "$work/still$n.png"
  sleep 0.7
done
for n in 2 3; do
  [ "$(compare -metric AE "$work/still1.png" "$work/still$n.png" null: 2>&1)" = "0" ] ||
    fail "play ran unattended after the focus went away during the board's entry"
done
echo "ok: paused as play began"
xdotool windowactivate --sync "$wid" 2>/dev/null
sleep 0.3
xdotool keydown --window "$wid" Return; sleep 0.2; xdotool keyup Return
sleep 0.5
shot resumed1; sleep 0.6; shot resumed2
[ "$(compare -metric AE "$work/resumed1.png" "$work/resumed2.png" null: 2>&1)" != "0" ] || fail "Enter did not resume"
echo "ok: Enter resumes"
echo "PASSED"
