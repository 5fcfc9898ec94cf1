// The block sheet as the renderer uses it: layout, masks that match their
// images, and ropes that leave each block where its kind says.
#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>
#include <cstdio>
#include <string>

#include "draw/sheet_layout.h"
#include "resources/resources.h"
#include "rules/board.h"
#include "tests/test_support.h"

namespace {
// The plain row, six classic network colours, six of the safe palette.
constexpr int RowsBelowMasks = 14;

int Difference(uint32_t a, uint32_t b) {
    return std::abs(int(a >> 16 & 255) - int(b >> 16 & 255)) + std::abs(int(a >> 8 & 255) - int(b >> 8 & 255)) +
           std::abs(int(a & 255) - int(b & 255));
}

class BlockSheetTest : public ::testing::Test {
protected:
    void SetUp() override {
        LoadSheet(ArtBlockSheet, sheet);
        FillRopeSides();
    }
    // Pixel `at` (0..31) along the edge of `side` of the cell at (x, y).
    uint32_t Edge(int x, int y, int side, int at) const {
        switch (side) {
            case SideUp: return sheet.At(x + at, y);
            case SideDown: return sheet.At(x + at, y + 31);
            case SideLeft: return sheet.At(x, y + at);
            default: return sheet.At(x + 31, y + at);
        }
    }
    // The pixels along an edge that stand out from the block's own border
    // there (sampled near the corner): the rope's cross-section, as a span.
    std::pair<int, int> RopeSpan(int x, int y, int side) const {
        uint32_t ground = Edge(x, y, side, 5);
        int first = -1, last = -1;
        for (int at = 0; at < 32; ++at)
            if (Difference(Edge(x, y, side, at), ground) > 60) {
                if (first < 0) first = at;
                last = at;
            }
        return {first, last};
    }
    bool RopeAtMiddle(int x, int y, int side) const {
        uint32_t ground = Edge(x, y, side, 5);
        return Difference(Edge(x, y, side, 15), ground) > 60 && Difference(Edge(x, y, side, 16), ground) > 60;
    }
    void ExpectSpriteAgrees(int imageX, int imageY, int maskX, int maskY) const {
        for (int y = 0; y < 32; ++y)
            for (int x = 0; x < 32; ++x) {
                uint32_t m = sheet.At(maskX + x, maskY + y), p = sheet.At(imageX + x, imageY + y);
                ASSERT_TRUE(m == White || m == Black) << "mask (" << maskX + x << ", " << maskY + y << ")";
                if (m == White)
                    ASSERT_NE(p, White) << "opaque but undrawn at (" << imageX + x << ", " << imageY + y << ")";
                else
                    ASSERT_EQ(p, White) << "transparent but drawn at (" << imageX + x << ", " << imageY + y << ")";
            }
    }
    Surface sheet;
};

TEST_F(BlockSheetTest, LayoutOfTheSheet) {
    ASSERT_EQ(sheet.width, 640);
    ASSERT_EQ(sheet.height, 448);
    // Column 0: kind 0 draws nothing: black mask, white everywhere below.
    for (int y = 0; y < 448; ++y)
        for (int x = 0; x < 32; ++x) ASSERT_EQ(sheet.At(x, y), y < 32 ? Black : White) << x << "," << y;
    // Blocks are opaque over their whole cell, so neighbouring ropes touch.
    for (int kind = 1; kind <= 13; ++kind)
        for (int y = 0; y < 32; ++y)
            for (int x = 0; x < 32; ++x) ASSERT_EQ(sheet.At(32 * kind + x, y), White) << "kind " << kind;
    // The cells the renderer never reads stay white.
    for (int row = 2; row < RowsBelowMasks; ++row)
        for (int col : {14, 15, 16, 17, 18, 19}) {
            if (col == 18 && (row == 2 || row == 3)) continue;  // grid cell, erase mark
            for (int y = 0; y < 32; ++y)
                for (int x = 0; x < 32; ++x) ASSERT_EQ(sheet.At(32 * col + x, 32 * row + y), White);
        }
}

TEST_F(BlockSheetTest, EveryImageAgreesWithItsMask) {
    for (int kind = 1; kind <= 13; ++kind)
        for (int row = 1; row < RowsBelowMasks; ++row) ExpectSpriteAgrees(32 * kind, 32 * row, 32 * kind, 0);
    for (int col = 14; col <= 17; ++col) ExpectSpriteAgrees(32 * col, 32, 32 * col, 0);  // fish
    ExpectSpriteAgrees(608, 32, 608, 0);                                               // frame marker
}

TEST_F(BlockSheetTest, SpritesAreNeitherEmptyNorFull) {
    // Fish and the frame marker must show something and leave the rest of
    // the cell to what lies below.
    for (int col : {14, 15, 16, 17, 19}) {
        int opaque = 0;
        for (int y = 0; y < 32; ++y)
            for (int x = 0; x < 32; ++x) opaque += sheet.At(32 * col + x, y) == White;
        EXPECT_GT(opaque, 100) << "column " << col;
        EXPECT_LT(opaque, 800) << "column " << col;
    }
    // The frame marker keeps the block's middle visible.
    EXPECT_EQ(sheet.At(608 + 16, 16), Black);
    // Swimming left and right are mirror images.
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x) ASSERT_EQ(sheet.At(448 + x, y), sheet.At(512 + 31 - x, y));
}

