#include "draw/surface.h"

#include <gtest/gtest.h>

namespace {
Surface Filled(int w, int h, uint32_t colour) {
    Surface s;
    s.Create(w, h);
    FillRect(s, 0, 0, w, h, colour);
    return s;
}

// Source whose pixel value encodes its own coordinates, so a copy shows
// exactly which source pixel landed where.
Surface Numbered(int w, int h) {
    Surface s;
    s.Create(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) s.At(x, y) = uint32_t(y * 256 + x + 1);
    return s;
}
}  // namespace

TEST(Surface, CreateIsWhite) {
    Surface s;
    s.Create(3, 2);
    for (uint32_t p : s.pixels) EXPECT_EQ(p, White);
}

TEST(BitBltClipping, NegativeDestinationSkipsTheHiddenPart) {
    Surface dst = Filled(10, 10, 0);
    Surface src = Numbered(4, 4);
    BitBlt(dst, -2, -1, 4, 4, src, 0, 0, Rop::Copy);
    EXPECT_EQ(dst.At(0, 0), src.At(2, 1));
    EXPECT_EQ(dst.At(1, 2), src.At(3, 3));
    EXPECT_EQ(dst.At(2, 0), 0u);
    EXPECT_EQ(dst.At(0, 3), 0u);
}

TEST(BitBltClipping, EveryEdgeOfTheDestination) {
    Surface src = Numbered(4, 4);
    Surface dst = Filled(6, 6, 0);
    BitBlt(dst, 4, 4, 4, 4, src, 0, 0, Rop::Copy);  // hangs over right and bottom
    EXPECT_EQ(dst.At(5, 5), src.At(1, 1));
    EXPECT_EQ(dst.At(3, 3), 0u);
    Surface dst2 = Filled(6, 6, 0);
    BitBlt(dst2, 100, 0, 4, 4, src, 0, 0, Rop::Copy);  // entirely outside
    BitBlt(dst2, 0, -10, 4, 4, src, 0, 0, Rop::Copy);
    for (uint32_t p : dst2.pixels) EXPECT_EQ(p, 0u);
}

TEST(BitBltClipping, SourceOutsideItsSurfaceDrawsNothingThere) {
    Surface src = Numbered(4, 4);
    Surface dst = Filled(8, 8, 0);
    BitBlt(dst, 0, 0, 4, 4, src, 2, -1, Rop::Copy);
    EXPECT_EQ(dst.At(0, 0), 0u);            // source row -1 does not exist
    EXPECT_EQ(dst.At(0, 1), src.At(2, 0));
    EXPECT_EQ(dst.At(1, 3), src.At(3, 2));
    EXPECT_EQ(dst.At(2, 1), 0u);            // source column 4 does not exist
}

TEST(BitBltRops, OrAndAndCombinePixels) {
    Surface dst = Filled(2, 1, 0x00F0F0F0);
    Surface src = Filled(2, 1, 0x000FF00F);
    BitBlt(dst, 0, 0, 1, 1, src, 0, 0, Rop::Or);
    BitBlt(dst, 1, 0, 1, 1, src, 0, 0, Rop::And);
    EXPECT_EQ(dst.At(0, 0), 0x00FFF0FFu);
    EXPECT_EQ(dst.At(1, 0), 0x0000F000u);
}

TEST(BitBltRops, MaskThenImageDrawsASprite) {
    // Mask white where transparent... the sheet keeps masks white where opaque:
    // ORing the mask whitens the sprite's area, ANDing the image paints it.
    Surface dst = Filled(2, 1, Rgb(10, 20, 30));
    Surface mask = Filled(2, 1, Black);
    mask.At(0, 0) = White;
    Surface image = Filled(2, 1, White);
    image.At(0, 0) = Rgb(200, 0, 0);
    BitBlt(dst, 0, 0, 2, 1, mask, 0, 0, Rop::Or);
    BitBlt(dst, 0, 0, 2, 1, image, 0, 0, Rop::And);
    EXPECT_EQ(dst.At(0, 0), Rgb(200, 0, 0));
    EXPECT_EQ(dst.At(1, 0), Rgb(10, 20, 30));
}

TEST(FillRect, IsClipped) {
    Surface dst = Filled(4, 4, 0);
    FillRect(dst, -1, 2, 3, 5, White);
    EXPECT_EQ(dst.At(0, 2), White);
    EXPECT_EQ(dst.At(1, 3), White);
    EXPECT_EQ(dst.At(2, 2), 0u);
    EXPECT_EQ(dst.At(0, 1), 0u);
}
