// The game's only door to the outside world: window, clock, input devices,
// sound, tune and the open-file dialog. The real program implements it with
// SDL (platform_sdl.cpp); tests, tools and the headless runner with a virtual
// clock and scripted input (platform_headless.cpp).
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "mission/language.h"
#include "platform/platform_os.h"

struct Surface;

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
enum Key : int { KeyZ, KeyX, KeyA, KeyC, KeyD, KeyG, KeyEnter, KeyEscape, KeyLeft, KeyRight, KeyUp, KeyDown, KeyL, KeyF1, KeyCount };
// A key's bit in a word of held keys.
inline constexpr uint32_t KeyBit(Key k) { return 1u << k; }

enum class EventResult { None, Handled, Quit };

// Window. Opening may fail (no display): then presenting does nothing.
bool PlatformOpenWindow(const char* title, int width, int height);
void PlatformCloseWindow();
void PlatformPresent(const Surface& backBuffer);  // copies 384 x 480 to the window

// Clock in milliseconds (wraps like any 32-bit counter).
uint32_t PlatformTicks();

// Takes at most one pending window event and handles it. Quit when the window
// was closed or a quit request was posted.
EventResult PlatformTakeEvent();
// The same, but waits up to timeoutMs for an event to come (the thread
// sleeps meanwhile); None when the time ran out.
EventResult PlatformWaitEvent(uint32_t timeoutMs);
void PlatformPostQuit();

// Whether the loop may leave out frames in which nothing would change and
// sleep until an event comes: a real window played by a person (not a
// scripted run, which counts on every frame).
bool PlatformMayRest();
// False while the window is minimised: nobody sees its frames.
bool PlatformWindowShown();

// Held state of a key as of the last event taken.
bool PlatformKeyDown(Key key);

// Joystick 1: axes on 0..65535 and buttons 1..32 as bits 0..31. False when
// there is no joystick.
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

// Modal open-file dialog for mission files. Returns the chosen path, or an
// empty string when cancelled.
std::string PlatformPickMissionFile(const std::string& startFolder);

// Remembers the player's language for the next start (the settings file).
void PlatformRememberLanguage(Language language);

// The local date (the name entry's D key writes it).
CalendarDay PlatformToday();

// Start-up and shutdown of the devices behind the interface.
void PlatformInit();
// Pads and sound, opened once the window is up: without a sound card
// finding that out takes longer than the first frame.
void PlatformOpenDevices();
void PlatformShutdown();
