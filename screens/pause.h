// The pause screen: the play screen's empty frames and a blinking "PAUSE".
#pragma once
#include <cstdint>

inline constexpr int32_t PauseBlinkPeriod = 40;  // frames; "PAUSE" shows in the first half

extern int32_t PauseBlinkTimer;  // 0..PauseBlinkPeriod - 1

// One frame of the blink: the pause screen's first step.
void AdvancePauseBlink();
// Frames after this one in which "PAUSE" stays as it is (shown or not).
int32_t PauseBlinkSteadyFrames();

// This module's variables in the program state list (shell/program_state.h).
#define PAUSE_STATE(X) X(PauseBlinkTimer)
