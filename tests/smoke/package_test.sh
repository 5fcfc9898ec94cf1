#!/usr/bin/env bash
# Builds the Debian package, unpacks it into a scratch root with dpkg-deb -x
# and runs what it holds from there, with a fresh home folder: the game under
# Xvfb (its window, its packaged sounds and tune, Escape, the records in the
# user's data folder), the editor's window, and tessmar-solve on a packaged
# mission.
set -u
cpack=$1
config=$2
. "$(dirname "$0")/xvfb.sh"
# A UTF-8 locale, so that xdotool matches the editor's Japanese title.
export LC_ALL=C.UTF-8
command -v Xvfb >/dev/null || skip "Xvfb is not installed"
for tool in xdotool dpkg-deb; do command -v $tool >/dev/null || fail "$tool is missing"; done

"$cpack" -G DEB --config "$config" -B "$work/out" >"$work/cpack.log" 2>&1 || fail "cpack: $(tail -n 5 "$work/cpack.log")"
deb=$(ls "$work"/out/tessmar_*.deb 2>/dev/null | head -n 1)
[ -n "$deb" ] || fail "no package made"
root=$work/root
dpkg-deb -x "$deb" "$root" || fail "dpkg-deb -x $deb"
for f in bin/tessmar bin/tessmar-editor bin/tessmar-solve share/tessmar/snd/bgm.mid share/tessmar/snd/picoon.wav \
  share/tessmar/mission/01.msn share/tessmar/mission/30.msn share/applications/org.tessmar.tessmar.desktop \
  share/applications/org.tessmar.tessmar.editor.desktop share/icons/hicolor/48x48/apps/tessmar.png \
  share/metainfo/org.tessmar.tessmar.metainfo.xml share/man/man6/tessmar.6.gz share/man/man6/tessmar-editor.6.gz share/man/ja/man6/tessmar.6.gz \
  share/man/man6/tessmar-solve.6.gz share/doc/tessmar/copyright; do
  [ -e "$root/usr/$f" ] || fail "the package has no /usr/$f"
done
echo "ok: $(basename "$deb"), $(dpkg-deb -c "$deb" | grep -vc '/$') files"

export HOME=$work/home
unset XDG_DATA_HOME
mkdir -p "$HOME" "$work/elsewhere"
start_xvfb || skip "Xvfb could not start"

# The game, started from a folder with no game data: the window, the decide
# sound and the tune from the package, Escape, the records in the data folder.
(cd "$work/elsewhere" && SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE="$work/audio.raw" exec "$root/usr/bin/tessmar") \
  2>"$work/game.err" &
game_pid=$!
pids+=($game_pid)
wid=$(wait_window $game_pid '^Tessmar$') || fail "no window titled Tessmar: $(cat "$work/game.err")"
listen_title_then_game "$wid" "$work/audio.raw"
press "$wid" Escape
for _ in $(seq 100); do
  alive $game_pid || break
  sleep 0.01
done
alive $game_pid && fail "the game still runs one second after Escape"
wait $game_pid || fail "the game's exit code is $?: $(cat "$work/game.err")"
read -r peak rms <<<"$(sound_level "$work/audio.raw" $((at_title + 2 * 176400)) $((in_game - at_title - 2 * 176400)))"
[ "$rms" -ge 500 ] || fail "the packaged tune is not heard (peak $peak, rms $rms)"
[ -f "$HOME/.local/share/tessmar/rcd.dat" ] || fail "no records file in ~/.local/share/tessmar"
[ -z "$(ls -A "$work/elsewhere")" ] || fail "the game wrote into the folder it was started from: $(ls -A "$work/elsewhere")"
echo "ok: the packaged game's window, tune (rms $rms), Escape, records in ~/.local/share/tessmar"

# The editor: its window comes up.
(cd "$work/elsewhere" && LC_ALL=C.UTF-8 exec "$root/usr/bin/tessmar-editor" --language ja) 2>"$work/editor.err" &
editor_pid=$!
pids+=($editor_pid)
wait_window $editor_pid 'ミッションエディタ' >/dev/null || fail "no editor window: $(cat "$work/editor.err")"
kill $editor_pid
echo "ok: the packaged editor's window"

# The solver answers for a packaged mission.
"$root/usr/bin/tessmar-solve" "$root/usr/share/tessmar/mission/01.msn" >"$work/solve.out" 2>&1 ||
  fail "tessmar-solve: $(cat "$work/solve.out")"
grep -q '^clearable; shortest way [0-9]* pairs$' "$work/solve.out" || fail "tessmar-solve said: $(cat "$work/solve.out")"
echo "ok: the packaged tessmar-solve clears mission 01"
exit 0
