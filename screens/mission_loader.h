// The game's mission loader: a 294-byte mission file into the board, the
// coming queue and the goal, then one analysing settle of the loaded board.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// Reads `path` (relative paths against the current directory): its first
// 294 bytes. A missing, short or non-regular file loads nothing, says so on
// stderr and gives false, so that no game starts from it. Never creates a
// file. Callers set GameMode and ScreenState afterwards.
bool LoadMissionFile(const std::string& path);
// The bytes of the last mission loaded, from a file or from memory (empty
// before any).
const std::vector<uint8_t>& LastMissionFile();

// The same from bytes already in memory (the fuzzer and tests use it); a
// short image fills as far as it reaches and the rest keeps its value.
void LoadMissionBytes(const uint8_t* bytes, size_t size);

// "mission/NN.msn" under the data folder (by default the start directory).
std::string NumberedMissionPath(int number);
