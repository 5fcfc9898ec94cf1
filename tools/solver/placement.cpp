#include "tools/solver/placement.h"

#include "rules/falling_pair.h"
#include "rules/link.h"
#include "rules/queue.h"
#include "rules/settle.h"
#include "shell/input.h"
#include "shell/main_loop.h"
#include "shell/platform_headless.h"
#include "shell/play_frame.h"

namespace {
// Steering ends well before the first drop (50 frames), so every placement is
// reached from the entry rows.
constexpr int SteerFrameLimit = 45;
constexpr int DropFrameLimit = 32;
// The longest gap between a landing and the next pair's first frame: a chain
// erasing, falling and erasing again many times.
constexpr int SettleFrameLimit = 5000;

// The turn that brings orientation `from` nearer to `to`: X turns clockwise
// (+1), Z counter-clockwise.
uint32_t TurnKey(int from, int to) {
    int quarters = ((to - from) % 4 + 4) % 4;
    return quarters == 3 ? KeyBit(KeyZ) : KeyBit(KeyX);
}
}  // namespace

void RuleFrame(uint32_t keys, KeyLog* log) {
    Headless.keys = keys;
    SampleInput();
    StepPlayState();
    // Nothing listens to what the rules play here; keep the records short.
    Headless.sounds.clear();
    Headless.music.clear();
    if (log) log->push_back(keys);
}

uint32_t SteerKeys(const Placement& p, bool& arrived) {
    arrived = false;
    if (TurnTimer != 0) return 0;  // wait for the turn under way
    int o = FallingPair.orientation, c = FallingPair.col1;
    // While laid flat to pass over, the pair lies with its second half right.
    int want = p.route == Route::FlatOver && c != p.column ? 0 : p.orientation;
    bool turn = o != want, move = c != p.column;
    if (!turn && !move) {
        arrived = true;
        return 0;
    }
    if (move && (p.route == Route::MoveFirst || !turn)) return c > p.column ? KeyBit(KeyLeft) : KeyBit(KeyRight);
    if (KeyHeld & (BitButton1 | BitButton2)) return 0;  // a turn needs its key newly pressed
    return TurnKey(o, want);
}

bool PlayPlacement(const Placement& p, KeyLog* log) {
    for (int frame = 0;; ++frame) {
        if (ScreenState != PairFalling || frame > SteerFrameLimit) return false;
        bool arrived = false;
        uint32_t keys = SteerKeys(p, arrived);
        if (arrived) break;
        RuleFrame(keys, log);
    }
    for (int frame = 0; ScreenState == PairFalling; ++frame) {
        if (frame > DropFrameLimit) return false;
        RuleFrame(KeyBit(KeyDown), log);
    }
    return true;
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

const std::vector<Placement>& PlacementCandidates() {
    static const std::vector<Placement> all = [] {
        std::vector<Placement> v;
        for (uint8_t o : {1, 3, 0, 2})
            for (int8_t c = 0; c <= 7; ++c) {
                int second = c + OrientationDx[o];
                if (second >= 0 && second <= 7) v.push_back({o, c, Route::TurnFirst});
            }
        return v;
    }();
    return all;
}
