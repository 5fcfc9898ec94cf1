// The solver on small hand-made missions: which placements it reaches, how it
// counts ways, and what it refutes.
#include <string>

#include <gtest/gtest.h>

#include "tools/missions/mission_source.h"
#include "tools/solver/input_script.h"
#include "tools/solver/solver.h"

namespace {
// A mission from a source: `rows` are the bottom rows of the well.
MissionImage Source(const std::string& goal, int pairs, const std::vector<std::string>& rows,
                    const std::vector<std::string>& queue) {
    std::string text = "title: T\ngoal: " + goal + "\npairs: " + std::to_string(pairs) + "\nwell:\n";
    for (size_t r = rows.size(); r < 12; ++r) text += "........\n";
    for (const std::string& row : rows) text += row + "\n";
    text += "queue:\n";
    for (size_t p = 0; p < 8; ++p) text += (p < queue.size() ? queue[p] : std::string("..")) + "\n";
    MissionSource source;
    std::string error;
    EXPECT_TRUE(ParseMissionSource(text, source, error)) << error;
    return source.image;
}

TEST(Solver, ReachesEveryOrientationInEveryColumnOfAnEmptyWell) {
    // No ring can close: every placement is a way that loses.
    SolveResult mixed = SolveMission(Source("chain 1", 1, {}, {"r7"}));
    EXPECT_FALSE(mixed.clearable);
    EXPECT_EQ(mixed.allSequences, 30u);  // upright 8 + 8, flat 7 + 7
    EXPECT_EQ(mixed.clearingSequences, 0u);
    // Two equal halves: upside down is the same placement.
    SolveResult same = SolveMission(Source("chain 1", 1, {}, {"--"}));
    EXPECT_EQ(same.allSequences, 15u);
}

TEST(Solver, FindsTheOnePlacementThatClosesTheRing) {
    SolveResult r = SolveMission(Source("chain 1", 1, {"r.......", "L......."}, {"7J"}));
    ASSERT_TRUE(r.clearable);
    EXPECT_EQ(r.clearingSequences, 1u);
    ASSERT_EQ(r.solution.size(), 1u);
    EXPECT_EQ(r.solution[0].orientation, 1);
    EXPECT_EQ(r.solution[0].column, 1);
}

TEST(Solver, LaysThePairFlatToPassAStackReachingTheTop) {
    // Column 3 is full up to row 0: upright, the pair cannot pass it.
    std::vector<std::string> rows(12, "...-....");
    rows[10] = "r..-....";
    rows[11] = "L..-....";
    SolveResult r = SolveMission(Source("chain 1", 1, rows, {"7J"}));
    ASSERT_TRUE(r.clearable);
    EXPECT_EQ(r.solution[0].route, Route::FlatOver);
}

TEST(Solver, RefutesAMissionWhoseGoalPassesItsTarget) {
    // Any ring erases four; three can never be met exactly.
    SolveResult r = SolveMission(Source("erase 3", 2, {"r.......", "L......."}, {"7J", "7J"}));
    EXPECT_FALSE(r.clearable);
    EXPECT_EQ(r.shortestPairs, -1);
    EXPECT_GT(r.allSequences, 30u);
}

TEST(Solver, ShortestWayUsesTheFewestPairs) {
    // The second pair could close the ring too, but the first already does.
    SolveResult r = SolveMission(Source("chain 1", 2, {"r.......", "L......."}, {"7J", "7J"}));
    ASSERT_TRUE(r.clearable);
    EXPECT_EQ(r.shortestPairs, 1);
    EXPECT_EQ(r.solution.size(), 1u);
    // Quick search stops at the first way, and agrees it can be cleared.
    SolveResult quick = SolveMission(Source("chain 1", 2, {"r.......", "L......."}, {"7J", "7J"}), SolveOptions{false});
    EXPECT_TRUE(quick.clearable);
    EXPECT_LT(quick.placements, r.placements);
}

TEST(Solver, PlayedWayEndsInMissionClearAndLogsEveryFrame) {
    MissionImage m = Source("chain 2", 1, {".r......", ".L......", ".77.....", "LJJ....."}, {"-r"});
    SolveResult r = SolveMission(m);
    ASSERT_TRUE(r.clearable);
    KeyLog log;
    EXPECT_EQ(PlayPlacements(m, r.solution, &log), Outcome::Cleared);
    // Entry (11 frames) and first frame, steering and drop, two erases of 20 frames.
    EXPECT_GT(log.size(), 11u + 1u + 2u * 20u);
    EXPECT_EQ(PlayPlacements(m, {}, nullptr), Outcome::NextPair);
}

TEST(InputScript, MenuReachesTheMissionAndRunsAreJoined) {
    std::string menu = ScriptLines(MenuToMission(3));
    EXPECT_EQ(menu, "1 Down\n1\n1 Z\n1\n1 Right\n6\n1 Right\n6\n1 Z\n79\n");
    KeyLog log = {0, 0, KeyBit(KeyLeft), KeyBit(KeyLeft), KeyBit(KeyDown) | KeyBit(KeyZ)};
    EXPECT_EQ(ScriptLines(log), "2\n2 Left\n1 Down Z\n");
}
}  // namespace
