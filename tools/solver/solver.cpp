#include "tools/solver/solver.h"

#include <algorithm>
#include <cmath>
#include <memory>
#include <optional>
#include <unordered_map>

#include "rules/game_mode.h"
#include "rules/board.h"
#include "rules/falling_pair.h"
#include "rules/new_game.h"
#include "rules/queue.h"
#include "rules/scoring.h"
#include "screens/mission_loader.h"
#include "shell/program_state.h"
#include "tools/solver/play_state.h"

void StartMissionPlay(const MissionImage& mission) {
    ResetListedState();
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
constexpr int MaxDepth = 10;  // eight pairs, and the ninth whose first frame ends the game

struct Position {
    uint8_t pairsToClear = NoWay;  // fewest pairs from here, NoWay when none clears
    bool complete = true;          // everything below was searched
    uint64_t ways = 0;
};

// One placement played from a position: where it led.
struct Step {
    Outcome outcome;
    uint64_t key;
};

// Plays the placement from where the game stands.
Step PlayHere(const Placement& p, bool labels) {
    Outcome outcome = PlayPlacement(p, nullptr) ? RunToNextPair(nullptr) : Outcome::Lost;
    return {outcome, PositionKey(labels)};
}

Step PlayFrom(const PlaySnapshot& from, const Placement& p, bool labels) {
    RestorePlay(from);
    return PlayHere(p, labels);
}

// A rope end that can never join: it faces a side wall, or the block rests
// on a wall or the floor (so it never moves) and the end faces a wall, the
// floor or the hidden row -2, which never keeps a block.
bool DeadEnd(int c, int r, int side, bool resting) {
    int nc = c + SideDx[side], nr = r + SideDy[side];
    if (nc < 0 || nc > 7) return true;
    return resting && (nr < -1 || GetKind(nc, nr) == Wall);
}

// A block that can never lie on a loop: fewer than two of its ends can join.
bool Stuck(int c, int r) {
    uint8_t kind = GetKind(c, r);
    bool resting = GetKind(c, r + 1) == Wall;
    int live = 0;
    for (int side = 0; side < 4; ++side) live += HasSide(kind, side) && !DeadEnd(c, r, side, resting);
    return live < 2;
}

bool IsRope(uint8_t kind) { return kind != Empty && kind < Joiner; }

// Blocks that may still be erased toward the goal, and those that are
// needed: for goals that count erased blocks or frame blocks. A joiner
// anywhere gives blocks new ends, so then no block counts as stuck.
struct Supply {
    int available = 0;
    bool joiners = false;
};

void AddHalf(Supply& s, uint8_t kind, uint8_t frame, bool framesOnly) {
    s.joiners |= kind == Joiner;
    if (IsRope(kind) && (!framesOnly || frame)) ++s.available;
}

// The falling pair and the ones after it, `pairs` in all at most.
Supply PairSupply(bool framesOnly, int pairs) {
    Supply s;
    AddHalf(s, FallingPair.kind1, FallingPair.frame1, framesOnly);
    AddHalf(s, FallingPair.kind2, FallingPair.frame2, framesOnly);
    int later = std::min(MissionGoal.pieceLimit - PiecesUsed, pairs - 1);
    for (int i = 0; i < later && i < QueuePairs; ++i)
        for (int h = 0; h < 2; ++h) AddHalf(s, ComingQueue.kind[i][h], ComingQueue.frame[i][h], framesOnly);
    return s;
}

// The smallest loop is a square of four blocks.
constexpr int SmallestLoop = 4;

// True when the goal cannot be met with `pairs` more pairs at most: more
// blocks must be erased than the well and those pairs could ever give. A
// chain of N erases a loop at every one of its N searches.
bool Hopeless(int pairs = QueuePairs) {
    uint8_t type = MissionGoal.type;
    bool framesOnly = FrameCountGoal(type);
    int need;
    if (type == GoalChain)
        need = SmallestLoop * int(MissionGoal.target);
    else if (EraseCountGoal(type) || framesOnly)
        need = int(MissionGoal.target) - (AtOnceGoal(type) ? 0 : GoalProgress);
    else
        return false;
    if (need < 0) return true;
    Supply s = PairSupply(framesOnly, pairs);
    bool joiners = s.joiners;
    for (int c = 0; c <= LastColumn; ++c)
        for (int r = TopRow; r <= BottomRow; ++r) joiners |= GetKind(c, r) == Joiner;
    for (int c = 0; c <= LastColumn; ++c)
        for (int r = TopRow; r <= BottomRow; ++r)
            if (IsRope(GetKind(c, r)) && (!framesOnly || GetFrame(c, r)) && (joiners || !Stuck(c, r))) ++s.available;
    return need > s.available;
}

bool IsLoose(uint8_t kind) { return kind >= Horizontal && kind <= Joiner; }  // falls when nothing holds it

// The falling pair written into the well where a placement lands it, as a
// landing writes it (a half outside the well or on a filled cell is lost);
// the board and the pair are put back when this goes.
class LandedPair {
public:
    explicit LandedPair(const Placement& p)
        : saved_(FallingPair),
          halves_{{p.col1, p.row1, FallingPair.kind1, FallingPair.frame1},
                  {p.col2, p.row2, FallingPair.kind2, FallingPair.frame2}} {
        for (Half& h : halves_) {
            if (h.c < 0 || h.c > 7 || h.r < -1 || GetKind(h.c, h.r) != Empty) continue;
            SetKind(h.c, h.r, h.kind);
            SetFrame(h.c, h.r, h.frame);
            h.written = true;
        }
        FallingPair.kind1 = FallingPair.kind2 = 0;
    }
    ~LandedPair() {
        FallingPair = saved_;
        for (int i = 1; i >= 0; --i)
            if (halves_[i].written) {
                SetKind(halves_[i].c, halves_[i].r, Empty);
                SetFrame(halves_[i].c, halves_[i].r, 0);
            }
    }
    LandedPair(const LandedPair&) = delete;
    LandedPair& operator=(const LandedPair&) = delete;

private:
    struct Half {
        int c, r;
        uint8_t kind, frame;
        bool written = false;
    };
    FallingPairRecord saved_;
    Half halves_[2];
};

// With the pair landed: true when no loop can close once the loose blocks
// have fallen, so this settling erases nothing. Every loose block falls
// straight down until something holds it; without a joiner (which adds rope
// ends) the ropes then stand as they are and a loop is a cycle of joins.
bool NoLoopAfterFalls() {
    uint8_t kind[8][13];  // columns 0..7, rows -1..11
    for (int c = 0; c <= LastColumn; ++c)
        for (int r = TopRow; r <= BottomRow; ++r) {
            kind[c][r + 1] = GetKind(c, r);
            if (kind[c][r + 1] == Joiner) return false;
        }
    for (int c = 0; c <= LastColumn; ++c)
        for (int r = BottomRow - 1; r >= TopRow; --r) {  // from the bottom up: a stack lands in order
            if (!IsLoose(kind[c][r + 1])) continue;
            int to = r;
            while (to < 11 && kind[c][to + 2] == Empty) ++to;
            if (to != r) {
                kind[c][to + 1] = kind[c][r + 1];
                kind[c][r + 1] = Empty;
            }
        }
    uint8_t root[8 * 13];
    for (int i = 0; i < 8 * 13; ++i) root[i] = uint8_t(i);
    auto find = [&](int i) {
        while (root[i] != i) i = root[i] = root[root[i]];
        return i;
    };
    for (int c = 0; c <= LastColumn; ++c)
        for (int r = 0; r <= FloorRow; ++r) {
            uint8_t k = kind[c][r];
            int here = c * 13 + r;
            if (r < 12 && HasSide(k, SideDown) && HasSide(kind[c][r + 1], SideUp)) {
                int a = find(here), b = find(here + 1);
                if (a == b) return false;
                root[a] = uint8_t(b);
            }
            if (c < 7 && HasSide(k, SideRight) && HasSide(kind[c + 1][r], SideLeft)) {
                int a = find(here), b = find(here + 13);
                if (a == b) return false;
                root[a] = uint8_t(b);
            }
        }
    return true;
}

// The well between pairs, read once, for trying quickly whether the last
// pair's halves close a loop where they land. It applies when nothing but
// the halves can fall (no loose block), no joiner is in the well and no loop
// is closed already: then the halves drop down their columns, and a loop is
// a cycle through a half, its joins running to the other half or into the
// well's networks, which are trees.
class LastPairLoops {
public:
    LastPairLoops() {
        for (int c = 0; c <= LastColumn; ++c) {
            if (GetKind(c, HiddenRow) != Empty) return;  // a landing empties that row
            for (int r = TopRow; r <= BottomRow; ++r) {
                uint8_t k = GetKind(c, r);
                if (k == Joiner || (IsLoose(k) && GetKind(c, r + 1) == Empty)) return;
                kind_[c][r + 1] = k;
            }
        }
        for (int i = 0; i < Cells; ++i) network_[i] = uint8_t(i);
        for (int c = 0; c <= LastColumn; ++c)
            for (int r = 0; r < 13; ++r) {
                if (r < 12 && HasSide(kind_[c][r], SideDown) && HasSide(kind_[c][r + 1], SideUp) &&
                    !Join(network_, c * 13 + r, c * 13 + r + 1))
                    return;
                if (c < 7 && HasSide(kind_[c][r], SideRight) && HasSide(kind_[c + 1][r], SideLeft) &&
                    !Join(network_, c * 13 + r, (c + 1) * 13 + r))
                    return;
            }
        for (int i = 0; i < Cells; ++i) network_[i] = uint8_t(Root(network_, i));
        usable_ = true;
    }

    bool usable() const { return usable_; }

    // Whether a loop closes with the halves landed as the placement says.
    bool Closes(const Placement& p, uint8_t kind1, uint8_t kind2) const {
        struct Half {
            int c, r;
            uint8_t kind;
            bool in;
        } h[2] = {{p.col1, p.row1, kind1, false}, {p.col2, p.row2, kind2, false}};
        for (Half& x : h) {
            x.in = x.c >= 0 && x.c <= LastColumn && x.r >= TopRow && x.r <= BottomRow && kind_[x.c][x.r + 1] == Empty;
            if (x.in && x.kind == Joiner) return true;  // a landed joiner adds rope ends: not weighed here
        }
        // The lower half falls first; the other may land on it.
        int first = h[0].r >= h[1].r ? 0 : 1;
        for (int i : {first, 1 - first}) {
            Half& x = h[i];
            if (!x.in) continue;
            const Half& o = h[1 - i];
            auto taken = [&](int r) { return kind_[x.c][r + 1] != Empty || (o.in && o.c == x.c && o.r == r); };
            while (x.r < 11 && !taken(x.r + 1)) ++x.r;
        }
        // Nodes: the well's networks by their root cell, then the two halves.
        uint8_t node[Cells + 2];
        for (int i = 0; i < Cells + 2; ++i) node[i] = uint8_t(i);
        for (int i = 0; i < 2; ++i) {
            const Half& x = h[i];
            if (!x.in) continue;
            for (int side = 0; side < 4; ++side) {
                if (!HasSide(x.kind, side)) continue;
                int nc = x.c + SideDx[side], nr = x.r + SideDy[side];
                if (nc < 0 || nc > 7 || nr < -1 || nr > 11) continue;
                const Half& o = h[1 - i];
                if (o.in && o.c == nc && o.r == nr) {
                    if (i == 0 && HasSide(o.kind, OppositeSide(side)) && !Join(node, Cells, Cells + 1)) return true;
                    continue;
                }
                if (HasSide(kind_[nc][nr + 1], OppositeSide(side)) &&
                    !Join(node, Cells + i, network_[nc * 13 + nr + 1]))
                    return true;
            }
        }
        return false;
    }

private:
    static constexpr int Cells = 8 * 13;
    static int Root(uint8_t* root, int i) {
        while (root[i] != i) i = root[i] = root[root[i]];
        return i;
    }
    // Joins two nodes; false when they were joined already (a cycle).
    static bool Join(uint8_t* root, int a, int b) {
        a = Root(root, a);
        b = Root(root, b);
        if (a == b) return false;
        root[a] = uint8_t(b);
        return true;
    }
    uint8_t kind_[8][13] = {};  // columns 0..7, rows -1..11
    uint8_t network_[Cells];    // the root cell of each cell's network
    bool usable_ = false;
};

// Whether the goal can be met only by erasing in this pair's settling: no
// pair lands after it, and the goal is one that erasing alone meets.
bool LastPairMustErase() {
    return int(PiecesUsed) >= int(MissionGoal.pieceLimit) && MissionGoal.type <= GoalAllFramesAtOnce &&
           MissionGoal.target != 0;
}

bool ClosesALoop(const LastPairLoops& loops, const Placement& p);

// For the last pair: true when wherever it could land, no loop closes. A
// landing stops a pair that cannot go one row lower, so one of its halves
// has a filled cell under it; every such pair of neighbouring cells is
// tried, with the halves that fall outside the well or on a filled cell lost
// as a landing loses them.
bool NoLandingClosesALoop(const LastPairLoops& loops) {
    for (int c = -1; c <= 8; ++c)
        for (int r = -3; r <= BottomRow; ++r)
            for (int o = 0; o < 4; ++o) {
                Placement p;
                p.col1 = int8_t(c);
                p.row1 = int8_t(r);
                p.col2 = int8_t(c + OrientationDx[o]);
                p.row2 = int8_t(r + OrientationDy[o]);
                // Under the other half's cell when a turn has pushed that half
                // into a block: that cell counts as filled too.
                if (GetKind(p.col1, p.row1 + 1) == Empty && GetKind(p.col2, p.row2 + 1) == Empty) continue;
                if (ClosesALoop(loops, p)) return false;
            }
    return true;
}

// Whether the falling pair closes a loop landed as the placement says.
bool ClosesALoop(const LastPairLoops& loops, const Placement& p) {
    if (loops.usable()) return loops.Closes(p, FallingPair.kind1, FallingPair.kind2);
    LandedPair landed(p);
    return !NoLoopAfterFalls();
}

// True when nothing a placement leads to clears, so it need not be played.
// With its halves in their landing cells, before the board settles: too few
// blocks are left for the goal; or no pair lands after this one and no loop
// can close, so nothing is erased and the goal, unmet when this pair
// entered, stays unmet (loop areas are counted round networks that need not
// close, so not for that goal).
bool LeadsNowhere(const Placement& p, const LastPairLoops* loops) {
    {
        LandedPair landed(p);
        if (Hopeless()) return true;
    }
    return loops && !ClosesALoop(*loops, p);
}

class Search {
public:
    Search(const SolveOptions& options, bool labels)
        : budget_(options.positionBudget), keepSearching_(options.keepSearching), labels_(labels) {}

    // From a position between pairs (the pair's first frame played).
    Position Explore(int depth) {
        uint64_t key = PositionKey(labels_);
        if (auto it = known_.find(key); it != known_.end()) return it->second;
        Position here;
        if (Hopeless()) return here;  // searched in full: nothing below clears
        if (depth >= MaxDepth || OutOfBudget()) {
            here.complete = false;
            return here;
        }
        std::optional<LastPairLoops> loops;
        if (LastPairMustErase()) {
            loops.emplace();
            if (NoLandingClosesALoop(*loops)) {  // no placement clears: none is searched for
                known_[key] = here;
                return here;
            }
        }
        PlaySnapshot& at = stack_[depth];
        SavePlay(at);
        std::vector<Placement> options = KnownPlacements();
        std::vector<uint64_t> results;
        for (const Placement& p : options) {
            ++placements_;
            RestorePlay(at);
            if (LeadsNowhere(p, loops ? &*loops : nullptr)) continue;  // not played
            Step step = PlayHere(p, labels_);
            bool repeated = false;
            for (uint64_t r : results) repeated |= r == step.key;
            if (repeated) continue;  // another placement already led here
            results.push_back(step.key);
            Position next = Descend(step.outcome, depth);
            here.ways += next.ways;
            here.complete &= next.complete;
            if (next.pairsToClear != NoWay && next.pairsToClear + 1 < here.pairsToClear)
                here.pairsToClear = uint8_t(next.pairsToClear + 1);
        }
        RestorePlay(at);
        known_[key] = here;
        return here;
    }

    // What a placement just played leads to.
    Position Descend(Outcome outcome, int depth) {
        Position next;
        if (outcome == Outcome::Cleared) {
            next.ways = 1;
            next.pairsToClear = 0;
        } else if (outcome == Outcome::NextPair) {
            next = Explore(depth + 1);
        }
        return next;
    }

    const Position* Find(uint64_t key) const {
        auto it = known_.find(key);
        return it == known_.end() ? nullptr : &it->second;
    }
    uint64_t positions() const { return known_.size(); }
    uint64_t placements() const { return placements_; }
    bool labels() const { return labels_; }

private:
    bool OutOfBudget() {
        cut_ = cut_ || known_.size() >= budget_ || (keepSearching_ && !keepSearching_(known_.size()));
        return cut_;
    }

    uint64_t budget_;
    const std::function<bool(uint64_t)>& keepSearching_;
    bool cut_ = false;
    bool labels_;
    std::unordered_map<uint64_t, Position> known_;
    PlaySnapshot stack_[MaxDepth];
    uint64_t placements_ = 0;
};

// Whether the mission can be cleared within `left` more pairs from here:
// depth first, stopping at the first clear. A position that failed with
// `left` or more pairs is not searched again. On success `way` holds the
// placements from here on; the game is then left where the way ends.
class Decider {
public:
    Decider(const SolveOptions& options, bool labels)
        : budget_(options.positionBudget), keepSearching_(options.keepSearching), labels_(labels) {}

    bool Within(int left, int depth, std::vector<Placement>& way) {
        if (left == 0 || depth >= MaxDepth || Hopeless(left)) return false;
        uint64_t key = PositionKey(labels_);
        if (auto it = failed_.find(key); it != failed_.end() && it->second >= left) return false;
        if (failed_.size() >= budget_ || (keepSearching_ && !keepSearching_(failed_.size()))) {
            cut_ = true;
            return false;
        }
        PlaySnapshot& at = stack_[depth];
        SavePlay(at);
        std::vector<Placement> options = KnownPlacements();
        for (const Placement& p : options) {
            RestorePlay(at);
            if (!PlayPlacement(p, nullptr)) continue;
            Outcome outcome = RunToNextPair(nullptr);
            if (outcome == Outcome::Cleared || (outcome == Outcome::NextPair && Within(left - 1, depth + 1, way))) {
                way.insert(way.begin(), p);
                return true;
            }
        }
        RestorePlay(at);
        if (!cut_) failed_[key] = uint8_t(left);
        return false;
    }
    bool cut() const { return cut_; }  // the budget ran out: a failure proves nothing

private:
    uint64_t budget_;
    const std::function<bool(uint64_t)>& keepSearching_;
    bool labels_;
    bool cut_ = false;
    std::unordered_map<uint64_t, uint8_t> failed_;
    PlaySnapshot stack_[MaxDepth];
};

// Iterative deepening: the fewest pairs that clear the mission from its
// start, with their way; decided false when the budget ran out first.
void DecideShortest(const MissionImage& mission, const SolveOptions& options, SolveResult& result) {
    Decider decider(options, mission.type == GoalArea);
    for (int left = 1; left <= mission.pieceLimit && !decider.cut(); ++left) {
        StartMissionPlay(mission);
        RunToNextPair(nullptr);
        std::vector<Placement> way;
        if (decider.Within(left, 0, way)) {
            result.clearable = result.decided = true;
            result.shortest = left;
            result.solution = way;
            result.along.clear();  // doors counted by a cut search would mislead
            return;
        }
    }
    result.decided = !decider.cut();
}

// The distinct placements here (merged by where they lead), how many keep
// the mission clearable, and one placement that leads one pair nearer.
Doors DoorsHere(Search& search, uint8_t pairsToClear, Placement* best) {
    static PlaySnapshot at;
    SavePlay(at);
    Doors d;
    std::vector<uint64_t> results;
    bool chosen = false;
    for (const Placement& p : KnownPlacements()) {
        Step step = PlayFrom(at, p, search.labels());
        bool repeated = false;
        for (uint64_t r : results) repeated |= r == step.key;
        if (repeated) continue;
        results.push_back(step.key);
        uint8_t left = NoWay;
        if (step.outcome == Outcome::Cleared) {
            left = 0;
        } else if (step.outcome == Outcome::NextPair) {
            const Position* next = search.Find(step.key);
            if (next) left = next->pairsToClear;
        }
        ++d.placements;
        if (left == NoWay) continue;
        ++d.open;
        if (!chosen && left + 1 == pairsToClear) {
            *best = p;
            chosen = true;
        }
    }
    RestorePlay(at);
    return d;
}

// Rows filled above the floor, summed over the columns: lower is better.
int WellHeight() {
    int total = 0;
    for (int c = 0; c <= LastColumn; ++c)
        for (int r = TopRow; r <= BottomRow; ++r)
            if (GetKind(c, r) != Empty) {
                total += 12 - r;
                break;
            }
    return total;
}

// How good a turn's end is to a player who only counts what was erased:
// everything when the mission is cleared, nothing when it is lost.
long TurnValue(Outcome outcome, int blocksBefore) {
    if (outcome == Outcome::Cleared) return 1000000;
    if (outcome == Outcome::Lost) return -1000000;
    return 1000L * (blocksBefore + 2 - BlocksInWell()) - WellHeight();
}

// The best value a player can reach from here within `ahead` more pairs.
// The greedy choice for the falling pair, each turn valued by what it
// erases and, `ahead` pairs deep, by the best of the turns after it.
GreedyChoice LookAhead(int ahead) {
    PlaySnapshot at;
    SavePlay(at);
    int blocks = BlocksInWell();
    GreedyChoice best = BestPlacement(at, [&] {
        Outcome outcome = RunToNextPair(nullptr);
        if (outcome != Outcome::NextPair || ahead <= 1) return TurnValue(outcome, blocks);
        long erased = 1000L * (blocks + 2 - BlocksInWell());
        GreedyChoice next = LookAhead(ahead - 1);
        return erased + (next.placement ? next.value : -2000000);
    });
    RestorePlay(at);
    return best;
}
}  // namespace

