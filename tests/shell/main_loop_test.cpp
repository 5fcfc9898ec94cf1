#include "draw/playfield.h"
#include "draw/text.h"
#include "shell/main_loop.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "shell/game_window.h"
#include "shell/message_pump.h"
#include "platform/platform_headless.h"
#include "screens/pause.h"
#include "tests/screens/screen_checks.h"
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
    for (int i = 0; i < 400; ++i) {  // frames ending up to 3 ms late, as a busy machine wakes
        Headless.presentCostMs = i % 3 == 0 ? 0 : 25 + uint32_t(i % 4);
        RunFrame();
        EXPECT_EQ(FpsValue, 40u) << i;
    }
}

TEST_F(MainLoopTest, SlowFrameGetsNoWaitAndOneEventRetrieval) {
    Headless.presentCostMs = 30;
    Headless.pendingEvents.assign(5, PlatformEvent::Other);
    int waits = Headless.waits, taken = Headless.eventsTaken;
    RunFrames(1);
    EXPECT_EQ(Headless.waits, waits);
    EXPECT_EQ(Headless.eventsTaken, taken + 1);
    EXPECT_EQ(Headless.pendingEvents.size(), 4u);
    Headless.presentCostMs = 25;  // exactly the period: still no wait
    RunFrames(1);
    EXPECT_EQ(Headless.waits, waits);
}

// Frames keep to a 25 ms grid: a late frame shortens the next wait, a stall
// of more than a few frames starts the grid afresh instead of racing.
TEST_F(MainLoopTest, FramesKeepToTheirDeadlinesAndAStallDropsTheBacklog) {
    struct Case {
        uint32_t lateCostMs;   // the one slow frame's present
        uint32_t afterThree;   // clock after it and two more frames
    } cases[] = {
        {0, 75},     // on time
        {35, 75},    // 10 ms late: the next frame waits 15
        {90, 90},    // 65 ms late, within four periods: the next two frames run at once
        {200, 250},  // a stall: the next frames take 25 ms each from its end
    };
    for (const Case& c : cases) {
        StartInFolder(MakeTempFolder("main_loop_deadline"));
        uint32_t start = Headless.clock;
        Headless.presentCostMs = c.lateCostMs;
        RunFrames(1);
        Headless.presentCostMs = 0;
        RunFrames(2);
        EXPECT_EQ(Headless.clock - start, c.afterThree) << c.lateCostMs;
    }
}

TEST_F(MainLoopTest, PumpMessagesHandlesTheEventsThenSleepsOutTheRest) {
    Headless.pendingEvents.assign(3, PlatformEvent::Other);
    uint32_t start = Headless.clock;
    PumpMessages(10);
    EXPECT_TRUE(Headless.pendingEvents.empty());
    EXPECT_EQ(Headless.clock - start, 10u);
    EXPECT_EQ(Headless.waits, 1) << "one sleep, not ten 1 ms steps";
}

// Paused with no key held, the loop draws only when "PAUSE" blinks and
// sleeps in between: the blink, the frame count and the picture keep the time
// they keep with a frame every 25 ms.
TEST_F(MainLoopTest, PausedTheLoopRestsBetweenBlinksAndKeepsTheirTime) {
    auto pauseAndRun = [](bool rest, uint32_t ms) {
        StartInFolder(MakeTempFolder("main_loop_rest"));
        ScreenState = PairFalling;
        PauseFlag = 1;
        Headless.mayRest = rest;
        int presents = Headless.presents;
        uint32_t end = Headless.clock + ms;
        while (Headless.clock < end) RunFrame();
        return Headless.presents - presents;
    };
    int resting = pauseAndRun(true, 10000);
    uint32_t restedFor = Headless.clock;
    int32_t blink = PauseBlinkTimer;
    uint32_t fps = FpsValue;
    std::vector<uint32_t> picture = Headless.lastPresented;
    EXPECT_EQ(resting, 21) << "the first picture, then one per half second of blink";
    EXPECT_LE(Headless.waits, resting) << "one sleep a picture, not one to the frame's deadline and another after it";
    int everyFrame = pauseAndRun(false, restedFor);
    EXPECT_EQ(uint32_t(everyFrame), restedFor / FramePeriodMs);
    EXPECT_EQ(PauseBlinkTimer, blink);
    EXPECT_EQ(FpsValue, fps);
    EXPECT_TRUE(Headless.lastPresented == picture);
}

// A key pressed while the loop rests is taken in the next frame, on the
// 25 ms grid, and a held key (which repeats) is never rested on.
TEST_F(MainLoopTest, AKeyEndsTheRestAtOnce) {
    ScreenState = PairFalling;
    PauseFlag = 1;
    Headless.mayRest = true;
    RunFrame();
    uint32_t start = Headless.clock;
    Headless.eventAt = start + 60;
    RunFrame();
    EXPECT_EQ(Headless.clock, start + 60) << "the rest ends with the event";
    Headless.keys = KeyBit(KeyLeft);
    RunFrames(3);
    EXPECT_EQ(Headless.clock, start + 125) << "the next frame ends on the grid, then no rest";
}

TEST_F(MainLoopTest, AMinimisedWindowRunsNoFramesUntilShownAgain) {
    Headless.mayRest = true;
    Headless.hiddenUntil = Headless.clock + 1000;
    int presents = Headless.presents;
    RunFrame();
    EXPECT_EQ(Headless.presents, presents + 1);
    EXPECT_GE(Headless.clock, Headless.hiddenUntil);
    EXPECT_LE(Headless.waits, int(1000 / HiddenWakeMs) + 1);
    uint32_t shown = Headless.clock;
    RunFrames(2);
    EXPECT_EQ(Headless.clock - shown, 50u) << "the schedule starts afresh";
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
        Headless.keys = KeyBit(KeyEscape);
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
    Headless.keys = KeyBit(KeyC);
    RunFrames(10);
    EXPECT_EQ(ColourMode, 1);
    Headless.keys = {};
    RunFrames(1);
    Headless.keys = KeyBit(KeyC) | KeyBit(KeyG);
    RunFrames(3);
    EXPECT_EQ(ColourMode, 0);
    EXPECT_EQ(GridMode, 1);
}

// L switches the language of the texts, once per press, and the settings
// file remembers the choice for the next start.
TEST_F(MainLoopTest, HoldingLSwitchesTheLanguageOnceAndRemembersIt) {
    const std::string folder = ::testing::TempDir() + "main_loop_language";
    std::filesystem::remove_all(folder);
    GameSettingsPath = folder + "/settings.conf";
    auto saved = [] { return LoadDisplaySettings(GameSettingsPath).language; };
    ASSERT_EQ(TextLanguage, Language::Japanese);
    Headless.keys = KeyBit(KeyL);
    RunFrames(10);
    EXPECT_EQ(TextLanguage, Language::English);
    EXPECT_EQ(saved(), "en");
    Headless.keys = {};
    RunFrames(1);
    Headless.keys = KeyBit(KeyL);
    RunFrames(1);
    EXPECT_EQ(TextLanguage, Language::Japanese);
    EXPECT_EQ(saved(), "ja");
    GameSettingsPath.clear();
}

TEST_F(MainLoopTest, ClockWrapDoesNotStallPacing) {
    Headless.clock = 0xFFFFFFF0u;
    FpsWindowStarted = false;
    RunFrames(1);
    EXPECT_EQ(Headless.clock, 0xFFFFFFF0u + 25u);  // wrapped, 25 ms all the same
}
