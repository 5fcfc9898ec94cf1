#include "draw/playfield.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "draw/surfaces.h"
#include "draw/text.h"
#include "rules/game_mode.h"
#include "rules/board.h"
#include "rules/falling_pair.h"
#include "rules/fish.h"
#include "rules/link.h"
#include "rules/queue.h"
#include "rules/scoring.h"
#include "rules/screen_state.h"
#include "rules/settle.h"
#include "tests/test_support.h"

namespace {
// Sheets whose every picture is a flat colour that names it, so a pixel of
// the back buffer tells which picture was drawn there.
uint32_t BlockColour(int kind, int sheetRow) { return Rgb(kind * 10, sheetRow * 30, 200); }
uint32_t GlyphColour(int code) { return Rgb(0, 0, code); }
uint32_t NarrowColour(int code) { return Rgb(0, 1, code); }
constexpr uint32_t FrameMarker = Rgb(1, 2, 3);
constexpr uint32_t GridLine = Rgb(0x70, 0x70, 0x70);
constexpr uint32_t EraseMark = Rgb(0x80, 0xF0, 0xF0);
constexpr uint32_t FishIcon = Rgb(140, 1, 1);
constexpr uint32_t LinkFish = Rgb(160, 1, 1);

void MakeSheets() {
    BlockSheet.Create(640, 256);
    FillRect(BlockSheet, 0, 0, 32, 32, Black);
    for (int k = 1; k <= 13; ++k)
        for (int row = 1; row < 8; ++row) FillRect(BlockSheet, 32 * k, 32 * row, 32, 32, BlockColour(k, row));
    FillRect(BlockSheet, 448, 32, 32, 32, FishIcon);
    FillRect(BlockSheet, 512, 32, 32, 32, LinkFish);
    FillRect(BlockSheet, 576, 64, 32, 1, GridLine);  // the grid cell's top edge
    FillRect(BlockSheet, 576, 96, 32, 32, EraseMark);
    FillRect(BlockSheet, 608, 0, 32, 32, Black);     // frame marker: top-left 4 x 4 only
    FillRect(BlockSheet, 608, 0, 4, 4, White);
    FillRect(BlockSheet, 608, 32, 4, 4, FrameMarker);
    FontSheet.Create(256, 512);
    FillRect(FontSheet, 0, 256, 256, 256, Black);
    for (int g = 1; g < 96; ++g) {
        int x = 16 * (g % 16), y = 16 * (g / 16);
        FillRect(FontSheet, x, y, 16, 16, GlyphColour(g + 32));
        FillRect(FontSheet, x, y + 256, 16, 16, White);
    }
    for (int y = 64; y < 192; ++y) {  // goal labels: ink across the label rows
        FillRect(FontSheet, 0, y, 256, 1, Rgb(5, 5, 5));
        FillRect(FontSheet, 0, y + 256, 256, 1, White);
    }
    for (int g = 1; g < 64; ++g) {  // the narrow face: 8 x 16 cells, 32 to a row, from y 192
        int x = 8 * (g % 32), y = 192 + 16 * (g / 32);
        FillRect(FontSheet, x, y, 8, 16, NarrowColour(g + 32));
        FillRect(FontSheet, x, y + 256, 8, 16, White);
    }
}

class PlayfieldTest : public ::testing::Test {
protected:
    void SetUp() override {
        FreshProgram();
        FillRopeSides();
        SetBoardWalls();
        MakeSheets();
        BackBuffer.Create(384, 480);
        DrawGradient(GradientSurface);
        DrawTiledBackground(TileSurface, BlockSheet);
        BoardOriginX = 64;
        BoardOriginY = 80;
        GameMode = ScoreAttack;
        ScreenState = NextPair;
        SpawnTimer = 0;
        QueueLast = 4;
        Level = 1;
    }
    static uint32_t Px(int x, int y) { return BackBuffer.At(x, y); }
    static uint32_t Sky(int y) { return GradientSurface.At(0, y); }
    // Centre of well cell (c, r) in layout origin X, Y.
    static uint32_t Cell(int c, int r) { return Px(BoardOriginX + 32 * c + 16, BoardOriginY + 32 * r + 16); }
};
}  // namespace

