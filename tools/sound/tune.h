// The background tune: a Standard MIDI File written from the score in tune.cpp.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

// The whole file, format 1: a tempo track, then melody, harmony, bass,
// strings and drums. It lasts a whole number of bars so it loops cleanly.
std::vector<uint8_t> MakeTune();

// The same file with the notes of every channel but `channel` left out (its
// set-up kept), for measuring one part of the mix alone.
std::vector<uint8_t> MakeTuneSolo(int channel);

bool WriteTune(const std::string& path, const std::vector<uint8_t>& bytes);
