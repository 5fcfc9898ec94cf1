// The real program's open-file dialog: the dialog module is loaded the first time it is needed (from
// beside the program, or from the private library folder beside its bin
// folder when installed) and shows the dialog over the game's window.
#include <SDL.h>
#include <dlfcn.h>

#include <cstdio>
#include <string>

#include "platform/file_dialog_module.h"
#include "platform/platform.h"
#include "platform/platform_os.h"
#include "platform/platform_sdl_parts.h"

namespace {
constexpr uint32_t DialogWindowPumpMs = 5;

PickMissionFileFunction LoadDialogModule() {
    static PickMissionFileFunction pick = nullptr;
    static bool tried = false;
    if (tried) return pick;
    tried = true;
    const std::string folder = ExecutableFolder();
    std::string error;
    for (const std::string& path : {folder + "/" + FileDialogModuleName,
                                    folder + "/" + TESSMAR_DIALOG_FROM_BIN + "/" + FileDialogModuleName}) {
        void* module = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
        if (module == nullptr) {
            if (error.empty()) error = dlerror();
            continue;
        }
        pick = reinterpret_cast<PickMissionFileFunction>(dlsym(module, FileDialogEntryName));
        if (pick != nullptr) return pick;
        error = dlerror();
    }
    std::fprintf(stderr, "tessmar: cannot open the file dialog: %s\n", error.c_str());
    return nullptr;
}

int QuitRequested() { return QuitSignalled() ? 1 : 0; }

// Set when the game's window was exposed (another window moved off it)
// while the dialog is open.
bool windowExposed = false;

int NoteExposure(void*, SDL_Event* e) {
    if (e->type == SDL_WINDOWEVENT && e->window.event == SDL_WINDOWEVENT_EXPOSED &&
        e->window.windowID == SDL_GetWindowID(PlatformWindow()))
        windowExposed = true;
    return 1;
}

// SDL answers the window manager's pings while it takes the window's events;
// they stay queued for the frame after the dialog. The frames wait meanwhile,
// so an exposed window gets the last picture again from here.
void KeepWindowAnswering() {
    SDL_PumpEvents();
    if (windowExposed) {
        windowExposed = false;
        WindowShowAgain();
    }
    SDL_Delay(DialogWindowPumpMs);
}
}  // namespace

std::string PlatformPickMissionFile(const std::string& startFolder, DialogLanguage language) {
    PickMissionFileFunction pick = LoadDialogModule();
    if (pick == nullptr) return "";
    FileDialogRequest request{startFolder.c_str(), language == DialogLanguage::Japanese ? 1 : 0, WindowX11Id(),
                              QuitRequested, KeepWindowAnswering};
    windowExposed = false;
    SDL_AddEventWatch(NoteExposure, nullptr);
    std::string chosen = pick(&request);
    SDL_DelEventWatch(NoteExposure, nullptr);
    return chosen;
}
