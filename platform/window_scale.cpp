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
