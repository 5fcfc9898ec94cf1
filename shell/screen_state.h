// Which screen or play sub-state runs this frame; the main loop calls its handler.
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

extern uint32_t ScreenState;  // owned by the main loop
