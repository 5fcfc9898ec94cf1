// The pause screen: the play screen's empty frames and a blinking "PAUSE";
// Up or Down opens a menu under it (resume, undo, retry, give up).
#pragma once
#include <cstdint>

inline constexpr int32_t PauseBlinkPeriod = 40;  // frames; "PAUSE" shows in the first half

extern int32_t PauseBlinkTimer;  // 0..PauseBlinkPeriod - 1
extern uint8_t PauseMenuShown;   // Up or Down has opened the menu in this pause
extern int32_t PauseMenuCursor;  // the highlighted item of the menu, from 0 at the top

// One frame of the blink: the pause screen's first step.
void AdvancePauseBlink();
// Frames after this one in which "PAUSE" stays as it is (shown or not).
int32_t PauseBlinkSteadyFrames();
// Play goes on: the pause and its menu closed.
void LeavePause();

// This module's variables in the program state list (shell/program_state.h).
#define PAUSE_STATE(X) X(PauseBlinkTimer) X(PauseMenuShown) X(PauseMenuCursor)
