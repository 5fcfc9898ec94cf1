// The pictures built into the programs, like the bitmap resources of old.
#pragma once
#include "draw/surface.h"

enum ResourceId {
    ResourceBlockSheet = 101,  // 640 x 256
    ResourceFontSheet = 103,   // 256 x 512
    ResourceLogoSheet = 104,   // 300 x 300
    ResourceGameIcon = 105,
    ResourceEditorSheet = 102,  // 448 x 64 (editor)
};

// Fills `out` with the picture of the resource; an unknown id gives an empty surface.
void LoadSheet(int resourceId, Surface& out);
