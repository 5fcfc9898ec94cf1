// The game's pictures built into the program, decoded into surfaces.
#pragma once
#include "draw/surface.h"
#include "resources/art_data.h"

// Fills `out` with the picture: ArtBlockSheet (640 x 256), ArtFontSheet
// (256 x 512), ArtLogoSheet (300 x 300) or ArtGameIcon.
void LoadSheet(const ArtImage& image, Surface& out);
