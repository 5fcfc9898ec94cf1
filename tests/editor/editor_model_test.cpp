// The editor's commands on EditorMission: saving rules, loading, the scroll
// bar and every view's click rules.
#include <vector>

#include <gtest/gtest.h>

#include "editor/editor_model.h"
#include "mission/mission_goal.h"

namespace {

class EditorModel : public testing::Test {
protected:
    void SetUp() override { ResetEditorState(); }

    static void FillPairs(int from, int to, uint8_t kind = 1) {
        for (int p = from; p <= to; ++p)
            for (int h = 0; h < 2; ++h) EditorMission.queueKind[MissionQueueIndex(p, h)] = kind;
    }
    static void SetFrameBlock(int column, int row) {
        EditorMission.kind[MissionKindIndex(column, row)] = 2;
        EditorMission.frame[MissionFrameIndex(column, row)] = 1;
    }
    static void Select(uint8_t kind, uint8_t frame) {
        SelectedKind = kind;
        SelectedFrame = frame;
    }
    // The centre of board cell (column, row) and of queue half (pair, half).
    static int BoardX(int column) { return 32 * column + 16; }
    static int BoardY(int row) { return 32 * row + 16; }
    static int QueueX(int pair) { return 48 * (pair % 4) + 16; }
    static int QueueY(int pair, int half) { return 80 * (pair / 4) + 32 * half + 16; }
};

TEST_F(EditorModel, StartsWithWallsAndEmptyWell) {
    for (int r = -2; r <= 12; ++r) {
        EXPECT_EQ(EditorMission.kind[MissionKindIndex(-1, r)], Wall);
        EXPECT_EQ(EditorMission.kind[MissionKindIndex(8, r)], Wall);
    }
    for (int c = 0; c <= 7; ++c) {
        EXPECT_EQ(BoardKind(c, 12), Wall);
        for (int r = -2; r <= 11; ++r) EXPECT_EQ(BoardKind(c, r), Empty);
    }
    EXPECT_EQ(PairCountPosition, 7);
    MissionBytes bytes = EditorMissionBytes();
    EXPECT_EQ(bytes[292], 0);
    EXPECT_EQ(bytes[293], 0);
}

TEST_F(EditorModel, ValidationChecksOnlyTheUsedPairs) {
    ApplyScrollCode(ScrollThumbPosition, 3);  // pairs 0 to 3 used
    FillPairs(0, 3);
    SetPieceLimitFromScrollBar();
    EXPECT_EQ(EditorMission.pieceLimit, 4);
    EXPECT_EQ(FirstUnfilledPair(), -1);  // pairs 4 to 7 are empty and do not matter

    EditorMission.queueKind[MissionQueueIndex(2, 1)] = 0;
    EXPECT_EQ(FirstUnfilledPair(), 2);
    EditorMission.queueKind[MissionQueueIndex(2, 1)] = 5;
    EditorMission.queueKind[MissionQueueIndex(3, 0)] = 0;
    EXPECT_EQ(FirstUnfilledPair(), 3);  // the last used pair is checked too

    ApplyScrollCode(ScrollRight, 0);
    FillPairs(0, 7);
    EditorMission.queueKind[MissionQueueIndex(7, 1)] = 0;
    EXPECT_EQ(FirstUnfilledPair(), 7);

    // Random pairs use none of the file's kinds: nothing is demanded,
    // whether the goal comes from its radio, the high digits or the file.
    FillPairs(0, 7, 0);
    struct Goal {
        int radio;
        const char* number;
        uint8_t loadedType;
        int unfilled;
    } goals[] = {{GoalScore, "10", 0, -1}, {GoalFish, "3", 0, -1}, {GoalChain, "600010", 0, -1},
                 {-1, "10", 9, -1},        {GoalArea, "10", 0, 0},  {GoalAllFrames, "700003", 0, 0}};
    for (const Goal& g : goals) {
        GoalRadio = g.radio;
        NumberFieldText = g.number;
        EditorMission.type = g.loadedType;
        EXPECT_EQ(FirstUnfilledPair(), g.unfilled) << g.radio << " " << g.number;
    }
}

TEST_F(EditorModel, ScrollCodes) {
    ApplyScrollCode(ScrollPageRight, 0);
    EXPECT_EQ(PairCountPosition, 7);
    ApplyScrollCode(ScrollLineRight, 0);
    EXPECT_EQ(PairCountPosition, 7);
    ApplyScrollCode(ScrollPageLeft, 0);
    EXPECT_EQ(PairCountPosition, 6);
    ApplyScrollCode(ScrollLineLeft, 0);
    EXPECT_EQ(PairCountPosition, 5);
    ApplyScrollCode(ScrollThumbTrack, 1);  // dragging: unchanged until released
    EXPECT_EQ(PairCountPosition, 5);
    ApplyScrollCode(ScrollThumbPosition, 1);
    EXPECT_EQ(PairCountPosition, 1);
    ApplyScrollCode(ScrollLeft, 0);
    EXPECT_EQ(PairCountPosition, 0);
    ApplyScrollCode(ScrollPageLeft, 0);
    EXPECT_EQ(PairCountPosition, 0);
    ApplyScrollCode(ScrollLineLeft, 0);
    EXPECT_EQ(PairCountPosition, 0);
    ApplyScrollCode(8, 5);  // unknown code
    EXPECT_EQ(PairCountPosition, 0);
    ApplyScrollCode(ScrollRight, 0);
    EXPECT_EQ(PairCountPosition, 7);

    ApplyScrollCode(ScrollThumbPosition, 2);
    for (int i = 0; i < 8; ++i) EXPECT_EQ(PairLabelEnabled(i), i <= 2) << i;
}

TEST_F(EditorModel, TypedTargetAndTheHighDigits) {
    for (int radio : {0, 1, 2, 5}) {
        SetGoalForSave(radio, "600010");
        EXPECT_EQ(EditorMission.type, 6) << radio;
        EXPECT_EQ(EditorMission.target, 10u) << radio;
    }
    SetGoalForSave(2, "100000");
    EXPECT_EQ(EditorMission.type, 2);
    EXPECT_EQ(EditorMission.target, 100000u);
    SetGoalForSave(2, "100001");
    EXPECT_EQ(EditorMission.type, 1);
    EXPECT_EQ(EditorMission.target, 1u);
    SetGoalForSave(5, "");
    EXPECT_EQ(EditorMission.type, 5);
    EXPECT_EQ(EditorMission.target, 0u);
    // 12 345 678 gives type 123 and target 45 678.
    SetGoalForSave(0, "12345678");
    EXPECT_EQ(EditorMission.type, 123);
    EXPECT_EQ(EditorMission.target, 45678u);
}

TEST_F(EditorModel, NumberFieldBeyond32BitsReadsAsTheLargestValue) {
    EXPECT_EQ(ReadNumberField("4294967295"), 4294967295u);
    EXPECT_EQ(ReadNumberField("4294967296"), 4294967295u);
    EXPECT_EQ(ReadNumberField("99999999999999999999999999"), 4294967295u);
    EXPECT_EQ(ReadNumberField("0000042"), 42u);
    EXPECT_EQ(ReadNumberField(""), 0u);
}

TEST_F(EditorModel, FrameGoalsCountFrameBlocks) {
    SetFrameBlock(0, 0);
    SetFrameBlock(7, 11);
    SetFrameBlock(3, 5);
    SetFrameBlock(4, 6);
    EditorMission.frame[MissionFrameIndex(2, -1)] = 1;  // hidden row: not counted
    ApplyScrollCode(ScrollThumbPosition, 3);
    FillPairs(0, 7);
    EditorMission.queueFrame[MissionQueueIndex(3, 1)] = 1;  // used pair
    EditorMission.queueFrame[MissionQueueIndex(4, 0)] = 1;  // beyond the limit
    SetPieceLimitFromScrollBar();

    SetGoalForSave(3, "77");
    EXPECT_EQ(EditorMission.type, 3);
    EXPECT_EQ(EditorMission.target, 5u);
    SetGoalForSave(4, "600010");
    EXPECT_EQ(EditorMission.type, 4);
    EXPECT_EQ(EditorMission.target, 5u);
    // A later save with no radio checked keeps type 4 and counts again.
    EditorMission.queueFrame[MissionQueueIndex(0, 0)] = 1;
    SetGoalForSave(-1, "77");
    EXPECT_EQ(EditorMission.target, 6u);
}

// A fish goal loads into its radio and saves back as it was read; a type
// the game does not know loads into none and is kept as well.
TEST_F(EditorModel, LoadingRandomPairFilesAndSavingThemAgain) {
    MissionImage file;
    file.type = 7;
    file.target = 12;
    file.pieceLimit = 3;
    file.padding = {0x5A, 0xA5};
    file.kind[MissionKindIndex(2, 4)] = 9;
    file.queueKind = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 1, 2, 3, 4};
    for (uint8_t type : {uint8_t(7), uint8_t(9)}) {
        file.type = type;
        MissionBytes bytes = EncodeMission(file);
        LoadEditorMission(bytes.data(), bytes.size());

        EXPECT_EQ(GoalRadio, type == 7 ? 7 : -1);
        EXPECT_EQ(PairCountPosition, 2);
        for (int i = 0; i < 8; ++i) EXPECT_EQ(PairLabelEnabled(i), i <= 2) << i;
        EXPECT_EQ(PlayableMissionBytes(), bytes) << int(type);  // padding kept, board and queue as read
    }
}

