// tessmar-soundgen DIR: writes the short sounds and the tunes into DIR (the
// game folder's snd/).
// tessmar-soundgen --part TUNE PART FILE: writes tune 1 (bgm.mid), 2
// (bgm2.mid) or 3 (bgm-calm.mid) with only some of its notes: PART is "lead", "rest" (all but
// the lead) or a MIDI channel 0 to 15; for measuring the mix one side at a time.
// tessmar-soundgen --stats TUNE: the tune's tempo, length, rests and hook.
// tessmar-soundgen --solo CHANNEL FILE: the same as --part 1 CHANNEL FILE.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "tools/sound/tune.h"
#include "tools/sound/wav_gen.h"

namespace {
bool ParsePart(const char* text, MidiFilter& filter) {
    if (std::strcmp(text, "lead") == 0) return filter.keep = MidiFilter::Keep::Lead, true;
    if (std::strcmp(text, "rest") == 0) return filter.keep = MidiFilter::Keep::Rest, true;
    char* end = nullptr;
    long channel = std::strtol(text, &end, 10);
    if (end == text || *end || channel < 0 || channel > 15) return false;
    filter.keep = MidiFilter::Keep::Channel;
    filter.channel = int(channel);
    return true;
}

bool ParseTune(const char* text, int& tune) {
    tune = text[0] - '0';
    return tune >= 1 && tune <= 3 && text[1] == 0;
}

int Usage() {
    std::fprintf(stderr,
                 "usage: tessmar-soundgen DIR | tessmar-soundgen --part 1|2|3 lead|rest|CHANNEL FILE |"
                 " tessmar-soundgen --stats 1|2|3 | tessmar-soundgen --solo CHANNEL FILE\n");
    return 2;
}
}  // namespace

int main(int argc, char** argv) {
    MidiFilter filter;
    int tune = 1;
    if (argc == 4 && std::strcmp(argv[1], "--solo") == 0) {
        if (!ParsePart(argv[2], filter) || filter.keep != MidiFilter::Keep::Channel) return Usage();
        return WriteBytes(argv[3], MakeTune(1, filter)) ? 0 : 1;
    }
    if (argc == 5 && std::strcmp(argv[1], "--part") == 0) {
        if (!ParsePart(argv[3], filter)) return Usage();
        if (!ParseTune(argv[2], tune)) return Usage();
        return WriteBytes(argv[4], MakeTune(tune, filter)) ? 0 : 1;
    }
    if (argc == 3 && std::strcmp(argv[1], "--stats") == 0) {
        if (!ParseTune(argv[2], tune)) return Usage();
        return std::fputs(TuneStatistics(tune).c_str(), stdout) < 0;
    }
    if (argc != 2) return Usage();
    const std::string dir = argv[1];
    bool ok = WriteWav(dir + "/lr.wav", MakeMoveSound()) && WriteWav(dir + "/turn.wav", MakeTurnSound()) &&
              WriteWav(dir + "/pi.wav", MakeCursorSound()) && WriteWav(dir + "/picoon.wav", MakeDecideSound()) &&
              WriteBytes(dir + "/bgm.mid", MakeTune(1)) && WriteBytes(dir + "/bgm2.mid", MakeTune(2)) &&
              WriteBytes(dir + "/bgm-calm.mid", MakeTune(3)) &&
              WriteWav(dir + "/move.wav", MakeBrightMoveSound()) && WriteWav(dir + "/land.wav", MakeLandingSound()) &&
              WriteWav(dir + "/rotate.wav", MakeSoftTurnSound()) &&
              WriteWav(dir + "/fish.wav", MakeFishSound()) && WriteWav(dir + "/link.wav", MakeLinkSound()) &&
              WriteWav(dir + "/gameover.wav", MakeGameOverJingle()) &&
              WriteWav(dir + "/clear.wav", MakeMissionClearJingle()) &&
              WriteWav(dir + "/levelup.wav", MakeLevelUpSound()) && WriteWav(dir + "/cursor.wav", MakeSoftCursorSound()) &&
              WriteWav(dir + "/decide.wav", MakeSoftDecideSound());
    for (int step = 1; step <= ChainSteps; ++step)
        ok = ok && WriteWav(dir + "/chain" + std::to_string(step) + ".wav", MakeChainSound(step));
    return ok ? 0 : 1;
}
