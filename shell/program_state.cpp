#include "shell/program_state.h"

#include "mission/mission_goal.h"
#include "rules/board.h"
#include "screens/game_mode.h"
#include "screens/records.h"
#include "shell/files.h"
#include "shell/input.h"
#include "shell/main_loop.h"
#include "shell/startup.h"

void ResetProgramState() {
    ResetMainLoopState();
    ResetInputState();
    ResetStartupState();
    ResetBoardState();
    ResetRecordsState();
    ResetMissionGoalState();
    ResetGameModeState();
    FilesWritten.clear();
}
