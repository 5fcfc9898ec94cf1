// Short sounds through SDL_mixer: decoded once at start-up, bounded in
// length, played on several channels so that one effect does not cut
// another, and for some sounds a few copies at slightly other pitches.
#include <SDL.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <vector>

#include "platform/pitch_choice.h"
#include "platform/platform.h"
#include "platform/platform_sdl_parts.h"
#include "platform/wave_length.h"

namespace {
constexpr int SoundChannels = 8;
constexpr int CutFadeMs = 8;
// The pitched copies' playback rates, beside the unchanged chunk's 1.
constexpr double PitchFactors[SoundImage::PitchedCopies] = {0.97, 0.985, 1.015, 1.03};

bool soundsOpen = false;
// Order in which the channels were last started, to find the oldest.
uint64_t startedOrder[SoundChannels];
uint64_t startCount = 0;

void Refuse(const SoundImage& image, const char* why) {
    std::fprintf(stderr, "tessmar: sound %s is silent: %s\n", image.file.empty() ? image.name : image.file.c_str(),
                 why);
}

// The chunk played `factor` times as fast (higher for a factor over 1),
// linearly interpolated. Only for 16-bit samples; null otherwise.
Mix_Chunk* Repitched(const Mix_Chunk& source, double factor) {
    int rate = 0, channels = 0;
    Uint16 format = 0;
    if (Mix_QuerySpec(&rate, &format, &channels) == 0 || format != AUDIO_S16SYS || channels <= 0) return nullptr;
    const auto* in = reinterpret_cast<const int16_t*>(source.abuf);
    size_t frames = source.alen / (2 * size_t(channels));
    size_t outFrames = size_t(double(frames) / factor);
    if (frames < 2 || outFrames < 2) return nullptr;
    auto* out = static_cast<int16_t*>(SDL_malloc(outFrames * 2 * size_t(channels)));
    auto* chunk = static_cast<Mix_Chunk*>(SDL_malloc(sizeof(Mix_Chunk)));
    if (out == nullptr || chunk == nullptr) {
        SDL_free(out);
        SDL_free(chunk);
        return nullptr;
    }
    for (size_t i = 0; i < outFrames; ++i) {
        double at = double(i) * factor;
        size_t j = size_t(at);
        double t = at - double(j);
        if (j + 1 >= frames) {
            j = frames - 2;
            t = 1;
        }
        for (int c = 0; c < channels; ++c) {
            double a = in[j * size_t(channels) + size_t(c)], b = in[(j + 1) * size_t(channels) + size_t(c)];
            out[i * size_t(channels) + size_t(c)] = int16_t(std::lround(a + (b - a) * t));
        }
    }
    // Allocated with SDL's allocator and marked so: Mix_FreeChunk frees both.
    chunk->allocated = 1;
    chunk->abuf = reinterpret_cast<Uint8*>(out);
    chunk->alen = Uint32(outFrames * 2 * size_t(channels));
    chunk->volume = source.volume;
    return chunk;
}

// The longest chunk allowed in the mixer's own format.
size_t MaxDecodedBytes() {
    int rate = 0, channels = 0;
    Uint16 format = 0;
    if (Mix_QuerySpec(&rate, &format, &channels) == 0) return 0;
    return size_t(MaxSoundSeconds) * size_t(rate) * size_t(channels) * (SDL_AUDIO_BITSIZE(format) / 8);
}

// The channel started longest ago that is still playing and not yet fading.
int OldestChannel() {
    int oldest = -1;
    for (int c = 0; c < SoundChannels; ++c) {
        if (!Mix_Playing(c) || Mix_FadingChannel(c) == MIX_FADING_OUT) continue;
        if (oldest < 0 || startedOrder[c] < startedOrder[oldest]) oldest = c;
    }
    return oldest;
}
}  // namespace

void SoundChannelsOpen() { Mix_AllocateChannels(SoundChannels); }

void SoundsOpen() {
    SoundChannelsOpen();
    soundsOpen = true;
}

void SoundsClose() { soundsOpen = false; }

void PlatformPrepareSound(SoundImage& image) {
    if (!soundsOpen) return;
    // The mixer keeps its own decoded copy: the file's bytes are not needed after.
    std::vector<uint8_t> bytes = std::move(image.bytes);
    image.bytes = {};
    if (!image.readError.empty()) return Refuse(image, image.readError.c_str());
    if (bytes.empty()) return Refuse(image, "empty");
    const AudioDeviceHold device;
    if (!device.open) return Refuse(image, "the audio device did not open again");
    std::string wrong = CheckWaveLength(bytes.data(), bytes.size(), MaxSoundSeconds);
    if (!wrong.empty()) return Refuse(image, wrong.c_str());
    SDL_RWops* rw = SDL_RWFromConstMem(bytes.data(), int(bytes.size()));
    Mix_Chunk* chunk = rw ? Mix_LoadWAV_RW(rw, 1) : nullptr;
    if (chunk == nullptr) return Refuse(image, Mix_GetError());
    if (chunk->alen > MaxDecodedBytes()) {
        Mix_FreeChunk(chunk);
        return Refuse(image, "it decodes to more than a sound may last");
    }
    image.handle = chunk;
    if (image.pitchVariants)
        for (int i = 0; i < SoundImage::PitchedCopies; ++i) image.pitched[i] = Repitched(*chunk, PitchFactors[i]);
}

void SoundPlayNow(Mix_Chunk* chunk) {
    int channel = Mix_PlayChannelTimed(-1, chunk, 0, -1);
    if (channel < 0) {
        // Several sounds in a few milliseconds, more than the channels: the
        // oldest is cut at once.
        int oldest = OldestChannel();
        if (oldest < 0) oldest = 0;
        Mix_HaltChannel(oldest);
        channel = Mix_PlayChannelTimed(oldest, chunk, 0, -1);
    }
    if (channel >= 0 && channel < SoundChannels) startedOrder[channel] = ++startCount;
    // Keep a channel free for the next sound: the oldest fades out now,
    // briefly enough not to be heard as a cut.
    if (Mix_GroupAvailable(-1) < 0)
        if (int oldest = OldestChannel(); oldest >= 0) Mix_FadeOutChannel(oldest, CutFadeMs);
}

// The copy is chosen here; the mixer starts it on its helper thread.
void PlatformPlaySound(const SoundImage& image) {
    if (!soundsOpen || image.handle == nullptr) return;
    void* chosen = image.handle;
    if (image.pitchVariants) {
        const uint32_t pick = PitchCopyToPlay();
        if (pick > 0 && image.pitched[pick - 1]) chosen = image.pitched[pick - 1];
    }
    AudioPlaySound(chosen);
}

void PlatformStopSound() {
    if (soundsOpen) AudioStopSounds();
}

// Freed after the plays queued before, on the mixer's helper thread.
void PlatformReleaseSound(SoundImage& image) {
    for (void*& handle : image.pitched) {
        if (handle) AudioFreeSound(handle);
        handle = nullptr;
    }
    if (image.handle) AudioFreeSound(image.handle);
    image.handle = nullptr;
}
