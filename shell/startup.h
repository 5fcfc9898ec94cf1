// Start-up and shutdown: surfaces, backgrounds, sheets, sounds, tune, board
// walls, rope sides, records and the start directory.
#pragma once
#include <optional>
#include <string>

#include "platform/platform.h"

extern SoundImage SoundMove, SoundTurn, SoundCursor, SoundDecide;

// When set, start-up seeds rand with this instead of the clock (headless runs).
extern std::optional<unsigned> FixedSeed;

void LoadSoundImage(SoundImage& image, const std::string& path);

void Startup();
void Shutdown();
void ResetStartupState();
