// Everything the game reads and writes during a game, copied out and back in
// whole, so a search can try a placement and return to where it was; and a
// key of a resting board for recognising positions met before.
#pragma once
#include <cstdint>
#include <functional>
#include <optional>

#include "shell/program_state.h"
#include "tools/solver/placement.h"

struct PlaySnapshot {
    ProgramStateImage state;
};

void SavePlay(PlaySnapshot& s);
void RestorePlay(const PlaySnapshot& s);

// A 64-bit key of the position between two pairs: the kinds and frame flags
// of the well, the pairs used and the goal progress; with `withLabels` also
// which blocks share a network label (loop areas are counted by label).
uint64_t PositionKey(bool withLabels);

// The greedy choice: each placement of the falling pair that keeps both
// halves is played from the position saved in `at` and its turn valued by
// `rate`, which runs the turn on as far as it needs. The best (the first of
// equals) and its value; no placement when none could be played. The game is
// left where the last try left it.
struct GreedyChoice {
    std::optional<Placement> placement;
    long value = 0;
};
GreedyChoice BestPlacement(const PlaySnapshot& at, const std::function<long()>& rate);

// Blocks resting in the well, the hidden row above it included.
int BlocksInWell();
