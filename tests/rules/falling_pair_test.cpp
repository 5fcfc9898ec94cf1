// The falling pair: moving, turning, dropping, landing and the tests at the
// start of every frame.
#include <unistd.h>

#include <filesystem>

#include "settings/data_folder.h"
#include "rules/screen_state.h"
#include "screens/notice.h"
#include "screens/records_file.h"
#include "tests/rules/play_fixture.h"

namespace {

class FallingPairTest : public PlayTest {
protected:
    void SetUp() override {
        PlayTest::SetUp();
        FallInterval = 1000;  // no gravity drop during the short turn tests
    }
    // Frames after a press until the turn has completed.
    static void FinishTurn() {
        while (TurnTimer != 0) PairFrame();
    }
    static bool IsPairCell(int c, int r) {
        return (c == FallingPair.col1 && r == FallingPair.row1) || (c == FallingPair.col2 && r == FallingPair.row2);
    }
};

struct TurnRow {
    int o, d, o1, shift, o2;
};
// Current orientation, direction, quarter-turn result, first fallback, half turn.
const TurnRow TurnTable[] = {
    {0, +1, 1, +1, 2}, {0, -1, 3, +1, 2}, {1, +1, 2, +1, 3}, {1, -1, 0, -1, 3},
    {2, +1, 3, -1, 0}, {2, -1, 1, -1, 0}, {3, +1, 0, -1, 1}, {3, -1, 2, +1, 1},
};

void Press(int d) {
    PairInput in;
    (d > 0 ? in.turnRight : in.turnLeft) = true;
    PairFrame(in);
}

TEST_F(FallingPairTest, TurnTableRowByRow) {
    const int c = 3, r = 5;
    for (const TurnRow& row : TurnTable) {
        SCOPED_TRACE("orientation " + std::to_string(row.o) + " direction " + std::to_string(row.d));
        const int tc = c + OrientationDx[row.o1], tr = r + OrientationDy[row.o1];

        // Free target: a quarter turn in place, complete three frames after the press.
        ClearBoard();
        PlacePair(c, r, row.o);
        Press(row.d);
        PairFrame();
        PairFrame();
        EXPECT_EQ(FallingPair.orientation, row.o);
        PairFrame();
        EXPECT_EQ(TurnTimer, 0);
        EXPECT_EQ(FallingPair.orientation, row.o1);
        EXPECT_EQ(FallingPair.col1, c);
        EXPECT_EQ(FallingPair.col2, tc);
        EXPECT_EQ(FallingPair.row2, tr);

        // Target taken: the table's shift.
        ClearBoard();
        PlacePair(c, r, row.o);
        SetKind(tc, tr, Cross);
        Press(row.d);
        FinishTurn();
        EXPECT_EQ(FallingPair.orientation, row.o1);
        EXPECT_EQ(FallingPair.col1, c + row.shift);
        EXPECT_EQ(FallingPair.col2, c + row.shift + OrientationDx[row.o1]);
        EXPECT_EQ(FallingPair.row2, r + OrientationDy[row.o1]);

        // Shift blocked as well: a half turn, complete six frames after the press.
        ClearBoard();
        PlacePair(c, r, row.o);
        SetKind(tc, tr, Cross);
        if (!IsPairCell(tc + row.shift, tr)) SetKind(tc + row.shift, tr, Cross);
        else SetKind(c + row.shift, r, Cross);
        Press(row.d);
        for (int i = 0; i < 5; ++i) PairFrame();
        EXPECT_EQ(FallingPair.orientation, row.o);
        PairFrame();
        EXPECT_EQ(FallingPair.orientation, row.o2);
        EXPECT_EQ(FallingPair.col1, c);
        EXPECT_EQ(FallingPair.col2, c + OrientationDx[row.o2]);
        EXPECT_EQ(FallingPair.row2, r + OrientationDy[row.o2]);

        // Half-turn cell taken too: refused, but the turn sound still plays.
        PlacePair(c, r, row.o);
        SetKind(c + OrientationDx[row.o2], r + OrientationDy[row.o2], Cross);
        Headless.sounds.clear();
        Press(row.d);
        EXPECT_EQ(TurnTimer, 0);
        EXPECT_EQ(Headless.sounds, std::vector<std::string>{"SoundTurn"});
        for (int i = 0; i < 6; ++i) PairFrame();
        EXPECT_EQ(FallingPair.orientation, row.o);
        EXPECT_EQ(FallingPair.col1, c);
        EXPECT_EQ(FallingPair.kind1, Horizontal);  // still falling, nothing landed
    }
}

TEST_F(FallingPairTest, FlatPairTurnedOverABlockShiftsRightOrTurnsHalfOrOnlySounds) {
    PlacePair(3, 9, 0);
    SetKind(3, 10, Cross);  // under the first half
    Press(+1);
    FinishTurn();
    EXPECT_EQ(FallingPair.col1, 4);
    EXPECT_EQ(FallingPair.orientation, 1);

    PlacePair(3, 9, 0);
    SetKind(4, 10, Cross);  // under the second half too
    Press(+1);
    FinishTurn();
    EXPECT_EQ(FallingPair.col1, 3);
    EXPECT_EQ(FallingPair.orientation, 2);

    PlacePair(3, 9, 0);
    SetKind(2, 9, Cross);  // and left of the first half
    Headless.sounds.clear();
    Press(+1);
    FinishTurn();
    EXPECT_EQ(FallingPair.col1, 3);
    EXPECT_EQ(FallingPair.orientation, 0);
    EXPECT_EQ(Headless.sounds, std::vector<std::string>{"SoundTurn"});
}

TEST_F(FallingPairTest, UprightPairTurnedIntoTheWallShiftsAwayFromIt) {
    PlacePair(0, 5, 1);
    Press(+1);  // the second half would go left, into the wall
    FinishTurn();
    EXPECT_EQ(FallingPair.col1, 1);
    EXPECT_EQ(FallingPair.col2, 0);
    EXPECT_EQ(FallingPair.row2, 5);

    PlacePair(7, 5, 1);
    Press(-1);  // right, into the other wall
    FinishTurn();
    EXPECT_EQ(FallingPair.col1, 6);
    EXPECT_EQ(FallingPair.col2, 7);
}

TEST_F(FallingPairTest, TurnCompletingAfterADropIntoABlockPlacesThePairOneRowUp) {
    PlacePair(3, 5, 0, CornerDownLeft, CornerUpRight);
    for (int r = 7; r <= 11; ++r) SetKind(3, r, Cross);
    Press(+1);  // below the first half is free now
    PairFrame({.down = true});
    EXPECT_EQ(FallingPair.row1, 6);
    PairFrame();
    PairFrame();  // completes with the second half in (3, 7): lands
    EXPECT_EQ(GetKind(3, 5), CornerDownLeft);
    EXPECT_EQ(GetKind(3, 6), CornerUpRight);
    EXPECT_EQ(GetKind(3, 7), Cross);
    EXPECT_EQ(GetKind(4, 6), Empty);
    EXPECT_EQ(FallingPair.kind1, 0);
    EXPECT_EQ(ScreenState, NextPair);
}

TEST_F(FallingPairTest, TurnInProgressWhenAPairLandsCompletesOnTheNextPairUnchecked) {
    GameMode = ScoreAttack;
    FillRandomQueue();
    ComingQueue.kind[0][0] = Horizontal;
    ComingQueue.kind[0][1] = Horizontal;
    PlacePair(0, 10, 1);
    PairFrame({.down = true, .turnRight = true});  // shift-right turn begins; the pair lands
    EXPECT_EQ(GetKind(0, 11), Vertical);
    ASSERT_EQ(ScreenState, NextPair);
    EXPECT_EQ(TurnTimer, 1);
    EXPECT_EQ(TurnShift, 1);

    // Column 5 full to row -1: the carried shift moves the new pivot into it.
    for (int r = -1; r <= 11; ++r) SetKind(5, r, TeeNoUp);
    for (int i = 0; i < SpawnFrames; ++i) AdvanceQueue();
    ASSERT_EQ(ScreenState, PairFalling);
    PairFrame();
    PairFrame();
    EXPECT_EQ(FallingPair.orientation, 1);
    PairFrame();  // the turn completes: pivot (5, -1), second half (4, -1); both lifted into row -2 and lost
    EXPECT_EQ(ScreenState, NextPair);
    EXPECT_EQ(GetKind(5, -1), TeeNoUp);
    EXPECT_EQ(GetKind(4, -1), Empty);
    EXPECT_EQ(Row(-2), "00000000");
    EXPECT_EQ(GetKind(4, 0), Empty);
}

TEST_F(FallingPairTest, HalfAboveRowMinusOneIsLostWithItsFrameFlag) {
    auto framed = [] {
        int n = 0;
        for (uint8_t f : Board.frame) n += f;
        return n;
    };
    // Second half up over a full column: it comes to rest in row -2 and is lost.
    for (int r = 0; r <= 11; ++r) SetKind(2, r, Cross);
    PlacePair(2, -1, 3, Horizontal, Vertical);
    FallingPair.frame1 = FallingPair.frame2 = 1;
    PairFrame({.down = true});
    EXPECT_EQ(GetKind(2, -1), Horizontal);
    EXPECT_EQ(GetFrame(2, -1), 1);
    EXPECT_EQ(Row(-2), "00000000");
    EXPECT_EQ(framed(), 1);  // nothing written where row -2's flag would alias (1, 11)
    EXPECT_EQ(ScreenState, NextPair);

    // A pivot in an occupied row -1 cell lifts the pair to rows -2 and -3.
    ClearBoard();
    for (int r = -1; r <= 11; ++r) SetKind(4, r, Cross);
    PlacePair(4, -1, 3, Horizontal, Vertical);
    FallingPair.frame1 = FallingPair.frame2 = 1;
    PairFrame();
    EXPECT_EQ(GetKind(4, -1), Cross);
    EXPECT_EQ(Row(-2), "00000000");
    EXPECT_EQ(GetKind(3, 12), Wall);  // the floor cell stored just before (4, -3)
    EXPECT_EQ(framed(), 0);
    EXPECT_EQ(ScreenState, GameOverScreen);
}

TEST_F(FallingPairTest, HalfShiftedIntoAWallIsLostAndTheWallStays) {
    // A turn that began with a shift while the pair stood one column further
    // from the wall; the pair has since moved against it. The wall is a side
    // wall, or a column of stone inside the well.
    struct Case {
        int shift, col, stoneCol;
    };
    for (Case c : {Case{-1, 0, -1}, Case{+1, 7, -1}, Case{+1, 4, 5}}) {
        ClearBoard();
        if (c.stoneCol >= 0)
            for (int r = 0; r <= 11; ++r) SetKind(c.stoneCol, r, Wall);
        PlacePair(c.col, 2, 3, Vertical, Horizontal);
        TurnTimer = 1;
        TurnSteps = 1;
        TurnDirection = c.shift < 0 ? +1 : -1;
        TurnShift = c.shift;
        ScreenState = PairFalling;
        for (int i = 0; i < 3; ++i) PairFrame();
        ASSERT_EQ(TurnTimer, 0);
        EXPECT_NE(GetKind(FallingPair.col1, FallingPair.row1), Empty) << "the shift carried the pivot into the wall";
        for (int i = 0; i < 40 && ScreenState == PairFalling; ++i) PairFrame({.down = true});
        for (int i = 0; i < 40 && ScreenState == BlocksFalling; ++i) StepFallingBlocks();
        EXPECT_EQ(ScreenState, NextPair);
        EXPECT_TRUE(WallsIntact()) << c.col;
        int placed = 0, stone = 0;
        for (int col = 0; col < 8; ++col)
            for (int r = -1; r <= 11; ++r) {
                placed += GetKind(col, r) != Empty && GetKind(col, r) != Wall;
                stone += GetKind(col, r) == Wall;
            }
        EXPECT_EQ(placed, 1) << "one half landed in the well, the other was lost";
        EXPECT_EQ(stone, c.stoneCol >= 0 ? 12 : 0);
    }
}

TEST_F(FallingPairTest, SoftDropScoresEveryRowIncludingTheLandingOne) {
    PlacePair(4, -1, 1, Horizontal, Vertical);
    int frames = 0;
    while (FallingPair.kind1 != 0 && frames < 100) {
        PairFrame({.down = true});
        ++frames;
    }
    EXPECT_EQ(frames, 12);
    EXPECT_EQ(Score, 12);
    EXPECT_EQ(GetKind(4, 10), Horizontal);
    EXPECT_EQ(GetKind(4, 11), Vertical);
}

TEST_F(FallingPairTest, SoftDropOntoTheFloorAtBothWalls) {
    for (int c : {0, 7}) {
        ClearBoard();
        PlacePair(c, 10, 1, CornerUpLeft, CornerUpRight);
        FallingPair.frame2 = 1;
        PairFrame({.down = true});
        EXPECT_EQ(GetKind(c, 10), CornerUpLeft);
        EXPECT_EQ(GetKind(c, 11), CornerUpRight);
        EXPECT_EQ(GetFrame(c, 11), 1);
        EXPECT_EQ(Row(-2), "00000000");
    }
    // Lying flat against the right wall.
    ClearBoard();
    PlacePair(6, 11, 0);
    PairFrame({.down = true});
    EXPECT_EQ(Row(11), "00000012");
}

TEST_F(FallingPairTest, RestingPairGetsFiftyFramesOfGraceWhateverTheInterval) {
    FallInterval = 5;
    PlacePair(2, 9, 0);
    for (int i = 0; i < 5; ++i) PairFrame();
    EXPECT_EQ(FallingPair.row1, 10);  // free below: one row per interval

    SetKind(2, 11, Cross);  // now the pair rests on blocks
    SetKind(3, 11, Cross);
    FallTimer = 0;
    for (int i = 0; i < 49; ++i) PairFrame();
    EXPECT_EQ(FallingPair.kind1, Horizontal);
    PairFrame();
    EXPECT_EQ(FallingPair.kind1, 0);
    EXPECT_EQ(GetKind(2, 10), Horizontal);
    EXPECT_EQ(GetKind(3, 10), Vertical);
}

TEST_F(FallingPairTest, SplitPairLeavesTheUnsupportedHalfFalling) {
    SetKind(2, 11, Cross);
    PlacePair(2, 10, 0, Vertical, Horizontal);
    PairFrame({.down = true});
    EXPECT_EQ(GetKind(2, 10), Vertical);
    EXPECT_EQ(GetKind(3, 10), Empty);
    EXPECT_EQ(ScreenState, BlocksFalling);
    EXPECT_EQ(FallingBlocks[0].kind, Horizontal);
    EXPECT_EQ(FallingBlocks[0].col, 3);
    EXPECT_EQ(PlayUntil(NextPair), 8);  // lands in its 7th frame, the search follows
    EXPECT_EQ(GetKind(3, 11), Horizontal);
}

TEST_F(FallingPairTest, HeldDirectionRepeatsEveryThirdFrameAndBothMoveThereAndBack) {
    PlacePair(4, 2, 1);
    for (int i = 0; i < 7; ++i) PairFrame({.left = true});
    EXPECT_EQ(FallingPair.col1, 1);
    EXPECT_EQ(Headless.sounds.size(), 3u);

    Headless.sounds.clear();
    ShiftTimer = 0;
    PairFrame({.left = true, .right = true});
    EXPECT_EQ(FallingPair.col1, 1);
    EXPECT_EQ(Headless.sounds, (std::vector<std::string>{"SoundMove", "SoundMove"}));

    SetKind(0, 2, Cross);  // left of the first half
    ShiftTimer = 0;
    PairFrame({.left = true});
    EXPECT_EQ(FallingPair.col1, 1);
    SetKind(0, 2, Empty);
    SetKind(0, 3, Cross);  // left of the second half
    PairFrame({.left = true});
    PairFrame({.left = true});
    PairFrame({.left = true});
    EXPECT_EQ(FallingPair.col1, 1);
}

TEST_F(FallingPairTest, BlockedEntryEndsTheGameAndStopsTheTune) {
    for (int r = 0; r <= 11; ++r) SetKind(4, r, TeeNoUp);
    PlacePair(4, -1, 1);
    Headless.music.clear();
    PairFrame();
    EXPECT_EQ(ScreenState, GameOverScreen);
    EXPECT_EQ(Headless.music, std::vector<std::string>{"stop"});
    EXPECT_EQ(GetKind(4, -1), Vertical);  // lifted out of the entry cell; the first half is lost
    EXPECT_EQ(GetKind(4, 0), TeeNoUp);
}

class PiecesTest : public PlayTest {
protected:
    void SetUp() override {
        PlayTest::SetUp();
        GameMode = EditGame;
        MissionGoal.type = GoalErase;
        MissionGoal.target = 50;
        QueueLast = 7;
        for (int i = 0; i < QueuePairs; ++i) ComingQueue.kind[i][0] = ComingQueue.kind[i][1] = Horizontal;
        ScreenState = NextPair;
    }
    // Plays pairs straight down the first column that has room; returns how
    // many were placed before the game ended.
    static int PlacedPairs() {
        int placed = 0;
        for (int guard = 0; guard < 20 && ScreenState != GameOverScreen; ++guard) {
            while (ScreenState == NextPair) AdvanceQueue();
            if (ScreenState != PairFalling) break;
            int target = placed / 6;
            while (ScreenState == PairFalling && FallingPair.col1 > target) PairFrame({.left = true}), PairFrame();
            if (ScreenState != PairFalling) break;
            while (ScreenState == PairFalling) PairFrame({.down = true});
            if (ScreenState == GameOverScreen) break;
            ++placed;
        }
        return placed;
    }
};

TEST_F(PiecesTest, LimitLetsThePlayerPlaceThatManyPairs) {
    for (int limit : {1, 3, 8}) {
        SetUp();
        MissionGoal.pieceLimit = uint8_t(limit);
        EXPECT_EQ(PlacedPairs(), limit);
        EXPECT_EQ(PiecesUsed, limit + 1);
        EXPECT_EQ(ScreenState, GameOverScreen);
    }
}

TEST_F(PiecesTest, NinthPairOfAnEightPairQueueIsEmptyAndEndsTheGameInItsFirstFrame) {
    MissionGoal.pieceLimit = 8;
    for (int i = 0; i < 8; ++i) {
        for (int f = 0; f < SpawnFrames; ++f) AdvanceQueue();
        EXPECT_EQ(FallingPair.kind1, Horizontal);
        ScreenState = NextPair;
    }
    for (int f = 0; f < SpawnFrames; ++f) AdvanceQueue();
    EXPECT_EQ(FallingPair.kind1, 0);
    EXPECT_EQ(FallingPair.kind2, 0);
    EXPECT_EQ(PiecesUsed, 9);
    PairFrame();
    EXPECT_EQ(ScreenState, GameOverScreen);
}

class MissionClearTest : public PlayTest {
protected:
    std::string folder;
    void SetUp() override {
        PlayTest::SetUp();
        folder = MakeTempFolder("mission-clear");
        StartDirectory = folder;
        MissionGoal.type = GoalErase;
        MissionGoal.target = 4;
        MissionGoal.pieceLimit = 8;
        GoalProgress = 4;
        MissionNumber = 7;
        PlacePair(4, -1, 1);
    }
    std::string RecordsPath() const { return folder + "/rcd.dat"; }
};

// The clear is saved once its frame has been shown (ContinueRecordsSave, as
// the main loop calls it then).
TEST_F(MissionClearTest, NumberedMissionIsRecordedOnceAndTheFileWrittenEachTime) {
    GameMode = NormalGame;
    Headless.music.clear();
    PairFrame();
    EXPECT_FALSE(std::filesystem::exists(RecordsPath())) << "written in the middle of the frame";
    ContinueRecordsSave();
    EXPECT_EQ(ScreenState, MissionClearScreen);
    EXPECT_EQ(Headless.music, std::vector<std::string>{"stop"});
    EXPECT_EQ(ClearedFlags[7], 1);
    EXPECT_EQ(ClearedCount, 1);
    ASSERT_TRUE(std::filesystem::exists(RecordsPath()));
    EXPECT_EQ(std::filesystem::file_size(RecordsPath()), 197u);

    std::filesystem::remove(RecordsPath());
    ScreenState = PairFalling;
    PairFrame();
    ContinueRecordsSave();
    EXPECT_EQ(ClearedCount, 1);
    EXPECT_EQ(std::filesystem::file_size(RecordsPath()), 197u);
}

TEST_F(MissionClearTest, FailedWriteOfTheClearedFlagIsToldAndTheMissionStillClears) {
    GameMode = NormalGame;
    std::filesystem::create_directories(RecordsPath() + "/kept");
    PairFrame();
    ContinueRecordsSave();
    EXPECT_EQ(ScreenState, MissionClearScreen);
    EXPECT_EQ(ClearedFlags[7], 1);
    EXPECT_EQ(Notice, NoticeRecordsNotSaved);
    EXPECT_EQ(NoticeFrames, NoticeShownFrames);
    EXPECT_TRUE(std::filesystem::is_directory(RecordsPath() + "/kept"));
}

TEST_F(MissionClearTest, PickedMissionClearsWithoutTouchingTheRecords) {
    GameMode = EditGame;
    GoalProgress = -4;  // a held at-once goal counts as well
    PairFrame();
    EXPECT_EQ(ScreenState, MissionClearScreen);
    EXPECT_EQ(ClearedCount, 0);
    EXPECT_FALSE(std::filesystem::exists(RecordsPath()));
}

TEST_F(MissionClearTest, GoalMetAsThePiecesRunOutClearsTheMission) {
    GameMode = EditGame;
    PiecesUsed = 9;
    PairFrame();
    EXPECT_EQ(ScreenState, MissionClearScreen);
}

TEST_F(MissionClearTest, ScoreAttackNeverClears) {
    GameMode = ScoreAttack;
    PiecesUsed = 200;
    PairFrame();
    EXPECT_EQ(ScreenState, PairFalling);
}

}  // namespace
