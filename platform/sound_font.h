#pragma once
// SDL_mixer finds General MIDI instruments through SDL_SOUNDFONTS; point it at
// the system's default soundfont when the user has not chosen one. Shared by
// the game and the tune render helper, so both hear the same instruments.
#include <SDL.h>

// The choice is made three ways at once so that it holds whichever one a
// build of SDL_mixer reads first: Mix_SetSoundFonts (passed in), the
// SDL_SOUNDFONTS variable, and SDL_FORCE_SOUNDFONTS, which makes that variable win over a
// distribution's own default (Debian's default-GM.sf3).
inline void ChooseSoundFont(int (*setSoundFonts)(const char*)) {
    if (SDL_getenv("SDL_SOUNDFONTS") != nullptr) return;
    for (const char* path : {"/usr/share/sounds/sf2/TimGM6mb.sf2", "/usr/share/sounds/sf2/default-GM.sf2",
                             "/usr/share/sounds/sf2/FluidR3_GM.sf2"}) {
        if (SDL_RWops* f = SDL_RWFromFile(path, "rb")) {
            SDL_RWclose(f);
            setSoundFonts(path);
            SDL_setenv("SDL_SOUNDFONTS", path, 1);
            SDL_SetHint("SDL_FORCE_SOUNDFONTS", "1");
            return;
        }
    }
}
