#!/usr/bin/env bash
# Under a window manager (openbox on Xvfb): another window takes the focus
# while the board slides in; play must not run unattended: once play begins
# the game is paused, it stays paused when the focus comes back, and Enter
# resumes it.
set -u
game=$(readlink -f "$1")
. "$(dirname "$(readlink -f "$0")")/xvfb.sh"
command -v Xvfb >/dev/null || skip "Xvfb is not installed"
for tool in openbox xdotool xprop xmessage import convert compare; do command -v $tool >/dev/null || fail "$tool is missing"; done
start_xvfb 1280x1024x24 || skip "Xvfb could not start"
start_openbox
export HOME=$work XDG_DATA_HOME=$work/data XDG_CONFIG_HOME=$work/config SDL_AUDIODRIVER=dummy
mkdir -p "$work/config/tessmar"
echo "scale=1" >"$work/config/tessmar/settings.conf"
(cd "$work" && exec "$game") 2>"$work/stderr" &
game_pid=$!
wid=$(wait_window $game_pid '^Tessmar$') || fail "no game window: $(cat "$work/stderr")"
# The window that takes the focus, there before the board starts to slide.
xmessage -geometry 200x80+0+0 "elsewhere" 2>/dev/null &
other_pid=$!
other=$(wait_window $other_pid '^xmessage$') || fail "no other window to take the focus"
focus_window "$wid"
wait_until 20 "the title's pointer on SCORE ATTACK" pointer_at "$wid" 300
press "$wid" z  # SCORE ATTACK: the board slides in for two seconds
entry_begun() { ! pointer_at "$1" 300; }
wait_until 20 "the board to start sliding in" entry_begun "$wid"
focus_window "$other"
snap "$wid" focus_gone && ! board_rows_bare "$work/focus_gone.png" ||
  fail "the board had slid in before the focus went: the test came too late to see the entry"
wait_until 30 "the pause as play begins" pause_shown "$wid"
still_for "$wid" 1 || fail "play ran unattended after the focus went away during the board's entry"
echo "ok: paused as play began"
focus_window "$wid"
still_for "$wid" 1 || fail "play went on when the focus came back"
press "$wid" Return
wait_until 20 "Enter to resume play" moving "$wid"
echo "ok: Enter resumes"
echo "PASSED"
