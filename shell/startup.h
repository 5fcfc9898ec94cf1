// Start-up and shutdown: surfaces, backgrounds, sheets, sounds, tune, board
// walls, rope sides, records and the start directory.
#pragma once
#include <cstdint>
#include <optional>
#include <string>

#include "draw/screen_layout.h"
#include "draw/surface.h"
#include "shell/sounds.h"

extern Surface BackBuffer, GradientSurface, TileSurface, BlockSheet, FontSheet, LogoSheet;
extern std::string StartDirectory;

// The folder holding snd/ and mission/. Empty (the default): the folder the
// game runs in, relative paths as they are.
extern std::string DataDirectory;
std::string DataPath(const char* name);

// When set, start-up seeds rand with this instead of the clock (headless runs).
extern std::optional<unsigned> FixedSeed;

void DrawGradient(Surface& s);
void DrawTiledBackground(Surface& s, const Surface& blockSheet);
void LoadSoundImage(SoundImage& image, const std::string& path);

void Startup();
void Shutdown();
void ResetStartupState();
