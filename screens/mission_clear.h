// Mission clear: the board slides down, curtains close from both sides and
// the cleared mission is announced; then the next numbered mission or the title.
#pragma once
#include <cstdint>

extern int32_t ClearCurtainWidth;  // width of each curtain strip, 0 on entry
extern int32_t ClearBoardY;        // playfield offset, 0 on entry

inline constexpr int32_t ClearBoardEndY = 600;  // reached in the 100th frame

// This module's variables in the program state list (shell/program_state.h).
#define MISSION_CLEAR_STATE(X) X(ClearCurtainWidth) X(ClearBoardY)
