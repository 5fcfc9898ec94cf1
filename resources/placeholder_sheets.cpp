// Stand-in pictures in the right sizes until the generated art is embedded.
#include "resources/resources.h"

static void PlaceholderBlockSheet(Surface& s) {
    s.Create(640, 256);
    for (int k = 0; k < 20; ++k) FillRect(s, 32 * k, 0, 32, 32, k == 0 ? Black : White);  // masks
    // Background tile: a light lattice so the gradient shows through.
    FillRect(s, 576, 32, 32, 32, Rgb(235, 240, 250));
    FillRect(s, 577, 33, 30, 30, White);
}

void LoadSheet(int resourceId, Surface& out) {
    switch (resourceId) {
        case ResourceBlockSheet: PlaceholderBlockSheet(out); break;
        case ResourceFontSheet: out.Create(256, 512); break;
        case ResourceLogoSheet: out.Create(300, 300); break;
        case ResourceGameIcon:
            out.Create(32, 32);
            FillRect(out, 4, 4, 24, 24, Rgb(50, 120, 200));
            break;
        case ResourceEditorSheet: out.Create(448, 64); break;
        default: out = Surface{}; break;
    }
}
