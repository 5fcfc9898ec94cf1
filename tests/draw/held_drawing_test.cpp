#include "draw/held_drawing.h"

#include <gtest/gtest.h>

#include <random>

namespace {
constexpr int W = 100, H = 70;  // not whole squares, so the edges are cut

Surface Numbered(int w, int h, uint32_t salt) {
    Surface s;
    s.Create(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) s.At(x, y) = (uint32_t(y * 977 + x * 131) ^ salt) & 0xFFFFFF;
    return s;
}

struct Scene {
    Surface sheet = Numbered(64, 48, 0x5A5A5A), column = Numbered(1, H, 0x123456), tile = Numbered(7, 5, 0xF0F0F0);
};

// One frame's drawing into `dst`: a cover of the whole picture (unless the
// frame is one without), sprites that stay where they were, sprites that
// move, two that change places in the order of drawing, and now and then
// a copy of the picture's own pixels.
void DrawFrame(Scene& s, Surface& dst, int frame, std::mt19937& moving, bool cover, bool selfCopy) {
    if (cover) BitBltRepeated(dst, 0, 0, W, H, s.column, W, H, 0, 0, Rop::Copy);
    BitBltRepeated(dst, 10, 12, 50, 40, s.tile, W, H, 10, 12, Rop::And);
    BitBlt(dst, 60, 40, 16, 16, s.sheet, 8, 8, Rop::Or);
    FillRect(dst, 90, 60, 20, 20, 0x00FF00);  // over the corner
    const Rop rops[] = {Rop::Copy, Rop::Or, Rop::And};
    for (int i = 0; i < 6; ++i) {
        int x = int(moving() % 130) - 20, y = int(moving() % 100) - 20;
        int w = 1 + int(moving() % 40), h = 1 + int(moving() % 40);
        BitBlt(dst, x, y, w, h, s.sheet, int(moving() % 40) - 8, int(moving() % 30) - 4, rops[moving() % 3]);
    }
    BitBlt(dst, frame % W, 30, 16, 16, s.sheet, 0, 0, Rop::And);  // steps right each frame
    // Two sprites over each other, drawn in the other order every third frame.
    auto first = [&] { BitBlt(dst, 20, 50, 12, 12, s.sheet, 0, 0, Rop::Copy); };
    auto second = [&] { BitBlt(dst, 26, 54, 12, 12, s.sheet, 30, 20, Rop::Copy); };
    if (frame % 3 == 0) second(), first();
    else first(), second();
    if (selfCopy) BitBlt(dst, 0, 0, 20, 20, dst, 40, 30, Rop::Copy);
}
}  // namespace

// Frame after frame, held drawing ends in the pixels drawing at once gives,
// and every pixel that changed lies in the areas said to have changed: with
// and without a cover, with a sheet changed between frames, with the same
// operations in another order, with a copy of
// the picture's own pixels, and with a frame drawn and never shown.
TEST(HeldDrawing, GivesThePixelsOfDrawingAtOnceAndSaysWhereTheyChanged) {
    Scene heldScene, onceScene;
    Surface held, once;
    held.Create(W, H);
    once.Create(W, H);
    HoldDrawingOf(&held);
    std::vector<uint32_t> before = once.pixels;
    for (int frame = 0; frame < 120; ++frame) {
        SCOPED_TRACE(frame);
        const bool cover = frame % 17 != 5, selfCopy = frame % 23 == 9, unshown = frame % 29 == 13;
        if (frame % 19 == 7)  // a sheet changes between frames
            for (Scene* s : {&heldScene, &onceScene}) FillRect(s->sheet, 8, 8, 4, 4, uint32_t(frame));
        // The moving sprites move every other frame: the rest repeat the frame before.
        const unsigned seed = unsigned(frame / 2);
        std::mt19937 a(seed), b(seed);
        DrawFrame(heldScene, held, frame, a, cover, selfCopy);
        DrawFrame(onceScene, once, frame, b, cover, selfCopy);
        if (unshown) continue;
        ShowHeldDrawing();
        ASSERT_EQ(held.pixels, once.pixels);
        const std::vector<DrawnArea>& areas = TakeChangedAreas();
        for (int y = 0; y < H; ++y)
            for (int x = 0; x < W; ++x) {
                if (once.At(x, y) == before[size_t(y) * W + size_t(x)]) continue;
                bool inside = false;
                for (const DrawnArea& r : areas)
                    inside |= x >= r.x && x < r.x + r.w && y >= r.y && y < r.y + r.h;
                ASSERT_TRUE(inside) << "pixel " << x << "," << y << " changed outside the areas";
            }
        before = once.pixels;
    }
    HoldDrawingOf(nullptr);
}

// A frame that repeats the one before changes nothing, and says so; one
// sprite moved changes only the squares it left and entered.
TEST(HeldDrawing, AnUnchangedFrameSendsNothingAndAMovedSpriteLittle) {
    Scene s;
    Surface held;
    held.Create(W, H);
    HoldDrawingOf(&held);
    auto frame = [&](int x) {
        BitBltRepeated(held, 0, 0, W, H, s.column, W, H, 0, 0, Rop::Copy);
        BitBlt(held, x, 20, 16, 16, s.sheet, 0, 0, Rop::Copy);
        ShowHeldDrawing();
        return TakeChangedAreas();
    };
    frame(0);
    frame(0);
    EXPECT_TRUE(frame(0).empty());
    int area = 0;
    for (const DrawnArea& r : frame(4)) area += r.w * r.h;
    EXPECT_GT(area, 0);
    EXPECT_LE(area, 32 * 32);  // the squares under its two places, not the picture
    HoldDrawingOf(nullptr);
}
