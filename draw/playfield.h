// The picture of a game in progress: well, pieces, queue, panels, fish.
#pragma once
#include <cstdint>

// What the picture shows besides the game: the colour and grid toggles (C
// and G, switched by the main loop) and the frame rate it counts.
extern uint8_t ColourMode, GridMode;
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

// This module's variables in the program state list (shell/program_state.h).
#define PLAYFIELD_STATE(X) X(ColourMode) X(GridMode) X(FpsValue)
