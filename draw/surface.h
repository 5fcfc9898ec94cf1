// Off-screen drawing surfaces and the three raster operations the game uses.
#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

// 32-bit pixels, 0x00RRGGBB, row after row from the top left.
struct Surface {
    int width = 0;
    int height = 0;
    std::vector<uint32_t> pixels;
    // Changes of the pixels made through Create and the raster operations,
    // so that drawing held for later (draw/held_drawing.h) knows whether a
    // surface it reads still holds the same.
    uint32_t version = 0;

    void Create(int w, int h);  // sized and filled white
    uint32_t At(int x, int y) const { return pixels[std::size_t(y) * std::size_t(width) + std::size_t(x)]; }
    uint32_t& At(int x, int y) { return pixels[std::size_t(y) * std::size_t(width) + std::size_t(x)]; }
    const uint32_t* Ptr(int x, int y) const { return &pixels[std::size_t(y) * std::size_t(width) + std::size_t(x)]; }
};

enum class Rop { Copy, Or, And };  // SRCCOPY, SRCPAINT, SRCAND

inline constexpr uint32_t Rgb(int r, int g, int b) {
    return (uint32_t(r) << 16) | (uint32_t(g) << 8) | uint32_t(b);
}
inline constexpr uint32_t White = 0xFFFFFF;
inline constexpr uint32_t Black = 0x000000;

// Copies the w x h rectangle of src at (sx, sy) to dst at (dx, dy) with the
// given operation. Parts that fall outside either surface are skipped, so
// negative positions and rectangles hanging over an edge are safe.
void BitBlt(Surface& dst, int dx, int dy, int w, int h, const Surface& src, int sx, int sy, Rop rop);

// BitBlt from an areaW x areaH picture that is `pattern` repeated from its
// top left corner: the same pixels, clipped the same way, without the
// picture in memory.
void BitBltRepeated(Surface& dst, int dx, int dy, int w, int h, const Surface& pattern, int areaW, int areaH, int sx,
                    int sy, Rop rop);

// Solid fill of a rectangle (clipped), for the few plain shapes we draw.
void FillRect(Surface& dst, int x, int y, int w, int h, uint32_t colour);

// The same three, carried out at once whether or not `dst` is held.
void BitBltNow(Surface& dst, int dx, int dy, int w, int h, const Surface& src, int sx, int sy, Rop rop);
void BitBltRepeatedNow(Surface& dst, int dx, int dy, int w, int h, const Surface& pattern, int areaW, int areaH,
                       int sx, int sy, Rop rop);
void FillRectNow(Surface& dst, int x, int y, int w, int h, uint32_t colour);
