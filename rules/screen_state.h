// Which screen or play sub-state runs this frame (the main loop calls its
// handler), and the pause flag every screen may set.
#pragma once
#include <cstdint>

enum ScreenStateValue : uint32_t {
    PairFalling = 0,
    BlocksFalling = 1,
    Erasing = 2,
    NextPair = 3,
    Linking = 4,
    GameOverScreen = 5,
    TitleScreen = 6,
    MissionSelectScreen = 7,
    MissionClearScreen = 8,
    RecordsScreen = 9,
    BoardEntryScreen = 10,
};

extern ScreenStateValue ScreenState;
extern uint8_t PauseFlag;  // play paused (Enter, a focus loss)

// This module's variables in the program state list (shell/program_state.h).
#define SCREEN_STATE_STATE(X) X(ScreenState) X(PauseFlag)
