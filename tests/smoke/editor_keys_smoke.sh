#!/usr/bin/env bash
# The editor in a real window under a window manager, driven by keys alone:
# a block placed on the board marks the title as modified, Ctrl+S asks for a
# name the first time and writes the mission (the first pair filled and the
# pair count set by keys too) and the mark goes; loading is all or nothing;
# quitting over unsaved changes asks Save / Discard / Cancel, and an
# untouched mission quits without a question.
set -u
editor=$(readlink -f "$1")
. "$(dirname "$(readlink -f "$0")")/xvfb.sh"
command -v Xvfb >/dev/null || skip "Xvfb is not installed"
for tool in openbox xdotool xprop; do command -v $tool >/dev/null || fail "$tool is missing"; done
start_xvfb 1280x1024x24 || skip "Xvfb could not start"
openbox >"$work/openbox.log" 2>&1 &
wm_pid=$!
for _ in $(seq 50); do xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q window && break; sleep 0.1; done
export HOME=$work XDG_DATA_HOME=$work/data XDG_CONFIG_HOME=$work/config LC_ALL=C.UTF-8
(cd "$work" && exec "$editor" --language en) 2>"$work/stderr" &
editor_pid=$!
wid=$(wait_window $editor_pid 'Tessmar Mission Editor') || fail "no editor window: $(cat "$work/stderr")"
title() { xdotool getwindowname "$wid"; }
# Waits up to five seconds for the title to become $1.
await_title() { for _ in $(seq 50); do [ "$(title)" = "$1" ] && return 0; sleep 0.1; done; return 1; }
# Waits for the file dialog titled $1 after the keys $2 in the editor, types
# the path $3 into it and accepts; fails with $4 when no dialog comes.
answer_dialog() {  # title keys path why
  xdotool windowactivate --sync "$wid" 2>/dev/null
  xdotool key "$2"
  local dialog=
  for _ in $(seq 50); do dialog=$(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -n 1); [ -n "$dialog" ] && break; sleep 0.1; done
  [ -n "$dialog" ] || fail "$4"
  sleep 0.5
  xdotool windowactivate --sync "$dialog" 2>/dev/null
  xdotool key ctrl+a
  xdotool type --delay 20 "$3"
  sleep 0.3
  xdotool key Return
  sleep 1
}
sleep 1
xdotool windowactivate --sync "$wid" 2>/dev/null
[ "$(title)" = "Untitled - Tessmar Mission Editor" ] || fail "title at start: $(title)"
# The board has the focus: Right moves its cursor, 3 picks the corner, Space places it.
xdotool key Right 3 space
sleep 0.5
await_title "Untitled* - Tessmar Mission Editor" || fail "no modified mark after an edit: $(title)"
echo "ok: an edit by keys marks the title"
# Tab past the two palettes to the queue: the first pair a straight over a
# straight; Tab to the pair count: Home, one pair in use.
xdotool key Tab Tab Tab 1 space Down 2 space Tab Home
sleep 0.3
answer_dialog "Save As" ctrl+s "$work/keys.msn" "Ctrl+S asked for no name the first time"
for _ in $(seq 50); do [ -f "$work/keys.msn" ] && break; sleep 0.1; done
[ "$(stat -c %s "$work/keys.msn" 2>/dev/null)" = 294 ] || fail "no 294-byte mission written"
sleep 0.5
await_title "keys.msn - Tessmar Mission Editor" || fail "title after saving: $(title)"
# Board cell (1, 0) is byte (1 + 1) * 15 + 2 of the kind layer: the corner, kind 3.
[ "$(od -An -tu1 -j32 -N1 "$work/keys.msn" | tr -d ' ')" = 3 ] || fail "the corner is not in the saved board"
echo "ok: Ctrl+S wrote the mission and the mark went"
# Loading is all or nothing: an empty file loads nothing (the saved mission
# stays, unmarked); a short one loads into an empty mission, marked unsaved.
open_file() { answer_dialog Open ctrl+o "$1" "Ctrl+O showed no dialog"; }
: >"$work/empty.msn"
open_file "$work/empty.msn"
[ "$(title)" = "keys.msn - Tessmar Mission Editor" ] || fail "an empty file changed the document: $(title)"
head -c 20 "$work/keys.msn" >"$work/short.msn"
open_file "$work/short.msn"
await_title "short.msn* - Tessmar Mission Editor" || fail "a short file is not shown as loaded and unsaved: $(title)"
echo "ok: an empty file loads nothing, a short one loads marked unsaved"
# Unsaved changes: Quit asks Save / Discard / Cancel; Cancel keeps the
# editor, Discard (Tab from Save, then Space) quits.
question() {
  local box=
  for _ in $(seq 50); do box=$(xdotool search --onlyvisible --name '^Tessmar Mission Editor$' 2>/dev/null | head -n 1); [ -n "$box" ] && break; sleep 0.1; done
  [ -n "$box" ] || fail "$1"
  xdotool windowactivate --sync "$box" 2>/dev/null
}
xdotool windowactivate --sync "$wid" 2>/dev/null
xdotool key ctrl+q
question "Quit over unsaved changes asked nothing"
xdotool key Escape
sleep 0.5
alive $editor_pid || fail "Cancel quit the editor"
xdotool windowactivate --sync "$wid" 2>/dev/null
xdotool key ctrl+q
question "the second Quit asked nothing"
xdotool key Tab space
for _ in $(seq 30); do alive $editor_pid || break; sleep 0.1; done
alive $editor_pid && fail "Discard did not quit"
editor_pid=
echo "ok: Quit over unsaved changes asks; Cancel stays, Discard quits"
# An untouched mission quits without a question.
(cd "$work" && exec "$editor" --language en) 2>>"$work/stderr" &
editor_pid=$!
wid=$(wait_window $editor_pid 'Tessmar Mission Editor') || fail "no second editor window"
sleep 1
xdotool windowactivate --sync "$wid" 2>/dev/null
xdotool key ctrl+q
for _ in $(seq 30); do alive $editor_pid || break; sleep 0.1; done
alive $editor_pid && fail "Ctrl+Q with nothing changed did not quit at once"
editor_pid=
echo "PASSED"
