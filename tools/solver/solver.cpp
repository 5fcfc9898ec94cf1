#include "tools/solver/solver.h"

#include <memory>
#include <unordered_map>

#include "mission/mission_goal.h"
#include "mission/mission_loader.h"
#include "rules/board.h"
#include "shell/main_loop.h"
#include "shell/new_game.h"
#include "shell/platform_headless.h"
#include "shell/program_state.h"
#include "tools/solver/play_state.h"

void StartMissionPlay(const MissionImage& mission) {
    ResetProgramState();
    HeadlessReset();
    FillRopeSides();
    SetBoardWalls();
    NewGame();
    MissionBytes bytes = EncodeMission(mission);
    LoadMissionBytes(bytes.data(), bytes.size());
    // Cleared the way a picked file is, so nothing is written to the records.
    GameMode = EditGame;
    ScreenState = NextPair;
}

bool FixedQueueMission(const MissionImage& mission) { return !RandomQueueGoal(mission.type); }

namespace {
constexpr uint8_t NoWay = 255;
constexpr int MaxDepth = 12;

struct Position {
    uint64_t clearing = 0, all = 0;
    uint8_t pairsToClear = NoWay;  // fewest pairs from here, NoWay when none clears
    Placement best;
};

class Search {
public:
    Search(bool countAll, bool areaGoal) : countAll_(countAll), labels_(areaGoal) {}

    // From a position between pairs (the pair's first frame played).
    Position Explore(int depth) {
        uint64_t key = PositionKey(labels_);
        if (auto it = known_.find(key); it != known_.end()) return it->second;
        Position here;
        if (depth >= MaxDepth) return here;
        SavePlay(stack_[depth]);
        uint64_t results[64];
        int resultCount = 0;
        for (const Placement& candidate : PlacementCandidates()) {
            for (Route route : Routes) {
                Placement p = candidate;
                p.route = route;
                RestorePlay(stack_[depth]);
                ++placements_;
                if (!PlayPlacement(p, nullptr)) continue;
                Outcome outcome = RunToNextPair(nullptr);
                uint64_t result = PositionKey(labels_);
                bool repeated = false;
                for (int i = 0; i < resultCount; ++i) repeated |= results[i] == result;
                if (repeated) break;  // another placement already led here
                if (resultCount < 64) results[resultCount++] = result;
                Tally(here, p, outcome, depth);
                break;
            }
            if (!countAll_ && here.pairsToClear != NoWay) break;
        }
        known_[key] = here;
        return here;
    }

    uint64_t positions() const { return known_.size(); }
    uint64_t placements() const { return placements_; }
    const Position* Find(uint64_t key) const {
        auto it = known_.find(key);
        return it == known_.end() ? nullptr : &it->second;
    }

private:
    void Tally(Position& here, const Placement& p, Outcome outcome, int depth) {
        Position next;
        if (outcome == Outcome::Cleared) {
            next.clearing = next.all = 1;
            next.pairsToClear = 0;
        } else if (outcome == Outcome::Lost) {
            next.all = 1;
        } else {
            next = Explore(depth + 1);
        }
        here.clearing += next.clearing;
        here.all += next.all;
        if (next.pairsToClear != NoWay && next.pairsToClear + 1 < here.pairsToClear) {
            here.pairsToClear = uint8_t(next.pairsToClear + 1);
            here.best = p;
        }
    }

    bool countAll_, labels_;
    std::unordered_map<uint64_t, Position> known_;
    PlaySnapshot stack_[MaxDepth];
    uint64_t placements_ = 0;
};
}  // namespace

SolveResult SolveMission(const MissionImage& mission, const SolveOptions& options) {
    SolveResult result;
    if (!FixedQueueMission(mission)) return result;
    bool areaGoal = mission.type == GoalArea;
    StartMissionPlay(mission);
    Outcome first = RunToNextPair(nullptr);
    if (first != Outcome::NextPair) {
        result.clearable = first == Outcome::Cleared;
        result.shortestPairs = result.clearable ? 0 : -1;
        result.clearingSequences = result.clearable;
        result.allSequences = 1;
        return result;
    }
    auto search = std::make_unique<Search>(options.countAll, areaGoal);
    Position root = search->Explore(0);
    result.positions = search->positions();
    result.placements = search->placements();
    result.clearingSequences = root.clearing;
    result.allSequences = root.all;
    if (root.pairsToClear == NoWay) return result;
    result.clearable = true;
    result.shortestPairs = root.pairsToClear;

    // Walk the best placements again from the start to read the way off.
    StartMissionPlay(mission);
    RunToNextPair(nullptr);
    for (;;) {
        const Position* at = search->Find(PositionKey(areaGoal));
        if (at == nullptr || at->pairsToClear == NoWay) break;
        result.solution.push_back(at->best);
        if (!PlayPlacement(at->best, nullptr) || RunToNextPair(nullptr) != Outcome::NextPair) break;
    }
    return result;
}

Outcome PlayPlacements(const MissionImage& mission, const std::vector<Placement>& placements, KeyLog* log) {
    StartMissionPlay(mission);
    Outcome outcome = RunToNextPair(log);
    for (const Placement& p : placements) {
        if (outcome != Outcome::NextPair) break;
        if (!PlayPlacement(p, log)) return Outcome::Lost;
        outcome = RunToNextPair(log);
    }
    return outcome;
}
