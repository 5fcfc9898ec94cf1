#!/usr/bin/env bash
# Unsaved work outlives the editor's unasked ends: SIGTERM (a logout), SIGHUP
# (its terminal closed) and the loss of the display each leave the edited
# mission in the recovery file; the next editor offers it back, Restore shows
# it unsaved under its file's name and Ctrl+S writes it there.
set -u
editor=$(readlink -f "$1")
mission=$(readlink -f "$2")
. "$(dirname "$(readlink -f "$0")")/xvfb.sh"
command -v Xvfb >/dev/null || skip "Xvfb is not installed"
for tool in openbox xdotool xprop cmp; do command -v $tool >/dev/null || fail "$tool is missing"; done
export HOME=$work XDG_DATA_HOME=$work/data XDG_CONFIG_HOME=$work/config LC_ALL=C.UTF-8
kept=$work/config/tessmar/editor-recovery
app_title='Tessmar Mission Editor'

title_is() { [ "$(xdotool getwindowname "$wid" 2>/dev/null)" = "$1" ]; }

start_desktop() {
  start_xvfb 1280x1024x24 || skip "Xvfb could not start"
  start_openbox
}

start_desktop
for ending in TERM HUP display; do
  cp "$mission" "$work/m.msn"
  (cd "$work" && exec "$editor" --language en "$work/m.msn") 2>"$work/stderr" &
  editor_pid=$!
  wid=$(wait_window $editor_pid "m.msn - $app_title") || fail "no editor window: $(cat "$work/stderr")"
  focus_window "$wid"
  xdotool key Right 3 space  # a corner on the board
  wait_until 20 "the modified mark ($ending)" title_is "m.msn* - $app_title"
  if [ "$ending" = display ]; then
    kill "$wm_pid" "$xvfb_pid"
    wait "$xvfb_pid" 2>/dev/null
    xvfb_pid= wm_pid=
  else
    kill -s "$ending" "$editor_pid"
  fi
  wait_until 20 "the editor's end ($ending)" gone "$editor_pid"
  editor_pid=
  [ -s "$kept" ] || fail "SIG$ending / display left no recovery file: $(cat "$work/stderr")"
  cmp -s -n 294 "$kept" "$work/m.msn" && fail "the kept mission ($ending) is the file's, not the edited one"
  [ "$(tail -c +295 "$kept")" = "$work/m.msn" ] || fail "the kept work ($ending) names $(tail -c +295 "$kept")"
  head -c 294 "$kept" >"$work/edited.msn"
  echo "ok: $ending keeps the unsaved mission"

  [ "$ending" = display ] && start_desktop
  (cd "$work" && exec "$editor" --language en) 2>"$work/stderr" &
  editor_pid=$!
  box=$(wait_window $editor_pid "^$app_title\$") || fail "no question to restore ($ending)"
  focus_window "$box"
  xdotool key Return  # Restore, the default
  wid=$(wait_window $editor_pid "m.msn\\* - $app_title") || fail "the work was not restored ($ending)"
  [ -e "$kept" ] && fail "the recovery file stays after the restore"
  focus_window "$wid"
  xdotool key ctrl+s
  wait_until 20 "the save of the restored work" title_is "m.msn - $app_title"
  cmp -s "$work/m.msn" "$work/edited.msn" || fail "Ctrl+S did not write the restored mission ($ending)"
  xdotool key ctrl+q
  wait_until 20 "the editor's close" gone "$editor_pid"
  editor_pid=
  [ -e "$kept" ] && fail "a close the author asked for kept a recovery file"
  echo "ok: the next editor restores it ($ending)"
done
echo "PASSED"
