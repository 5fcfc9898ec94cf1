// Loudness as a listener hears it: the K-weighting of ITU-R BS.1770 and the
// loudest 50 ms of a sound. Shared by the sound generator, which levels the
// short sounds by it, and the measuring tool.
#pragma once
#include <algorithm>
#include <cmath>
#include <numbers>
#include <vector>

namespace loudness {
struct Biquad {
    double b0, b1, b2, a1, a2;
    void Run(std::vector<double>& x) const {
        double x1 = 0, x2 = 0, y1 = 0, y2 = 0;
        for (double& v : x) {
            double y = b0 * v + b1 * x1 + b2 * x2 - a1 * y1 - a2 * y2;
            x2 = x1, x1 = v, y2 = y1, y1 = y;
            v = y;
        }
    }
};

// The high shelf and the high-pass of the K-weighting, at any sample rate.
inline void KWeight(std::vector<double>& x, double rate) {
    const double pi = std::numbers::pi;
    double k = std::tan(pi * 1681.974450955533 / rate), q = 0.7071752369554196;
    double vh = std::pow(10.0, 3.999843853973347 / 20), vb = std::pow(vh, 0.4996667741545416);
    double a0 = 1 + k / q + k * k;
    Biquad{(vh + vb * k / q + k * k) / a0, 2 * (k * k - vh) / a0, (vh - vb * k / q + k * k) / a0,
           2 * (k * k - 1) / a0, (1 - k / q + k * k) / a0}
        .Run(x);
    k = std::tan(pi * 38.13547087602444 / rate), q = 0.5003270373238773;
    a0 = 1 + k / q + k * k;
    Biquad{1, -2, 1, 2 * (k * k - 1) / a0, (1 - k / q + k * k) / a0}.Run(x);
}

// The largest mean square over 50 ms, the window sliding by 10 ms.
inline double LoudestMeanSquare(const std::vector<double>& x, double rate) {
    const size_t length = size_t(rate * 0.05), step = size_t(rate * 0.01);
    double loudest = 0;
    for (size_t at = 0; at == 0 || at + length <= x.size(); at += step) {
        double sum = 0;
        for (size_t i = at; i < at + length && i < x.size(); ++i) sum += x[i] * x[i];
        loudest = std::max(loudest, sum / double(length));
    }
    return loudest;
}

// The loudest 50 ms of a mono sound, K-weighted, in LUFS.
inline double LoudestLufs(std::vector<double> x, double rate) {
    KWeight(x, rate);
    return -0.691 + 10 * std::log10(std::max(LoudestMeanSquare(x, rate), 1e-12));
}
}  // namespace loudness
