#include "mission/mission_goal.h"

MissionGoalRecord MissionGoal;

void ResetMissionGoalState() { MissionGoal = MissionGoalRecord{}; }
