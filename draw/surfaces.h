// The game's drawing surfaces: the back buffer every frame is composed on,
// the two backgrounds and the sheets. Start-up fills them.
#pragma once
#include "draw/surface.h"

extern Surface BackBuffer, GradientSurface, TileSurface, BlockSheet, FontSheet, KanaSheet, LogoSheet;

void DrawGradient(Surface& s);
void DrawTiledBackground(Surface& s, const Surface& blockSheet);
