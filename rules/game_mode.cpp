#include "rules/game_mode.h"

constinit MissionGoalRecord MissionGoal{};
constinit GameModeValue GameMode;
constinit uint8_t MissionNumber = 1;
