#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>

#include "mission/mission_goal.h"
#include "platform/platform.h"
#include "platform/platform_headless.h"
#include "rules/board.h"
#include "rules/falling_pair.h"
#include "rules/fish.h"
#include "rules/new_game.h"
#include "rules/queue.h"
#include "shell/main_loop.h"
#include "tests/test_support.h"

namespace {
// A score-attack game in the folder, with a tune of `tuneMs` virtual
// milliseconds already playing, waiting for its first pair.
void StartPlay(uint32_t tuneMs) {
    std::string folder = MakeTempFolder("play_frame");
    std::filesystem::create_directories(folder + "/snd");
    std::ofstream(folder + "/snd/bgm.mid") << "MThd";
    StartInFolder(folder);
    Headless.tuneLengthMs = tuneMs;
    GameMode = ScoreAttack;
    BoardOriginX = 64;
    BoardOriginY = 80;
    FillRandomQueue();
    ClearQueueFrames();
    ScreenState = NextPair;
    PlatformTunePlay();
    Headless.music.clear();
}

int Count(const std::vector<std::string>& v, const std::string& s) { return int(std::count(v.begin(), v.end(), s)); }
}  // namespace

TEST(PlayFrame, EnterPausesAfterOneMoreNormalFrame) {
    StartPlay(0);
    RunFrames(20);
    ASSERT_EQ(ScreenState, uint32_t(PairFalling));
    int32_t fallTimer = FallTimer;
    Headless.keys = 1u << KeyEnter;
    RunFrame();
    EXPECT_EQ(PauseFlag, 1);
    EXPECT_EQ(FallTimer, fallTimer + 1) << "the frame in which Enter goes down still plays";
    RunFrames(5);  // held: the pause screen runs, play stands still
    EXPECT_EQ(FallTimer, fallTimer + 1);
    EXPECT_EQ(PauseFlag, 1);
}

TEST(PlayFrame, TuneRestartsOncePerEnd) {
    StartPlay(100);  // ends after four frames
    RunFrames(4);
    EXPECT_EQ(Count(Headless.music, "play"), 0);
    RunFrame();      // the first frame that finds it stopped restarts it
    EXPECT_EQ(Count(Headless.music, "play"), 1);
    RunFrames(3);
    EXPECT_EQ(Count(Headless.music, "play"), 1);
    RunFrames(2);
    EXPECT_EQ(Count(Headless.music, "play"), 2);
}

TEST(PlayFrame, TuneIsNotRestartedInTheFrameThatEndsPlay) {
    StartPlay(0);
    RunFrames(12);
    ASSERT_EQ(ScreenState, uint32_t(PairFalling));
    FallingPair.col1 = FallingPair.col2 = 0;  // move the pair aside and block the entry cell
    SetKind(4, 0, Cross);
    Headless.music.clear();
    RunFrame();
    EXPECT_EQ(ScreenState, uint32_t(GameOverScreen));
    EXPECT_EQ(Count(Headless.music, "stop"), 1);
    EXPECT_EQ(Count(Headless.music, "play"), 0);
    EXPECT_TRUE(PlatformTuneStopped());
}

TEST(PlayFrame, EnterInTheFrameThatEndsPlayStillPauses) {
    StartPlay(0);
    RunFrames(12);
    SetKind(4, 0, Cross);
    FallingPair.col1 = FallingPair.col2 = 0;
    Headless.keys = 1u << KeyEnter;
    RunFrame();
    EXPECT_EQ(ScreenState, uint32_t(GameOverScreen));
    EXPECT_EQ(PauseFlag, 1);
}

TEST(NewGame, LeavesWallsAndAnEmptyWell) {
    StartPlay(0);
    for (int c = 0; c < 8; ++c)
        for (int r = -2; r <= 11; ++r) {
            SetKind(c, r, Cross);
            SetGroup(c, r, 7);
            SetFrame(c, r, 1);
        }
    for (int i = 0; i < 200; ++i) {
        NewGame();
        ASSERT_GE(NextGroupId, 1);
        ASSERT_LE(NextGroupId, 5);
    }
    EXPECT_TRUE(WallsIntact());
    for (int c = 0; c < 8; ++c)
        for (int r = -2; r <= 11; ++r) {
            EXPECT_EQ(GetKind(c, r), Empty);
            EXPECT_EQ(GetGroup(c, r), 0);
            EXPECT_EQ(GetFrame(c, r), 0);
        }
    EXPECT_EQ(FallInterval, 50);
}
