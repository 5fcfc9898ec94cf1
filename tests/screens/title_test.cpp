// The title menu: cursor rules, sounds, the score-attack set-up, the picture
// and "QUIT".
#include <gtest/gtest.h>

#include "screens/notice.h"

#include "rules/game_mode.h"
#include "rules/queue.h"
#include "screens/title.h"
#include "tests/screens/screen_checks.h"

namespace {
void StartAtTitle(const char* name) { StartInFolder(MakeTempFolder(name)); }

std::vector<std::string> TapSounds(std::initializer_list<Key> keys) {
    Headless.sounds.clear();
    Tap(keys);
    return Headless.sounds;
}
}  // namespace

using Sounds = std::vector<std::string>;

TEST(Title, CursorStopsAtBothEndsWithoutSound) {
    StartAtTitle("title_cursor");
    ASSERT_EQ(ScreenState, uint32_t(TitleScreen));
    EXPECT_EQ(TapSounds({KeyUp}), Sounds{});
    EXPECT_EQ(TitleCursor, 0);
    for (int i = 1; i <= 3; ++i) {
        EXPECT_EQ(TapSounds({KeyDown}), Sounds{"SoundCursor"});
        EXPECT_EQ(TitleCursor, i);
    }
    EXPECT_EQ(TapSounds({KeyDown}), Sounds{});
    EXPECT_EQ(TitleCursor, 3);
    EXPECT_EQ(TapSounds({KeyUp}), Sounds{"SoundCursor"});
    EXPECT_EQ(TitleCursor, 2);
}

TEST(Title, HeldDirectionMovesOnceAndUpDownTogetherCancel) {
    StartAtTitle("title_held");
    Headless.keys = Keys({KeyDown});
    RunFrames(30);
    EXPECT_EQ(TitleCursor, 1);
    Headless.keys = {};
    RunFrame();
    Headless.keys = Keys({KeyDown, KeyUp});
    RunFrame();
    EXPECT_EQ(TitleCursor, 1);
    // The joystick's stick moves the cursor too.
    Headless.keys = {};
    Headless.joyPresent = true;
    Headless.joyY = 65535;
    RunFrame();
    EXPECT_EQ(TitleCursor, 2);
}

TEST(Title, ItemsAndTheirSounds) {
    StartAtTitle("title_items");
    Tap({KeyDown});
    Tap({KeyDown});
    Headless.sounds.clear();
    HoldFrame({KeyZ});
    EXPECT_EQ(ScreenState, uint32_t(RecordsScreen));
    EXPECT_EQ(Headless.sounds, Sounds{}) << "RECORD is silent";
    Headless.keys = {};
    RunFrame();
    Tap({KeyX});  // back to the title, on the same item
    ASSERT_EQ(ScreenState, uint32_t(TitleScreen));
    EXPECT_EQ(TitleCursor, 2);

    Tap({KeyUp});
    Headless.sounds.clear();
    HoldFrame({KeyZ});
    EXPECT_EQ(ScreenState, uint32_t(MissionSelectScreen));
    EXPECT_EQ(Headless.sounds, Sounds{"SoundDecide"});
}

TEST(Title, ScoreAttackRightAfterAFramedMission) {
    StartAtTitle("title_score_attack");
    // What a fixed-queue mission with frame blocks leaves behind.
    GameMode = NormalGame;
    MissionGoal.type = GoalAllFrames;
    BoardOriginX = 16;
    QueueLast = 7;
    for (auto& pair : ComingQueue.kind) pair[0] = pair[1] = 0;
    for (auto& pair : ComingQueue.frame) pair[0] = pair[1] = 1;
    ComingQueue.kind[6][0] = 9;

    Headless.sounds.clear();
    HoldFrame({KeyZ});
    EXPECT_EQ(Headless.sounds, Sounds{"SoundDecide"});
    EXPECT_EQ(ScreenState, uint32_t(BoardEntryScreen));
    EXPECT_EQ(GameMode, ScoreAttack);
    EXPECT_EQ(MissionGoal.type, 0);
    EXPECT_EQ(BoardOriginX, 64);
    EXPECT_EQ(BoardOriginY, 80);
    EXPECT_EQ(QueueLast, 4);
    for (int p = 0; p < 8; ++p)
        for (int h = 0; h < 2; ++h) EXPECT_EQ(ComingQueue.frame[p][h], 0) << "pair " << p << " half " << h;
    for (int p = 0; p <= 4; ++p)
        for (int h = 0; h < 2; ++h) {
            EXPECT_GE(ComingQueue.kind[p][h], 1) << "pair " << p << " half " << h;
            EXPECT_LE(ComingQueue.kind[p][h], 12) << "pair " << p << " half " << h;
        }
    EXPECT_EQ(ComingQueue.kind[6][0], 9) << "pairs above QueueLast are not drawn";
}

