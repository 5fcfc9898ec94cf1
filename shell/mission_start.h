// Starting straight on one mission file, skipping the title: the --mission
// option of the game and of the headless runner.
#pragma once
#include <string>

// True when `path` names a regular file of at least 294 bytes. Otherwise one
// line "PROGRAM: PATH: reason" goes to stderr and the caller exits with 2.
bool CheckMissionFile(const char* program, const std::string& path);

// After StartProgram: the state right after the file was picked under
// "EDIT GAME" and the pause after the pick: the next frame is the first
// frame of the mission's board entry.
void StartMissionGame(const std::string& path);

// For a game started by StartMissionGame: true once it has left its clear
// or game-over screen (the game would now show the title).
bool MissionGameEnded();
