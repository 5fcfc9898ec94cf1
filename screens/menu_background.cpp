#include "draw/fish.h"
#include "screens/screens.h"
#include "shell/startup.h"

void DrawMenuBackground() {
    BitBlt(BackBuffer, 0, 0, ScreenWidth, ScreenHeight, GradientSurface, 0, 0, Rop::Copy);
    DrawFish();
    BitBlt(BackBuffer, 0, 0, ScreenWidth, ScreenHeight, TileSurface, 0, 0, Rop::And);
}
