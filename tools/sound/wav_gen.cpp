#include "tools/sound/wav_gen.h"

#include "tools/sound/loudness.h"

#include <algorithm>
#include <cmath>
#include <fstream>
#include <numbers>

namespace {
constexpr double Pi = std::numbers::pi;
constexpr int Rate = SoundRate;

int Samples(double seconds) { return int(std::lround(seconds * Rate)); }

// Raised-cosine ramps at both ends so a sound starts and stops at silence.
void Fade(std::vector<float>& s, double inSeconds, double outSeconds) {
    int in = Samples(inSeconds), out = Samples(outSeconds), n = int(s.size());
    for (int i = 0; i < n; ++i) {
        double g = 1;
        if (i < in) g *= 0.5 - 0.5 * std::cos(Pi * i / in);
        if (i >= n - out) g *= 0.5 - 0.5 * std::cos(Pi * (n - 1 - i) / out);
        s[size_t(i)] = float(s[size_t(i)] * g);
    }
}

void Normalise(std::vector<float>& s, float peak) {
    float top = 0;
    for (float v : s) top = std::max(top, std::fabs(v));
    if (top > 0)
        for (float& v : s) v *= peak / top;
}

// A soft square: odd harmonics falling away quickly.
double Soft(double phase) { return std::sin(phase) + std::sin(3 * phase) / 6 + std::sin(5 * phase) / 20; }
}  // namespace

// Pair moving sideways: a short wooden tock that drops in pitch.
std::vector<float> MakeMoveSound() {
    std::vector<float> s(size_t(Samples(0.07)));
    double phase = 0;
    for (size_t i = 0; i < s.size(); ++i) {
        double t = double(i) / Rate;
        double f = 420 + 380 * std::exp(-t / 0.012);
        phase += 2 * Pi * f / Rate;
        s[i] = float((std::sin(phase) + 0.35 * std::sin(2 * phase)) * std::exp(-t / 0.018));
    }
    Fade(s, 0.002, 0.012);
    Normalise(s, 0.55f);
    return s;
}

// Pair turning: a quick rising sweep.
std::vector<float> MakeTurnSound() {
    std::vector<float> s(size_t(Samples(0.12)));
    double phase = 0;
    for (size_t i = 0; i < s.size(); ++i) {
        double t = double(i) / Rate;
        double f = 500 * std::pow(2.0, t / 0.12 * 1.2);
        phase += 2 * Pi * f / Rate;
        s[i] = float(Soft(phase) * (0.6 + 0.4 * std::exp(-t / 0.04)));
    }
    Fade(s, 0.004, 0.05);
    Normalise(s, 0.45f);
    return s;
}

// Menu cursor: a short, round "pi" that dies away at once. A sine and a soft
// octave keep every overtone under 4 kHz, so it does not sting when a player
// runs up and down a menu; its level sits among the other sounds'.
std::vector<float> MakeCursorSound() {
    constexpr double Pitch = 1760;
    std::vector<float> s(size_t(Samples(0.065)));
    for (size_t i = 0; i < s.size(); ++i) {
        double t = double(i) / Rate, phase = 2 * Pi * Pitch * t;
        s[i] = float((std::sin(phase) + 0.15 * std::sin(2 * phase)) * std::exp(-t / 0.03));
    }
    Fade(s, 0.003, 0.02);
    Normalise(s, 0.535f);
    return s;
}

// Choice confirmed: "pi" then a ringing, higher "coon" a fourth above.
std::vector<float> MakeDecideSound() {
    std::vector<float> s(size_t(Samples(0.34)));
    const double split = 0.07;
    double phase = 0, bell = 0;
    for (size_t i = 0; i < s.size(); ++i) {
        double t = double(i) / Rate;
        bool first = t < split;
        double f = first ? 1318.5 : 1760;
        phase += 2 * Pi * f / Rate;
        bell += 2 * Pi * f * 2.76 / Rate;
        double a = first ? 0.8 : std::exp(-(t - split) / 0.09);
        // Dip briefly at the change of note so the two notes are heard apart.
        double gap = std::fabs(t - split) < 0.006 ? std::fabs(t - split) / 0.006 : 1;
        s[i] = float((Soft(phase) + (first ? 0 : 0.25 * std::sin(bell) * std::exp(-(t - split) / 0.03))) * a * gap);
    }
    Fade(s, 0.004, 0.03);
    Normalise(s, 0.5f);
    return s;
}

