#include "draw/fish.h"
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
