// The player's keys and sound: what each action of the keyboard is bound
// to, the levels of the tune and the sounds. Chosen on the options screen
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

// A key's label as the keyboard shows it, in the letters the game's font
// has (capitals; '?' for a character it has none for).
std::string KeyLabelText(int key);
// `text` with "@a", "@b"... (the actions in order) made the labels of the
// keys bound to them.
std::string WithKeyLabels(const char* text);

// The tune's and the sounds' level, 0 (off) to MaxSoundLevel (as made); M
// mutes both.
inline constexpr int MaxSoundLevel = 10;
extern uint8_t MusicLevel, EffectsLevel;
extern bool SoundMuted;
// Whether the tune is to be heard at all: at level 0 it is not played.
inline bool TuneWanted() { return MusicLevel > 0 && !SoundMuted; }
inline bool SoundsWanted() { return EffectsLevel > 0 && !SoundMuted; }
