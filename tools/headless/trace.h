// The per-frame JSON line of the headless runner's trace.
#pragma once
#include <string>

// Program-wide values under their own names, then the frame's sounds, tune
// commands and files written. With `withBoard`, also the board's kinds.
std::string TraceObject(int frame, bool withBoard);
