// The frame loop allocates nothing: every allocation of the program is
// counted while a score-attack game runs for a few thousand frames.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <new>

#include "rules/board.h"
#include "rules/fish.h"
#include "rules/queue.h"
#include "screens/game_mode.h"
#include "shell/files.h"
#include "shell/main_loop.h"
#include "shell/platform_headless.h"
#include "tests/test_support.h"

namespace {
std::atomic<long> Allocations{0};
}

void* operator new(std::size_t size) {
    ++Allocations;
    if (void* p = std::malloc(size ? size : 1)) return p;
    throw std::bad_alloc();
}
void operator delete(void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }

TEST(FrameLoop, AllocatesNothingPerFrame) {
    StartInFolder(MakeTempFolder("no_alloc"));
    GameMode = ScoreAttack;
    BoardOriginX = 64;
    BoardOriginY = 80;
    FillRandomQueue();
    ClearQueueFrames();
    ScreenState = NextPair;
    ColourMode = GridMode = 1;
    Headless.sounds.reserve(64);
    Headless.music.reserve(64);
    auto frame = [](int i) {
        // Wander left and right, turn and drop now and then.
        uint32_t keys = 0;
        if (i % 40 < 6) keys |= 1u << KeyLeft;
        if (i % 40 >= 20 && i % 40 < 27) keys |= 1u << KeyRight;
        if (i % 13 == 0) keys |= 1u << KeyZ;
        if (i % 50 > 35) keys |= 1u << KeyDown;
        Headless.keys = keys;
        if (ScreenState > Linking) {  // a lost game starts again
            ClearBoard();
            ScreenState = NextPair;
        }
        RunFrame();
        Headless.sounds.clear();
        Headless.music.clear();
    };
    for (int i = 0; i < 400; ++i) frame(i);
    long before = Allocations.load();
    for (int i = 400; i < 4000; ++i) frame(i);
    EXPECT_EQ(Allocations.load() - before, 0);
    EXPECT_GT(Headless.presents, 3000);
}
