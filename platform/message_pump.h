// Waiting while the window keeps answering: the main loop's wait for the
// frame's end, and the screens' short pauses after a choice.
#pragma once
#include <cstdint>

// Takes window events for waitMs milliseconds (at least one pass); a quit
// request sets QuitFlag and ends the wait.
void PumpMessages(uint32_t waitMs);
