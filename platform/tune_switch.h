// Switching the playing tune to another arrangement on a line of its bars,
// without a gap between them. SDL_mixer plays one tune at a time and starts
// it only on a buffer boundary, so the tune fades to silence over the
// buffers before the boundary nearest the line, and the other arrangement
// starts on that boundary: at most half a buffer (512 frames, 12 ms at
// 44100 Hz) off the line. FluidSynth smooths the volume's steps, so the old
// one falls to about -60 dB by the boundary rather than to silence.
//
// A tune SDL_mixer has played and halted before starts about 230 ms late
// when it is played again (its synthesiser still rings down): the
// arrangement switched to must be a freshly loaded one.
//
// AfterBuffer runs in the mixer's post-mix callback (the audio thread, the
// mixer's lock held, so the mixer calls it makes cannot interleave with
// another thread's); the other calls come from the thread that plays and
// stops the tune.
#pragma once
#include <SDL_mixer.h>

#include <atomic>
#include <cmath>

// Buffers over which the old arrangement fades out before the line; the
// last of them is silent.
inline constexpr int TuneSwitchFadeBuffers = 8;

class TuneSwitcher {
public:
    // Just before Mix_PlayMusic starts a tune from its beginning, with no
    // tune playing: its lines are counted from its first buffer.
    void BeforePlay(Mix_Music* music) {
        Cancel();
        current = music;
        startPending = true;
    }
    // Before the tune is stopped: no switch is made any more.
    void Cancel() {
        asked = nullptr;
        cancelled = true;
    }
    // Switch to `to` at the next line; lines fall every `lineFrames` frames
    // from the tune's start.
    void Ask(Mix_Music* to, double lineFrames) {
        askedLine = lineFrames;
        asked = to;
    }
    // True while the switch halts the old arrangement (the finished hook is
    // not the tune ending).
    bool Switching() const { return switching; }
    // The arrangement playing or last played, as far as the switches go.
    Mix_Music* Current() const { return current; }

    // After each mixed buffer of `frames` frames. Returns true on the buffer
    // boundary where the other arrangement was started.
    bool AfterBuffer(int frames) {
        const long before = mixed, end = mixed += frames;
        if (cancelled.exchange(false)) target = nullptr;
        if (startPending && Mix_PlayingMusic()) {
            startedAt = before;
            startPending = false;
        }
        if (!startPending && asked.load() != nullptr) Plan(asked.exchange(nullptr), end, frames);
        if (target == nullptr) return false;
        if (end == fadeAt) Mix_FadeOutMusic(TuneSwitchFadeBuffers * MsPerStep(frames));
        if (end != switchAt) return false;
        switching = true;
        Mix_HaltMusic();
        const bool started = Mix_PlayMusic(target, -1) == 0;
        current = target;
        switching = false;
        startedAt = end;
        target = nullptr;
        return started;
    }

    // Where the last switch was planned: the line, and the boundary it starts
    // on (frames of mixer output); for measuring.
    double lastLine = -1;
    long lastSwitchAt = -1;

private:
    // SDL_mixer steps a fade once a buffer, in whole milliseconds a step.
    static int MsPerStep(int frames) {
        int rate = 44100;
        Mix_QuerySpec(&rate, nullptr, nullptr);
        return int(frames * 1000.0 / rate);
    }

    // The first line whose nearest boundary leaves room for the fade.
    void Plan(Mix_Music* to, long end, int frames) {
        const double line = askedLine;
        if (to == nullptr || line <= 0 || !Mix_PlayingMusic() || Mix_FadingMusic() == MIX_FADING_OUT) return;
        const double earliest = double(end + long(TuneSwitchFadeBuffers) * frames - frames / 2);
        const double lineAt = startedAt + std::ceil((earliest - double(startedAt)) / line) * line;
        switchAt = end + std::lround((lineAt - double(end)) / frames) * frames;
        fadeAt = switchAt - long(TuneSwitchFadeBuffers) * frames;
        target = to;
        lastLine = lineAt;
        lastSwitchAt = switchAt;
    }

    std::atomic<bool> startPending{false}, cancelled{false}, switching{false};
    std::atomic<Mix_Music*> asked{nullptr}, current{nullptr};
    std::atomic<double> askedLine{0};
    // The audio thread's alone.
    long mixed = 0, startedAt = 0, fadeAt = -1, switchAt = -1;
    Mix_Music* target = nullptr;
};
