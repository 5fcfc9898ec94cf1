// tessmar-soundgen DIR: writes the four short sounds and the tune into DIR
// (the game folder's snd/).
#include <cstdio>
#include <string>

#include "tools/sound/tune.h"
#include "tools/sound/wav_gen.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: tessmar-soundgen DIR\n");
        return 2;
    }
    const std::string dir = argv[1];
    bool ok = WriteWav(dir + "/lr.wav", MakeMoveSound()) && WriteWav(dir + "/turn.wav", MakeTurnSound()) &&
              WriteWav(dir + "/pi.wav", MakeCursorSound()) && WriteWav(dir + "/picoon.wav", MakeDecideSound()) &&
              WriteTune(dir + "/bgm.mid");
    return ok ? 0 : 1;
}
