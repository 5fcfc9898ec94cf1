#include "tools/solver/simple_player.h"

#include <unistd.h>

#include "platform/platform_headless.h"
#include "shell/input_script.h"
#include "rules/board.h"
#include "rules/falling_pair.h"
#include "rules/fish.h"
#include "rules/scoring.h"
#include "shell/main_loop.h"
#include "shell/program_state.h"
#include "shell/startup.h"
#include "tools/solver/menu_script.h"
#include "tools/solver/play_state.h"

namespace {
int CaughtFish() {
    int n = 0;
    for (const Fish& f : FishTable) n += f.state == FishStateValue::Caught;
    return n;
}

// Height of each column above the floor, and the empty cells under its top.
struct Shape {
    int total = 0, highest = 0, holes = 0, entry = 0;
    int joins = 0, blocked = 0;  // rope ends that meet a rope, and ends that meet a block or a wall
};

// Ropes that already run into each other are loops in the making; ends
// stopped by a block or the wall never can be.
void CountEnds(Shape& s) {
    for (int c = 0; c <= LastColumn; ++c)
        for (int r = TopRow; r <= BottomRow; ++r) {
            uint8_t k = GetKind(c, r);
            if (k == Empty) continue;
            for (int side = SideUp; side <= SideRight; ++side) {
                if (!HasSide(k, side)) continue;
                uint8_t n = GetKind(c + SideDx[side], r + SideDy[side]);
                if (JoinedTo(c, r, side)) ++s.joins;
                else if (n != Empty) ++s.blocked;
            }
        }
}

Shape MeasureWell() {
    Shape s;
    for (int c = 0; c <= LastColumn; ++c) {
        int height = 0;
        for (int r = TopRow; r <= BottomRow; ++r) {
            if (GetKind(c, r) == Empty) {
                if (height > 0) ++s.holes;
                continue;
            }
            if (height == 0) height = 12 - r;
        }
        s.total += height;
        if (height > s.highest) s.highest = height;
        if (c == 4) s.entry = height;
    }
    CountEnds(s);
    return s;
}

// After a landing: falling and erasing until the turn is over. The next
// pair is not brought in, which would draw new kinds.
void RunToTurnEnd() {
    for (int frame = 0; frame < 5000 && (ScreenState == BlocksFalling || ScreenState == Erasing); ++frame)
        RuleFrame(0, nullptr);
}

long Value(int erased, int caught, int scored, const Shape& s) {
    long v = 40L * erased + 400L * caught + scored;
    v -= 3L * s.total + 6L * s.holes;
    v += 4L * s.joins - 5L * s.blocked;
    if (s.highest > 8) v -= 60L * (s.highest - 8);
    if (s.entry > 9) v -= 2000;
    return v;
}

void HoldFrames(uint32_t keys, int frames, KeyLog& log) {
    for (int i = 0; i < frames && !QuitFlag; ++i) {
        Headless.keys = KeysOfWord(keys);
        RunFrame();
        log.push_back(keys);
    }
}
}  // namespace

Placement ChoosePlacement() {
    static PlaySnapshot here;
    SavePlay(here);
    int blocks = BlocksInWell() + 2, caught = CaughtFish(), score = Score;
    GreedyChoice best = BestPlacement(here, [&] {
        RunToTurnEnd();
        return Value(blocks - BlocksInWell(), CaughtFish() - caught, Score - score, MeasureWell());
    });
    RestorePlay(here);
    return best.placement.value_or(Placement{});
}

PlayerRun PlayWithSimplePlayer(const std::string& folder, int number, unsigned seed, int maxPlayFrames) {
    PlayerRun run;
    ResetProgramState();
    HeadlessReset();
    if (chdir(folder.c_str()) != 0) return run;
    FixedSeed = seed;
    StartProgram();
    for (const HeldKeys& step : MenuToMission(number)) HoldFrames(step.keys, step.frames, run.keys);

    Placement target;
    size_t next = 0;  // the frame of the target's keys to hold next
    bool firstFrameDone = false, chosen = false;
    for (; run.playFrames < maxPlayFrames && !QuitFlag; ++run.playFrames) {
        if (ScreenState == MissionClearScreen) {
            run.cleared = true;
            break;
        }
        if (ScreenState == GameOverScreen) break;
        uint32_t keys = 0;
        if (ScreenState != PairFalling) {
            firstFrameDone = chosen = false;
        } else if (!firstFrameDone) {
            firstFrameDone = true;  // the pair's first frame tests the goal; nothing held
            ++run.pairs;
        } else {
            if (!chosen) {
                target = ChoosePlacement();
                chosen = true;
                next = 0;
            }
            keys = next < target.keys.size() ? target.keys[next++] : WordBit(KeyDown);
        }
        HoldFrames(keys, 1, run.keys);
    }
    EndProgram();
    return run;
}
