// The goal of the game being played and what kind of game it is: set by the
// title, the mission select and the mission loader, read by the rules.
#pragma once
#include <cstdint>

#include "mission/mission_goal.h"

enum GameModeValue : uint8_t { ScoreAttack = 0, NormalGame = 1, EditGame = 2 };

extern MissionGoalRecord MissionGoal;
extern GameModeValue GameMode;  // set when a game is started from the title or mission select
extern uint8_t MissionNumber;  // 1..30, the current numbered mission

// A game with random pairs: score attack, or a random-queue mission.
inline bool RandomQueueGame() { return GameMode == ScoreAttack || RandomQueueGoal(MissionGoal.type); }
// A fixed-queue mission: the well at the left, two queue columns and the wide
// status panel.
inline bool WideLayout() { return !RandomQueueGame(); }
// A game that scores chains and raises the level: score attack or a score goal.
inline bool ScoringGame() { return GameMode == ScoreAttack || MissionGoal.type == GoalScore; }

// This module's variables in the program state list (shell/program_state.h).
#define GAME_MODE_STATE(X) X(MissionGoal) X(GameMode) X(MissionNumber)
