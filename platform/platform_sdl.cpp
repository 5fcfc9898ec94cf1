// The real program's platform: start-up and shutdown of SDL, the events, the
// keyboard, the signals. The window is in platform_sdl_window.cpp, joystick 1
// in platform_sdl_pad.cpp, the short sounds in platform_sdl_sound.cpp, the
// tune and the mixer's helper thread in platform_sdl_audio.cpp.
#include <SDL.h>
#include <fcntl.h>
#include <unistd.h>

#include <atomic>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "platform/platform.h"
#include "platform/platform_os.h"
#include "platform/key_presses.h"
#include "platform/platform_sdl_parts.h"
#include "platform/sound_font.h"

namespace {
bool audioOpen = false;

std::jthread audioCloser;  // closes an audio subsystem that found no device
// The keys held and tapped between samples: two taps quicker than the
// frames are two presses, not one.
KeyPresses keyPresses;
bool windowFocused = true;

bool ValidKey(int key) { return key >= 0 && key < KeyCount; }

// The sound libraries (ALSA, fluidsynth) write notes of their own straight
// to stderr, a dozen lines where there is no sound card; the game says what
// matters in one line of its own. TESSMAR_VERBOSE=1 lets them through.
class QuietLibraries {
public:
    QuietLibraries() {
        if (std::getenv("TESSMAR_VERBOSE") != nullptr) return;
        std::fflush(stderr);
        saved_ = dup(STDERR_FILENO);
        int null = open("/dev/null", O_WRONLY | O_CLOEXEC);
        if (null >= 0) {
            dup2(null, STDERR_FILENO);
            close(null);
        }
    }
    ~QuietLibraries() {
        if (saved_ < 0) return;
        std::fflush(stderr);
        dup2(saved_, STDERR_FILENO);
        close(saved_);
    }
    QuietLibraries(const QuietLibraries&) = delete;
    QuietLibraries& operator=(const QuietLibraries&) = delete;

private:
    int saved_ = -1;
};

// A window without the focus holds no keys.
PlatformEvent TakeWindowEvent(const SDL_WindowEvent& e) {
    if (e.event == SDL_WINDOWEVENT_FOCUS_GAINED) {
        windowFocused = true;
        return PlatformEvent::FocusGained;
    }
    if (e.event != SDL_WINDOWEVENT_FOCUS_LOST && e.event != SDL_WINDOWEVENT_MINIMIZED) return PlatformEvent::Other;
    windowFocused = false;
    keyPresses.Forget();
    return PlatformEvent::FocusLost;
}

// The pointer hides while the keys or a pad are used and shows again when
// the mouse moves.
void ShowPointer(bool show) { SDL_ShowCursor(show ? SDL_ENABLE : SDL_DISABLE); }
}  // namespace

CalendarDay PlatformToday() { return SystemToday(); }

void PlatformSetClipboard(const std::string& text) { SDL_SetClipboardText(text.c_str()); }

namespace {
volatile std::sig_atomic_t quitSignal = 0;
void TakeQuitSignal(int) { quitSignal = 1; }

// Every signal whose default would end the game at once, except those that
// mean the program itself went wrong (SIGSEGV, SIGABRT and the like).
void CatchEndingSignals() {
    struct sigaction quit {};
    quit.sa_handler = TakeQuitSignal;
    sigemptyset(&quit.sa_mask);
    for (int signal : {SIGTERM, SIGINT, SIGHUP, SIGQUIT, SIGUSR1, SIGUSR2, SIGALRM, SIGVTALRM, SIGPROF, SIGXCPU,
                       SIGXFSZ, SIGIO, SIGPWR, SIGSTKFLT})
        sigaction(signal, &quit, nullptr);
    for (int signal = SIGRTMIN; signal <= SIGRTMAX; ++signal) sigaction(signal, &quit, nullptr);
    // A closed stderr (or any pipe) makes a write fail instead.
    std::signal(SIGPIPE, SIG_IGN);
}

// The synthesiser writes its errors straight to stderr from the audio
// thread, one line for each try of a broken song, thousands a second; the
// game says what matters in one line of its own. TESSMAR_VERBOSE=1 lets
// them through.
void QuietSynthesiser() {
    if (std::getenv("TESSMAR_VERBOSE") != nullptr) return;
    void* synthesiser = SDL_LoadObject("libfluidsynth.so.3");  // already mapped by the mixer; kept
    if (synthesiser == nullptr) return;
    using SetLogFunction = void* (*)(int level, void* function, void* data);
    auto setLog = reinterpret_cast<SetLogFunction>(SDL_LoadFunction(synthesiser, "fluid_set_log_function"));
    constexpr int SynthesiserLogLevels = 5;  // panic, error, warning, information, debugging
    if (setLog != nullptr)
        for (int level = 0; level < SynthesiserLogLevels; ++level) setLog(level, nullptr, nullptr);
}
}  // namespace

