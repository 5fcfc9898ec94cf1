#include "tools/solver/placement.h"

#include <memory>
#include <unordered_map>

#include "rules/board.h"
#include "rules/falling_pair.h"
#include "rules/scoring.h"
#include "rules/settle.h"
#include "shell/input.h"
#include "shell/input_script.h"
#include "shell/play_frame.h"
#include "shell/sound_choice.h"
#include "tools/solver/play_state.h"

namespace {
// The longest gap between a landing and the next pair's first frame: a chain
// erasing, falling and erasing again many times.
constexpr int SettleFrameLimit = 5000;
constexpr uint32_t TurnKeys = BitButton1 | BitButton2;

// The falling pair's part of the play state: all the step reads and writes
// while the pair is in the air. The second half's cell follows from the
// first half's and the orientation.
struct PairState {
    int8_t col1, row1;
    uint8_t orientation;
    int8_t fallTimer, shiftTimer, turnTimer, turnDirection, turnShift;
    uint8_t turnSteps;
    uint8_t heldTurnKeys;  // Z and X held in the frame before: not newly pressed now
};

PairState ReadPair() {
    return {int8_t(FallingPair.col1), int8_t(FallingPair.row1), FallingPair.orientation, int8_t(FallTimer),
            int8_t(ShiftTimer), int8_t(TurnTimer), int8_t(TurnDirection), int8_t(TurnShift), TurnSteps,
            uint8_t(KeyHeld & TurnKeys)};
}

void WritePair(const PairState& s) {
    FallingPair.col1 = s.col1;
    FallingPair.row1 = s.row1;
    FallingPair.orientation = s.orientation;
    FallingPair.col2 = s.col1 + OrientationDx[s.orientation & 3];
    FallingPair.row2 = s.row1 + OrientationDy[s.orientation & 3];
    FallTimer = s.fallTimer;
    ShiftTimer = s.shiftTimer;
    TurnTimer = s.turnTimer;
    TurnDirection = s.turnDirection;
    TurnShift = s.turnShift;
    TurnSteps = s.turnSteps;
    KeyHeld = s.heldTurnKeys;
}

// The state but for the three values one moment can be better in than
// another: the fall timer (more time before the next drop), the sideways
// repeat (a move can start sooner) and the turn keys held (a turn can start).
// When exhaustive, everything.
uint64_t StateKey(const PairState& s, bool exhaustive) {
    uint64_t k = uint64_t(uint8_t(s.col1 + 4));
    k = k << 6 | uint8_t(s.row1 + 8);
    k = k << 2 | (s.orientation & 3);
    k = k << 5 | uint8_t(s.turnTimer);
    k = k << 2 | uint8_t(s.turnDirection + 1);
    k = k << 2 | uint8_t(s.turnShift + 1);
    k = k << 2 | s.turnSteps;
    if (exhaustive) k = ((k << 3 | uint8_t(s.shiftTimer)) << 2 | (s.heldTurnKeys & 3)) << 8 | uint8_t(s.fallTimer);
    return k;
}

// The key sets worth trying from a state: a sideways move only when one can
// start, a turn key only when a turn can start and the key is not held from
// the frame before, with or without Down. Holding a key longer, or both
// sideways keys at once (left and back), changes nothing a later frame can use.
int QuickKeySets(const PairState& s, uint32_t* out) {
    uint32_t sides[3] = {0, WordBit(KeyLeft), WordBit(KeyRight)};
    uint32_t turns[3] = {0, WordBit(KeyZ), WordBit(KeyX)};
    int sideCount = s.shiftTimer == 0 ? 3 : 1;
    int n = 0;
    for (int t = 0; t < 3; ++t) {
        if (t > 0 && (s.turnTimer != 0 || (s.heldTurnKeys & (t == 1 ? BitButton1 : BitButton2)))) continue;
        for (int i = 0; i < sideCount; ++i)
            for (uint32_t down : {0u, WordBit(KeyDown)}) out[n++] = sides[i] | turns[t] | down;
    }
    return n;
}

int AllKeySets(uint32_t* out) {
    const Key keys[5] = {KeyLeft, KeyRight, KeyDown, KeyZ, KeyX};
    for (int m = 0; m < 32; ++m) {
        out[m] = 0;
        for (int b = 0; b < 5; ++b)
            if (m & (1 << b)) out[m] |= WordBit(keys[b]);
    }
    return 32;
}

// For every state key, the lowest fall timer met with each sideways repeat
// and each set of held turn keys (a moment is as good as another when it has
// as much time before the next drop, a move can start as soon and no turn
// key is held that the other has free); cleared for every search. Open addressing
// over a fixed table.
class StateTable {
public:
    explicit StateTable(int bits) : size_(size_t(1) << bits), shift_(64 - bits), slots_(size_) {}
    bool Full(size_t used) const { return used >= size_ / 2; }
    void Clear() {
        if (++stamp_ == 0) {
            for (Slot& s : slots_) s.stamp = 0;
            stamp_ = 1;
        }
    }
    // True when a moment met before is as good in every way, or better.
    bool Dominated(uint64_t key, const PairState& p, bool strictly) {
        const Slot& s = slots_[Find(key)];
        if (s.stamp != stamp_) return false;
        int rank = ShiftRank(p.shiftTimer);
        for (int shift = 0; shift <= rank; ++shift)
            for (int held = 0; held < 4; ++held) {
                if ((held & ~p.heldTurnKeys) != 0) continue;
                int8_t t = s.timer[shift][held];
                bool same = shift == rank && held == p.heldTurnKeys;
                if (t < p.fallTimer || (t == p.fallTimer && !(strictly && same))) return true;
            }
        return false;
    }
    void Add(uint64_t key, const PairState& p) {
        Slot& s = slots_[Find(key)];
        if (s.stamp != stamp_) {
            s.key = key;
            s.stamp = stamp_;
            for (auto& row : s.timer)
                for (int8_t& t : row) t = 127;
        }
        int8_t& t = s.timer[ShiftRank(p.shiftTimer)][p.heldTurnKeys & 3];
        if (p.fallTimer < t) t = p.fallTimer;
    }

private:
    // The sideways repeat counts 1, 2, then 0, when a move can start: 0 is
    // best, then 2, then 1.
    static int ShiftRank(int shiftTimer) { return shiftTimer == 0 ? 0 : shiftTimer == 2 ? 1 : 2; }
    struct Slot {
        uint64_t key = 0;
        uint32_t stamp = 0;
        int8_t timer[3][4] = {};
    };
    size_t Find(uint64_t key) const {
        size_t i = size_t((key * 0x9E3779B97F4A7C15ull) >> shift_);
        while (slots_[i].stamp == stamp_ && slots_[i].key != key) i = (i + 1) & (size_ - 1);
        return i;
    }
    size_t size_;
    int shift_;
    std::vector<Slot> slots_;
    uint32_t stamp_ = 1;
};

struct Node {
    PairState state;
    int parent;
    uint32_t keys;  // held in the frame that led here
};

KeyLog KeysTo(const std::vector<Node>& nodes, int at, uint32_t last) {
    KeyLog log;
    log.push_back(last);
    for (; at > 0; at = nodes[size_t(at)].parent) log.push_back(nodes[size_t(at)].keys);
    return KeyLog(log.rbegin(), log.rend());
}

uint64_t LandingKey(const FallingPairRecord& p) {
    return uint64_t(uint8_t(p.col1 + 4)) << 24 | uint64_t(uint8_t(p.row1 + 8)) << 16 |
           uint64_t(uint8_t(p.col2 + 4)) << 8 | uint64_t(uint8_t(p.row2 + 8));
}
}  // namespace

