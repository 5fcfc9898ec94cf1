#!/usr/bin/env bash
# A pad alone drives the game in a real window (openbox on Xvfb): SDL's
# virtual pad, plugged in by TESSMAR_TEST_PAD, holds the buttons this test
# writes to a file. Back opens the options, the HELP line the help pages,
# the right button closes them; EDIT GAME chosen with the pad lists the
# author's missions (no dialog, no Qt) and starts the one chosen; Start
# pauses, Back opens the options over the pause and closes them again.
#   pad_smoke.sh GAME MISSION.msn
set -u
game=$(readlink -f "$1")
mission=$(readlink -f "$2")
. "$(dirname "$(readlink -f "$0")")/xvfb.sh"
command -v Xvfb >/dev/null || skip "Xvfb is not installed"
for tool in openbox xdotool import convert compare; do command -v $tool >/dev/null || fail "$tool is missing"; done
start_xvfb || skip "Xvfb could not start"
start_openbox
export HOME=$work XDG_DATA_HOME=$work/data XDG_CONFIG_HOME=$work/config SDL_AUDIODRIVER=dummy
mkdir -p "$work/config/tessmar" "$work/data/tessmar/missions"
echo "scale=1" >"$work/config/tessmar/settings.conf"
cp "$mission" "$work/data/tessmar/missions/first.msn"
cp "$mission" "$work/data/tessmar/missions/Second.msn"
pad=$work/pad
: >"$pad"
(cd "$work" && TESSMAR_TEST_PAD=$pad exec "$game" --language en) 2>"$work/stderr" &
game_pid=$!
wid=$(wait_window $game_pid '^Tessmar$') || fail "no game window: $(cat "$work/stderr")"
focus_window "$wid"  # the pad is read while the window has the focus
wait_until 20 "the title's pointer on SCORE ATTACK" pointer_at "$wid" 300

# A button tapped (held for one frame, let go in the next: the test pad
# does both, each tap numbered), then the picture waited for.
taps=0
tap() {  # button, what, condition...
  local button=$1 what=$2
  shift 2
  taps=$((taps + 1))
  echo "$taps $button" >"$pad"
  wait_until 20 "$what after the pad's $button" "$@"
}
options_pointer_at() { snap "$1" now && glyph_at "$work/now.png" 16 "$2"; }
narrow_at() { snap "$1" now && [ "$(outline_pixels "$work/now.png" "$2" "$3" 8 16)" -ge 6 ]; }
help_shown() { narrow_at "$1" 8 290; }  # "GAMEPAD, ITS BUTTONS..." on the first page
list_shown() { snap "$1" now && glyph_at "$work/now.png" 16 24; }  # "EDIT GAME" at its top
qt_loaded() { grep -c 'libQt6Widgets' "/proc/$game_pid/maps"; }

tap back "the options screen" options_pointer_at "$wid" 64
for line in 1 2 3 4 5 6 7 8 9 10 11; do
  tap dpdown "the pointer on line $line" options_pointer_at "$wid" $((64 + 28 * line))
done
snap "$wid" options
tap a "the help pages from the HELP line" help_shown "$wid"
snap "$wid" help
tap b "the title again" pointer_at "$wid" 300
echo "ok: Back opens the options, HELP the pages, the right button closes them"
tap dpdown "the title's pointer on MISSION MODE" pointer_moved "$wid" 324 300
tap a "the mission select" pointer_moved "$wid" 300 324
tap dpdown "the pointer on EDIT GAME" pointer_moved "$wid" 364 300
tap a "EDIT GAME's list" list_shown "$wid"
snap "$wid" list
narrow_at "$wid" 16 64 || fail "the list's pointer is not on its first file"
[ "$(qt_loaded)" = 0 ] || fail "EDIT GAME with the pad loaded Qt"
no_window '^Choose a mission$' || fail "EDIT GAME with the pad opened the dialog"
tap dpdown "the list's pointer on the second file" narrow_at "$wid" 16 86
tap a "play of the mission chosen" board_in_place "$wid"
echo "ok: EDIT GAME with the pad lists the author's missions and plays the one chosen, without the dialog"
tap start "the pause" pause_shown "$wid"
tap back "the options over the pause" options_pointer_at "$wid" 64
tap back "the pause again" pause_shown "$wid"
tap start "play again" moving "$wid"
echo "ok: Start pauses and goes on, Back opens and closes the options over the pause"
press "$wid" Escape
wait_until 20 "the game to end after Escape" gone "$game_pid"
echo "PASSED"
