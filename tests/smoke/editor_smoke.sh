#!/usr/bin/env bash
# The editor in a real X window under Xvfb: a numbered mission opened through
# the file dialog, F5 opens the game's window on it, F6 reports its shortest
# way, and the answer's button plays that way in the game, which closes by
# itself after the clear.
#   editor_smoke.sh EDITOR GAME SOLVER MISSION.msn [SCREENSHOT.png]
set -u
editor=$(readlink -f "$1")
game=$(readlink -f "$2")
solver=$(readlink -f "$3")
mission=$(readlink -f "$4")
shot=${5:-}
. "$(dirname "$0")/xvfb.sh"
# A game the editor started and that is still open ends too.
end_games() {
  local w
  for w in $(xdotool search --name '^Tessmar$' 2>/dev/null); do kill "$(xdotool getwindowpid "$w")" 2>/dev/null; done
  cleanup
}
trap end_games EXIT
command -v Xvfb >/dev/null || skip "Xvfb is not installed"
for tool in xdotool xwininfo xclip import; do command -v $tool >/dev/null || fail "$tool is missing"; done

start_xvfb || skip "Xvfb could not start"

# The three programs side by side, as installed.
mkdir -p "$work/bin" "$work/data/tessmar"
cp "$editor" "$work/bin/tessmar-editor"
cp "$game" "$work/bin/tessmar"
cp "$solver" "$work/bin/tessmar-solve"
# Records and settings stay in the scratch folder. The games the editor
# starts write to the editor's stderr; with
# TESSMAR_FPS_LOG they tell when their first frame was shown.
export XDG_DATA_HOME=$work/data XDG_CONFIG_HOME=$work/config SDL_AUDIODRIVER=dummy TESSMAR_FPS_LOG=1
# The editor in its Japanese texts whatever the machine's locale; a UTF-8
# locale so that xdotool matches the Japanese window titles.
export LC_ALL=C.UTF-8

windows() { xdotool search --onlyvisible --name "$1" 2>/dev/null; }
await_window() {  # name pattern, tenths of a second; prints the newest id
  local id
  for _ in $(seq "$2"); do
    id=$(windows "$1" | tail -n 1)
    [ -n "$id" ] && { echo "$id"; return 0; }
    sleep 0.1
  done
  return 1
}
keys() { xdotool windowfocus --sync "$1" 2>/dev/null; shift; xdotool key --clearmodifiers "$@"; }

"$work/bin/tessmar-editor" --language ja 2>"$work/editor.log" &
editor_pid=$!
main=$(await_window 'ミッションエディタ' 100) || fail "no editor window: $(cat "$work/editor.log")"
sleep 0.5

# Open the mission through the file dialog (Qt's own, in Japanese).
keys "$main" ctrl+o
dialog=$(await_window '^開く$' 50) || fail "no file dialog titled 開く"
for _ in 1 2 3; do  # typing into a dialog still filling itself may go astray
  sleep 0.5
  xdotool windowfocus --sync "$dialog" 2>/dev/null
  xdotool key ctrl+a
  xdotool type --delay 5 "$mission"
  xdotool key Return
  for _ in $(seq 20); do [ -z "$(windows '^開く$')" ] && break; sleep 0.1; done
  [ -z "$(windows '^開く$')" ] && break
done
[ -z "$(windows '^開く$')" ] || fail "the file dialog did not take $mission"
sleep 0.5

# F5: the game's own window on the mission, within a second.
start=$(date +%s%N)
keys "$main" F5
game_window=
for _ in $(seq 300); do
  game_window=$(windows '^Tessmar$' | head -n 1)
  [ -n "$game_window" ] && break
  sleep 0.01
done
[ -n "$game_window" ] || fail "F5 opened no window titled Tessmar"
echo "F5 to the game's window: $(( ($(date +%s%N) - start) / 1000000 )) ms"
geometry=$(xwininfo -id "$game_window" | awk '/Width:/{w=$2} /Height:/{h=$2} END{print w "x" h}')
[ "$geometry" = "384x480" ] || fail "the game's window is $geometry"
xdotool windowfocus --sync "$game_window" 2>/dev/null
xdotool keydown --window "$game_window" Escape 2>/dev/null; sleep 0.1; xdotool keyup --window "$game_window" Escape 2>/dev/null
for _ in $(seq 50); do [ -z "$(windows '^Tessmar$')" ] && break; sleep 0.1; done
[ -z "$(windows '^Tessmar$')" ] || fail "the game did not close on Escape"
sleep 0.2
grep -m 1 'first frame shown' "$work/editor.log"

# F6: the answer, read back by selecting its text with the mouse.
start=$(date +%s%N)
keys "$main" F6
answer=
for _ in $(seq 100); do
  answer=$(windows 'ミッションエディタ' | grep -vx "$main" | tail -n 1)
  [ -n "$answer" ] && break
  sleep 0.1
done
[ -n "$answer" ] || fail "F6 showed no answer"
echo "F6 to the answer: $(( ($(date +%s%N) - start) / 1000000 )) ms"
sleep 0.5
if [ -n "$shot" ]; then
  eval "$(xdotool getwindowgeometry --shell "$main")"
  import -window root -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" +repage "$shot"
fi
text=
for _ in 1 2 3 4 5; do  # a busy machine may still be laying the box out
  eval "$(xdotool getwindowgeometry --shell "$answer")"
  xdotool mousemove $((X + 66)) $((Y + 12)) mousedown 1 mousemove $((X + WIDTH - 4)) $((Y + HEIGHT - 50)) mouseup 1
  sleep 0.3
  text=$(xclip -o -selection primary 2>/dev/null)
  echo "$text" | grep -q 'クリア' && break
  sleep 1
done
echo "$text"
echo "$text" | grep -q 'クリアできます' || fail "the answer does not say the mission is clearable"
echo "$text" | grep -Eq '最短: [0-9]+ 組でクリア' || fail "the answer gives no shortest way"

# Its default button plays the way in the game, which closes after the clear.
keys "$answer" Return
await_window '^Tessmar$' 50 >/dev/null || fail "no game window for the shortest way"
for _ in $(seq 300); do [ -z "$(windows '^Tessmar$')" ] && break; sleep 0.1; done
[ -z "$(windows '^Tessmar$')" ] || fail "the game showing the way did not close by itself within 30 s"

keys "$main" ctrl+q
sleep 0.3
xdotool key Return
for _ in $(seq 50); do kill -0 "$editor_pid" 2>/dev/null || break; sleep 0.1; done
kill -0 "$editor_pid" 2>/dev/null && fail "the editor did not close after Ctrl+Q and OK"
wait "$editor_pid"
editor_pid=
echo "PASSED"