TEST_F(BlockSheetTest, RopesLeaveThroughExactlyTheirSides) {
    for (int kind = 1; kind <= 13; ++kind)
        for (int row = 1; row < RowsBelowMasks; ++row)
            for (int side = 0; side < 4; ++side) {
                bool expected = kind <= 11 && RopeSides[kind][side] != 0;
                EXPECT_EQ(RopeAtMiddle(32 * kind, 32 * row, side), expected)
                    << "kind " << kind << " row " << row << " side " << side;
            }
}

TEST_F(BlockSheetTest, JoinedRopesMeetEdgeToEdge) {
    // The rope crosses every edge it leaves through on the same span,
    // centred on the middle, whatever the kind or colour, so the ropes of
    // two joined blocks line up.
    for (int side = 0; side < 4; ++side)
        for (int kind = 1; kind <= 11; ++kind) {
            if (!RopeSides[kind][side]) continue;
            for (int row = 1; row < RowsBelowMasks; ++row) {
                auto [first, last] = RopeSpan(32 * kind, 32 * row, side);
                EXPECT_EQ(first + last, 31) << "kind " << kind << " row " << row << " side " << side;
                EXPECT_GE(last - first + 1, 8) << "kind " << kind << " row " << row << " side " << side;
                EXPECT_LE(last - first + 1, 12) << "kind " << kind << " row " << row << " side " << side;
            }
        }
}

TEST_F(BlockSheetTest, ColourVariantsTellNetworksApart) {
    // The rope of a straight piece at the cell's middle, in each colour row:
    // every two variants of a palette differ clearly, and each differs from
    // the plain row.
    for (int shift : {0, SafePaletteRowShift})
        for (int a = 1; a < 8; ++a)
            for (int b = a + 1; b < 8; ++b) {
                int ra = a == 1 ? 1 : a + shift, rb = b + shift;
                EXPECT_GT(Difference(sheet.At(32 + 8, 32 * ra + 16), sheet.At(32 + 8, 32 * rb + 16)), 90)
                    << "rows " << ra << " and " << rb;
            }
}

// CIE L*a*b* of an sRGB pixel seen through a linear-RGB vision matrix
// (Machado, Oliveira and Fernandes 2009, severity 1), D65 white.
using Vision = std::array<std::array<double, 3>, 3>;
std::array<double, 3> LabSeen(uint32_t pixel, const Vision& m) {
    auto linear = [](int c) {
        double v = c / 255.0;
        return v <= 0.04045 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
    };
    double rgb[3] = {linear(pixel >> 16 & 255), linear(pixel >> 8 & 255), linear(pixel & 255)}, seen[3];
    for (int i = 0; i < 3; ++i) seen[i] = std::clamp(m[i][0] * rgb[0] + m[i][1] * rgb[1] + m[i][2] * rgb[2], 0.0, 1.0);
    double x = (0.4124564 * seen[0] + 0.3575761 * seen[1] + 0.1804375 * seen[2]) / 0.95047;
    double y = 0.2126729 * seen[0] + 0.7151522 * seen[1] + 0.0721750 * seen[2];
    double z = (0.0193339 * seen[0] + 0.1191920 * seen[1] + 0.9503041 * seen[2]) / 1.08883;
    auto f = [](double t) { return t > 216.0 / 24389 ? std::cbrt(t) : (24389.0 / 27 * t + 16) / 116; };
    return {116 * f(y) - 16, 500 * (f(x) - f(y)), 200 * (f(y) - f(z))};
}