TEST_F(PlayfieldTest, BlocksWithGridFrameMarkerAndColours) {
    SetKind(0, 11, Cross);
    SetGroup(0, 11, 6);  // group 6: colour row 2
    SetKind(3, 5, Vertical);
    SetGroup(3, 5, 5);   // group 5: colour row 7
    SetFrame(3, 5, 1);
    GridMode = 1;
    DrawPlayfield(0);
    EXPECT_EQ(Cell(0, 11), BlockColour(Cross, 1));
    EXPECT_EQ(Cell(3, 5), BlockColour(Vertical, 1));
    EXPECT_EQ(Px(64 + 96, 80 + 160), FrameMarker);
    for (int c = 0; c < 8; ++c)
        for (int r = 0; r < 12; ++r)
            if (GetKind(c, r) == Empty) {
                uint32_t edge = Px(64 + 32 * c + 5, 80 + 32 * r);
                EXPECT_EQ(edge & GridLine, edge) << c << "," << r;
            }
    ColourMode = 1;
    ComingQueue.kind[0][0] = Horizontal;
    DrawPlayfield(0);
    EXPECT_EQ(Cell(0, 11), BlockColour(Cross, 2));
    EXPECT_EQ(Cell(3, 5), BlockColour(Vertical, 7));
    EXPECT_EQ(Px(336 + 16, 96 + 16), BlockColour(Horizontal, 1)) << "the queue keeps the plain row";
}

TEST_F(PlayfieldTest, MarkedCellsBlinkOnOddTimerValues) {
    SetKind(2, 2, Cross);
    SetMarked(2, 2, 1);
    SetKind(4, 2, Cross);  // not marked
    ScreenState = Erasing;
    for (int t = 0; t < 4; ++t) {
        EraseTimer = t;
        DrawPlayfield(0);
        EXPECT_EQ(Cell(2, 2) == BlockColour(Cross, 1), t % 2 == 0) << t;
    }
    // Steady: the marked block is drawn with the erase mark ANDed over it at
    // every timer value; the other is drawn as ever.
    FlashingSteady = true;
    for (int t = 0; t < 4; ++t) {
        EraseTimer = t;
        DrawPlayfield(0);
        EXPECT_EQ(Cell(2, 2), BlockColour(Cross, 1) & EraseMark) << t;
        EXPECT_EQ(Cell(4, 2), BlockColour(Cross, 1)) << t;
    }
}

TEST_F(PlayfieldTest, OffsetMinus480LeavesOnlyGradientAndFrameRate) {
    for (int c = 0; c < 8; ++c) SetKind(c, 11, Cross);
    ScreenState = GameOverScreen;
    DrawPlayfield(-480);
    for (int y = 0; y < 466; y += 7)
        for (int x = 0; x < 384; x += 5) ASSERT_EQ(Px(x, y), Sky(y)) << x << "," << y;
}

TEST_F(PlayfieldTest, SevenDigitScoreEndsAtTheRightEdgeOfThePanel) {
    Score = 1234567;
    DrawPlayfield(0);
    EXPECT_EQ(Px(200 + 8, 48 + 8), GlyphColour('1'));
    EXPECT_EQ(Px(200 + 16 * 6 + 8, 48 + 8), GlyphColour('7'));
    EXPECT_EQ(Px(199, 56), Sky(56) & Px(199, 56)) << "nothing drawn left of it";
    EXPECT_EQ(Px(64 + 8 + 8, 16 + 8), GlyphColour('L'));
}

TEST_F(PlayfieldTest, GameOverInScoreAttackShowsTheLevelButNoScore) {
    Score = 99;
    ScreenState = GameOverScreen;
    DrawPlayfield(0);
    EXPECT_EQ(Px(64 + 8 + 8, 24), GlyphColour('L'));
    EXPECT_NE(Px(312 - 8, 56), GlyphColour('9'));
    MissionGoal.type = GoalScore;
    GameMode = NormalGame;
    DrawPlayfield(0);
    EXPECT_EQ(Px(312 - 8, 56), GlyphColour('9'));
}

TEST_F(PlayfieldTest, ChainProductDuringAChain) {
    ScreenState = Erasing;
    ChainErased = 10;
    ChainLength = 2;
    Level = 3;
    DrawPlayfield(0);  // "10*2*3*10": 9 characters ending at 312
    int x = 312 - 16 * 9;
    EXPECT_EQ(Px(x + 8, 56), GlyphColour('1'));
    EXPECT_EQ(Px(x + 16 * 2 + 8, 56), GlyphColour('*'));
    EXPECT_EQ(Px(x + 16 * 3 + 8, 56), GlyphColour('2'));
}

