// The recording of every game played in the window: what the game sampled
// each frame from the game's start to its return to the menus, kept as a
// replay file in the replays folder.
#pragma once
#include <string>

#include "shell/replay_file.h"

// Games are recorded only when this is set (the game in its window; never
// the headless runner nor a replay being watched).
extern bool RecordingReplays;
// ${XDG_DATA_HOME:-~/.local/share}/tessmar/replays; empty: none kept.
extern std::string ReplaysFolder;
// Replays kept besides those of the best five and of first clears.
inline constexpr size_t LatestReplaysKept = 20;

// A game's screens (not the title, mission select or records).
bool InGameScreen();

// At the start of each frame: begins a recording when a game has begun,
// writes it out when the game is over.
void WatchGameForReplay();
// What SampleInput sampled this frame.
void RecordSampledFrame(const ReplaySample& sample);
// The open-file dialog's answer this frame.
void RecordDialogAnswer(const std::string& answer);
// At the end of the program: a game left by quitting is kept too.
void FinishReplayRecording();
// Drops the recording under way, writing nothing (tests, tools).
void ForgetReplayRecording();

// The replay under way (tests).
const Replay& RecordedReplay();

// Which files of the folder to remove: all but the newest LatestReplaysKept,
// the newest one of each score in the best five, the first clear of each
// mission. `names` are sorted oldest first (their names start with the time).
std::vector<std::string> ReplaysToPrune(const std::vector<std::string>& names);
// The replay file's name for a game that began at `startTime` (local
// "YYYYMMDD-HHMMSS").
std::string ReplayFileName(const std::string& startTime, const Replay& replay, int score, bool cleared);
