// The title logo (mask ANDed, picture ORed) and the editor's own sheet and icon.
#include "resources/editor/editor_sheet.h"
#include "resources/resources.h"
#include "tests/test_support.h"

namespace {
TEST(LogoSheetTest, PictureOnBlackOverItsMask) {
    Surface logo;
    LoadSheet(ArtLogoSheet, logo);
    ASSERT_EQ(logo.width, 300);
    ASSERT_EQ(logo.height, 300);
    int opaque = 0;
    for (int y = 0; y < 150; ++y)
        for (int x = 0; x < 300; ++x) {
            uint32_t m = logo.At(x, y + 150), p = logo.At(x, y);
            ASSERT_TRUE(m == White || m == Black) << x << "," << y;
            if (m == Black) {
                ASSERT_NE(p, Black) << "covered but undrawn at " << x << "," << y;
                ++opaque;
            } else {
                ASSERT_EQ(p, Black) << "transparent but drawn at " << x << "," << y;
            }
        }
    EXPECT_GT(opaque, 300 * 150 / 6);
    EXPECT_LT(opaque, 300 * 150 * 3 / 4);
    // Nothing is cut off at the picture's edges.
    for (int x = 0; x < 300; ++x) {
        EXPECT_EQ(logo.At(x, 150), White);
        EXPECT_EQ(logo.At(x, 299), White);
    }
    for (int y = 150; y < 300; ++y) {
        EXPECT_EQ(logo.At(0, y), White);
        EXPECT_EQ(logo.At(299, y), White);
    }
}

TEST(LogoSheetTest, TitleScreenShowsTheLogoOverTheSky) {
    // Composed the way the title screen does: mask ANDed, picture ORed at (42, 96).
    Surface logo, screen;
    LoadSheet(ArtLogoSheet, logo);
    screen.Create(384, 480);
    FillRect(screen, 0, 0, 384, 480, Rgb(100, 170, 230));
    BitBlt(screen, 42, 96, 300, 150, logo, 0, 150, Rop::And);
    BitBlt(screen, 42, 96, 300, 150, logo, 0, 0, Rop::Or);
    int changed = 0;
    for (int y = 96; y < 246; ++y)
        for (int x = 42; x < 342; ++x) {
            bool covered = logo.At(x - 42, y - 96 + 150) == Black;
            ASSERT_EQ(screen.At(x, y), covered ? logo.At(x - 42, y - 96) : Rgb(100, 170, 230)) << x << "," << y;
            changed += covered;
        }
    EXPECT_GT(changed, 0);
}

class EditorSheetTest : public ::testing::Test {
protected:
    void SetUp() override { LoadSheet(ArtBlockSheet, blocks); }
    uint32_t Editor(int x, int y) const { return EditorSheetPixels()[y * EditorSheetWidth + x]; }
    Surface blocks;
};

TEST_F(EditorSheetTest, PlainRowShowsTheGamesBlocks) {
    ASSERT_EQ(EditorSheetWidth, 448);
    ASSERT_EQ(EditorSheetHeight, 64);
    // The editor shows each piece exactly as the game's plain block.
    for (int kind = 1; kind <= 13; ++kind)
        for (int y = 0; y < 32; ++y)
            for (int x = 0; x < 32; ++x)
                ASSERT_EQ(Editor(32 * kind + x, y), blocks.At(32 * kind + x, 32 + y)) << "kind " << kind;
    // The empty cell is one plain colour apart from its grid line.
    EXPECT_EQ(Editor(16, 16), Editor(8, 24));
}

TEST_F(EditorSheetTest, FramedRowAddsTheMarkerAroundTheSamePiece) {
    for (int kind = 1; kind <= 11; ++kind) {
        // The middle of the piece is unchanged, the corners carry the marker.
        EXPECT_EQ(Editor(32 * kind + 16, 48), Editor(32 * kind + 16, 16)) << kind;
        for (int corner : {0, 1, 2, 3}) {
            int x = 32 * kind + (corner % 2 ? 29 : 2), y = 32 + (corner / 2 ? 29 : 2);
            EXPECT_NE(Editor(x, y), Editor(x, y - 32)) << "kind " << kind << " corner " << corner;
        }
    }
}

TEST_F(EditorSheetTest, EntryMarkerIsADownwardArrow) {
    // Width of the arrow (pixels unlike the empty cell) in each row: it
    // widens into the head below a narrower shaft, and ends in a point.
    const uint32_t empty = Editor(16, 16);
    int widest = 0, widestRow = 0, shaft = 0, lowest = 0, lowestWidth = 0;
    for (int y = 1; y < 32; ++y) {
        int w = 0;
        for (int x = 1; x < 32; ++x) w += Editor(x, 32 + y) != empty;
        if (w > widest) widest = w, widestRow = y;
        if (y == 8) shaft = w;
        if (w > 0) lowest = y, lowestWidth = w;
    }
    EXPECT_GT(widestRow, 8);  // the head lies below the shaft
    EXPECT_LT(shaft, widest);
    EXPECT_GT(lowest, widestRow);
    EXPECT_LT(lowestWidth, shaft);
}

TEST(EditorIconTest, RoundShapeOnTransparentGround) {
    int size = 0;
    const uint32_t* icon = EditorIconPixels(&size);
    ASSERT_GE(size, 32);
    auto alpha = [&](int x, int y) { return icon[y * size + x] >> 24; };
    EXPECT_EQ(alpha(size - 1, 0), 0u);   // top-right corner is see-through
    EXPECT_EQ(alpha(0, size - 1), 0u);   // so is bottom-left
    EXPECT_EQ(alpha(size / 4, size / 4), 255u);
    EXPECT_GT(alpha(size * 3 / 4, size * 3 / 4), 0u);  // the pencil
}
}  // namespace
