// Sounds and the tune in the browser, through Web Audio (web/tessmar_pre.js):
// the game's WAV files decoded by the browser, and the tunes as rendered
// ahead of time from their MIDI files (FILE.ogg beside FILE.mid, its loop
// period in frames at 44100 Hz in FILE.loop), each looping over its period.
#include <emscripten.h>

#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>
#include <vector>

#include "platform/pitch_choice.h"
#include "platform/platform.h"
#include "platform/platform_os.h"
#include "platform/platform_web_parts.h"

namespace {
// The pitched copies' playback rates, beside the unchanged sound's 1, as on
// the desktop.
constexpr double PitchFactors[SoundImage::PitchedCopies] = {0.97, 0.985, 1.015, 1.03};
constexpr size_t MaxTuneBytes = size_t(16) << 20;
constexpr size_t MaxLoopFileBytes = 64;


bool soundOpen = false;
struct Tune {
    bool open = false;
    bool playing = false;
    bool second = false;  // the second arrangement chosen
    bool hasSecond = false;
};
Tune tune;

EM_JS(int, web_decode, (const void* bytes, int length), { return Tessmar.decode(bytes, length); });
EM_JS(void, web_play_sound, (int id, double rate), { Tessmar.playSound(id, rate); });
EM_JS(void, web_stop_sounds, (), { Tessmar.stopSounds(); });
EM_JS(void, web_set_volumes, (double tune, double sounds), { Tessmar.setVolumes(tune, sounds); });
EM_JS(void, web_tune_open, (int slot, int id, double loopFrames), { Tessmar.tuneOpen(slot, id, loopFrames); });
EM_JS(void, web_tune_play, (int which), { Tessmar.tunePlay(which); });
EM_JS(void, web_tune_stop, (), { Tessmar.tuneStop(); });
EM_JS(void, web_tune_use, (int which, double lineMs), { Tessmar.tuneUse(which, lineMs); });

// "snd/bgm.mid" -> "snd/bgm" + extension.
std::string Beside(const char* midi, const char* extension) {
    std::string path = midi;
    const size_t dot = path.find_last_of('.');
    if (dot != std::string::npos && path.find('/', dot) == std::string::npos) path.resize(dot);
    return path + extension;
}

// A tune decoded is some 70 MB of samples: each file is decoded once and
// kept, by its path, with its loop period.
struct Rendered {
    int buffer;
    double loopFrames;
};
std::map<std::string, Rendered> rendered;

// Hands the rendered tune of `midi` to the page; false when it is not there.
bool OpenRendered(int slot, const char* midi) {
    if (midi == nullptr) return false;
    const std::string path = Beside(midi, ".ogg");
    auto known = rendered.find(path);
    if (known == rendered.end()) {
        std::vector<uint8_t> bytes, loop;
        if (!ReadFileBytes(path, bytes, MaxTuneBytes) || bytes.empty()) return false;
        double frames = 0;
        if (ReadFileBytes(Beside(midi, ".loop"), loop, MaxLoopFileBytes))
            frames = std::atof(std::string(loop.begin(), loop.end()).c_str());
        if (!soundOpen) return true;
        known = rendered.emplace(path, Rendered{web_decode(bytes.data(), int(bytes.size())), frames}).first;
    }
    web_tune_open(slot, known->second.buffer, known->second.loopFrames);
    return true;
}
}  // namespace

void SoundOpen() { soundOpen = true; }

void PlatformPrepareSound(SoundImage& image) {
    image.handle = nullptr;
    if (image.bytes.empty()) {
        std::fprintf(stderr, "tessmar: %s: %s\n", image.file.c_str(),
                     image.readError.empty() ? "empty" : image.readError.c_str());
        return;
    }
    // The buffer's number plus one, so that 0 stays "none".
    image.handle = reinterpret_cast<void*>(intptr_t(web_decode(image.bytes.data(), int(image.bytes.size())) + 1));
    image.bytes.clear();
    image.bytes.shrink_to_fit();
}

void PlatformPlaySound(const SoundImage& image) {
    if (image.handle == nullptr) return;
    double rate = 1;
    if (image.pitchVariants) {
        const uint32_t pick = PitchCopyToPlay();
        if (pick > 0) rate = PitchFactors[pick - 1];
    }
    web_play_sound(int(reinterpret_cast<intptr_t>(image.handle) - 1), rate);
}

void PlatformSetVolumes(double tuneVolume, double sounds) { web_set_volumes(tuneVolume, sounds); }
void PlatformStopSound() { web_stop_sounds(); }
void PlatformReleaseSound(SoundImage& image) { image.handle = nullptr; }

void PlatformTuneOpen(const char* path, const char* fallback) {
    PlatformTuneClose();
    tune.open = OpenRendered(0, path) || OpenRendered(0, fallback);
    if (!tune.open && path != nullptr) std::fprintf(stderr, "tessmar: no tune: %s\n", Beside(path, ".ogg").c_str());
}

bool PlatformTuneStopped() { return tune.open && !tune.playing; }

void PlatformTunePlay() {
    if (!tune.open) return;
    tune.playing = true;
    web_tune_play(tune.second && tune.hasSecond ? 1 : 0);
}

void PlatformTuneStop() {
    if (!tune.open) return;
    tune.playing = false;
    web_tune_stop();
}

void PlatformTuneClose() {
    if (tune.open && tune.playing) web_tune_stop();
    tune = Tune{};
}

void PlatformTuneOpenSecond(const char* path) {
    if (tune.open) tune.hasSecond = OpenRendered(1, path);
}

void PlatformTuneUseSecond(bool second, double lineMs) {
    tune.second = second;
    if (tune.open && tune.hasSecond && tune.playing) web_tune_use(second ? 1 : 0, lineMs);
}
