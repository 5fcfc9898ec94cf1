#!/usr/bin/env bash
# The "EDIT GAME" file dialog under a window manager (openbox on Xvfb): it is
# transient for the game's window, and the game's window keeps answering the
# window manager's pings while the dialog is open. Qt is loaded only with it.
set -u
game=$(readlink -f "$1")
here=$(dirname "$(readlink -f "$0")")
. "$here/xvfb.sh"
command -v Xvfb >/dev/null || skip "Xvfb is not installed"
for tool in openbox xdotool xprop python3; do command -v $tool >/dev/null || fail "$tool is missing"; done
start_xvfb 1280x1024x24 || skip "Xvfb could not start"
openbox >"$work/openbox.log" 2>&1 &
wm_pid=$!
for _ in $(seq 50); do xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q window && break; sleep 0.1; done
export HOME=$work XDG_DATA_HOME=$work/data XDG_CONFIG_HOME=$work/config SDL_AUDIODRIVER=dummy
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
hold z
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
xdotool key --window "$did" Escape 2>/dev/null
for _ in $(seq 30); do [ -z "$(xdotool search --name '^Choose a mission$' 2>/dev/null)" ] && break; sleep 0.1; done
alive $game_pid || fail "the game ended with the dialog: $(cat "$work/stderr")"
kill -TERM "$game_pid"
wait "$game_pid"
status=$?
game_pid=
[ "$status" = 0 ] || fail "the game did not end cleanly after the dialog (status $status): $(cat "$work/stderr")"
echo "PASSED"
