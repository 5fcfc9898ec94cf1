// Whole-number scaling of the 384 x 480 picture: the window's first size and
// where the picture sits in a window of any size.
#pragma once

// The largest whole-number scale at which a w x h picture fits into an area
// of areaW x areaH; at least 1 even when it does not fit at all.
int LargestScale(int areaW, int areaH, int w, int h);

// The picture scaled and centred in an output of outW x outH pixels.
struct PictureRect {
    int x, y, w, h, scale;
};
PictureRect FitPicture(int outW, int outH, int w, int h);
