// The real program's platform: an SDL window presented without vsync, the
// keyboard and joystick 1, SDL_mixer for sounds and the MIDI tune.
#include <SDL.h>
#include <SDL_mixer.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>

#include "draw/surface.h"
#include "resources/resources.h"
#include "shell/platform.h"

namespace {
SDL_Window* window = nullptr;
SDL_Joystick* joystick = nullptr;
bool audioOpen = false;
Mix_Music* tune = nullptr;

// The tune is decoded on a helper thread (a soundfont can take a few hundred
// milliseconds to load) so the first frame is not held up. Until it is ready
// it counts as not opened; a play asked for meanwhile starts when it is.
std::thread tuneLoader;
std::atomic<bool> tuneLoaded{false};
Mix_Music* loadedTune = nullptr;
bool playWhenLoaded = false;
bool keys[KeyCount];

// With TESSMAR_FPS_LOG set, the time from start to the first frame shown is
// printed at shutdown (for measuring start-up).
std::chrono::steady_clock::time_point startedAt;
double firstPresentMs = -1;

int KeyOfScancode(SDL_Scancode code) {
    switch (code) {
        case SDL_SCANCODE_Z: return KeyZ;
        case SDL_SCANCODE_X: return KeyX;
        case SDL_SCANCODE_A: return KeyA;
        case SDL_SCANCODE_C: return KeyC;
        case SDL_SCANCODE_D: return KeyD;
        case SDL_SCANCODE_G: return KeyG;
        case SDL_SCANCODE_RETURN: case SDL_SCANCODE_KP_ENTER: return KeyEnter;
        case SDL_SCANCODE_ESCAPE: return KeyEscape;
        case SDL_SCANCODE_LEFT: return KeyLeft;
        case SDL_SCANCODE_RIGHT: return KeyRight;
        case SDL_SCANCODE_UP: return KeyUp;
        case SDL_SCANCODE_DOWN: return KeyDown;
        default: return -1;
    }
}

void OpenFirstJoystick() {
    if (joystick == nullptr && SDL_NumJoysticks() > 0) joystick = SDL_JoystickOpen(0);
}

void SetWindowIcon() {
    Surface icon;
    LoadSheet(ArtGameIcon, icon);
    if (icon.width == 0) return;
    SDL_Surface* s = SDL_CreateRGBSurfaceWithFormatFrom(icon.pixels.data(), icon.width, icon.height, 32,
                                                        icon.width * 4, SDL_PIXELFORMAT_RGB888);
    if (s == nullptr) return;
    SDL_SetWindowIcon(window, s);
    SDL_FreeSurface(s);
}

// SDL_mixer finds General MIDI instruments through SDL_SOUNDFONTS; point it at
// the system's default soundfont when the user has not chosen one.
void ChooseSoundFont() {
    if (SDL_getenv("SDL_SOUNDFONTS") != nullptr) return;
    for (const char* path : {"/usr/share/sounds/sf2/TimGM6mb.sf2", "/usr/share/sounds/sf2/default-GM.sf2",
                             "/usr/share/sounds/sf2/FluidR3_GM.sf2"}) {
        if (SDL_RWops* f = SDL_RWFromFile(path, "rb")) {
            SDL_RWclose(f);
            Mix_SetSoundFonts(path);
            return;
        }
    }
}
}  // namespace

CalendarDay PlatformToday() { return SystemToday(); }

void PlatformInit() {
    startedAt = std::chrono::steady_clock::now();
    SDL_SetHint(SDL_HINT_JOYSTICK_ALLOW_BACKGROUND_EVENTS, "1");
    // Present through the plain X11 / Wayland framebuffer: a GL-backed one
    // costs a software renderer pass per frame where there is no GPU.
    SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
    if (SDL_Init(SDL_INIT_VIDEO | SDL_INIT_EVENTS) != 0)
        std::fprintf(stderr, "tessmar: no video: %s\n", SDL_GetError());
    if (SDL_InitSubSystem(SDL_INIT_JOYSTICK) == 0) OpenFirstJoystick();
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
        std::fprintf(stderr, "tessmar: no audio: %s\n", SDL_GetError());
        return;
    }
    Mix_Init(MIX_INIT_MID);
    ChooseSoundFont();
    if (Mix_OpenAudio(44100, AUDIO_S16SYS, 2, 1024) != 0) {
        std::fprintf(stderr, "tessmar: no audio device: %s\n", Mix_GetError());
        return;
    }
    Mix_AllocateChannels(1);
    audioOpen = true;
}

void PlatformShutdown() {
    if (std::getenv("TESSMAR_FPS_LOG")) std::fprintf(stderr, "tessmar: first frame shown after %.1f ms\n", firstPresentMs);
    if (audioOpen) Mix_CloseAudio();
    Mix_Quit();
    if (joystick) SDL_JoystickClose(joystick);
    joystick = nullptr;
    PlatformCloseWindow();
    SDL_Quit();
}

bool PlatformOpenWindow(const char* title, int width, int height) {
    // With no display SDL falls back to a driver that shows nothing; a game
    // nobody can see or quit is no use unless that driver was asked for.
    const char* driver = SDL_GetCurrentVideoDriver();
    if (driver == nullptr || ((SDL_strcmp(driver, "offscreen") == 0 || SDL_strcmp(driver, "dummy") == 0) &&
                              SDL_getenv("SDL_VIDEODRIVER") == nullptr)) {
        std::fprintf(stderr, "tessmar: no display to open the window on\n");
        return false;
    }
    window = SDL_CreateWindow(title, SDL_WINDOWPOS_UNDEFINED, SDL_WINDOWPOS_UNDEFINED, width, height, 0);
    if (window == nullptr) {
        std::fprintf(stderr, "tessmar: cannot open the window: %s\n", SDL_GetError());
        return false;
    }
    SetWindowIcon();
    return true;
}

