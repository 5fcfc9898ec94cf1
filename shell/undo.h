// Undo and retry in a mission: the program state saved as each pair enters
// the well and as the board entry begins, put back on request (the calls
// out of rules/game_events.h). What is not play stays as it is: the input,
// the frame count, the records, the toggles, the screens' own cursors.
#pragma once
#include <cstdint>

// Pair entries kept; beyond, the oldest is dropped. Each is a whole image of
// the program state list (ProgramStateBytes, 3392 bytes today): 434 KB, and
// one more for the retry.
inline constexpr int UndoPairs = 128;

extern uint8_t UndoWaiting;  // after an undo: play waits at the restored moment for a play key
extern uint8_t UndoDepth;    // pair entries kept, 0..UndoPairs
extern uint8_t UndoOldest;   // where the oldest kept entry lies in the ring
extern uint8_t RetrySaved;   // the board entry of the game being played is saved
extern uint16_t UndoCount;   // undos since the game began; not taken back by an undo or a retry
extern uint16_t RetryCount;  // retries since the game began
extern uint8_t RetryEntering;  // a retry put the board entry back: the game goes on, its counts too

// A game begins (its board entry's first frame): saved for a retry, nothing
// to undo, no undos or retries counted (unless a retry brought it back).
void SaveRetryPoint();
void ForgetUndo();
// At the end of the frame in which a pair entered the well (missions only).
void SavePairEntry();

// This module's variables in the program state list (shell/program_state.h).
#define UNDO_STATE(X) X(UndoWaiting) X(UndoDepth) X(UndoOldest) X(RetrySaved) X(UndoCount) X(RetryCount) X(RetryEntering)
