// The game program: open the window, run the loop, close down.
#include <cstdio>
#include <cstdlib>

#include "shell/main_loop.h"
#include "shell/platform.h"
#include "shell/startup.h"

int main() {
    PlatformInit();
    PlatformOpenWindow("Tessmar", ScreenWidth, ScreenHeight);
    RunMainLoop();
    if (std::getenv("TESSMAR_FPS_LOG")) std::fprintf(stderr, "tessmar: FPS %u\n", unsigned(FpsValue));
    PlatformShutdown();
    return 0;
}
