// Score, level, chain counters and mission goal progress.
#pragma once
#include <cstdint>

#include "rules/board.h"

extern int32_t Score;
extern uint8_t Level;         // 1 at a new game
extern uint8_t LevelSteps;    // chain steps gathered toward the next level, 0..3 between turns
// The player's choice of a brisker score attack: its levels quicken the
// fall three steps at a time (the options' SPEED); off, the classic table.
extern bool BriskFall;
inline constexpr int32_t BriskLevelStep = 3;
extern int32_t ChainErased;   // cells erased so far in the current chain
extern uint8_t ChainLength;   // searches of the current chain that marked anything
extern int32_t GoalProgress;  // negative: an at-once goal met by the last search and held

// Per-search bookkeeping over Board.marked, run at the end of every loop
// search: chain counters, erase and frame-block goals, loop areas, the
// at-once rule.
void CountSearch();

// The area of every loop marked by the last search, by network label
// (index 1..GroupLabels); filled by CountSearch for area goals.
extern int32_t LoopArea[GroupLabels + 1];

// Turn-end scoring, when the board is at rest with no loop: the chain's
// award, level and FallInterval (score attack and score goals), the chain
// goal's progress; then ChainLength and ChainErased go back to 0.
// The caller sets ScreenState to NextPair.
void ScoreTurn();

// 2 to the power ChainLength - 1, truncated (0 before the first search),
// at most the top of the 32-bit range: a chain's award is Level x ChainErased
// x ChainFactor() x 10.
int32_t ChainFactor();

// FallInterval for the current Level and LevelSteps, never below 3 - LevelSteps;
// in a brisk score attack, as at level 1 + 3 x (Level - 1).
int32_t FallIntervalForLevel();

// Mission goal test at the start of a falling-pair frame (missions only):
// true when GoalProgress equals the target or its negation; otherwise an
// at-once goal's progress (types 2, 4, 5) goes back to 0.
bool TestMissionGoal();

// This module's variables in the program state list (shell/program_state.h).
#define SCORING_STATE(X) X(Score) X(Level) X(LevelSteps) X(ChainErased) X(ChainLength) X(GoalProgress) X(LoopArea)
