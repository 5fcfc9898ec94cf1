#!/usr/bin/env bash
# The browser's game against the headless runner: each script played in the
# page (headless Chromium, the page's step mode, real key events) and by the
# runner with the same seed, date and language; the canvas at the chosen
# frames must be the runner's picture pixel for pixel. The runs share one
# browser profile and one runner folder, in order, so the records of the
# score-attack game must be read back after the page is loaded again, and a
# records file of the wrong length put on the browser's storage must give the
# runner's picture of the same file. A pad alone plays a mission in a browser
# without sound, a browser that keeps no files shows no records, and EDIT
# GAME opens the browser's file picker.
#   web_test.sh RUNNER GAMEDATA WEBDIR [KEEP_DIR]
set -euo pipefail
runner=$1 gamedata=$2 web=$3 keep=${4:-}
here=$(cd "$(dirname "$0")" && pwd)
browser=$(command -v chromium-headless-shell || command -v chromium || true)
[ -n "$browser" ] || { echo "no chromium-headless-shell or chromium: skipped"; exit 77; }
for f in "$web/index.html" "$web/tessmar.js" "$web/tessmar.wasm" "$web/tessmar.data"; do
  [ -f "$f" ] || { echo "$f is missing: the browser's game is not built (./tessmar web): skipped"; exit 77; }
done
# A player waits for the WebAssembly before the first frame: at most 1 MB.
MaxWasmBytes=1000000
wasm_bytes=$(stat -c %s "$web/tessmar.wasm")
echo "tessmar.wasm: $wasm_bytes bytes"
[ "$wasm_bytes" -le "$MaxWasmBytes" ] || { echo "FAILED: tessmar.wasm is over $MaxWasmBytes bytes"; exit 1; }
work=$(mktemp -d)
server=
cleanup() {
  if [ -n "$server" ]; then
    kill "$server" 2>/dev/null || true
    wait "$server" 2>/dev/null || true
  fi
  rm -rf "$work"
}
trap cleanup EXIT

# A clean machine: no locale, no settings, fresh folders for both.
unset LANG LC_ALL LC_MESSAGES
export XDG_DATA_HOME=$work/runner-data XDG_CONFIG_HOME=$work/runner-config HOME=$work/home
mkdir -p "$XDG_DATA_HOME" "$XDG_CONFIG_HOME" "$HOME" "$work/profile"
cp -r "$gamedata" "$work/runner"

python3 -m http.server 0 --bind 127.0.0.1 --directory "$web" >"$work/server.log" 2>&1 &
server=$!
port=
for _ in $(seq 100); do
  port=$(sed -n 's/.* port \([0-9]*\).*/\1/p' "$work/server.log" | head -n 1)
  [ -n "$port" ] && break
  sleep 0.1
done
[ -n "$port" ] || { echo "the web server did not start"; cat "$work/server.log"; exit 1; }

seed=7 today=2026-12-09
url="http://127.0.0.1:$port/?step=1&seed=$seed&today=$today&language=en"
failed=0
play() {  # name, script, frame...
  local name=$1 script=$2 shots=() args=() f
  [ "${script#/}" != "$script" ] || script=$here/$script
  shift 2
  for f in "$@"; do
    args+=(--shot "$f=$work/$name-runner-$f.png")
  done
  "$runner" --dir "${runner_dir:-$work/runner}" --seed "$seed" --today "$today" --language en --input "$script" \
    --trace "$work/$name.trace" "${args[@]}"
  for f in "$@"; do
    convert "$work/$name-runner-$f.png" -depth 8 "rgb:$work/$name-runner-$f.rgb"
    shots+=("$f=$work/$name-runner-$f.rgb")
  done
  echo "== $name"
  NODE_PATH=/usr/share/nodejs node --no-experimental-fetch "$here/drive_page.js" "$browser" "$url" "$work/profile" \
    "$script" "$work/$name.trace" "$work/$name-page" "${shots[@]}" >"$work/$name.log" 2>&1 || failed=1
  grep -v -e '^\[' -e '^$' -e '^DevTools listening' "$work/$name.log" || true
}

play score_attack score_attack.txt 60 150 264 300 390
play records_after_reload records.txt 12 75
printf 'damaged' >"$work/rcd-short.dat"
DRIVE_PAGE_PUT="/home/web_user/.local/share/tessmar/rcd.dat=$work/rcd-short.dat" play mission mission.txt 40 100 150 250
cp "$work/rcd-short.dat" "$work/runner/rcd.dat"
play records_damaged records.txt 75
# A pad alone, through the browser's Gamepad API (a stub of it in the page),
# in a browser that gives the page no sound: the same frames, and the page
# says once that it plays silent.
DRIVE_PAGE_BEFORE='window.AudioContext = undefined; window.webkitAudioContext = undefined;' \
  play pad_mission_silent pad_mission.txt 12 40 100 150
[ "$(grep -c 'gives the page no sound' "$work/pad_mission_silent.log")" = 1 ] ||
  { echo "FAILED: the silent page did not say once that it has no sound"; failed=1; }

# A browser that keeps no files (IndexedDB refused, as in a private window):
# the records screen as in a fresh game folder, and the page says once that
# the records last until it is closed.
cp -r "$gamedata" "$work/runner-fresh"
runner_dir=$work/runner-fresh DRIVE_PAGE_BEFORE='Object.defineProperty(window, "indexedDB", {value: undefined});' \
  play records_without_storage records.txt 75
[ "$(grep -c 'keeps no files here' "$work/records_without_storage.log")" = 1 ] ||
  { echo "FAILED: the page without storage did not say so once"; failed=1; }

# EDIT GAME with the keyboard: the browser's file picker gives mission 3's
# file, played as a mission file.
cp "$gamedata/mission/03.msn" "$work/picked.msn"
sed "s|@PICKED@|$work/picked.msn|" "$here/edit_game.txt" >"$work/edit_game.txt"
play edit_game "$work/edit_game.txt" 60 150

# Where the game cannot start the page says why: opened as a file, and in a
# browser without WebAssembly.
says() {  # url, expected words, before-script
  local said
  said=$(DRIVE_PAGE_BEFORE=$3 NODE_PATH=/usr/share/nodejs node --no-experimental-fetch "$here/drive_page.js" \
    "$browser" "$1" "$work/profile" --loading - "$work/loading" 2>/dev/null | grep '^page says: ' || true)
  echo "$1: $said"
  case "$said" in *"$2"*) ;; *) echo "FAILED: the page does not say \"$2\""; failed=1 ;; esac
}
says "file://$(cd "$web" && pwd)/index.html" "python3 -m http.server" ""
says "http://127.0.0.1:$port/" "runs no WebAssembly" "delete window.WebAssembly;"

if [ -n "$keep" ]; then
  mkdir -p "$keep"
  cp "$work"/*.png "$keep/"
  echo "pictures kept in $keep"
fi
exit $failed
