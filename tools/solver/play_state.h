// Everything the game reads and writes during a game, copied out and back in
// whole, so a search can try a placement and return to where it was; and a
// key of a resting board for recognising positions met before.
#pragma once
#include <cstdint>

#include "shell/program_state.h"

struct PlaySnapshot {
    ProgramStateImage state;
    uint32_t headlessKeys;  // the keys the headless platform holds down
};

void SavePlay(PlaySnapshot& s);
void RestorePlay(const PlaySnapshot& s);

// A 64-bit key of the position between two pairs: the kinds and frame flags
// of the well, the pairs used and the goal progress; with `withLabels` also
// which blocks share a network label (loop areas are counted by label).
uint64_t PositionKey(bool withLabels);

// Blocks resting in the well, the hidden row above it included.
int BlocksInWell();
