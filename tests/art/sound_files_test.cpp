// The sound files the build puts in the game folder's snd/: four short WAV
// files and the MIDI tune, read back byte by byte.
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

TEST(SoundFilesTest, ShortSoundsAreCleanSixteenBitPcm) {
    std::set<std::vector<int16_t>> seen;
    std::set<size_t> lengths;
    for (const char* name : {"lr.wav", "turn.wav", "pi.wav", "picoon.wav"}) {
        Wav w = ParseWav(name);
        ASSERT_EQ(w.bits, 16) << name;
        ASSERT_GE(w.channels, 1) << name;
        ASSERT_GT(w.rate, 8000) << name;
        ASSERT_FALSE(w.samples.empty()) << name;
        double seconds = double(w.samples.size()) / w.channels / w.rate;
        EXPECT_LT(seconds, 0.4) << name;
        EXPECT_GT(seconds, 0.03) << name;
        // No click: the sound rises from silence and falls back to it.
        EXPECT_LT(std::abs(int(w.samples.front())), 200) << name;
        EXPECT_LT(std::abs(int(w.samples.back())), 200) << name;
        int peak = 0;
        for (int16_t s : w.samples) peak = std::max(peak, std::abs(int(s)));
        EXPECT_GT(peak, 8000) << name << " is too quiet";
        EXPECT_LT(peak, 32000) << name << " is clipped";
        seen.insert(w.samples);
        lengths.insert(w.samples.size());
    }
    EXPECT_EQ(seen.size(), 4u) << "the four sounds must differ";
    EXPECT_EQ(lengths.size(), 4u) << "the four sounds must differ in length";
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

TEST(SoundFilesTest, TuneIsAWholeLoopOfAtLeastTwoAndAHalfMinutes) {
    Midi m = ParseMidi(ReadAll("bgm.mid"));
    ASSERT_GT(m.division, 0);
    EXPECT_TRUE(m.format == 0 || m.format == 1);
    EXPECT_EQ(int(m.trackEnds.size()), m.tracks);
    ASSERT_FALSE(m.trackEnds.empty());
    uint32_t end = *std::max_element(m.trackEnds.begin(), m.trackEnds.end());
    EXPECT_GE(Seconds(m, end), 150.0);
    // It loops cleanly: every track ends together on a bar line of 4/4, and
    // no note is left sounding into the restart.
    for (uint32_t e : m.trackEnds) EXPECT_EQ(e, end);
    EXPECT_EQ(end % uint32_t(4 * m.division), 0u);
    EXPECT_EQ(m.hangingNotes, 0);
    // Percussion on channel 10 and at least two other parts (melody, bass).
    EXPECT_TRUE(m.channelsWithNotes.count(9));
    EXPECT_GE(m.channelsWithNotes.size(), 3u);
}

// The tune played the way the game plays it (SDL2_mixer and the soundfont,
// through the render helper): heard, yet with its peaks well under clipping so
// the sounds stand out over it.
TEST(SoundFilesTest, RenderedTuneIsHeardAndPeaksWellBelowClipping) {
    const std::string raw = testing::TempDir() + "tessmar_rendered_tune.raw";
    const std::string command = std::string(TESSMAR_BINARY_DIR) + "/tools/tessmar-tunerender " + TESSMAR_BINARY_DIR +
                                "/gamedata/snd/bgm.mid " + raw + " > /dev/null 2>&1";
    ASSERT_EQ(std::system(command.c_str()), 0) << command;
    std::ifstream in(raw, std::ios::binary);
    std::vector<uint8_t> b{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    std::remove(raw.c_str());
    constexpr double Rate = 44100, FullScale = 32768;
    const size_t samples = b.size() / 2;
    ASSERT_GE(double(samples) / 2 / Rate, 150.0) << "stereo frames of the whole tune";
    double sum = 0;
    int peak = 0;
    for (size_t i = 0; i < samples; ++i) {
        int v = int16_t(Le(b, 2 * i, 2));
        peak = std::max(peak, std::abs(v));
        sum += double(v) * v;
    }
    EXPECT_LT(peak / FullScale, 0.7);
    EXPECT_GT(20 * std::log10(std::sqrt(sum / double(samples)) / FullScale), -30.0) << "the tune is (nearly) silent";
}
}  // namespace
