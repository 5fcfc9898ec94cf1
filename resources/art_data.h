// Pictures embedded in the programs, stored as runs of equal pixels. The
// pixel data is written by the art generator at build time.
#pragma once
#include <cstddef>
#include <cstdint>

struct ArtImage {
    int width;
    int height;
    const uint32_t* runs;  // pairs: count, pixel
    size_t runWords;
};

// Fills out[0 .. width * height) from the runs.
inline void DecodeArtImage(const ArtImage& image, uint32_t* out) {
    size_t at = 0, total = size_t(image.width) * size_t(image.height);
    for (size_t i = 0; i + 1 < image.runWords && at < total; i += 2)
        for (uint32_t n = 0; n < image.runs[i] && at < total; ++n) out[at++] = image.runs[i + 1];
}

// Game pictures (tessmar_core).
extern const ArtImage ArtBlockSheet, ArtFontSheet, ArtKanaSheet, ArtLogoSheet, ArtGameIcon;
// Editor pictures (tessmar_editor_art), 0xAARRGGBB for the icon.
extern const ArtImage ArtEditorSheet, ArtEditorIcon;
