#!/usr/bin/env bash
# The "EDIT GAME" file dialog under a window manager (openbox on Xvfb, 1920 x
# 1080): it is transient for the game's window; while it is open the game's
# window keeps answering the window manager's pings and shows its picture
# again where the dialog moved off it. A mission picked in it (typed as a
# path relative to the game folder) plays unpaused. Qt is loaded only with it.
set -u
game=$(readlink -f "$1")
mission=$(readlink -f "$2")
here=$(dirname "$(readlink -f "$0")")
. "$here/xvfb.sh"
command -v Xvfb >/dev/null || skip "Xvfb is not installed"
for tool in openbox xdotool xprop xwininfo python3 import convert compare; do command -v $tool >/dev/null || fail "$tool is missing"; done
start_xvfb 1920x1080x24 || skip "Xvfb could not start"
start_openbox
export HOME=$work XDG_DATA_HOME=$work/data XDG_CONFIG_HOME=$work/config SDL_AUDIODRIVER=dummy
# The window at 1x, so that the dialog can be moved wholly off it.
mkdir -p "$work/config/tessmar" "$work/data/tessmar/mission"
echo "scale=1" >"$work/config/tessmar/settings.conf"
cp "$mission" "$work/data/tessmar/mission/05.msn"
(cd "$work" && exec "$game" --language en) 2>"$work/stderr" &
game_pid=$!
wid=$(wait_window $game_pid '^Tessmar$') || fail "no game window: $(cat "$work/stderr")"
wait_until 20 "the title's picture" drawn "$wid"
qt_loaded() { grep -c 'libQt6Widgets' "/proc/$game_pid/maps"; }
[ "$(qt_loaded)" = 0 ] || fail "Qt is loaded before the dialog opens"
echo "ok: the game runs without Qt until the dialog opens"
focus_window "$wid"
to_edit_game "$wid"
# The game's window as the screen shows it (with whatever stands over it).
origin() { xwininfo -id "$1" | awk '/Absolute upper-left X/{x=$4} /Absolute upper-left Y/{y=$4} END{print x, y}'; }
read -r gx gy <<<"$(origin "$wid")"
shot() { import -window root -crop "384x480+$gx+$gy" +repage "$work/$1.png" 2>/dev/null; }
shot before_dialog || fail "no screenshot before the dialog"
press "$wid" z
did=$(wait_window $game_pid '^Choose a mission$') || fail "no file dialog: $(cat "$work/stderr")"
[ "$(qt_loaded)" -gt 0 ] || fail "the dialog opened without Qt"
transient=$(xprop -id "$did" WM_TRANSIENT_FOR | grep -o '0x[0-9a-f]*')
[ -n "$transient" ] || fail "the dialog is transient for no window"
[ $((transient)) -eq $((wid)) ] || fail "the dialog is transient for $transient, not the game's window $wid"
echo "ok: the dialog is transient for the game's window"
python3 "$here/net_wm_ping.py" "$wid" 10 || fail "the game's window did not answer a ping with the dialog open"
echo "ok: the game's window answers pings with the dialog open"

# The dialog, opened centred over the game's window, moved off it: the
# game's picture is back where the dialog was (frames wait meanwhile, so it
# is the picture of before the dialog but for the fish that swam on: they
# alone change at most four 32 x 32 places twice, under 10 % of the window).
# (compare's status says whether the pictures differ: only its count matters)
differing() { compare -metric AE "$work/before_dialog.png" "$work/$1.png" null: 2>&1; }
dialog_over_game() { shot with_dialog && covered=$(differing with_dialog); [ "${covered:-0}" -gt 92160 ]; }
covered=
holds_within 20 dialog_over_game || fail "the dialog did not stand over the game's window ($covered pixels changed)"
xdotool windowmove --sync "$did" 0 0 2>/dev/null
read -r dx dy <<<"$(origin "$did")"
dw=$(xwininfo -id "$did" | awk '/Width:/{print $2}')
[ $((dx + dw)) -le "$gx" ] || fail "the dialog did not move off the game's window (at $dx, $dy, $dw wide)"
repainted() { shot moved_off || return 1; left=$(differing moved_off); [ "$left" -lt 18432 ]; }
holds_within 20 repainted ||
  fail "the game's window was not repainted where the dialog was ($left of 184320 pixels differ)"
no_window '^Choose a mission$' && fail "the dialog closed when moved"
echo "ok: the game's window shows its picture again once the dialog moves off it ($left pixels differ, the fish)"

focus_window "$did"
press "$did" Escape
wait_until 20 "Escape to close the dialog" no_window '^Choose a mission$'
alive $game_pid || fail "the game ended with the dialog: $(cat "$work/stderr")"
echo "ok: Escape cancels the dialog"

# Picked by a path typed relative to the game folder, the mission plays
# unpaused once the board has slid in.
focus_window "$wid"
wait_until 20 "mission select again after the dialog" pointer_at "$wid" 364
press "$wid" z
did=$(wait_window $game_pid '^Choose a mission$') || fail "no file dialog the second time: $(cat "$work/stderr")"
focus_window "$did"
xdotool type --delay 20 "mission/05.msn"
xdotool key Return
wait_until 20 "the dialog to take the typed path" no_window '^Choose a mission$'
wait_until 30 "the picked mission's board to slide in" board_in_place "$wid"
wait_until 20 "the picked mission to play unpaused" moving "$wid"
echo "ok: the picked mission plays unpaused"
kill -TERM "$game_pid"
wait_until 20 "the game to end on SIGTERM" gone "$game_pid"
wait "$game_pid"
status=$?
game_pid=
[ "$status" = 0 ] || fail "the game did not end cleanly after the dialog (status $status): $(cat "$work/stderr")"
echo "PASSED"
