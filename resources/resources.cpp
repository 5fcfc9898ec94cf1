#include "resources/resources.h"

void LoadSheet(const ArtImage& image, Surface& out) {
    out.Create(image.width, image.height);
    DecodeArtImage(image, out.pixels.data());
}
