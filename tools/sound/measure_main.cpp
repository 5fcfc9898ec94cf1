// tessmar-soundmeasure: the figures of the mix that measure_sounds.sh reports.
//   blocks LEAD.raw REST.raw SECONDS   the lead over the rest of the mix, per
//       block of SECONDS (eight bars), from two renders of tessmar-tunerender
//   effects WAV...                     each sound's loudest 50 ms, K-weighted,
//       against the median of them all, and its peak
//   band WAV TUNE.raw LOW HIGH         the sound's loudest 50 ms between LOW and
//       HIGH Hz against the tune's median 50 ms in the same band
//   mix RAW                            a whole render's integrated loudness
//       (ITU-R BS.1770, gated), true peak and 50 ms windows holding clipped samples
//   steps RAW MS...                    for a stop of the tune at each MS, when it
//       falls silent and the largest step between two samples there, against
//       the render's 99.9th percentile step
//   switch RAW FRAME...                for a change of arrangement starting at
//       each FRAME: the silence before it, the largest step between two
//       samples within 5 ms of it against the 99.9th percentile step, and the
//       level of the 50 ms before the fade and after the start
// Renders are 44100 Hz, 16-bit, stereo; sound files 16-bit PCM WAV. Levels are
// in dB of full scale, per channel.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <numbers>
#include <string>
#include <vector>

#include "tools/sound/loudness.h"

