// The keys from the title to a mission's first frame of play, and logged
// frames, as input scripts for the headless runner.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "shell/input_script.h"
#include "tools/solver/placement.h"

// From the title: "MISSION MODE", the mission number raised to `number`
// (missions up to it must be open: cleared ones recorded in rcd.dat),
// "NORMAL GAME", and the frames of board entry. The next frame is the
// first frame of play.
std::vector<HeldKeys> MenuToMission(int number);

// A game started with --mission: the frames of board entry, nothing held.
// The next frame is the first frame of play.
std::vector<HeldKeys> BoardEntry();

// From the title: "MISSION MODE", "EDIT GAME", `path` picked in the file
// dialog, and the board entry; script lines, the pick among them.
std::string MenuToEditGame(const std::string& path);

// Script lines for every frame of a log, runs of equal keys joined.
std::string ScriptLines(const KeyLog& log);
