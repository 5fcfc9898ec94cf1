// The generators of every picture the game and the editor embed.
#pragma once
#include <cstdint>
#include <vector>

#include "draw/surface.h"

inline constexpr int VariantCount = 6;
// Variants VariantCount + 1 .. 2 * VariantCount: the network colours of the
// safe palette, told apart also with red, green or blue cones missing.
inline constexpr int SafeVariantFirst = VariantCount + 1;

// One block picture, kind 1..13, variant 0 (plain) or 1..6, in a square of
// `size` pixels at (x, y). Blocks are opaque over their whole square.
void DrawBlockPicture(Surface& s, int x, int y, int kind, int variant, int size = 32);

// The frame-block marker (corner brackets) with its mask, each 32 x 32.
void DrawFrameMarker(Surface& image, int x, int y, Surface& mask, int mx, int my);

// Fish frame 0..3 (swimming left, caught left, swimming right, caught right)
// with its mask.
void DrawFishFrame(int frame, Surface& image, int x, int y, Surface& mask, int mx, int my);

void DrawBlockSheet(Surface& sheet);   // 640 x 256
void DrawFontSheet(Surface& sheet);    // 256 x 512
void DrawKanaSheet(Surface& sheet);    // 256 x 160
void DrawLogoSheet(Surface& sheet);    // 300 x 300
void DrawEditorSheet(Surface& sheet);  // 448 x 64

// Window icons: the game's is opaque (0x00RRGGBB), the editor's carries alpha
// (0xAARRGGBB).
void DrawGameIcon(int size, Surface& icon);
void DrawEditorIcon(int size, std::vector<uint32_t>& argb);
