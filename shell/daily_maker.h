// The day's mission is made by the solver, whose layer lies above the
// shell: a program that offers DAILY hands its maker over before the loop
// starts (the game's entry and the headless runner do). Without one, DAILY
// says the mission cannot be made.
#pragma once
#include <functional>

#include "mission/mission_file.h"
#include "platform/platform_os.h"

// Fills `bytes` with the day's mission and says true; false when no board
// passed or `goOn` (asked between boards) said stop.
using DayMissionMaker = bool (*)(const CalendarDay& day, MissionBytes& bytes, const std::function<bool()>& goOn);
extern DayMissionMaker DailyMaker;

// Boards the last making tried (the runner's trace, tests).
extern int DailyBoardsTried;