bool QuitSignalled() { return quitSignal != 0; }

void PlatformInit() {
    // SDL's own handlers cover SIGTERM and SIGINT only, and only through its
    // event queue, which nobody reads while the open-file dialog is open.
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    CatchEndingSignals();
    SDL_SetHint(SDL_HINT_JOYSTICK_ALLOW_BACKGROUND_EVENTS, "1");
    // Face buttons by position (bottom, right, left, top), whatever they are
    // labelled on the pad.
    SDL_SetHint(SDL_HINT_GAMECONTROLLER_USE_BUTTON_LABELS, "0");
    // Switching to another window leaves a fullscreen game on screen.
    SDL_SetHint(SDL_HINT_VIDEO_MINIMIZE_ON_FOCUS_LOSS, "0");
    // The software renderer presents through the plain X11 / Wayland
    // framebuffer: a GL-backed one costs an extra pass where there is no GPU.
    SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
    // The sound font is chosen through the environment, which may only be
    // changed while no other thread runs: SDL's audio and pad threads read
    // it (a change under them can crash the reading thread).
    ChooseSoundFont(Mix_SetSoundFonts);
    if (SDL_Init(SDL_INIT_VIDEO | SDL_INIT_EVENTS) != 0)
        std::fprintf(stderr, "tessmar: no video: %s\n", SDL_GetError());
}

namespace {
constexpr int AudioRate = 44100, AudioChannels = 2, AudioBufferFrames = 1024;
// How long the shutdown waits for the sounds and the tune to be stopped (the
// tune fades out over TuneFadeMs).
constexpr uint32_t AudioEndWaitMs = 1000;

// Whether the default output device opens. A driver that lists devices has
// one when it lists any; one that lists none may still open a default.
bool AudioDeviceOpens() {
    if (SDL_GetNumAudioDevices(0) > 0) return true;
    SDL_AudioSpec want{};
    want.freq = AudioRate;
    want.format = AUDIO_S16SYS;
    want.channels = AudioChannels;
    want.samples = AudioBufferFrames;
    SDL_AudioDeviceID device = SDL_OpenAudioDevice(nullptr, 0, &want, nullptr, 0);
    if (device == 0) return false;
    SDL_CloseAudioDevice(device);
    return true;
}
}  // namespace

void PlatformOpenDevices() {
    if (SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER) == 0) {
        PadTestOpen();
        PadOpenFirst();
    }
    const char* failure = nullptr;  // what stopped the sound, for stderr
    {
        QuietLibraries quiet;
        if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) failure = "no audio";
        else if (!AudioDeviceOpens()) failure = "no audio device";
        else if (Mix_OpenAudio(AudioRate, AUDIO_S16SYS, AudioChannels, AudioBufferFrames) != 0)
            failure = "no audio device";
        if (failure == nullptr) {
            Mix_Init(MIX_INIT_MID);
            QuietSynthesiser();
        }
    }
    if (failure != nullptr) {
        std::fprintf(stderr, "tessmar: %s: %s\n", failure, SDL_GetError());
        // The audio backend's device watch would go on waking the game for
        // nothing. Closing it waits for the watch's next wake-up (up to a
        // tenth of a second), so that is done beside the game's first frames;
        // nothing else starts or stops SDL subsystems until shutdown joins it.
        audioCloser = std::jthread([] { SDL_QuitSubSystem(SDL_INIT_AUDIO); });
        return;
    }
    SoundsOpen();
    AudioHelperStart(AudioBufferFrames);
    audioOpen = true;
}

void PlatformShutdown() {
    if (audioCloser.joinable()) audioCloser.join();
    if (std::getenv("TESSMAR_FPS_LOG")) {
        std::fprintf(stderr, "tessmar: first frame shown after %.1f ms (renderer %s)\n", WindowFirstFrameMs(),
                     WindowRendererName());
        long shown = 0, late = 0;
        double mean = 0, longest = 0;
        WindowPacing(shown, mean, longest, late);
        std::fprintf(stderr,
                     "tessmar: %ld frames shown after the first %.0f s, mean period %.3f ms, longest %.1f ms, "
                     "%ld gaps over 40 ms\n",
                     shown, WindowPacingSettleSeconds(), mean, longest, late);
    }
    if (audioOpen) {
        SoundsClose();
        if (!AudioHelperEnd(AudioEndWaitMs)) {
            // The mixer's helper is stuck behind the audio callback: closing
            // the audio (or SDL) would wait for it for ever. The window goes,
            // and the process ends without them.
            PadCloseAll();
            PlatformCloseWindow();
            std::fflush(nullptr);
            std::_Exit(0);
        }
        Mix_CloseAudio();
        audioOpen = false;
    }
    Mix_Quit();
    PadCloseAll();
    // The sound and pad drivers' own threads end while the window is still
    // up: once it has gone, only the display's connection is left to close.
    SDL_QuitSubSystem(SDL_INIT_GAMECONTROLLER | SDL_INIT_AUDIO);
    PlatformCloseWindow();
    SDL_Quit();
}

