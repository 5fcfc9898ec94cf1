// The game's mission loader: a 294-byte mission file into the board, the
// coming queue and the goal, then one analysing settle of the loaded board.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

// Reads `path` (relative paths against the current directory). A missing,
// unreadable or non-regular file reads as nothing and a short one as far as
// it reaches; whatever is not read keeps its previous value. Never creates a
// file. Callers set GameMode and ScreenState afterwards.
void LoadMissionFile(const std::string& path);

// The same from bytes already in memory (the fuzzer and tests use it).
void LoadMissionBytes(const uint8_t* bytes, size_t size);

// "mission/NN.msn" under the data folder (by default the start directory).
std::string NumberedMissionPath(int number);
