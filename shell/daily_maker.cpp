// The making of the day's mission inside the game. The solver plays on the
// game's own state, so the game's state is saved before and put back after;
// between two boards the game's state is back while the window is served:
// its events taken (a quit stops the making) and, every ProgressEveryMs,
// the mission select shown with a mark of how far it got.
#include "shell/daily_maker.h"

#include "platform/platform.h"
#include "rules/game_events.h"
#include "screens/mission_select.h"
#include "shell/message_pump.h"
#include "shell/program_state.h"
#include "shell/sound_choice.h"

DayMissionMaker DailyMaker = nullptr;
int DailyBoardsTried = 0;

namespace {
constexpr uint32_t ProgressEveryMs = 40;
ProgramStateImage gameState;
uint32_t lastShown = 0;

void ShowProgress() {
    DrawMissionSelectMaking(DailyBoardsTried);
    lastShown = PlatformTicks();
}

// Between boards: the game's state back while its window is served.
bool BetweenBoards() {
    RestoreProgramState(gameState);
    ++DailyBoardsTried;
    while (!QuitFlag && NoteEvent(PlatformTakeEvent())) {
    }
    if (PlatformTicks() - lastShown >= ProgressEveryMs) ShowProgress();
    bool goOn = !QuitFlag && !PlatformKeyDown(KeyEscape);
    SaveProgramState(gameState);
    return goOn;
}
}  // namespace

bool MakeDaysMission(int year, int month, int dayOfMonth, MissionBytes& bytes) {
    const CalendarDay day{year, month, dayOfMonth};
    DailyBoardsTried = 0;
    if (DailyMaker == nullptr) return false;
    SaveProgramState(gameState);
    ShowProgress();
    bool made = false;
    {
        UnheardPlay unheard;
        made = DailyMaker(day, bytes, BetweenBoards);
    }
    RestoreProgramState(gameState);
    return made;
}
