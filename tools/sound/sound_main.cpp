// tessmar-soundgen DIR: writes the four short sounds and the tune into DIR
// (the game folder's snd/).
// tessmar-soundgen --solo CHANNEL FILE: writes the tune with only that MIDI
// channel's notes (0 to 15), for measuring the mix one part at a time.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "tools/sound/tune.h"
#include "tools/sound/wav_gen.h"

int main(int argc, char** argv) {
    if (argc == 4 && std::strcmp(argv[1], "--solo") == 0) {
        int channel = std::atoi(argv[2]);
        if (channel < 0 || channel > 15) return 2;
        return WriteTune(argv[3], MakeTuneSolo(channel)) ? 0 : 1;
    }
    if (argc != 2) {
        std::fprintf(stderr, "usage: tessmar-soundgen DIR | tessmar-soundgen --solo CHANNEL FILE\n");
        return 2;
    }
    const std::string dir = argv[1];
    bool ok = WriteWav(dir + "/lr.wav", MakeMoveSound()) && WriteWav(dir + "/turn.wav", MakeTurnSound()) &&
              WriteWav(dir + "/pi.wav", MakeCursorSound()) && WriteWav(dir + "/picoon.wav", MakeDecideSound()) &&
              WriteTune(dir + "/bgm.mid", MakeTune());
    return ok ? 0 : 1;
}