void PlatformCloseWindow() {
    if (window) SDL_DestroyWindow(window);
    window = nullptr;
}

void PlatformPresent(const Surface& backBuffer) {
    if (window == nullptr) return;
    SDL_Surface* target = SDL_GetWindowSurface(window);
    if (target == nullptr) return;
    int w = backBuffer.width < target->w ? backBuffer.width : target->w;
    int h = backBuffer.height < target->h ? backBuffer.height : target->h;
    SDL_LockSurface(target);
    SDL_ConvertPixels(w, h, SDL_PIXELFORMAT_RGB888, backBuffer.pixels.data(), backBuffer.width * 4,
                      target->format->format, target->pixels, target->pitch);
    SDL_UnlockSurface(target);
    SDL_UpdateWindowSurface(window);
    if (firstPresentMs < 0)
        firstPresentMs = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - startedAt).count();
}

uint32_t PlatformTicks() { return SDL_GetTicks(); }
void PlatformSleep(uint32_t ms) { SDL_Delay(ms); }

EventResult PlatformTakeEvent() {
    SDL_Event e;
    if (!SDL_PollEvent(&e)) return EventResult::None;
    switch (e.type) {
        case SDL_QUIT: return EventResult::Quit;
        case SDL_KEYDOWN:
        case SDL_KEYUP: {
            int key = KeyOfScancode(e.key.keysym.scancode);
            if (key >= 0) keys[key] = e.type == SDL_KEYDOWN;
            break;
        }
        case SDL_WINDOWEVENT:
            if (e.window.event == SDL_WINDOWEVENT_FOCUS_LOST) std::memset(keys, 0, sizeof keys);
            break;
        case SDL_JOYDEVICEADDED: OpenFirstJoystick(); break;
        case SDL_JOYDEVICEREMOVED:
            if (joystick && SDL_JoystickInstanceID(joystick) == e.jdevice.which) {
                SDL_JoystickClose(joystick);
                joystick = nullptr;
                OpenFirstJoystick();
            }
            break;
        default: break;
    }
    return EventResult::Handled;
}

void PlatformPostQuit() {
    SDL_Event e{};
    e.type = SDL_QUIT;
    SDL_PushEvent(&e);
}

bool PlatformKeyDown(Key key) { return keys[key]; }

bool PlatformJoystick(uint32_t& x, uint32_t& y, uint32_t& buttons) {
    if (joystick == nullptr || !SDL_JoystickGetAttached(joystick)) return false;
    x = uint32_t(int(SDL_JoystickGetAxis(joystick, 0)) + 32768);
    y = uint32_t(int(SDL_JoystickGetAxis(joystick, 1)) + 32768);
    buttons = 0;
    int count = SDL_JoystickNumButtons(joystick);
    for (int i = 0; i < count && i < 32; ++i)
        if (SDL_JoystickGetButton(joystick, i)) buttons |= 1u << i;
    return true;
}

void PlatformPrepareSound(SoundImage& image) {
    if (!audioOpen || image.bytes.empty()) return;
    SDL_RWops* rw = SDL_RWFromConstMem(image.bytes.data(), int(image.bytes.size()));
    image.handle = rw ? Mix_LoadWAV_RW(rw, 1) : nullptr;
    if (image.handle == nullptr) std::fprintf(stderr, "tessmar: sound %s is silent: %s\n", image.name, Mix_GetError());
}

void PlatformPlaySound(const SoundImage& image) {
    if (audioOpen && image.handle) Mix_PlayChannel(0, static_cast<Mix_Chunk*>(image.handle), 0);
}

void PlatformStopSound() {
    if (audioOpen) Mix_HaltChannel(-1);
}

void PlatformReleaseSound(SoundImage& image) {
    if (image.handle) Mix_FreeChunk(static_cast<Mix_Chunk*>(image.handle));
    image.handle = nullptr;
}

// Takes over the tune once the helper thread has finished with it.
static bool TuneReady() {
    if (tuneLoader.joinable() && tuneLoaded) {
        tuneLoader.join();
        tune = loadedTune;
        if (tune == nullptr) std::fprintf(stderr, "tessmar: the tune is silent: %s\n", Mix_GetError());
        if (tune && playWhenLoaded) Mix_PlayMusic(tune, 1);
        playWhenLoaded = false;
    }
    return tune != nullptr;
}

void PlatformTuneOpen(const char* path) {
    if (!audioOpen || tune || tuneLoader.joinable()) return;
    tuneLoaded = false;
    tuneLoader = std::thread([file = std::string(path)] {
        loadedTune = Mix_LoadMUS(file.c_str());
        tuneLoaded = true;
    });
}

bool PlatformTuneStopped() { return TuneReady() && !Mix_PlayingMusic(); }

void PlatformTunePlay() {
    if (TuneReady()) Mix_PlayMusic(tune, 1);
    else if (tuneLoader.joinable()) playWhenLoaded = true;
}

void PlatformTuneStop() {
    playWhenLoaded = false;
    if (TuneReady()) Mix_HaltMusic();
}

void PlatformTuneClose() {
    if (tuneLoader.joinable()) {
        tuneLoader.join();
        tune = loadedTune;
    }
    playWhenLoaded = false;
    if (tune == nullptr) return;
    Mix_HaltMusic();
    Mix_FreeMusic(tune);
    tune = nullptr;
}

// PlatformPickMissionFile lives in platform_qt_dialog.cpp.
