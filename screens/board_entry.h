// Board entry: the board slides down while the curtains withdraw, then play
// begins and the tune starts.
#pragma once
#include <cstdint>

inline constexpr int32_t EntryCurtainStart = 192, EntryBoardStart = -480;

extern int32_t EntryCurtainWidth;  // width of each curtain strip
extern int32_t EntryBoardY;        // vertical offset of the playfield

// ANDs the background tile over the strips 0 <= x < w and 384 - w <= x < 384,
// full height; nothing when w is 0 or less.
void DrawCurtains(int32_t w);

// This module's variables in the program state list (shell/program_state.h).
#define BOARD_ENTRY_STATE(X) X(EntryCurtainWidth) X(EntryBoardY)
