#!/usr/bin/env bash
# The game with a bad snd/bgm.mid under Xvfb, with an audio device (SDL's
# dummy driver opens one): missing, empty, garbage, cut short, a folder and a
# FIFO. Each time the window must come up, the game must live on past the
# tune and Escape must end it with exit code 0.
#   tune_smoke.sh GAME GOOD_TUNE
set -u
game=$(readlink -f "$1")
good=$(readlink -f "$2")
. "$(dirname "$0")/xvfb.sh"
command -v Xvfb >/dev/null || skip "Xvfb is not installed"
command -v xdotool >/dev/null || fail "xdotool is missing"

start_xvfb || skip "Xvfb could not start"
# A settings folder of its own, so the window opens as on a new machine.
export XDG_CONFIG_HOME=$work/config

make_tune() {  # kind, path
  case $1 in
    missing) ;;
    empty) : >"$2" ;;
    garbage) head -c 5000 /dev/urandom >"$2" ;;
    truncated) head -c 200 "$good" >"$2" ;;
    folder) mkdir -p "$2/inside" ;;
    fifo) mkfifo "$2" ;;
  esac
}

for kind in missing empty garbage truncated folder fifo; do
  dir=$work/$kind
  mkdir -p "$dir/snd"
  make_tune $kind "$dir/snd/bgm.mid"
  # The player's own game folder, so that its tune is the one used.
  mkdir -p "$work/data-$kind" && ln -s "$dir" "$work/data-$kind/tessmar"
  (cd "$dir" && XDG_DATA_HOME=$work/data-$kind SDL_AUDIODRIVER=dummy exec "$game") 2>"$dir/stderr" &
  game_pid=$!
  wid=$(wait_window $game_pid '^Tessmar$') || fail "$kind tune: no window: $(cat "$dir/stderr")"
  wait_until 20 "$kind tune: the title's picture" drawn "$wid"
  # SDL_mixer is loaded at run time once a device opens: without it, silence.
  grep -q libSDL2_mixer "/proc/$game_pid/maps" || fail "$kind tune: an audio device opened but SDL_mixer was not loaded"
  # The tune is read when play first plays it (Z starts a game from the
  # title): one that cannot be read or played is named on stderr once the
  # game has given up on it; the one cut short loads without a word.
  focus_window "$wid"
  press "$wid" z
  case $kind in
    garbage) wait_until 20 "$kind tune: its note on stderr" grep -q "the tune .* cannot be played" "$dir/stderr" ;;
    truncated) ;;
    *) wait_until 20 "$kind tune: its note on stderr" grep -q "the tune .* is not a readable file" "$dir/stderr" ;;
  esac
  alive $game_pid || fail "$kind tune: the game died: $(cat "$dir/stderr")"
  press "$wid" Escape
  wait_until 20 "$kind tune: the game to end after Escape" gone "$game_pid"
  wait $game_pid
  code=$?
  game_pid=
  [ $code -eq 0 ] || fail "$kind tune: exit code $code: $(cat "$dir/stderr")"
  echo "ok with a $kind tune: $(tr '\n' ' ' <"$dir/stderr")"
done
exit 0
