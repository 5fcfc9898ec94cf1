#include "draw/playfield.h"

#include <cmath>
#include <cstdio>
#include <cstring>
#include <numbers>

#include "draw/fish.h"
#include "draw/sheet_layout.h"
#include "draw/surface.h"
#include "draw/surfaces.h"
#include "draw/text.h"
#include "rules/game_mode.h"
#include "rules/board.h"
#include "rules/falling_pair.h"
#include "rules/fish.h"
#include "rules/link.h"
#include "rules/queue.h"
#include "rules/scoring.h"
#include "rules/screen_layout.h"
#include "rules/screen_state.h"
#include "rules/settle.h"

constinit uint8_t ColourMode, GridMode;
constinit bool PaletteSafe, FlashingSteady;
constinit uint32_t FpsValue;

namespace {
constexpr int32_t WellWidth = 8 * CellSize, WellHeight = 12 * CellSize;
constexpr int32_t QueueX = WellWidth + 16, SecondQueueX = QueueX + 48;  // from the well's left edge
constexpr int32_t StatusPanelY = 8, StatusPanelHeight = 64;
constexpr ScreenRect FishCountPanel{6, 200, 52, 54};

void AndFromTile(int x, int y, int w, int h) { BlitTiles(x, y, w, h, x, y, Rop::And); }
void AndFromTile(const ScreenRect& r) { AndFromTile(r.x, r.y, r.w, r.h); }


// A goal label of the font sheet: image at (sx, sy), mask 256 lower.
void DrawLabel(int sx, int sy, int width, int x, int y) {
    MaskedFromSheet(FontSheet, sx, sy + FontMaskOffset, sx, sy, width, 16, x, y);
}

void DrawWellCells(int32_t X, int32_t top) {
    for (int c = 0; c <= LastColumn; ++c) {
        for (int r = 0; r <= BottomRow; ++r) {
            int x = X + CellSize * c, y = top + CellSize * r;
            if (GridMode == 1) BitBlt(BackBuffer, x, y, SheetCell, SheetCell, BlockSheet, SheetGridX, SheetGridY, Rop::And);
            uint8_t kind = GetKind(c, r);
            if (kind == Empty) continue;
            bool marked = GetMarked(c, r) != 0;
            if (marked && (EraseTimer & 1) != 0 && !FlashingSteady) continue;
            DrawBlock(kind, uint8_t(GetGroup(c, r) % 6 + 1), GetFrame(c, r), x, y);
            if (marked && FlashingSteady)
                BitBlt(BackBuffer, x, y, SheetCell, SheetCell, BlockSheet, SheetEraseMarkX, SheetEraseMarkY, Rop::And);
        }
    }
}

void DrawFallingPairHalves(int32_t X, int32_t Y) {
    const FallingPairRecord& p = FallingPair;
    int32_t slide = (TurnShift * TurnTimer * 32) / 3;
    DrawBlock(p.kind1, 0, p.frame1, X + CellSize * p.col1 + slide, Y + CellSize * p.row1);
    if (TurnTimer > 0) {
        double degrees = 90.0 * p.orientation + 30.0 * (TurnTimer - 1) * TurnDirection;
        double a = degrees * std::numbers::pi / 180.0;
        int32_t dx = int32_t(32.0 * std::cos(a)), dy = int32_t(32.0 * std::sin(a));
        DrawBlock(p.kind2, 0, p.frame2, X + CellSize * p.col1 + dx, Y + CellSize * p.row1 + dy);
    } else {
        DrawBlock(p.kind2, 0, p.frame2, X + CellSize * p.col2, Y + CellSize * p.row2);
    }
}

void DrawFallingBlocks(int32_t X, int32_t Y) {
    for (const FallingBlock& b : FallingBlocks)
        if (b.kind != 0) DrawBlock(b.kind, 0, b.frame, X + 32 * b.col, Y + int32_t(b.y));
}

void DrawQueuePair(int i, int32_t x, int slot, int32_t top) {
    int32_t y = top + 16 + 96 * slot - 8 * SpawnTimer;
    DrawBlock(ComingQueue.kind[i][0], 0, ComingQueue.frame[i][0], x, y);
    DrawBlock(ComingQueue.kind[i][1], 0, ComingQueue.frame[i][1], x, y + CellSize);
}

// The queue's columns, tiled from the first column's place so that the
// second repeats the first's pattern.
void DrawQueueFrames(int32_t yOffset) {
    AndFromTile(PlayAreaRect(AreaQueue, yOffset));
    if (GameMode == ScoreAttack) return;
    ScreenRect second = PlayAreaRect(AreaSecondQueue, yOffset), first = PlayAreaRect(AreaQueue, yOffset);
    BlitTiles(second.x, second.y, second.w, second.h, first.x, first.y, Rop::And);
}

void DrawQueue(int32_t X, int32_t top, int32_t yOffset) {
    int extra = ScreenState == NextPair ? 1 : 0;
    DrawQueueFrames(yOffset);
    if (GameMode == ScoreAttack) {
        for (int i = 0; i <= QueueLast - 1 + extra && i < QueuePairs; ++i) DrawQueuePair(i, X + QueueX, i, top);
        return;
    }
    for (int i = 0; i <= 3 + extra; ++i) DrawQueuePair(i, X + QueueX, i, top);
    for (int i = 4; i < 8; ++i) DrawQueuePair(i, X + SecondQueueX, i - 4, top);
}

void DrawFishCountPanel(int32_t yOffset) {
    const ScreenRect r = PlayAreaRect(AreaFishCount, yOffset);
    AndFromTile(r);
    MaskedFromSheet(BlockSheet, SheetFishX, SheetMaskY, SheetFishX, SheetImageY, SheetCell, SheetCell, r.x + 10, r.y);
    DrawGlyphText(FormatText("*%02d", LinkStock), r.x + 2, r.y + CellSize);
}

// The mission's name in the status panel: its number, or E for a mission
// picked from a file, whatever its goal. The score goal shares its row with
// the goal and has room for the short form only.
const char* MissionName(bool shortForm) {
    if (GameMode == NormalGame) return FormatText(shortForm ? "MSN%d" : "MISSION %d", MissionNumber);
    return shortForm ? "MSN E" : "MISSION E";
}

// Draws `text` (digits and symbols) within `room` pixels from x: in the font
// when it fits, else in the narrow face, else the narrow face's first
// characters and "..". Returns the width drawn.
int32_t DrawFitted(const char* text, int32_t x, int32_t y, int32_t room) {
    int32_t length = int32_t(std::strlen(text));
    if (16 * length <= room) {
        DrawGlyphText(text, x, y);
        return 16 * length;
    }
    if (8 * length <= room) {
        DrawNarrowText(text, x, y);
        return 8 * length;
    }
    char cut[32];
    int32_t keep = room / 8 - 2 < 1 ? 1 : room / 8 - 2;
    std::snprintf(cut, sizeof cut, "%.*s..", int(keep), text);
    DrawNarrowText(cut, x, y);
    return 8 * (keep + 2);
}

// The same, placed so that it ends at x = right.
void DrawFittedRightAligned(const char* text, int32_t right, int32_t y, int32_t room) {
    int32_t length = int32_t(std::strlen(text));
    int32_t width = 16 * length <= room ? 16 * length : 8 * length <= room ? 8 * length : 8 * (room / 8);
    DrawFitted(text, right - width, y, width);
}

// The goal line in English, in the narrow face so that every number a
// mission file can hold fits the panel: at most 32 characters (256 pixels)
// in the wide layout's 352, the score goal's 16 after "MSN" within 256.
void DrawEnglishGoalLine(int32_t X, int32_t yOffset) {
    int32_t G = int32_t(MissionGoal.target);
    int32_t y = yOffset + 48;
    switch (MissionGoal.type) {
        case GoalChain: DrawNarrowText(FormatText("MAKE A CHAIN OF %d", G), X + 8, y); break;
        case GoalErase: DrawNarrowText(FormatText("ERASE %d BLOCKS", G), X + 8, y); break;
        case GoalEraseAtOnce: DrawNarrowText(FormatText("ERASE %d BLOCKS AT ONCE", G), X + 8, y); break;
        case GoalAllFrames: DrawNarrowText("ERASE ALL FRAMED BLOCKS", X + 8, y); break;
        case GoalAllFramesAtOnce: DrawNarrowText("ERASE ALL FRAMED BLOCKS AT ONCE", X + 8, y); break;
        case GoalArea: DrawNarrowText(FormatText("MAKE A LOOP OF AREA %d", G), X + 8, y); break;
        case GoalScore:
            y = yOffset + 16;
            DrawGlyphText(MissionName(true), X + 8, y);
            DrawNarrowText(FormatText("SCORE %d", G), X + 104, y);
            break;
        case GoalFish: DrawNarrowText(FormatText("CATCH %d FISH", G), X + 8, y); break;
        default: break;  // no goal line
    }
}

void DrawGoalLine(int32_t X, int32_t yOffset) {
    if (TextLanguage == Language::English) {
        DrawEnglishGoalLine(X, yOffset);
        return;
    }
    int32_t y = yOffset + 48;
    // The target as the rules compare it (signed), made to fit between its
    // place and the label that follows it within the panel.
    const int32_t right = X + StatusPanelWidth();
    auto number = [&](int32_t x, int32_t gap, int32_t label) {
        return x + DrawFitted(FormatText("%d", int32_t(MissionGoal.target)), x, y, right - label - gap - x) + gap;
    };
    switch (MissionGoal.type) {
        case GoalChain: DrawLabel(0, 64, 96, number(X + 8, 16, 96), y); break;
        case GoalErase: DrawLabel(0, 80, 112, number(X + 8, 16, 112), y); break;
        case GoalEraseAtOnce: DrawLabel(0, 96, 192, number(X + 8, 16, 192), y); break;
        case GoalAllFrames: DrawLabel(0, 112, 208, X + 8, y); break;
        case GoalAllFramesAtOnce:
            DrawLabel(0, 128, 240, X + 8, y);
            DrawLabel(176, 112, 80, X + 264, y);
            break;
        case GoalArea:
            DrawLabel(0, 144, 64, X + 8, y);
            DrawLabel(80, 144, 144, number(X + 88, 16, 144), y);
            break;
        case GoalScore:
            y = yOffset + 16;
            DrawGlyphText(MissionName(true), X + 8, y);
            DrawLabel(0, 160, 80, number(X + 104, 0, 80), y);
            break;
        case GoalFish:
            DrawLabel(0, 176, 48, X + 8, y);
            DrawLabel(64, 176, 112, number(X + 72, 16, 112), y);
            break;
        default: break;  // no goal line
    }
}

void DrawStatusTexts(int32_t X, int32_t yOffset) {
    if (ScoringGame()) {
        const char* level = FormatText("LV %d", Level);
        const bool levelBeside = GameMode != ScoreAttack;  // on the score's row
        const int32_t levelEnd = X + 8 + 16 * int32_t(std::strlen(level));
        DrawGlyphText(level, X + 8, yOffset + (levelBeside ? 48 : 16));
        if (!(ScreenState == GameOverScreen && MissionGoal.type != GoalScore)) {
            const char* text;
            if ((ScreenState == BlocksFalling || ScreenState == Erasing) && ChainErased > 0)
                text = FormatText("%d*%d*%d*10", ChainErased, ChainFactor(), Level);
            else
                text = FormatText("%d", Score);
            // Kept clear of the level beside it and of the panel's left edge.
            DrawFittedRightAligned(text, X + 248, yOffset + 48, X + 248 - (levelBeside ? levelEnd + 16 : X + 8));
        }
    }
    if (GameMode != ScoreAttack) {
        if (MissionGoal.type != GoalScore) DrawGlyphText(MissionName(false), X + 8, yOffset + 16);
        DrawGoalLine(X, yOffset);
    }
}
}  // namespace

