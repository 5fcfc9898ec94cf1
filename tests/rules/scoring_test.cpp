#include <climits>

#include "rules/falling_pair.h"
#include "rules/game_mode.h"
#include "rules/screen_state.h"
#include "rules/settle.h"
#include "tests/rules/rope_board.h"

namespace {

class ScoringTest : public RopeBoardTest {
protected:
    void SetUp() override {
        RopeBoardTest::SetUp();
        GameMode = ScoreAttack;
        FallInterval = 50;
    }
    // One turn whose only search finds the given ring.
    void SingleLoopTurn(int w, int h) {
        PutRing(0, 12 - h, w, h);
        Search();
        EraseMarked();
        Search();
        ScoreTurn();
    }
};

// A 6-cell ring is closed; its erase drops two blocks beside a waiting half
// square, which closes a 4-cell loop: a chain of two, played by the board
// analysis frame by frame.
TEST_F(ScoringTest, ChainOfSixThenFourAtLevelThreeScores600) {
    Level = 3;
    PutRing(3, 9, 2, 3);
    SetKind(3, 7, CornerDownLeft);  // resting on the ring, not joined to it
    SetKind(3, 8, CornerUpLeft);
    SetKind(2, 10, CornerDownRight);
    SetKind(2, 11, CornerUpRight);
    GoOnAfterSettling(SettleBoard());
    ASSERT_EQ(ScreenState, uint32_t(Erasing));
    EXPECT_EQ(ChainErased, 6);
    int frames = 0;
    while (ScreenState != NextPair && frames < 400) {
        if (ScreenState == Erasing) StepErase();
        else if (ScreenState == BlocksFalling) StepFallingBlocks();
        else FAIL() << "unexpected state " << ScreenState;
        ++frames;
    }
    EXPECT_EQ(Score, 600);
    EXPECT_EQ(LevelSteps, 2);
    EXPECT_EQ(Level, 3);
    EXPECT_EQ(FallInterval, (26 - 3 - 2) * 2);
    EXPECT_EQ(ChainLength, 0);
    EXPECT_EQ(ChainErased, 0);
    for (int c = 0; c <= 7; ++c)
        for (int r = -1; r <= 11; ++r) EXPECT_EQ(GetKind(c, r), Empty) << c << "," << r;
}

TEST_F(ScoringTest, TurnWithoutLoopScoresNothingAndKeepsTheLevel) {
    Score = 123;
    LevelSteps = 3;
    Search();
    ScoreTurn();
    EXPECT_EQ(Score, 123);
    EXPECT_EQ(Level, 1);
    EXPECT_EQ(LevelSteps, 3);
}

TEST_F(ScoringTest, FourSingleLoopsRaiseTheLevelAndSpeed) {
    const int32_t expected[4] = {48, 46, 44, 48};
    for (int turn = 0; turn < 4; ++turn) {
        SingleLoopTurn(2, 2);
        EXPECT_EQ(FallInterval, expected[turn]) << "turn " << turn;
        EXPECT_EQ(Score, 40 * (turn + 1));
    }
    EXPECT_EQ(Level, 2);
    EXPECT_EQ(LevelSteps, 0);
}

TEST_F(ScoringTest, FallIntervalReachesItsFloorFromLevel25) {
    // The brisk choice quickens score attack alone, three levels' worth a level.
    struct Row {
        uint8_t level;
        int32_t interval[4];
        bool brisk = false;
        GameModeValue mode = ScoreAttack;
    } rows[] = {{1, {50, 48, 46, 44}}, {2, {48, 46, 44, 42}}, {24, {4, 2, 1, 0}}, {25, {3, 2, 1, 0}}, {200, {3, 2, 1, 0}},
                {1, {50, 48, 46, 44}, true}, {2, {44, 42, 40, 38}, true}, {5, {26, 24, 22, 20}, true},
                {9, {3, 2, 1, 0}, true}, {255, {3, 2, 1, 0}, true}, {5, {42, 40, 38, 36}, true, NormalGame}};
    for (const Row& row : rows)
        for (uint8_t steps = 0; steps < 4; ++steps) {
            Level = row.level;
            LevelSteps = steps;
            BriskFall = row.brisk;
            GameMode = row.mode;
            EXPECT_EQ(FallIntervalForLevel(), row.interval[steps]) << int(row.level) << "/" << int(steps) << (row.brisk ? " brisk" : "");
        }
    BriskFall = false;
    GameMode = ScoreAttack;
    // The last step of level 24 takes the game to level 25 and the floor.
    Level = 24;
    LevelSteps = 3;
    SingleLoopTurn(2, 2);
    EXPECT_EQ(Level, 25);
    EXPECT_EQ(FallInterval, 3);
}

TEST_F(ScoringTest, HugeAwardStopsAtTheLargest32BitScore) {
    Level = 255;
    ChainErased = 1000000;
    ChainLength = 200;
    ScoreTurn();
    EXPECT_EQ(Score, INT32_MAX);
    Score = INT32_MAX - 10;
    ChainErased = 4;
    ChainLength = 1;
    Level = 1;
    ScoreTurn();
    EXPECT_EQ(Score, INT32_MAX);
}

class GoalTest : public RopeBoardTest {
protected:
    void SetUp() override {
        RopeBoardTest::SetUp();
        GameMode = NormalGame;
    }
    void Goal(uint8_t type, uint32_t target) {
        MissionGoal.type = type;
        MissionGoal.target = target;
    }
    // One search of a chain that erases the given ring.
    void SearchRing(int w, int h, int c = 0) {
        PutRing(c, 12 - h, w, h);
        Search();
        EraseMarked();
    }
    void EndTurn() {
        Search();
        ScoreTurn();
    }
};

TEST_F(GoalTest, ChainGoalNeedsExactlyThatChainLength) {
    Goal(0, 2);
    for (int i = 0; i < 3; ++i) SearchRing(2, 2);
    EndTurn();
    EXPECT_EQ(GoalProgress, 3);
    EXPECT_FALSE(TestMissionGoal());
    SearchRing(2, 2);
    EndTurn();
    EXPECT_EQ(GoalProgress, 1);
    EXPECT_FALSE(TestMissionGoal());
    SearchRing(2, 2);
    SearchRing(3, 2);
    EndTurn();
    EXPECT_TRUE(TestMissionGoal());
    EXPECT_EQ(Score, 0);  // missions other than score goals score nothing
    EXPECT_EQ(Level, 1);
}

TEST_F(GoalTest, EraseCountThatPassesTheTargetCanNoLongerClear) {
    Goal(1, 10);
    SearchRing(3, 3);
    EndTurn();
    EXPECT_EQ(GoalProgress, 8);
    EXPECT_FALSE(TestMissionGoal());
    SearchRing(2, 2);
    EndTurn();
    EXPECT_EQ(GoalProgress, 12);
    EXPECT_FALSE(TestMissionGoal());
    EXPECT_EQ(GoalProgress, 12);  // not an at-once goal: the count stays
}

TEST_F(GoalTest, AtOnceEraseGoalIsHeldUntilALaterSearchOfTheChainSpoilsIt) {
    Goal(2, 6);
    SearchRing(2, 3);
    EXPECT_EQ(GoalProgress, -6);
    SearchRing(2, 2);  // the same chain goes on: -6 + 4 is no longer the target
    EXPECT_EQ(GoalProgress, 0);
    EXPECT_FALSE(TestMissionGoal());

    SearchRing(2, 2);  // 4 at once: not held
    EXPECT_EQ(GoalProgress, 0);
    SearchRing(3, 2);  // the chain's last erasing search makes 6
    EndTurn();         // the empty search keeps the held value
    EXPECT_EQ(GoalProgress, -6);
    EXPECT_TRUE(TestMissionGoal());

    GoalProgress = 3;  // a partial count does not survive the goal test
    EXPECT_FALSE(TestMissionGoal());
    EXPECT_EQ(GoalProgress, 0);
}

TEST_F(GoalTest, FrameBlockGoalsCountOnlyFramedCells) {
    Goal(3, 2);
    PutRing(0, 9, 3, 3);
    SetFrame(0, 9, 1);
    SetKind(7, 5, Vertical);
    SetFrame(7, 5, 1);  // framed but not erased
    Search();
    EraseMarked();
    EXPECT_EQ(GoalProgress, 1);
    EXPECT_FALSE(TestMissionGoal());
    PutRing(4, 10, 2, 2);
    SetFrame(4, 10, 1);
    Search();
    EXPECT_EQ(GoalProgress, 2);
    EXPECT_TRUE(TestMissionGoal());

    EraseMarked();
    GoalProgress = 0;
    Goal(4, 3);
    PutRing(0, 8, 2, 4);
    SetFrame(0, 8, 1);
    SetFrame(1, 11, 1);
    SetFrame(1, 9, 1);
    Search();
    EXPECT_EQ(GoalProgress, -3);
    EXPECT_TRUE(TestMissionGoal());
}

TEST_F(GoalTest, LoopAreasCountTheRingAndWhatItEncloses) {
    Goal(5, 9);
    PutRing(2, 5, 3, 3);
    SetKind(3, 6, Cross);  // not part of the ring, but enclosed by it
    PutRing(6, 10, 2, 2);
    Search();
    EXPECT_EQ(LoopArea[GetGroup(2, 5)], 9);
    EXPECT_EQ(LoopArea[GetGroup(6, 10)], 4);
    EXPECT_EQ(GoalProgress, -9);
    // A held area goal skips the count for the rest of the chain.
    EraseMarked();
    PutRing(0, 0, 2, 2);
    Search();
    EXPECT_EQ(GoalProgress, -9);
    EXPECT_TRUE(TestMissionGoal());

    EraseMarked();
    GoalProgress = 0;
    Goal(5, 4);
    PutRing(5, 3, 2, 2);
    Search();
    EXPECT_EQ(GoalProgress, -4);
}

TEST_F(GoalTest, ScoreGoalProgressNeverPassesTheTarget) {
    Goal(6, 100);
    SearchRing(2, 2);
    EndTurn();
    EXPECT_EQ(Score, 40);
    EXPECT_EQ(GoalProgress, 40);
    EXPECT_EQ(FallInterval, 48);  // score goals speed up like score attack
    SearchRing(2, 3);
    EndTurn();
    EXPECT_EQ(Score, 100);
    EXPECT_EQ(GoalProgress, 100);
    SearchRing(2, 2);
    EndTurn();
    EXPECT_EQ(Score, 140);
    EXPECT_EQ(GoalProgress, 100);
    EXPECT_TRUE(TestMissionGoal());
}

TEST_F(GoalTest, TypeAboveSevenCountsNothing) {
    Goal(8, 5);
    FallInterval = 50;
    SearchRing(2, 2);
    SearchRing(2, 3);
    EndTurn();
    EXPECT_EQ(Score, 0);
    EXPECT_EQ(Level, 1);
    EXPECT_EQ(FallInterval, 50);
    EXPECT_EQ(GoalProgress, 0);
    EXPECT_FALSE(TestMissionGoal());
}

TEST_F(GoalTest, ScoreAttackKeepsGoalProgressAtZero) {
    GameMode = ScoreAttack;
    Goal(1, 4);  // left over from an earlier mission
    SearchRing(2, 2);
    EndTurn();
    EXPECT_EQ(GoalProgress, 0);
    EXPECT_EQ(Score, 40);
}

}  // namespace
