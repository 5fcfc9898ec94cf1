#include "rules/settle.h"

#include "rules/screen_layout.h"

#include <cstring>

#include "rules/board.h"
#include "rules/loops.h"
#include "rules/scoring.h"
#include "rules/screen_state.h"

constinit FallingBlock FallingBlocks[FallingBlockRecords]{};
constinit int32_t FallingBlockCount;
constinit int32_t EraseTimer;

static bool IsBlock(uint8_t kind) { return kind >= Horizontal && kind <= Joiner; }

// Records are handed out in order through an episode. Should an episode need
// more than there are, a record whose block has landed is reused; with every
// record in flight, -1: the block stays where it is until one lands.
static int TakeFallingRecord() {
    if (FallingBlockCount >= 0 && FallingBlockCount < FallingBlockRecords) return FallingBlockCount++;
    for (int i = 0; i < FallingBlockRecords; ++i)
        if (FallingBlocks[i].kind == Empty) return i;
    return -1;
}

// The block is lifted out of the board into a falling record (when one is
// free); either way blocks are now falling.
static void ReleaseBlock(int c, int r) {
    int i = TakeFallingRecord();
    if (i < 0) return;
    FallingBlocks[i] = FallingBlock{c, float(CellSize) * float(r), 0.0f, GetKind(c, r), GetFrame(c, r), {}};
    SetKind(c, r, Empty);
    SetGroup(c, r, 0);
    SetFrame(c, r, 0);
}

// Scanning downward, each block over an empty cell is released; a stack over
// a gap therefore loses only its lowest block per call. Returns whether any was.
static bool ReleaseUnsupported() {
    bool released = false;
    for (int c = 0; c <= LastColumn; ++c)
        for (int r = TopRow; r <= BottomRow; ++r)
            if (IsBlock(GetKind(c, r)) && GetKind(c, r + 1) == Empty) {
                ReleaseBlock(c, r);
                released = true;
            }
    return released;
}

// Every rope block beside a joiner gains an end into the joiner's cell, and
// the joiner vanishes with its label and frame flag. Returns whether any was
// resolved, and the last one in scan order.
static bool ResolveJoiners(int& lastCol, int& lastRow) {
    bool any = false;
    for (int c = 0; c <= LastColumn; ++c) {
        for (int r = TopRow; r <= BottomRow; ++r) {
            if (GetKind(c, r) != Joiner) continue;
            for (int side = SideUp; side <= SideRight; ++side) {
                int nc = c + SideDx[side], nr = r + SideDy[side];
                uint8_t k = GetKind(nc, nr);
                if (IsBlock(k)) SetKind(nc, nr, AddRopeSide(k, OppositeSide(side)));
            }
            SetKind(c, r, Empty);
            SetGroup(c, r, 0);
            SetFrame(c, r, 0);
            any = true;
            lastCol = c;
            lastRow = r;
        }
    }
    return any;
}

SettleResult SettleBoard(SearchMode mode, bool blocksInFlight) {
    const bool analyseOnly = mode == SearchMode::AnalyseOnly;
    bool released = !analyseOnly && ReleaseUnsupported();
    if (!blocksInFlight && !released) {
        FallingBlockCount = 0;
        int c = 0, r = 0;
        // The loader's analysis leaves the board as it is: a block over a
        // resolved joiner waits in its cell and falls at the first settle of
        // play, like every other loose block of a loaded board.
        if (ResolveJoiners(c, r) && !analyseOnly && IsBlock(GetKind(c, r - 1))) {
            ReleaseBlock(c, r - 1);
            released = true;
        }
    }
    LabelNetworks();
    if (released) return SettleResult::BlocksReleased;
    if (blocksInFlight) return SettleResult::StillFalling;
    FallingBlockCount = 0;
    if (FindLoops(mode)) return SettleResult::LoopsMarked;
    ScoreTurn();
    return SettleResult::TurnOver;
}

void GoOnAfterSettling(SettleResult result) {
    switch (result) {
        case SettleResult::BlocksReleased: ScreenState = BlocksFalling; break;
        case SettleResult::LoopsMarked: ScreenState = Erasing; break;
        case SettleResult::TurnOver: ScreenState = NextPair; break;
        case SettleResult::StillFalling: break;
    }
}

void StepFallingBlocks() {
    bool active = false;
    for (FallingBlock& b : FallingBlocks) {
        if (b.kind == Empty) continue;
        active = true;
        b.y += b.speed;
        b.speed += FallAcceleration;
        if (b.speed > FallSpeedMax) b.speed = FallSpeedMax;
        int row = int(b.y / float(CellSize));  // the row its top has reached
        if (GetKind(b.col, row + 1) != Empty) {
            SetKind(b.col, row, b.kind);
            SetFrame(b.col, row, b.frame);
            b.kind = b.frame = 0;
        }
    }
    GoOnAfterSettling(SettleBoard(SearchMode::Play, active));
}

void StepErase() {
    if (++EraseTimer < EraseFrames) return;
    for (int c = 0; c <= LastColumn; ++c) {
        for (int r = TopRow; r <= BottomRow; ++r) {
            if (!GetMarked(c, r)) continue;
            SetKind(c, r, Empty);
            SetGroup(c, r, 0);
            SetFrame(c, r, 0);
            SetMarked(c, r, 0);
        }
    }
    EraseTimer = 0;
    GoOnAfterSettling(SettleBoard());
}