// The score and fish radios write the bytes the high digits write for the
// same goal.
TEST_F(EditorModel, RandomPairRadiosWriteWhatTheHighDigitsWrite) {
    FillPairs(0, 7);
    for (int type : {GoalScore, GoalFish}) {
        GoalRadio = type;
        NumberFieldText = "10";
        MissionBytes byRadio = PlayableMissionBytes();
        GoalRadio = GoalChain;
        NumberFieldText = std::to_string(type) + "00010";
        EXPECT_EQ(PlayableMissionBytes(), byRadio) << type;
        EXPECT_EQ(byRadio[MissionTypeOffset], type);
        EXPECT_EQ(byRadio[MissionTargetOffset], 10);
    }
}

TEST_F(EditorModel, LoadedRadioAndOddPieceLimits) {
    MissionImage file;
    for (uint8_t type = GoalChain; type <= GoalFish + 1; ++type) {
        file.type = type;
        MissionBytes bytes = EncodeMission(file);
        LoadEditorMission(bytes.data(), bytes.size());
        EXPECT_EQ(GoalRadio, type <= GoalFish ? type : -1);
    }
    // The position stays inside the scroll bar's range 0..7.
    file.pieceLimit = 0;
    MissionBytes bytes = EncodeMission(file);
    LoadEditorMission(bytes.data(), bytes.size());
    EXPECT_EQ(PairCountPosition, 0);
    file.pieceLimit = 200;
    bytes = EncodeMission(file);
    LoadEditorMission(bytes.data(), bytes.size());
    EXPECT_EQ(PairCountPosition, 7);
}

