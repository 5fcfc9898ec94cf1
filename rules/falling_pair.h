// The falling pair: two blocks the player moves, turns and drops until they
// land, and the per-frame handler of PairFalling.
#pragma once
#include <cstdint>

// Where the second half of the pair lies from the first, a quarter turn
// clockwise each step.
enum PairOrientation : uint8_t { SecondRight = 0, SecondBelow = 1, SecondLeft = 2, SecondAbove = 3 };

struct FallingPairRecord {
    int32_t col1, row1;   // first half, the pivot of turns
    int32_t col2, row2;   // second half (updated when a turn completes)
    uint8_t kind1, kind2; // 0 once the pair is placed or discarded
    uint8_t frame1, frame2;
    uint8_t orientation;  // a PairOrientation
    uint8_t unused[3];
};
// No hidden padding: the program state list copies and compares records byte for byte.
static_assert(sizeof(FallingPairRecord) == 24);

inline constexpr int OrientationDx[4] = {1, 0, -1, 0};
inline constexpr int OrientationDy[4] = {0, 1, 0, -1};

inline constexpr int32_t GraceFrames = 50;   // fall limit while resting on something
inline constexpr int32_t RepeatFrames = 3;   // sideways auto-repeat period
inline constexpr int32_t QuarterTurnFrames = 4;

extern FallingPairRecord FallingPair;
extern int32_t FallTimer;      // frames since the last one-row drop
extern int32_t FallInterval;   // frames per one-row drop
extern int32_t ShiftTimer;     // sideways auto-repeat, 0 = ready
extern int32_t TurnTimer;      // 0 = no turn in progress
extern int32_t TurnDirection;  // +1 clockwise, -1 counter-clockwise
extern int32_t TurnShift;      // column shift applied when the turn completes
extern uint8_t TurnSteps;      // 1 quarter turn, 2 half turn

void StepFallingPair();  // handler of ScreenState 0
// Game over: the game-over screen next, the tune stopped, its sound.
void EndPlay();

// StepFallingPair in two parts, for the solver to see where a pair would
// land without landing it: every step before the landing, and the landing
// test (a drop has carried a half into an occupied cell; the pair then goes
// back one row and is written into the board).
void StepFallingPairMoves();
bool FallingPairLands();

// This module's variables in the program state list (shell/program_state.h).
#define FALLING_PAIR_STATE(X) X(FallingPair) X(FallTimer) X(FallInterval) X(ShiftTimer) X(TurnTimer) \
    X(TurnDirection) X(TurnShift) X(TurnSteps)