namespace {
// No key held now and every input word at zero: sampling the input would
// leave them so.
bool InputAtRest(uint32_t keys) {
    return keys == 0 && KeyHeld == 0 && KeyPressed == 0 &&
           JoyHeld == 0 && JoyPressed == 0 && LeftHeld == 0 && LeftPressed == 0 && RightHeld == 0 &&
           RightPressed == 0 && DownHeld == 0 && DownPressed == 0 && UpHeld == 0 && UpPressed == 0 &&
           Button1Pressed == 0 && Button2Pressed == 0 && Button3Pressed == 0;
}
}  // namespace

// Nothing listens to what the rules play here: it is not heard.
void RuleFrame(uint32_t keys, KeyLog* log) {
    UnheardPlay unheard;
    if (!InputAtRest(keys)) SampleSearchInput(KeysOfWord(keys));
    StepPlayState();
    if (log) log->push_back(keys);
}

namespace {
// The input flags the falling-pair step reads, as sampling the keyboard would
// set them with these keys held now and `heldBefore` turn keys in the frame
// before (the exhaustive search samples the headless keyboard instead).
void HoldKeys(uint32_t keys, uint8_t heldBefore) {
    LeftHeld = (keys & WordBit(KeyLeft)) != 0;
    RightHeld = (keys & WordBit(KeyRight)) != 0;
    DownHeld = (keys & WordBit(KeyDown)) != 0;
    KeyHeld = ((keys & WordBit(KeyZ)) ? BitButton1 : 0) | ((keys & WordBit(KeyX)) ? BitButton2 : 0);
    Button1Pressed = (KeyHeld & ~heldBefore & BitButton1) != 0;
    Button2Pressed = (KeyHeld & ~heldBefore & BitButton2) != 0;
    Button3Pressed = 0;
}

// What the landings depend on: which cells are filled, the pair's state and
// the fall interval; not the kinds.
uint64_t OccupancyKey() {
    uint64_t bits[2] = {};
    for (int c = 0; c <= LastColumn; ++c)
        for (int r = HiddenRow; r <= BottomRow; ++r) {
            int i = c * 14 + (r + 2);
            if (GetKind(c, r) != Empty) bits[i / 64] |= uint64_t(1) << (i % 64);
        }
    PairState p = ReadPair();
    uint64_t h = bits[0] * 0x9E3779B97F4A7C15ull ^ (bits[1] + 0x632BE59BD9B4E019ull) * 0xBF58476D1CE4E5B9ull;
    uint64_t state = StateKey(p, false) << 16 | uint64_t(uint8_t(p.fallTimer)) << 8 |
                     uint64_t(p.shiftTimer) << 4 | p.heldTurnKeys;
    h ^= (state + uint64_t(FallInterval) * 0x94D049BB133111EBull) * 0xD6E8FEB86659FD93ull;
    return h ^ (h >> 29);
}

std::vector<Placement> SearchLandings(bool exhaustive);
}  // namespace

