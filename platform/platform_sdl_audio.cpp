// Every SDL_mixer call that takes the audio device's lock (playing, stopping
// and freeing sounds and the tune) runs on one helper thread, in the order
// the game asked for it. The frame loop only queues the request and reads
// what the helper last reported, so it never waits on that lock: a
// synthesiser stuck inside the audio callback holds up the helper alone, and
// the game plays on silent and still quits at once.
//
// While nothing can be heard the helper closes the device, so that SDL's
// audio thread stops mixing silence, and opens it again for the next sound
// or audible tune.
#include <SDL.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "platform/midi_check.h"
#include "platform/platform.h"
#include "platform/platform_os.h"
#include "platform/platform_sdl_parts.h"
#include "platform/tune_fade.h"
#include "platform/tune_switch.h"

namespace {
enum class Job : uint8_t {
    Wake,
    PlaySound,
    StopSounds,
    FreeSound,
    TuneOpen,
    TuneOpenSecond,
    TuneUse,
    TunePlay,
    TuneStop,
    TuneClose,
    SetVolumes
};
struct Request {
    Job job = Job::StopSounds;
    void* chunk = nullptr;
    std::string path, fallback;  // TuneOpen, TuneOpenSecond
    int tuneVolume = MIX_MAX_VOLUME, soundVolume = MIX_MAX_VOLUME;  // SetVolumes
    bool second = false;  // TuneUse
    double lineMs = 0;    // TuneUse
};

// A request waiting longer than this behind one the helper is still busy
// with means the audio callback is stuck.
constexpr uint32_t StuckMs = 1000;
constexpr uint32_t StuckGraceMs = 20;
constexpr size_t QueueSize = 64;

// Never destroyed: when the process ends by exit() with the helper still
// running (Xlib ends it so when the display is lost), a joinable
// std::thread destroyed under it aborts, and a condition variable destroyed
// while the helper waits on it never returns.
std::mutex& queueLock = *new std::mutex;  // guards the queue only; never held during a mixer call
std::condition_variable& queueWake = *new std::condition_variable;
Request* const queue = new Request[QueueSize];
size_t queueHead = 0, queueCount = 0;
bool helperQuits = false;
std::thread& helper = *new std::thread;
std::atomic<uint64_t> posted{0}, done{0};
std::atomic<uint32_t> busySince{0};  // ticks (never 0) while a request runs
bool stuckSaid = false;

// The tune, the helper's alone; the frame loop reads the two flags.
// A tune is read into memory (regular files only, never blocking, at most
// TuneMaxBytes) and checked before the mixer sees it; the bytes stay alive as
// long as the decoded tune, which streams from them.
constexpr size_t TuneMaxBytes = size_t(1) << 20;
// The synthesiser loops the tune itself (a restart after it stops would
// leave the two seconds it plays on after the last event); one that stops by
// itself this soon after it began is not started again.
constexpr uint32_t ShortestRunMs = 1000;
constexpr int TunePlaysForever = -1;
Mix_Music* tune = nullptr;
std::string tuneName;
std::vector<uint8_t> tuneBytes;
// The tune's second arrangement, and which of the two plays.
Mix_Music* secondTune = nullptr;
std::vector<uint8_t> secondBytes;
std::string secondName;
bool secondChosen = false;
// Counts the mixer's output to switch arrangements on a line of the tune.
TuneSwitcher& switcher = *new TuneSwitcher;
int bytesPerFrame = 4, mixRate = 44100, mixChannels = 2, bufferFrames = 1024;
Uint16 mixFormat = AUDIO_S16SYS;
uint32_t tuneStartedAt = 0;
std::atomic<bool> tuneOpen{false}, tunePlaying{false};
std::atomic<bool> halting{false}, fading{false}, endedByItself{false};
std::atomic<uint32_t> tuneEndedAt{0};

// Called by the mixer, inside the audio callback or a halt: notes only.
void TuneFinished() {
    if (switcher.Switching()) return;
    tunePlaying = false;
    if (halting || fading.exchange(false)) return;
    tuneEndedAt = SDL_GetTicks();
    endedByItself = true;
}

// The tune at `path` read into `bytes` and decoded; null (said on stderr)
// when it cannot be.
Mix_Music* LoadTune(const std::string& path, std::vector<uint8_t>& bytes) {
    std::string why;
    if (!ReadFileBytes(path, bytes, TuneMaxBytes, &why) || bytes.empty()) {
        std::fprintf(stderr, "tessmar: the tune %s is not a readable file: %s\n", path.c_str(),
                     why.empty() ? "it is empty" : why.c_str());
        bytes.clear();
        return nullptr;
    }
    why = CheckMidiSong(bytes.data(), bytes.size());
    SDL_RWops* rw = why.empty() ? SDL_RWFromConstMem(bytes.data(), int(bytes.size())) : nullptr;
    Mix_Music* music = rw ? Mix_LoadMUS_RW(rw, 1) : nullptr;
    if (why.empty() && music == nullptr) why = Mix_GetError();
    if (music == nullptr) {
        std::fprintf(stderr, "tessmar: the tune %s cannot be played: %s\n", path.c_str(), why.c_str());
        bytes.clear();
    }
    return music;
}

// A tune is opened when it is first played, not when it is chosen: while
// the music is off (its level 0, or muted) the synthesiser never loads its
// instruments and never runs. Until then the paths wait here, and the tune
// counts as open.
std::vector<std::string> tunePaths;
std::string secondPath;
int tuneVolume = MIX_MAX_VOLUME, soundVolume = MIX_MAX_VOLUME;

// The device rests (is closed) once no sound and no audible tune has played
// for RestAfterMs; a tune that is stopped or silent (MUSIC 0, muted) is
// unloaded first, and read again when it is next played audibly. The helper
// looks every RestCheckMs while the device is open. A sound being decoded on
// another thread holds it open.
constexpr uint32_t RestAfterMs = 2000;
constexpr uint32_t RestCheckMs = 500;
std::atomic<bool> resting{false};
uint32_t lastHeardAt = 0;
bool wakeFailSaid = false;
std::mutex& holdLock = *new std::mutex;  // guards holders, and the closing
int holders = 0;

void OpenTune() {
    std::vector<std::string> paths;
    paths.swap(tunePaths);
    for (const std::string& path : paths) {
        if ((tune = LoadTune(path, tuneBytes)) != nullptr) {
            tuneName = path;
            break;
        }
    }
    if (tune == nullptr) {
        tuneOpen = false;
        return;
    }
    if (!secondPath.empty()) secondTune = LoadTune(secondName = secondPath, secondBytes);
    secondPath.clear();
}

// The arrangement that plays now: the second when it is chosen and could be
// opened.
Mix_Music* ChosenTune() { return secondChosen && secondTune != nullptr ? secondTune : tune; }

// Runs after every mixed buffer, on the audio thread.
void AfterMix(void*, Uint8*, int len) { switcher.AfterBuffer(len / bytesPerFrame); }

void GiveUpTune(const char* why);

// A change of arrangement while the tune plays is made on its next line,
// to a fresh copy of the other arrangement; otherwise the next play starts
// the chosen one. A change back before the line keeps the one playing.
void UseArrangement(bool second, double lineMs) {
    if (second == secondChosen) return;
    secondChosen = second;
    if (tune == nullptr || secondTune == nullptr || !tunePlaying || Mix_FadingMusic() == MIX_FADING_OUT) return;
    Mix_Music*& slot = second ? secondTune : tune;
    if (switcher.Current() == slot) return switcher.Cancel();
    Mix_FreeMusic(slot);
    slot = LoadTune(second ? secondName : tuneName, second ? secondBytes : tuneBytes);
    if (slot != nullptr) switcher.Ask(slot, lineMs * mixRate / 1000);
    else if (!second) GiveUpTune("cannot be opened again");
}

void GiveUpTune(const char* why) {
    std::fprintf(stderr, "tessmar: the tune %s %s: it is not played again\n", tuneName.c_str(), why);
    tuneOpen = false;
}

void PlayTune() {
    if (!tuneOpen || tuneVolume == 0) return;  // nothing to hear
    if (tune == nullptr) OpenTune();
    if (tune == nullptr) return;
    if (endedByItself && tuneEndedAt - tuneStartedAt < ShortestRunMs) return GiveUpTune("stopped as soon as it began");
    endedByItself = false;
    // A stop's fade ends first (its end is not this play's).
    while (Mix_FadingMusic() == MIX_FADING_OUT && Mix_PlayingMusic()) SDL_Delay(5);
    fading = false;
    // Lines are counted from a start over silence.
    if (Mix_PlayingMusic()) {
        switcher.Cancel();
        halting = true;
        Mix_HaltMusic();
        halting = false;
    }
    switcher.BeforePlay(ChosenTune());
    tuneStartedAt = SDL_GetTicks();
    tunePlaying = true;
    if (Mix_PlayMusic(ChosenTune(), TunePlaysForever) != 0) {
        tunePlaying = false;
        GiveUpTune("cannot be started");
    }
}

void HaltTune() {
    switcher.Cancel();
    halting = true;
    Mix_HaltMusic();
    halting = false;
    fading = false;
    tunePlaying = false;
    endedByItself = false;
}

// Every stop fades the tune out, so that it ends without a click; a play
// asked for meanwhile waits inside the mixer for the fade to end.
void FadeOutTune() {
    switcher.Cancel();
    fading = true;
    if (Mix_FadeOutMusic(TuneFadeMs) == 0) fading = false;  // nothing playing
    tunePlaying = false;
    endedByItself = false;
}

void CloseTune() {
    tuneOpen = false;
    tunePaths.clear();
    secondPath.clear();
    if (tune != nullptr) {
        FadeOutTune();
        while (Mix_PlayingMusic()) SDL_Delay(5);
        HaltTune();
        Mix_FreeMusic(tune);
        tune = nullptr;
    }
    if (secondTune != nullptr) Mix_FreeMusic(secondTune);
    secondTune = nullptr;
    secondChosen = false;
    tuneBytes.clear();
    secondBytes.clear();
}

// Opens the resting device again, in the format the sounds were decoded to,
// with the mixer's settings as they were.
bool Wake() {
    if (!resting) return true;
    if (Mix_OpenAudioDevice(mixRate, mixFormat, mixChannels, bufferFrames, nullptr, 0) != 0) {
        if (!wakeFailSaid) std::fprintf(stderr, "tessmar: the audio device did not open again: %s\n", Mix_GetError());
        wakeFailSaid = true;
        return false;
    }
    SoundChannelsOpen();
    Mix_Volume(-1, soundVolume);
    Mix_VolumeMusic(tuneVolume);
    Mix_HookMusicFinished(TuneFinished);
    Mix_SetPostMix(AfterMix, nullptr);
    resting = false;
    lastHeardAt = SDL_GetTicks();
    return true;
}

void UnloadTune() {
    HaltTune();
    Mix_FreeMusic(tune);
    tune = nullptr;
    tunePaths = {tuneName};
    if (secondTune != nullptr) {
        Mix_FreeMusic(secondTune);
        secondTune = nullptr;
        secondPath = secondName;
    }
    tuneBytes.clear();
    secondBytes.clear();
}

void RestIfSilent() {
    if (resting) return;
    const uint32_t now = SDL_GetTicks();
    const bool tuneHeard = tune != nullptr && tuneVolume > 0 && (tunePlaying || Mix_PlayingMusic());
    if (Mix_Playing(-1) > 0 || tuneHeard) lastHeardAt = now;
    if (now - lastHeardAt < RestAfterMs) return;
    std::lock_guard<std::mutex> lock(holdLock);
    if (holders > 0) return;
    if (tune != nullptr) UnloadTune();
    Mix_CloseAudio();
    resting = true;
}

void Run(const Request& r) {
    switch (r.job) {
        case Job::Wake: Wake(); break;
        case Job::PlaySound:
            if (Wake()) SoundPlayNow(static_cast<Mix_Chunk*>(r.chunk));
            break;
        case Job::StopSounds:
            if (!resting) Mix_HaltChannel(-1);
            break;
        case Job::FreeSound: Mix_FreeChunk(static_cast<Mix_Chunk*>(r.chunk)); break;
        case Job::TuneOpen:
            if (tune != nullptr || !tunePaths.empty()) break;  // one tune at a time: closed first
            tunePaths = {r.path};
            if (!r.fallback.empty()) tunePaths.push_back(r.fallback);
            secondPath.clear();
            tuneOpen = true;
            break;
        case Job::TuneOpenSecond:
            if (!tuneOpen || secondTune != nullptr) break;
            if (tune == nullptr) secondPath = r.path;  // opened with the first
            else secondTune = LoadTune(secondName = r.path, secondBytes);
            break;
        case Job::TuneUse: UseArrangement(r.second, r.lineMs); break;
        case Job::TunePlay:
            if (tuneOpen && tuneVolume > 0 && !Wake()) break;
            PlayTune();
            break;
        case Job::TuneStop:
            if (!resting) FadeOutTune();
            break;
        case Job::TuneClose: CloseTune(); break;
        case Job::SetVolumes:
            tuneVolume = r.tuneVolume;
            soundVolume = r.soundVolume;
            if (resting) break;
            Mix_VolumeMusic(r.tuneVolume);
            Mix_Volume(-1, r.soundVolume);
            break;
    }
}

void HelperLoop() {
    for (;;) {
        Request r;
        {
            std::unique_lock<std::mutex> lock(queueLock);
            auto asked = [] { return queueCount > 0 || helperQuits; };
            if (resting) {
                queueWake.wait(lock, asked);
            } else if (!queueWake.wait_for(lock, std::chrono::milliseconds(RestCheckMs), asked)) {
                lock.unlock();
                RestIfSilent();
                continue;
            }
            if (queueCount == 0) return;
            r = std::move(queue[queueHead]);
            queueHead = (queueHead + 1) % QueueSize;
            --queueCount;
            busySince = std::max<uint32_t>(SDL_GetTicks(), 1);  // 0 means idle
        }
        Run(r);
        lastHeardAt = SDL_GetTicks();
        busySince = 0;
        ++done;
    }
}

// Whether the helper has been busy with one request for too long (said
// once). Requests made meanwhile are dropped; once the mixer answers again
// the helper takes new ones.
bool HelperStuck() {
    uint32_t since = busySince;
    if (since == 0 || SDL_GetTicks() - since < StuckMs) return false;
    if (!stuckSaid) std::fprintf(stderr, "tessmar: the sound stopped answering: the game goes on without it\n");
    stuckSaid = true;
    return true;
}

bool Post(Request r) {
    if (!helper.joinable() || HelperStuck()) return false;
    {
        std::lock_guard<std::mutex> lock(queueLock);
        if (queueCount == QueueSize) return false;  // a sound more or less
        queue[(queueHead + queueCount) % QueueSize] = std::move(r);
        ++queueCount;
        ++posted;
    }
    queueWake.notify_one();
    return true;
}
}  // namespace

