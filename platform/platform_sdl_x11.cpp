// The game window's X11 id, for the dialogs that must stand over it. Kept
// apart: the X11 headers' macros clash with the game's own names.
#include <SDL.h>
#include <SDL_syswm.h>

#include "platform/platform_sdl_parts.h"

unsigned long WindowX11Id() {
    SDL_Window* window = PlatformWindow();
    if (window == nullptr) return 0;
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (!SDL_GetWindowWMInfo(window, &info) || info.subsystem != SDL_SYSWM_X11) return 0;
    return static_cast<unsigned long>(info.info.x11.window);
}
