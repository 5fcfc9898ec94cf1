// The font sheet: which cells carry glyphs, masks that match their images,
// arrows pointing the right way and goal labels where the status panel reads them.
#include <string>
#include <utility>
#include <vector>

#include "resources/resources.h"
#include "draw/kana_layout.h"
#include "tests/test_support.h"

namespace {
class FontSheetTest : public ::testing::Test {
protected:
    void SetUp() override { LoadSheet(ArtFontSheet, sheet); }
    // Opaque mask pixels in the image rectangle (x, y, w, h).
    int Ink(int x, int y, int w, int h) const {
        int n = 0;
        for (int j = 0; j < h; ++j)
            for (int i = 0; i < w; ++i) n += sheet.At(x + i, y + j + 256) == White;
        return n;
    }
    int GlyphInk(int code, int x, int y, int w, int h) const {
        int g = code - 32;
        return Ink(16 * (g % 16) + x, 16 * (g / 16) + y, w, h);
    }
    Surface sheet;
};

TEST_F(FontSheetTest, SizeAndMaskAgreement) {
    ASSERT_EQ(sheet.width, 256);
    ASSERT_EQ(sheet.height, 512);
    for (int y = 0; y < 256; ++y)
        for (int x = 0; x < 256; ++x) {
            uint32_t m = sheet.At(x, y + 256), p = sheet.At(x, y);
            ASSERT_TRUE(m == White || m == Black) << x << "," << y;
            if (m == White)
                ASSERT_NE(p, White) << x << "," << y;
            else
                ASSERT_EQ(p, White) << x << "," << y;
        }
}

TEST_F(FontSheetTest, GlyphCellsDrawnAndBlank) {
    std::string drawn = "()*-./0123456789<>ABCDEFGHIJKLMNOPQRSTUVWXYZ[]";
    for (int code = 32; code < 96; ++code) {
        int ink = GlyphInk(code, 0, 0, 16, 16);
        if (drawn.find(char(code)) != std::string::npos)
            EXPECT_GT(ink, 20) << "'" << char(code) << "' has no drawing";
        else
            EXPECT_EQ(ink, 0) << "'" << char(code) << "' should be blank";
    }
    // A glyph keeps to its cell with a clear pixel on every side, so text
    // with 16-pixel advance never runs together.
    for (char c : drawn) {
        EXPECT_EQ(GlyphInk(c, 0, 0, 1, 16), 0) << c;
        EXPECT_EQ(GlyphInk(c, 15, 0, 1, 16), 0) << c;
        EXPECT_EQ(GlyphInk(c, 0, 0, 16, 1), 0) << c;
        EXPECT_EQ(GlyphInk(c, 0, 15, 16, 1), 0) << c;
    }
    // Rows 14 and 15 are blank.
    EXPECT_EQ(Ink(0, 224, 256, 32), 0);
}

// The narrow face (8 x 16 cells from y 192): every letter, digit and mark
// the English texts use, each inside its own cell with a clear column on
// either side of its ink, so 8-pixel text never runs together.
TEST_F(FontSheetTest, NarrowFaceCellsDrawnAndBlank) {
    const std::string drawn = "!'()+,-./0123456789:<=>?ABCDEFGHIJKLMNOPQRSTUVWXYZ";
    for (int code = 32; code < 96; ++code) {
        int g = code - 32, x = 8 * (g % 32), y = 192 + 16 * (g / 32);
        if (drawn.find(char(code)) == std::string::npos) {
            EXPECT_EQ(Ink(x, y, 8, 16), 0) << "'" << char(code) << "' should be blank";
            continue;
        }
        EXPECT_GT(Ink(x, y, 8, 16), 6) << "'" << char(code) << "' has no drawing";
        // The edge columns hold at most the dark outline, never the light ink.
        for (int row = 0; row < 16; ++row)
            for (int edge : {x, x + 7}) {
                uint32_t p = sheet.At(edge, y + row);
                EXPECT_TRUE(p == White || p == Rgb(22, 30, 82)) << "'" << char(code) << "' row " << row;
            }
    }
}

TEST_F(FontSheetTest, ArrowsAndPointersPointTheirWay) {
    // A pointed end has fewer inked pixels across it than the blunt end.
    auto ends = [&](int code, bool vertical) {
        std::vector<int> counts;
        for (int i = 0; i < 16; ++i) {
            int n = vertical ? GlyphInk(code, 0, i, 16, 1) : GlyphInk(code, i, 0, 1, 16);
            if (n > 0) counts.push_back(n);
        }
        return std::pair{counts.front(), counts.back()};  // top or left, bottom or right
    };
    EXPECT_GT(ends('(', true).first, ends('(', true).second) << "( points down";
    EXPECT_LT(ends(')', true).first, ends(')', true).second) << ") points up";
    for (int code : {'<', '['}) EXPECT_LT(ends(code, false).first, ends(code, false).second) << char(code) << " points left";
    for (int code : {'>', ']'}) EXPECT_GT(ends(code, false).first, ends(code, false).second) << char(code) << " points right";
    // "*" is a multiplication sign: ink at the middle and on both diagonals,
    // none straight above or below the middle.
    EXPECT_GT(GlyphInk('*', 7, 7, 2, 2), 0);
    EXPECT_GT(GlyphInk('*', 4, 4, 2, 2), 0);
    EXPECT_GT(GlyphInk('*', 10, 4, 2, 2), 0);
    EXPECT_EQ(GlyphInk('*', 7, 0, 2, 3), 0);
}

// Each goal label as the status panel takes it: position, width, and which
// 16-pixel cells hold a letter ('x') or a space ('.').
struct LabelCase {
    int x, y, width;
    const char* cells;
};
const LabelCase Labels[] = {
    {0, 64, 96, "xxx.xx"},                    // レンサ セヨ
    {0, 80, 112, "xxxx.xx"},                  // ブロック ケセ
    {0, 96, 192, "xxxx.xxxx.xx"},             // ブロック ドウジニ ケセ
    {0, 112, 208, "xxxxxx.xxx.xx"},           // ワクブロック スベテ ケセ
    {0, 128, 240, "xxxxxx.xxx.xxxx"},         // ワクブロック スベテ ドウジニ
    {176, 112, 80, "xx..."},                  // ケセ, the end of goal type 4's line
    {0, 144, 64, "xxxx"},                     // メンセキ
    {80, 144, 144, "x.xxx.xxx"},              // ノ ループ ツクレ
    {0, 176, 48, "xxx"},                      // サカナ
    {64, 176, 112, "xx.xxxx"},                // ヒキ トラエヨ
};

TEST_F(FontSheetTest, GoalLabelsWhereThePanelReadsThem) {
    for (const LabelCase& l : Labels) {
        std::string cells = l.cells;
        ASSERT_EQ(int(cells.size()) * 16, l.width);
        for (size_t i = 0; i < cells.size(); ++i) {
            int ink = Ink(l.x + 16 * int(i), l.y, 16, 16);
            if (cells[i] == 'x')
                EXPECT_GT(ink, 20) << "label (" << l.x << ", " << l.y << ") cell " << i;
            else
                EXPECT_EQ(ink, 0) << "label (" << l.x << ", " << l.y << ") cell " << i;
        }
    }
    // "Pts.トレ" fills its 80 pixels and stops there.
    EXPECT_GT(Ink(0, 160, 16, 16), 20);
    EXPECT_GT(Ink(64, 160, 16, 16), 0);
    // Everything the table leaves out of the label rows is blank.
    EXPECT_EQ(Ink(96, 64, 160, 16), 0);
    EXPECT_EQ(Ink(112, 80, 144, 16), 0);
    EXPECT_EQ(Ink(192, 96, 64, 16), 0);
    EXPECT_EQ(Ink(240, 128, 16, 16), 0);
    EXPECT_EQ(Ink(64, 144, 16, 16), 0);
    EXPECT_EQ(Ink(224, 144, 32, 16), 0);
    EXPECT_EQ(Ink(80, 160, 176, 16), 0);
    EXPECT_EQ(Ink(48, 176, 16, 16), 0);
    EXPECT_EQ(Ink(176, 176, 80, 16), 0);
}
}  // namespace

// The katakana sheet: a drawn cell for every katakana in its order, masks
// that match the images, and nothing beyond the last one.
TEST(KanaSheetTest, EveryKatakanaDrawnInItsCell) {
    Surface kana;
    LoadSheet(ArtKanaSheet, kana);
    ASSERT_EQ(kana.width, KanaSheetWidth);
    ASSERT_EQ(kana.height, KanaSheetHeight);
    const int count = int(KanaOrder.size() / 3);
    ASSERT_LE(count, 16 * KanaRows);
    for (int cell = 0; cell < 16 * KanaRows; ++cell) {
        int x = 16 * (cell % 16), y = 16 * (cell / 16), ink = 0;
        for (int j = 0; j < 16; ++j)
            for (int i = 0; i < 16; ++i) {
                uint32_t mask = kana.At(x + i, y + j + KanaMaskOffset), image = kana.At(x + i, y + j);
                ASSERT_TRUE(mask == White ? image != White : (mask == Black && image == White)) << cell;
                ink += mask == White;
            }
        if (cell < count) EXPECT_GT(ink, 20) << KanaOrder.substr(3 * size_t(cell), 3) << " has no drawing";
        else EXPECT_EQ(ink, 0) << "cell " << cell << " past the last katakana";
    }
}
