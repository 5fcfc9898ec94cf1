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
openbox >"$work/openbox.log" 2>&1 &
wm_pid=$!
for _ in $(seq 50); do xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q window && break; sleep 0.1; done
export HOME=$work XDG_DATA_HOME=$work/data XDG_CONFIG_HOME=$work/config SDL_AUDIODRIVER=dummy
# The window at 1x, so that the dialog can be moved wholly off it.
mkdir -p "$work/config/tessmar" "$work/data/tessmar/mission"
echo "scale=1" >"$work/config/tessmar/settings.conf"
cp "$mission" "$work/data/tessmar/mission/05.msn"
(cd "$work" && exec "$game" --language en) 2>"$work/stderr" &
game_pid=$!
wid=$(wait_window $game_pid '^Tessmar$') || fail "no game window: $(cat "$work/stderr")"
# Held long and spaced well apart: on a busy machine a frame can take long.
hold() { xdotool keydown --window "$wid" "$1" 2>/dev/null; sleep 0.3; xdotool keyup --window "$wid" "$1" 2>/dev/null; sleep 1; }
sleep 2
qt_loaded() { grep -c 'libQt6Widgets' "/proc/$game_pid/maps"; }
[ "$(qt_loaded)" = 0 ] || fail "Qt is loaded before the dialog opens"
echo "ok: the game runs without Qt until the dialog opens"
xdotool windowactivate --sync "$wid" 2>/dev/null
hold Down   # MISSION MODE
hold z      # the mission select
hold Down   # EDIT GAME
# The game's window as the screen shows it (with whatever stands over it).
origin() { xwininfo -id "$1" | awk '/Absolute upper-left X/{x=$4} /Absolute upper-left Y/{y=$4} END{print x, y}'; }
read -r gx gy <<<"$(origin "$wid")"
shot() { import -window root -crop "384x480+$gx+$gy" +repage "$work/$1.png" 2>/dev/null || fail "no screenshot $1"; }
shot before_dialog
# Let go through the server, wherever the focus has gone by then: released
# only in the game's window, the key would go on repeating in the dialog.
xdotool keydown z; sleep 0.3; xdotool keyup z; sleep 1
did=
for _ in 1 2 3; do
  did=$(wait_window $game_pid '^Choose a mission$') && break
done
[ -n "$did" ] || fail "no file dialog: $(cat "$work/stderr")"
[ "$(qt_loaded)" -gt 0 ] || fail "the dialog opened without Qt"
transient=$(xprop -id "$did" WM_TRANSIENT_FOR | grep -o '0x[0-9a-f]*')
[ -n "$transient" ] || fail "the dialog is transient for no window"
[ $((transient)) -eq $((wid)) ] || fail "the dialog is transient for $transient, not the game's window $wid"
echo "ok: the dialog is transient for the game's window"
python3 "$here/net_wm_ping.py" "$wid" 3 || fail "the game's window did not answer a ping with the dialog open"
echo "ok: the game's window answers pings with the dialog open"

# The dialog, opened centred over the game's window, moved off it: the
# game's picture is back where the dialog was (frames wait meanwhile, so it
# is the picture of before the dialog but for the fish that swam on).
shot with_dialog
xdotool windowmove --sync "$did" 0 0 2>/dev/null
read -r dx dy <<<"$(origin "$did")"
dw=$(xwininfo -id "$did" | awk '/Width:/{print $2}')
[ $((dx + dw)) -le "$gx" ] || fail "the dialog did not move off the game's window (at $dx, $dy, $dw wide)"
sleep 0.5
[ -n "$(xdotool search --name '^Choose a mission$' 2>/dev/null)" ] || fail "the dialog closed when moved"
shot moved_off
covered=$(compare -metric AE "$work/before_dialog.png" "$work/with_dialog.png" null: 2>&1)
left=$(compare -metric AE "$work/before_dialog.png" "$work/moved_off.png" null: 2>&1)
# The fish alone change at most four 32 x 32 places twice: under 10 % of the window.
[ "$covered" -gt 92160 ] || fail "the dialog did not stand over the game's window ($covered pixels changed)"
[ "$left" -lt 18432 ] || fail "the game's window was not repainted where the dialog was ($left of 184320 pixels differ)"
echo "ok: the game's window shows its picture again once the dialog moves off it ($left pixels differ, the fish)"

xdotool key --window "$did" Escape 2>/dev/null
for _ in $(seq 30); do [ -z "$(xdotool search --name '^Choose a mission$' 2>/dev/null)" ] && break; sleep 0.1; done
alive $game_pid || fail "the game ended with the dialog: $(cat "$work/stderr")"
echo "ok: Escape cancels the dialog"

# Picked by a path typed relative to the game folder, the mission plays
# unpaused once the board has slid in: more than the rows of PAUSE moves.
xdotool windowactivate --sync "$wid" 2>/dev/null
focused() { [ "$(xdotool getwindowfocus 2>/dev/null)" = "$(($1))" ]; }
for _ in $(seq 50); do focused "$wid" && break; sleep 0.1; done
focused "$wid" || fail "the game's window did not get the focus back after the dialog"
sleep 0.3
xdotool keydown z; sleep 0.3; xdotool keyup z
did=$(wait_window $game_pid '^Choose a mission$') || fail "no file dialog the second time: $(cat "$work/stderr")"
xdotool windowactivate --sync "$did" 2>/dev/null
sleep 0.5
xdotool type --delay 20 "mission/05.msn"
xdotool key Return
for _ in $(seq 30); do [ -z "$(xdotool search --name '^Choose a mission$' 2>/dev/null)" ] && break; sleep 0.1; done
[ -z "$(xdotool search --name '^Choose a mission$' 2>/dev/null)" ] || fail "the dialog did not take the typed path"
sleep 4  # half a second after the pick, two of the board's entry, then play
for n in 1 2 3; do
  shot "play$n"
  convert "$work/play$n.png" -fill black -draw "rectangle 0,235 383,260" "$work/still$n.png"
  sleep 0.6
done
moved=0
for n in 2 3; do
  [ "$(compare -metric AE "$work/still1.png" "$work/still$n.png" null: 2>&1)" != "0" ] && moved=1
done
[ "$moved" = 1 ] || fail "the mission picked in the dialog began paused"
echo "ok: the picked mission plays unpaused"
kill -TERM "$game_pid"
wait "$game_pid"
status=$?
game_pid=
[ "$status" = 0 ] || fail "the game did not end cleanly after the dialog (status $status): $(cat "$work/stderr")"
echo "PASSED"
