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

# The newest mapped window whose title matches, not one of the ids given.
newest_window() {  # title pattern, ids to pass over...
  local pattern=$1
  shift
  found_window=$(xdotool search --onlyvisible --name "$pattern" 2>/dev/null | grep -vxF -e "${@:-none}" | tail -n 1)
  [ -n "$found_window" ]
}

"$work/bin/tessmar-editor" --language ja 2>"$work/editor.log" &
editor_pid=$!
main=$(wait_window $editor_pid 'ミッションエディタ') || fail "no editor window: $(cat "$work/editor.log")"

# Open the mission through the file dialog (Qt's own, in Japanese): the
# path typed into its name box, which has the focus, and Return.
focus_window "$main"
xdotool key ctrl+o
dialog=$(wait_window $editor_pid '^開く$') || fail "no file dialog titled 開く"
focus_window "$dialog"
xdotool key ctrl+a
xdotool type --delay 5 "$mission"
xdotool key Return
if ! holds_within 20 no_window '^開く$'; then
  xdotool key ctrl+a
  fail "the file dialog did not take $mission; its name box holds '$(xclip -o -selection primary 2>/dev/null)'"
fi
title_names() { xdotool getwindowname "$main" 2>/dev/null | grep -q "$1"; }
wait_until 20 "the editor's title to name 01.msn" title_names '^01\.msn - '

# F5: the game's own window on the mission.
start=$(now_ms)
focus_window "$main"
xdotool key F5
game_window=$(wait_window $editor_pid '^Tessmar$') || fail "F5 opened no window titled Tessmar"
echo "F5 to the game's window: $(($(now_ms) - start)) ms"
geometry=$(xwininfo -id "$game_window" | awk '/Width:/{w=$2} /Height:/{h=$2} END{print w "x" h}')
[ "$geometry" = "384x480" ] || fail "the game's window is $geometry"
focus_window "$game_window"
press "$game_window" Escape
wait_until 20 "the game to close on Escape" no_window '^Tessmar$'
# The game writes its figures to the editor's stderr as it ends.
wait_until 20 "the game's first-frame figure" grep -q 'first frame shown' "$work/editor.log"
grep -m 1 'first frame shown' "$work/editor.log"

# F6: the answer, read back by selecting its text with the mouse once the
# box shows it (dark text in the area the drag covers).
start=$(now_ms)
focus_window "$main"
xdotool key F6
wait_until 60 "F6's answer" newest_window 'ミッションエディタ' "$main"
answer=$found_window
echo "F6 to the answer: $(($(now_ms) - start)) ms"
text_area() {
  eval "$(xdotool getwindowgeometry --shell "$answer")"
  echo "$((WIDTH - 70))x$((HEIGHT - 62))+$((X + 66))+$((Y + 12))"
}
text_shown() {
  import -window root -crop "$(text_area)" +repage "$work/answer_text.png" 2>/dev/null || return 1
  [ "$(convert "$work/answer_text.png" -colorspace gray -threshold 40% -negate -format '%[fx:int(mean * w * h)]' info:)" -ge 200 ]
}
wait_until 20 "the answer's text in its box" text_shown
eval "$(xdotool getwindowgeometry --shell "$answer")"
xdotool mousemove $((X + 66)) $((Y + 12)) mousedown 1 mousemove $((X + WIDTH - 4)) $((Y + HEIGHT - 50)) mouseup 1
selected() { text=$(xclip -o -selection primary 2>/dev/null); echo "$text" | grep -q 'クリア'; }
holds_within 20 selected || fail "no answer selected: '$text'"
echo "$text"
echo "$text" | grep -q 'クリアできます' || fail "the answer does not say the mission is clearable"
echo "$text" | grep -Eq '最短: [0-9]+ 組でクリア' || fail "the answer gives no shortest way"
if [ -n "$shot" ]; then
  eval "$(xdotool getwindowgeometry --shell "$main")"
  import -window root -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" +repage "$shot"
fi

# Its default button plays the way in the game, which closes after the clear.
focus_window "$answer"
xdotool key Return
wait_window $editor_pid '^Tessmar$' >/dev/null || fail "no game window for the shortest way"
wait_until 60 "the game showing the way to close by itself" no_window '^Tessmar$'

# Nothing was changed: Ctrl+Q closes the editor without a question.
focus_window "$main"
xdotool key ctrl+q
wait_until 20 "the editor to close after Ctrl+Q" gone "$editor_pid"
wait "$editor_pid"
editor_pid=
echo "PASSED"
