// Keyboard and joystick sampled once a frame into the input words.
#pragma once
#include <cstdint>

#include "rules/input_words.h"

inline constexpr uint32_t JoyCenter = 32767;
inline constexpr uint32_t JoyDeadZone = 16384;

void PollJoystick(uint32_t* held, uint32_t* pressed);
void PollKeyboard(uint32_t* held, uint32_t* pressed);
void SampleInput();
