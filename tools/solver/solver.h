// The mission solver: every way to play a fixed-queue mission, pair by pair,
// through the game's own rules, and the measures of how hard it is.
#pragma once
#include <cstdint>
#include <functional>
#include <vector>

#include "mission/mission_file.h"
#include "tools/solver/placement.h"

struct SolveOptions {
    // Positions between pairs searched at most; beyond it the counts are
    // lower bounds and a mission without a way found stays undecided.
    uint64_t positionBudget = 400000;
    bool players = true;  // also let the one- and two-pairs-ahead players try
    // Asked before each new position with the positions known so far; once
    // it says no, the search ends as if the budget had run out (a caller's
    // clock). Empty: the budget alone.
    std::function<bool(uint64_t positions)> keepSearching;
};

// At one step of a way: the distinct placements of the pair, and how many of
// them still leave the mission clearable ("open doors").
struct Doors {
    int placements = 0, open = 0;
};

struct SolveResult {
    bool complete = false;   // the whole tree was searched within the budget
    bool clearable = false;  // a way was found
    bool decided = false;    // clearable and shortest are proven, also when the counts are not
    int shortest = -1;       // pairs of the shortest way (when decided)
    std::vector<Placement> solution;  // the shortest way, one placement per pair
    uint64_t ways = 0;       // distinct sequences of placements that clear it
    bool waysAtLeast = false;
    Doors first;             // the first pair's placements
    std::vector<Doors> along;  // at every step of the shortest way
    bool oneAheadClears = false, twoAheadClears = false;
    double difficulty = 0;   // when clearable and complete; see missions/README.md
    uint64_t positions = 0, placements = 0;
};

// The game as it stands when a mission's board entry has just ended: a new
// game, the mission loaded, the next pair about to come.
void StartMissionPlay(const MissionImage& mission);

// True for goal types 0 to 5, whose queue the file fixes.
bool FixedQueueMission(const MissionImage& mission);

SolveResult SolveMission(const MissionImage& mission, const SolveOptions& options = {});

// The difficulty figure from the measures (missions/README.md).
double DifficultyFigure(const SolveResult& r);

// A player that looks `ahead` pairs (1 or 2) ahead and takes what erases
// most. True when it clears the mission.
bool GreedyPlayerClears(const MissionImage& mission, int ahead);

// Plays the placements from the start, logging the keys of every frame from
// the first frame of play. Returns how the last pair ended.
Outcome PlayPlacements(const MissionImage& mission, const std::vector<Placement>& placements, KeyLog* log);
