// Helpers shared by the test programs.
#pragma once
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "shell/sound_choice.h"

// A fresh program: every program-wide variable at its start value, the
// headless platform reset. Tests that need the start-up call StartInFolder.
void FreshProgram();

// A new empty folder under the build tree, made current; returns its path.
std::string MakeTempFolder(const std::string& name);

// FreshProgram, then enter `folder` and run the start-up as the game does.
void StartInFolder(const std::string& folder, SoundSet sounds = SoundSet::Classic);

// What the frame so far lets the player hear of the full set's play sounds
// (the names of the images started), the waiting sound played.
std::vector<std::string> HeardInFullSet();

// Runs whole frames of the main loop.
void RunFrames(int count);

// True when every wall and floor cell still holds Wall.
bool WallsIntact();
