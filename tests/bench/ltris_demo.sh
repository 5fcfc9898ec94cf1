# Sourced by the bench scripts: LTris started in its demo (the computer
# plays) at its 50 frames a second setting, from its menu with the mouse.
# Its settings file is written by quitting it once, then set to 50 frames a
# second. start_ltris_demo BIN HOME [VAR=VALUE...] sets ltris_pid and
# ltris_window and succeeds once the demo is on screen; the caller ends it.
start_ltris_demo() {
  local bin=$1 home=$2 pixel=
  shift 2
  # Its menu takes a click only on an item the pointer has come to rest on.
  ltris_click() { xdotool mousemove --window "$ltris_window" "$1" "$2" 2>/dev/null; sleep 0.3; xdotool click 1; sleep 1.5; }
  ltris_launch() {
    (cd "$home" && env HOME="$home" "$@" "$bin") >/dev/null 2>&1 &
    ltris_pid=$!
    pids+=("$ltris_pid")
    sleep 3
    ltris_window=$(xdotool search --onlyvisible --pid "$ltris_pid" 2>/dev/null | head -1)
  }
  ltris_launch "$@"
  [ -n "$ltris_window" ] && ltris_click 159 403  # Quit
  sleep 1
  kill "$ltris_pid" 2>/dev/null
  wait "$ltris_pid" 2>/dev/null
  [ -f "$home/.lgames/ltris.conf" ] || return 1
  perl -pi -e 's/fps\xbb\d/fps\xbb1/' "$home/.lgames/ltris.conf"
  ltris_launch "$@"
  [ -n "$ltris_window" ] || return 1
  ltris_click 159 267  # New Game
  for _ in 1 2 3; do
    ltris_click 150 226  # Start Game (the demo is the first kind of game)
    # The menu is brown, the game's wall blue-grey.
    pixel=$(import -window "$ltris_window" -crop 1x1+5+240 -depth 8 txt:- 2>/dev/null | grep -o '#[0-9A-F]\{6\}')
    [ -n "$pixel" ] && [ $((16#${pixel:5:2})) -ge $((16#${pixel:1:2})) ] && return 0
  done
  return 1
}