void AudioHelperStart(int deviceBufferFrames) {
    if (helper.joinable()) return;
    helperQuits = false;
    Mix_HookMusicFinished(TuneFinished);
    bufferFrames = deviceBufferFrames;
    if (Mix_QuerySpec(&mixRate, &mixFormat, &mixChannels) != 0)
        bytesPerFrame = mixChannels * SDL_AUDIO_BITSIZE(mixFormat) / 8;
    Mix_SetPostMix(AfterMix, nullptr);
    lastHeardAt = SDL_GetTicks();
    helper = std::thread(HelperLoop);
}

// A helper that has been stuck is given up once it makes no progress for
// StuckGraceMs: one the audio callback has just let go finishes its request
// within a millisecond, and is waited for.
bool AudioHelperIdle(uint32_t waitMs) {
    uint32_t start = SDL_GetTicks(), progressAt = start;
    uint64_t seen = done;
    while (done != posted) {
        uint32_t now = SDL_GetTicks();
        if (done != seen) {
            seen = done;
            progressAt = now;
        }
        if ((HelperStuck() && now - progressAt >= StuckGraceMs) || now - start >= waitMs) return false;
        SDL_Delay(1);
    }
    return true;
}

bool AudioHelperEnd(uint32_t waitMs) {
    if (!helper.joinable()) return true;
    {
        std::lock_guard<std::mutex> lock(queueLock);
        helperQuits = true;
    }
    queueWake.notify_one();
    if (!AudioHelperIdle(waitMs)) {
        helper.detach();  // stuck in the mixer: the process ends without it
        return false;
    }
    helper.join();
    return true;
}

