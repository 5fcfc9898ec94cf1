// What kind of game is being played, and which numbered mission.
#pragma once
#include <cstdint>

enum GameModeValue : uint8_t { ScoreAttack = 0, NormalGame = 1, EditGame = 2 };

extern uint8_t GameMode;       // set when a game is started from the title or mission select
extern uint8_t MissionNumber;  // 1..30, the current numbered mission

void ResetGameModeState();