// A short file loads into an empty mission: nothing of what was there
// before stays. No bytes load nothing.
TEST_F(EditorModel, ShortFileLoadsIntoAnEmptyMission) {
    EditorMission.queueKind[MissionQueueIndex(1, 1)] = 6;
    EditorMission.kind[MissionKindIndex(2, 11)] = 5;
    EditorMission.type = 2;
    MissionBytes zeros{};
    zeros[MissionKindIndex(3, 3)] = 4;
    EXPECT_FALSE(LoadEditorMission(zeros.data(), 0));
    EXPECT_EQ(BoardKind(2, 11), 5);
    EXPECT_TRUE(LoadEditorMission(zeros.data(), 100));
    EXPECT_EQ(BoardKind(3, 3), 4);
    EXPECT_EQ(BoardKind(-1, 0), 0);  // the file's own border, as read
    EXPECT_EQ(BoardKind(2, 11), 0);  // past what the file holds: empty
    EXPECT_EQ(BoardKind(7, 12), Wall);  // past the 100 bytes: the empty mission's floor
    EXPECT_EQ(QueueKind(1, 1), 0);
    EXPECT_EQ(EditorMission.type, 0);
}

// Goals a file cannot hold are refused and leave the mission as it was.
TEST_F(EditorModel, GoalsBeyondTheFileAreRefused) {
    struct Case {
        int radio;
        const char* text;
        bool storable;
        uint32_t type, target;
        bool highDigits;
    } cases[] = {
        {0, "100000", true, 0, 100000, false},     {2, "25599999", true, 255, 99999, true},
        {2, "25600000", false, 0, 0, false},       {1, "4294967295", false, 0, 0, false},
        {1, "99999999999", false, 0, 0, false},    {3, "99999999999", false, 0, 0, false},
        {-1, "700003", true, 7, 3, true},
    };
    for (const Case& c : cases) {
        ResetEditorState();
        EditorMission.type = 5;
        GoalNumberMeaning m = ReadGoalNumber(c.radio, c.text);
        EXPECT_EQ(m.storable, c.storable) << c.text;
        MissionBytes before = EditorMissionBytes();
        EXPECT_EQ(SetGoalForSave(c.radio, c.text), c.storable) << c.text;
        if (!c.storable) {
            EXPECT_EQ(EditorMissionBytes(), before) << c.text;
            continue;
        }
        EXPECT_EQ(m.type, c.type) << c.text;
        EXPECT_EQ(m.target, c.target) << c.text;
        EXPECT_EQ(m.highDigits, c.highDigits) << c.text;
        EXPECT_EQ(EditorMission.type, c.type) << c.text;
        EXPECT_EQ(EditorMission.target, c.target) << c.text;
    }
}

