// The back buffer's drawing held until the frame is shown. Every operation
// of a frame is kept in order; when the frame is shown, only the squares of
// the picture whose operations differ from the last frame's are drawn (each
// operation cut to them), and those squares are what the window is told
// changed. A frame that begins by covering the whole picture with one
// copy gives exactly the pixels drawing at once gives: a square drawn with
// the same operations in the same order over that cover holds the same
// pixels as before.
#pragma once
#include <vector>

#include "draw/surface.h"

struct DrawnArea {
    int x, y, w, h;
};

// The surface whose drawing is held: null, nothing held (everything drawn
// at once, as tests that read the pixels straight after drawing want).
extern Surface* HeldSurface;
// Holds the drawing into `s` from now on (null: none).
void HoldDrawingOf(Surface* s);
// Draws what is held; the surface then holds the frame's pixels.
void ShowHeldDrawing();
// The areas changed since this was last asked (after ShowHeldDrawing), as
// few rectangles; everything when not known.
const std::vector<DrawnArea>& TakeChangedAreas();

// For the raster operations (draw/surface.cpp): an operation into the held
// surface, kept; and a drop of what is held when the surface is made anew.
void HoldBlit(int dx, int dy, int w, int h, const Surface& src, int sx, int sy, Rop rop);
void HoldRepeated(int dx, int dy, int w, int h, const Surface& pattern, int areaW, int areaH, int sx, int sy, Rop rop);
void HoldFill(int x, int y, int w, int h, uint32_t colour);
void DropHeldDrawing();
// An operation carried out at once into the held surface (one that reads the
// surface itself): the pixels are no longer what the kept operations say.
void HeldSurfaceDrawnAtOnce();
