// A simple player for the missions with random pairs (score and fish goals):
// for every pair it plays each placement out on a copy of the game up to the
// end of the turn and takes the one that erases and catches most while
// keeping the well low. It plays the real game, frame by frame, from the
// title on.
#pragma once
#include <string>

#include "tools/solver/placement.h"

struct PlayerRun {
    bool cleared = false;
    int playFrames = 0;  // frames from the first frame of play to the end
    int pairs = 0;
    KeyLog keys;         // every frame from the title on: a headless runner script
};

// Starts the game in `folder` (its mission/ and rcd.dat, which must open
// mission `number`) with rand seeded by `seed`, as `tessmar-headless --seed`
// does, and plays mission `number` for at most `maxPlayFrames`.
PlayerRun PlayWithSimplePlayer(const std::string& folder, int number, unsigned seed, int maxPlayFrames);

// The placement the player picks for the falling pair (whose first frame has
// been played). The game's state is left as it was.
Placement ChoosePlacement();
