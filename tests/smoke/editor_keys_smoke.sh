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
for tool in openbox xdotool xprop xclip; do command -v $tool >/dev/null || fail "$tool is missing"; done
start_xvfb 1280x1024x24 || skip "Xvfb could not start"
start_openbox
export HOME=$work XDG_DATA_HOME=$work/data XDG_CONFIG_HOME=$work/config LC_ALL=C.UTF-8
app='Tessmar Mission Editor'
(cd "$work" && exec "$editor" --language en) 2>"$work/stderr" &
editor_pid=$!
wid=$(wait_window $editor_pid "$app") || fail "no editor window: $(cat "$work/stderr")"
title() { xdotool getwindowname "$wid"; }
title_is() { [ "$(title)" = "$1" ]; }
# The file dialog titled $1 after the keys $2 in the editor; fails with $3
# when none comes. Sets dialog.
open_dialog() {  # title, keys, why
  focus_window "$wid"
  xdotool key "$2"
  dialog=$(wait_window $editor_pid "^$1\$") || fail "$3"
  dialog_title=$1
}
# The path typed into the dialog's name box, which has the focus, and
# accepted; returns once the dialog has gone.
type_path() {  # path
  focus_window "$dialog"
  xdotool key ctrl+a
  xdotool type --delay 20 "$1"
  xdotool key Return
  holds_within 20 no_window "^$dialog_title\$" && return
  xdotool key ctrl+a
  fail "the $dialog_title dialog did not take $1; its name box holds '$(xclip -o -selection primary 2>/dev/null)'"
}
focus_window "$wid"
[ "$(title)" = "Untitled - $app" ] || fail "title at start: $(title)"
# The board has the focus: Right moves its cursor, 3 picks the corner, Space places it.
xdotool key Right 3 space
holds_within 20 title_is "Untitled* - $app" || fail "no modified mark after an edit: $(title)"
echo "ok: an edit by keys marks the title"
# Tab past the two palettes to the queue: the first pair a straight over a
# straight; Tab to the pair count: Home, one pair in use.
xdotool key Tab Tab Tab 1 space Down 2 space Tab Home
open_dialog "Save As" ctrl+s "Ctrl+S asked for no name the first time"
type_path "$work/keys.msn"
saved() { [ "$(stat -c %s "$work/keys.msn" 2>/dev/null)" = 294 ]; }
wait_until 20 "a 294-byte mission written" saved
holds_within 20 title_is "keys.msn - $app" || fail "title after saving: $(title)"
# Board cell (1, 0) is byte (1 + 1) * 15 + 2 of the kind layer: the corner, kind 3.
[ "$(od -An -tu1 -j32 -N1 "$work/keys.msn" | tr -d ' ')" = 3 ] || fail "the corner is not in the saved board"
echo "ok: Ctrl+S wrote the mission and the mark went"
# Loading is all or nothing: an empty file loads nothing (the saved mission
# stays, unmarked); a short one loads into an empty mission, marked unsaved.
: >"$work/empty.msn"
head -c 20 "$work/keys.msn" >"$work/short.msn"
open_dialog Open ctrl+o "Ctrl+O showed no dialog"
type_path "$work/empty.msn"
# The editor takes keys in order: by the time the next dialog opens, the
# empty file's load has run its course.
open_dialog Open ctrl+o "the second Ctrl+O showed no dialog"
[ "$(title)" = "keys.msn - $app" ] || fail "an empty file changed the document: $(title)"
type_path "$work/short.msn"
holds_within 20 title_is "short.msn* - $app" || fail "a short file is not shown as loaded and unsaved: $(title)"
echo "ok: an empty file loads nothing, a short one loads marked unsaved"
# Unsaved changes: Quit asks Save / Discard / Cancel; Cancel keeps the
# editor, Discard (Tab from Save, then Space) quits.
question() {  # why
  box=$(wait_window $editor_pid "^$app\$") || fail "$1"
  focus_window "$box"
}
focus_window "$wid"
xdotool key ctrl+q
question "Quit over unsaved changes asked nothing"
xdotool key Escape
wait_until 20 "Cancel to close the question" no_window "^$app\$"
alive $editor_pid || fail "Cancel quit the editor"
focus_window "$wid"
xdotool key ctrl+q
question "the second Quit asked nothing"
xdotool key Tab space
wait_until 20 "Discard to quit the editor" gone "$editor_pid"
editor_pid=
echo "ok: Quit over unsaved changes asks; Cancel stays, Discard quits"
# An untouched mission quits without a question.
(cd "$work" && exec "$editor" --language en) 2>>"$work/stderr" &
editor_pid=$!
wid=$(wait_window $editor_pid "$app") || fail "no second editor window"
focus_window "$wid"
xdotool key ctrl+q
wait_until 20 "Ctrl+Q with nothing changed to quit" gone "$editor_pid"
editor_pid=
echo "PASSED"
