// Game over: the board falls away; in score attack the final score flies
// into the best-score table and the player enters a name.
#pragma once
#include <cstdint>
#include <optional>

#include "platform/platform_os.h"

enum GameOverPhaseValue : uint8_t { PhaseFall = 0, PhaseFly = 1, PhaseNameEntry = 2 };

// The date the D key writes: a replay's while one plays, else today's.
extern std::optional<CalendarDay> NameEntryDay;

extern uint8_t GameOverPhase;
extern int32_t GameOverTimer;  // curtain width while falling, blink counter in name entry
extern float BoardFallY, BoardFallSpeed;
extern float ScoreFlyY, ScoreFlySpeedY, ScoreFlyX, ScoreFlySpeedX;
extern int32_t NewPlace;         // 1..5, the place the new score takes
extern int32_t NameCursor;       // 1..8, the column being edited; kept from entry to entry
extern int32_t NameRepeatTimer;  // auto-repeat of Up and Down; 0 = ready
extern uint8_t LostCursor;       // a lost numbered mission: 0 RETRY, 1 TITLE pointed at
extern uint8_t LostCursorMoved;  // Up or Down has moved it: the screen waits for Z

// The first place 1..5 whose score is below `score` (unsigned), or 0.
int32_t FindNewPlace(uint32_t score);

// Moves places `place`..4 down one (the fifth is lost) and puts `score` with
// the name "A@@@@@@@" at `place`; the name field's last 3 bytes keep their bytes.
void InsertNewEntry(int32_t place, uint32_t score);

// Called when the program quits: a score-attack score that has earned a place
// in the table and still waits for its name is entered and the records file
// written, with the name as entered so far.
void SavePendingRecord();

// This module's variables in the program state list (shell/program_state.h).
#define GAME_OVER_STATE(X) X(GameOverPhase) X(GameOverTimer) X(BoardFallY) X(BoardFallSpeed) X(ScoreFlyY) \
    X(ScoreFlySpeedY) X(ScoreFlyX) X(ScoreFlySpeedX) X(NewPlace) X(NameCursor) X(NameRepeatTimer) X(LostCursor) \
    X(LostCursorMoved)
