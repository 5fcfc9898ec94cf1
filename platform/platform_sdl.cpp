// The real program's platform: start-up and shutdown of SDL, the events, the
// keyboard, SDL_mixer for sounds and the MIDI tune. The window is in
// platform_sdl_window.cpp, joystick 1 in platform_sdl_pad.cpp.
#include <SDL.h>
#include <SDL_mixer.h>

#include <atomic>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "platform/language.h"
#include "platform/platform.h"
#include "platform/platform_os.h"
#include "platform/platform_sdl_parts.h"
#include "platform/replay_input.h"
#include "platform/settings.h"
#include "platform/sound_font.h"
#include "rules/screen_state.h"

namespace {
bool audioOpen = false;
Mix_Music* tune = nullptr;

// The tune is read into memory like the sounds (regular files only, never
// blocking, at most TuneMaxBytes), then decoded from those bytes on a helper
// thread (a soundfont can take a few hundred milliseconds to load) so the
// first frame is not held up. Until it is ready it counts as not opened; a
// play asked for meanwhile starts when it is. The bytes stay alive as long
// as the decoded tune, which streams from them.
constexpr size_t TuneMaxBytes = size_t(1) << 20;
std::vector<uint8_t> tuneBytes;
std::thread tuneLoader;
std::atomic<bool> tuneLoaded{false};
Mix_Music* loadedTune = nullptr;
bool playWhenLoaded = false;
bool keys[KeyCount];

// Losing focus in play pauses as a press of Enter would: the next sample of
// the keyboard sees Enter down once (see PlatformKeyDown).
bool focusPausePending = false;

int KeyOfScancode(SDL_Scancode code) {
    switch (code) {
        case SDL_SCANCODE_Z: return KeyZ;
        case SDL_SCANCODE_X: return KeyX;
        case SDL_SCANCODE_A: return KeyA;
        case SDL_SCANCODE_C: return KeyC;
        case SDL_SCANCODE_D: return KeyD;
        case SDL_SCANCODE_G: return KeyG;
        case SDL_SCANCODE_L: return KeyL;
        case SDL_SCANCODE_RETURN: case SDL_SCANCODE_KP_ENTER: return KeyEnter;
        case SDL_SCANCODE_ESCAPE: return KeyEscape;
        case SDL_SCANCODE_LEFT: return KeyLeft;
        case SDL_SCANCODE_RIGHT: return KeyRight;
        case SDL_SCANCODE_UP: return KeyUp;
        case SDL_SCANCODE_DOWN: return KeyDown;
        default: return -1;
    }
}

bool InPlayUnpaused() { return ScreenState <= Linking && PauseFlag == 0; }

void TakeWindowEvent(const SDL_WindowEvent& e) {
    if (e.event != SDL_WINDOWEVENT_FOCUS_LOST && e.event != SDL_WINDOWEVENT_MINIMIZED) return;
    std::memset(keys, 0, sizeof keys);
    focusPausePending = true;
}
}  // namespace

CalendarDay PlatformToday() { return SystemToday(); }

void PlatformRememberLanguage(Language language) {
    UpdateDisplaySettings(SettingsFilePath(std::getenv("XDG_CONFIG_HOME"), std::getenv("HOME")),
                          [&](DisplaySettings& s) { s.language = LanguageName(language); });
}

namespace {
volatile std::sig_atomic_t quitSignal = 0;
void TakeQuitSignal(int) { quitSignal = 1; }
}  // namespace

bool QuitSignalled() { return quitSignal != 0; }

void PlatformInit() {
    // SDL's own handlers cover SIGTERM and SIGINT only, and only through its
    // event queue, which nobody reads while the open-file dialog is open.
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    struct sigaction quit {};
    quit.sa_handler = TakeQuitSignal;
    sigemptyset(&quit.sa_mask);
    for (int signal : {SIGTERM, SIGINT, SIGHUP}) sigaction(signal, &quit, nullptr);
    SDL_SetHint(SDL_HINT_JOYSTICK_ALLOW_BACKGROUND_EVENTS, "1");
    // Face buttons by position (bottom, right, left, top), whatever they are
    // labelled on the pad.
    SDL_SetHint(SDL_HINT_GAMECONTROLLER_USE_BUTTON_LABELS, "0");
    // Switching to another window leaves a fullscreen game on screen.
    SDL_SetHint(SDL_HINT_VIDEO_MINIMIZE_ON_FOCUS_LOSS, "0");
    // The software renderer presents through the plain X11 / Wayland
    // framebuffer: a GL-backed one costs an extra pass where there is no GPU.
    SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
    if (SDL_Init(SDL_INIT_VIDEO | SDL_INIT_EVENTS) != 0)
        std::fprintf(stderr, "tessmar: no video: %s\n", SDL_GetError());
    if (SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER) == 0) PadOpenFirst();
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
    if (std::getenv("TESSMAR_FPS_LOG"))
        std::fprintf(stderr, "tessmar: first frame shown after %.1f ms (renderer %s)\n", WindowFirstFrameMs(),
                     WindowRendererName());
    if (audioOpen) Mix_CloseAudio();
    Mix_Quit();
    PadCloseAll();
    PlatformCloseWindow();
    SDL_Quit();
}

