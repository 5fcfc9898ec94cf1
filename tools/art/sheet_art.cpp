// The block sheet, the editor's sheet and the two window icons.
#include <algorithm>
#include <cmath>
#include <numbers>

#include "draw/sheet_layout.h"
#include "tools/art/art.h"
#include "tools/art/art_draw.h"

namespace {
constexpr float Pi = std::numbers::pi_v<float>;

// Calm water marks on white: gentle wave lines and a few bubbles. The ground
// stays white because ANDing any other shade over the smooth gradient would
// band it; the marks alone show where the well is.
Sample TileSample(Pt p) {
    const Colour wave{204, 222, 248}, bubble{216, 232, 252};
    float y1 = 12.0f + 1.6f * std::sin(2 * Pi * p.x / 32);
    float y2 = 28.0f + 1.6f * std::sin(2 * Pi * (p.x + 16) / 32);
    if (std::fabs(p.y - y1) < 0.7f && std::fmod(p.x + 4, 32) < 20) return {wave, true};
    if (std::fabs(p.y - y2) < 0.7f && std::fmod(p.x + 20, 32) < 14) return {wave, true};
    for (Pt c : {Pt{25, 25}, Pt{28.5f, 20.5f}})
        if (std::fabs(Dist(c, p) - (c.x == 25 ? 1.8f : 1.1f)) < 0.5f) return {bubble, true};
    return {{255, 255, 255}, true};
}

void DrawTile(Surface& s, int x, int y) {
    RenderTarget t;
    t.image = &s;
    t.x = x;
    t.y = y;
    Render(t, TileSample);
}

void DrawGridCell(Surface& s, int x, int y) {
    FillRect(s, x, y, 32, 32, White);
    const uint32_t line = Rgb(206, 220, 242), corner = Rgb(180, 200, 232);
    FillRect(s, x, y, 32, 1, line);
    FillRect(s, x, y, 1, 32, line);
    FillRect(s, x, y + 31, 32, 1, line);
    FillRect(s, x + 31, y, 1, 32, line);
    for (int cx : {0, 31})
        for (int cy : {0, 31}) s.At(x + cx, y + cy) = corner;
}

// Diagonal hatching, dark lines on white: ANDed over a block it darkens
// every fourth diagonal, steady and plain to see at any scale.
void DrawEraseMark(Surface& s, int x, int y) {
    FillRect(s, x, y, 32, 32, White);
    const uint32_t line = Rgb(96, 96, 112);
    for (int dy = 0; dy < 32; ++dy)
        for (int dx = 0; dx < 32; ++dx)
            if ((dx + dy) % 8 < 3) s.At(x + dx, y + dy) = line;
}

// Masked draw of a 32 x 32 sprite from image/mask surfaces onto `dst`.
void MaskedOnto(Surface& dst, int x, int y, const Surface& image, int ix, int iy, const Surface& mask, int mx, int my) {
    BitBlt(dst, x, y, 32, 32, mask, mx, my, Rop::Or);
    BitBlt(dst, x, y, 32, 32, image, ix, iy, Rop::And);
}

// The editor's empty cell: the well's pale blue with a faint grid line.
void DrawEditorEmpty(Surface& s, int x, int y) {
    FillRect(s, x, y, 32, 32, Rgb(214, 232, 250));
    FillRect(s, x, y, 32, 1, Rgb(190, 212, 240));
    FillRect(s, x, y, 1, 32, Rgb(190, 212, 240));
}

// Entry marker: a downward arrow on the empty cell.
void DrawEntryMarker(Surface& s, int x, int y) {
    DrawEditorEmpty(s, x, y);
    RenderTarget t;
    t.image = &s;
    t.x = x;
    t.y = y;
    const Colour fill{236, 84, 40}, rim{96, 24, 8};
    auto inArrow = [](Pt p, float grow) {
        float cx = std::fabs(p.x - 16);
        bool shaft = cx < 4 + grow && p.y > 4 - grow && p.y < 17;
        bool head = p.y >= 14 - grow && p.y < 28 + grow && cx < (28 + grow - p.y) * 0.85f + grow * 0.2f;
        return shaft || head;
    };
    Render(t, [&](Pt p) -> Sample {
        if (inArrow(p, 0)) return {fill, true};
        if (inArrow(p, 1.2f)) return {rim, true};
        return {{214, 232, 250}, true};
    });
    FillRect(s, x, y, 32, 1, Rgb(190, 212, 240));
    FillRect(s, x, y, 1, 32, Rgb(190, 212, 240));
}

// Four corner blocks closing one loop: the picture of the game in 2 x 2 cells.
void DrawLoopBlocks(Surface& s, int x, int y, int size, int variant) {
    int half = size / 2;
    DrawBlockPicture(s, x, y, 6, variant, half);
    DrawBlockPicture(s, x + half, y, 3, variant, half);
    DrawBlockPicture(s, x, y + half, 5, variant, half);
    DrawBlockPicture(s, x + half, y + half, 4, variant, half);
}
}  // namespace

