// Board entry: the board slides down while the curtains withdraw, then play
// begins and the tune starts.
#pragma once
#include <cstdint>

// Each frame the curtains narrow by 3 pixels and the board comes 6 lower;
// play begins in the frame the board reaches EntryBoardLast.
inline constexpr int32_t EntryCurtainStart = 192, EntryCurtainStep = 3;
inline constexpr int32_t EntryBoardStart = -480, EntryBoardStep = 6, EntryBoardLast = -6;
inline constexpr int BoardEntryFrames = (EntryBoardLast - EntryBoardStart) / EntryBoardStep;

extern int32_t EntryCurtainWidth;  // width of each curtain strip
extern int32_t EntryBoardY;        // vertical offset of the playfield

// ANDs the background tile over the strips 0 <= x < w and 384 - w <= x < 384,
// full height; nothing when w is 0 or less.
void DrawCurtains(int32_t w);

// This module's variables in the program state list (shell/program_state.h).
#define BOARD_ENTRY_STATE(X) X(EntryCurtainWidth) X(EntryBoardY)