uint32_t PlatformTicks() { return SDL_GetTicks(); }

namespace {
PlatformEvent HandleEvent(const SDL_Event& e) {
    switch (e.type) {
        case SDL_QUIT: return PlatformEvent::Quit;
        case SDL_KEYDOWN:
        case SDL_KEYUP: {
            if (WindowTakeEvent(e)) break;  // F11 and Alt+Enter are the window's own
            int key = e.key.keysym.scancode;
            if (e.type == SDL_KEYDOWN) ShowPointer(false);
            keyPresses.Take(key, e.type == SDL_KEYDOWN);
            break;
        }
        case SDL_CONTROLLERBUTTONDOWN:
        case SDL_JOYBUTTONDOWN: ShowPointer(false); break;
        case SDL_MOUSEMOTION: ShowPointer(true); break;
        case SDL_WINDOWEVENT:
            WindowTakeEvent(e);
            return TakeWindowEvent(e.window);
        case SDL_JOYDEVICEADDED:
        case SDL_JOYDEVICEREMOVED:
            if (PadTakeEvent(e)) return PlatformEvent::PadLost;
            break;
        default: break;
    }
    return PlatformEvent::Other;
}
}  // namespace

PlatformEvent PlatformTakeEvent() {
    if (quitSignal) return PlatformEvent::Quit;
    PadTestPoll();
    SDL_Event e;
    if (!SDL_PollEvent(&e)) return PlatformEvent::None;
    return HandleEvent(e);
}

// SDL sleeps in the display connection's poll until an event or the timeout
// (it falls back to 1 ms steps only while a joystick needs polling). A quit
// signal that comes meanwhile is seen when the wait ends.
PlatformEvent PlatformWaitEvent(uint32_t timeoutMs) {
    if (quitSignal) return PlatformEvent::Quit;
    PadTestPoll();
    // The test pad's file is read between short waits.
    if (constexpr uint32_t TestPadPollMs = 10; PadTestActive() && timeoutMs > TestPadPollMs) timeoutMs = TestPadPollMs;
    SDL_Event e;
    if (!SDL_WaitEventTimeout(&e, int(timeoutMs))) return quitSignal ? PlatformEvent::Quit : PlatformEvent::None;
    return HandleEvent(e);
}

bool PlatformMayRest() { return PlatformWindow() != nullptr; }

// Minimised only: a window not yet mapped by the window manager also counts
// as hidden for a moment at the start, and its first frame must not wait.
bool PlatformWindowShown() {
    SDL_Window* window = PlatformWindow();
    return window == nullptr || (SDL_GetWindowFlags(window) & SDL_WINDOW_MINIMIZED) == 0;
}

void PlatformPostQuit() {
    SDL_Event e{};
    e.type = SDL_QUIT;
    SDL_PushEvent(&e);
}

bool PlatformKeyDown(int key) { return keyPresses.Sample(key); }

bool WindowHasFocus() { return windowFocused; }

std::string PlatformKeyName(int key) { return ValidKey(key) ? SDL_GetScancodeName(SDL_Scancode(key)) : ""; }

int PlatformKeyOfName(const std::string& name) {
    if (name.empty()) return -1;
    SDL_Scancode key = SDL_GetScancodeFromName(name.c_str());
    return key == SDL_SCANCODE_UNKNOWN ? -1 : int(key);
}

// SDL knows the layout once the video is up; before, or for a key the layout
// gives no character, the scancode's own name.
std::string PlatformKeyLabel(int key) {
    if (!ValidKey(key)) return "";
    SDL_Keycode code = SDL_WasInit(SDL_INIT_VIDEO) ? SDL_GetKeyFromScancode(SDL_Scancode(key)) : SDLK_UNKNOWN;
    const char* label = code != SDLK_UNKNOWN ? SDL_GetKeyName(code) : "";
    return label[0] != '\0' ? label : PlatformKeyName(key);
}

// PlatformPickMissionFile is in platform_sdl_dialog.cpp.
