// Helpers of the mission tests: mission and records files in a game folder,
// runs of the headless runner, and glyphs looked up in screenshots.
#pragma once
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "draw/surface.h"
#include "draw/surfaces.h"
#include "mission/mission_file.h"
#include "rules/screen_layout.h"
#include "screens/records_file.h"
#include "tests/runner_support.h"
#include "tests/test_support.h"
#include "tools/png_io.h"

namespace missions_test {

// Kind codes used by the hand-made boards.
enum : uint8_t { H = 1, V = 2, DL = 3, UL = 4, UR = 5, DR = 6, X = 11, W = 13 };

// An empty mission as the editor saves it: walls and floor, chain goal 1.
inline MissionImage EmptyMission(uint8_t type = 0, uint32_t target = 1, uint8_t pieceLimit = 1) {
    MissionImage m;
    for (int c = -1; c <= 8; ++c)
        for (int r = -2; r <= 12; ++r)
            if (c < 0 || c > 7 || r == 12) m.kind[MissionKindIndex(c, r)] = W;
    m.type = type;
    m.target = target;
    m.pieceLimit = pieceLimit;
    return m;
}

inline void SetCell(MissionImage& m, int c, int r, uint8_t kind, uint8_t frame = 0) {
    m.kind[MissionKindIndex(c, r)] = kind;
    if (r >= -1) m.frame[MissionFrameIndex(c, r)] = frame;
}

inline void SetPair(MissionImage& m, int p, uint8_t first, uint8_t second) {
    m.queueKind[MissionQueueIndex(p, 0)] = first;
    m.queueKind[MissionQueueIndex(p, 1)] = second;
}

// Half a ring in columns 3 and 4 of rows 10 and 11: the pair that enters in
// column 4 (corner down-left above corner up-left) closes it when dropped.
inline MissionImage RingMission() {
    MissionImage m = EmptyMission(0, 1, 1);
    SetCell(m, 3, 10, DR);
    SetCell(m, 3, 11, UR);
    SetPair(m, 0, DL, UL);
    for (int p = 1; p < 8; ++p) SetPair(m, p, H, H);
    return m;
}

inline void WriteBytes(const std::string& path, const std::vector<uint8_t>& bytes) {
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

inline void WriteMission(const std::string& path, const MissionImage& m) {
    MissionBytes b = EncodeMission(m);
    WriteBytes(path, std::vector<uint8_t>(b.begin(), b.end()));
}

inline std::vector<uint8_t> ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// rcd.dat with `count` missions cleared: flags 1..count set, the count byte.
inline void WriteRecords(const std::string& folder, int count) {
    std::vector<uint8_t> b(RecordsFileSize, 0);
    for (int n = 1; n <= count && n < 100; ++n) b[96 + n] = 1;
    b[196] = uint8_t(count);
    WriteBytes(folder + "/rcd.dat", b);
}

// From the title: "MISSION MODE" chosen, mission select shown from frame 4 on.
inline const char* const ToMissionSelect = "1 Down\n1\n1 Z\n";
inline constexpr int MissionSelectFirstFrame = 4;

// The font sheet, as the game draws with it.
inline const Surface& Font() {
    static Surface font = [] {
        StartInFolder(MakeTempFolder("missions-font"));
        return FontSheet;
    }();
    return font;
}

// True when every opaque pixel of the glyphs of `text` at (x, y) shows the
// font's colour: the masked draw leaves exactly the glyph's picture there.
inline bool TextDrawn(const Surface& shot, const std::string& text, int x, int y) {
    const Surface& font = Font();
    int opaque = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        int g = (unsigned char)text[i] - 32;
        int sx = 16 * (g % 16), sy = 16 * (g / 16);
        for (int dy = 0; dy < 16; ++dy)
            for (int dx = 0; dx < 16; ++dx) {
                if ((font.At(sx + dx, sy + dy + 256) & 0xFFFFFF) == 0) continue;  // transparent
                ++opaque;
                if ((shot.At(x + 16 * int(i) + dx, y + dy) & 0xFFFFFF) != (font.At(sx + dx, sy + dy) & 0xFFFFFF))
                    return false;
            }
    }
    return opaque > 0;
}

inline Surface Shot(const std::string& path) {
    Surface s;
    EXPECT_TRUE(ReadPng(path, s)) << path;
    if (s.width == 0) s.Create(ScreenWidth, ScreenHeight);
    return s;
}

}  // namespace missions_test
