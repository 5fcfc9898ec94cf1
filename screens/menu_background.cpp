#include <vector>

#include "draw/fish.h"
#include "draw/held_drawing.h"
#include "draw/surfaces.h"
#include "rules/screen_layout.h"
#include "screens/screens.h"

void DrawMenuBackground() {
    BlitGradient(0, 0, ScreenWidth, ScreenHeight, 0, 0, Rop::Copy);
    DrawFish();
    BlitTiles(0, 0, ScreenWidth, ScreenHeight, 0, 0, Rop::And);
}

// The logo sheet holds the picture above its mask: the mask is ANDed, then
// the picture ORed.
void DrawLogo() {
    constexpr int LogoX = 42, LogoY = 96, LogoWidth = 300, LogoHeight = 150;
    BitBlt(BackBuffer, LogoX, LogoY, LogoWidth, LogoHeight, LogoSheet, 0, LogoHeight, Rop::And);
    BitBlt(BackBuffer, LogoX, LogoY, LogoWidth, LogoHeight, LogoSheet, 0, 0, Rop::Or);
}

namespace {
const PictureArea emptyArea;  // where an unchanged picture points
}

void ShowBackBuffer() {
    Picture picture{BackBuffer.pixels.data(), BackBuffer.width, BackBuffer.height};
    static std::vector<PictureArea> areas;
    if (HeldSurface == &BackBuffer) {
        ShowHeldDrawing();
        areas.clear();
        for (const DrawnArea& a : TakeChangedAreas()) areas.push_back({a.x, a.y, a.w, a.h});
        picture.changed = areas.data();
        picture.changedCount = int(areas.size());
        if (areas.empty()) picture.changed = &emptyArea;
    }
    PlatformPresent(picture);
}