// The keyboard: cursors clamp at the edges, placing follows the click rules,
// the palette steps round both strips.
TEST_F(EditorModel, KeyboardCursorsAndPalette) {
    MoveBoardCursor(-3, -3);
    EXPECT_EQ(BoardCursor.column, 0);
    MoveBoardCursor(20, 20);
    EXPECT_EQ(BoardCursor.column, 7);
    EXPECT_EQ(BoardCursor.row, 11);
    SelectPaletteEntry(Cross, 1);
    EXPECT_TRUE(PlaceAtBoardCursor());
    EXPECT_EQ(BoardKind(7, 11), Cross);
    EXPECT_EQ(BoardFrame(7, 11), 1);
    EXPECT_TRUE(EraseAtBoardCursor());
    EXPECT_EQ(BoardKind(7, 11), Empty);
    MoveBoardCursor(-3, -11);  // the entry cell (4, 0): never filled
    EXPECT_TRUE(PlaceAtBoardCursor());
    EXPECT_EQ(BoardKind(4, 0), Empty);
    SelectPaletteEntry(Joiner, 0);
    EXPECT_FALSE(PlaceAtBoardCursor());

    // The queue: four pairs a line, two halves a pair, two lines.
    MoveQueueCursor(3, 2);
    EXPECT_EQ(QueueCursor.pair, 7);
    EXPECT_EQ(QueueCursor.half, 0);
    MoveQueueCursor(-1, -1);
    EXPECT_EQ(QueueCursor.pair, 2);
    EXPECT_EQ(QueueCursor.half, 1);
    EXPECT_TRUE(PlaceAtQueueCursor());
    EXPECT_EQ(QueueKind(2, 1), Joiner);
    SelectPaletteEntry(Wall, 0);
    EXPECT_FALSE(PlaceAtQueueCursor());
    EXPECT_TRUE(EraseAtQueueCursor());
    EXPECT_EQ(QueueKind(2, 1), Empty);

    EXPECT_FALSE(SelectPaletteEntry(Joiner, 1));  // no framed joiner
    EXPECT_FALSE(SelectPaletteEntry(KindCount, 0));
    SelectPaletteEntry(Wall, 0);
    StepPaletteSelection(1);
    EXPECT_EQ(SelectedKind, Horizontal);
    EXPECT_EQ(SelectedFrame, 1);
    StepPaletteSelection(11);
    EXPECT_EQ(SelectedKind, Empty);
    EXPECT_EQ(SelectedFrame, 0);
    StepPaletteSelection(-1);
    EXPECT_EQ(SelectedKind, Cross);
    EXPECT_EQ(SelectedFrame, 1);
}

TEST_F(EditorModel, UndrawableKindsAreWrittenBackAsRead) {
    MissionBytes bytes = EditorMissionBytes();
    bytes[MissionKindIndex(5, 5)] = 200;
    bytes[MissionQueueKindOffset + 3] = 14;
    bytes[MissionFrameOffset + MissionFrameIndex(5, 5)] = 7;
    bytes[MissionTypeOffset] = 9;
    LoadEditorMission(bytes.data(), bytes.size());
    EXPECT_EQ(EditorMissionBytes(), bytes);
}

