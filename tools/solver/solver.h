// The mission solver: every way to play a fixed-queue mission, pair by pair,
// through the game's own rules.
#pragma once
#include <cstdint>
#include <vector>

#include "mission/mission_file.h"
#include "tools/solver/placement.h"

struct SolveOptions {
    bool countAll = true;  // false: stop at the first way found to clear it
};

struct SolveResult {
    bool clearable = false;
    int shortestPairs = -1;           // with countAll; otherwise the pairs of the way found
    std::vector<Placement> solution;  // one placement per pair
    // With countAll: of all sequences of placements, played until the mission
    // is cleared or lost, how many clear it.
    uint64_t clearingSequences = 0;
    uint64_t allSequences = 0;
    uint64_t positions = 0;   // distinct positions between pairs that were searched
    uint64_t placements = 0;  // placements played
};

// The game as it stands when a numbered mission's board entry has just ended:
// a new game, the mission loaded, the next pair about to come.
void StartMissionPlay(const MissionImage& mission);

// True for goal types 0 to 5, whose queue the file fixes.
bool FixedQueueMission(const MissionImage& mission);

SolveResult SolveMission(const MissionImage& mission, const SolveOptions& options = {});

// Plays the placements from the start, logging the keys of every frame from
// the first frame of play. Returns how the last pair ended.
Outcome PlayPlacements(const MissionImage& mission, const std::vector<Placement>& placements, KeyLog* log);
