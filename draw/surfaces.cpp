#include "draw/surfaces.h"

#include "draw/sheet_layout.h"
#include "rules/screen_layout.h"

Surface BackBuffer, GradientSurface, TileSurface, BlockSheet, FontSheet, KanaSheet, LogoSheet;

// Pixel row y takes the colour for v = 479 - y: the result of drawing 481
// three-pixel bands from the top down, each overwriting the one before.
void DrawGradient(Surface& s) {
    s.Create(ScreenWidth, ScreenHeight);
    for (int y = 0; y < ScreenHeight; ++y) {
        int v = 479 - y;
        FillRect(s, 0, y, ScreenWidth, 1, Rgb(v / 7 + 50, v / 7 + 120, v / 10 + 200));
    }
}

void DrawTiledBackground(Surface& s, const Surface& blockSheet) {
    s.Create(ScreenWidth, ScreenHeight);
    for (int i = 0; i < ScreenWidth / SheetCell; ++i)
        for (int j = 0; j < ScreenHeight / SheetCell; ++j)
            BitBlt(s, SheetCell * i, SheetCell * j, SheetCell, SheetCell, blockSheet, SheetTileX, SheetTileY, Rop::Copy);
}
