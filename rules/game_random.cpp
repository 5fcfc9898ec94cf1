#include "rules/game_random.h"

constinit RandomGenerator GameRandomState{};

namespace {
// Results thrown away after seeding, so the table is well mixed.
constexpr int WarmUpDraws = 10 * RandomDegree;

// 16807 x mod (2^31 - 1) without overflow (Schrage's method).
int32_t ParkMiller(int32_t x) {
    int32_t hi = x / 127773, lo = x % 127773;
    int32_t word = 16807 * lo - 2836 * hi;
    return word < 0 ? word + RandomMax : word;
}
}  // namespace

void SeedRandom(RandomGenerator& g, uint32_t seed) {
    g.table[0] = seed == 0 ? 1 : seed;
    int32_t word = int32_t(g.table[0]);
    for (int i = 1; i < RandomDegree; ++i) {
        word = ParkMiller(word);
        g.table[i] = uint32_t(word);
    }
    g.front = RandomSeparation;
    g.rear = 0;
    for (int i = 0; i < WarmUpDraws; ++i) NextRandom(g);
}

int32_t NextRandom(RandomGenerator& g) {
    if (g.front == g.rear) SeedRandom(g, 1);
    uint32_t value = g.table[g.front] += g.table[g.rear];
    g.front = uint8_t((g.front + 1) % RandomDegree);
    g.rear = uint8_t((g.rear + 1) % RandomDegree);
    return int32_t(value >> 1);
}

void SeedGameRandom(uint32_t seed) { SeedRandom(GameRandomState, seed); }

int32_t GameRandom() { return NextRandom(GameRandomState); }
