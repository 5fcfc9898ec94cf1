// The coming queue: the kind distribution and bringing in the next pair.
#include <cstdlib>
#include <map>

#include "rules/game_random.h"
#include "rules/screen_state.h"
#include "tests/rules/play_fixture.h"

namespace {

class QueueTest : public PlayTest {};

TEST_F(QueueTest, HundredRollsGiveTheKindsInTheirShares) {
    std::map<int, int> count;
    for (int r = 0; r < 100; ++r) ++count[KindForRoll(r)];
    const std::map<int, int> expected = {
        {Horizontal, 14}, {Vertical, 14}, {CornerDownLeft, 7}, {CornerUpLeft, 7}, {CornerUpRight, 7},
        {CornerDownRight, 7}, {TeeNoUp, 5}, {TeeNoRight, 5}, {TeeNoDown, 5}, {TeeNoLeft, 5}, {Cross, 12}, {Joiner, 12},
    };
    EXPECT_EQ(count, expected);
    EXPECT_EQ(KindForRoll(0), Horizontal);
    EXPECT_EQ(KindForRoll(27), Vertical);
    EXPECT_EQ(KindForRoll(28), CornerDownLeft);
    EXPECT_EQ(KindForRoll(56), TeeNoUp);
}

TEST_F(QueueTest, PairEntersOnTheEleventhFrameAndTheQueueMovesUp) {
    QueueLast = 4;
    for (int i = 0; i < QueuePairs; ++i) {
        ComingQueue.kind[i][0] = uint8_t(1 + i);
        ComingQueue.kind[i][1] = uint8_t(2 + i);
    }
    ComingQueue.frame[0][1] = 1;
    ComingQueue.frame[4][0] = 1;
    FallingPair.orientation = 2;
    ScreenState = NextPair;
    for (int i = 0; i < 10; ++i) AdvanceQueue();
    EXPECT_EQ(ScreenState, NextPair);
    EXPECT_EQ(SpawnTimer, 10);

    SeedGameRandom(77);
    uint8_t first = RandomKind(), second = RandomKind();
    SeedGameRandom(77);
    AdvanceQueue();
    EXPECT_EQ(ScreenState, PairFalling);
    EXPECT_EQ(SpawnTimer, 0);
    EXPECT_EQ(FallingPair.col1, 4);
    EXPECT_EQ(FallingPair.row1, -1);
    EXPECT_EQ(FallingPair.col2, 4);
    EXPECT_EQ(FallingPair.row2, 0);
    EXPECT_EQ(FallingPair.orientation, 1);
    EXPECT_EQ(FallingPair.kind1, 1);
    EXPECT_EQ(FallingPair.kind2, 2);
    EXPECT_EQ(FallingPair.frame2, 1);
    for (int i = 0; i < 4; ++i) EXPECT_EQ(ComingQueue.kind[i][0], 2 + i);
    // The last pair is drawn afresh, first half first; its frame flags stay.
    EXPECT_EQ(ComingQueue.kind[4][0], first);
    EXPECT_EQ(ComingQueue.kind[4][1], second);
    EXPECT_EQ(ComingQueue.frame[3][0], 1);
    EXPECT_EQ(ComingQueue.frame[4][0], 1);
    EXPECT_EQ(ComingQueue.kind[5][0], 6);  // beyond QueueLast: untouched
    EXPECT_EQ(PiecesUsed, 0);
}

TEST_F(QueueTest, FixedQueueHandsOutEmptyPairsAfterItsEighth) {
    GameMode = NormalGame;
    MissionGoal.type = GoalAllFrames;
    QueueLast = 7;
    for (int i = 0; i < QueuePairs; ++i) {
        ComingQueue.kind[i][0] = ComingQueue.kind[i][1] = Cross;
        ComingQueue.frame[i][0] = 1;
    }
    for (int pair = 1; pair <= 10; ++pair) {
        for (int f = 0; f < SpawnFrames; ++f) AdvanceQueue();
        EXPECT_EQ(PiecesUsed, pair);
        EXPECT_EQ(FallingPair.kind1, pair <= 8 ? Cross : Empty);
        EXPECT_EQ(FallingPair.frame1, pair <= 8 ? 1 : 0);
    }
}

TEST_F(QueueTest, ElevenFramesOfNextPairFollowEveryLanding) {
    FillRandomQueue();
    PlacePair(4, 10, 1);
    PairFrame({.down = true});
    ASSERT_EQ(ScreenState, NextPair);
    EXPECT_EQ(PlayUntil(PairFalling), SpawnFrames);
}

}  // namespace
