#include "shell/program_state.h"

#include "draw/screen_layout.h"
#include "mission/mission_goal.h"
#include "rules/board.h"
#include "rules/falling_pair.h"
#include "rules/fish.h"
#include "rules/link.h"
#include "rules/loops.h"
#include "rules/queue.h"
#include "rules/scoring.h"
#include "rules/settle.h"
#include "screens/board_entry.h"
#include "screens/game_over.h"
#include "screens/mission_clear.h"
#include "screens/mission_select.h"
#include "screens/pause.h"
#include "shell/records_file.h"
#include "screens/title.h"
#include "shell/files.h"
#include "shell/input.h"
#include "shell/main_loop.h"
#include "shell/startup.h"

void ResetProgramState() {
    ResetMainLoopState();
    ResetInputState();
    ResetStartupState();
    ResetBoardState();
    ResetScoringState();
    ResetFishState();
    ResetScreenLayoutState();
    ResetQueueState();
    ResetFallingPairState();
    ResetSettleState();
    ResetLinkState();
    ResetRecordsState();
    ResetMissionGoalState();
    ResetGameModeState();
    ResetMissionSelectState();
    ResetMissionClearState();
    ResetTitleState();
    ResetBoardEntryState();
    ResetPauseState();
    ResetGameOverState();
    FilesWritten.clear();
}
