// Where a falling pair can come to rest: every landing the play rules allow
// by any keys held frame after frame (sideways moves, turns with their shifts
// and half-turn fallbacks, drops, and all of these mixed while the pair
// falls, also under overhangs), found by running the real falling-pair step;
// and running the frames after a landing until the next pair has had its
// first frame.
#pragma once
#include <cstdint>
#include <vector>

#include "platform/platform.h"

// The held keys of every frame played, in order.
using KeyLog = std::vector<uint32_t>;

// One way to land the falling pair: the keys of every frame from the frame
// after the pair's first to the frame it lands, and the cells its halves
// came to rest in (a half outside columns 0 to 7 or in row -2 is lost).
struct Placement {
    KeyLog keys;
    int8_t col1 = 0, row1 = 0, col2 = 0, row2 = 0;
};

// True when both halves stay in the well (a turn's shift can push a half
// into a wall, and a half above row -1 is lost). Plain players never throw a
// half away.
bool KeepsBothHalves(const Placement& p);

// One frame of the play rules with these keys held: input sampled as the
// main loop does, then the handler of the current play sub-state.
void RuleFrame(uint32_t keys, KeyLog* log);

// Every distinct landing of the falling pair (whose first frame has been
// played), one per pair of resting cells, each with the fewest frames found.
// The game's state is left as it was. `exhaustive` tries all 32 sets of the
// five keys in every frame and tells apart every value of every timer: slow,
// for checking the quick search, which tries only the keys the rules can
// react to and keeps, of two otherwise equal moments, the one with more time
// left before the next drop.
std::vector<Placement> FindPlacements(bool exhaustive = false);

// FindPlacements, remembered: positions with the same cells filled (pieces
// swapped, placed in another order) share their landings, which do not
// depend on the kinds. The reference lasts until the next call.
const std::vector<Placement>& KnownPlacements();

// Plays the placement's keys. True when the pair landed in the last frame.
bool PlayPlacement(const Placement& p, KeyLog* log);

enum class Outcome { NextPair, Cleared, Lost };

// After a landing: frames without keys through falling, erasing and the next
// pair's entry, and that pair's first frame, in which the game tests for a
// blocked entry, the pieces limit and the goal.
Outcome RunToNextPair(KeyLog* log);
