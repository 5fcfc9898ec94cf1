#!/usr/bin/env bash
# Starts the game under Xvfb in a folder with broken sounds and no audio
# device, checks the window's size, title and picture, then quits it with
# Escape and checks the exit code.
set -u
game=$(readlink -f "$1")
skip() { echo "SKIPPED: $*"; exit 77; }
fail() { echo "FAILED: $*"; exit 1; }
command -v Xvfb >/dev/null || skip "Xvfb is not installed"
for tool in xdotool xwininfo convert; do command -v $tool >/dev/null || fail "$tool is missing"; done

work=$(mktemp -d)
xvfb_pid=
game_pid=
cleanup() {
  [ -n "$game_pid" ] && kill "$game_pid" 2>/dev/null
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT

display=
for n in $(seq 91 140); do
  [ -e /tmp/.X$n-lock ] && continue
  Xvfb :$n -screen 0 800x600x24 -nolisten tcp >"$work/xvfb.log" 2>&1 &
  xvfb_pid=$!
  for _ in $(seq 50); do
    DISPLAY=:$n xwininfo -root >/dev/null 2>&1 && { display=:$n; break; }
    kill -0 $xvfb_pid 2>/dev/null || break
    sleep 0.1
  done
  [ -n "$display" ] && break
  kill $xvfb_pid 2>/dev/null; xvfb_pid=
done
[ -n "$display" ] || skip "Xvfb could not start"
export DISPLAY=$display

# Running and not yet a zombie waiting to be reaped.
alive() { [ -r /proc/$1/stat ] && ! awk '{exit ($3 == "Z") ? 0 : 1}' /proc/$1/stat; }

run_once() {  # audio driver
  mkdir -p "$work/game/snd"
  printf 'RIFF garbage' >"$work/game/snd/lr.wav"
  : >"$work/game/snd/turn.wav"
  (cd "$work/game" && SDL_AUDIODRIVER=$1 TESSMAR_FPS_LOG=1 exec "$game") 2>"$work/stderr" &
  game_pid=$!
  wid=
  for _ in $(seq 100); do
    wid=$(xdotool search --name '^Tessmar$' 2>/dev/null | head -n 1)
    [ -n "$wid" ] && break
    alive $game_pid || fail "the game exited at start: $(cat "$work/stderr")"
    sleep 0.1
  done
  [ -n "$wid" ] || fail "no window titled Tessmar"
  geometry=$(xwininfo -id "$wid" | awk '/Width:/{w=$2} /Height:/{h=$2} END{print w "x" h}')
  [ "$geometry" = "384x480" ] || fail "client area is $geometry, not 384x480"
  sleep 1.5
  import -window "$wid" "$work/shot.png" 2>/dev/null || fail "no screenshot"
  # The menus' background: the sky gradient seen through the light tile.
  top=$(convert "$work/shot.png" -format '%[fx:int(255*p{20,2}.r)],%[fx:int(255*p{20,2}.g)],%[fx:int(255*p{20,2}.b)]' info:)
  bottom=$(convert "$work/shot.png" -format '%[fx:int(255*p{20,477}.r)],%[fx:int(255*p{20,477}.g)],%[fx:int(255*p{20,477}.b)]' info:)
  IFS=, read -r tr tg tb <<<"$top"
  IFS=, read -r br bg bb <<<"$bottom"
  [ "$tb" -gt "$tr" ] && [ "$tb" -le 247 ] && [ "$tb" -ge 120 ] || fail "top pixel $top is not the sky"
  [ "$bb" -le 200 ] && [ "$bb" -gt "$br" ] || fail "bottom pixel $bottom is not the sky"
  [ "$tb" -ge "$bb" ] || fail "the sky is not lighter at the top ($top over $bottom)"
  xdotool windowfocus --sync "$wid" 2>/dev/null
  # Held for a few frames, as a player presses it (a tap shorter than one
  # frame can come and go between two samples of the keyboard).
  xdotool keydown --window "$wid" Escape
  sleep 0.1
  xdotool keyup --window "$wid" Escape
  for _ in $(seq 100); do
    alive $game_pid || break
    sleep 0.01
  done
  alive $game_pid && fail "still running one second after Escape"
  wait $game_pid
  code=$?
  game_pid=
  [ $code -eq 0 ] || fail "exit code $code"
  grep -q 'FPS 40' "$work/stderr" || echo "note: $(grep FPS "$work/stderr")"
  echo "ok with SDL_AUDIODRIVER=$1: window $geometry, top $top, bottom $bottom; $(tr '\n' ' ' <"$work/stderr")"
}

run_once dummy
run_once no-such-driver

# Without any display the game says so and stops instead of running unseen.
(cd "$work" && env -u DISPLAY -u WAYLAND_DISPLAY SDL_AUDIODRIVER=dummy timeout 10 "$game") 2>"$work/stderr"
code=$?
[ $code -eq 1 ] || fail "without a display the exit code is $code, not 1"
grep -q 'no display' "$work/stderr" || fail "without a display nothing was said: $(cat "$work/stderr")"
echo "ok without a display: exit code 1, '$(grep 'no display' "$work/stderr")'"
exit 0
