#!/usr/bin/env bash
# The game's window on a 1920 x 1080 desktop under Xvfb with a window manager
# (openbox): opens at 2x with every picture pixel an exact 2 x 2 block, F11
# covers the screen with the picture 2x centred, Alt+Enter brings the window
# back at its old size and place, a 1000 x 1000 window draws at 2x centred,
# the window never shrinks below 384 x 480, F11 twice leaves a maximised window
# maximised, losing focus in play pauses (and
# PAUSE blinks while the game rests), the
# scale and fullscreen state are remembered for the next run, and a settings
# file that cannot be read or written is passed over.
set -u
[ -n "${TESSMAR_TRACE:-}" ] && set -x
game=$(readlink -f "$1")
here=$(dirname "$(readlink -f "$0")")
. "$here/xvfb.sh"
command -v Xvfb >/dev/null || skip "Xvfb is not installed"
for tool in openbox xdotool xwininfo xprop xmessage convert compare python3; do command -v $tool >/dev/null || fail "$tool is missing"; done

start_xvfb 1920x1080x24 || skip "Xvfb could not start"
start_openbox

mkdir -p "$work/game" "$work/config"
export XDG_CONFIG_HOME=$work/config SDL_AUDIODRIVER=dummy TESSMAR_FPS_LOG=1
settings=$work/config/tessmar/settings.conf

geometry() { xwininfo -id "$wid" | awk '/Absolute upper-left X/{x=$4} /Absolute upper-left Y/{y=$4} /Width:/{w=$2} /Height:/{h=$2} END{print w "x" h "+" x "+" y}'; }
size() { geometry | cut -d+ -f1; }
size_is() { [ "$(size)" = "$1" ]; }
geometry_is() { [ "$(geometry)" = "$1" ]; }
rgb() { convert "$1" -format "%[fx:int(255*p{$2,$3}.r)],%[fx:int(255*p{$2,$3}.g)],%[fx:int(255*p{$2,$3}.b)]" info:; }
shot() { snap "$wid" "$1" || fail "no screenshot $1"; }
wait_for() {  # expected size, what happened
  holds_within 20 size_is "$1" && return
  alive $game_pid || fail "$2: the game has gone: $(cat "$work/stderr")"
  fail "$2: the window is $(geometry), not $1"
}

# Where the picture is in the window: 2x from x, y.
picture_at() { pic_x=$1 pic_y=$2 pic_scale=2; }

# Every pixel of the picture (in the area x, y, w, h of the image) is one of
# an exact 2 x 2 block, and the picture is the game's sky, not a blank.
two_by_two() {  # image x y w h
  convert "$1" -crop "$4x$5+$2+$3" +repage "$work/crop.png"
  convert "$work/crop.png" -sample 50% -sample 200% "$work/blocks.png"
  differ=$(compare -metric AE "$work/crop.png" "$work/blocks.png" null: 2>&1)
  [ "$differ" = "0" ] || fail "$1: $differ pixels are not part of an exact 2 x 2 block"
  IFS=, read -r r g b <<<"$(rgb "$work/crop.png" 40 4)"
  [ "$b" -gt "$r" ] && [ "$b" -ge 120 ] || fail "$1: the picture's top is $r,$g,$b, not the sky"
}
dark() {  # image x y
  [ "$(rgb "$1" "$2" "$3")" = "16,16,20" ] || fail "$1: ($2, $3) is $(rgb "$1" "$2" "$3"), not the dark border"
}
bright() {  # image x y
  [ "$(rgb "$1" "$2" "$3")" != "16,16,20" ] || fail "$1: ($2, $3) is the border, not the picture"
}
# The window shows the picture with its top-left corner at x, y and the dark
# border just left of it: drawn since the last change of size.
drawn_from() {  # name, x, y
  snap "$wid" "$1" || return 1
  [ "$(rgb "$work/$1.png" "$2" "$3")" != "16,16,20" ] && [ "$(rgb "$work/$1.png" $(($2 - 1)) "$3")" = "16,16,20" ]
}

start_game() {
  (cd "$work/game" && exec "$game") 2>"$work/stderr" &
  game_pid=$!
  wid=$(wait_window $game_pid '^Tessmar$') || fail "no window titled Tessmar: $(cat "$work/stderr")"
  # The activation exposes the window anew: drawn again after it.
  focus_window "$wid"
  wait_until 20 "the game's picture in its window" drawn "$wid"
}

quit_game() {
  press "$wid" Escape
  wait_until 20 "the game to end after Escape" gone "$game_pid"
  wait $game_pid || fail "exit code $?"
  game_pid=
  echo "  $(tr '\n' ' ' <"$work/stderr")"
}

# 1. The first window: 2x, centred in the usable area.
start_game
[ "$(size)" = "768x960" ] || fail "the window opened at $(geometry), not 768x960"
windowed=$(geometry)
picture_at 0 0
shot open
two_by_two "$work/open.png" 0 0 768 960
echo "ok: opened at $windowed, every pixel a 2 x 2 block"

# 2. F11: the screen covered, the picture 2x in the middle, dark around it.
press "$wid" F11
wait_for 1920x1080 "F11"
[ "$(geometry)" = "1920x1080+0+0" ] || fail "fullscreen at $(geometry)"
wait_until 20 "the picture drawn fullscreen" drawn_from full 576 60
two_by_two "$work/full.png" 576 60 768 960
for p in "0 0" "575 500" "1344 500" "960 59" "960 1020" "1919 1079"; do dark "$work/full.png" $p; done
for p in "576 60" "1343 1019"; do bright "$work/full.png" $p; done
echo "ok: F11 covers the screen, picture 2x at (576, 60)"