TEST_F(EditorModel, ClearKeepsHiddenRowsBorderAndGoal) {
    EditorMission.kind[MissionKindIndex(3, -1)] = 5;
    EditorMission.frame[MissionFrameIndex(3, -1)] = 1;
    EditorMission.padding = {1, 2};
    EditorMission.type = 7;
    EditorMission.target = 99;
    SetFrameBlock(2, 2);
    FillPairs(0, 7, 11);
    EditorMission.queueFrame.fill(1);
    Select(5, 1);

    ClearMission();
    for (int c = 0; c <= 7; ++c)
        for (int r = 0; r <= 11; ++r) {
            EXPECT_EQ(BoardKind(c, r), 0);
            EXPECT_EQ(BoardFrame(c, r), 0);
        }
    EXPECT_EQ(EditorMission.queueKind, MissionImage{}.queueKind);
    EXPECT_EQ(EditorMission.queueFrame, MissionImage{}.queueFrame);
    EXPECT_EQ(BoardKind(3, -1), 5);
    EXPECT_EQ(BoardFrame(3, -1), 1);
    EXPECT_EQ(BoardKind(0, 12), Wall);
    EXPECT_EQ(EditorMission.type, 7);
    EXPECT_EQ(EditorMission.target, 99u);
    EXPECT_EQ(EditorMission.padding[1], 2);
    EXPECT_EQ(SelectedKind, 0);
    EXPECT_EQ(SelectedFrame, 0);
}

TEST_F(EditorModel, BoardClickRules) {
    // Joiner selected: nothing at all, not even the cursor.
    Select(Joiner, 0);
    EXPECT_FALSE(BoardLeftDown(BoardX(2), BoardY(3)));
    EXPECT_EQ(BoardKind(2, 3), 0);
    EXPECT_EQ(BoardCursor.column, 0);

    // Wall goes into the well.
    Select(Wall, 0);
    EXPECT_TRUE(BoardLeftDown(BoardX(2), BoardY(3)));
    EXPECT_EQ(BoardKind(2, 3), Wall);
    EXPECT_EQ(BoardCursor.column, 2);
    EXPECT_EQ(BoardCursor.row, 3);

    // A framed kind carries its flag; the cell edges map to their own cells.
    Select(7, 1);
    BoardLeftDown(255, 383);
    EXPECT_EQ(BoardKind(7, 11), 7);
    EXPECT_EQ(BoardFrame(7, 11), 1);
    BoardLeftDown(32, 0);
    EXPECT_EQ(BoardKind(1, 0), 7);
    EXPECT_EQ(BoardKind(0, 0), 0);

    // The entry cell: the cursor moves, the cell does not change...
    EditorMission.kind[MissionKindIndex(4, 0)] = 3;
    BoardLeftDown(BoardX(4), BoardY(0));
    EXPECT_EQ(BoardKind(4, 0), 3);
    EXPECT_EQ(BoardCursor.column, 4);
    EXPECT_EQ(BoardCursor.row, 0);
    // ...but a right click empties it.
    EXPECT_TRUE(BoardRightDown(BoardX(4), BoardY(0)));
    EXPECT_EQ(BoardKind(4, 0), 0);

    // Kind 0 from the plain palette erases like a right click, frame flag too.
    Select(0, 0);
    BoardLeftDown(BoardX(7), BoardY(11));
    EXPECT_EQ(BoardKind(7, 11), 0);
    EXPECT_EQ(BoardFrame(7, 11), 0);

    // Moves only move the cursor.
    Select(5, 0);
    EXPECT_TRUE(BoardMouseMove(BoardX(6), BoardY(9)));
    EXPECT_EQ(BoardCursor.column, 6);
    EXPECT_EQ(BoardCursor.row, 9);
    EXPECT_EQ(BoardKind(6, 9), 0);
}