bool WriteWav(const std::string& path, const std::vector<float>& samples) {
    std::vector<unsigned char> bytes;
    auto u32 = [&](uint32_t v) { for (int k = 0; k < 4; ++k) bytes.push_back((unsigned char)(v >> (8 * k))); };
    auto u16 = [&](uint32_t v) { for (int k = 0; k < 2; ++k) bytes.push_back((unsigned char)(v >> (8 * k))); };
    auto tag = [&](const char* t) { bytes.insert(bytes.end(), t, t + 4); };
    const uint32_t data = uint32_t(samples.size() * 2);
    tag("RIFF");
    u32(36 + data);
    tag("WAVE");
    tag("fmt ");
    u32(16);
    u16(1);  // PCM
    u16(1);  // mono
    u32(Rate);
    u32(Rate * 2);
    u16(2);
    u16(16);
    tag("data");
    u32(data);
    for (float v : samples) u16(uint16_t(int16_t(std::lround(std::clamp(v, -1.0f, 1.0f) * 32767))));
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    return bool(out);
}

namespace {
double Hz(int key) { return 440 * std::pow(2.0, (key - 69) / 12.0); }

// Scales a sound so that its loudest 50 ms, K-weighted, is at `lufs`, unless
// its peak would pass 0.85 (a sharp sound stays a little quieter, unclipped).
void Level(std::vector<float>& s, double lufs) {
    std::vector<double> x(s.begin(), s.end());
    double now = loudness::LoudestLufs(x, Rate);
    float peak = 0;
    for (float v : s) peak = std::max(peak, std::fabs(v));
    double gain = std::min(std::pow(10.0, (lufs - now) / 20), 0.85 / std::max(peak, 1e-6f));
    for (float& v : s) v = float(v * gain);
}

// Adds a struck note: a sine with a few inharmonic partials (a small bell or
// a marimba bar, by `bright`), a 3 ms attack and an exponential decay.
void Strike(std::vector<float>& s, double at, double freq, double amplitude, double decay, double bright) {
    const int from = Samples(at);
    const int attack = Samples(0.003);
    for (int i = from; i < int(s.size()); ++i) {
        double t = double(i - from) / Rate, p = 2 * Pi * freq * t;
        double env = std::exp(-t / decay) * (i - from < attack ? double(i - from) / attack : 1);
        double v = std::sin(p) + bright * (0.45 * std::sin(2 * p) * std::exp(-t / (decay * 0.5)) +
                                           0.25 * std::sin(3.01 * p) * std::exp(-t / (decay * 0.3)));
        s[size_t(i)] += float(amplitude * env * v);
    }
}

// Adds a held note of a soft square (a small organ or a whistle), with a
// slight vibrato so it sings, and rounded ends.
void Hold(std::vector<float>& s, double at, double length, double freq, double amplitude) {
    const int from = Samples(at), n = Samples(length), edge = Samples(0.012);
    double phase = 0;
    for (int i = 0; i < n && from + i < int(s.size()); ++i) {
        double t = double(i) / Rate;
        phase += 2 * Pi * freq * (1 + 0.004 * std::sin(2 * Pi * 5.5 * t)) / Rate;
        double env = std::min({1.0, double(i) / edge, double(n - 1 - i) / edge}) * (0.75 + 0.25 * std::exp(-t / 0.08));
        s[size_t(from + i)] += float(amplitude * env * Soft(phase));
    }
}

std::vector<float> Finish(std::vector<float> s, double fadeOut, double lufs) {
    Fade(s, 0.002, fadeOut);
    Level(s, lufs);
    return s;
}
}  // namespace

