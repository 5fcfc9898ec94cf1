// Per-frame handlers of the screens, called by the main loop (play: shell/play_frame.h).
#pragma once
#include "draw/surfaces.h"
#include "platform/platform.h"
#include "rules/input_words.h"

// The back buffer handed to the window, with the areas drawn anew since
// the last time when its drawing is held (draw/held_drawing.h).
void ShowBackBuffer();

// The menus' confirm: Z or the pad's bottom button, and Enter or the pad's
// Start as well (in play Enter pauses instead).
inline bool ConfirmPressed() { return Button1Pressed || (KeyPressed & BitEnter) != 0; }

void PauseScreen();         // states 0..4 while paused
void GameOverFrame();       // 5
void TitleFrame();          // 6
void MissionSelectFrame();  // 7
void MissionClearFrame();   // 8
void RecordsFrame();        // 9
void BoardEntryFrame();     // 10

// The menus' background: gradient, fish, then the tile ANDed over it.
void DrawMenuBackground();
// The title logo over the upper half of the menus.
void DrawLogo();
