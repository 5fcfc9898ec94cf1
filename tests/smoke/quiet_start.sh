#!/usr/bin/env bash
# The game's stderr carries only its own lines at start-up, also where the
# sound libraries have no card to open (ALSA would list its failures; they
# come back with TESSMAR_VERBOSE=1).
set -u
game=$(readlink -f "$1")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export HOME=$work XDG_DATA_HOME=$work/data XDG_CONFIG_HOME=$work/config SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=alsa
unset TESSMAR_VERBOSE
(cd "$work" && exec "$game") 2>"$work/err" >/dev/null &
pid=$!
# Two seconds let pass on purpose: the start-up's every line, the game's or
# a library's, is out by then, and no line says that none is still to come.
sleep 2
kill -TERM "$pid" 2>/dev/null
wait "$pid"
foreign=$(grep -v '^tessmar: ' "$work/err")
if [ -n "$foreign" ]; then
  echo "FAILED: lines on stderr that are not the game's own:"
  echo "$foreign"
  exit 1
fi
cat "$work/err"
echo "PASSED"
