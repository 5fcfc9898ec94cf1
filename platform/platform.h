// The game's only door to the outside world: window, clock, input devices,
// sound, tune and the open-file dialog. It knows nothing of the game: it
// takes pixels and gives events as values, and the shell decides what they
// mean. The real program implements it with SDL (platform_sdl.cpp); tests,
// tools and the headless runner with a virtual clock and scripted input
// (platform_headless.cpp).
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/platform_os.h"

// A sound file read whole into memory. `handle` belongs to the platform (a
// decoded chunk); `name` identifies it in traces, `file` in messages. With
// `pitchVariants` the platform also prepares copies a few per cent higher
// and lower (in `pitched`) and each play picks one of them.
struct SoundImage {
    static constexpr int PitchedCopies = 4;
    const char* name = "";
    std::string file;
    std::vector<uint8_t> bytes;  // the file's, until the platform has decoded them
    std::string readError;       // why the file could not be read; empty when it was
    bool pitchVariants = false;
    void* handle = nullptr;
    void* pitched[PitchedCopies] = {};
};

// Keys the game reads, by physical position.
enum Key : int { KeyZ, KeyX, KeyA, KeyC, KeyD, KeyG, KeyEnter, KeyEscape, KeyLeft, KeyRight, KeyUp, KeyDown, KeyL, KeyF1, KeyBackspace, KeyCount };
// A key's bit in a word of held keys.
inline constexpr uint32_t KeyBit(Key k) { return 1u << k; }

// What an event taken from the window means beyond the platform itself.
enum class PlatformEvent : uint8_t {
    None,         // no event came
    Other,        // one the platform handled alone (a key, a resize, a pad plugged in)
    Quit,         // the window was closed, a quit was posted, or a signal that ends the program came
    FocusLost,    // the keyboard's focus went to another window, or the window was minimised
    FocusGained,
    PadLost,      // the pad being read was unplugged
};

// A picture of 32-bit pixels (0x00RRGGBB), `width` to a row.
struct Picture {
    const uint32_t* pixels = nullptr;
    int width = 0, height = 0;
};

// The window: the picture's size, the whole-number scale it opens at while
// not fullscreen, whether it opens fullscreen, and its icon.
struct WindowRequest {
    const char* title = "";
    int width = 0, height = 0;
    int scale = 1;
    bool fullscreen = false;
    Picture icon;
};
// How the player has left the window: its scale while not fullscreen, and
// whether it is fullscreen.
struct WindowLayout {
    int scale = 1;
    bool fullscreen = false;
};

// The desktop's usable area in pixels; false when there is none to ask.
bool PlatformDesktopArea(int& width, int& height);
// Opening may fail (no display): then presenting does nothing.
bool PlatformOpenWindow(const WindowRequest& request);
WindowLayout PlatformWindowLayout();
void PlatformCloseWindow();
// Shows the picture, of the size the window was opened for; the pixels stay
// valid until the next call.
void PlatformPresent(const Picture& picture);

// Clock in milliseconds (wraps like any 32-bit counter).
uint32_t PlatformTicks();

// Takes at most one pending window event and handles what is the platform's
// own (keys held, display keys, pads plugged in).
PlatformEvent PlatformTakeEvent();
// The same, but waits up to timeoutMs for an event to come (the thread
// sleeps meanwhile); None when the time ran out.
PlatformEvent PlatformWaitEvent(uint32_t timeoutMs);
void PlatformPostQuit();

// Whether the loop may leave out frames in which nothing would change and
// sleep until an event comes: a real window (not the headless runner, which
// counts on every frame).
bool PlatformMayRest();
// False while the window is minimised: nobody sees its frames.
bool PlatformWindowShown();

// Whether a key is held as of the last event taken, or was pressed since the
// last time it was asked for (a tap between two frames counts). A pad's
// Start is the keyboard's Enter.
bool PlatformKeyDown(Key key);

// Joystick 1: axes on 0..65535 and buttons 1..32 as bits 0..31. False when
// there is no joystick, or the window does not have the keyboard's focus.
bool PlatformJoystick(uint32_t& x, uint32_t& y, uint32_t& buttons);

// Short sounds from memory, several at once: a new sound plays beside those
// still playing (when every channel is busy the oldest fades out within a
// few milliseconds). An empty, undecodable or overlong image is silent and
// named once on stderr when it is prepared.
void PlatformPrepareSound(SoundImage& image);
void PlatformPlaySound(const SoundImage& image);
void PlatformStopSound();
void PlatformReleaseSound(SoundImage& image);

// The tune. Every call is harmless when the file could not be opened. When
// `path` cannot be read or played, `fallback` (if given) is opened instead.
void PlatformTuneOpen(const char* path, const char* fallback = nullptr);
bool PlatformTuneStopped();  // opened and not playing
void PlatformTunePlay();     // from the beginning
void PlatformTuneStop();
void PlatformTuneClose();

// Modal open-file dialog for mission files, its texts in the language given.
// Returns the chosen path, or an empty string when cancelled.
enum class DialogLanguage : uint8_t { Japanese, English };
std::string PlatformPickMissionFile(const std::string& startFolder, DialogLanguage language);

// The local date (the name entry's D key writes it).
CalendarDay PlatformToday();

// Start-up and shutdown of the devices behind the interface.
void PlatformInit();
// Pads and sound, opened once the window is up: without a sound card
// finding that out takes longer than the first frame.
void PlatformOpenDevices();
void PlatformShutdown();
