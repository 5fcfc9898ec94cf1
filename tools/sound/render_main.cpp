// tessmar-tunerender MIDI RAW [PASSES]: plays a MIDI file through SDL2_mixer, opened
// as the game opens it (same soundfont choice, 44100 Hz, 16-bit, stereo, 1024
// frames), into SDL's disk audio driver with no delay, so a whole tune renders
// in about a second. RAW receives the mixer's output from the first buffer of
// the tune to the buffer in which it ended: signed 16-bit, native order,
// interleaved left/right. It prints the length, the RMS level and peak of the
// whole, the quiet stretches at both ends (what a listener hears at the joint
// when the tune restarts), the quietest second in between and the longest
// silence inside. PASSES (default 1) plays the tune that many times in a row,
// looped by the synthesiser as the game loops it, to hear the joint.
// Exit status 1 when the tune cannot be played.
//
// tessmar-tunerender --mix EVENTS RAW: plays a game's sounds and tunes at
// their times through the same mixer (eight channels for the sounds), into
// RAW from the first event to the "end" one. EVENTS has one event a line,
// its time in milliseconds first: "MS tune FILE.mid" (played looping, as the
// game does), "MS sound FILE.wav", "MS stop" (the tune faded out as the game
// stops it), "MS halt" (cut at once), "MS second FILE.mid" (a second
// arrangement opened), "MS use first|second LINE_MS" (the arrangement
// chosen: changed on the playing one's next line, as the game changes it)
// and "MS end". Each change of arrangement is reported: the line, and the
// frame of RAW where the other arrangement started.
#include <SDL.h>
#include <SDL_mixer.h>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "platform/sound_font.h"
#include "platform/tune_fade.h"
#include "platform/tune_switch.h"

