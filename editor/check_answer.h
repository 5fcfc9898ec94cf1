// The solvability check's answer: what the solver reports about a mission,
// and the Japanese text the editor shows for it.
#pragma once
#include <string>

struct SolverAnswer {
    int goalType = 0;
    bool randomPairs = false;  // goal types 6 and 7: nothing else is known
    int pairs = 0;             // pairs the mission has
    bool clearable = false;
    int shortest = -1;         // fewest pairs that clear it; -1 when none
    long long ways = 0;        // clearing ways found
    bool waysAtLeast = false;  // the count stopped early: `ways` is a lower bound
    bool hasDifficulty = false;
    double difficulty = 0;
    bool decided = true;       // false: the search ran out of budget with no way found
};

std::string CheckAnswerText(const SolverAnswer& answer);
