// The fuzzer's raster operations: the real ones on the frames that draw,
// nothing on the others. Most of a frame's time is pixels, which
// have tests of their own; the game logic between them runs on every frame.
#define BitBlt DrawnBitBlt
#define FillRect DrawnFillRect
#include "draw/surface.cpp"
#undef BitBlt
#undef FillRect

#include "tests/fuzz/fuzz_support.h"

void BitBlt(Surface& dst, int dx, int dy, int w, int h, const Surface& src, int sx, int sy, Rop rop) {
    if (FuzzDrawPixels) DrawnBitBlt(dst, dx, dy, w, h, src, sx, sy, rop);
}

void FillRect(Surface& dst, int x, int y, int w, int h, uint32_t colour) {
    if (FuzzDrawPixels) DrawnFillRect(dst, x, y, w, h, colour);
}
