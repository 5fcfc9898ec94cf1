#include "rules/board.h"

#include <gtest/gtest.h>

#include "tests/test_support.h"

namespace {
class BoardTest : public ::testing::Test {
protected:
    void SetUp() override {
        FreshProgram();
        FillRopeSides();
        SetBoardWalls();
    }
};
}  // namespace

TEST_F(BoardTest, StorageOrderIsColumnAfterColumn) {
    SetKind(-1, -2, 7);
    SetKind(0, -2, 8);
    SetKind(0, 12, 9);
    SetKind(8, 12, 10);
    EXPECT_EQ(Board.kind[0], 7);
    EXPECT_EQ(Board.kind[15], 8);
    EXPECT_EQ(Board.kind[29], 9);
    EXPECT_EQ(Board.kind[149], 10);
    SetFrame(0, -1, 1);
    SetFrame(1, -1, 2);
    SetFrame(7, 11, 3);
    EXPECT_EQ(Board.frame[0], 1);
    EXPECT_EQ(Board.frame[13], 2);
    EXPECT_EQ(Board.frame[103], 3);
    EXPECT_EQ(sizeof Board.kind, 150u);
    EXPECT_EQ(sizeof Board.frame, 104u);
}

TEST_F(BoardTest, WallsAndFloor) {
    EXPECT_TRUE(WallsIntact());
    for (int c = 0; c <= 7; ++c)
        for (int r = -2; r <= 11; ++r) EXPECT_EQ(GetKind(c, r), Empty) << c << "," << r;
}

TEST_F(BoardTest, ReadsOutsideALayerAnswerWallAndWritesAreDropped) {
    EXPECT_EQ(GetKind(0, 13), Wall);
    EXPECT_EQ(GetKind(7, 13), Wall);
    EXPECT_EQ(GetKind(-2, 0), Wall);
    EXPECT_EQ(GetKind(3, -3), Wall);
    SetKind(7, 13, Cross);  // would be past the end of the layer
    SetKind(0, -3, Cross);  // would be the left wall's floor cell
    EXPECT_TRUE(WallsIntact());
    EXPECT_EQ(GetFrame(0, -2), 0);
    SetFrame(1, -2, 1);  // would be column 0's row 11
    EXPECT_EQ(GetFrame(0, 11), 0);
    SetMarked(8, 0, 1);
    for (uint8_t v : Board.marked) EXPECT_EQ(v, 0);
}

TEST_F(BoardTest, AddRopeSideExamples) {
    EXPECT_EQ(AddRopeSide(Horizontal, SideUp), TeeNoDown);
    EXPECT_EQ(AddRopeSide(Vertical, SideRight), TeeNoLeft);
    EXPECT_EQ(AddRopeSide(CornerUpLeft, SideRight), TeeNoDown);
    EXPECT_EQ(AddRopeSide(TeeNoUp, SideUp), Cross);
    EXPECT_EQ(AddRopeSide(Horizontal, SideLeft), Horizontal);
    for (int side = 0; side < 4; ++side) {
        EXPECT_EQ(AddRopeSide(Cross, side), Cross);
        EXPECT_EQ(AddRopeSide(Empty, side), Empty);
        EXPECT_EQ(AddRopeSide(Joiner, side), Joiner);
        EXPECT_EQ(AddRopeSide(Wall, side), Wall);
    }
}

TEST_F(BoardTest, EveryRopeKindHasTwoToFourSidesAndIsFoundBySides) {
    for (int k = Horizontal; k <= Cross; ++k) {
        int sides = RopeSides[k][0] + RopeSides[k][1] + RopeSides[k][2] + RopeSides[k][3];
        EXPECT_GE(sides, 2) << k;
        EXPECT_EQ(KindWithSides(RopeSides[k]), k);
    }
    const uint8_t one[4] = {1, 0, 0, 0};
    EXPECT_EQ(KindWithSides(one), -1);
}

TEST_F(BoardTest, JoinedNeighbours) {
    SetKind(2, 5, Horizontal);
    SetKind(3, 5, CornerDownLeft);
    SetKind(3, 6, Vertical);
    SetKind(1, 5, Vertical);  // no right side: not joined
    EXPECT_TRUE(JoinedTo(2, 5, SideRight));
    EXPECT_TRUE(JoinedTo(3, 5, SideLeft));
    EXPECT_TRUE(JoinedTo(3, 5, SideDown));
    EXPECT_TRUE(JoinedTo(3, 6, SideUp));
    EXPECT_FALSE(JoinedTo(2, 5, SideLeft));
    SetKind(0, 11, Vertical);
    EXPECT_FALSE(JoinedTo(0, 11, SideDown));  // the floor joins nothing
    SetKind(0, 0, Horizontal);
    EXPECT_FALSE(JoinedTo(0, 0, SideLeft));   // nor does the wall
}

TEST_F(BoardTest, ClearBoardKeepsWallsAndFloor) {
    for (int c = 0; c <= 7; ++c)
        for (int r = -2; r <= 11; ++r) {
            SetKind(c, r, Cross);
            SetGroup(c, r, 9);
            SetFrame(c, r, 1);
        }
    ClearBoard();
    EXPECT_TRUE(WallsIntact());
    for (int c = 0; c <= 7; ++c)
        for (int r = -2; r <= 11; ++r) {
            EXPECT_EQ(GetKind(c, r), Empty);
            EXPECT_EQ(GetGroup(c, r), 0);
            EXPECT_EQ(GetFrame(c, r), 0);
        }
}

TEST_F(BoardTest, GroupIdsCycleOneTo120) {
    NextGroupId = 119;
    EXPECT_EQ(TakeGroupId(), 119);
    EXPECT_EQ(TakeGroupId(), 120);
    EXPECT_EQ(TakeGroupId(), 1);
    EXPECT_EQ(NextGroupId, 2);
}
