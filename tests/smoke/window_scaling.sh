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
openbox >"$work/openbox.log" 2>&1 &
wm_pid=$!
for _ in $(seq 50); do xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q window && break; sleep 0.1; done

mkdir -p "$work/game" "$work/config"
export XDG_CONFIG_HOME=$work/config SDL_AUDIODRIVER=dummy TESSMAR_FPS_LOG=1
settings=$work/config/tessmar/settings.conf

geometry() { xwininfo -id "$wid" | awk '/Absolute upper-left X/{x=$4} /Absolute upper-left Y/{y=$4} /Width:/{w=$2} /Height:/{h=$2} END{print w "x" h "+" x "+" y}'; }
size() { geometry | cut -d+ -f1; }
rgb() { convert "$1" -format "%[fx:int(255*p{$2,$3}.r)],%[fx:int(255*p{$2,$3}.g)],%[fx:int(255*p{$2,$3}.b)]" info:; }
shot() { import -window "$wid" "$work/$1.png" 2>/dev/null || fail "no screenshot $1"; }
# Held for a few frames, as a player presses it. Released wherever the focus
# is: after Escape the window may be gone, and a key left down in the X
# server would reach the next game.
key() { xdotool keydown --window "$wid" "$1"; sleep 0.1; xdotool keyup "$1"; sleep 0.4; }
wait_for() {  # expected size, what happened
  for _ in $(seq 50); do [ "$(size)" = "$1" ] && return; sleep 0.1; done
  alive $game_pid || fail "$2: the game has gone: $(cat "$work/stderr")"
  fail "$2: the window is $(geometry), not $1"
}

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

start_game() {
  (cd "$work/game" && exec "$game") 2>"$work/stderr" &
  game_pid=$!
  wid=
  for _ in $(seq 100); do
    wid=$(xdotool search --pid $game_pid --name '^Tessmar$' 2>/dev/null | head -n 1)
    [ -n "$wid" ] && break
    alive $game_pid || fail "the game exited at start: $(cat "$work/stderr")"
    sleep 0.1
  done
  [ -n "$wid" ] || fail "no window titled Tessmar"
  xdotool windowactivate --sync "$wid" 2>/dev/null
  # Until frames are shown (slow under the sanitizers or on a busy machine),
  # also after the activation, which exposes the window anew: the sky at the
  # top middle of the picture, not a blank window.
  local r g b w
  for _ in $(seq 100); do
    if import -window "$wid" "$work/first.png" 2>/dev/null; then
      w=$(identify -format %w "$work/first.png")
      IFS=, read -r r g b <<<"$(rgb "$work/first.png" $((w / 2)) 8)"
      [ "$b" -gt "$r" ] && [ "$b" -ge 120 ] && break
    fi
    sleep 0.1
  done
  sleep 0.3
}

quit_game() {
  key Escape
  for _ in $(seq 100); do alive $game_pid || break; sleep 0.01; done
  alive $game_pid && fail "still running one second after Escape"
  wait $game_pid || fail "exit code $?"
  game_pid=
  echo "  $(tr '\n' ' ' <"$work/stderr")"
}

# 1. The first window: 2x, centred in the usable area.
start_game
[ "$(size)" = "768x960" ] || fail "the window opened at $(geometry), not 768x960"
windowed=$(geometry)
shot open
two_by_two "$work/open.png" 0 0 768 960
echo "ok: opened at $windowed, every pixel a 2 x 2 block"

# 2. F11: the screen covered, the picture 2x in the middle, dark around it.
key F11
wait_for 1920x1080 "F11"
[ "$(geometry)" = "1920x1080+0+0" ] || fail "fullscreen at $(geometry)"
sleep 0.3
shot full
two_by_two "$work/full.png" 576 60 768 960
for p in "0 0" "575 500" "1344 500" "960 59" "960 1020" "1919 1079"; do dark "$work/full.png" $p; done
for p in "576 60" "1343 1019"; do bright "$work/full.png" $p; done
echo "ok: F11 covers the screen, picture 2x at (576, 60)"

# 3. Alt+Enter: back to the window, same size and place.
key alt+Return
wait_for 768x960 "Alt+Enter"
[ "$(geometry)" = "$windowed" ] || fail "back from fullscreen at $(geometry), not $windowed"
echo "ok: Alt+Enter back to $windowed"

# 4. Resized to 1000 x 1000: still 2x, centred.
xdotool windowsize --sync "$wid" 1000 1000
wait_for 1000x1000 "resize"
sleep 0.3
shot resized
two_by_two "$work/resized.png" 116 20 768 960
for p in "115 500" "884 500" "500 19" "500 980"; do dark "$work/resized.png" $p; done
for p in "116 20" "883 979"; do bright "$work/resized.png" $p; done
echo "ok: 1000 x 1000 draws at 2x from (116, 20)"

# 5. Never below 384 x 480.
xdotool windowsize "$wid" 200 200
sleep 0.5
IFS=x read -r w h <<<"$(size)"
[ "$w" -ge 384 ] && [ "$h" -ge 480 ] || fail "shrunk to ${w}x$h"
echo "ok: asked for 200 x 200, got ${w}x$h"

