// Shared by the fuzz targets: a scratch folder of their own, files written
// into it, and the game started afresh for each input.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

// Makes and enters (once) a fresh folder for `name`, on tmpfs where there is
// one, removed when the process exits; returns its path.
std::string EnterScratchFolder(const char* name);

// Writes `size` bytes to `path` (relative to the scratch folder), replacing it.
void WriteScratchFile(const char* path, const uint8_t* bytes, size_t size);

// False on the frames whose pixels the fuzzer leaves out (the libFuzzer build
// only; the corpus replay of the test suite draws every frame).
extern bool FuzzDrawPixels;
