// The pause screen: the play screen's empty frames and a blinking "PAUSE".
#pragma once
#include <cstdint>

extern int32_t PauseBlinkTimer;  // 0..39; "PAUSE" shows while below 20

// This module's variables in the program state list (shell/program_state.h).
#define PAUSE_STATE(X) X(PauseBlinkTimer)