std::vector<Placement> FindPlacements(bool exhaustive) { return SearchLandings(exhaustive); }

const std::vector<Placement>& KnownPlacements() {
    static std::unordered_map<uint64_t, std::vector<Placement>> known;
    constexpr size_t KnownLimit = 20000;
    uint64_t key = OccupancyKey();
    if (auto it = known.find(key); it != known.end()) return it->second;
    if (known.size() >= KnownLimit) known.clear();
    return known[key] = SearchLandings(false);  // a reference stays valid until the next clear
}

namespace {
std::vector<Placement> SearchLandings(bool exhaustive) {
    std::vector<Placement> found;
    if (ScreenState != PairFalling) return found;
    UnheardPlay unheard;
    static PlaySnapshot start;
    SavePlay(start);
    // A landing that leaves no turn or sideways repeat running into the next
    // pair is kept over one that does.
    std::unordered_map<uint64_t, std::pair<size_t, bool>> landings;
    static StateTable quickSeen(15);  // state -> lowest fall timer met
    static std::unique_ptr<StateTable> allSeen;
    if (exhaustive && !allSeen) allSeen = std::make_unique<StateTable>(22);
    StateTable& seen = exhaustive ? *allSeen : quickSeen;
    seen.Clear();
    std::vector<Node> nodes = {{ReadPair(), -1, 0}};
    nodes.reserve(4096);
    seen.Add(StateKey(nodes[0].state, exhaustive), nodes[0].state);
    uint32_t keySets[32];
    for (size_t at = 0; at < nodes.size(); ++at) {
        PairState here = nodes[at].state;
        if (seen.Dominated(StateKey(here, exhaustive), here, true)) continue;  // met later, better
        int count = exhaustive ? AllKeySets(keySets) : QuickKeySets(here, keySets);
        for (int i = 0; i < count; ++i) {
            WritePair(here);
            if (exhaustive) {
                SampleSearchInput(KeysOfWord(keySets[i]));
            } else {
                HoldKeys(keySets[i], here.heldTurnKeys);
            }
            StepFallingPairMoves();
            if (ScreenState != PairFalling) continue;
            if (FallingPairLands()) {
                // The pair goes back one row and is written there.
                FallingPairRecord p = FallingPair;
                --p.row1;
                --p.row2;
                bool clean = TurnTimer == 0 && ShiftTimer == 0;
                uint64_t key = LandingKey(p);
                auto it = landings.find(key);
                if (it != landings.end() && (it->second.second || !clean)) continue;
                Placement placement{KeysTo(nodes, int(at), keySets[i]), int8_t(p.col1), int8_t(p.row1),
                                    int8_t(p.col2), int8_t(p.row2)};
                if (it == landings.end()) {
                    landings[key] = {found.size(), clean};
                    found.push_back(std::move(placement));
                } else {
                    found[it->second.first] = std::move(placement);
                    it->second.second = true;
                }
                continue;
            }
            PairState next = ReadPair();
            if (!exhaustive && next.turnTimer != 0) next.heldTurnKeys = 0;  // released before the turn ends
            uint64_t key = StateKey(next, exhaustive);
            if (seen.Full(nodes.size()) || seen.Dominated(key, next, false)) continue;
            seen.Add(key, next);
            nodes.push_back({next, int(at), keySets[i]});
        }
    }
    RestorePlay(start);
    return found;
}
}  // namespace

bool KeepsBothHalves(const Placement& p) {
    auto inWell = [](int c, int r) { return c >= 0 && c <= LastColumn && r >= TopRow; };
    return inWell(p.col1, p.row1) && inWell(p.col2, p.row2);
}

bool PlayPlacement(const Placement& p, KeyLog* log) {
    for (size_t i = 0; i < p.keys.size(); ++i) {
        if (ScreenState != PairFalling) return false;
        RuleFrame(p.keys[i], log);
    }
    return ScreenState != PairFalling;
}

Outcome RunToNextPair(KeyLog* log) {
    for (int frame = 0; frame < SettleFrameLimit; ++frame) {
        RuleFrame(0, log);
        if (ScreenState == GameOverScreen) return Outcome::Lost;
        if (ScreenState != PairFalling) continue;
        RuleFrame(0, log);  // the new pair's first frame
        if (ScreenState == MissionClearScreen) return Outcome::Cleared;
        if (ScreenState == GameOverScreen) return Outcome::Lost;
        return Outcome::NextPair;
    }
    return Outcome::Lost;
}
