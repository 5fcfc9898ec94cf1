# Sourced by the real-window tests, first of all. Gives skip and fail, a
# scratch folder $work and, when the test exits, the end of every process
# whose id is in game_pid, editor_pid, other_pid, wm_pid or the list pids,
# Xvfb last, and the removal of $work.
#
# These tests wait, they never retry: each wait polls its condition (a
# window mapped, the focus, a picture drawn, a title, bytes written) until
# it holds or its one time limit passes, and then fails naming what it
# waited for. The limits are generous, since a condition met early ends
# its wait early; an action (a key, a click) is made once, when what it
# needs is there.

skip() { echo "SKIPPED: $*"; exit 77; }
fail() { echo "FAILED: $*"; exit 1; }

work=$(mktemp -d)
xvfb_pid= wm_pid= game_pid= editor_pid= other_pid=
pids=()
# A program still running when the test ends gets SIGTERM, and SIGKILL if
# it has not ended five seconds later: one that hangs must not go on taking
# a core from the tests after it.
cleanup() {
  local p
  for p in $game_pid $editor_pid $other_pid "${pids[@]}" $wm_pid $xvfb_pid; do
    kill "$p" 2>/dev/null || continue
    holds_within 5 gone "$p" && continue
    echo "note: process $p ($(tr '\0' ' ' <"/proc/$p/cmdline" 2>/dev/null)) outlived SIGTERM by five seconds"
    kill -KILL "$p" 2>/dev/null
  done
  # Xvfb gone before the next test picks a display, so none connects to a
  # server that is still shutting down.
  [ -n "$xvfb_pid" ] && wait "$xvfb_pid" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT

# Milliseconds of the wall clock.
now_ms() {
  local t=${EPOCHREALTIME//[!0-9]/}
  echo $((10#$t / 1000))
}

# True as soon as the command succeeds, false once the seconds have passed
# without it.
holds_within() {  # seconds, command...
  local deadline=$(($(now_ms) + $1 * 1000))
  shift
  until "$@"; do
    [ "$(now_ms)" -lt "$deadline" ] || return 1
    sleep 0.05
  done
}

# Running and not yet a zombie waiting to be reaped.
alive() {  # pid
  local stat
  stat=$(cat "/proc/$1/stat" 2>/dev/null) || return 1
  stat=${stat##*) }  # the state follows the command's name in brackets
  [ "${stat%% *}" != Z ]
}
gone() { ! alive "$1"; }

# Fails the test unless the command succeeds within the seconds; the game or
# editor having ended meanwhile is said too.
wait_until() {  # seconds, what, command...
  local seconds=$1 what=$2 note=
  shift 2
  holds_within "$seconds" "$@" && return 0
  [ -n "$game_pid" ] && ! alive "$game_pid" && note=" (the game has ended)"
  [ -n "$editor_pid" ] && ! alive "$editor_pid" && note="$note (the editor has ended)"
  fail "waited $seconds s for $what$note"
}

# Starts Xvfb on a display it picks itself (-displayfd: the first free one,
# never another server's) and exports DISPLAY once the server answers; sets
# xvfb_pid. The screen is 800 x 600 unless given (WIDTHxHEIGHTxDEPTH).
# -noreset: a server resets itself whenever its last client leaves (our
# xprop below, a program that ended), and a program connecting meanwhile
# has its connection closed at once.
start_xvfb() {  # [screen]
  : >"$work/display"
  Xvfb -displayfd 3 -screen 0 "${1:-800x600x24}" -nolisten tcp -noreset 3>"$work/display" >"$work/xvfb.log" 2>&1 &
  xvfb_pid=$!
  holds_within 20 test -s "$work/display" || return 1
  DISPLAY=:$(head -n 1 "$work/display")
  export DISPLAY
  holds_within 20 server_answers
}
server_answers() { xprop -root >/dev/null 2>&1; }

# Starts openbox and waits until it has started, which it tells by running
# its start-up command; sets wm_pid. Its name on the root window comes
# earlier: a window mapped then can be lost, and SDL waits for the map of
# its window for ever.
start_openbox() {
  rm -f "$work/openbox-started"
  openbox --startup "touch $work/openbox-started" >"$work/openbox.log" 2>&1 &
  wm_pid=$!
  wait_until 20 "openbox to start" test -e "$work/openbox-started"
}

# Prints the id of the first mapped window whose title matches, waiting up
# to 30 s (a first start of Qt on a busy machine takes long) while the
# process lives.
window_of() {  # pid, title pattern
  found_window=$(xdotool search --onlyvisible --name "$2" 2>/dev/null | head -n 1)
  [ -n "$found_window" ] || ! alive "$1"
}
wait_window() {  # pid, title pattern
  found_window=
  holds_within 30 window_of "$1" "$2" && [ -n "$found_window" ] && echo "$found_window"
}

# No mapped window has a title that matches.
no_window() { [ -z "$(xdotool search --onlyvisible --name "$1" 2>/dev/null)" ]; }

# The keyboard focus is in the window.
has_focus() { [ "$(xdotool getwindowfocus 2>/dev/null)" = "$(($1))" ]; }

# Gives the window the keyboard focus (through the window manager when one
# runs) and waits until it has it.
focus_window() {  # window
  if [ -n "$wm_pid" ]; then xdotool windowactivate "$1" 2>/dev/null; else xdotool windowfocus "$1" 2>/dev/null; fi
  wait_until 20 "the keyboard focus in window $1" has_focus "$1"
}

# A key pressed and let go in the window, which must have the focus. The
# game counts a press even when it is let go before its next frame. Both
# go through the server's keyboard (XTest), wherever the focus is by the
# release: a key left down there would repeat into the next window to get
# the focus, or the next program on this server.
press() {  # window, key
  wait_until 20 "the keyboard focus in window $1 for $2" has_focus "$1"
  xdotool keydown "$2" 2>/dev/null
  xdotool keyup "$2" 2>/dev/null
}

# The game's picture in screenshots: its top-left corner and how many screen
# pixels one picture pixel takes. Positions below are the picture's own
# (384 x 480), as the game draws it.
pic_x=0 pic_y=0 pic_scale=1

# The rectangle x, y, w, h of the picture as ImageMagick's crop geometry.
pic_area() {  # x, y, w, h
  echo "$(($3 * pic_scale))x$(($4 * pic_scale))+$((pic_x + $1 * pic_scale))+$((pic_y + $2 * pic_scale))"
}

# Screenshot of the window into $work/NAME.png.
snap() {  # window, name
  import -window "$1" "$work/$2.png" 2>/dev/null
}

# The pixels of the font's dark outline in a rectangle of the picture, in
# picture pixels: the game's texts have it, nothing else on its screens does.
outline_pixels() {  # image, x, y, w, h
  local n
  n=$(convert "$1" -crop "$(pic_area "$2" "$3" "$4" "$5")" +repage -fill black +opaque 'rgb(22,30,82)' \
    -fill white -opaque 'rgb(22,30,82)' -format '%[fx:int(mean * w * h + 0.5)]' info: 2>/dev/null)
  echo $((${n:-0} / (pic_scale * pic_scale)))
}

# A letter or digit of the font (16 x 16, each with 48 outline pixels or
# more) at x, y of the picture; a glyph only partly in the square has fewer.
glyph_at() {  # image, x, y
  [ "$(outline_pixels "$1" "$2" "$3" 16 16)" -ge 40 ]
}

# The window shows a picture, not a blank: more than one colour.
drawn() {  # window
  snap "$1" now && [ "$(identify -format %k "$work/now.png" 2>/dev/null)" -gt 1 ]
}

# The menus' pointer ">" at (80, y): the title's items are 24 pixels apart
# from y 300, mission select's 64.
pointer_at() {  # window, y
  snap "$1" now && glyph_at "$work/now.png" 80 "$2"
}

# The pointer at (80, y) and not at (80, other y): one screen's pointer, not
# the last one's.
pointer_moved() {  # window, y, other y
  snap "$1" now && glyph_at "$work/now.png" 80 "$2" && ! glyph_at "$work/now.png" 80 "$3"
}

# From the title, its pointer still on SCORE ATTACK, to mission select with
# the pointer on EDIT GAME: each key once the screen before it shows.
to_edit_game() {  # window
  wait_until 20 "the title's pointer on SCORE ATTACK" pointer_at "$1" 300
  press "$1" Down
  wait_until 20 "the title's pointer on MISSION MODE" pointer_moved "$1" 324 300
  press "$1" z
  wait_until 20 "mission select's pointer on NORMAL GAME" pointer_moved "$1" 300 324
  press "$1" Down
  wait_until 20 "mission select's pointer on EDIT GAME" pointer_moved "$1" 364 300
}

# The name entry after a score-attack game: the five places of the table,
# "1." to "5.", at (50, 128) to (50, 320).
name_entry_shown() {  # window
  local place
  snap "$1" now || return 1
  for place in 1 2 3 4 5; do glyph_at "$work/now.png" 50 $((48 * place + 80)) || return 1; done
}

# The board stands in its place, in play or in the pause: picture rows 72 to
# 79 are bare sky, one colour a row (swimming fish stay lower). On the
# menus the background texture crosses them, and while the board slides in,
# the curtains or the well do.
board_rows_bare() {  # image
  local band
  band=$(pic_area 0 72 384 8)
  [ "$(convert "$1" -crop "$band" +repage \( +clone -sample "1x$((8 * pic_scale))!" \
    -sample "$((384 * pic_scale))x$((8 * pic_scale))!" \) -metric AE -compare -format '%[distortion]' info: 2>/dev/null)" = 0 ]
}
board_in_place() {  # window
  snap "$1" now && board_rows_bare "$work/now.png"
}

# The pause screen: the board in place and "PAUSE" at (152, 240), which
# shows 20 frames in 40.
pause_shown() {  # window
  snap "$1" now && board_rows_bare "$work/now.png" && [ "$(outline_pixels "$work/now.png" 152 240 80 16)" -ge 200 ]
}

# The picture outside the rows of PAUSE (picture rows 235 to 260), which
# alone change while the game is paused.
without_pause_rows() {  # image, out
  convert "$1" -fill black -draw "rectangle 0,$((pic_y + 235 * pic_scale)) 9999,$((pic_y + 261 * pic_scale - 1))" "$2"
}

# Play runs: two screenshots in a row differ outside the rows of PAUSE, and
# neither shows PAUSE. Paused, the picture stands still but for those rows.
moving() {  # window
  snap "$1" move1 && snap "$1" move2 || return 1
  [ "$(outline_pixels "$work/move2.png" 152 240 80 16)" -lt 200 ] || return 1
  without_pause_rows "$work/move1.png" "$work/still1.png"
  without_pause_rows "$work/move2.png" "$work/still2.png"
  [ "$(compare -metric AE "$work/still1.png" "$work/still2.png" null: 2>&1)" != 0 ]
}

# The picture stands still but for the rows of PAUSE for the seconds: two
# screenshots that far apart, the time let pass on purpose, since no
# picture shows that nothing happens.
still_for() {  # window, seconds
  snap "$1" still_a || return 1
  sleep "$2"
  snap "$1" still_b || return 1
  without_pause_rows "$work/still_a.png" "$work/still_a.png"
  without_pause_rows "$work/still_b.png" "$work/still_b.png"
  [ "$(compare -metric AE "$work/still_a.png" "$work/still_b.png" null: 2>&1)" = 0 ]
}

# Bytes in a file (0 while there is none).
file_size() { stat -c %s "$1" 2>/dev/null || echo 0; }
size_at_least() { [ "$(file_size "$1")" -ge "$2" ]; }

# SDL's disk audio driver writes 44100 Hz 16-bit stereo at the pace of
# playing: 176400 bytes a second of sound.
audio_second=176400

# With the game on its title in the window, writing to SDL's disk audio file:
# once the file holds a second of the title, sets at_title to its size and
# starts a score-attack game (Z); once play has begun (the tune starts with
# it), sets tune_from to the file's size, and returns when a second of sound
# has followed.
listen_title_then_game() {  # window, audio file
  wait_until 20 "the title's picture" drawn "$1"
  wait_until 20 "a second of the title's sound" size_at_least "$2" "$audio_second"
  focus_window "$1"
  at_title=$(file_size "$2")
  press "$1" z
  wait_until 20 "play to begin after Z" board_in_place "$1"
  tune_from=$(file_size "$2")
  wait_until 20 "a second of sound in play" size_at_least "$2" $((tune_from + audio_second))
}

# "peak rms" of the 16-bit samples in a stretch of SDL's disk audio file.
sound_level() {  # file, first byte, bytes
  tail -c +$(($2 + 1)) "$1" | head -c "$3" | od -An -v -td2 -w2 |
    awk '{v = $1 < 0 ? -$1 : $1; if (v > m) m = v; s += v * v; n++} END {printf "%d %d", m, n ? sqrt(s / n) : 0}'
}