TEST(Title, PictureHasItemsPointerAndLogo) {
    StartAtTitle("title_picture");
    Tap({KeyDown});
    ASSERT_EQ(TitleCursor, 1);
    Surface shot = Shown();
    Surface expected = MenuBackgroundNow();
    expected = WithText(expected, "SCORE ATTACK", 100, 300);
    expected = WithText(expected, "MISSION MODE", 100, 324);
    expected = WithText(expected, "RECORD", 100, 348);
    expected = WithText(expected, "QUIT", 100, 372);
    expected = WithText(expected, ">", 80, 324);
    // The logo: its mask (lower half of the sheet) ANDed, the picture ORed, at (42, 96).
    int logoPixelsChanged = 0;
    for (int y = 0; y < 150; ++y)
        for (int x = 0; x < 300; ++x) {
            uint32_t& p = expected.At(42 + x, 96 + y);
            uint32_t before = p;
            p = (p & LogoSheet.At(x, 150 + y)) | LogoSheet.At(x, y);
            if (p != before) ++logoPixelsChanged;
        }
    EXPECT_GT(logoPixelsChanged, 1000) << "the logo shows";
    EXPECT_EQ(DifferingPixels(shot, expected), 0);
    Surface background = MenuBackgroundNow();
    EXPECT_GT(DifferingPixels(shot, background, 80, 324, 16, 16), 0) << "the pointer on MISSION MODE";
    EXPECT_EQ(DifferingPixels(shot, background, 80, 300, 16, 16), 0);
}

TEST(Title, QuitWaitsHalfASecondWithTheWindowAnsweringThenEnds) {
    StartAtTitle("title_quit");
    for (int i = 0; i < 3; ++i) Tap({KeyDown});
    ASSERT_EQ(TitleCursor, 3);
    Headless.sounds.clear();
    uint32_t clock = Headless.clock;
    int events = Headless.eventsTaken, presents = Headless.presents;
    Headless.pendingEvents.assign(100, PlatformEvent::Other);  // window events arriving meanwhile
    Headless.keys = Keys({KeyZ});
    RunFrame();
    EXPECT_EQ(Headless.sounds, Sounds{"SoundDecide"});
    EXPECT_GE(Headless.clock - clock, 500u);
    EXPECT_LT(Headless.clock - clock, 560u);
    EXPECT_TRUE(Headless.pendingEvents.empty()) << "events were handled during the wait";
    EXPECT_GE(Headless.eventsTaken - events, 100);
    EXPECT_EQ(Headless.presents, presents + 1) << "the title is still drawn in that frame";
    EXPECT_EQ(QuitFlag, 1) << "the loop's own pump picks the quit request up";
}

// Enter (the pad's Start comes in as Enter too) confirms in the menus as Z
// does: the title's item, the mission select's NORMAL GAME, leaving the records.
TEST(Title, EnterConfirmsInTheMenusAsZDoes) {
    StartAtTitle("title_enter");
    Tap({KeyDown});
    Tap({KeyDown});
    Tap({KeyEnter});
    ASSERT_EQ(ScreenState, uint32_t(RecordsScreen));
    Tap({KeyEnter});
    ASSERT_EQ(ScreenState, uint32_t(TitleScreen));
    Tap({KeyUp});
    Tap({KeyEnter});
    ASSERT_EQ(ScreenState, uint32_t(MissionSelectScreen));
    Tap({KeyEnter});
    // NORMAL GAME of mission 1 was chosen: this folder has no mission file to start.
    EXPECT_EQ(Notice, NoticeCannotReadMission);
}