namespace {
constexpr int Rate = 44100;
constexpr int Channels = 2;
constexpr int BufferFrames = 1024;

// Bytes of mixer output before the tune started and up to the buffer in which
// it ended; written by the audio thread, read after it has been closed.
std::atomic<long> mixedBytes{0};
std::atomic<long> tuneStart{-1};
std::atomic<long> tuneEnd{-1};

// Runs on the audio thread after every mixed buffer, in the order the disk
// driver writes them.
void CountMixed(void*, Uint8*, int len) {
    bool playing = Mix_PlayingMusic() != 0;
    long before = mixedBytes.fetch_add(len);
    if (playing && tuneStart < 0) tuneStart = before;
    if (tuneStart >= 0 && tuneEnd < 0 && !playing) tuneEnd = before + len;
    // The driver writes as fast as it can; while only silence is mixed (the
    // soundfont loading, the wait for the close) let the loader have the CPU.
    if (!playing) SDL_Delay(1);
}


// The mix mode's events, in time order, and the files they play.
struct Event {
    double ms;
    std::string what, file;  // "use": "first" or "second"
    double line = 0;         // "use"
    bool second = false;     // "use"
};
std::vector<Event> events;
std::vector<Mix_Chunk*> chunks;        // one per event ("sound")
std::vector<Mix_Music*> tunes;         // one per event ("tune", "second")
Mix_Music* secondTune = nullptr;
bool secondChosen = false;
TuneSwitcher switcher;
std::atomic<bool> mixStarted{false}, mixEnded{false};
std::atomic<long> mixStart{-1}, mixEnd{-1};
size_t nextEvent = 0;

// Runs on the audio thread after each buffer: starts the events that fall in
// the next one. Mixer calls from here take the lock the thread already holds.
void PlayEvents(void*, Uint8*, int len) {
    long before = mixedBytes.fetch_add(len);
    constexpr int FrameBytes = Channels * 2;
    if (switcher.AfterBuffer(len / FrameBytes))
        std::printf("switch: line at frame %.1f, the other arrangement from frame %ld (%+.1f ms off the line)\n",
                    switcher.lastLine - double(mixStart) / FrameBytes, switcher.lastSwitchAt - mixStart / FrameBytes,
                    (double(switcher.lastSwitchAt) - switcher.lastLine) / Rate * 1000);
    if (!mixStarted) return SDL_Delay(1);
    if (mixStart < 0) mixStart = before + len;
    const double ms = double(before + len - mixStart) / (Rate * Channels * 2) * 1000;
    while (nextEvent < events.size() && events[nextEvent].ms <= ms) {
        const Event& e = events[nextEvent];
        if (e.what == "tune") {
            if (Mix_FadingMusic() == MIX_FADING_OUT) break;  // Mix_PlayMusic would wait for it here
            if (Mix_PlayingMusic()) Mix_HaltMusic();
            switcher.BeforePlay(tunes[nextEvent]);
            Mix_PlayMusic(secondChosen && secondTune ? secondTune : tunes[nextEvent], -1);
        } else if (e.what == "second") {
            secondTune = tunes[nextEvent];
        } else if (e.what == "use") {
            const bool second = e.second;
            // Each change goes to a fresh copy, loaded beforehand, as the game's does.
            if (second != secondChosen && secondTune && Mix_PlayingMusic() && Mix_FadingMusic() != MIX_FADING_OUT)
                switcher.Ask(tunes[nextEvent], e.line * Rate / 1000);
            secondChosen = second;
        } else if (e.what == "sound") {
            Mix_PlayChannel(-1, chunks[nextEvent], 0);
        } else if (e.what == "stop") {
            switcher.Cancel();
            Mix_FadeOutMusic(TuneFadeMs);
        } else if (e.what == "halt") {
            switcher.Cancel();
            Mix_HaltMusic();
        } else if (e.what == "end" && mixEnd < 0) {
            mixEnd = before + len;
            mixEnded = true;
        }
        ++nextEvent;
    }
}

bool ReadEvents(const char* path) {
    std::ifstream in(path);
    Event e;
    while (in >> e.ms >> e.what) {
        e.file.clear();
        if (e.what == "tune" || e.what == "sound" || e.what == "second" || e.what == "use") in >> e.file;
        if (e.what == "use") in >> e.line;
        e.second = e.what == "use" && e.file == "second";
        events.push_back(e);
    }
    std::stable_sort(events.begin(), events.end(), [](const Event& a, const Event& b) { return a.ms < b.ms; });
    return !events.empty() && events.back().what == "end";
}

bool RenderMix(const char* eventsPath) {
    if (!ReadEvents(eventsPath) || SDL_Init(SDL_INIT_AUDIO) != 0) return false;
    Mix_Init(MIX_INIT_MID);
    ChooseSoundFont(Mix_SetSoundFonts);
    if (Mix_OpenAudio(Rate, AUDIO_S16SYS, Channels, BufferFrames) != 0) return false;
    Mix_AllocateChannels(8);
    Mix_SetPostMix(PlayEvents, nullptr);
    chunks.assign(events.size(), nullptr);
    tunes.assign(events.size(), nullptr);
    bool ok = true;
    std::string firstFile, secondFile;  // a "use" event plays a fresh copy of one of them
    for (size_t i = 0; i < events.size() && ok; ++i) {
        if (events[i].what == "sound") ok = (chunks[i] = Mix_LoadWAV(events[i].file.c_str())) != nullptr;
        if (events[i].what == "use") events[i].file = events[i].file == "second" ? secondFile : firstFile;
        if (events[i].what == "tune") firstFile = events[i].file;
        if (events[i].what == "second") secondFile = events[i].file;
        if (events[i].what == "tune" || events[i].what == "second" || events[i].what == "use")
            ok = (tunes[i] = Mix_LoadMUS(events[i].file.c_str())) != nullptr;
        if (!ok) std::fprintf(stderr, "tessmar-tunerender: %s: %s\n", events[i].file.c_str(), Mix_GetError());
    }
    mixStarted = ok;
    while (ok && !mixEnded) SDL_Delay(5);
    Mix_CloseAudio();
    for (Mix_Chunk* c : chunks) if (c) Mix_FreeChunk(c);
    for (Mix_Music* t : tunes) if (t) Mix_FreeMusic(t);
    Mix_Quit();
    SDL_Quit();
    tuneStart = mixStart.load();
    tuneEnd = mixEnd.load();
    return ok;
}

bool Render(const char* midi, int passes) {
    if (SDL_Init(SDL_INIT_AUDIO) != 0) return false;
    Mix_Init(MIX_INIT_MID);
    ChooseSoundFont(Mix_SetSoundFonts);
    if (Mix_OpenAudio(Rate, AUDIO_S16SYS, Channels, BufferFrames) != 0) return false;
    Mix_AllocateChannels(1);
    Mix_SetPostMix(CountMixed, nullptr);
    Mix_Music* tune = Mix_LoadMUS(midi);
    bool ok = tune != nullptr && Mix_PlayMusic(tune, passes) == 0;
    while (ok && tuneEnd < 0) SDL_Delay(5);
    if (!ok) std::fprintf(stderr, "tessmar-tunerender: %s\n", Mix_GetError());
    Mix_CloseAudio();  // joins the audio thread: the disk file is complete
    if (tune) Mix_FreeMusic(tune);
    Mix_Quit();
    SDL_Quit();
    return ok;
}

// Keeps the tune's part of the driver's file.
bool CutTune(const std::string& disk, const std::string& out, std::vector<int16_t>& samples) {
    std::ifstream in(disk, std::ios::binary);
    std::vector<char> all{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    long from = tuneStart, to = tuneEnd;
    if (from < 0 || to < from || size_t(to) > all.size()) return false;
    samples.resize(size_t(to - from) / sizeof(int16_t));
    std::copy_n(all.data() + from, samples.size() * sizeof(int16_t), reinterpret_cast<char*>(samples.data()));
    std::ofstream o(out, std::ios::binary);
    o.write(all.data() + from, to - from);
    return bool(o);
}

// Levels in decibels of full scale; a frame is audible above -60 dB.
constexpr double FullScale = 32768;
constexpr double AudibleLevel = 0.001;
constexpr size_t EndingSeconds = 3;  // the last chord ringing out is not a drop-out

double Decibels(double level) { return 20 * std::log10(std::max(level, 1e-9)); }

double Rms(const int16_t* s, size_t n) {
    double sum = 0;
    for (size_t i = 0; i < n; ++i) sum += double(s[i]) * s[i];
    return n ? std::sqrt(sum / double(n)) / FullScale : 0;
}

void Report(const std::vector<int16_t>& s) {
    const size_t frames = s.size() / Channels;
    auto audible = [&](size_t i) { return std::abs(s[i]) > AudibleLevel * FullScale; };
    size_t first = 0, last = s.size();
    while (first < s.size() && !audible(first)) ++first;
    while (last > first && !audible(last - 1)) --last;
    int peak = 0;
    for (int16_t v : s) peak = std::max(peak, std::abs(int(v)));
    // The level second by second, from the first sound to the last but the
    // final ringing out: the quietest second, and every tenth one.
    const size_t window = size_t(Rate) * Channels;
    const size_t ending = EndingSeconds * window;
    double quietest = 1;
    size_t quietestAt = 0;
    std::string outline;
    for (size_t at = first - first % Channels; at + window + ending <= last; at += window) {
        double level = Rms(s.data() + at, window);
        if (level < quietest) quietest = level, quietestAt = at;
        if (at / window % 10 == 0) outline += " " + std::to_string(int(std::lround(Decibels(level))));
    }
    std::printf("length %.3f s\nrms %.2f dB\npeak %.3f\n", double(frames) / Rate, Decibels(Rms(s.data(), s.size())),
                peak / FullScale);
    std::printf("quiet start %.3f s\nquiet end %.3f s\n", double(first / Channels) / Rate,
                double((s.size() - last) / Channels) / Rate);
    std::printf("quietest second %.2f dB at %.0f s\nlevel every 10 s (dB)%s\n", Decibels(quietest),
                double(quietestAt / Channels) / Rate, outline.c_str());
    size_t silence = 0, longest = 0;
    for (size_t i = first; i < last; ++i) {
        silence = audible(i) ? 0 : silence + 1;
        longest = std::max(longest, silence);
    }
    std::printf("longest silence inside %.3f s\n", double(longest / Channels) / Rate);
}
}  // namespace

int main(int argc, char** argv) {
    if (argc == 4 && std::string(argv[1]) == "--mix") {
        const std::string out = argv[3], disk = out + ".disk";
        setenv("SDL_AUDIODRIVER", "disk", 1);
        setenv("SDL_DISKAUDIOFILE", disk.c_str(), 1);
        setenv("SDL_DISKAUDIODELAY", "0", 1);
        std::vector<int16_t> samples;
        bool ok = RenderMix(argv[2]) && CutTune(disk, out, samples);
        std::remove(disk.c_str());
        return ok ? 0 : 1;
    }
    const int passes = argc == 4 ? std::atoi(argv[3]) : 1;
    if (argc < 3 || argc > 4 || passes < 1) {
        std::fprintf(stderr, "usage: tessmar-tunerender MIDI RAW [PASSES] | tessmar-tunerender --mix EVENTS RAW\n");
        return 2;
    }
    const std::string out = argv[2], disk = out + ".disk";
    setenv("SDL_AUDIODRIVER", "disk", 1);
    setenv("SDL_DISKAUDIOFILE", disk.c_str(), 1);
    setenv("SDL_DISKAUDIODELAY", "0", 1);
    std::vector<int16_t> samples;
    bool ok = Render(argv[1], passes) && CutTune(disk, out, samples);
    std::remove(disk.c_str());
    if (!ok) return 1;
    Report(samples);
    return 0;
}