# 6. Maximised, F11 and F11 again give the maximised window back (openbox
# drops the maximised state while the window is fullscreen).
maximised() { xprop -id "$wid" _NET_WM_STATE | grep -q '_NET_WM_STATE_MAXIMIZED_VERT, _NET_WM_STATE_MAXIMIZED_HORZ'; }
wait_maximised() {  # what happened
  for _ in $(seq 50); do maximised && return; sleep 0.1; done
  fail "$1: not maximised ($(xprop -id "$wid" _NET_WM_STATE), $(geometry))"
}
python3 "$here/net_wm_state.py" "$wid" add MAXIMIZED_VERT MAXIMIZED_HORZ
wait_maximised "asked to maximise"
sleep 0.3
full_size=$(size)
key F11
wait_for 1920x1080 "F11 from maximised"
key F11
wait_maximised "F11 twice from maximised"
wait_for "$full_size" "F11 twice from maximised"
python3 "$here/net_wm_state.py" "$wid" remove MAXIMIZED_VERT MAXIMIZED_HORZ
echo "ok: F11 twice from a maximised window ($full_size) leaves it maximised"

# 7. Losing focus in play pauses, and play stays paused when focus returns.
xdotool windowsize --sync "$wid" 768 960
wait_for 768x960 "resize back"
xdotool windowactivate --sync "$wid" 2>/dev/null
key z  # SCORE ATTACK
sleep 3  # board entry, then play
shot play1; sleep 0.5; shot play2
[ "$(compare -metric AE "$work/play1.png" "$work/play2.png" null: 2>&1)" != "0" ] || fail "nothing moves in play"
xmessage -geometry 200x80+0+0 "elsewhere" &
other_pid=$!
for _ in $(seq 50); do other=$(xdotool search --name '^xmessage$' 2>/dev/null | head -n 1); [ -n "$other" ] && break; sleep 0.1; done
[ -n "$other" ] || fail "no other window to take the focus"
xdotool windowactivate --sync "$other" 2>/dev/null
sleep 0.5
# Paused: only the blinking PAUSE (picture rows 240 to 255) may change.
still() {
  for n in 1 2; do shot "paused$n"; convert "$work/paused$n.png" -fill black -draw "rectangle 0,470 767,520" "$work/still$n.png"; sleep 0.6; done
  [ "$(compare -metric AE "$work/still1.png" "$work/still2.png" null: 2>&1)" = "0" ] || fail "$1: the game is not paused"
}
still "focus taken away"
# Resting between blinks, the game still shows PAUSE coming and going.
band() { convert "$work/$1.png" -crop 768x40+0+475 +repage "$work/band_$1.png"; }
shot blink0; band blink0
blinked=
for n in 1 2 3 4 5; do
  sleep 0.3
  shot "blink$n"; band "blink$n"
  [ "$(compare -metric AE "$work/band_blink0.png" "$work/band_blink$n.png" null: 2>&1)" != "0" ] && blinked=1 && break
done
[ -n "$blinked" ] || fail "PAUSE does not blink while the game is paused"
xdotool windowactivate --sync "$wid" 2>/dev/null
sleep 0.3
still "focus back"
key Return
shot resumed1; sleep 0.5; shot resumed2
[ "$(compare -metric AE "$work/resumed1.png" "$work/resumed2.png" null: 2>&1)" != "0" ] || fail "Enter did not resume"
kill $other_pid; other_pid=
echo "ok: focus taken away in play pauses; Enter resumes"

# 8. Alt+Enter and F11 in play switch the display and never pause.
# Outside the rows of PAUSE (windowed or fullscreen) the picture still moves.
moving() {
  for n in 1 2; do
    shot "move$n"
    convert "$work/move$n.png" -fill black -draw "rectangle 0,470 1919,520" -draw "rectangle 0,530 1919,580" "$work/moved$n.png"
    sleep 0.5
  done
  [ "$(compare -metric AE "$work/moved1.png" "$work/moved2.png" null: 2>&1)" != "0" ] || fail "$1 paused the game"
}
key alt+Return
wait_for 1920x1080 "Alt+Enter in play"
moving "Alt+Enter"
key F11
wait_for 768x960 "F11 in play"
moving "F11"
echo "ok: Alt+Enter and F11 in play leave it running"

# 9. Quit fullscreen: the next run opens fullscreen, and leaving it gives the
# remembered 2x window.
key F11
wait_for 1920x1080 "F11 in play"
quit_game
grep -qx 'scale=2' "$settings" && grep -qx 'fullscreen=1' "$settings" || fail "settings: $(cat "$settings")"
start_game
wait_for 1920x1080 "fullscreen remembered"
key F11
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
key F11
wait_for 1920x1080 "F11 with a folder for settings"
quit_game
[ -d "$settings" ] || fail "the settings folder was replaced"
echo "ok: a folder in the settings file's place is passed over"
exit 0
