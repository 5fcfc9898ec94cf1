// The screens allocate nothing per frame: every allocation is counted while
// the title, records, board entry, play, pause and game over run.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <new>

#include "screens/game_over.h"
#include "screens/title.h"
#include "tests/screens/screen_checks.h"

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

TEST(ScreensNoAlloc, FromTitleToNameEntry) {
    StartInFolder(MakeTempFolder("screens_no_alloc"));
    Headless.sounds.reserve(4096);
    Headless.music.reserve(4096);
    RunFrame();
    long before = Allocations.load();
    RunFrames(40);
    Tap({KeyDown});
    Tap({KeyDown});
    Tap({KeyZ});  // records
    RunFrames(20);
    Tap({KeyX});
    Tap({KeyUp});
    Tap({KeyUp});
    Tap({KeyZ});  // score attack
    ASSERT_EQ(RunUntilState(NextPair, 200), 78);
    Headless.keys = Keys({KeyDown});
    RunFrames(30);
    Tap({KeyEnter});
    RunFrames(30);  // paused
    Tap({KeyEnter});
    Headless.keys = Keys({KeyDown});
    RunUntilState(GameOverScreen, 2000);
    Headless.keys = 0;
    while (GameOverPhase != PhaseNameEntry && ScreenState == GameOverScreen) RunFrame();
    ASSERT_EQ(GameOverPhase, PhaseNameEntry) << "the dropped pairs scored nothing";
    Headless.keys = Keys({KeyUp});
    RunFrames(30);
    Tap({KeyD});
    Tap({KeyRight});
    EXPECT_EQ(Allocations.load() - before, 0);
    EXPECT_GT(Headless.presents, 300);
}