// The move of the full set: the classic wooden tock, shorter, with a faint
// tick near 3 kHz on its front so that it is placed in time over the tune.
std::vector<float> MakeBrightMoveSound() {
    std::vector<float> s(size_t(Samples(0.07)));
    double phase = 0;
    for (size_t i = 0; i < s.size(); ++i) {
        double t = double(i) / Rate;
        double f = 460 + 420 * std::exp(-t / 0.01);
        phase += 2 * Pi * f / Rate;
        // Held for 25 ms, then dying away: loud for its peak.
        double body = t < 0.025 ? 1 : std::exp(-(t - 0.025) / 0.012);
        double tock = (std::sin(phase) + 0.35 * std::sin(2 * phase)) * body;
        double tick = (std::sin(2 * Pi * 2900 * t) + 0.4 * std::sin(2 * Pi * 4100 * t)) * std::exp(-t / 0.006);
        s[i] = float(0.6 * tock + 0.12 * tick);
    }
    return Finish(s, 0.012, MoveLoudness);
}

// The turn of the full set: the classic rising sweep, shorter and rounder
// (a sine with a soft octave), heard under the rewards.
std::vector<float> MakeSoftTurnSound() {
    std::vector<float> s(size_t(Samples(0.09)));
    double phase = 0;
    for (size_t i = 0; i < s.size(); ++i) {
        double t = double(i) / Rate;
        phase += 2 * Pi * 520 * std::pow(2.0, t / 0.09) / Rate;
        s[i] = float((std::sin(phase) + 0.2 * std::sin(2 * phase)) * std::exp(-t / 0.05));
    }
    Fade(s, 0.006, 0.04);
    Level(s, TurnLoudness);
    return s;
}

// A pair landing: a soft low thump with a dry knock on top.
std::vector<float> MakeLandingSound() {
    std::vector<float> s(size_t(Samples(0.11)));
    double phase = 0;
    for (size_t i = 0; i < s.size(); ++i) {
        double t = double(i) / Rate;
        phase += 2 * Pi * (190 + 140 * std::exp(-t / 0.015)) / Rate;
        double body = t < 0.03 ? 1 : std::exp(-(t - 0.03) / 0.025);
        double thump = (std::sin(phase) + 0.3 * std::sin(2 * phase)) * body;
        double knock = std::sin(2 * Pi * 1250 * t) * std::sin(2 * Pi * 2650 * t) * std::exp(-t / 0.025);
        s[i] = float(0.7 * thump + 0.8 * knock);
    }
    return Finish(s, 0.03, LandLoudness);
}

// A loop erased: bells running up the C major pentatonic, starting one note
// higher, running one note further and ringing longer at each chain step;
// from the third step a low bell an octave and a fifth under the first note
// gives it weight, and the last two steps end on a chord.
std::vector<float> MakeChainSound(int step) {
    static const int pentatonic[] = {84, 86, 88, 91, 93, 96, 98, 100, 103, 105};  // C6 up
    step = std::clamp(step, 1, ChainSteps);
    const int notes = step + 1;  // 2 to 6
    const double gap = 0.06, ring = 0.12 + 0.05 * step;
    std::vector<float> s(size_t(Samples(gap * (notes - 1) + 0.25 + 0.1 * step)));
    for (int k = 0; k < notes; ++k) {
        const bool last = k == notes - 1;
        double f = Hz(pentatonic[step - 1 + k]);
        Strike(s, gap * k, f, last ? 1.0 : 0.7, last ? ring : 0.06, 0.8);
        Strike(s, gap * k, f * 2, 0.12, 0.04, 0);  // a little sparkle
        if (last && step >= 4) Strike(s, gap * k, Hz(pentatonic[step - 1 + k] - 5), 0.6, ring, 0.5);
    }
    if (step >= 3) Strike(s, 0, Hz(pentatonic[step - 1] - 19), 0.25 * (step - 2), ring * 1.5, 0.3);
    return Finish(s, 0.08, ChainLoudness[step - 1]);
}