AudioDeviceHold::AudioDeviceHold() {
    {
        std::lock_guard<std::mutex> lock(holdLock);
        ++holders;
    }
    if (resting && Post({Job::Wake, nullptr, {}, {}})) AudioHelperIdle(StuckMs);
    open = !resting && helper.joinable();
}

AudioDeviceHold::~AudioDeviceHold() {
    std::lock_guard<std::mutex> lock(holdLock);
    --holders;
}

void AudioPlaySound(void* chunk) { Post({Job::PlaySound, chunk, {}, {}}); }
void AudioStopSounds() { Post({Job::StopSounds, nullptr, {}, {}}); }
void AudioFreeSound(void* chunk) { Post({Job::FreeSound, chunk, {}, {}}); }

void PlatformTuneOpen(const char* path, const char* fallback) {
    Post({Job::TuneOpen, nullptr, path, fallback != nullptr ? fallback : ""});
}

// Opened and not playing, once every request asked for has been carried out
// (a play still waiting does not count as stopped).
bool PlatformTuneStopped() { return done == posted && tuneOpen && !tunePlaying; }

void PlatformTuneOpenSecond(const char* path) { Post({Job::TuneOpenSecond, nullptr, path, {}}); }

void PlatformTuneUseSecond(bool second, double lineMs) {
    Request r{Job::TuneUse, nullptr, {}, {}};
    r.second = second;
    r.lineMs = lineMs;
    Post(std::move(r));
}

void PlatformTunePlay() { Post({Job::TunePlay, nullptr, {}, {}}); }
void PlatformTuneStop() { Post({Job::TuneStop, nullptr, {}, {}}); }
void PlatformTuneClose() { Post({Job::TuneClose, nullptr, {}, {}}); }

void PlatformSetVolumes(double tune, double sounds) {
    auto level = [](double share) { return int(std::clamp(share, 0.0, 1.0) * MIX_MAX_VOLUME + 0.5); };
    Request r{Job::SetVolumes, nullptr, {}, {}};
    r.tuneVolume = level(tune);
    r.soundVolume = level(sounds);
    Post(std::move(r));
}