TEST_F(PlayfieldTest, TurnAnimationPutsTheSecondHalfOnTheCircle) {
    ScreenState = PairFalling;
    FallingPair = FallingPairRecord{};
    FallingPair.col1 = 3;
    FallingPair.row1 = 4;
    FallingPair.kind1 = Cross;
    FallingPair.kind2 = Vertical;
    FallingPair.orientation = 0;  // second half to the right
    TurnDirection = 1;
    for (int timer = 1; timer <= 3; ++timer) {
        TurnTimer = timer;
        DrawPlayfield(0);
        double a = (30.0 * (timer - 1)) * std::numbers::pi / 180.0;
        int x = 64 + 96 + int(32.0 * std::cos(a)), y = 80 + 128 + int(32.0 * std::sin(a));
        EXPECT_EQ(Px(x + 16, y + 16), BlockColour(Vertical, 1)) << timer;
        EXPECT_EQ(Px(x + 1, y + 1), BlockColour(Vertical, 1)) << timer;
    }
}

TEST_F(PlayfieldTest, ShiftingTurnSlidesThePivot) {
    ScreenState = PairFalling;
    FallingPair = FallingPairRecord{};
    FallingPair.col1 = 0;
    FallingPair.row1 = 2;
    FallingPair.kind1 = Cross;
    TurnTimer = 1;
    TurnShift = 1;
    TurnDirection = 1;
    DrawPlayfield(0);
    EXPECT_EQ(Px(64 + 10, 80 + 64 + 16), BlockColour(Cross, 1));
    EXPECT_NE(Px(64 + 9, 80 + 64 + 16), BlockColour(Cross, 1));
}

TEST_F(PlayfieldTest, QueueScrollWipesAboveAndBelowTheWell) {
    for (int i = 0; i < 8; ++i) {
        ComingQueue.kind[i][0] = uint8_t(1 + i);
        ComingQueue.kind[i][1] = uint8_t(1 + i);
    }
    SpawnTimer = 4;  // top pair at y 96 - 32 = 64: its top 16 rows lie above the well
    DrawPlayfield(0);
    EXPECT_EQ(Px(350, 70), Sky(70)) << "above the well: wiped";
    EXPECT_EQ(Px(350, 90), BlockColour(1, 1));
    // Pair QueueLast (4) rises from y = 480 - 32 = 448; below 464 it is wiped.
    EXPECT_EQ(Px(350, 456), BlockColour(5, 1));
    EXPECT_EQ(Px(350, 470), Sky(470));
}

TEST_F(PlayfieldTest, LayoutBHasTwoQueueColumnsAndTheWidePanel) {
    BoardOriginX = 16;
    GameMode = NormalGame;
    MissionGoal.type = GoalErase;
    MissionGoal.target = 12;
    ScreenState = PairFalling;
    FallingPair = FallingPairRecord{};
    for (int i = 0; i < 8; ++i) ComingQueue.kind[i][0] = uint8_t(1 + i);
    DrawPlayfield(0);
    EXPECT_EQ(Px(288 + 16, 96 + 16), BlockColour(1, 1));
    EXPECT_EQ(Px(336 + 16, 96 + 16), BlockColour(5, 1));
    EXPECT_EQ(Px(336 + 16, 384 + 16), BlockColour(8, 1));
    EXPECT_EQ(Px(16 + 8 + 8, 24), GlyphColour('M')) << "MISSION header";
    EXPECT_EQ(Px(16 + 8 + 8, 56), GlyphColour('1')) << "goal number";
    EXPECT_EQ(Px(16 + 24 + 32 + 4, 56), Rgb(5, 5, 5)) << "goal label after it";
    EXPECT_EQ(Px(30, 220), Sky(220) & Px(30, 220)) << "no fish-count panel";
}

// The status panel names the mission by its number, or as an edited one
// (E) when it was picked from a file, for every goal type and in both
// languages; the score goal's row has the short form.
TEST_F(PlayfieldTest, StatusPanelNamesNumberedAndEditedMissionsForEveryGoal) {
    ScreenState = PairFalling;
    MissionNumber = 7;
    MissionGoal.target = 5;
    auto header = [](int x, int chars) {
        std::string read;
        for (int i = 0; i < chars; ++i) {
            uint32_t p = Px(x + 16 * i + 8, 24);
            read += (p & 0xFFFF00) == GlyphColour(0) ? char(p & 0xFF) : ' ';
        }
        read.erase(read.find_last_not_of(' ') + 1);
        return read;
    };
    for (Language language : {Language::Japanese, Language::English})
        for (GameModeValue mode : {NormalGame, EditGame})
            for (uint8_t type = GoalChain; type <= GoalFish + 1; ++type) {
                TextLanguage = language;
                GameMode = mode;
                MissionGoal.type = type;
                BoardOriginX = RandomQueueGoal(type) ? 64 : 16;
                DrawPlayfield(0);
                const bool score = type == GoalScore;
                const char* expected = mode == NormalGame ? (score ? "MSN7" : "MISSION 7") : (score ? "MSN E" : "MISSION E");
                EXPECT_EQ(header(BoardOriginX + 8, score ? 6 : 9), expected)
                    << "goal type " << int(type) << ", mode " << int(mode) << ", language " << int(language);
            }
}

