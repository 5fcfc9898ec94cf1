// Input scripts for the headless runner: the menu keys from the title to a
// mission's first frame of play, and logged frames written as
// "N KEY..." lines.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "tools/solver/placement.h"

struct HeldKeys {
    int frames;
    uint32_t keys;
};

// From the title: "MISSION MODE", the mission number raised to `number`
// (missions up to it must be open: cleared ones recorded in rcd.dat),
// "NORMAL GAME", and the 79 frames of board entry. The next frame is the
// first frame of play.
std::vector<HeldKeys> MenuToMission(int number);

// A game started with --mission: the 79 frames of board entry, nothing held.
// The next frame is the first frame of play.
std::vector<HeldKeys> BoardEntry();

// From the title: "MISSION MODE", "EDIT GAME", `path` picked in the file
// dialog, and the board entry; script lines, the pick among them.
std::string MenuToEditGame(const std::string& path);

// "3 Left Z" style names of the keys in a bit set.
std::string KeyNames(uint32_t keys);

// Script lines for held keys, runs of equal frames joined.
std::string ScriptLines(const std::vector<HeldKeys>& steps);
std::string ScriptLines(const KeyLog& log);
