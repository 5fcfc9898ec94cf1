// The link action: choosing two cells, the sprite's flight and the link.
#include <cstdlib>

#include "rules/fish.h"
#include "rules/game_random.h"
#include "rules/screen_state.h"
#include "tests/rules/play_fixture.h"

namespace {

class LinkTest : public PlayTest {
protected:
    void SetUp() override {
        PlayTest::SetUp();
        BoardOriginX = 64;
        BoardOriginY = 80;
        PlacePair(4, 2, 1, Cross, Cross);
        LinkStock = 3;
    }
    // Presses the link button (on a fresh pair, from a fresh board made by
    // `setUp`) with the first seed whose draws find the cells.
    template <typename F>
    static unsigned StartWithSomeSeed(F setUp, PairInput in = {}) {
        in.link = true;
        for (unsigned seed = 1; seed < 1000; ++seed) {
            ClearBoard();
            setUp();
            ScreenState = PairFalling;
            LinkStock = 3;
            SeedGameRandom(seed);
            PairFrame(in);
            if (ScreenState == Linking) return seed;
        }
        return 0;
    }
    // Runs the sprite until play resumes; returns the phase-1 frame in which
    // the cells changed, or -1.
    static int FlyAndLinkFrame(int c1, int r1) {
        uint8_t before = GetKind(c1, r1);
        int linkedAt = -1;
        for (int n = 0; n < 500 && ScreenState == Linking; ++n) {
            int timer = LinkSprite.timer + 1;
            bool linking = LinkSprite.phase == 1;
            StepLinkSprite();
            if (linking && linkedAt < 0 && GetKind(c1, r1) != before) linkedAt = timer;
        }
        return linkedAt;
    }
};

TEST_F(LinkTest, GivesUpOnAWellWithoutUnjoinedNeighboursAndSpendsNothing) {
    ChosenSounds = SoundSet::Full;
    for (unsigned seed : {1u, 2u, 3u}) {
        SeedGameRandom(seed);
        PairFrame({.link = true});
        EXPECT_EQ(ScreenState, PairFalling);
        EXPECT_EQ(LinkStock, 3);
        EXPECT_EQ(HeardInFullSet(), std::vector<std::string>{}) << "no link sound for nothing linked";
        EXPECT_EQ(FallingPair.kind1, Cross);
        EXPECT_EQ(FallingPair.kind2, Cross);
    }
    // Two blocks already joined leave nothing to link either.
    PutRows(10, {"20000000", "20000000"});
    for (unsigned seed : {4u, 5u, 6u, 7u}) {
        SeedGameRandom(seed);
        PairFrame({.link = true});
        EXPECT_EQ(ScreenState, PairFalling);
        EXPECT_EQ(LinkStock, 3);
    }
}

TEST_F(LinkTest, EmptyStockIgnoresTheButton) {
    PutRows(10, {"62000000", "22000000"});
    LinkStock = 0;
    for (unsigned seed = 1; seed < 50; ++seed) {
        SeedGameRandom(seed);
        PairFrame({.link = true});
        EXPECT_EQ(ScreenState, PairFalling);
    }
}

TEST_F(LinkTest, CornerAndVerticalSideBySideGainTheMissingEndOnThePhaseOneFifthFrame) {
    // The only neighbours not yet joined: the corner and the straight piece
    // (row 11 can only be reached from above).
    auto board = [] { PutRows(10, {"00620000", "00220000"}); PlacePair(4, 2, 1, Cross, Cross); };
    ChosenSounds = SoundSet::Full;
    ASSERT_NE(StartWithSomeSeed(board), 0u);
    EXPECT_EQ(HeardInFullSet(), std::vector<std::string>{"SoundLink"});
    EXPECT_EQ(LinkStock, 2);
    EXPECT_EQ(FallingPair.kind1, 0);  // the pair is given up
    EXPECT_EQ(FallingPair.kind2, 0);
    EXPECT_EQ(LinkSprite.col, 2);
    EXPECT_EQ(LinkSprite.row, 10);
    EXPECT_EQ(LinkSprite.orientation, 0);
    EXPECT_EQ(LinkSprite.x, -96.0f);
    EXPECT_EQ(LinkSprite.y, 32.0f * 10 - (64.0f + 96.0f));

    EXPECT_EQ(FlyAndLinkFrame(3, 10), 5);
    EXPECT_EQ(GetKind(2, 10), CornerDownRight);  // already had its right end
    EXPECT_EQ(GetKind(3, 10), TeeNoRight);
    EXPECT_EQ(ScreenState, NextPair);
    EXPECT_GT(LinkSprite.x, 384.0f - 64.0f);
}

TEST_F(LinkTest, LinkThatClosesARingErasesIt) {
    // A square whose top-right piece lacks its down end.
    auto board = [] { PutRows(10, {"61000000", "54000000"}); PlacePair(4, 2, 1, Cross, Cross); };
    ASSERT_NE(StartWithSomeSeed(board), 0u);
    EXPECT_EQ(LinkSprite.col, 1);
    EXPECT_EQ(LinkSprite.row, 10);
    EXPECT_EQ(LinkSprite.orientation, 1);
    EXPECT_EQ(FlyAndLinkFrame(1, 10), 5);
    EXPECT_EQ(ScreenState, Erasing);
    EXPECT_EQ(ChainLength, 1);
    EXPECT_EQ(ChainErased, 4);
    EXPECT_EQ(PlayUntil(NextPair), 20);
    EXPECT_EQ(Score, 40);
    EXPECT_EQ(Row(10), "00000000");
    EXPECT_EQ(Row(11), "00000000");
}

TEST_F(LinkTest, SpriteFlightPhasesAndTheEarlyArrivalAtTheTopLeftCell) {
    LinkSprite = LinkSpriteRecord{};
    LinkSprite.x = -96;
    LinkSprite.y = -96;  // aimed at (0, 0)
    ScreenState = Linking;
    int frames = 0;
    while (LinkSprite.phase == 0 && frames < 100) {
        StepLinkSprite();
        ++frames;
    }
    EXPECT_EQ(frames, 9);
    EXPECT_EQ(LinkSprite.x, -24.0f);
    EXPECT_EQ(LinkSprite.y, -24.0f);

    // Phase 1 slides toward the second cell for nine frames.
    for (int i = 0; i < 8; ++i) StepLinkSprite();
    EXPECT_EQ(LinkSprite.phase, 1);
    StepLinkSprite();
    EXPECT_EQ(LinkSprite.phase, 2);
    EXPECT_EQ(LinkSprite.timer, 0);
    EXPECT_EQ(LinkSprite.x, -24.0f + 9 * 4);
    EXPECT_EQ(LinkSprite.y, -24.0f);
}

TEST_F(LinkTest, ActionStartedWhileThePairLandsLeavesNothingOfThePair) {
    auto board = [] {
        PutRows(10, {"00620000", "00220000"});
        PlacePair(6, 10, 1, Cross, Cross);
        FallingPair.frame1 = FallingPair.frame2 = 1;
    };
    ASSERT_NE(StartWithSomeSeed(board, {.down = true}), 0u);
    ASSERT_EQ(ScreenState, Linking);
    EXPECT_EQ(GetKind(6, 10), Empty);
    EXPECT_EQ(GetKind(6, 11), Empty);
    EXPECT_EQ(GetFrame(6, 11), 0);
}

// The frame that ends the game or clears the mission keeps that outcome even
// when the link button is pressed in it with fish in stock.
TEST_F(LinkTest, PressInTheFrameOfAGameOverOrAClearStartsNothing) {
    auto board = [] {
        PutRows(8, {"60000000", "20000000", "62000000", "22000000"});
        PlacePair(4, 2, 1, Cross, Cross);
    };
    unsigned seed = StartWithSomeSeed(board);
    ASSERT_NE(seed, 0u);
    struct Case {
        const char* name;
        void (*end)();
        uint32_t expected;
    };
    const Case cases[] = {
        {"blocked entry", [] { SetKind(4, 0, Cross); }, GameOverScreen},
        {"goal met", [] {
             GameMode = EditGame;
             MissionGoal.type = 1;
             MissionGoal.target = 4;
             MissionGoal.pieceLimit = 8;
             GoalProgress = 4;
         }, MissionClearScreen},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ClearBoard();
        board();
        c.end();
        ScreenState = PairFalling;
        LinkStock = 3;
        SeedGameRandom(seed);
        PairFrame({.link = true});
        EXPECT_EQ(ScreenState, c.expected);
        EXPECT_EQ(LinkStock, 3);
        EXPECT_EQ(FallingPair.kind1, Cross);
        GameMode = ScoreAttack;
    }
}

}  // namespace
