# Sourced by the real-window tests, first of all. Gives skip and fail, a
# scratch folder $work and, when the test exits, the end of every process
# whose id is in game_pid, editor_pid, other_pid, wm_pid or the list pids,
# Xvfb last, and the removal of $work.

skip() { echo "SKIPPED: $*"; exit 77; }
fail() { echo "FAILED: $*"; exit 1; }

work=$(mktemp -d)
xvfb_pid= wm_pid= game_pid= editor_pid= other_pid=
pids=()
cleanup() {
  local p
  for p in $game_pid $editor_pid $other_pid "${pids[@]}" $wm_pid $xvfb_pid; do kill "$p" 2>/dev/null; done
  # Xvfb gone before the next test picks a display, so none connects to a
  # server that is still shutting down.
  [ -n "$xvfb_pid" ] && wait "$xvfb_pid" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT

# Starts Xvfb on a display it picks itself (-displayfd: the first free one,
# never another server's) and exports DISPLAY; sets xvfb_pid. The screen is
# 800 x 600 unless given (WIDTHxHEIGHTxDEPTH).
start_xvfb() {  # [screen]
  local attempt
  # A server that another test's Xvfb is just leaving can refuse the first
  # connections: a server that answers none within three seconds is started
  # again on a new display.
  # -noreset: a server resets itself whenever its last client leaves (our
  # xprop below, a program that ended), and a program connecting meanwhile
  # has its connection closed at once.
  for attempt in 1 2 3; do
    : >"$work/display"
    Xvfb -displayfd 3 -screen 0 "${1:-800x600x24}" -nolisten tcp -noreset 3>"$work/display" >"$work/xvfb.log" 2>&1 &
    xvfb_pid=$!
    for _ in $(seq 100); do
      [ -s "$work/display" ] && break
      kill -0 "$xvfb_pid" 2>/dev/null || break
      sleep 0.1
    done
    if [ -s "$work/display" ]; then
      DISPLAY=:$(head -n 1 "$work/display")
      export DISPLAY
      for _ in $(seq 30); do
        xprop -root >/dev/null 2>&1 && return 0
        kill -0 "$xvfb_pid" 2>/dev/null || break
        sleep 0.1
      done
    fi
    kill "$xvfb_pid" 2>/dev/null
    wait "$xvfb_pid" 2>/dev/null
    xvfb_pid=
  done
  return 1
}

# Running and not yet a zombie waiting to be reaped.
alive() { [ -r /proc/$1/stat ] && ! awk '{exit ($3 == "Z") ? 0 : 1}' /proc/$1/stat; }

# Prints the id of the window whose title matches, waiting up to 10 s while
# the process lives.
wait_window() {  # pid, title pattern
  local wid
  for _ in $(seq 100); do
    wid=$(xdotool search --name "$2" 2>/dev/null | head -n 1)
    [ -n "$wid" ] && { echo "$wid"; return 0; }
    alive "$1" || return 1
    sleep 0.1
  done
  return 1
}

# Held for a few frames, as a player presses it (a tap shorter than one frame
# can come and go between two samples of the keyboard).
press() {  # window, key
  xdotool keydown --window "$1" "$2" 2>/dev/null
  sleep 0.1
  # A key the program ended on is let go all the same: held, it would reach
  # the next program on this server.
  xdotool keyup --window "$1" "$2" 2>/dev/null || xdotool keyup "$2" 2>/dev/null
}

# With the game on its title in the window, writing to SDL's disk audio file:
# sets at_title to the file's size once it holds a second or more, starts a
# score-attack game (Z) and sets in_game to its size three seconds later,
# when the tune has begun.
listen_title_then_game() {  # window, audio file
  sleep 1
  # The audio opens just after the window: at least a second of the title.
  for _ in $(seq 40); do
    [ "$(stat -c %s "$2" 2>/dev/null || echo 0)" -ge 176400 ] && break
    sleep 0.1
  done
  xdotool windowfocus --sync "$1" 2>/dev/null
  at_title=$(stat -c %s "$2")
  press "$1" z
  sleep 3
  in_game=$(stat -c %s "$2")
}

# "peak rms" of the 16-bit samples in a stretch of SDL's disk audio file
# (44100 Hz stereo: 176400 bytes a second, written at the pace of playing).
sound_level() {  # file, first byte, bytes
  tail -c +$(($2 + 1)) "$1" | head -c "$3" | od -An -v -td2 -w2 |
    awk '{v = $1 < 0 ? -$1 : $1; if (v > m) m = v; s += v * v; n++} END {printf "%d %d", m, n ? sqrt(s / n) : 0}'
}