// In English every goal line is set in the narrow face and, with the widest
// number a mission file can hold, still reads whole inside the status panel,
// clear of the mission number above it.
TEST_F(PlayfieldTest, EnglishGoalLinesReadWholeInsideThePanel) {
    TextLanguage = Language::English;
    GameMode = NormalGame;
    MissionNumber = 30;
    ScreenState = PairFalling;
    struct Case { uint8_t type; const char* reads; int y; } cases[] = {
        {GoalChain, "MAKE A CHAIN OF -2147483648", 56},
        {GoalErase, "ERASE -2147483648 BLOCKS", 56},
        {GoalEraseAtOnce, "ERASE -2147483648 BLOCKS AT ONCE", 56},
        {GoalAllFrames, "ERASE ALL FRAMED BLOCKS", 56},
        {GoalAllFramesAtOnce, "ERASE ALL FRAMED BLOCKS AT ONCE", 56},
        {GoalArea, "MAKE A LOOP OF AREA -2147483648", 56},
        {GoalScore, "SCORE -2147483648", 24},
        {GoalFish, "CATCH -2147483648 FISH", 56},
    };
    for (const Case& c : cases) {
        MissionGoal.type = c.type;
        MissionGoal.target = 0x80000000u;
        BoardOriginX = RandomQueueGoal(c.type) ? 64 : 16;
        DrawPlayfield(0);
        const int X = BoardOriginX, start = c.type == GoalScore ? X + 104 : X + 8;
        std::string read;
        for (int x = start + 4; x < X + StatusPanelWidth(); x += 8) {
            uint32_t p = Px(x, c.y);
            read += (p & 0xFFFF00) == NarrowColour(0) ? char(p & 0xFF) : ' ';  // a blank shows the panel
        }
        read.erase(read.find_last_not_of(' ') + 1);
        EXPECT_EQ(read, c.reads) << "goal type " << int(c.type);
        EXPECT_LE(start + 8 * int(read.size()), X + StatusPanelWidth()) << "goal type " << int(c.type);
        for (int x = 0; x < 384; ++x) EXPECT_NE(Px(x, c.y), Rgb(5, 5, 5)) << "no Japanese label, type " << int(c.type);
    }
    EXPECT_EQ(Px(64 + 8 + 8, 24), GlyphColour('M')) << "the score goal's MSN stays in the big face";
}

// The Japanese goal lines with the longest numbers a file can hold: the
// label is drawn whole (as many label pixels as with a one-digit target) and
// every label pixel lies inside the status panel.
TEST_F(PlayfieldTest, JapaneseGoalLinesStayInsideThePanel) {
    GameMode = NormalGame;
    MissionNumber = 30;
    ScreenState = PairFalling;
    for (uint8_t type : {GoalChain, GoalErase, GoalEraseAtOnce, GoalArea, GoalScore, GoalFish}) {
        MissionGoal.type = type;
        BoardOriginX = RandomQueueGoal(type) ? 64 : 16;
        const int X = BoardOriginX, y = type == GoalScore ? 16 : 48;
        auto labelPixels = [&](int from, int to) {
            int n = 0;
            for (int row = y; row < y + 16; ++row)
                for (int x = from; x < to; ++x) n += Px(x, row) == Rgb(5, 5, 5);
            return n;
        };
        MissionGoal.target = 1;
        DrawPlayfield(0);
        const int whole = labelPixels(0, 384);
        ASSERT_GT(whole, 0) << "goal type " << int(type);
        for (uint32_t target : {0x7FFFFFFFu, 0x80000000u, 0xFFFFFFFFu}) {
            MissionGoal.target = target;
            DrawPlayfield(0);
            EXPECT_EQ(labelPixels(X, X + StatusPanelWidth()), whole) << "goal type " << int(type) << ", " << target;
            EXPECT_EQ(labelPixels(0, 384), whole) << "goal type " << int(type) << ", " << target;
        }
    }
}

TEST_F(PlayfieldTest, FishCountPanelInScoreAttack) {
    LinkStock = 5;
    DrawPlayfield(0);
    EXPECT_EQ(Px(16 + 16, 200 + 16), FishIcon);
    EXPECT_EQ(Px(8 + 8, 240), GlyphColour('*'));
    EXPECT_EQ(Px(24 + 8, 240), GlyphColour('0'));
    EXPECT_EQ(Px(40 + 8, 240), GlyphColour('5'));
}
