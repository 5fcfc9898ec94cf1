// The title menu: logo, four items and the pointer.
#pragma once
#include <cstdint>

enum TitleItem : int32_t { ItemScoreAttack = 0, ItemMissionMode = 1, ItemRecord = 2, ItemQuit = 3 };

extern int32_t TitleCursor;  // the highlighted item; kept from game to game

// What "SCORE ATTACK" sets up before board entry: mode, well position and a
// fresh queue of five random pairs without frame blocks.
void SetUpScoreAttack();

// This module's variables in the program state list (shell/program_state.h).
#define TITLE_STATE(X) X(TitleCursor)
