// Where things sit on the 384 x 480 back buffer: the well's origin, set when
// a game starts, by which the renderer draws the well and the fish and the
// link sprite are placed.
#pragma once
#include <cstdint>

inline constexpr int ScreenWidth = 384, ScreenHeight = 480;
// A well cell on the screen, in pixels square.
inline constexpr int CellSize = 32;

// Back-buffer position of well cell (0, 0): (64, 80) in score attack and goal
// types from GoalScore up, (16, 80) for the fixed-queue goals; (0, 0) until a
// game starts. Set by the title and the mission loader when a game starts.
extern int32_t BoardOriginX, BoardOriginY;

// This module's variables in the program state list (shell/program_state.h).
#define SCREEN_LAYOUT_STATE(X) X(BoardOriginX) X(BoardOriginY)
