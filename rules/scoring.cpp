#include "rules/scoring.h"

#include <cmath>
#include <cstring>
#include <limits>

#include "rules/game_mode.h"
#include "rules/board.h"
#include "rules/game_events.h"
#include "rules/falling_pair.h"

constinit int32_t Score;
constinit uint8_t Level;
constinit uint8_t LevelSteps;
constinit int32_t ChainErased;
constinit uint8_t ChainLength;
constinit int32_t GoalProgress;
constinit int32_t LoopArea[GroupLabels + 1];

namespace {
int32_t GoalTarget() { return int32_t(MissionGoal.target); }
// The target's negation with 32-bit wrap-around, as the held goals compare it.
int32_t NegatedTarget() { return int32_t(0u - MissionGoal.target); }

// Label of the first marked cell met going from (c, r) by (dx, dy), the cell
// itself included; 0 when the ray leaves rows -1..11 / columns 0..7 first.
uint8_t RayLabel(int c, int r, int dx, int dy) {
    for (; InPlayLayer(c, r); c += dx, r += dy)
        if (GetMarked(c, r)) return GetGroup(c, r);
    return 0;
}

// A cell counts toward a loop's area when it sees that loop's cells in all
// four directions.
void CountAreaCell(int c, int r) {
    uint8_t left = RayLabel(c, r, -1, 0);
    if (left == 0 || left > GroupLabels) return;
    if (RayLabel(c, r, 1, 0) == left && RayLabel(c, r, 0, -1) == left && RayLabel(c, r, 0, 1) == left) ++LoopArea[left];
}
}  // namespace

void CountSearch() {
    const bool mission = GameMode != ScoreAttack;
    const uint8_t type = MissionGoal.type;
    bool found = false;
    std::memset(LoopArea, 0, sizeof LoopArea);
    for (int c = 0; c <= LastColumn; ++c) {
        for (int r = TopRow; r <= BottomRow; ++r) {
            if (GetMarked(c, r)) {
                ++ChainErased;
                found = true;
                if (mission && EraseCountGoal(type)) ++GoalProgress;
                if (mission && FrameCountGoal(type) && GetFrame(c, r)) ++GoalProgress;
            }
            if (mission && type == GoalArea && GoalProgress >= 0) CountAreaCell(c, r);
        }
    }
    for (int label = 1; label <= GroupLabels; ++label)
        if (LoopArea[label] == GoalTarget()) GoalProgress = LoopArea[label];
    if (mission && AtOnceGoal(type)) {
        if (GoalProgress == GoalTarget() || GoalProgress == NegatedTarget()) {
            if (GoalProgress > 0) GoalProgress = -GoalProgress;
        } else {
            GoalProgress = 0;
        }
    }
    if (found) ++ChainLength;
}

int32_t ChainFactor() {
    double p = std::pow(2.0, ChainLength - 1);
    return p >= 2147483647.0 ? 2147483647 : int32_t(p);
}

bool BriskFall = false;

int32_t FallIntervalForLevel() {
    const int32_t level = BriskFall && GameMode == ScoreAttack ? 1 + BriskLevelStep * (int32_t(Level) - 1) : int32_t(Level);
    int32_t interval = (26 - level - int32_t(LevelSteps)) * 2;
    int32_t floor = 3 - int32_t(LevelSteps);
    return interval < floor ? floor : interval;
}

namespace {
// Level x ChainErased x ChainFactor() x 10 in double precision; awards and
// scores beyond the 32-bit range stop at its top.
int32_t AddChainAward(int32_t score) {
    constexpr double top = std::numeric_limits<int32_t>::max();
    double p = double(ChainFactor());
    double award = double(Level) * double(ChainErased) * p * 10.0;
    if (award > top) award = top;
    if (award < 0) award = 0;
    double total = double(score) + std::trunc(award);
    return total > top ? std::numeric_limits<int32_t>::max() : int32_t(total);
}
}  // namespace

void ScoreTurn() {
    if (ScoringGame()) {
        Score = AddChainAward(Score);
        if (GameMode != ScoreAttack) GoalProgress = Score < GoalTarget() ? Score : GoalTarget();
        LevelSteps = uint8_t(LevelSteps + ChainLength);
        const uint8_t before = Level;
        while (LevelSteps >= 4) {
            Level = uint8_t(Level + 1);
            LevelSteps = uint8_t(LevelSteps - 4);
        }
        if (Level != before) PlayGameSound(GameSound::LevelUp);
        FallInterval = FallIntervalForLevel();
    } else if (MissionGoal.type == GoalChain) {
        GoalProgress = ChainLength;
    }
    ChainLength = 0;
    ChainErased = 0;
}

bool TestMissionGoal() {
    if (GoalProgress == GoalTarget() || GoalProgress == NegatedTarget()) return true;
    if (AtOnceGoal(MissionGoal.type)) GoalProgress = 0;
    return false;
}
