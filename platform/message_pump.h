// Waiting while the window keeps answering: the main loop's wait for the
// frame's end, its rest while nothing moves, and the screens' short pauses
// after a choice.
#pragma once
#include <cstdint>

// Takes window events for waitMs milliseconds (at least one pass), sleeping
// between them; a quit request sets QuitFlag and ends the wait.
void PumpMessages(uint32_t waitMs);

// Takes window events until the first one comes or waitMs have gone by;
// true when one came (or a quit request, which sets QuitFlag).
bool WaitForEvent(uint32_t waitMs);
