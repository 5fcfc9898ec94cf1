// The game program: open the window, run the loop, close down.
#include "shell/main_loop.h"
#include "shell/platform.h"
#include "shell/startup.h"

int main() {
    PlatformInit();
    PlatformOpenWindow("Tessmar", ScreenWidth, ScreenHeight);
    RunMainLoop();
    PlatformShutdown();
    return 0;
}
