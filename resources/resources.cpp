// The game's pictures, decoded from the data the art generator embeds.
#include "resources/resources.h"

#include "resources/art_data.h"

static void Decode(const ArtImage& image, Surface& out) {
    out.Create(image.width, image.height);
    DecodeArtImage(image, out.pixels.data());
}

void LoadSheet(int resourceId, Surface& out) {
    switch (resourceId) {
        case ResourceBlockSheet: Decode(ArtBlockSheet, out); break;
        case ResourceFontSheet: Decode(ArtFontSheet, out); break;
        case ResourceLogoSheet: Decode(ArtLogoSheet, out); break;
        case ResourceGameIcon: Decode(ArtGameIcon, out); break;
        default: out = Surface{}; break;
    }
}
