#include "mission/mission_goal.h"

constinit MissionGoalRecord MissionGoal{};
constinit GameModeValue GameMode;
constinit uint8_t MissionNumber = 1;
