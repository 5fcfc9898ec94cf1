// Mission select: a numbered mission ("NORMAL GAME"), any mission file
// picked in the open-file dialog ("EDIT GAME"), or the day's mission
// ("DAILY", screens/daily.h).
#pragma once
#include <cstdint>
#include <string>

extern int32_t MissionCursor;       // 0 "NORMAL GAME", 1 "EDIT GAME", 2 "DAILY"
extern int32_t MissionRepeatTimer;  // Left/Right auto-repeat, 0 = ready
extern int32_t MissionBlinkTimer;   // 0..39, arrows shown below 20

inline constexpr int MissionCount = 30;
inline constexpr int MissionRepeatFrames = 6;
inline constexpr uint32_t PickedFilePauseMs = 500;

// Starts the mission file chosen under EDIT GAME (in the dialog or in the
// pad's list) after the pause the choice makes; false, with the notice
// shown, when it cannot be read.
bool StartPickedMission(const std::string& path);

// The highest numbered mission that may be chosen: five beyond those
// cleared, at most 30.
int HighestOpenMission();

// The screen's picture; while the day's mission is being made, its DAILY
// line shows how many boards have been tried instead of the day.
void DrawMissionSelectMaking(int boardsTried);

// This module's variables in the program state list (shell/program_state.h).
#define MISSION_SELECT_STATE(X) X(MissionCursor) X(MissionRepeatTimer) X(MissionBlinkTimer)