void DrawBlock(uint8_t kind, uint8_t colour, uint8_t frameFlag, int32_t x, int32_t y) {
    if (kind >= KindCount) return;  // no such picture on the sheet
    int v = ColourMode != 1 ? 0 : SheetCell * (colour + (PaletteSafe && colour != 0 ? SafePaletteRowShift : 0));
    MaskedFromSheet(BlockSheet, SheetCell * kind, SheetMaskY, SheetCell * kind, SheetImageY + v, SheetCell, SheetCell, x, y);
    if (frameFlag != 0)
        MaskedFromSheet(BlockSheet, SheetFrameMarkerX, SheetMaskY, SheetFrameMarkerX, SheetImageY, SheetCell, SheetCell, x, y);
}

int32_t StatusPanelWidth() { return WideLayout() ? WellWidth + 96 : WellWidth; }

ScreenRect PlayAreaRect(PlayArea area, int32_t yOffset) {
    const int32_t X = BoardOriginX, Y = BoardOriginY + yOffset;
    switch (area) {
        case AreaWell: return {X, Y, WellWidth, WellHeight};
        case AreaQueue: return {X + QueueX, Y, CellSize, WellHeight};
        case AreaSecondQueue: return {X + SecondQueueX, Y, CellSize, WellHeight};
        case AreaFishCount: return {FishCountPanel.x, FishCountPanel.y + yOffset, FishCountPanel.w, FishCountPanel.h};
        case AreaStatusPanel: return {X, StatusPanelY + yOffset, StatusPanelWidth(), StatusPanelHeight};
    }
    return {};
}