TEST_F(EditorModel, PointsOutsideAViewChangeNothing) {
    BoardMouseMove(BoardX(3), BoardY(3));
    QueueMouseMove(QueueX(2), QueueY(2, 1));
    Select(5, 0);
    MissionBytes before = EditorMissionBytes();
    for (auto [x, y] : {std::pair{-1, 10}, {-31, -31}, {10, -5}, {256, 10}, {10, 384}, {600, 900}}) {
        EXPECT_FALSE(BoardMouseMove(x, y));
        EXPECT_FALSE(BoardLeftDown(x, y));
        EXPECT_FALSE(BoardRightDown(x, y));
        EXPECT_FALSE(QueueMouseMove(x, y));
        EXPECT_FALSE(QueueLeftDown(x, y));
        EXPECT_FALSE(QueueRightDown(x, y));
    }
    for (auto [x, y] : {std::pair{-1, 5}, {5, -1}, {5, 32}, {448, 5}}) {
        EXPECT_FALSE(PlainPaletteLeftDown(x, y));
        EXPECT_FALSE(FramedPaletteLeftDown(x, y));
    }
    EXPECT_FALSE(FramedPaletteLeftDown(352, 5));
    EXPECT_EQ(EditorMissionBytes(), before);
    EXPECT_EQ(BoardCursor.column, 3);
    EXPECT_EQ(BoardCursor.row, 3);
    EXPECT_EQ(QueueCursor.pair, 2);
    EXPECT_EQ(QueueCursor.half, 1);
    EXPECT_EQ(SelectedKind, 5);
}

TEST_F(EditorModel, QueueClickRules) {
    // Wall cannot go into the queue.
    Select(Wall, 0);
    EXPECT_FALSE(QueueLeftDown(QueueX(1), QueueY(1, 0)));
    EXPECT_EQ(QueueKind(1, 0), 0);
    EXPECT_EQ(QueueCursor.pair, 0);

    // Joiner can; pair 6's second half sits at (96, 112).
    Select(Joiner, 0);
    EXPECT_TRUE(QueueLeftDown(96, 112));
    EXPECT_EQ(QueueKind(6, 1), Joiner);
    EXPECT_EQ(QueueCursor.pair, 6);
    EXPECT_EQ(QueueCursor.half, 1);

    // Gaps: right of each pair, and the band between the lines.
    Select(2, 1);
    for (auto [x, y] : {std::pair{32, 10}, {47, 40}, {80, 10}, {10, 64}, {100, 79}}) {
        EXPECT_FALSE(QueueLeftDown(x, y)) << x << "," << y;
        EXPECT_FALSE(QueueRightDown(x, y));
        EXPECT_FALSE(QueueMouseMove(x, y));
    }
    EXPECT_EQ(QueueCursor.pair, 6);
    // The last pixel of the last half belongs to pair 7, half 1.
    EXPECT_TRUE(QueueLeftDown(175, 143));
    EXPECT_EQ(QueueKind(7, 1), 2);
    EXPECT_EQ(QueueFrame(7, 1), 1);

    EXPECT_TRUE(QueueRightDown(175, 143));
    EXPECT_EQ(QueueKind(7, 1), 0);
    EXPECT_EQ(QueueFrame(7, 1), 0);

    EXPECT_TRUE(QueueMouseMove(QueueX(4), QueueY(4, 0)));
    EXPECT_EQ(QueueCursor.pair, 4);
    EXPECT_EQ(QueueCursor.half, 0);
}

TEST_F(EditorModel, PaletteSelection) {
    EXPECT_TRUE(PlainPaletteLeftDown(13 * 32 + 31, 0));
    EXPECT_EQ(SelectedKind, 13);
    EXPECT_EQ(SelectedFrame, 0);
    EXPECT_TRUE(FramedPaletteLeftDown(0, 31));
    EXPECT_EQ(SelectedKind, 1);
    EXPECT_EQ(SelectedFrame, 1);
    EXPECT_TRUE(FramedPaletteLeftDown(351, 5));
    EXPECT_EQ(SelectedKind, 11);
    EXPECT_TRUE(PlainPaletteLeftDown(0, 5));
    EXPECT_EQ(SelectedKind, 0);
    EXPECT_EQ(SelectedFrame, 0);
    EXPECT_FALSE(FramedPaletteLeftDown(352, 5));
    EXPECT_EQ(SelectedKind, 0);
}

}  // namespace
