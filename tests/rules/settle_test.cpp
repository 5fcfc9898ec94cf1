// Settling: loose blocks falling, joiners, the erase and whole chains.
#include "rules/screen_state.h"
#include "tests/rules/play_fixture.h"

namespace {

class SettleTest : public PlayTest {};

// Frames of BlocksFalling until each watched cell first holds a block.
std::vector<int> LandingFrames(const std::vector<std::pair<int, int>>& cells) {
    std::vector<int> frames(cells.size(), -1);
    for (int f = 1; f <= 100 && ScreenState == BlocksFalling; ++f) {
        StepFallingBlocks();
        for (size_t i = 0; i < cells.size(); ++i)
            if (frames[i] < 0 && GetKind(cells[i].first, cells[i].second) != Empty) frames[i] = f;
    }
    return frames;
}

TEST_F(SettleTest, StackOverAGapFallsApartFromTheBottomOneBlockPerFrame) {
    SetKind(2, 7, Horizontal);
    SetKind(2, 8, CornerUpLeft);
    SetKind(2, 9, Vertical);
    Settle();
    EXPECT_EQ(ScreenState, BlocksFalling);
    EXPECT_EQ(FallingBlockCount, 1);
    EXPECT_EQ(GetKind(2, 9), Empty);
    EXPECT_EQ(GetKind(2, 8), CornerUpLeft);
    StepFallingBlocks();
    EXPECT_EQ(FallingBlockCount, 2);
    EXPECT_EQ(GetKind(2, 8), Empty);
    EXPECT_EQ(GetKind(2, 7), Horizontal);
    StepFallingBlocks();
    EXPECT_EQ(FallingBlockCount, 3);
    EXPECT_EQ(GetKind(2, 7), Empty);

    // From rest at 2 px/frame/frame: the lowest lands in the 9th frame, the
    // others right after it, in order.
    std::vector<int> frames = LandingFrames({{2, 11}, {2, 10}, {2, 9}});
    EXPECT_EQ(frames, (std::vector<int>{9 - 2, 10 - 2, 11 - 2}));
    EXPECT_EQ(Row(9), "00100000");
    EXPECT_EQ(Row(10), "00400000");
    EXPECT_EQ(Row(11), "00200000");
    EXPECT_EQ(ScreenState, NextPair);  // the frame after the last landing searched and ended the turn
}

TEST_F(SettleTest, FallingBlockKeepsItsFrameFlagAndSpeedStopsAtTwenty) {
    SetKind(5, -1, Cross);
    SetFrame(5, -1, 1);
    Settle();
    ASSERT_EQ(FallingBlocks[0].kind, Cross);
    EXPECT_EQ(FallingBlocks[0].frame, 1);
    EXPECT_EQ(GetFrame(5, -1), 0);
    float lastY = FallingBlocks[0].y;
    float fastest = 0;
    while (FallingBlocks[0].kind != Empty) {
        StepFallingBlocks();
        if (FallingBlocks[0].kind != Empty) {
            fastest = std::max(fastest, FallingBlocks[0].y - lastY);
            lastY = FallingBlocks[0].y;
        }
    }
    EXPECT_EQ(fastest, 20.0f);
    EXPECT_EQ(GetKind(5, 11), Cross);
    EXPECT_EQ(GetFrame(5, 11), 1);
}

TEST_F(SettleTest, JoinerGivesItsNeighboursAnEndAndTheBlockAboveFallsIntoItsCell) {
    PutRows(9, {"00010000",
                "001c1000",
                "00212000"});
    Settle();
    EXPECT_EQ(GetKind(2, 10), Horizontal);  // beside: already had that end
    EXPECT_EQ(GetKind(4, 10), Horizontal);
    EXPECT_EQ(GetKind(3, 11), TeeNoDown);   // below: gains an up end
    EXPECT_EQ(GetKind(3, 10), Empty);       // the joiner is gone
    EXPECT_EQ(GetKind(3, 9), Empty);        // the block above was released
    EXPECT_EQ(FallingBlocks[0].kind, TeeNoUp);  // with a down end
    EXPECT_EQ(ScreenState, BlocksFalling);
    EXPECT_GT(PlayUntil(NextPair), 0);
    EXPECT_EQ(Row(10), "00171000");
}

TEST_F(SettleTest, JoinersLeaveWallsOtherJoinersAndEmptyCellsAlone) {
    PutRows(10, {"0cd00000",
                 "0cc00000"});
    SetKind(1, 9, Empty);
    Settle();
    EXPECT_EQ(Row(10), "00d00000");
    EXPECT_EQ(Row(11), "00000000");
    EXPECT_EQ(ScreenState, NextPair);
}

TEST_F(SettleTest, LoaderAnalysisKeepsTheBlockOverAResolvedJoinerInItsCell) {
    PutRows(10, {"00010000",
                 "000c0000"});
    SettleBoard(SearchMode::AnalyseOnly);
    EXPECT_EQ(GetKind(3, 10), TeeNoUp);
    EXPECT_EQ(GetKind(3, 11), Empty);
    for (const FallingBlock& b : FallingBlocks) EXPECT_EQ(b.kind, Empty);
    EXPECT_NE(GetGroup(3, 10), 0);

    // The first settle of play lets it fall.
    Settle();
    EXPECT_EQ(ScreenState, BlocksFalling);
    EXPECT_GT(PlayUntil(NextPair), 0);
    EXPECT_EQ(GetKind(3, 11), TeeNoUp);
    EXPECT_EQ(GetKind(3, 10), Empty);
}

TEST_F(SettleTest, ReleaseNeverGoesPastTheLastRecord) {
    // An episode that has used every record: one that has landed is reused.
    for (FallingBlock& b : FallingBlocks) b = FallingBlock{0, 352.0f, 20.0f, Vertical, 0, {}};
    FallingBlocks[17].kind = Empty;
    FallingBlockCount = FallingBlockRecords;
    ScreenState = BlocksFalling;
    SetKind(5, 5, Cross);
    Settle();
    EXPECT_EQ(FallingBlocks[17].kind, Cross);
    EXPECT_EQ(FallingBlocks[17].col, 5);
    EXPECT_EQ(GetKind(5, 5), Empty);

    // With every record in flight the block waits in its cell.
    SetKind(6, 5, CornerUpLeft);
    Settle();
    EXPECT_EQ(GetKind(6, 5), CornerUpLeft);
    EXPECT_EQ(ScreenState, BlocksFalling);
    for (int i = 0; i < FallingBlockRecords; ++i) EXPECT_EQ(FallingBlocks[i].kind, i == 17 ? Cross : Vertical);

    // As soon as one has landed, the waiting block is released into it.
    for (int i = 0; i < FallingBlockRecords; ++i)
        if (i != 17) FallingBlocks[i].kind = Empty;
    StepFallingBlocks();
    EXPECT_EQ(GetKind(6, 5), Empty);
    EXPECT_GT(PlayUntil(NextPair), 0);
    EXPECT_EQ(GetKind(5, 11), Cross);
    EXPECT_EQ(GetKind(6, 11), CornerUpLeft);
}

TEST_F(SettleTest, MarkedLoopBlinksNineteenFramesAndIsGoneInTheTwentieth) {
    PutRows(10, {"63000000",
                 "54000000"});
    SetFrame(0, 10, 1);
    Settle();
    ASSERT_EQ(ScreenState, Erasing);
    for (int i = 0; i < 19; ++i) StepErase();
    EXPECT_EQ(Row(10), "63000000");
    StepErase();
    EXPECT_EQ(Row(10), "00000000");
    EXPECT_EQ(Row(11), "00000000");
    EXPECT_EQ(GetFrame(0, 10), 0);
    EXPECT_EQ(GetMarked(0, 10), 0);
    EXPECT_EQ(ScreenState, NextPair);
    EXPECT_EQ(Score, 40);  // one loop of four at level 1
    EXPECT_EQ(EraseTimer, 0);
}

TEST_F(SettleTest, LandingThatSetsOffAChainOfTwoIsScoredOnce) {
    // The pair completes the lower square; its erase lets column 1's two
    // corners fall beside column 2's and close a second square.
    PutRows(8, {"06000000",
                "05000000",
                "03300000",
                "04400000"});
    PlacePair(0, -1, 1, CornerDownRight, CornerUpRight);
    int frames = 0;
    while (ScreenState == PairFalling && frames++ < 50) PairFrame({.down = true});
    ASSERT_EQ(ScreenState, Erasing);
    EXPECT_EQ(Score, 12);  // soft drop: eleven rows and the landing one
    EXPECT_EQ(ChainLength, 1);
    EXPECT_EQ(ChainErased, 4);

    ASSERT_EQ(PlayUntil(BlocksFalling), 20);
    ASSERT_GT(PlayUntil(Erasing), 0);
    EXPECT_EQ(Row(10), "06300000");
    EXPECT_EQ(Row(11), "05400000");
    EXPECT_EQ(ChainLength, 2);
    EXPECT_EQ(ChainErased, 8);
    EXPECT_EQ(Score, 12);  // nothing scored mid-chain

    EXPECT_EQ(PlayUntil(NextPair), 20);
    EXPECT_EQ(Score, 12 + 1 * 8 * 2 * 10);
    EXPECT_EQ(LevelSteps, 2);
    EXPECT_EQ(FallInterval, 46);
    EXPECT_EQ(ChainLength, 0);
    EXPECT_EQ(ChainErased, 0);
    for (int r = -1; r <= 11; ++r) EXPECT_EQ(Row(r), "00000000");
}

}  // namespace
