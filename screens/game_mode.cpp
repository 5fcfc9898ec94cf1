#include "screens/game_mode.h"

uint8_t GameMode;
uint8_t MissionNumber = 1;

void ResetGameModeState() {
    GameMode = ScoreAttack;
    MissionNumber = 1;
}
