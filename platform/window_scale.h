// Scaling of the 384 x 480 picture: the window's first size and where the
// picture sits in a window of any size, at a whole-number scale or, when the
// player asks for it, as large as fits at any factor.
#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

// The largest whole-number scale at which a w x h picture fits into an area
// of areaW x areaH; at least 1 even when it does not fit at all.
int LargestScale(int areaW, int areaH, int w, int h);

// The picture scaled and centred in an output of outW x outH pixels.
struct PictureRect {
    int x, y, w, h, scale;
};
PictureRect FitPicture(int outW, int outH, int w, int h);

// The picture as large as fits, its shape kept, at any factor of at least 1
// (below that, as FitPicture); `scale` is the whole number at or above the
// factor. A factor that is whole gives FitPicture's rectangle.
PictureRect FitPictureAnyScale(int outW, int outH, int w, int h);
// True when `p` draws each picture pixel as a whole square of output pixels.
bool WholeScale(const PictureRect& p, int w, int h);

// Along one axis of a picture drawn larger at a factor that is not whole,
// where an output pixel takes its colour from: picture pixel `first` and,
// with `second` of 256 parts, the one after it. Each output pixel gets the
// share of the picture's square pixels it covers, so a pixel's edge is at
// most one blended output pixel wide and every pixel stays the same size.
struct SmoothTap {
    int first;
    int second;  // 0..255
};
std::vector<SmoothTap> SmoothTaps(int outLength, int inLength);

// a and b (0x00RRGGBB) mixed, b weighing `weightOfB` of 256.
inline uint32_t BlendPixels(uint32_t a, uint32_t b, uint32_t weightOfB) {
    const uint32_t wa = 256 - weightOfB;
    uint32_t redBlue = ((a & 0xFF00FFu) * wa + (b & 0xFF00FFu) * weightOfB) >> 8;
    uint32_t green = ((a & 0x00FF00u) * wa + (b & 0x00FF00u) * weightOfB) >> 8;
    return (redBlue & 0xFF00FFu) | (green & 0x00FF00u);
}

// One picture row drawn `taps.size()` pixels wide.
void SmoothRow(const uint32_t* in, const std::vector<SmoothTap>& taps, uint32_t* out);
