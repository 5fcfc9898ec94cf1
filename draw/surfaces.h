// The game's drawing surfaces: the back buffer every frame is composed on,
// the two backgrounds and the sheets. Start-up fills them.
#pragma once
#include "draw/surface.h"

extern Surface BackBuffer, GradientSurface, TileSurface, BlockSheet, FontSheet, KanaSheet, LogoSheet;

void DrawGradient(Surface& s);
void DrawTiledBackground(Surface& s, const Surface& blockSheet);

// GradientSurface keeps one column of the screen-sized sky and TileSurface
// one tile of the tiled background: these BitBlt from the whole screen-sized
// picture into the back buffer.
void BlitGradient(int dx, int dy, int w, int h, int sx, int sy, Rop rop);
void BlitTiles(int dx, int dy, int w, int h, int sx, int sy, Rop rop);

// A masked sprite of a sheet into the back buffer at (x, y): the mask ORed,
// then the image ANDed, so white mask pixels let the image through and black
// ones keep what lies below.
void MaskedFromSheet(const Surface& sheet, int maskX, int maskY, int imageX, int imageY, int w, int h, int x, int y);
