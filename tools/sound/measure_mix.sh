#!/usr/bin/env bash
# Measures the mix a player hears in two traced games: a fast score-attack
# game (random keys, many moves and turns) and mission 12 played by its stored
# way, both with the full set. The headless runner's trace gives which sound
# and which tune command falls on which frame; tessmar-tunerender --mix plays
# them at those times through SDL2_mixer and FluidSynth as the game does, and
# tessmar-soundmeasure reports the render's integrated loudness, true peak
# and clipped 50 ms windows, and the largest sample step at every stop of the
# tune (rendered without the effects) against the tune's own steps. Last,
# score attack's change from the calm arrangement to the tune itself (as at
# level 5) is rendered three times at different moments, and the silence and
# the step where the tune itself starts are measured.
#   tools/sound/measure_mix.sh [BUILD_DIR] [SND_DIR] [--halt]
# SND_DIR (default BUILD_DIR/gamedata/snd) holds the sounds and tunes played;
# --halt cuts the tune at a stop instead of fading it, as the game once did;
# RUNNER, when set, is the headless runner to trace the games with.
set -euo pipefail
build=$(readlink -f "${1:-build}")
snd=$(readlink -f "${2:-$build/gamedata/snd}")
stop=stop
[ "${3:-}" = --halt ] && stop=halt
src=$(dirname "$(readlink -f "$0")")/../..
tmp=$(mktemp -d)
trap '[ -n "${KEEP:-}" ] || rm -rf "$tmp"' EXIT; [ -n "${KEEP:-}" ] && echo "kept in $tmp"
export SDL_FORCE_SOUNDFONTS=1 SDL_SOUNDFONTS=${SDL_SOUNDFONTS:-/usr/share/sounds/sf2/TimGM6mb.sf2}

# The same random keys as every run: four thousand steps of one to four frames.
python3 - > "$tmp/score.txt" <<'PY'
import random
r = random.Random(5)
keys = ["Left", "Right", "Down", "Z", "X", "", "A", "Down Left", "Down Right"]
for i in range(4000):
    print(r.randint(1, 4), r.choice(keys))
PY

run() {  # name, tune, runner arguments...
  local name=$1 tune=$2; shift 2
  mkdir -p "$tmp/$name/game"
  cp -r "$build/gamedata/mission" "$tmp/$name/game/"
  cp -r "$snd" "$tmp/$name/game/snd"
  (cd "$tmp/$name/game" && env -u LANG -u LC_ALL XDG_DATA_HOME="$tmp/$name/xdg" XDG_CONFIG_HOME="$tmp/$name/cfg" \
     HOME="$tmp/$name" "${RUNNER:-$build/tessmar-headless}" --seed 7 --dir "$tmp/$name/game" --sounds full \
     --trace "$tmp/$name/trace.jsonl" "$@" >/dev/null)
  python3 - "$tmp/$name/trace.jsonl" "$snd" "$tune" "$stop" "$tmp/$name" <<'PY'
import json, re, sys
trace, snd, tune, stop, out = sys.argv[1:]
names = {"SoundMove": "lr", "SoundMoveFull": "move", "SoundTurn": "turn", "SoundTurnFull": "rotate",
         "SoundCursor": "cursor", "SoundDecide": "decide", "SoundLand": "land", "SoundFish": "fish",
         "SoundLink": "link", "SoundGameOver": "gameover", "SoundClear": "clear", "SoundLevelUp": "levelup"}
mix, music, stops, last, playing = [], [], [], 0, False
for line in open(trace):
    f = json.loads(line)
    ms = last = f["Ticks"]
    for name in f["sounds"]:
        m = re.fullmatch(r"SoundChain(\d)", name)
        mix.append(f"{ms} sound {snd}/{'chain' + m.group(1) if m else names[name]}.wav")
    for command in f["music"]:
        if command == "play":
            music.append(f"{ms} tune {snd}/{tune}")
            playing = True
        elif command.startswith("second "):
            music.append(f"{ms} second {snd}/{command.split()[1]}")
        elif command.startswith("use "):
            music.append(f"{ms} {command}")
        elif command in ("stop", "close") and playing:
            playing = False
            music.append(f"{ms} {stop}")
            stops.append(str(ms))
end = [f"{last + 2000} end"]
open(f"{out}/mix.txt", "w").write("\n".join(music + mix + end) + "\n")
open(f"{out}/tune.txt", "w").write("\n".join(music + end) + "\n")
open(f"{out}/stops.txt", "w").write(" ".join(stops) + "\n")
PY
  echo "== $name: $(grep -c ' sound ' "$tmp/$name/mix.txt") sounds, $(wc -w < "$tmp/$name/stops.txt") stops of the tune"
  nice -n 19 "$build/tools/tessmar-tunerender" --mix "$tmp/$name/mix.txt" "$tmp/$name/mix.raw" 2>/dev/null
  nice -n 19 "$build/tools/tessmar-tunerender" --mix "$tmp/$name/tune.txt" "$tmp/$name/tune.raw" 2>/dev/null
  echo -n "tune and effects: "; "$build/tools/tessmar-soundmeasure" mix "$tmp/$name/mix.raw"
  echo -n "tune alone:       "; "$build/tools/tessmar-soundmeasure" mix "$tmp/$name/tune.raw"
  # shellcheck disable=SC2046
  "$build/tools/tessmar-soundmeasure" steps "$tmp/$name/tune.raw" $(cat "$tmp/$name/stops.txt")
}

run score bgm-calm.mid --start-score-attack --input "$tmp/score.txt" --frames 40
run mission bgm2.mid --mission "$build/gamedata/mission/12.msn" --input "$src/tests/campaign/solutions/12.txt"

# The change of arrangement: the calm one from the start, the tune itself
# asked for at 10.0, 21.7 and 33.1 s, each time on the calm arrangement's next
# line of two bars (4444.444 ms at 108 beats a minute); back to the calm one
# in between, on the tune's own lines (3870.968 ms at 124).
cat > "$tmp/switch.txt" <<EOF
0 tune $snd/bgm-calm.mid
0 second $snd/bgm.mid
10000 use second 4444.444
16000 use first 3870.968
21700 use second 4444.444
28000 use first 3870.968
33100 use second 4444.444
42000 end
EOF
echo "== the change to the tune itself"
nice -n 19 "$build/tools/tessmar-tunerender" --mix "$tmp/switch.txt" "$tmp/switch.raw" 2>/dev/null | tee "$tmp/switch.out"
# shellcheck disable=SC2046
"$build/tools/tessmar-soundmeasure" switch "$tmp/switch.raw" $(sed -n 's/.*other arrangement from frame \([0-9]*\).*/\1/p' "$tmp/switch.out")
echo -n "the tune itself from its own start, largest step in its first 5 ms: "
nice -n 19 "$build/tools/tessmar-tunerender" "$snd/bgm.mid" "$tmp/bgm.raw" >/dev/null 2>&1
python3 - "$tmp/bgm.raw" <<'PY'
import array, sys
a = array.array("h"); a.frombytes(open(sys.argv[1], "rb").read()[:4 * 221])
print("%.4f" % (max(abs(a[i] - a[i - 2]) for i in range(2, len(a))) / 32768))
PY
