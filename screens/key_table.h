// The player's keys, pad and sound: what each action of the keyboard and
// of the pad is bound to, the levels of the tune and the sounds. Chosen on the options screen
// and kept in settings.conf; the input sampling reads the bindings.
#pragma once
#include <cstdint>
#include <string>

// The keyboard's actions, in the order the options screen lists them.
enum class Action : uint8_t {
    Left, Right, Drop, Up, TurnLeft, TurnRight, Link, Pause, Help, Options, Colours, Grid, Language, Mute, Undo,
    Date,
};
inline constexpr int ActionCount = 16;

struct ActionInfo {
    const char* name;      // in settings.conf: key.NAME=
    uint32_t bit;          // the input word's bit it sets
    int defaultKey;        // a scancode
    int defaultPadButton;  // a PadButton, or NoPadButton
    const char* english;   // on the options screen
    const char* japanese;  // in katakana
};
extern const ActionInfo Actions[ActionCount];

// A scancode for every action, no two the same.
extern int KeyBinding[ActionCount];

// The action bound to `key`, or -1.
int ActionOfKey(int key);
// Every action back on its own key.
void ResetKeyBindings();
// Binds `action` to `key` unless another action holds it; false then.
bool BindKey(int action, int key);

// The pad's button for every action (NoPadButton: none), no two the same,
// and whether the pad has a Nintendo layout: its bottom and right buttons
// swap places (confirm on the right, back at the bottom). The bindings name
// buttons as the layout places them.
extern int PadBinding[ActionCount];
extern bool PadNintendo;
int ActionOfPadButton(int button);
void ResetPadBindings();
bool BindPadButton(int action, int button);
// The button of the bindings' numbering a pad's button stands for under the
// layout (the swap is its own inverse).
int PadButtonInLayout(int button);
// A pad button by its position on the pad, in the game's letters ("BOTTOM",
// "START", "D-LEFT"; in Japanese the face buttons in katakana); "-" for none.
std::string PadButtonText(int button, bool japanese);

// A key's label as the keyboard shows it, in the letters the game's font
// has (capitals; '?' for a character it has none for).
std::string KeyLabelText(int key);
// `text` with "@a", "@b"... (the actions in order) made the labels of the
// keys bound to them, and "$a", "$b"... the positions of their pad buttons.
std::string WithKeyLabels(const char* text, bool japanese);

// The tune's and the sounds' level, 0 (off) to MaxSoundLevel (as made); M
// mutes both.
inline constexpr int MaxSoundLevel = 10;
extern uint8_t MusicLevel, EffectsLevel;
extern bool SoundMuted;
// Whether the tune is to be heard at all: at level 0 it is not played.
inline bool TuneWanted() { return MusicLevel > 0 && !SoundMuted; }
inline bool SoundsWanted() { return EffectsLevel > 0 && !SoundMuted; }
