#include "mission/mission_goal.h"

MissionGoalRecord MissionGoal;
uint8_t GameMode;
uint8_t MissionNumber = 1;
