#!/usr/bin/env bash
# Builds the Debian package, unpacks it into a scratch root with dpkg-deb -x
# and runs what it holds from there, with a fresh home folder: the game under
# Xvfb (its window, its packaged sounds and tune, Escape, the records in the
# user's data folder), the editor opening a mission the way a file manager
# does through its desktop entry, both windows' class against their desktop
# entries, and tessmar-solve on a packaged mission. Before that, the
# installed copyright, desktop entries and MIME type.
set -u
cpack=$1
config=$2
. "$(dirname "$0")/xvfb.sh"
# A UTF-8 locale, so that xdotool matches the editor's Japanese title.
export LC_ALL=C.UTF-8
command -v Xvfb >/dev/null || skip "Xvfb is not installed"
for tool in xdotool xprop dpkg-deb desktop-file-validate update-mime-database; do
  command -v $tool >/dev/null || fail "$tool is missing"
done

# The value of a key in a desktop entry.
desktop_value() {  # file, key
  sed -n "s/^$2=//p" "$1" | head -n 1
}

# The class half of a window's WM_CLASS, which a desktop's StartupWMClass names.
window_class() {  # window
  xprop -id "$1" WM_CLASS 2>/dev/null | sed -n 's/^WM_CLASS(STRING) = "[^"]*", "\([^"]*\)"$/\1/p'
}

"$cpack" -G DEB --config "$config" -B "$work/out" >"$work/cpack.log" 2>&1 || fail "cpack: $(tail -n 5 "$work/cpack.log")"
deb=$(ls "$work"/out/tessmar_*.deb 2>/dev/null | head -n 1)
[ -n "$deb" ] || fail "no package made"
root=$work/root
dpkg-deb -x "$deb" "$root" || fail "dpkg-deb -x $deb"
for f in bin/tessmar bin/tessmar-editor bin/tessmar-solve share/tessmar/snd/bgm.mid share/tessmar/snd/picoon.wav \
  share/tessmar/mission/01.msn share/tessmar/mission/30.msn share/applications/org.tessmar.tessmar.desktop \
  share/applications/org.tessmar.tessmar.editor.desktop share/icons/hicolor/48x48/apps/tessmar.png \
  share/metainfo/org.tessmar.tessmar.metainfo.xml share/man/man6/tessmar.6.gz share/man/man6/tessmar-editor.6.gz share/man/ja/man6/tessmar.6.gz \
  share/man/man6/tessmar-solve.6.gz share/doc/tessmar/copyright share/mime/packages/tessmar.xml; do
  [ -e "$root/usr/$f" ] || fail "the package has no /usr/$f"
done
echo "ok: $(basename "$deb"), $(dpkg-deb -c "$deb" | grep -vc '/$') files"

# The copyright file in Debian's machine-readable format: everything under the
# GPL, version 3 or later, with the licence's notice in a paragraph of its own.
copyright=$root/usr/share/doc/tessmar/copyright
head -n 1 "$copyright" | grep -qx 'Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/' ||
  fail "the copyright file is not machine-readable: $(head -n 1 "$copyright")"
grep -A 2 -x 'Files: \*' "$copyright" | grep -qx 'License: GPL-3+' || fail "the copyright file's Files: * is not GPL-3+"
grep -A 2 -x 'License: GPL-3+' "$copyright" | grep -q 'GNU General Public License' ||
  fail "the copyright file has no GPL-3+ licence paragraph"
echo "ok: machine-readable copyright, GPL-3+"

# The desktop entries are valid; the editor's takes a file and the mission
# type, which the MIME database, built from the package's file, gives *.msn.
game_entry=$root/usr/share/applications/org.tessmar.tessmar.desktop
editor_entry=$root/usr/share/applications/org.tessmar.tessmar.editor.desktop
complaints=$(desktop-file-validate "$game_entry" "$editor_entry" 2>&1)
[ -z "$complaints" ] || fail "desktop-file-validate: $complaints"
editor_exec=$(desktop_value "$editor_entry" Exec)
[ "${editor_exec% %f}" != "$editor_exec" ] || fail "the editor's desktop entry does not take a file: Exec=$editor_exec"
desktop_value "$editor_entry" MimeType | tr ';' '\n' | grep -qx 'application/x-tessmar-mission' ||
  fail "the editor's desktop entry does not name the mission type"
mkdir -p "$work/mime/packages"
cp "$root/usr/share/mime/packages/tessmar.xml" "$work/mime/packages/"
update-mime-database "$work/mime" >/dev/null 2>&1 || fail "update-mime-database refused the package's MIME file"
grep -qx '[0-9]*:application/x-tessmar-mission:\*\.msn' "$work/mime/globs2" ||
  fail "the MIME database does not give *.msn the mission type: $(cat "$work/mime/globs2")"
echo "ok: desktop entries valid, Exec=$editor_exec, *.msn is application/x-tessmar-mission"

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
class=$(window_class "$wid")
[ "$class" = "$(desktop_value "$game_entry" StartupWMClass)" ] ||
  fail "the game's window class \"$class\" is not its desktop entry's StartupWMClass"
listen_title_then_game "$wid" "$work/audio.raw"
press "$wid" Escape
wait_until 20 "the game to end after Escape" gone "$game_pid"
wait $game_pid || fail "the game's exit code is $?: $(cat "$work/game.err")"
read -r peak rms <<<"$(sound_level "$work/audio.raw" "$tune_from" "$audio_second")"
[ "$rms" -ge 500 ] || fail "the packaged tune is not heard (peak $peak, rms $rms)"
[ -f "$HOME/.local/share/tessmar/rcd.dat" ] || fail "no records file in ~/.local/share/tessmar"
[ -z "$(ls -A "$work/elsewhere")" ] || fail "the game wrote into the folder it was started from: $(ls -A "$work/elsewhere")"
echo "ok: the packaged game's window (class $class), tune (rms $rms), Escape, records in ~/.local/share/tessmar"

# The editor, started as a file manager opens a mission: its desktop entry's
# Exec with %f, the programs on PATH, a player's settings in Japanese.
mkdir -p "$HOME/.config/tessmar"
echo language=ja >>"$HOME/.config/tessmar/settings.conf"
mission=$root/usr/share/tessmar/mission/01.msn
(cd "$work/elsewhere" && PATH=$root/usr/bin:$PATH exec ${editor_exec/\%f/$mission}) 2>"$work/editor.err" &
editor_pid=$!
pids+=($editor_pid)
wid=$(wait_window $editor_pid '^01\.msn - Tessmar.*ミッションエディタ$') ||
  fail "no editor window on 01.msn: $(xdotool search --name . getwindowname %@ 2>/dev/null) $(cat "$work/editor.err")"
class=$(window_class "$wid")
[ "$class" = "$(desktop_value "$editor_entry" StartupWMClass)" ] ||
  fail "the editor's window class \"$class\" is not its desktop entry's StartupWMClass"
kill $editor_pid
echo "ok: the packaged editor opened 01.msn from its desktop entry (class $class)"

# The solver answers for a packaged mission.
"$root/usr/bin/tessmar-solve" "$root/usr/share/tessmar/mission/01.msn" >"$work/solve.out" 2>&1 ||
  fail "tessmar-solve: $(cat "$work/solve.out")"
grep -q '^clearable; shortest way [0-9]* pairs$' "$work/solve.out" || fail "tessmar-solve said: $(cat "$work/solve.out")"
echo "ok: the packaged tessmar-solve clears mission 01"
exit 0
