#include "tools/sound/wav_gen.h"

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
