// The sound files the build puts in the game folder's snd/: the short WAV
// files and the two MIDI tunes, read back byte by byte.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "tests/test_support.h"
#include "tools/sound/loudness.h"

namespace {
std::vector<uint8_t> ReadAll(const std::string& name) {
    std::ifstream in(std::string(TESSMAR_BINARY_DIR) + "/gamedata/snd/" + name, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}
uint32_t Le(const std::vector<uint8_t>& b, size_t at, int n) {
    uint32_t v = 0;
    for (int k = n - 1; k >= 0; --k) v = v << 8 | b[at + size_t(k)];
    return v;
}
uint32_t Be(const std::vector<uint8_t>& b, size_t at, int n) {
    uint32_t v = 0;
    for (int k = 0; k < n; ++k) v = v << 8 | b[at + size_t(k)];
    return v;
}

struct Wav {
    int channels = 0, rate = 0, bits = 0;
    std::vector<int16_t> samples;
};

// Parses a RIFF WAVE file; failures are reported through gtest.
Wav ParseWav(const std::string& name) {
    Wav w;
    std::vector<uint8_t> b = ReadAll(name);
    EXPECT_GE(b.size(), 44u) << name;
    if (b.size() < 44) return w;
    EXPECT_EQ(std::string(b.begin(), b.begin() + 4), "RIFF") << name;
    EXPECT_EQ(std::string(b.begin() + 8, b.begin() + 12), "WAVE") << name;
    EXPECT_EQ(Le(b, 4, 4), b.size() - 8) << name << ": RIFF size";
    for (size_t at = 12; at + 8 <= b.size();) {
        std::string id(b.begin() + long(at), b.begin() + long(at) + 4);
        uint32_t size = Le(b, at + 4, 4);
        EXPECT_LE(at + 8 + size, b.size()) << name << ": chunk " << id;
        if (at + 8 + size > b.size()) break;
        if (id == "fmt ") {
            EXPECT_EQ(Le(b, at + 8, 2), 1u) << name << ": PCM";
            w.channels = int(Le(b, at + 10, 2));
            w.rate = int(Le(b, at + 12, 4));
            w.bits = int(Le(b, at + 22, 2));
            EXPECT_EQ(Le(b, at + 16, 4), uint32_t(w.rate * w.channels * w.bits / 8)) << name << ": byte rate";
            EXPECT_EQ(Le(b, at + 20, 2), uint32_t(w.channels * w.bits / 8)) << name << ": block align";
        } else if (id == "data") {
            for (size_t i = 0; i + 1 < size; i += 2) w.samples.push_back(int16_t(Le(b, at + 8 + i, 2)));
        }
        at += 8 + size + (size & 1);
    }
    return w;
}

// Every short sound and its longest length.
struct ShortSound {
    const char* name;
    double longest;
};
const ShortSound ShortSounds[] = {
    {"lr.wav", 0.4},     {"turn.wav", 0.4},   {"pi.wav", 0.4},     {"picoon.wav", 0.4},   {"move.wav", 0.4},
    {"rotate.wav", 0.4}, {"land.wav", 0.4},   {"chain1.wav", 1.2}, {"chain2.wav", 1.2},   {"chain3.wav", 1.2},
    {"chain4.wav", 1.2}, {"chain5.wav", 1.2}, {"fish.wav", 0.4},   {"link.wav", 0.5},     {"gameover.wav", 2.0},
    {"clear.wav", 2.0},  {"levelup.wav", 0.6}, {"cursor.wav", 0.4},  {"decide.wav", 0.4},
};

std::vector<double> Mono(const Wav& w) {
    std::vector<double> x;
    for (size_t i = 0; i < w.samples.size(); i += size_t(w.channels)) x.push_back(w.samples[i] / 32768.0);
    return x;
}

TEST(SoundFilesTest, ShortSoundsAreCleanSixteenBitPcm) {
    std::set<std::vector<int16_t>> seen;
    for (const ShortSound& sound : ShortSounds) {
        const char* name = sound.name;
        Wav w = ParseWav(name);
        ASSERT_EQ(w.bits, 16) << name;
        ASSERT_GE(w.channels, 1) << name;
        ASSERT_GT(w.rate, 8000) << name;
        ASSERT_FALSE(w.samples.empty()) << name;
        double seconds = double(w.samples.size()) / w.channels / w.rate;
        EXPECT_LT(seconds, sound.longest) << name;
        EXPECT_GT(seconds, 0.03) << name;
        // No click: the sound rises from silence and falls back to it.
        EXPECT_LT(std::abs(int(w.samples.front())), 200) << name;
        EXPECT_LT(std::abs(int(w.samples.back())), 200) << name;
        int peak = 0;
        for (int16_t s : w.samples) peak = std::max(peak, std::abs(int(s)));
        EXPECT_GT(peak, 3000) << name << " is too quiet";
        EXPECT_LT(peak, 32000) << name << " is clipped";
        seen.insert(w.samples);
    }
    EXPECT_EQ(seen.size(), std::size(ShortSounds)) << "every sound must differ";
}

// The full set's order of loudness (each sound's loudest 50 ms, K-weighted):
// the move and the turn at least 8 dB under the smallest chain reward, the
// landing at least 6 dB under it, the level-up between the landing and it;
// its cursor and decide quieter than the classic ones; each chain step at
// least 1 dB louder and clearly longer than the step before.
TEST(SoundFilesTest, FullSetKeepsTheRewardsOverTheMoves) {
    auto level = [](const std::string& name) {
        Wav w = ParseWav(name);
        return w.samples.empty() ? 0.0 : loudness::LoudestLufs(Mono(w), w.rate);
    };
    const double chain1 = level("chain1.wav");
    const std::pair<const char*, double> under[] = {
        {"move.wav", 8}, {"rotate.wav", 8}, {"land.wav", 6}, {"levelup.wav", 2}};
    for (auto [name, margin] : under) EXPECT_LE(level(name), chain1 - margin) << name;
    EXPECT_GE(level("levelup.wav"), level("land.wav") + 2);
    const std::pair<const char*, const char*> quieter[] = {{"cursor.wav", "pi.wav"}, {"decide.wav", "picoon.wav"}};
    for (auto [full, classic] : quieter) EXPECT_LE(level(full), level(classic) - 1.5) << full;
    double previousLevel = -100, previousSeconds = 0;
    for (int step = 1; step <= 5; ++step) {
        const std::string name = "chain" + std::to_string(step) + ".wav";
        Wav w = ParseWav(name);
        ASSERT_FALSE(w.samples.empty()) << name;
        const double seconds = double(w.samples.size()) / w.channels / w.rate;
        EXPECT_GE(level(name), previousLevel + 1.0) << name;
        EXPECT_GE(seconds, previousSeconds * 1.15) << name;
        previousLevel = level(name);
        previousSeconds = seconds;
    }
}

// The loop-erased sounds rise with the chain: the pitch of each one's last,
// ringing note (counted by zero crossings) above the one before.
TEST(SoundFilesTest, ChainSoundsRiseStepByStep) {
    double previous = 0;
    for (int step = 1; step <= 5; ++step) {
        const std::string name = "chain" + std::to_string(step) + ".wav";
        Wav w = ParseWav(name);
        std::vector<double> x = Mono(w);
        ASSERT_GT(x.size(), size_t(w.rate / 5)) << name;
        // 40 ms just after the last note struck, whose pitch dominates the tail.
        const size_t from = x.size() - size_t(0.24 * w.rate), to = from + size_t(0.04 * w.rate);
        int crossings = 0;
        for (size_t i = from + 1; i < to; ++i) crossings += (x[i - 1] < 0) != (x[i] < 0);
        const double hz = crossings / 2.0 / 0.04;
        EXPECT_GT(hz, previous * 1.05) << name << " is not higher than the step before";
        previous = hz;
    }
}

struct Midi {
    int format = -1, tracks = 0, division = 0;
    std::vector<uint32_t> trackEnds;          // tick of each end-of-track
    std::map<uint32_t, uint32_t> tempo;       // tick -> microseconds per beat
    std::set<int> channelsWithNotes;
    int hangingNotes = 0;
};

Midi ParseMidi(const std::vector<uint8_t>& b) {
    Midi m;
    EXPECT_GE(b.size(), 14u);
    if (b.size() < 14) return m;
    EXPECT_EQ(std::string(b.begin(), b.begin() + 4), "MThd");
    EXPECT_EQ(Be(b, 4, 4), 6u);
    m.format = int(Be(b, 8, 2));
    m.tracks = int(Be(b, 10, 2));
    m.division = int(Be(b, 12, 2));
    size_t at = 14;
    while (at + 8 <= b.size()) {
        EXPECT_EQ(std::string(b.begin() + long(at), b.begin() + long(at) + 4), "MTrk");
        size_t end = at + 8 + Be(b, at + 4, 4);
        EXPECT_LE(end, b.size());
        if (end > b.size()) break;
        size_t p = at + 8;
        uint32_t tick = 0;
        uint8_t status = 0;
        bool ended = false;
        std::map<int, int> open;  // channel * 128 + key -> count
        auto vlq = [&]() {
            uint32_t v = 0;
            while (p < end) {
                uint8_t c = b[p++];
                v = v << 7 | (c & 0x7F);
                if (!(c & 0x80)) break;
            }
            return v;
        };
        while (p < end && !ended) {
            tick += vlq();
            if (p >= end) break;
            uint8_t c = b[p];
            if (c & 0x80) status = b[p++];  // otherwise running status
            if (status == 0xFF) {
                uint8_t type = b[p++];
                uint32_t len = vlq();
                if (type == 0x51 && len == 3) m.tempo[tick] = Be(b, p, 3);
                if (type == 0x2F) {
                    ended = true;
                    m.trackEnds.push_back(tick);
                    EXPECT_EQ(p + len, end) << "end-of-track is not the track's last event";
                }
                p += len;
            } else if (status == 0xF0 || status == 0xF7) {
                p += vlq();
            } else {
                int type = status >> 4, ch = status & 15;
                int key = b[p], vel = (type == 0xC || type == 0xD) ? 0 : b[p + 1];
                p += (type == 0xC || type == 0xD) ? 1 : 2;
                if (type == 0x9 && vel > 0) {
                    ++open[ch * 128 + key];
                    m.channelsWithNotes.insert(ch);
                } else if (type == 0x8 || (type == 0x9 && vel == 0)) {
                    --open[ch * 128 + key];
                }
            }
        }
        EXPECT_TRUE(ended) << "track without end-of-track";
        for (auto& [note, count] : open) m.hangingNotes += count;
        at = end;
    }
    EXPECT_EQ(at, b.size());
    return m;
}

double Seconds(const Midi& m, uint32_t tick) {
    double seconds = 0;
    uint32_t last = 0, us = 500000;
    for (auto [t, tempo] : m.tempo) {
        if (t >= tick) break;
        seconds += double(t - last) * us / 1e6 / m.division;
        last = t;
        us = tempo;
    }
    return seconds + double(tick - last) * us / 1e6 / m.division;
}

// Score attack's tune, the missions' tune and score attack's calm
// arrangement (tunes 1, 2 and 3 of the generator), and how long each must last.
struct TuneFile {
    const char* name;
    double shortest;
};
const TuneFile Tunes[] = {{"bgm.mid", 150.0}, {"bgm2.mid", 120.0}, {"bgm-calm.mid", 150.0}};

TEST(SoundFilesTest, TunesAreWholeLoopsOfTheirLength) {
    std::set<std::map<uint32_t, uint32_t>> tempos;
    for (const TuneFile& tune : Tunes) {
        SCOPED_TRACE(tune.name);
        Midi m = ParseMidi(ReadAll(tune.name));
        ASSERT_GT(m.division, 0);
        EXPECT_TRUE(m.format == 0 || m.format == 1);
        EXPECT_EQ(int(m.trackEnds.size()), m.tracks);
        ASSERT_FALSE(m.trackEnds.empty());
        uint32_t end = *std::max_element(m.trackEnds.begin(), m.trackEnds.end());
        EXPECT_GE(Seconds(m, end), tune.shortest);
        // It loops cleanly: every track ends together on a bar line of 4/4, and
        // no note is left sounding into the restart.
        for (uint32_t e : m.trackEnds) EXPECT_EQ(e, end);
        EXPECT_EQ(end % uint32_t(4 * m.division), 0u);
        EXPECT_EQ(m.hangingNotes, 0);
        // Percussion on channel 10 and at least two other parts (melody, bass).
        EXPECT_TRUE(m.channelsWithNotes.count(9));
        EXPECT_GE(m.channelsWithNotes.size(), 3u);
        tempos.insert(m.tempo);
    }
    EXPECT_EQ(tempos.size(), std::size(Tunes)) << "the tunes must differ in tempo";
}

// Runs a tool of the build, its output discarded; false when it fails.
bool RunTool(const std::string& arguments) {
    const std::string command = std::string(TESSMAR_BINARY_DIR) + "/tools/" + arguments + " > /dev/null 2>&1";
    return std::system(command.c_str()) == 0;
}

// A MIDI file played the way the game plays it (SDL2_mixer and the soundfont,
// through the render helper): interleaved stereo samples at 44100 Hz.
std::vector<int16_t> Render(const std::string& midi) {
    // One file per process and tune: ctest runs the render tests side by side.
    const std::string raw = testing::TempDir() + "tessmar_rendered_" + std::to_string(getpid()) + "_" +
                            midi.substr(midi.find_last_of('/') + 1) + ".raw";
    EXPECT_TRUE(RunTool("tessmar-tunerender " + midi + " " + raw)) << midi;
    std::ifstream in(raw, std::ios::binary);
    std::vector<uint8_t> b{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    std::remove(raw.c_str());
    std::vector<int16_t> samples(b.size() / 2);
    for (size_t i = 0; i < samples.size(); ++i) samples[i] = int16_t(Le(b, 2 * i, 2));
    return samples;
}

constexpr double RenderRate = 44100, FullScale = 32768;

// Rendered, the tunes are heard, yet their peaks stay well under clipping so
// the sounds stand out over them.
TEST(SoundFilesTest, RenderedTunesAreHeardAndPeakWellBelowClipping) {
    for (const TuneFile& tune : Tunes) {
        SCOPED_TRACE(tune.name);
        std::vector<int16_t> s = Render(std::string(TESSMAR_BINARY_DIR) + "/gamedata/snd/" + tune.name);
        ASSERT_GE(double(s.size()) / 2 / RenderRate, tune.shortest) << "stereo frames of the whole tune";
        double sum = 0;
        int peak = 0;
        for (int16_t v : s) {
            peak = std::max(peak, std::abs(int(v)));
            sum += double(v) * v;
        }
        EXPECT_LT(peak / FullScale, 0.7);
        EXPECT_GT(20 * std::log10(std::sqrt(sum / double(s.size())) / FullScale), -30.0)
            << "the tune is (nearly) silent";
    }
}

// The lead is heard over the band in every block of eight bars, and the band
// under it: 3 to 8 dB K-weighted. The generator writes the lead's notes alone
// and all the others alone, and each is rendered the way the game plays it
// (one channel of the interleaved render stands for both).
TEST(SoundFilesTest, LeadStandsThreeToEightDecibelsOverTheBandInEveryEightBars) {
    for (int tune = 1; tune <= int(std::size(Tunes)); ++tune) {
        SCOPED_TRACE("tune " + std::to_string(tune));
        const Midi m = ParseMidi(ReadAll(Tunes[tune - 1].name));
        ASSERT_EQ(m.tempo.size(), 1u) << "one tempo for the whole tune";
        const size_t block = size_t(32 * m.tempo.begin()->second / 1e6 * RenderRate) * 2;
        std::vector<int16_t> parts[2];
        const char* names[2] = {"lead", "rest"};
        for (int k = 0; k < 2; ++k) {
            const std::string midi = testing::TempDir() + "tessmar_" + names[k] + ".mid";
            ASSERT_TRUE(RunTool("tessmar-soundgen --part " + std::to_string(tune) + " " + names[k] + " " + midi));
            parts[k] = Render(midi);
            std::remove(midi.c_str());
        }
        std::vector<double> weighted[2];
        for (int k = 0; k < 2; ++k) {
            for (size_t i = 0; i < parts[k].size(); i += 2) weighted[k].push_back(parts[k][i]);
            loudness::KWeight(weighted[k], RenderRate);
        }
        const size_t length = std::min(weighted[0].size(), weighted[1].size()), frames = block / 2;
        ASSERT_GT(length, 4 * frames);
        for (size_t at = 0; at + frames / 2 <= length; at += frames) {
            double energy[2] = {0, 0};
            for (int k = 0; k < 2; ++k)
                for (size_t i = at; i < std::min(at + frames, length); ++i) energy[k] += weighted[k][i] * weighted[k][i];
            const double over = 10 * std::log10(energy[0] / std::max(energy[1], 1.0));
            EXPECT_GE(over, 3.0) << "block " << at / frames + 1;
            EXPECT_LE(over, 8.0) << "block " << at / frames + 1;
        }
    }
}
}  // namespace