namespace {
struct Signal {
    double rate = 0;
    std::vector<std::vector<double>> channels;  // samples in -1..1
    size_t Frames() const { return channels.empty() ? 0 : channels[0].size(); }
};

std::vector<uint8_t> ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

Signal FromPcm(const uint8_t* p, size_t bytes, int channels, double rate) {
    Signal s;
    s.rate = rate;
    s.channels.resize(size_t(channels));
    const size_t frames = bytes / 2 / size_t(channels);
    for (auto& c : s.channels) c.resize(frames);
    for (size_t f = 0; f < frames; ++f)
        for (int c = 0; c < channels; ++c) {
            size_t at = 2 * (f * size_t(channels) + size_t(c));
            s.channels[size_t(c)][f] = int16_t(p[at] | p[at + 1] << 8) / 32768.0;
        }
    return s;
}

Signal ReadRaw(const std::string& path) {
    std::vector<uint8_t> b = ReadAll(path);
    return FromPcm(b.data(), b.size(), 2, 44100);
}

uint32_t Le(const std::vector<uint8_t>& b, size_t at, int n) {
    uint32_t v = 0;
    for (int k = n - 1; k >= 0; --k) v = v << 8 | b[at + size_t(k)];
    return v;
}

// A 16-bit PCM WAV file; an empty signal when it is not one.
Signal ReadWav(const std::string& path) {
    std::vector<uint8_t> b = ReadAll(path);
    int channels = 0;
    double rate = 0;
    for (size_t at = 12; b.size() >= 12 && at + 8 <= b.size();) {
        std::string id(b.begin() + long(at), b.begin() + long(at) + 4);
        size_t size = Le(b, at + 4, 4);
        if (at + 8 + size > b.size()) break;
        if (id == "fmt " && Le(b, at + 22, 2) == 16) channels = int(Le(b, at + 10, 2)), rate = Le(b, at + 12, 4);
        if (id == "data" && channels > 0) return FromPcm(b.data() + at + 8, size, channels, rate);
        at += 8 + size + (size & 1);
    }
    return {};
}

using loudness::Biquad;

void KWeight(Signal& s) {
    for (auto& c : s.channels) loudness::KWeight(c, s.rate);
}

// Fourth-order band: two Butterworth high-passes at `low`, two low-passes at `high`.
void Band(Signal& s, double low, double high) {
    const double pi = std::numbers::pi, q = std::sqrt(0.5);
    auto pass = [&](double f, bool highPass) {
        double w = 2 * pi * f / s.rate, alpha = std::sin(w) / (2 * q), c = std::cos(w), a0 = 1 + alpha;
        double b0 = highPass ? (1 + c) / 2 : (1 - c) / 2, b1 = highPass ? -(1 + c) : 1 - c;
        return Biquad{b0 / a0, b1 / a0, b0 / a0, -2 * c / a0, (1 - alpha) / a0};
    };
    for (auto& c : s.channels)
        for (int twice = 0; twice < 2; ++twice) pass(low, true).Run(c), pass(high, false).Run(c);
}

double Db(double meanSquare) { return 10 * std::log10(std::max(meanSquare, 1e-12)); }

// Mean square per channel over frames [from, to).
double MeanSquare(const Signal& s, size_t from, size_t to) {
    double sum = 0;
    for (const auto& c : s.channels)
        for (size_t i = from; i < to && i < c.size(); ++i) sum += c[i] * c[i];
    return to > from ? sum / double(to - from) / double(s.channels.size()) : 0;
}

// Mean squares of consecutive 50 ms windows, sliding by 10 ms.
std::vector<double> Windows(const Signal& s) {
    const size_t length = size_t(s.rate * 0.05), step = size_t(s.rate * 0.01);
    std::vector<double> out;
    for (size_t at = 0; at == 0 || at + length <= s.Frames(); at += step) out.push_back(MeanSquare(s, at, at + length));
    return out;
}

double Loudest(const Signal& s) {
    std::vector<double> w = Windows(s);
    return *std::max_element(w.begin(), w.end());
}

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

double Peak(const Signal& s) {
    double peak = 0;
    for (const auto& c : s.channels)
        for (double v : c) peak = std::max(peak, std::fabs(v));
    return peak;
}

int Blocks(const char* leadPath, const char* restPath, double seconds) {
    Signal lead = ReadRaw(leadPath), rest = ReadRaw(restPath);
    if (lead.Frames() == 0 || rest.Frames() == 0 || seconds <= 0) return 1;
    Signal leadK = lead, restK = rest;
    KWeight(leadK);
    KWeight(restK);
    const size_t block = size_t(std::lround(seconds * lead.rate));
    const size_t frames = std::min(lead.Frames(), rest.Frames());
    double lowest = 1e9;
    for (size_t at = 0, k = 1; at + block / 2 <= frames; at += block, ++k) {
        size_t to = std::min(at + block, frames);
        double over = Db(MeanSquare(lead, at, to)) - Db(MeanSquare(rest, at, to));
        double overK = Db(MeanSquare(leadK, at, to)) - Db(MeanSquare(restK, at, to));
        std::printf("block %zu: lead %.1f dB, rest %.1f dB, lead over rest %+.1f dB (K-weighted %+.1f dB)\n", k,
                    Db(MeanSquare(lead, at, to)), Db(MeanSquare(rest, at, to)), over, overK);
        lowest = std::min(lowest, std::min(over, overK));
    }
    std::printf("lowest lead over rest %+.1f dB\n", lowest);
    return 0;
}

int Effects(int count, char** paths) {
    std::vector<double> loudest;
    std::vector<Signal> sounds;
    for (int i = 0; i < count; ++i) {
        Signal s = ReadWav(paths[i]);
        if (s.Frames() == 0) {
            std::fprintf(stderr, "tessmar-soundmeasure: %s is not a 16-bit PCM WAV file\n", paths[i]);
            return 1;
        }
        Signal k = s;
        KWeight(k);
        loudest.push_back(-0.691 + Db(Loudest(k)));
        sounds.push_back(std::move(s));
    }
    const double median = Median(loudest);
    double widest = 0;
    for (int i = 0; i < count; ++i) {
        const char* name = std::strrchr(paths[i], '/') ? std::strrchr(paths[i], '/') + 1 : paths[i];
        std::printf("%-13s %.3f s, peak %.3f, loudest 50 ms %.1f LUFS, %+.1f dB from the median\n", name,
                    double(sounds[size_t(i)].Frames()) / sounds[size_t(i)].rate, Peak(sounds[size_t(i)]),
                    loudest[size_t(i)], loudest[size_t(i)] - median);
        widest = std::max(widest, std::fabs(loudest[size_t(i)] - median));
    }
    std::printf("median %.1f LUFS, farthest from it %.1f dB\n", median, widest);
    return 0;
}

int BandOverTune(const char* wavPath, const char* tunePath, double low, double high) {
    Signal sound = ReadWav(wavPath), tune = ReadRaw(tunePath);
    if (sound.Frames() == 0 || tune.Frames() == 0) return 1;
    Band(sound, low, high);
    Band(tune, low, high);
    double mine = Db(Loudest(sound)), theirs = Db(Median(Windows(tune)));
    std::printf("%.0f-%.0f Hz: sound's loudest 50 ms %.1f dB, tune's median 50 ms %.1f dB, sound over tune %+.1f dB\n",
                low, high, mine, theirs, mine - theirs);
    return 0;
}

// BS.1770 integrated loudness: K-weighted 400 ms blocks overlapping by 75 %,
// gated at -70 LUFS and then 10 LU under the mean of the blocks left.
double IntegratedLufs(Signal k) {
    KWeight(k);
    const size_t block = size_t(k.rate * 0.4), hop = block / 4;
    std::vector<double> powers;
    for (size_t at = 0; at + block <= k.Frames(); at += hop)
        powers.push_back(MeanSquare(k, at, at + block) * double(k.channels.size()));
    auto gatedMean = [&](double gate) {
        double sum = 0;
        size_t n = 0;
        for (double p : powers)
            if (-0.691 + Db(p) > gate) sum += p, ++n;
        return n ? sum / double(n) : 0.0;
    };
    double relative = -0.691 + Db(gatedMean(-70)) - 10;
    return -0.691 + Db(gatedMean(relative));
}

// The peak between the samples too: four times oversampled through a
// windowed sinc, as true-peak meters do.
double TruePeak(const Signal& s) {
    constexpr int Over = 4, Taps = 16;  // taps each side of the point
    const double pi = std::numbers::pi;
    std::vector<std::vector<double>> kernel(Over);
    for (int p = 0; p < Over; ++p)
        for (int t = -Taps + 1; t <= Taps; ++t) {
            double x = t - double(p) / Over;
            double sinc = std::fabs(x) < 1e-9 ? 1 : std::sin(pi * x) / (pi * x);
            double window = 0.5 + 0.5 * std::cos(pi * x / Taps);
            kernel[size_t(p)].push_back(sinc * window);
        }
    double peak = Peak(s);
    for (const auto& c : s.channels)
        for (size_t i = Taps; i + Taps < c.size(); ++i)
            for (int p = 1; p < Over; ++p) {
                double v = 0;
                for (int t = -Taps + 1; t <= Taps; ++t) v += c[size_t(long(i) - t)] * kernel[size_t(p)][size_t(t + Taps - 1)];
                peak = std::max(peak, std::fabs(v));
            }
    return peak;
}

int Mix(const char* path) {
    Signal s = ReadRaw(path);
    if (s.Frames() == 0) return 1;
    const size_t window = size_t(s.rate * 0.05);
    size_t windows = 0, clipped = 0;
    for (size_t at = 0; at + window <= s.Frames(); at += window, ++windows) {
        bool hit = false;
        for (const auto& c : s.channels)
            for (size_t i = at; i < at + window && !hit; ++i) hit = std::fabs(c[i]) >= 32767.0 / 32768;
        clipped += hit;
    }
    std::printf("length %.1f s, integrated %.1f LUFS, true peak %.1f dBTP, clipped 50 ms windows %zu of %zu (%.1f %%)\n",
                double(s.Frames()) / s.rate, IntegratedLufs(s), 20 * std::log10(std::max(TruePeak(s), 1e-9)), clipped,
                windows, 100.0 * double(clipped) / double(std::max<size_t>(windows, 1)));
    return 0;
}

// A cut shows as a step far larger than the music's own from one sample to the next.
// The 99.9th percentile of the steps between neighbouring samples, silence
// left out.
double UsualStep(const Signal& s) {
    std::vector<double> all;
    for (const auto& c : s.channels)
        for (size_t i = 1; i < c.size(); ++i)
            if (c[i] != 0 || c[i - 1] != 0) all.push_back(std::fabs(c[i] - c[i - 1]));
    std::sort(all.begin(), all.end());
    return all.empty() ? 0 : all[std::min(all.size() - 1, all.size() * 999 / 1000)];
}

double WindowDecibels(const Signal& s, size_t from, size_t frames) {
    double sum = 0;
    size_t n = 0;
    for (const auto& c : s.channels)
        for (size_t i = from; i < std::min(from + frames, c.size()); ++i, ++n) sum += c[i] * c[i];
    return 10 * std::log10(std::max(sum / double(std::max<size_t>(n, 1)), 1e-12));
}

int Switches(const char* path, int count, char** frames) {
    Signal s = ReadRaw(path);
    if (s.Frames() < 2) return 1;
    const double usual = UsualStep(s);
    const size_t near = size_t(s.rate * 0.005), window = size_t(s.rate * 0.05);
    std::printf("99.9th percentile step %.4f of full scale\n", usual);
    for (int k = 0; k < count; ++k) {
        const size_t at = size_t(std::atol(frames[k]));
        if (at <= window + near || at + window >= s.Frames()) continue;
        // Silent frames (both channels exactly 0) running up to the start.
        size_t silent = 0;
        auto quiet = [&](size_t i) { return std::all_of(s.channels.begin(), s.channels.end(), [&](auto& c) { return c[i] == 0; }); };
        while (silent < at && quiet(at - 1 - silent)) ++silent;
        double largest = 0;
        for (const auto& c : s.channels)
            for (size_t i = at - near; i < at + near; ++i) largest = std::max(largest, std::fabs(c[i] - c[i - 1]));
        const size_t fade = size_t(s.rate * 0.2);
        std::printf("switch at frame %zu: silent %zu frames (%.1f ms) before it, step within 5 ms %.4f (%s the 99.9th "
                    "percentile); 50 ms before the fade %.1f dB, 50 ms after the start %.1f dB\n",
                    at, silent, silent / s.rate * 1000, largest, largest > usual ? "over" : "within",
                    WindowDecibels(s, at - std::min(at, fade + window), window), WindowDecibels(s, at, window));
    }
    return 0;
}

int Steps(const char* path, int count, char** times) {
    Signal s = ReadRaw(path);
    if (s.Frames() < 2) return 1;
    const double usual = UsualStep(s);
    std::printf("99.9th percentile step %.4f of full scale\n", usual);
    for (int k = 0; k < count; ++k) {
        // Where the tune falls silent after the stop: the last sound within
        // 700 ms; the step there is the stop's.
        const size_t from = size_t(std::atof(times[k]) / 1000 * s.rate);
        const size_t to = std::min(s.Frames(), from + size_t(s.rate * 0.7)), near = size_t(s.rate * 0.005);
        size_t silentAt = from;
        for (const auto& c : s.channels)
            for (size_t i = from; i < to; ++i)
                if (c[i] != 0) silentAt = std::max(silentAt, i + 1);
        double largest = 0;
        for (const auto& c : s.channels)
            for (size_t i = std::max<size_t>(silentAt, near + 1) - near; i < std::min(to, silentAt + near); ++i)
                largest = std::max(largest, std::fabs(c[i] - c[i - 1]));
        std::printf("stop at %s ms: silent %.0f ms later, step there %.4f (%s the 99.9th percentile)\n", times[k],
                    double(silentAt - from) / s.rate * 1000, largest, largest > usual ? "over" : "within");
    }
    return 0;
}
}  // namespace

int main(int argc, char** argv) {
    if (argc == 3 && std::strcmp(argv[1], "mix") == 0) return Mix(argv[2]);
    if (argc >= 4 && std::strcmp(argv[1], "steps") == 0) return Steps(argv[2], argc - 3, argv + 3);
    if (argc >= 4 && std::strcmp(argv[1], "switch") == 0) return Switches(argv[2], argc - 3, argv + 3);
    if (argc == 5 && std::strcmp(argv[1], "blocks") == 0) return Blocks(argv[2], argv[3], std::atof(argv[4]));
    if (argc >= 3 && std::strcmp(argv[1], "effects") == 0) return Effects(argc - 2, argv + 2);
    if (argc == 6 && std::strcmp(argv[1], "band") == 0)
        return BandOverTune(argv[2], argv[3], std::atof(argv[4]), std::atof(argv[5]));
    std::fprintf(stderr,
                 "usage: tessmar-soundmeasure blocks LEAD.raw REST.raw SECONDS | effects WAV... |"
                 " band WAV TUNE.raw LOW HIGH | mix RAW | steps RAW MS... | switch RAW FRAME...\n");
    return 2;
}
