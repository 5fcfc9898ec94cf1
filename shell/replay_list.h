// The replays list, opened with R from the records screen: the kept games
// newest first (date, mode, score or mission, length). Z watches the one
// pointed at in the window, X goes back to the records. While one plays,
// Right and Left step the speed through x1, x2 and x4, Enter pauses and X
// returns to the list; the game's state from before comes back.
#pragma once

inline constexpr int ReplayListRows = 7;

// Called before the screen handlers: true when the list took the frame.
bool ReplayListFrame();
// How many of the game's frames this frame runs: 1 unless a replay from the
// list is watched (0 while paused, 2 or 4 sped up).
int WatchedFramesThisFrame();
// After the game's frames: a watched replay that has played out or was left
// with X ends, and the list comes back.
void FinishWatchedFrame();
