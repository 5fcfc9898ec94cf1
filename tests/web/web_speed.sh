#!/usr/bin/env bash
# The browser's game in real time in headless Chromium: the first frame's
# time after the page began to load, and the mean frame period over 20 s of
# the title, whose fish move in every frame (the game keeps 25 ms: 40 frames
# a second). A measurement,
# not a test: it prints the figures and the page's screenshot's place.
#   web_speed.sh WEBDIR [SECONDS]
set -euo pipefail
web=$1 seconds=${2:-25}
here=$(cd "$(dirname "$0")" && pwd)
browser=$(command -v chromium-headless-shell || command -v chromium)
work=$(mktemp -d)
python3 -m http.server 0 --bind 127.0.0.1 --directory "$web" >"$work/server.log" 2>&1 &
server=$!
trap 'kill $server; rm -rf "$work"' EXIT
port=
for _ in $(seq 100); do
  port=$(sed -n 's/.* port \([0-9]*\).*/\1/p' "$work/server.log" | head -n 1)
  [ -n "$port" ] && break
  sleep 0.1
done
mkdir -p "$work/profile"
NODE_PATH=/usr/share/nodejs node --no-experimental-fetch "$here/drive_page.js" "$browser" \
  "http://127.0.0.1:$port/?language=en" "$work/profile" --pacing "$seconds" /tmp/tessmar-web-speed
echo "screenshot: /tmp/tessmar-web-speed.png"
