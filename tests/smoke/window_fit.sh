#!/usr/bin/env bash
# SCALE FIT ("scale=fit" in settings.conf) fullscreen on the screens players
# asked about: the picture as large as the screen's height allows with its
# shape kept, centred, dark around it, and the game's sky at its top. (How
# the picture's pixels are spread is checked in the platform's own tests.)
set -u
[ -n "${TESSMAR_TRACE:-}" ] && set -x
game=$(readlink -f "$1")
here=$(dirname "$(readlink -f "$0")")
. "$here/xvfb.sh"
command -v Xvfb >/dev/null || skip "Xvfb is not installed"
for tool in openbox xdotool convert python3; do command -v $tool >/dev/null || fail "$tool is missing"; done

mkdir -p "$work/game" "$work/config/tessmar"
export XDG_CONFIG_HOME=$work/config SDL_AUDIODRIVER=dummy
printf 'scale=fit\nfullscreen=1\n' >"$work/config/tessmar/settings.conf"

# The picture's box in a screenshot: whatever is not the dark border.
picture_box() {  # image
  convert "$1" -bordercolor 'rgb(16,16,20)' -border 1 -fuzz 0 -trim -format '%wx%h+%[fx:page.x-1]+%[fx:page.y-1]' info:
}
fit_drawn() { snap "$wid" fit && [ "$(picture_box "$work/fit.png")" = "$1" ]; }

for screen in "1280x800 640x800+320+0" "1366x768 614x768+376+0" "1280x720 576x720+352+0" "1920x1080 864x1080+528+0"; do
  read -r size want <<<"$screen"
  start_xvfb "${size}x24" || skip "Xvfb could not start"
  start_openbox
  (cd "$work/game" && exec "$game") 2>"$work/stderr" &
  game_pid=$!
  wid=$(wait_window $game_pid '^Tessmar$') || fail "no window titled Tessmar: $(cat "$work/stderr")"
  focus_window "$wid"
  wait_until 20 "the picture at $want on a $size screen" fit_drawn "$want"
  # The game's sky at the picture's top, not a blank.
  IFS=x+ read -r w h x y <<<"$want"
  IFS=, read -r r g b <<<"$(convert "$work/fit.png" -format "%[fx:int(255*p{$((x + 40)),$((y + 4))}.r)],%[fx:int(255*p{$((x + 40)),$((y + 4))}.g)],%[fx:int(255*p{$((x + 40)),$((y + 4))}.b)]" info:)"
  [ "$b" -gt "$r" ] && [ "$b" -ge 120 ] || fail "$size: the picture's top is $r,$g,$b, not the sky"
  kill $game_pid; wait $game_pid 2>/dev/null; game_pid=
  kill $wm_pid; wait $wm_pid 2>/dev/null; wm_pid=
  kill $xvfb_pid; wait $xvfb_pid 2>/dev/null; xvfb_pid=
  echo "ok: $size screen, picture $want"
done
exit 0
