#include <cmath>
#include <numbers>
#include <cstdlib>

#include "draw/fish.h"
#include "rules/game_mode.h"
#include "draw/surfaces.h"
#include "rules/game_random.h"
#include "rules/link.h"
#include "shell/startup.h"
#include "tests/rules/rope_board.h"

namespace {
using enum FishStateValue;


class FishTest : public RopeBoardTest {
protected:
    void SetUp() override {
        RopeBoardTest::SetUp();
        BoardOriginX = 64;
        BoardOriginY = 80;
    }
    static Fish MakeFish(float x, float y, int dir, FishStateValue state, int phase = 0) {
        Fish f;
        f.x = x;
        f.y = y;
        f.dir = dir;
        f.state = state;
        f.phase = phase;
        return f;
    }
    // Every slot but the first holds a fish shaking after its capture, which
    // draws no random numbers.
    static void OnlyFirstSlotFree() {
        for (int i = 1; i < FishCount; ++i) FishTable[i] = MakeFish(100, 100, 1, Caught);
    }
    // A seed whose first rand() % 3000 is `roll`.
    static unsigned SeedRolling(int roll) {
        for (unsigned s = 1; s < 2000000; ++s) {
            SeedGameRandom(s);
            if (GameRandom() % 3000 == roll) return s;
        }
        ADD_FAILURE() << "no seed rolls " << roll;
        return 1;
    }
};

TEST_F(FishTest, StartRollThresholdFollowsTheLevel) {
    struct Case {
        uint8_t level;
        int threshold;
    } cases[] = {{1, 25}, {24, 2}, {25, 1}, {90, 1}};
    for (const Case& k : cases) {
        Level = k.level;
        for (int roll : {k.threshold, k.threshold + 1}) {
            OnlyFirstSlotFree();
            FishTable[0] = Fish{};
            SeedGameRandom(SeedRolling(roll));
            UpdateFish();
            EXPECT_EQ(FishTable[0].state, roll <= k.threshold ? Swimming : Free)
                << "level " << int(k.level) << ", roll " << roll;
        }
    }
}

TEST_F(FishTest, NewFishTakesPhaseSideAndHeightFromTheNextThreeRolls) {
    OnlyFirstSlotFree();
    unsigned seed = SeedRolling(0);
    SeedGameRandom(seed);
    GameRandom();
    int phase = GameRandom() % 360, side = GameRandom() % 2, height = GameRandom() % 380 + 38;
    SeedGameRandom(seed);
    UpdateFish();
    const Fish& f = FishTable[0];
    ASSERT_EQ(f.state, Swimming);
    EXPECT_EQ(f.phase, phase);
    EXPECT_EQ(f.dir, 2 * side - 1);
    EXPECT_EQ(f.x, side ? -30 - 64 : 384 - 64);  // enters at an edge of the back buffer
    EXPECT_EQ(f.y, height);
}

TEST_F(FishTest, FixedQueueMissionsStartNoFishButKeepTheSwimmingOnes) {
    SeedGameRandom(7);
    GameMode = NormalGame;
    for (uint8_t type = GoalChain; type <= GoalArea; ++type) {
        MissionGoal.type = type;
        FishTable[0] = MakeFish(100, 100, 1, Swimming);
        for (int frame = 0; frame < 2000; ++frame) {
            UpdateFish();
            EXPECT_EQ(CountActiveFish(), FishTable[0].state != Free) << "type " << int(type);
        }
        EXPECT_EQ(FishTable[0].state, Free);  // it swam off at the right
    }
    for (uint8_t type : {6, 7, 8}) {
        MissionGoal.type = type;
        for (int frame = 0; frame < 400; ++frame) UpdateFish();
        EXPECT_GT(CountActiveFish(), 0) << "type " << int(type);
        for (Fish& f : FishTable) f = Fish{};
    }
}

TEST_F(FishTest, SwimmingFishBobsAndLeavesOnlyPastTheBackBufferEdge) {
    GameMode = NormalGame;  // no new fish in the other slots
    FishTable[0] = MakeFish(314, 200, 1, Swimming, 10);
    FishTable[1] = MakeFish(-90, 200, -1, Swimming, 0);
    UpdateFish();
    EXPECT_EQ(FishTable[0].x, 317);
    EXPECT_FLOAT_EQ(FishTable[0].y, float(200 + std::sin(11 * 5 * std::numbers::pi / 180)));
    EXPECT_EQ(FishTable[1].x, -93);
    UpdateFish();  // x = 320 = 384 - 64 and -96 = -32 - 64: still on the edge
    EXPECT_EQ(FishTable[0].state, Swimming);
    EXPECT_EQ(FishTable[1].state, Swimming);
    UpdateFish();
    EXPECT_EQ(FishTable[0].state, Free);
    EXPECT_EQ(FishTable[1].state, Free);
}

TEST_F(FishTest, FishInsideALoopIsCaughtOutsideOrBeyondTheWellIsNot) {
    PutRing(2, 5, 3, 3);
    FishTable[0] = MakeFish(85, 180, 1, Swimming, 33);    // centre over (3, 6)
    FishTable[1] = MakeFish(200, 180, -1, Swimming, 12);  // over column 6: no mark to the right
    FishTable[2] = MakeFish(250, 180, 1, Swimming, 12);   // over column 8
    FishTable[3] = MakeFish(85, 80, 1, Swimming, 12);     // over (3, 3): no mark above
    Search();
    EXPECT_EQ(FishTable[0].state, Caught);
    EXPECT_EQ(FishTable[0].phase, 0);
    for (int i = 1; i <= 3; ++i) EXPECT_EQ(FishTable[i].state, Swimming) << i;
}

TEST_F(FishTest, CaughtFishShakesFliesOffAndIsCountedOnce) {
    ChosenSounds = SoundSet::Full;
    SoundFish.name = "SoundFish";
    GameMode = NormalGame;
    MissionGoal.type = GoalFish;
    MissionGoal.target = 1;
    PutRing(2, 5, 3, 3);
    FishTable[0] = MakeFish(100, 200, -1, Swimming);
    Search();
    ASSERT_EQ(FishTable[0].state, Caught);
    for (int i = 0; i < 5; ++i) UpdateFish();
    // A second loop around it in the same place does not catch it again.
    EraseMarked();
    PutRing(2, 5, 3, 3);
    Search();
    EXPECT_EQ(FishTable[0].phase, 5);
    HeardInFullSet();  // the loops' own sound
    for (int i = 5; i < 19; ++i) UpdateFish();
    EXPECT_EQ(FishTable[0].x, 100);
    EXPECT_EQ(FishTable[0].y, 203);  // 19 frames of shaking end 3 lower
    UpdateFish();
    EXPECT_EQ(FishTable[0].x, 92);
    EXPECT_EQ(FishTable[0].y, 195);
    for (int i = 21; i < 44; ++i) UpdateFish();
    EXPECT_EQ(FishTable[0].state, Caught);  // x = -92: still on screen
    EXPECT_EQ(LinkStock, 0);
    EXPECT_EQ(HeardInFullSet(), std::vector<std::string>{}) << "heard when counted, not when caught";
    UpdateFish();
    EXPECT_EQ(FishTable[0].state, Free);
    EXPECT_EQ(LinkStock, 1);
    EXPECT_EQ(HeardInFullSet(), std::vector<std::string>{"SoundFish"});
    EXPECT_EQ(GoalProgress, 1);
    EXPECT_TRUE(TestMissionGoal());
    for (int i = 0; i < 50; ++i) UpdateFish();
    EXPECT_EQ(LinkStock, 1);
}

TEST_F(FishTest, StockStopsAt99WhileTheFishGoalSeesOneMore) {
    GameMode = NormalGame;
    MissionGoal.type = GoalFish;
    LinkStock = 99;
    FishTable[0] = MakeFish(-90, 0, 1, Caught, 30);
    UpdateFish();
    EXPECT_EQ(FishTable[0].state, Free);
    EXPECT_EQ(LinkStock, 99);
    EXPECT_EQ(GoalProgress, 100);

    GameMode = ScoreAttack;  // outside fish missions the progress is left alone
    GoalProgress = 0;
    LinkStock = 3;
    FishTable[0] = MakeFish(-90, 0, 1, Caught, 30);
    UpdateFish();
    EXPECT_EQ(LinkStock, 4);
    EXPECT_EQ(GoalProgress, 0);
}

// Sheet columns 14..17 get a different colour each in an 8 x 8 square at
// (4, 4) of their cell, with the matching mask.
void MakeFishSheet() {
    BlockSheet.Create(640, 256);
    for (int n = 14; n <= 17; ++n) {
        FillRect(BlockSheet, 32 * n, 0, 32, 32, Black);
        FillRect(BlockSheet, 32 * n + 4, 4, 8, 8, White);
        FillRect(BlockSheet, 32 * n + 4, 32 + 4, 8, 8, Rgb(10 * n, 0, 0));
    }
}

TEST_F(FishTest, DrawFishUsesTheColumnOfItsDirectionAndStateAtTheTruncatedPosition) {
    MakeFishSheet();
    BackBuffer.Create(384, 480);
    const uint32_t ground = Rgb(1, 2, 3);
    struct Case {
        int dir;
        FishStateValue state;
        int column;
    } cases[] = {{-1, Swimming, 14}, {-1, Caught, 15}, {1, Swimming, 16}, {1, Caught, 17}};
    for (const Case& k : cases) {
        FillRect(BackBuffer, 0, 0, 384, 480, ground);
        FishTable[0] = MakeFish(-0.9f, 40.7f, k.dir, k.state);  // truncates to (0, 40)
        FishTable[1] = MakeFish(100, 100, k.dir, Free);
        DrawFish();
        EXPECT_EQ(BackBuffer.At(64 + 4, 80 + 40 + 4), Rgb(10 * k.column, 0, 0)) << k.column;
        EXPECT_EQ(BackBuffer.At(64 + 11, 80 + 40 + 11), Rgb(10 * k.column, 0, 0));
        EXPECT_EQ(BackBuffer.At(64 + 3, 80 + 40 + 4), ground);  // outside the mask
        EXPECT_EQ(BackBuffer.At(64 + 12, 80 + 40 + 12), ground);
        EXPECT_EQ(BackBuffer.At(164 + 4, 180 + 4), ground);  // the free slot draws nothing
    }
}

}  // namespace
