// The game program: open the window, run the loop, close down.
#include <cstdio>
#include <cstdlib>

#include "shell/game_folder.h"
#include "shell/main_loop.h"
#include "shell/platform.h"
#include "shell/startup.h"

int main() {
    PlatformInit();
    // Without a window nothing could be seen or quit: stop at once instead of
    // running on unseen (the reason is already on stderr).
    if (!PlatformOpenWindow("Tessmar", ScreenWidth, ScreenHeight)) {
        PlatformShutdown();
        return 1;
    }
    EnterGameFolder();
    RunMainLoop();
    if (std::getenv("TESSMAR_FPS_LOG")) std::fprintf(stderr, "tessmar: FPS %u\n", unsigned(FpsValue));
    PlatformShutdown();
    return 0;
}
