// Settling the board after every change: loose blocks fall, joiners merge
// into their neighbours, networks are labelled and loops searched; marked
// loops blink and are erased, and what hangs in the air falls again.
#pragma once
#include <cstdint>

#include "rules/loops.h"

inline constexpr int FallingBlockRecords = 96;
inline constexpr int EraseFrames = 20;
inline constexpr float FallAcceleration = 2.0f;  // pixels per frame, per frame
inline constexpr float FallSpeedMax = 20.0f;     // pixels per frame

struct FallingBlock {
    int32_t col;    // 0..7
    float y;        // top of the block in board pixels
    float speed;    // pixels per frame
    uint8_t kind;   // 0 = record free
    uint8_t frame;  // frame-block flag
    uint8_t unused[2];
};
// No hidden padding: the program state list copies and compares records byte for byte.
static_assert(sizeof(FallingBlock) == 16);

extern FallingBlock FallingBlocks[FallingBlockRecords];
extern int32_t FallingBlockCount;  // record the next released block takes
extern int32_t EraseTimer;         // frames spent in Erasing

// What a settle did: released blocks (they fall now); found blocks still
// falling from before and did nothing more; marked loops (they blink and are
// erased); or ended the turn, scored.
enum class SettleResult : uint8_t { BlocksReleased, StillFalling, LoopsMarked, TurnOver };

// Releases unsupported blocks; with none falling (`blocksInFlight` false),
// resolves joiners, labels the networks and searches for loops, and with
// none found scores the turn. The loader's analysis
// (SearchMode::AnalyseOnly) releases no block.
SettleResult SettleBoard(SearchMode mode = SearchMode::Play, bool blocksInFlight = false);
// The play state that follows a settle: BlocksFalling, Erasing or NextPair
// (unchanged while blocks still fall).
void GoOnAfterSettling(SettleResult result);
void StepFallingBlocks();  // handler of ScreenState 1
void StepErase();          // handler of ScreenState 2

// This module's variables in the program state list (shell/program_state.h).
#define SETTLE_STATE(X) X(FallingBlocks) X(FallingBlockCount) X(EraseTimer)
