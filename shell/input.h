// Keyboard and joystick sampled once a frame into the input words.
#pragma once
#include <cstdint>

#include "platform/platform.h"
#include "rules/input_words.h"

inline constexpr uint32_t JoyCenter = 32767;
inline constexpr uint32_t JoyDeadZone = 16384;

// Every key held this frame.
extern KeySet AllKeysHeld;

void PollJoystick(uint32_t* held, uint32_t* pressed);
void SampleKeyboard();  // AllKeysHeld and NewestKey
// The actions' bits from the keys of SampleKeyboard; a key among
// `keysBefore` (last frame's) is held, not pressed, whatever it is bound to now.
void PollKeyboard(uint32_t* held, uint32_t* pressed, const KeySet& keysBefore);
void SampleInput();
// The same with `keys` as the whole keyboard, read by the actions' own keys
// whatever they are bound to, and no pad, replay or owed pause: a search
// inside the program (the solver proving a mission) plays with keys of its own.
void SampleSearchInput(const KeySet& keys);

// This module's variables in the program state list (shell/program_state.h).
#define KEYBOARD_STATE(X) X(AllKeysHeld)
