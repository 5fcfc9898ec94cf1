#include "draw/playfield.h"
#include "draw/text.h"
#include "shell/main_loop.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "platform/message_pump.h"
#include "platform/platform_headless.h"
#include "tests/test_support.h"

namespace {
class MainLoopTest : public ::testing::Test {
protected:
    void SetUp() override { StartInFolder(MakeTempFolder("main_loop")); }
};

bool Contains(const std::vector<std::string>& v, const std::string& s) {
    return std::find(v.begin(), v.end(), s) != v.end();
}
}  // namespace

TEST_F(MainLoopTest, StartsOnTheTitleWithNothingPressed) {
    EXPECT_EQ(ScreenState, uint32_t(TitleScreen));
    EXPECT_EQ(QuitFlag, 0);
}

TEST_F(MainLoopTest, AFrameLastsTwentyFiveMilliseconds) {
    uint32_t before = Headless.clock;
    RunFrames(1);
    EXPECT_EQ(Headless.clock - before, 25u);
    EXPECT_EQ(Headless.presents, 1);
}

TEST_F(MainLoopTest, FpsIsZeroInTheFirstSecondThenForty) {
    RunFrames(40);
    EXPECT_EQ(FpsValue, 0u);
    RunFrames(1);
    EXPECT_EQ(FpsValue, 40u);
    RunFrames(200);
    EXPECT_EQ(FpsValue, 40u);
}

TEST_F(MainLoopTest, SlowFrameGetsNoSleepAndOneEventRetrieval) {
    Headless.presentCostMs = 30;
    Headless.pendingEvents = 5;
    int sleeps = Headless.sleeps, taken = Headless.eventsTaken;
    RunFrames(1);
    EXPECT_EQ(Headless.sleeps, sleeps);
    EXPECT_EQ(Headless.eventsTaken, taken + 1);
    EXPECT_EQ(Headless.pendingEvents, 4);
    Headless.presentCostMs = 25;  // exactly the period: still no wait
    RunFrames(1);
    EXPECT_EQ(Headless.sleeps, sleeps);
}

TEST_F(MainLoopTest, PumpMessagesHandlesOneEventPerPassWhileWaiting) {
    Headless.pendingEvents = 3;
    uint32_t start = Headless.clock;
    PumpMessages(10);
    EXPECT_EQ(Headless.pendingEvents, 0);
    EXPECT_EQ(Headless.clock - start, 10u);
    EXPECT_EQ(Headless.sleeps, 10);
}

TEST_F(MainLoopTest, PumpMessagesReturnsAtOnceAfterQuit) {
    QuitFlag = 1;
    uint32_t start = Headless.clock;
    PumpMessages(25);
    EXPECT_EQ(Headless.clock, start);
    EXPECT_EQ(Headless.eventsTaken, 0);
}

TEST_F(MainLoopTest, EscapeOnAnyScreenQuitsAfterTheCurrentFrameAndShutdownRuns) {
    for (ScreenStateValue state : {PairFalling, GameOverScreen, TitleScreen, MissionSelectScreen, RecordsScreen,
                                   BoardEntryScreen}) {
        StartInFolder(MakeTempFolder("main_loop_escape"));
        ScreenState = state;
        PauseFlag = state == PairFalling ? 1 : 0;  // also from the pause screen
        Headless.keys = 1u << KeyEscape;
        int presents = Headless.presents;
        RunFrame();
        EXPECT_EQ(QuitFlag, 1) << state;
        EXPECT_EQ(Headless.presents, presents + 1) << "the frame itself still ran";
        EndProgram();
        EXPECT_TRUE(Contains(Headless.music, "close"));
    }
}

TEST_F(MainLoopTest, ClosingTheWindowEndsTheLoop) {
    Headless.windowClosed = true;
    RunFrames(5);
    EXPECT_EQ(QuitFlag, 1);
    EXPECT_EQ(Headless.presents, 1);
}

TEST_F(MainLoopTest, HoldingCOrGTogglesOnce) {
    Headless.keys = 1u << KeyC;
    RunFrames(10);
    EXPECT_EQ(ColourMode, 1);
    Headless.keys = 0;
    RunFrames(1);
    Headless.keys = (1u << KeyC) | (1u << KeyG);
    RunFrames(3);
    EXPECT_EQ(ColourMode, 0);
    EXPECT_EQ(GridMode, 1);
}

// L switches the language of the texts, once per press, and asks the
// platform to remember the choice for the next start.
TEST_F(MainLoopTest, HoldingLSwitchesTheLanguageOnceAndRemembersIt) {
    ASSERT_EQ(TextLanguage, Language::Japanese);
    Headless.keys = 1u << KeyL;
    RunFrames(10);
    EXPECT_EQ(TextLanguage, Language::English);
    EXPECT_EQ(Headless.rememberedLanguage, Language::English);
    Headless.keys = 0;
    RunFrames(1);
    Headless.keys = 1u << KeyL;
    RunFrames(1);
    EXPECT_EQ(TextLanguage, Language::Japanese);
    EXPECT_EQ(Headless.rememberedLanguage, Language::Japanese);
}

TEST_F(MainLoopTest, ClockWrapDoesNotStallPacing) {
    Headless.clock = 0xFFFFFFF0u;
    FpsWindowStarted = false;
    RunFrames(1);
    EXPECT_EQ(Headless.clock, 0xFFFFFFF0u + 25u);  // wrapped, 25 ms all the same
}
