// The game's generator gives the C library's rand() sequence, here and on
// every other C library.
#include <gtest/gtest.h>

#include <cstdlib>

#include "rules/game_random.h"

namespace {

// The first five numbers of the GNU C library's rand() after srand(seed).
struct FirstNumbers {
    uint32_t seed;
    int32_t first[5];
};
constexpr FirstNumbers GlibcFirstNumbers[] = {
    {0u, {1804289383, 846930886, 1681692777, 1714636915, 1957747793}},
    {1u, {1804289383, 846930886, 1681692777, 1714636915, 1957747793}},
    {7u, {1045618677, 1863967299, 1272579899, 461085871, 21961325}},
    {12345u, {383100999, 858300821, 357768173, 455528251, 133005921}},
    {2147483647u, {1065668062, 2142264300, 1066566375, 1064012770, 2141034222}},
    {2147483648u, {1336741213, 1210407648, 1447044896, 337392383, 82502902}},
    {4294967295u, {254925627, 1205188300, 366127624, 1401405153, 76053476}},
};

TEST(GameRandom, GivesTheGnuCLibrarysFirstNumbersForEverySeed) {
    for (const FirstNumbers& row : GlibcFirstNumbers) {
        SeedGameRandom(row.seed);
        for (int i = 0; i < 5; ++i) EXPECT_EQ(GameRandom(), row.first[i]) << "seed " << row.seed << ", number " << i;
    }
    // Never seeded: as seeded with 1.
    GameRandomState = {};
    EXPECT_EQ(GameRandom(), GlibcFirstNumbers[1].first[0]);
}

#ifdef __GLIBC__
// Long runs against the library itself, where there is one to ask.
TEST(GameRandom, FollowsTheCLibraryForAHundredThousandNumbers) {
    for (uint32_t seed : {3u, 1733000000u, 3000000000u}) {
        std::srand(seed);
        SeedGameRandom(seed);
        for (int i = 0; i < 100000; ++i) ASSERT_EQ(GameRandom(), std::rand()) << "seed " << seed << ", number " << i;
    }
}
#endif

}  // namespace
