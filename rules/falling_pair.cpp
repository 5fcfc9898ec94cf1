#include "rules/falling_pair.h"

#include <cstdint>

#include "rules/game_mode.h"
#include "rules/board.h"
#include "rules/game_events.h"
#include "rules/input_words.h"
#include "rules/link.h"
#include "rules/queue.h"
#include "rules/scoring.h"
#include "rules/screen_state.h"
#include "rules/settle.h"

constinit FallingPairRecord FallingPair{};
constinit int32_t FallTimer;
constinit int32_t FallInterval;
constinit int32_t ShiftTimer;
constinit int32_t TurnTimer;
constinit int32_t TurnDirection;
constinit int32_t TurnShift;
constinit uint8_t TurnSteps;

// Walls and the floor are never free; neither is anything beyond the layer.
static bool Free(int c, int r) { return GetKind(c, r) == Empty; }

static bool HalvesFree(int dc, int dr) {
    const FallingPairRecord& p = FallingPair;
    return Free(p.col1 + dc, p.row1 + dr) && Free(p.col2 + dc, p.row2 + dr);
}

void EndPlay() {
    ScreenState = GameOverScreen;
    StopTune();
    PlayGameSound(GameSound::GameOver);
}

static void CheckBlockedSpawn() {
    if (!Free(4, 0)) EndPlay();
}

static void CheckPiecesExhausted() {
    if (GameMode != ScoreAttack && PiecesUsed > MissionGoal.pieceLimit) EndPlay();
}

static void CheckMissionGoal() {
    if (GameMode == ScoreAttack || !TestMissionGoal()) return;
    if (GameMode == NormalGame) RecordMissionCleared();
    ScreenState = MissionClearScreen;
    StopTune();
    PlayGameSound(GameSound::Clear);
}

static void MoveSideways(int dc) {
    FallingPair.col1 += dc;
    FallingPair.col2 += dc;
    ShiftTimer = 1;
    PlayGameSound(GameSound::Move);
}

static void StepSideways() {
    if (ShiftTimer != 0) {
        if (++ShiftTimer >= RepeatFrames) ShiftTimer = 0;
        return;
    }
    if (LeftHeld && HalvesFree(-1, 0)) MoveSideways(-1);
    if (RightHeld && HalvesFree(+1, 0)) MoveSideways(+1);
}

static int Turned(int orientation, int quarters) { return ((orientation + quarters) % 4 + 4) % 4; }

// Chooses how a new turn will complete: in place, shifted one column, as a
// half turn, or not at all. The cells are looked at only here.
static void StartTurn() {
    if (Button2Pressed) TurnDirection = +1;
    if (Button1Pressed) TurnDirection = -1;
    if (!Button1Pressed && !Button2Pressed) return;
    PlayGameSound(GameSound::Turn);
    TurnShift = 0;
    TurnTimer = 1;
    TurnSteps = 1;
    const FallingPairRecord& p = FallingPair;
    int o = p.orientation & 3, d = TurnDirection;
    int o1 = Turned(o, d);
    int tc = p.col1 + OrientationDx[o1], tr = p.row1 + OrientationDy[o1];
    if (Free(tc, tr)) return;
    if ((OrientationDx[o1] < 0 || (OrientationDx[o1] == 0 && o == 0)) && Free(p.col1 + 1, p.row1) &&
        Free(tc + 1, tr)) {
        TurnShift = +1;
        return;
    }
    if ((OrientationDx[o1] > 0 || (OrientationDx[o1] == 0 && o == 2)) && Free(p.col1 - 1, p.row1) &&
        Free(tc - 1, tr)) {
        TurnShift = -1;
        return;
    }
    int o2 = Turned(o, 2 * d);
    if (Free(p.col1 + OrientationDx[o2], p.row1 + OrientationDy[o2])) {
        TurnSteps = 2;
        TurnTimer = 2;
        return;
    }
    TurnTimer = 0;  // refused
}

static void CompleteTurn() {
    FallingPairRecord& p = FallingPair;
    p.orientation = uint8_t(Turned(p.orientation, TurnSteps * TurnDirection));
    p.col1 += TurnShift;
    p.col2 = p.col1 + OrientationDx[p.orientation];
    p.row2 = p.row1 + OrientationDy[p.orientation];
    TurnTimer = 0;
}

static void StepTurn() {
    if (TurnTimer == 0) {
        StartTurn();
        return;
    }
    if (++TurnTimer == QuarterTurnFrames * TurnSteps) CompleteTurn();
}

static void SoftDrop() {
    if (!DownHeld || !HalvesFree(0, 0)) return;
    ++FallingPair.row1;
    ++FallingPair.row2;
    FallTimer = 0;
    if (Score < INT32_MAX) ++Score;
}

static void Gravity() {
    ++FallTimer;
    int32_t limit = HalvesFree(0, 1) ? FallInterval : GraceFrames;
    if (FallTimer >= limit && HalvesFree(0, 0)) {
        ++FallingPair.row1;
        ++FallingPair.row2;
        FallTimer = 0;
    }
}

// A drop carries a half into an occupied cell: the pair goes back one row
// and is written into the board. Row -2 is then emptied, so a half that came
// to rest there (or above it, where no layer reaches) is lost.
// A half pushed by a turn into a wall or a block (the turn's cells are
// checked when it starts; the pair may have moved or dropped since) can stay
// inside it after going back one row. It is lost, like a half above the
// well: walls and resting blocks are never overwritten.
static void PlaceHalf(int32_t col, int32_t row, uint8_t kind, uint8_t frame) {
    if (col < 0 || col > 7 || GetKind(col, row) != Empty) return;
    SetKind(col, row, kind);
    SetFrame(col, row, frame);
}

bool FallingPairLands() { return !HalvesFree(0, 0); }

static void Land() {
    FallingPairRecord& p = FallingPair;
    if (!FallingPairLands()) return;
    --p.row1;
    --p.row2;
    PlaceHalf(p.col1, p.row1, p.kind1, p.frame1);
    PlaceHalf(p.col2, p.row2, p.kind2, p.frame2);
    for (int c = 0; c <= LastColumn; ++c) {
        SetKind(c, HiddenRow, Empty);
        SetGroup(c, HiddenRow, 0);
    }
    p.kind1 = p.kind2 = 0;
    PlayGameSound(GameSound::Land);
    // A frame that has already ended the game, cleared the mission or begun
    // the link action settles only what hangs in the air.
    GoOnAfterSettling(SettleBoard(SearchMode::Play, ScreenState != PairFalling));
}

void StepFallingPairMoves() {
    CheckBlockedSpawn();
    CheckPiecesExhausted();
    CheckMissionGoal();
    StepSideways();
    StepTurn();
    // A frame that has just ended the game or cleared the mission keeps that
    // outcome: the link action would otherwise turn it back into play.
    if (Button3Pressed && LinkStock > 0 && ScreenState == PairFalling) StartLink();
    SoftDrop();
    Gravity();
}

void StepFallingPair() {
    StepFallingPairMoves();
    Land();
}
