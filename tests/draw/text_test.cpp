#include "draw/text.h"

#include <gtest/gtest.h>

#include <string>

#include "draw/surfaces.h"
#include "tests/test_support.h"

namespace {
constexpr uint32_t Ground = 0x123456;

// A font sheet whose glyph g paints its left half in a colour that names it
// and leaves its right half transparent; glyph 0 (space) is blank.
class GlyphTextTest : public ::testing::Test {
protected:
    void SetUp() override {
        FreshProgram();
        FontSheet.Create(256, 512);
        FillRect(FontSheet, 0, 256, 256, 256, Black);
        for (int g = 1; g < 128; ++g) {
            int x = 16 * (g % 16), y = 16 * (g / 16);
            FillRect(FontSheet, x, y, 8, 16, GlyphColour(g));
            FillRect(FontSheet, x, y + 256, 8, 16, White);
        }
        BackBuffer.Create(384, 480);
        FillRect(BackBuffer, 0, 0, 384, 480, Ground);
    }
    static uint32_t GlyphColour(int g) { return Rgb(g, 200, 100); }
    static bool Untouched(int x0, int y0, int w, int h) {
        for (int y = y0; y < y0 + h; ++y)
            for (int x = x0; x < x0 + w; ++x)
                if (BackBuffer.At(x, y) != Ground) return false;
        return true;
    }
};
}  // namespace

TEST_F(GlyphTextTest, BlankGlyphsAndEmptyTextLeaveTheBackground) {
    DrawGlyphText("", 10, 10);
    DrawGlyphText("   ", 10, 10);
    EXPECT_TRUE(Untouched(0, 0, 384, 480));
}

TEST_F(GlyphTextTest, FishCountReadsTimesZeroFive) {
    const char* text = FormatText("*%02d", 5);
    EXPECT_STREQ(text, "*05");
    DrawGlyphText(text, 8, 232);
    EXPECT_EQ(BackBuffer.At(8, 232), GlyphColour('*' - 32));
    EXPECT_EQ(BackBuffer.At(24 + 7, 247), GlyphColour('0' - 32));
    EXPECT_EQ(BackBuffer.At(40, 240), GlyphColour('5' - 32));
    EXPECT_EQ(BackBuffer.At(40 + 8, 240), Ground);  // transparent half
    EXPECT_TRUE(Untouched(56, 232, 16, 16));         // nothing past the third glyph
}

TEST_F(GlyphTextTest, CodesFrom96To127DrawPiecesOfTheLabelRows) {
    char text[] = {char(96), char(127), 0};
    DrawGlyphText(text, 0, 0);
    EXPECT_EQ(BackBuffer.At(0, 0), GlyphColour(64));   // row 4, first cell
    EXPECT_EQ(BackBuffer.At(16, 0), GlyphColour(95));  // row 5, last cell
}

TEST_F(GlyphTextTest, CodesAbove127DrawNothingButAdvance) {
    char text[] = {char(0xC8), 'A', 0};
    DrawGlyphText(text, 100, 100);
    EXPECT_TRUE(Untouched(100, 100, 16, 16));
    EXPECT_EQ(BackBuffer.At(116, 100), GlyphColour('A' - 32));
}

TEST_F(GlyphTextTest, ClippedAtTheBackBufferEdges) {
    DrawGlyphText("AB", -4, -4);
    DrawGlyphText("AB", 376, 472);
    EXPECT_EQ(BackBuffer.At(0, 0), GlyphColour('A' - 32));  // the visible part of the first glyph
    EXPECT_EQ(BackBuffer.At(376, 472), GlyphColour('A' - 32));
}

TEST(FormatText, NeverOverrunsItsBuffer) {
    std::string longName(200, 'W');
    const char* text = FormatText("%d. %s", -2147483647 - 1, longName.c_str());
    EXPECT_EQ(std::string(text).size(), 63u);
    EXPECT_EQ(std::string(text).substr(0, 13), "-2147483648. ");
}

TEST(SmallText, FrameRateIsWhiteOnTheBackground) {
    FreshProgram();
    BackBuffer.Create(384, 480);
    FillRect(BackBuffer, 0, 0, 384, 480, Ground);
    DrawSmallText(FormatText("FPS %d", 40), 6, 468);
    int white = 0;
    for (int y = 468; y < 480; ++y)
        for (int x = 6; x < 6 + 6 * 7; ++x) white += BackBuffer.At(x, y) == White;
    EXPECT_GT(white, 40);
    EXPECT_TRUE(BackBuffer.At(5, 470) == Ground && BackBuffer.At(6, 467) == Ground);
}
