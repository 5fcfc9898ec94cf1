// The game's random numbers: the same sequence as the GNU C library's rand()
// for the same seed (its additive feedback generator, random_r's TYPE_3:
// x[i] = x[i-3] + x[i-31] mod 2^32, each result the top 31 bits), computed
// here so that every C library, compiler and platform plays the same game.
#pragma once
#include <cstdint>

inline constexpr int RandomDegree = 31, RandomSeparation = 3;
inline constexpr int32_t RandomMax = 2147483647;

struct RandomGenerator {
    uint32_t table[RandomDegree];
    uint8_t front, rear;  // table indices; equal only before the first seed
    uint8_t unused[2];
};
// No hidden padding: the program state list copies and compares records byte for byte.
static_assert(sizeof(RandomGenerator) == 128);

extern RandomGenerator GameRandomState;

// As srand: seed 0 counts as 1. A generator never seeded draws as if seeded
// with 1, as rand() does.
void SeedGameRandom(uint32_t seed);
// As rand(): 0..RandomMax.
int32_t GameRandom();

// The same on a generator of the caller's own, so that drawing from it
// leaves the game's sequence alone.
void SeedRandom(RandomGenerator& g, uint32_t seed);
int32_t NextRandom(RandomGenerator& g);

// This module's variables in the program state list (shell/program_state.h).
#define GAME_RANDOM_STATE(X) X(GameRandomState)