bool GreedyPlayerClears(const MissionImage& mission, int ahead) {
    StartMissionPlay(mission);
    Outcome outcome = RunToNextPair(nullptr);
    while (outcome == Outcome::NextPair) {
        GreedyChoice choice = LookAhead(ahead);
        if (!choice.placement) return false;
        PlayPlacement(*choice.placement, nullptr);
        outcome = RunToNextPair(nullptr);
    }
    return outcome == Outcome::Cleared;
}

double DifficultyFigure(const SolveResult& r) {
    if (!r.clearable || !r.complete) return 0;
    double bits = 0;
    for (const Doors& d : r.along)
        if (d.open > 0) bits += std::log2(double(d.placements) / double(d.open));
    double weight = r.oneAheadClears ? 0.25 : r.twoAheadClears ? 0.5 : 1.0;
    return bits * weight;
}

SolveResult SolveMission(const MissionImage& mission, const SolveOptions& options) {
    SolveResult result;
    if (!FixedQueueMission(mission)) return result;
    bool labels = mission.type == GoalArea;  // loop areas are told apart by network label
    StartMissionPlay(mission);
    Outcome start = RunToNextPair(nullptr);
    if (start != Outcome::NextPair) {
        result.complete = result.decided = true;
        result.clearable = start == Outcome::Cleared;
        result.shortest = result.clearable ? 0 : -1;
        result.ways = result.clearable;
        return result;
    }
    auto search = std::make_unique<Search>(options, labels);
    Position root = search->Explore(0);
    result.positions = search->positions();
    result.placements = search->placements();
    result.complete = root.complete;
    result.ways = root.ways;
    result.waysAtLeast = !root.complete;
    result.clearable = root.pairsToClear != NoWay;

    // Walk the shortest way from the start, counting the doors at each step.
    StartMissionPlay(mission);
    RunToNextPair(nullptr);
    for (uint8_t left = root.pairsToClear;;) {
        Placement best;
        Doors d = DoorsHere(*search, left, &best);
        if (result.along.empty()) result.first = d;
        if (left == NoWay || left == 0) break;
        result.along.push_back(d);
        result.solution.push_back(best);
        if (!PlayPlacement(best, nullptr) || RunToNextPair(nullptr) != Outcome::NextPair) break;
        const Position* next = search->Find(PositionKey(labels));
        if (next == nullptr) break;
        left = next->pairsToClear;
    }
    if (result.clearable) result.shortest = int(result.solution.size());
    result.decided = result.complete;
    if (!result.complete) DecideShortest(mission, options, result);
    if (options.players) {
        result.oneAheadClears = GreedyPlayerClears(mission, 1);
        result.twoAheadClears = GreedyPlayerClears(mission, 2);
    }
    result.difficulty = DifficultyFigure(result);
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