uint32_t PlatformTicks() { return SDL_GetTicks(); }
void PlatformSleep(uint32_t ms) { SDL_Delay(ms); }

EventResult PlatformTakeEvent() {
    if (quitSignal) return EventResult::Quit;
    SDL_Event e;
    if (!SDL_PollEvent(&e)) return EventResult::None;
    switch (e.type) {
        case SDL_QUIT: return EventResult::Quit;
        case SDL_KEYDOWN:
        case SDL_KEYUP: {
            if (WindowTakeEvent(e)) break;  // F11 and Alt+Enter are the window's own
            int key = KeyOfScancode(e.key.keysym.scancode);
            if (key >= 0) keys[key] = e.type == SDL_KEYDOWN;
            break;
        }
        case SDL_WINDOWEVENT:
            WindowTakeEvent(e);
            TakeWindowEvent(e.window);
            break;
        case SDL_JOYDEVICEADDED:
        case SDL_JOYDEVICEREMOVED: PadTakeEvent(e); break;
        default: break;
    }
    return EventResult::Handled;
}

void PlatformPostQuit() {
    SDL_Event e{};
    e.type = SDL_QUIT;
    SDL_PushEvent(&e);
}

bool ReplayActive = false;
ScriptedInput ReplayInput;

// A pad's Start is the keyboard's Enter. The pause owed to a focus loss is
// seen by one sample only, and only while playing unpaused: elsewhere Enter
// would finish a name or resume. A replay holds the script's keys; the real
// Escape still quits.
bool PlatformKeyDown(Key key) {
    if (ReplayActive) return ((ReplayInput.keys >> key) & 1u) != 0 || (key == KeyEscape && keys[key]);
    if (key != KeyEnter) return keys[key];
    bool focusPause = focusPausePending && InPlayUnpaused();
    focusPausePending = false;
    return keys[KeyEnter] || PadStartHeld() || focusPause;
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

// FluidSynth holds a tune for two seconds after its last event before it
// reports it stopped, so a restart after the stop leaves a pause of silence.
// The synthesiser loops the tune itself instead; the play frame's restart
// still catches a tune that stopped for any other reason.
constexpr int TunePlaysForever = -1;

// Takes over the tune once the helper thread has finished with it.
static bool TuneReady() {
    if (tuneLoader.joinable() && tuneLoaded) {
        tuneLoader.join();
        tune = loadedTune;
        if (tune == nullptr) std::fprintf(stderr, "tessmar: the tune is silent: %s\n", Mix_GetError());
        if (tune && playWhenLoaded) Mix_PlayMusic(tune, TunePlaysForever);
        playWhenLoaded = false;
    }
    return tune != nullptr;
}

void PlatformTuneOpen(const char* path) {
    if (!audioOpen || tune || tuneLoader.joinable()) return;
    if (!ReadFileBytes(path, tuneBytes, TuneMaxBytes) || tuneBytes.empty()) {
        std::fprintf(stderr, "tessmar: the tune is silent: %s is not a readable file\n", path);
        tuneBytes.clear();
        return;
    }
    tuneLoaded = false;
    tuneLoader = std::thread([] {
        SDL_RWops* rw = SDL_RWFromConstMem(tuneBytes.data(), int(tuneBytes.size()));
        loadedTune = rw ? Mix_LoadMUS_RW(rw, 1) : nullptr;
        tuneLoaded = true;
    });
}

bool PlatformTuneStopped() { return TuneReady() && !Mix_PlayingMusic(); }

void PlatformTunePlay() {
    if (TuneReady()) Mix_PlayMusic(tune, TunePlaysForever);
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
    if (tune != nullptr) {
        Mix_HaltMusic();
        Mix_FreeMusic(tune);
        tune = nullptr;
    }
    tuneBytes.clear();
}

// PlatformPickMissionFile lives in platform_qt_dialog.cpp.
