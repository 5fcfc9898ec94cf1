#include "platform/window_scale.h"

int LargestScale(int areaW, int areaH, int w, int h) {
    if (w <= 0 || h <= 0) return 1;
    int byWidth = areaW / w, byHeight = areaH / h;
    int scale = byWidth < byHeight ? byWidth : byHeight;
    return scale < 1 ? 1 : scale;
}

PictureRect FitPicture(int outW, int outH, int w, int h) {
    int scale = LargestScale(outW, outH, w, h);
    int sw = w * scale, sh = h * scale;
    return {(outW - sw) / 2, (outH - sh) / 2, sw, sh, scale};
}

PictureRect FitPictureAnyScale(int outW, int outH, int w, int h) {
    if (w <= 0 || h <= 0 || outW < w || outH < h) return FitPicture(outW, outH, w, h);
    // Limited by the width or by the height, whichever the shape meets first.
    int sw = outW, sh = outH;
    if (int64_t(outW) * h <= int64_t(outH) * w) sh = int(int64_t(outW) * h / w);
    else sw = int(int64_t(outH) * w / h);
    int whole = LargestScale(sw, sh, w, h);
    if (sw == w * whole && sh == h * whole) return FitPicture(outW, outH, w, h);
    int above = (sw + w - 1) / w;
    return {(outW - sw) / 2, (outH - sh) / 2, sw, sh, above};
}

bool WholeScale(const PictureRect& p, int w, int h) { return p.w == w * p.scale && p.h == h * p.scale; }

std::vector<SmoothTap> SmoothTaps(int outLength, int inLength) {
    std::vector<SmoothTap> taps(outLength > 0 ? size_t(outLength) : 0);
    if (inLength <= 0) return taps;
    // Positions in units of 1/outLength of a picture pixel: output pixel o
    // covers [o * inLength, (o + 1) * inLength).
    for (int o = 0; o < outLength; ++o) {
        int64_t start = int64_t(o) * inLength, end = start + inLength;
        int first = int(start / outLength);
        int64_t boundary = int64_t(first + 1) * outLength;
        int second = 0;
        if (end > boundary && first + 1 < inLength) second = int((end - boundary) * 256 / inLength);
        taps[size_t(o)] = {first, second > 255 ? 255 : second};
    }
    return taps;
}

void SmoothRow(const uint32_t* in, const std::vector<SmoothTap>& taps, uint32_t* out) {
    for (const SmoothTap& t : taps) {
        const uint32_t a = in[t.first];
        *out++ = t.second == 0 ? a : BlendPixels(a, in[t.first + 1], uint32_t(t.second));
    }
}
