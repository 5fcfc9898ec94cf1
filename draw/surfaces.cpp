#include "draw/surfaces.h"

#include "draw/sheet_layout.h"
#include "rules/screen_layout.h"

Surface BackBuffer, GradientSurface, TileSurface, BlockSheet, FontSheet, KanaSheet, LogoSheet;

// Pixel row y takes the colour for v = 479 - y: the result of drawing 481
// three-pixel bands from the top down, each overwriting the one before.
// Every row is one colour, so one pixel of each row is kept.
void DrawGradient(Surface& s) {
    s.Create(1, ScreenHeight);
    for (int y = 0; y < ScreenHeight; ++y) {
        int v = 479 - y;
        s.At(0, y) = Rgb(v / 7 + 50, v / 7 + 120, v / 10 + 200);
    }
}

// The background is the sheet's tile repeated over the screen from its top
// left corner, so the one tile is kept.
void DrawTiledBackground(Surface& s, const Surface& blockSheet) {
    s.Create(SheetCell, SheetCell);
    BitBlt(s, 0, 0, SheetCell, SheetCell, blockSheet, SheetTileX, SheetTileY, Rop::Copy);
}

void BlitGradient(int dx, int dy, int w, int h, int sx, int sy, Rop rop) {
    BitBltRepeated(BackBuffer, dx, dy, w, h, GradientSurface, ScreenWidth, ScreenHeight, sx, sy, rop);
}

void BlitTiles(int dx, int dy, int w, int h, int sx, int sy, Rop rop) {
    BitBltRepeated(BackBuffer, dx, dy, w, h, TileSurface, ScreenWidth, ScreenHeight, sx, sy, rop);
}

void MaskedFromSheet(const Surface& sheet, int maskX, int maskY, int imageX, int imageY, int w, int h, int x, int y) {
    BitBlt(BackBuffer, x, y, w, h, sheet, maskX, maskY, Rop::Or);
    BitBlt(BackBuffer, x, y, w, h, sheet, imageX, imageY, Rop::And);
}
