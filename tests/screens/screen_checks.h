// Helpers of the screen tests: key presses through whole frames and checks
// of the picture the last frame showed.
#pragma once
#include <cstdint>
#include <string>

#include "draw/surface.h"
#include "draw/surfaces.h"
#include "draw/text.h"
#include "platform/platform.h"
#include "platform/platform_headless.h"
#include "rules/fish.h"
#include "screens/screens.h"
#include "shell/main_loop.h"
#include "tests/test_support.h"

inline KeySet Keys(std::initializer_list<Key> keys) {
    KeySet bits;
    for (Key k : keys) bits |= KeyBit(k);
    return bits;
}

// Holds the keys for one frame, then lets go for one frame.
inline void Tap(std::initializer_list<Key> keys) {
    Headless.keys = Keys(keys);
    RunFrame();
    Headless.keys = {};
    RunFrame();
}

// Holds the keys for exactly one frame and leaves them held.
inline void HoldFrame(std::initializer_list<Key> keys) {
    Headless.keys = Keys(keys);
    RunFrame();
}

// The picture the headless window showed last.
inline Surface Shown() {
    Surface s;
    s.width = Headless.lastPresentedWidth;
    s.height = Headless.lastPresentedHeight;
    s.pixels = Headless.lastPresented;
    return s;
}

// The menus' background with the fish where the last frame drew them.
inline Surface MenuBackgroundNow() {
    DrawMenuBackground();
    return BackBuffer;
}

// `base` with `text` drawn at (x, y) by the game's font.
inline Surface WithText(Surface base, const char* text, int x, int y) {
    std::swap(BackBuffer, base);
    DrawGlyphText(text, x, y);
    std::swap(BackBuffer, base);
    return base;
}

// Number of pixels of the rectangle in which the two pictures differ.
inline int DifferingPixels(const Surface& a, const Surface& b, int x, int y, int w, int h) {
    int n = 0;
    for (int j = y; j < y + h; ++j)
        for (int i = x; i < x + w; ++i)
            if (i >= 0 && j >= 0 && i < a.width && j < a.height && a.At(i, j) != b.At(i, j)) ++n;
    return n;
}

inline int DifferingPixels(const Surface& a, const Surface& b) { return DifferingPixels(a, b, 0, 0, a.width, a.height); }

// True when a fish not Free covers the pixel.
inline bool FishAt(int x, int y) {
    for (const Fish& f : FishTable) {
        if (f.state == FishStateValue::Free) continue;
        int fx = BoardOriginX + int(f.x), fy = BoardOriginY + int(f.y);
        if (x >= fx && x < fx + 32 && y >= fy && y < fy + 32) return true;
    }
    return false;
}

// Counts pixels of the rectangle, away from fish, where `shot` is not the
// gradient ANDed with the tile taken at (sx, sy) + offset; `tiled` counts the
// pixels where that AND changes the gradient at all (0 would make the check empty).
struct TileCheck {
    int wrong = 0;
    int tiled = 0;
};
inline TileCheck CheckTiled(const Surface& shot, int x, int y, int w, int h, int sx, int sy) {
    TileCheck c;
    for (int j = 0; j < h; ++j)
        for (int i = 0; i < w; ++i) {
            if (FishAt(x + i, y + j)) continue;
            uint32_t g = GradientSurface.At(0, y + j);
            uint32_t expected = g & TileSurface.At((sx + i) % TileSurface.width, (sy + j) % TileSurface.height);
            if (expected != g) ++c.tiled;
            if (shot.At(x + i, y + j) != expected) ++c.wrong;
        }
    return c;
}
inline TileCheck CheckTiled(const Surface& shot, int x, int y, int w, int h) { return CheckTiled(shot, x, y, w, h, x, y); }

// Pixels of the rectangle, away from fish, that are not the plain gradient.
inline int NotGradient(const Surface& shot, int x, int y, int w, int h) {
    int n = 0;
    for (int j = y; j < y + h; ++j)
        for (int i = x; i < x + w; ++i)
            if (!FishAt(i, j) && shot.At(i, j) != GradientSurface.At(0, j)) ++n;
    return n;
}

// Runs frames until the screen state is `state` (at most `limit` frames);
// returns the number of frames run.
inline int RunUntilState(uint32_t state, int limit) {
    int n = 0;
    while (ScreenState != state && n < limit && !QuitFlag) {
        RunFrame();
        ++n;
    }
    return n;
}
