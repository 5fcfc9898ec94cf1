// Playing one pair the way a player would: frames of the real play rules
// driven by held keys, steering the pair from its entry to an orientation and
// column and then holding Down until it lands; and running the frames after
// a landing until the next pair has had its first frame.
#pragma once
#include <cstdint>
#include <vector>

#include "shell/platform.h"

inline constexpr uint32_t KeyBit(Key k) { return 1u << k; }

// How the pair is brought to its place: turned first and then moved, moved
// first and then turned, or laid flat to pass over a stack, moved, and then
// turned (a pair standing upright cannot pass a stack that reaches row 0).
enum class Route : uint8_t { TurnFirst, MoveFirst, FlatOver };
inline constexpr Route Routes[] = {Route::TurnFirst, Route::MoveFirst, Route::FlatOver};

// Where the pair is steered before it is dropped: the orientation of its
// second half (0 right, 1 below, 2 left, 3 above) and the column of its first
// half.
struct Placement {
    uint8_t orientation = 1;
    int8_t column = 4;
    Route route = Route::TurnFirst;
};

// The held keys of every frame played, in order, when one is given.
using KeyLog = std::vector<uint32_t>;

// One frame of the play rules with these keys held: input sampled as the
// main loop does, then the handler of the current play sub-state.
void RuleFrame(uint32_t keys, KeyLog* log);

// The keys to hold in this frame to bring the falling pair toward `p`, and
// whether it is there already (then nothing is held and the pair may drop).
uint32_t SteerKeys(const Placement& p, bool& arrived);

// Steers the falling pair to `p` and drops it. False when the pair could not
// be brought there (the well in the way, or a turn refused); the state is
// then somewhere on the way and must be restored by the caller.
bool PlayPlacement(const Placement& p, KeyLog* log);

enum class Outcome { NextPair, Cleared, Lost };

// After a landing: frames without keys through falling, erasing and the next
// pair's entry, and that pair's first frame, in which the game tests for a
// blocked entry, the pieces limit and the goal.
Outcome RunToNextPair(KeyLog* log);

// The placements worth trying for a pair: every orientation and every column
// the pair fits in; the caller tries the routes in turn.
const std::vector<Placement>& PlacementCandidates();
