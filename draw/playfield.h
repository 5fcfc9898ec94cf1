// The picture of a game in progress: well, pieces, queue, panels, fish.
#pragma once
#include <cstdint>

// What the picture shows besides the game: the colour and grid toggles (C
// and G, switched by the main loop) and the frame rate it counts.
extern uint8_t ColourMode, GridMode;
// The colour mode's safe palette (a setting of the player's, not of play):
// network colours told apart with any one kind of cone missing.
extern bool PaletteSafe;
// Loops about to be erased hatched instead of blinking, "PAUSE" shown
// without blinking (a setting of the player's; the timing stays).
extern bool FlashingSteady;
extern uint32_t FpsValue;

// Draws one block from the block sheet at (x, y): mask, image (colour row
// when ColourMode is on), frame marker.
void DrawBlock(uint8_t kind, uint8_t colour, uint8_t frameFlag, int32_t x, int32_t y);

// Composes the whole play picture into the back buffer. yOffset moves the
// well, the queue and the panels down (negative: up); the gradient, the
// moving pieces, the fish and the frame rate stay where they are.
void DrawPlayfield(int32_t yOffset);

// The status panel above the well: wider in the fixed-queue layout, whose
// two queue columns it spans.
int32_t StatusPanelWidth();

// The play screen's frames of tiled background in the current layout (the
// well's place, BoardOriginX and BoardOriginY), moved down by yOffset as
// DrawPlayfield moves them; the second queue column only in the fixed-queue
// layout, the fish count only in random-queue games.
struct ScreenRect {
    int32_t x, y, w, h;
};
enum PlayArea : uint8_t { AreaWell, AreaQueue, AreaSecondQueue, AreaFishCount, AreaStatusPanel };
ScreenRect PlayAreaRect(PlayArea area, int32_t yOffset = 0);

// The frames as they are before anything is drawn in them: the well, the
// queue's columns and the status panel, and the fish count when `fishCount`.
void DrawEmptyPlayFrames(bool fishCount);

// This module's variables in the program state list (shell/program_state.h).
#define PLAYFIELD_STATE(X) X(ColourMode) X(GridMode) X(FpsValue)
