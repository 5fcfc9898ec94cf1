// The frame loop allocates nothing: every allocation of the program is
// counted while a score-attack game runs for a few thousand frames, and while
// the title, records, board entry, play, pause and game over screens run.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <new>

#include "draw/playfield.h"
#include "rules/game_mode.h"
#include "platform/platform_headless.h"
#include "platform/platform_os.h"
#include "rules/board.h"
#include "rules/fish.h"
#include "rules/queue.h"
#include "screens/game_over.h"
#include "screens/title.h"
#include "shell/main_loop.h"
#include "shell/replay_record.h"
#include "tests/screens/screen_checks.h"
#include "tests/test_support.h"

namespace {
std::atomic<long> Allocations{0};
}  // namespace

void* operator new(std::size_t size) {
    ++Allocations;
    if (void* p = std::malloc(size ? size : 1)) return p;
    throw std::bad_alloc();
}
void operator delete(void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }

namespace {

// The frames of a score-attack game; `record` keeps it as a replay.
void PlayWandering(bool record) {
    StartInFolder(MakeTempFolder("no_alloc"));
    ReplaysFolder = MakeTempFolder("no_alloc_replays");
    RecordingReplays = record;
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
        KeySet keys;
        if (i % 40 < 6) keys |= KeyBit(KeyLeft);
        if (i % 40 >= 20 && i % 40 < 27) keys |= KeyBit(KeyRight);
        if (i % 13 == 0) keys |= KeyBit(KeyZ);
        if (i % 50 > 35) keys |= KeyBit(KeyDown);
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
    const long made = Allocations.load() - before;
    if (record) {
        // The recording's lists grow by doubling: a handful in 3,600 frames.
        std::printf("recording: %ld allocations in 3600 frames, %zu runs\n", made, RecordedReplay().runs.size());
        EXPECT_GT(RecordedReplay().frames, 3600u);
        EXPECT_LE(made, 8);
    } else {
        EXPECT_EQ(made, 0);
    }
    EXPECT_GT(Headless.presents, 3000);
    RecordingReplays = false;
    ReplaysFolder.clear();
}
}  // namespace

TEST(FrameLoop, AllocatesNothingPerFrame) { PlayWandering(false); }
TEST(FrameLoop, RecordingAllocatesOnlyAsItsListsGrow) { PlayWandering(true); }

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
    Headless.keys = {};
    while (GameOverPhase != PhaseNameEntry && ScreenState == GameOverScreen) RunFrame();
    ASSERT_EQ(GameOverPhase, PhaseNameEntry) << "the dropped pairs scored nothing";
    Headless.keys = Keys({KeyUp});
    RunFrames(30);
    Tap({KeyD});
    Tap({KeyRight});
    EXPECT_EQ(Allocations.load() - before, 0);
    EXPECT_GT(Headless.presents, 300);
}