void DrawEmptyPlayFrames(bool fishCount) {
    AndFromTile(PlayAreaRect(AreaWell));
    DrawQueueFrames(0);
    if (fishCount) AndFromTile(PlayAreaRect(AreaFishCount));
    AndFromTile(PlayAreaRect(AreaStatusPanel));
}

void DrawPlayfield(int32_t yOffset) {
    const int32_t X = BoardOriginX, Y = BoardOriginY;
    const bool inPlay = ScreenState <= Linking;
    BlitGradient(0, 0, ScreenWidth, ScreenHeight, 0, 0, Rop::Copy);
    AndFromTile(PlayAreaRect(AreaWell, yOffset));
    DrawWellCells(X, Y + yOffset);
    if (ScreenState == PairFalling) DrawFallingPairHalves(X, Y);
    if (ScreenState == BlocksFalling) DrawFallingBlocks(X, Y);
    DrawQueue(X, Y + yOffset, yOffset);
    if (RandomQueueGame()) DrawFishCountPanel(yOffset);
    // In play the pieces above the well and below it are not shown.
    if (inPlay) {
        BlitGradient(0, 0, ScreenWidth, Y, 0, 0, Rop::Copy);
        BlitGradient(X, Y + WellHeight, QueueX + CellSize, 16, X, Y + WellHeight, Rop::Copy);
    }
    AndFromTile(PlayAreaRect(AreaStatusPanel, yOffset));
    DrawStatusTexts(X, yOffset);
    DrawFish();
    if (ScreenState == Linking)
        MaskedFromSheet(BlockSheet, SheetLinkSpriteX, SheetMaskY, SheetLinkSpriteX, SheetImageY, SheetCell, SheetCell,
                        X + int32_t(LinkSprite.x), Y + int32_t(LinkSprite.y));
    DrawSmallText(FormatText("FPS %d", FpsValue), 6, 468);
}
