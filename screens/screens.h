// Per-frame handlers of the screens, called by the main loop (play: shell/play_frame.h).
#pragma once

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
