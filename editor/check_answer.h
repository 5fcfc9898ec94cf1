// The solvability check's answer: what the solver reports about a mission,
// and the text the editor shows for it.
#pragma once
#include <QString>

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
    bool decided = true;       // false: the search ran out of time with no way found
    bool outOfTime = false;    // the search was stopped by the time limit
    long long positions = 0;   // positions searched
};

QString CheckAnswerText(const SolverAnswer& answer);
// The running check's progress line.
QString CheckProgressText(long long positions, double seconds);
// Put before an answer that came for the mission as it was before later edits.
QString AnswerOutdatedNote();
