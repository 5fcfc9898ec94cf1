#include "draw/surface.h"

#include <algorithm>

#include "draw/held_drawing.h"

void Surface::Create(int w, int h) {
    if (this == HeldSurface) DropHeldDrawing();
    width = w;
    height = h;
    pixels.assign(size_t(w) * size_t(h), White);
    ++version;
}

// Shrinks a rectangle so it lies inside [0, limit) on one axis, moving the
// other surface's coordinate along with it.
static void ClipAxis(int& pos, int& other, int& len, int limit) {
    if (pos < 0) {
        other -= pos;
        len += pos;
        pos = 0;
    }
    if (pos + len > limit) len = limit - pos;
}

void BitBlt(Surface& dst, int dx, int dy, int w, int h, const Surface& src, int sx, int sy, Rop rop) {
    if (&src == HeldSurface) {  // read as it is now, and drawn at once
        ShowHeldDrawing();
        if (&dst == HeldSurface) HeldSurfaceDrawnAtOnce();
    } else if (&dst == HeldSurface) {
        return HoldBlit(dx, dy, w, h, src, sx, sy, rop);
    }
    BitBltNow(dst, dx, dy, w, h, src, sx, sy, rop);
}

void BitBltRepeated(Surface& dst, int dx, int dy, int w, int h, const Surface& pattern, int areaW, int areaH, int sx,
                    int sy, Rop rop) {
    if (&pattern == HeldSurface) {
        ShowHeldDrawing();
        if (&dst == HeldSurface) HeldSurfaceDrawnAtOnce();
    } else if (&dst == HeldSurface) {
        return HoldRepeated(dx, dy, w, h, pattern, areaW, areaH, sx, sy, rop);
    }
    BitBltRepeatedNow(dst, dx, dy, w, h, pattern, areaW, areaH, sx, sy, rop);
}

void FillRect(Surface& dst, int x, int y, int w, int h, uint32_t colour) {
    if (&dst == HeldSurface) return HoldFill(x, y, w, h, colour);
    FillRectNow(dst, x, y, w, h, colour);
}

void BitBltNow(Surface& dst, int dx, int dy, int w, int h, const Surface& src, int sx, int sy, Rop rop) {
    if (w <= 0 || h <= 0) return;
    ClipAxis(dx, sx, w, dst.width);
    ClipAxis(sx, dx, w, src.width);
    ClipAxis(dy, sy, h, dst.height);
    ClipAxis(sy, dy, h, src.height);
    if (w <= 0 || h <= 0 || dx < 0 || dy < 0) return;
    ++dst.version;
    // Rows of one operation at a time, so each loop stays simple enough to vectorise.
    auto rows = [&](auto op) {
        for (int y = 0; y < h; ++y) {
            uint32_t* __restrict d = &dst.At(dx, dy + y);
            const uint32_t* __restrict s = src.Ptr(sx, sy + y);
            for (int x = 0; x < w; ++x) d[x] = op(d[x], s[x]);
        }
    };
    switch (rop) {
        case Rop::Copy: rows([](uint32_t, uint32_t b) { return b; }); break;
        case Rop::Or: rows([](uint32_t a, uint32_t b) { return a | b; }); break;
        case Rop::And: rows([](uint32_t a, uint32_t b) { return a & b; }); break;
    }
}

void BitBltRepeatedNow(Surface& dst, int dx, int dy, int w, int h, const Surface& pattern, int areaW, int areaH,
                       int sx, int sy, Rop rop) {
    if (w <= 0 || h <= 0 || pattern.width <= 0 || pattern.height <= 0) return;
    ClipAxis(dx, sx, w, dst.width);
    ClipAxis(sx, dx, w, areaW);
    ClipAxis(dy, sy, h, dst.height);
    ClipAxis(sy, dy, h, areaH);
    if (w <= 0 || h <= 0 || dx < 0 || dy < 0) return;
    ++dst.version;
    // Along a row the pattern is read in stretches up to its width, each a
    // loop simple enough to vectorise; a one-pixel pattern is one colour.
    auto rows = [&](auto op) {
        for (int y = 0; y < h; ++y) {
            uint32_t* __restrict d = &dst.At(dx, dy + y);
            const uint32_t* __restrict s = pattern.Ptr(0, (sy + y) % pattern.height);
            if (pattern.width == 1) {
                const uint32_t colour = s[0];
                for (int x = 0; x < w; ++x) d[x] = op(d[x], colour);
                continue;
            }
            for (int x = 0, px = sx % pattern.width; x < w; px = 0) {
                const int n = std::min(w - x, pattern.width - px);
                for (int i = 0; i < n; ++i) d[x + i] = op(d[x + i], s[px + i]);
                x += n;
            }
        }
    };
    switch (rop) {
        case Rop::Copy: rows([](uint32_t, uint32_t b) { return b; }); break;
        case Rop::Or: rows([](uint32_t a, uint32_t b) { return a | b; }); break;
        case Rop::And: rows([](uint32_t a, uint32_t b) { return a & b; }); break;
    }
}

void FillRectNow(Surface& dst, int x, int y, int w, int h, uint32_t colour) {
    int unusedX = 0, unusedY = 0;
    ClipAxis(x, unusedX, w, dst.width);
    ClipAxis(y, unusedY, h, dst.height);
    if (w <= 0 || h <= 0) return;
    ++dst.version;
    for (int row = 0; row < h; ++row) std::fill_n(&dst.At(x, y + row), w, colour);
}

