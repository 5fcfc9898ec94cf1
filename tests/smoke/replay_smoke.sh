#!/usr/bin/env bash
# A score-attack game played in a real window is kept as a replay: the
# headless runner verifies it to the score the records file holds, and the
# records screen's R lists it, Z watches it, X goes back.
set -u
game=$(readlink -f "$1")
headless=$(readlink -f "$2")
. "$(dirname "$(readlink -f "$0")")/xvfb.sh"
command -v Xvfb >/dev/null || skip "Xvfb is not installed"
for tool in xdotool import convert compare; do command -v $tool >/dev/null || fail "$tool is missing"; done
start_xvfb 1280x1024x24 || skip "Xvfb could not start"
export HOME=$work XDG_DATA_HOME=$work/data XDG_CONFIG_HOME=$work/config SDL_AUDIODRIVER=dummy
unset LANG LC_ALL
mkdir -p "$work/config/tessmar"
echo "scale=1" >"$work/config/tessmar/settings.conf"
(cd "$work" && exec "$game") 2>"$work/stderr" &
game_pid=$!
wid=$(wait_window $game_pid '^Tessmar$') || fail "no game window: $(cat "$work/stderr")"
focus_window "$wid"
wait_until 20 "the title's pointer on SCORE ATTACK" pointer_at "$wid" 300
press "$wid" z
wait_until 20 "the board in place" board_in_place "$wid"
# Every pair held straight down: the middle column fills within seconds.
xdotool keydown Down
wait_until 60 "the name entry after the game" name_entry_shown "$wid"
xdotool keyup Down
press "$wid" Return
wait_until 20 "the title after the name entry" pointer_at "$wid" 300
replays=$work/data/tessmar/replays
kept() { [ "$(ls "$replays"/*.tsr 2>/dev/null | wc -l)" = 1 ]; }
wait_until 10 "one replay in $replays" kept
replay=$(ls "$replays"/*.tsr)
records=$(find "$work" -name rcd.dat | head -1)
[ -n "$records" ] || fail "no records file"
first=$(od -An -tu4 -j28 -N4 "$records" | tr -d ' ')
line=$(cd "$work" && "$headless" --verify "$replay") || fail "verify failed: $line"
echo "verified: $line"
case $line in
  *"\"score\":$first,"*"\"entry\":{\"place\":1,"*"\"score\":$first}"*) echo "ok: the replay verifies to the records file's best score $first" ;;
  *) fail "the verified line does not show place 1 with $first" ;;
esac
# Watching it: RECORD, R for the list, Z to play, X back to the list, X to the records.
press "$wid" Down
wait_until 20 "the pointer on MISSION MODE" pointer_moved "$wid" 324 300
press "$wid" Down
wait_until 20 "the pointer on RECORD" pointer_moved "$wid" 348 324
press "$wid" z
records_shown() { snap "$1" now && glyph_at "$work/now.png" 40 128 && ! glyph_at "$work/now.png" 80 348; }
wait_until 20 "the records screen" records_shown "$wid"
list_shown() { snap "$1" now && glyph_at "$work/now.png" 40 88 && glyph_at "$work/now.png" 16 88 && ! glyph_at "$work/now.png" 40 128; }
press "$wid" r
wait_until 20 "the replays list" list_shown "$wid"
press "$wid" z
wait_until 20 "the replay's board in place" board_in_place "$wid"
wait_until 20 "the replay playing" moving "$wid"
echo "ok: the replay plays in the window"
press "$wid" Return
still_for "$wid" 1 || fail "Enter did not pause the replay"
press "$wid" Return
wait_until 20 "Enter to go on with the replay" moving "$wid"
echo "ok: Enter pauses the replay and goes on"
press "$wid" x
wait_until 20 "the list after X" list_shown "$wid"
press "$wid" x
wait_until 20 "the records screen after X" records_shown "$wid"
echo "ok: X goes back to the list, then to the records"
echo "PASSED"