// The closest two of the plain rope and a palette's six network colours,
// as each vision sees them (CIE76).
double ClosestPair(const Surface& sheet, int shift, const Vision& m) {
    double closest = 1e9;
    for (int a = 1; a < 8; ++a)
        for (int b = a + 1; b < 8; ++b) {
            int ra = a == 1 ? 1 : a + shift, rb = b + shift;
            auto la = LabSeen(sheet.At(32 + 8, 32 * ra + 16), m), lb = LabSeen(sheet.At(32 + 8, 32 * rb + 16), m);
            closest = std::min(closest, std::hypot(la[0] - lb[0], la[1] - lb[1], la[2] - lb[2]));
        }
    return closest;
}

// The safe palette keeps every two networks (and the plain rope) at least
// 20 apart for normal vision and for each kind of colour blindness; the
// classic palette does not (which also shows the simulation at work).
TEST_F(BlockSheetTest, TheSafePaletteStaysApartForEveryVision) {
    const struct {
        const char* name;
        Vision m;
    } visions[] = {
        {"normal", {{{1, 0, 0}, {0, 1, 0}, {0, 0, 1}}}},
        {"protanopia", {{{0.152286, 1.052583, -0.204868}, {0.114503, 0.786281, 0.099216}, {-0.003882, -0.048116, 1.051998}}}},
        {"deuteranopia", {{{0.367322, 0.860646, -0.227968}, {0.280085, 0.672501, 0.047413}, {-0.011820, 0.042940, 0.968881}}}},
        {"tritanopia", {{{1.255528, -0.076749, -0.178779}, {-0.078411, 0.930809, 0.147602}, {0.004733, 0.691367, 0.303900}}}},
    };
    constexpr double Apart = 20;
    std::string table = "closest pair (CIE76): vision, classic, safe\n";
    for (const auto& v : visions) {
        double classic = ClosestPair(sheet, 0, v.m), safe = ClosestPair(sheet, SafePaletteRowShift, v.m);
        char line[96];
        std::snprintf(line, sizeof line, "%-13s %5.1f %5.1f\n", v.name, classic, safe);
        table += line;
        EXPECT_GE(safe, Apart) << v.name;
        if (std::string(v.name) != "normal") {
            EXPECT_LT(classic, Apart) << v.name;
        }
    }
    std::printf("%s", table.c_str());
}

TEST_F(BlockSheetTest, BackgroundTileAndGridCell) {
    // The tile is ANDed over the sky: it must be light everywhere.
    int patterned = 0;
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x) {
            uint32_t p = sheet.At(576 + x, 32 + y);
            ASSERT_GE(int(p >> 16 & 255), 200);
            ASSERT_GE(int(p >> 8 & 255), 200);
            ASSERT_GE(int(p & 255), 200);
            patterned += p != White;
        }
    EXPECT_GT(patterned, 0);
    // Grid cell: white inside, a thin darker border all round.
    for (int i = 0; i < 32; ++i)
        for (int side = 0; side < 4; ++side) ASSERT_NE(Edge(576, 64, side, i), White) << side << "," << i;
    for (int y = 1; y < 31; ++y)
        for (int x = 1; x < 31; ++x) ASSERT_EQ(sheet.At(576 + x, 64 + y), White);
}

TEST(GameIconTest, SquareAndDrawn) {
    Surface icon;
    LoadSheet(ArtGameIcon, icon);
    ASSERT_GE(icon.width, 32);
    EXPECT_EQ(icon.width, icon.height);
    int white = 0;
    for (uint32_t p : icon.pixels) white += p == White;
    EXPECT_LT(white, int(icon.pixels.size()) / 4);
}
}  // namespace

// A cross must not read as a knot whose missing end a neighbour's rope
// covers: in the corner between two ends both have, their middles differ.
TEST_F(BlockSheetTest, CrossMiddleLooksUnlikeEveryKnot) {
    struct Quadrant { int kind, dx, dy; };  // toward two of the knot's ends
    const Quadrant quadrants[] = {{7, -1, 1}, {8, -1, -1}, {9, -1, -1}, {10, 1, -1}};
    for (const Quadrant& q : quadrants) {
        int differing = 0;
        for (int a = 1; a <= 8; ++a)
            for (int b = 1; a + b <= 8; ++b) {
                int x = 16 + q.dx * a, y = 16 + q.dy * b;
                differing += Difference(sheet.At(32 * Cross + x, 32 + y), sheet.At(32 * q.kind + x, 32 + y)) > 60;
            }
        EXPECT_GE(differing, 6) << "kind " << q.kind;
    }
}
