// The pause screen: the play screen's empty frames and a blinking "PAUSE".
#pragma once
#include <cstdint>

extern int32_t PauseBlinkTimer;  // 0..39; "PAUSE" shows while below 20

void ResetPauseState();
