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

// Keys by position, whatever their labels: SDL's scancode numbers (the USB
// keyboard usage table), 0..KeyCount - 1. The names are those of the keys
// used most; any other key is its number.
inline constexpr int KeyCount = 512;
enum Key : int {
    KeyA = 4, KeyC = 6, KeyD = 7, KeyG = 10, KeyL = 15, KeyM = 16, KeyR = 21, KeyX = 27, KeyZ = 29,
    KeyEnter = 40, KeyEscape = 41, KeyBackspace = 42, KeyF1 = 58, KeyF2 = 59,
    KeyRight = 79, KeyLeft = 80, KeyDown = 81, KeyUp = 82, KeyKeypadEnter = 88,
};

// A set of keys, one bit a key.
struct KeySet {
    uint64_t words[KeyCount / 64] = {};
    constexpr bool Has(int key) const {
        return key >= 0 && key < KeyCount && ((words[key / 64] >> (key % 64)) & 1u) != 0;
    }
    constexpr void Add(int key) {
        if (key >= 0 && key < KeyCount) words[key / 64] |= uint64_t(1) << (key % 64);
    }
    constexpr bool Empty() const {
        for (uint64_t w : words)
            if (w != 0) return false;
        return true;
    }
    constexpr KeySet& operator|=(const KeySet& other) {
        for (int i = 0; i < KeyCount / 64; ++i) words[i] |= other.words[i];
        return *this;
    }
    constexpr bool operator==(const KeySet&) const = default;
};
constexpr KeySet operator|(KeySet a, const KeySet& b) { return a |= b; }
// The set of one key.
constexpr KeySet KeyBit(int key) {
    KeySet s;
    s.Add(key);
    return s;
}

// What an event taken from the window means beyond the platform itself.
enum class PlatformEvent : uint8_t {
    None,         // no event came
    Other,        // one the platform handled alone (a key, a resize, a pad plugged in)
    Quit,         // the window was closed, a quit was posted, or a signal that ends the program came
    FocusLost,    // the keyboard's focus went to another window, or the window was minimised
    FocusGained,
    PadLost,      // the pad being read was unplugged
};

// A rectangle of a picture, in its pixels.
struct PictureArea {
    int x = 0, y = 0, w = 0, h = 0;
};

// A picture of 32-bit pixels (0x00RRGGBB), `width` to a row, and where it
// differs from the picture presented before it: `changedCount` areas at
// `changed` (none: it is the same), or everything when `changed` is null.
struct Picture {
    const uint32_t* pixels = nullptr;
    int width = 0, height = 0;
    const PictureArea* changed = nullptr;
    int changedCount = 0;
};

// The window: the picture's size, the whole-number scale it opens at while
// not fullscreen, whether it opens fullscreen, and its icon. With `fit` the
// picture is drawn as large as the window allows at any factor (the window
// opening as large as the desktop allows), not at a whole-number scale.
struct WindowRequest {
    const char* title = "";
    int width = 0, height = 0;
    int scale = 1;
    bool fullscreen = false;
    Picture icon;
    bool fit = false;
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
// Draws the picture from now on as large as fits at any factor, or at the
// largest whole scale; the window keeps its size.
void PlatformSetPictureFit(bool fit);
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
// last time it was asked for (a tap between two frames counts).
bool PlatformKeyDown(int key);
// SDL's name of a key ("Left", "Return", "Z", "Left Shift"); "" for a number
// without one. And the key of a name (any case), -1 for none.
std::string PlatformKeyName(int key);
int PlatformKeyOfName(const std::string& name);
// What the keyboard's layout prints on the key ("W" on the Z key of an
// AZERTY keyboard); the key's name where the layout is not known.
std::string PlatformKeyLabel(int key);

// A pad's buttons by position, in SDL's game controller numbering: the face
// buttons bottom, right, left and top, then Back, Guide, Start, the sticks'
// presses, the shoulders, the d-pad (up, down, left, right) and the rest.
inline constexpr int PadButtonCount = 21;
enum PadButton : int {
    PadBottom, PadRight, PadLeft, PadTop, PadBack, PadGuide, PadStart, PadLeftStick, PadRightStick,
    PadLeftShoulder, PadRightShoulder, PadDpadUp, PadDpadDown, PadDpadLeft, PadDpadRight,
};
inline constexpr int NoPadButton = -1;

// Joystick 1: axes on 0..65535 and the buttons as bits. A pad that SDL's
// controller mapping knows (`pad` set): its left stick, and every button
// held as bit PadButton. Any other joystick: its first two axes and buttons
// 1..32 as bits 0..31. False when there is no joystick, or the window does
// not have the keyboard's focus.
bool PlatformJoystick(uint32_t& x, uint32_t& y, uint32_t& buttons, bool& pad);
// SDL's name of a pad button ("a", "start", "dpleft"), "" for none; and the
// button of a name, NoPadButton for none.
std::string PlatformPadButtonName(int button);
int PlatformPadButtonOfName(const std::string& name);

// Short sounds from memory, several at once: a new sound plays beside those
// still playing (when every channel is busy the oldest fades out within a
// few milliseconds). An empty, undecodable or overlong image is silent and
// named once on stderr when it is prepared.
void PlatformPrepareSound(SoundImage& image);
void PlatformPlaySound(const SoundImage& image);
// The loudness of the tune and of the short sounds, each 0 (silent) to 1
// (as they were made, the level they start at).
void PlatformSetVolumes(double tune, double sounds);
void PlatformStopSound();
void PlatformReleaseSound(SoundImage& image);

// The tune. Every call is harmless when the file could not be opened. When
// `path` cannot be read or played, `fallback` (if given) is opened instead.
void PlatformTuneOpen(const char* path, const char* fallback = nullptr);
bool PlatformTuneStopped();  // opened and not playing
void PlatformTunePlay();     // from the beginning
void PlatformTuneStop();
void PlatformTuneClose();
// A second arrangement of the open tune, opened beside it and closed with
// it, and which of the two plays. A change while the tune plays is made on
// its next line (lines fall every `lineMs` from the start of the arrangement
// playing): the one playing fades to silence by the line and the other
// starts on it, from its beginning. Otherwise the next play starts the one
// chosen.
void PlatformTuneOpenSecond(const char* path);
void PlatformTuneUseSecond(bool second, double lineMs);

// Modal open-file dialog for mission files, its texts in the language given.
// Returns the chosen path, or an empty string when cancelled.
enum class DialogLanguage : uint8_t { Japanese, English };
std::string PlatformPickMissionFile(const std::string& startFolder, DialogLanguage language);

// The local date (the name entry's D key writes it).
CalendarDay PlatformToday();

// Puts `text` on the desktop's clipboard (nothing happens where there is
// none).
void PlatformSetClipboard(const std::string& text);

// Start-up and shutdown of the devices behind the interface.
void PlatformInit();
// Pads and sound, opened once the window is up: without a sound card
// finding that out takes longer than the first frame.
void PlatformOpenDevices();
void PlatformShutdown();
