// The goal of the game being played: set by the mission loader, read by the rules.
#pragma once
#include <cstdint>

// Goal types: 0 chain of N, 1 erase N, 2 erase N at once, 3 all frame blocks,
// 4 all frame blocks at once, 5 a loop of area N, 6 score N, 7 catch N fish.
struct MissionGoalRecord {
    uint32_t target = 0;
    uint8_t type = 0;
    uint8_t pieceLimit = 0;
};

extern MissionGoalRecord MissionGoal;

void ResetMissionGoalState();