void DrawBlockSheet(Surface& sheet) {
    sheet.Create(BlockSheetWidth, BlockSheetHeight);
    FillRect(sheet, 0, SheetMaskY, BlockSheetWidth, SheetCell, Black);  // masks: black unless a sprite covers the cell
    for (int kind = 1; kind <= 13; ++kind) {
        FillRect(sheet, 32 * kind, 0, 32, 32, White);
        for (int variant = 0; variant <= VariantCount; ++variant)
            DrawBlockPicture(sheet, 32 * kind, 32 + 32 * variant, kind, variant);
        for (int colour = 1; colour <= VariantCount; ++colour)
            DrawBlockPicture(sheet, 32 * kind, 32 + 32 * (colour + SafePaletteRowShift), kind,
                             SafeVariantFirst + colour - 1);
    }
    for (int frame = 0; frame < 4; ++frame) {
        int x = SheetFishX + SheetCell * frame;
        DrawFishFrame(frame, sheet, x, SheetImageY, sheet, x, SheetMaskY);
    }
    DrawTile(sheet, SheetTileX, SheetTileY);
    DrawGridCell(sheet, SheetGridX, SheetGridY);
    DrawEraseMark(sheet, SheetEraseMarkX, SheetEraseMarkY);
    DrawFrameMarker(sheet, SheetFrameMarkerX, SheetImageY, sheet, SheetFrameMarkerX, SheetMaskY);
}

void DrawEditorSheet(Surface& sheet) {
    sheet.Create(448, 64);
    DrawEditorEmpty(sheet, 0, 0);
    for (int kind = 1; kind <= 13; ++kind) DrawBlockPicture(sheet, 32 * kind, 0, kind, 0);
    DrawEntryMarker(sheet, 0, 32);
    Surface marker, markerMask;
    marker.Create(32, 32);
    markerMask.Create(32, 32);
    DrawFrameMarker(marker, 0, 0, markerMask, 0, 0);
    for (int kind = 1; kind <= 11; ++kind) {
        DrawBlockPicture(sheet, 32 * kind, 32, kind, 0);
        MaskedOnto(sheet, 32 * kind, 32, marker, 0, 0, markerMask, 0, 0);
    }
    for (int kind = 12; kind <= 13; ++kind) DrawEditorEmpty(sheet, 32 * kind, 32);
}

void DrawGameIcon(int size, Surface& icon) {
    icon.Create(size, size);
    DrawLoopBlocks(icon, 0, 0, size, 1);
}

void DrawEditorIcon(int size, std::vector<uint32_t>& argb) {
    argb.assign(size_t(size) * size_t(size), 0);
    // The loop blocks in the upper left, a pencil across the lower right.
    Surface blocks;
    int inner = std::max(2, (size * 26 / 32) / 2 * 2);
    blocks.Create(inner, inner);
    DrawLoopBlocks(blocks, 0, 0, inner, 3);
    for (int y = 0; y < inner; ++y)
        for (int x = 0; x < inner; ++x) argb[size_t(y * size + x)] = 0xFF000000u | blocks.At(x, y);
    const float scale = float(size) / 32.0f;
    const int n = 4;
    for (int py = 0; py < size; ++py)
        for (int px = 0; px < size; ++px) {
            Colour sum;
            int covered = 0;
            for (int sy = 0; sy < n; ++sy)
                for (int sx = 0; sx < n; ++sx) {
                    Pt p{(float(px) + (float(sx) + 0.5f) / n) / scale, (float(py) + (float(sy) + 0.5f) / n) / scale};
                    // Along the pencil from its tip (u = 0) and across it (v).
                    const float k = std::sqrt(0.5f);
                    float u = ((p.x - 13) + (p.y - 13)) * k, v = ((p.x - 13) - (p.y - 13)) * k;
                    float half = 3.6f;
                    if (u < 0 || u > 25) continue;
                    float width = u < 7 ? half * u / 7 : half;
                    if (std::fabs(v) > width) continue;
                    Colour c;
                    bool edge = std::fabs(v) > width - 0.9f;
                    if (u < 2.6f) c = {40, 40, 48};
                    else if (u < 7) c = edge ? Colour{150, 100, 50} : Colour{236, 196, 140};
                    else if (u < 20) c = edge ? Colour{150, 110, 10} : Shade({250, 204, 40}, 1.0f + 0.05f * v);
                    else if (u < 21.5f) c = {170, 170, 186};
                    else c = edge ? Colour{170, 70, 90} : Colour{244, 140, 160};
                    sum.r += c.r;
                    sum.g += c.g;
                    sum.b += c.b;
                    ++covered;
                }
            if (covered == 0) continue;
            float a = float(covered) / float(n * n), k = 1.0f / float(covered);
            uint32_t& d = argb[size_t(py * size + px)];
            Colour under = FromRgb(d & 0xFFFFFF);
            float underA = float(d >> 24) / 255.0f;
            Colour top{sum.r * k, sum.g * k, sum.b * k};
            float outA = a + underA * (1 - a);
            Colour out = Mix(under, top, outA > 0 ? a / outA : 1);
            d = (uint32_t(std::lround(outA * 255)) << 24) | ToRgb(out);
        }
}
