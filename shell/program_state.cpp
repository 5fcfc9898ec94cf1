#include "shell/program_state.h"

#include "mission/mission_goal.h"
#include "rules/board.h"
#include "rules/fish.h"
#include "rules/loops.h"
#include "rules/scoring.h"
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
    ResetLoopsState();
    ResetScoringState();
    ResetFishState();
    ResetRecordsState();
    ResetMissionGoalState();
    ResetGameModeState();
    FilesWritten.clear();
}
