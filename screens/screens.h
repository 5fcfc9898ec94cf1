// Per-frame handlers of every ScreenState, called by the main loop.
#pragma once

void PlayFrame();           // states 0..4
void StepPlayState();       // the rules step of the play state, as PlayFrame runs it
void PauseScreen();         // states 0..4 while paused
void GameOverFrame();       // 5
void TitleFrame();          // 6
void MissionSelectFrame();  // 7
void MissionClearFrame();   // 8
void RecordsFrame();        // 9
void BoardEntryFrame();     // 10

// The menus' background: gradient, fish, then the tile ANDed over it.
void DrawMenuBackground();
