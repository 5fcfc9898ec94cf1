#include "shell/undo.h"

#include <cstring>

#include "rules/game_events.h"
#include "rules/game_mode.h"
#include "rules/screen_state.h"
#include "shell/program_state.h"

constinit uint8_t UndoWaiting;
constinit uint8_t UndoDepth;
constinit uint8_t UndoOldest;
constinit uint8_t RetrySaved;
constinit uint16_t UndoCount;
constinit uint16_t RetryCount;
constinit uint8_t RetryEntering;

namespace {
ProgramStateImage pairEntries[UndoPairs];
ProgramStateImage retryPoint;

// What an undo or a retry leaves as it is: the pause flag (the pause closes itself),
// the quit, the frame pacing and count, the toggles, the input of this
// frame (the keyboard's too), the records, the other screens' state (the
// options screen's included) and this module's own.
#define UNDO_KEEPS(X)                                                                                       \
    X(PauseFlag) MESSAGE_PUMP_STATE(X) MAIN_LOOP_STATE(X) PLAYFIELD_STATE(X) INPUT_STATE(X) KEYBOARD_STATE(X) \
    RECORDS_STATE(X) TITLE_STATE(X) MISSION_SELECT_STATE(X) PAUSE_STATE(X) GAME_OVER_STATE(X) NOTICE_STATE(X) \
    HELP_STATE(X) OPTIONS_STATE(X) DAILY_STATE(X) UNDO_STATE(X)
#define TESSMAR_KEPT_SIZE(v) +sizeof(v)
constexpr size_t KeptBytes = 0 UNDO_KEEPS(TESSMAR_KEPT_SIZE);
#undef TESSMAR_KEPT_SIZE

void PutBack(const ProgramStateImage& image) {
    uint8_t kept[KeptBytes];
    uint8_t* at = kept;
#define TESSMAR_KEEP(v) std::memcpy(at, &(v), sizeof(v)), at += sizeof(v);
    UNDO_KEEPS(TESSMAR_KEEP)
#undef TESSMAR_KEEP
    RestoreProgramState(image);
    at = kept;
#define TESSMAR_RETURN(v) std::memcpy(&(v), at, sizeof(v)), at += sizeof(v);
    UNDO_KEEPS(TESSMAR_RETURN)
#undef TESSMAR_RETURN
}

ProgramStateImage& Newest() { return pairEntries[(UndoOldest + UndoDepth - 1) % UndoPairs]; }
}  // namespace

void SaveRetryPoint() {
    if (!RetryEntering) UndoCount = RetryCount = 0;
    RetryEntering = 0;
    ForgetUndo();
    SaveProgramState(retryPoint);
    RetrySaved = 1;
}

void ForgetUndo() {
    UndoWaiting = 0;
    UndoDepth = 0;
    UndoOldest = 0;
}

void SavePairEntry() {
    if (GameMode == ScoreAttack) return;
    if (UndoDepth < UndoPairs) ++UndoDepth;
    else UndoOldest = uint8_t((UndoOldest + 1) % UndoPairs);
    SaveProgramState(Newest());
}

// Waiting right after an undo, the game is at the newest entry already: the
// press goes one pair further back, down to the first.
bool UndoToPairEntry() {
    if (GameMode == ScoreAttack || UndoDepth == 0) return false;
    if (UndoWaiting && UndoDepth > 1) --UndoDepth;
    PutBack(Newest());
    UndoWaiting = 1;
    if (UndoCount < UINT16_MAX) ++UndoCount;
    PlayGameSound(GameSound::Decide);
    return true;
}

// The tune stops; the board entry starts it again as it did the first time.
bool RetryMission() {
    if (GameMode == ScoreAttack || !RetrySaved) return false;
    PutBack(retryPoint);
    ForgetUndo();
    if (RetryCount < UINT16_MAX) ++RetryCount;
    RetryEntering = 1;
    StopTune();
    PlayGameSound(GameSound::Decide);
    return true;
}

int UndosTaken() { return UndoCount; }
int RetriesTaken() { return RetryCount; }
