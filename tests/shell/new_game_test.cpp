// The reset that starts every game.
#include <gtest/gtest.h>

#include "rules/game_mode.h"
#include "rules/board.h"
#include "rules/falling_pair.h"
#include "rules/game_random.h"
#include "rules/link.h"
#include "rules/new_game.h"
#include "rules/queue.h"
#include "rules/scoring.h"
#include "tests/test_support.h"

TEST(NewGame, EveryPerGameValueStartsAgainAndTheWellIsEmptyWithinItsWalls) {
    FreshProgram();
    SetBoardWalls();
    for (int seed = 0; seed < 40; ++seed) {
        LinkStock = 99;
        Score = 123456;
        Level = 30;
        LevelSteps = 3;
        FallInterval = 0;
        PiecesUsed = 9;
        GoalProgress = -6;
        MissionGoal = {500, 5, 8};
        for (int c = 0; c <= 7; ++c)
            for (int r = -2; r <= 11; ++r) {
                SetKind(c, r, Cross);
                SetGroup(c, r, 7);
                SetFrame(c, r, 1);
            }
        SeedGameRandom(unsigned(seed));
        NewGame();
        EXPECT_EQ(LinkStock, 0);
        EXPECT_EQ(Score, 0);
        EXPECT_EQ(Level, 1);
        EXPECT_EQ(LevelSteps, 0);
        EXPECT_EQ(FallInterval, 50);
        EXPECT_EQ(PiecesUsed, 0);
        EXPECT_EQ(GoalProgress, 0);
        EXPECT_EQ(MissionGoal.type, 0);
        EXPECT_EQ(MissionGoal.target, 500u);  // the rest of the goal stays
        EXPECT_EQ(MissionGoal.pieceLimit, 8);
        EXPECT_GE(NextGroupId, 1);
        EXPECT_LE(NextGroupId, 5);
        for (int c = 0; c <= 7; ++c)
            for (int r = -2; r <= 11; ++r) {
                EXPECT_EQ(GetKind(c, r), Empty);
                EXPECT_EQ(GetGroup(c, r), 0);
                EXPECT_EQ(GetFrame(c, r), 0);
            }
        EXPECT_TRUE(WallsIntact());
    }
}
