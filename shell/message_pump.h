// The window's events and what they mean to the game: waiting for the
// frame's end while the window keeps answering, the loop's rest while
// nothing moves, a quit request, and the pause a focus loss owes.
#pragma once
#include <cstdint>

#include "platform/platform.h"

extern uint8_t QuitFlag;  // the program ends after this frame

// What an event means to the game: a quit request sets QuitFlag; a focus
// loss or the pad being unplugged owes a pause. False for None.
bool NoteEvent(PlatformEvent event);

// Takes window events for waitMs milliseconds (at least one pass), sleeping
// between them; a quit request sets QuitFlag and ends the wait. (Declared
// for the screens in rules/game_events.h.)
void PumpMessages(uint32_t waitMs);

// Takes window events until the first one comes or waitMs have gone by;
// true when one came (or a quit request, which sets QuitFlag).
bool WaitForEvent(uint32_t waitMs);

// At the keyboard's sample: true when the pause owed to a focus loss (or an
// unplugged pad) is paid now, as one press of Enter. It is paid in play
// unpaused, kept through the board's entry unless the focus came back, and
// dropped on the other screens, where Enter would finish a name or resume.
// Events only note what happened; what it means is decided here, at the
// start of a frame, because events taken within a frame (those queued while
// the open-file dialog was up) would be judged by a screen state only half
// set.
bool TakeOwedPause();
// No pause owed (tests, a fresh start).
void ForgetOwedPause();

// This module's variables in the program state list (shell/program_state.h).
#define MESSAGE_PUMP_STATE(X) X(QuitFlag)