// A fish caught: two bubbles gliding upward, the second higher.
std::vector<float> MakeFishSound() {
    std::vector<float> s(size_t(Samples(0.2)));
    for (int b = 0; b < 2; ++b) {
        const int from = Samples(0.085 * b), n = Samples(0.09);
        double phase = 0;
        for (int i = 0; i < n && from + i < int(s.size()); ++i) {
            double t = double(i) / Rate;
            phase += 2 * Pi * (500 + 350 * b) * std::pow(2.0, t / 0.06) / Rate;
            double env = std::sin(Pi * i / n);
            s[size_t(from + i)] += float(env * env * std::sin(phase));
        }
    }
    return Finish(s, 0.02, FishLoudness);
}

// The link action: a rising sweep that opens into a two-bell chime (G6, C7).
std::vector<float> MakeLinkSound() {
    std::vector<float> s(size_t(Samples(0.42)));
    double phase = 0;
    const int sweep = Samples(0.12);
    for (int i = 0; i < sweep; ++i) {
        double t = double(i) / Rate;
        phase += 2 * Pi * 600 * std::pow(2.0, t / 0.12 * 1.7) / Rate;
        s[size_t(i)] += float(0.45 * Soft(phase) * std::sin(Pi * i / sweep));
    }
    Strike(s, 0.1, Hz(91), 0.8, 0.1, 0.6);
    Strike(s, 0.16, Hz(96), 1.0, 0.14, 0.6);
    return Finish(s, 0.1, LinkLoudness);
}

// Game over, in C: a slow fall G, Eb, D and a low C that rings out.
std::vector<float> MakeGameOverJingle() {
    std::vector<float> s(size_t(Samples(1.5)));
    const double beat = 0.22;
    const int keys[] = {79, 75, 74};
    for (int k = 0; k < 3; ++k) Hold(s, beat * k, beat * 0.9, Hz(keys[k]), 0.5);
    Hold(s, beat * 3, 0.7, Hz(72), 0.5);
    Hold(s, beat * 3, 0.7, Hz(60), 0.25);
    Strike(s, beat * 3, Hz(48), 0.5, 0.4, 0);
    return Finish(s, 0.3, JingleLoudness);
}

// Mission clear, in F: the chord climbing F A C F, then a bright F major
// chord with a bell on top.
std::vector<float> MakeMissionClearJingle() {
    std::vector<float> s(size_t(Samples(1.4)));
    const double step = 0.11;
    const int keys[] = {77, 81, 84, 89};
    for (int k = 0; k < 4; ++k) Strike(s, step * k, Hz(keys[k]), 0.7, 0.12, 0.8);
    for (int key : {77, 81, 84}) Hold(s, step * 4, 0.75, Hz(key), 0.22);
    Strike(s, step * 4, Hz(89), 0.7, 0.35, 0.8);
    Strike(s, step * 4, Hz(53), 0.5, 0.4, 0);
    return Finish(s, 0.35, JingleLoudness);
}

// The level risen: a quick climb C6 E6 G6 on a soft whistle and a bell on
// C7 that rings on, brighter than the landing and gentler than a chain.
std::vector<float> MakeLevelUpSound() {
    std::vector<float> s(size_t(Samples(0.5)));
    const double step = 0.055;
    const int keys[] = {84, 88, 91};
    for (int k = 0; k < 3; ++k) Hold(s, step * k, step * 0.9, Hz(keys[k]), 0.4);
    Strike(s, step * 3, Hz(96), 0.8, 0.12, 0.4);
    Strike(s, step * 3, Hz(84), 0.3, 0.12, 0);
    return Finish(s, 0.12, LevelUpLoudness);
}

namespace {
std::vector<float> Quieter(std::vector<float> s, double decibels) {
    const float gain = float(std::pow(10.0, decibels / 20));
    for (float& v : s) v *= gain;
    return s;
}
}  // namespace

std::vector<float> MakeSoftCursorSound() { return Quieter(MakeCursorSound(), MenuSoundsDecibels); }
std::vector<float> MakeSoftDecideSound() { return Quieter(MakeDecideSound(), MenuSoundsDecibels); }