# 3. Alt+Enter: back to the window, same size and place.
press "$wid" alt+Return
wait_for 768x960 "Alt+Enter"
holds_within 20 geometry_is "$windowed" || fail "back from fullscreen at $(geometry), not $windowed"
echo "ok: Alt+Enter back to $windowed"

# 4. Resized to 1000 x 1000: still 2x, centred.
xdotool windowsize --sync "$wid" 1000 1000
wait_for 1000x1000 "resize"
wait_until 20 "the picture drawn in the resized window" drawn_from resized 116 20
two_by_two "$work/resized.png" 116 20 768 960
for p in "115 500" "884 500" "500 19" "500 980"; do dark "$work/resized.png" $p; done
for p in "116 20" "883 979"; do bright "$work/resized.png" $p; done
echo "ok: 1000 x 1000 draws at 2x from (116, 20)"

# 5. Never below 384 x 480.
xdotool windowsize "$wid" 200 200
size_changed() { ! size_is 1000x1000; }
wait_until 20 "the window to take the resize to 200 x 200" size_changed
IFS=x read -r w h <<<"$(size)"
[ "$w" -ge 384 ] && [ "$h" -ge 480 ] || fail "shrunk to ${w}x$h"
echo "ok: asked for 200 x 200, got ${w}x$h"

# 6. Maximised, F11 and F11 again give the maximised window back (openbox
# drops the maximised state while the window is fullscreen).
maximised() { xprop -id "$wid" _NET_WM_STATE | grep -q '_NET_WM_STATE_MAXIMIZED_VERT, _NET_WM_STATE_MAXIMIZED_HORZ'; }
small=$(size)
maximised_and_grown() { maximised && ! size_is "$small"; }
python3 "$here/net_wm_state.py" "$wid" add MAXIMIZED_VERT MAXIMIZED_HORZ
wait_until 20 "the window maximised when asked" maximised_and_grown
full_size=$(size)
press "$wid" F11
wait_for 1920x1080 "F11 from maximised"
press "$wid" F11
wait_until 20 "the window maximised again after F11 twice" maximised
wait_for "$full_size" "F11 twice from maximised"
python3 "$here/net_wm_state.py" "$wid" remove MAXIMIZED_VERT MAXIMIZED_HORZ
echo "ok: F11 twice from a maximised window ($full_size) leaves it maximised"

# 7. Losing focus in play pauses, and play stays paused when focus returns.
not_maximised() { ! maximised; }
wait_until 20 "the maximised state to go" not_maximised
xdotool windowsize --sync "$wid" 768 960
wait_for 768x960 "resize back"
picture_at 0 0
focus_window "$wid"
press "$wid" z  # SCORE ATTACK
wait_until 20 "play to begin" board_in_place "$wid"
wait_until 20 "something to move in play" moving "$wid"
xmessage -geometry 200x80+0+0 "elsewhere" 2>/dev/null &
other_pid=$!
other=$(wait_window $other_pid '^xmessage$') || fail "no other window to take the focus"
focus_window "$other"
wait_until 20 "the pause after the focus went" pause_shown "$wid"
still_for "$wid" 0.6 || fail "focus taken away: the game is not paused"
# Resting between blinks, the game still shows PAUSE coming and going.
pause_hidden() { snap "$1" now && board_rows_bare "$work/now.png" && [ "$(outline_pixels "$work/now.png" 152 240 80 16)" = 0 ]; }
wait_until 20 "PAUSE to blink off" pause_hidden "$wid"
wait_until 20 "PAUSE to blink on again" pause_shown "$wid"
focus_window "$wid"
still_for "$wid" 0.6 || fail "focus back: the game is not paused"
press "$wid" Return
wait_until 20 "Enter to resume play" moving "$wid"
kill $other_pid; other_pid=
echo "ok: focus taken away in play pauses, PAUSE blinks; Enter resumes"

# 8. Alt+Enter and F11 in play switch the display and never pause: outside
# the rows of PAUSE (windowed or fullscreen) the picture still moves.
press "$wid" alt+Return
wait_for 1920x1080 "Alt+Enter in play"
picture_at 576 60
wait_until 20 "play to go on after Alt+Enter" moving "$wid"
press "$wid" F11
wait_for 768x960 "F11 in play"
picture_at 0 0
wait_until 20 "play to go on after F11" moving "$wid"
echo "ok: Alt+Enter and F11 in play leave it running"

# 9. Quit fullscreen: the next run opens fullscreen, and leaving it gives the
# remembered 2x window.
press "$wid" F11
wait_for 1920x1080 "F11 in play"
quit_game
grep -qx 'scale=2' "$settings" && grep -qx 'fullscreen=1' "$settings" || fail "settings: $(cat "$settings")"
start_game
wait_for 1920x1080 "fullscreen remembered"
press "$wid" F11
wait_for 768x960 "F11 back"
quit_game
grep -qx 'fullscreen=0' "$settings" || fail "settings: $(cat "$settings")"
echo "ok: fullscreen and scale remembered between runs"

# 10. A folder where the settings file should be: the game opens as on a new
# machine, and saving over it fails quietly.
rm -f "$settings"
mkdir "$settings"
start_game
[ "$(size)" = "768x960" ] || fail "with a folder for settings the window is $(geometry)"
press "$wid" F11
wait_for 1920x1080 "F11 with a folder for settings"
quit_game
[ -d "$settings" ] || fail "the settings folder was replaced"
echo "ok: a folder in the settings file's place is passed over"
exit 0
