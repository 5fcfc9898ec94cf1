// The solver on small hand-made missions and random boards: the landings it
// finds are all there are and each one is played the same by the headless
// runner; how it counts ways, what it refutes, and its command line.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <set>
#include <string>
#include <tuple>

#include <gtest/gtest.h>

#include "shell/input_script.h"
#include "rules/board.h"
#include "tests/runner_support.h"
#include "tests/test_support.h"
#include "tools/missions/mission_source.h"
#include "tools/solver/menu_script.h"
#include "tools/solver/play_state.h"
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

// A random board with wall shelves hanging over gaps and rope blocks
// stacked on the floor and each other; rows 0 to 3 stay free.
MissionImage RandomOverhangs(unsigned seed) {
    std::mt19937 random(seed);
    std::vector<std::string> rows(8, "........");
    for (int c = 0; c < 8; ++c) {
        int r = 7;
        int stack = 2 + int(random() % 4);
        for (int i = 0; i < stack; ++i) rows[size_t(r--)][size_t(c)] = "-|7JLrT3^E+"[random() % 11];
        if (random() % 2 && r >= 2) rows[size_t(r - 1)][size_t(c)] = '#';  // a shelf with a gap under it
    }
    return Source("chain 1", 1, rows, {"r7"});
}

using Landing = std::tuple<int, int, int, int>;
std::set<Landing> Landings(const std::vector<Placement>& found) {
    std::set<Landing> s;
    for (const Placement& p : found) s.insert({p.col1, p.row1, p.col2, p.row2});
    return s;
}

TEST(Placements, QuickSearchFindsEveryLandingOfAnExhaustiveFrameByFrameSearch) {
    for (unsigned seed = 1; seed <= 2; ++seed) {
        StartMissionPlay(RandomOverhangs(seed));
        ASSERT_EQ(RunToNextPair(nullptr), Outcome::NextPair);
        std::set<Landing> quick = Landings(FindPlacements(false));
        std::set<Landing> all = Landings(FindPlacements(true));
        EXPECT_EQ(quick, all) << "seed " << seed;
        EXPECT_GT(all.size(), 25u);
    }
}

// Every landing reported, played by its own keys in the headless runner from
// the title through "EDIT GAME", leaves the board the solver saw.
TEST(Placements, EveryLandingReplaysInTheRunner) {
    // Shelves over the floor on both sides: a pair must slide under them.
    MissionImage m = Source("chain 1", 1, {"##....##", "........", "r......."}, {"7L"});
    std::string folder = MakeTempFolder("placements-replay");
    std::filesystem::copy(TESSMAR_BINARY_DIR "/gamedata", folder, std::filesystem::copy_options::recursive);
    std::string file = folder + "/under.msn";
    MissionBytes bytes = EncodeMission(m);
    std::ofstream(file, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));

    StartMissionPlay(m);
    KeyLog entry;
    RunToNextPair(&entry);
    PlaySnapshot start;
    SavePlay(start);
    std::vector<Placement> found = FindPlacements();
    bool underShelf = false;
    for (const Placement& p : found) {
        RestorePlay(start);
        ASSERT_TRUE(PlayPlacement(p, nullptr));
        std::string expected = "\"board\":[";
        for (int r = -2; r <= 11; ++r) {
            expected += r == -2 ? "\"" : ",\"";
            for (int c = 0; c <= 7; ++c) expected += "0123456789abcdef"[GetKind(c, r)];
            expected += "\"";
        }
        underShelf |= (p.row1 >= 10 && (p.col1 <= 1 || p.col1 >= 6));
        std::string script = MenuToEditGame(file) + ScriptLines(entry) + ScriptLines(p.keys);
        RunnerResult run = RunHeadless(folder, script);
        EXPECT_NE(run.state.find(expected), std::string::npos)
            << "landing (" << int(p.col1) << "," << int(p.row1) << ") (" << int(p.col2) << "," << int(p.row2)
            << ")\n" << run.state;
    }
    EXPECT_TRUE(underShelf);
}

TEST(Solver, CountsEveryLandingInAnEmptyWellOnce) {
    // No ring can close: every placement is a way that loses.
    SolveResult mixed = SolveMission(Source("chain 1", 1, {}, {"r7"}));
    EXPECT_FALSE(mixed.clearable);
    EXPECT_TRUE(mixed.complete);
    // Upright 8 + 8, flat 7 + 7, and three that leave one block: the other
    // half pushed into a wall by a turn's shift.
    EXPECT_EQ(mixed.first.placements, 30 + 3);
    EXPECT_EQ(mixed.first.open, 0);
    // Two equal halves: upside down is the same settled board.
    EXPECT_EQ(SolveMission(Source("chain 1", 1, {}, {"--"})).first.placements, 15 + 3);
}

TEST(Solver, FindsTheOnePlacementThatClosesTheRingAndRatesIt) {
    SolveResult r = SolveMission(Source("chain 1", 1, {"r.......", "L......."}, {"7J"}));
    ASSERT_TRUE(r.clearable);
    EXPECT_EQ(r.ways, 1u);
    EXPECT_EQ(r.first.open, 1);
    ASSERT_EQ(r.solution.size(), 1u);
    EXPECT_EQ(std::tie(r.solution[0].col1, r.solution[0].row1, r.solution[0].col2, r.solution[0].row2),
              std::make_tuple(int8_t(1), int8_t(10), int8_t(1), int8_t(11)));
    EXPECT_TRUE(r.oneAheadClears);
    EXPECT_NEAR(r.difficulty, 0.25 * std::log2(double(r.first.placements)), 1e-9);
}

TEST(Solver, RefutesAMissionWhoseGoalPassesItsTarget) {
    // Any ring erases four; three can never be met exactly.
    SolveResult r = SolveMission(Source("erase 3", 2, {"r.......", "L......."}, {"7J", "7J"}));
    EXPECT_FALSE(r.clearable);
    EXPECT_TRUE(r.complete);
    EXPECT_EQ(r.shortest, -1);
    EXPECT_GT(r.positions, 1u);
}

// A position is given up unsearched only when the blocks that could still
// be erased are fewer than the goal needs; a joiner to come makes every
// block count, and a chain of N needs a ring of four at each search.
TEST(Solver, GivesUpOnlyWhenTooFewBlocksCouldBeErased) {
    struct Case {
        const char* name;
        const char* goal;
        int pairs;
        std::vector<std::string> rows, queue;
        bool clearable, searched;
    };
    const Case cases[] = {
        // The straight on the floor has one end that can join until the
        // joiner gives it a second: the ring needs it.
        {"joiner", "erase 4", 2, {"r.......", "|......."}, {"Jo", "7o"}, true, true},
        {"no joiner", "erase 4", 1, {"r.......", "|......."}, {"J7"}, false, false},
        // Eight blocks, each on one of the chain's two rings.
        {"chain of exactly eight", "chain 2", 1, {".r......", ".L......", ".77.....", ".JJ....."}, {"rL"}, true, true},
        {"chain of seven", "chain 2", 1, {".r......", ".L......", ".77.....", ".J......"}, {"rL"}, false, false},
    };
    for (const Case& c : cases) {
        SolveResult r = SolveMission(Source(c.goal, c.pairs, c.rows, c.queue));
        EXPECT_EQ(r.clearable, c.clearable) << c.name;
        EXPECT_TRUE(r.complete) << c.name;
        EXPECT_EQ(r.positions > 0, c.searched) << c.name;
    }
}

// Ways counted by playing every landing of every pair to its end, merging
// landings that leave the same position, as the solver does but skipping
// nothing.
uint64_t WaysByPlayingAll() {
    PlaySnapshot at;
    SavePlay(at);
    std::vector<uint64_t> results;
    uint64_t ways = 0;
    std::vector<Placement> options = KnownPlacements();
    for (const Placement& p : options) {
        RestorePlay(at);
        Outcome outcome = PlayPlacement(p, nullptr) ? RunToNextPair(nullptr) : Outcome::Lost;
        uint64_t key = PositionKey(false);
        if (std::find(results.begin(), results.end(), key) != results.end()) continue;
        results.push_back(key);
        if (outcome == Outcome::Cleared) ++ways;
        if (outcome == Outcome::NextPair) ways += WaysByPlayingAll();
    }
    RestorePlay(at);
    return ways;
}

// The solver skips placements whose landed halves leave too few blocks and,
// for the last pair, those that close no loop: on random wells with shelves,
// loose blocks and frame blocks, for goals of every kind it weighs, it
// counts the same ways as playing everything.
TEST(Solver, SkipsOnlyPlacementsThatCannotClear) {
    const char* const goals[] = {"chain 1", "erase 4", "erase-at-once 4", "all-frames", "all-frames-at-once", "erase 8"};
    const char* const kinds = "-|7JLrT3^E+";
    int cleared = 0;
    for (unsigned seed = 1; seed <= 18; ++seed) {
        std::mt19937 random(seed);
        std::vector<std::string> rows(6, "........ ........");
        for (int c = 0; c < 8; ++c) {
            int r = 5 - int(random() % 2);
            for (int n = int(random() % 4); n > 0 && r >= 1; --n, --r) {
                rows[size_t(r)][size_t(c)] = kinds[random() % 11];
                if (random() % 6 == 0) rows[size_t(r)][size_t(9 + c)] = '*';
            }
            if (random() % 3 == 0 && r >= 1) rows[size_t(r - 1)][size_t(c)] = '#';
        }
        std::vector<std::string> queue;
        int pairs = 1 + int(seed % 2);
        for (int i = 0; i < pairs; ++i) {
            std::string pair = {kinds[random() % 11], kinds[random() % 11]};
            if (random() % 6 == 0) pair[1] = 'o';  // a joiner
            queue.push_back(pair);
        }
        const char* goal = goals[seed / 2 % 6];
        MissionImage m = Source(goal, pairs, rows, queue);
        SolveResult r = SolveMission(m, {.players = false});
        StartMissionPlay(m);
        if (RunToNextPair(nullptr) != Outcome::NextPair) continue;  // no frame block: cleared at once
        EXPECT_TRUE(r.complete) << seed;
        EXPECT_EQ(r.ways, WaysByPlayingAll()) << "seed " << seed << ", " << goal;
        cleared += r.ways > 0;
    }
    EXPECT_GE(cleared, 5);  // enough of the wells can be cleared for the counts to mean something
}

TEST(Solver, ShortestWayUsesTheFewestPairsAndABudgetGivesALowerBound) {
    // The second pair could close the ring too, but the first already does.
    MissionImage m = Source("chain 1", 2, {"r.......", "L......."}, {"7J", "7J"});
    SolveResult r = SolveMission(m);
    ASSERT_TRUE(r.clearable);
    EXPECT_EQ(r.shortest, 1);
    EXPECT_FALSE(r.waysAtLeast);
    SolveOptions tight;
    tight.positionBudget = 2;
    SolveResult cut = SolveMission(m, tight);
    EXPECT_TRUE(cut.waysAtLeast);
    EXPECT_LT(cut.ways, r.ways);
    // The counts stop at the budget, but the shortest way is still decided.
    EXPECT_TRUE(cut.decided);
    EXPECT_EQ(cut.shortest, 1);
    EXPECT_EQ(PlayPlacements(m, cut.solution, nullptr), Outcome::Cleared);

    // A caller's stop (a clock) after two positions cuts the search as the
    // budget does, and a stop that never comes changes nothing.
    SolveOptions stopped;
    stopped.keepSearching = [](uint64_t positions) { return positions < 2; };
    SolveResult halted = SolveMission(m, stopped);
    EXPECT_EQ(halted.positions, cut.positions);
    EXPECT_EQ(halted.ways, cut.ways);
    EXPECT_TRUE(halted.waysAtLeast);
    SolveOptions patient;
    patient.keepSearching = [](uint64_t) { return true; };
    SolveResult whole = SolveMission(m, patient);
    EXPECT_EQ(whole.ways, r.ways);
    EXPECT_EQ(whole.positions, r.positions);
    EXPECT_FALSE(whole.waysAtLeast);
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

// tessmar-solve's exit status and first line for a file and its options.
std::pair<int, std::string> Solve(const std::string& args) {
    std::string out = MakeTempFolder("solve-cli") + "/out.txt";
    int status = std::system((TESSMAR_BINARY_DIR "/tessmar-solve " + args + " >" + out + " 2>&1").c_str());
    std::ifstream in(out);
    std::string line;
    std::getline(in, line);
    return {WEXITSTATUS(status), line};
}

TEST(SolveCommand, ReadsAnyMissionFileAndRefusesWhatIsNone) {
    std::string folder = MakeTempFolder("solve-files");
    std::ofstream(folder + "/short.msn") << "not a mission";
    // Pair counts a mission file cannot hold: the search would follow pairs that are not there.
    std::ifstream one(TESSMAR_BINARY_DIR "/gamedata/mission/01.msn", std::ios::binary);
    std::string mission((std::istreambuf_iterator<char>(one)), std::istreambuf_iterator<char>());
    for (int pairs : {0, 9, 255}) {
        mission[MissionPieceLimitOffset] = char(pairs);
        std::ofstream(folder + "/pairs" + std::to_string(pairs) + ".msn", std::ios::binary) << mission;
    }
    for (const std::string& bad : {folder + "/short.msn", folder + "/missing.msn", folder, std::string("--from nowhere x.msn"),
                                   folder + "/pairs0.msn", folder + "/pairs9.msn", folder + "/pairs255.msn"}) {
        auto [status, line] = Solve(bad);
        EXPECT_EQ(status, 2) << bad;
        EXPECT_EQ(line.rfind("tessmar-solve: ", 0), 0u) << line;
    }
    auto [status, json] = Solve("--json " TESSMAR_BINARY_DIR "/gamedata/mission/01.msn");
    EXPECT_EQ(status, 0);
    for (const char* key : {"\"goal_type\":0", "\"random_pairs\":false", "\"clearable\":true", "\"shortest\":1",
                            "\"ways_at_least\":false", "\"open_doors\":", "\"one_ahead_clears\":true", "\"difficulty\":"})
        EXPECT_NE(json.find(key), std::string::npos) << key << " in " << json;
}

// A plan written as landing cells is played pair by pair: its exit status
// and last line say whether it cleared, and a landing no keys reach stops it.
// The first plans that missions' idea lines say fail are played here too.
TEST(SolveCommand, PlanOfLandingCellsIsPlayedThroughTheRules) {
    const std::string way22 = "3,11 3,10; 3,9 3,8; 2,11 2,10; 2,9 2,8";
    struct Case {
        int mission;
        std::string plan;
        int status;
        std::string said;
    } cases[] = {
        {22, way22 + "; 4,11 4,10", 0, "cleared (goal progress 3)"},
        {22, way22, 1, "not cleared"},                         // the trigger never comes
        {22, way22 + "; 4,10 4,11", 1, "lost"},                // the trigger upside down
        {22, way22 + "; 7,11 7,10", 1, "no keys land it there"},  // inside the stone
        {22, "3,11 3,10; 3,9", 2, "is not two cells"},
        // 11: the r closing the rack's foot sends all three rings.
        {11, "5,9 5,8; 1,9 1,10", 1, "not cleared (goal progress 3)"},
        // 12: the spare 7 ridden in on the r falls into the foot's place and closes a second ring.
        {12, "2,8 2,9; 3,9 4,9; 5,8 5,9", 1, "lost (goal progress 12)"},
        // 16: the riders a row apart land side by side when the ring's columns fall, two and three deep.
        {16, "3,8 3,9; 4,8 5,8; 4,7 4,8", 1, "lost (goal progress 14)"},
        // 24: the knot left on the ring, upright on the 7 or flat on the r, falls into a nest's gap.
        {24, "4,9 5,9; 4,8 5,8; 3,6 4,6; 4,5 4,6", 1, "lost (goal progress 14)"},
        {24, "4,9 5,9; 4,8 5,8; 3,6 4,6; 3,5 4,5", 1, "lost (goal progress 14)"},
        // 17: the cross as the ring's right side closes a ring with the knots at once.
        {17, "3,8 3,9", 1, "not cleared (goal progress 0)"},
    };
    for (const Case& c : cases) {
        char mission[16];
        std::snprintf(mission, sizeof mission, "%02d.msn", c.mission);
        std::string out = MakeTempFolder("solve-plan") + "/out.txt";
        int status = std::system((TESSMAR_BINARY_DIR "/tessmar-solve " TESSMAR_BINARY_DIR "/gamedata/mission/" +
                                  std::string(mission) + " --plan '" + c.plan + "' >" + out + " 2>&1").c_str());
        std::ifstream in(out);
        std::string line, last;
        while (std::getline(in, line)) last = line;
        EXPECT_EQ(WEXITSTATUS(status), c.status) << c.mission << ": " << c.plan;
        EXPECT_NE(last.find(c.said), std::string::npos) << c.mission << ": " << c.plan << ": " << last;
    }
}

// A write that fails (here: no file may grow past 0 bytes) is an error, the
// solver's and the runner's alike, and leaves no torn way behind.
TEST(SolveCommand, WritesThatFailEndInAnError) {
    std::string folder = MakeTempFolder("solve-full");
    auto limited = [&](const std::string& command) {
        int status = std::system(("sh -c 'ulimit -f 0; trap \"\" XFSZ; exec " + command + "' >/dev/null 2>&1").c_str());
        return WEXITSTATUS(status);
    };
    EXPECT_EQ(limited(TESSMAR_BINARY_DIR "/tessmar-solve " TESSMAR_BINARY_DIR "/gamedata/mission/01.msn --script " +
                      folder + "/way.txt"),
              2);
    EXPECT_FALSE(std::filesystem::exists(folder + "/way.txt"));
    std::ofstream(folder + "/in.txt") << "30\n";
    for (const char* output : {"--trace", "--state"})
        EXPECT_EQ(limited(TESSMAR_BINARY_DIR "/tessmar-headless --seed 1 --dir " + folder + " --input " + folder +
                          "/in.txt " + output + " " + folder + "/out.json"),
                  1)
            << output;
}

// The way written for a game started with --mission clears it in the runner.
TEST(SolveCommand, WayFromTheBoardEntryClearsAMissionStartedWithMission) {
    std::string folder = MakeTempFolder("solve-from-mission");
    std::filesystem::copy(TESSMAR_BINARY_DIR "/gamedata", folder, std::filesystem::copy_options::recursive);
    std::string mission = folder + "/mission/26.msn";
    ASSERT_EQ(Solve(mission + " --from mission --script " + folder + "/way.txt").first, 0);
    std::ifstream in(folder + "/way.txt");
    std::string script((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    RunnerResult run = RunHeadless(folder, script, "--mission " + mission);
    EXPECT_EQ(run.Value(1, "ScreenState"), 10);
    EXPECT_GT(run.FirstFrame("ScreenState", 8), 0);
    EXPECT_EQ(run.FirstFrame("ScreenState", 5), 0);
}

TEST(InputScript, MenuReachesTheMissionAndRunsAreJoined) {
    std::string menu = ScriptLines(MenuToMission(3));
    EXPECT_EQ(menu, "1 Down\n1\n1 Z\n1\n1 Right\n6\n1 Right\n6\n1 Z\n79\n");
    EXPECT_EQ(MenuToEditGame("/m/x.msn"), "1 Down\n1\n1 Z\n1\n1 Down\n1\npick /m/x.msn\n1 Z\n79\n");
    KeyLog log = {0, 0, WordBit(KeyLeft), WordBit(KeyLeft), WordBit(KeyDown) | WordBit(KeyZ)};
    EXPECT_EQ(ScriptLines(log), "2\n2 Left\n1 Down Z\n");

    // Lines holding the same keys are one step in memory, and play as the
    // lines do; a script of more steps than the bound is refused.
    std::string joinFolder = MakeTempFolder("script-join");
    std::string lines = "2 Z\n3 Z\n0 Z\njoy 1 2 3\n1 Z\n";
    for (int i = 0; i < 100000; ++i) lines += "1 Left\n";
    std::ofstream(joinFolder + "/joined.txt") << lines << "pick cancel\n1\n";
    InputScript joined;
    std::string why;
    ASSERT_TRUE(ReadInputScript(joinFolder + "/joined.txt", joined, &why)) << why;
    ASSERT_EQ(joined.steps.size(), 6u);
    EXPECT_EQ(joined.steps[0].frames, 5u);
    EXPECT_EQ(joined.steps[3].frames, 100000u);
    std::vector<KeySet> held;
    ScriptedInput input;
    for (ScriptPlayer player(joined); player.NextFrame(input);) held.push_back(input.keys);
    ASSERT_EQ(held.size(), 100007u);
    EXPECT_EQ(held[4], KeyBit(KeyZ));
    EXPECT_EQ(held[5], KeyBit(KeyZ));
    EXPECT_EQ(held[6], KeyBit(KeyLeft));
    EXPECT_EQ(held.back(), KeySet{});
    EXPECT_TRUE(input.joyPresent && input.joyX == 1 && input.joyY == 2 && input.joyButtons == 3);
    EXPECT_EQ(input.picks, std::vector<std::string>{""});
    {
        std::ofstream many(joinFolder + "/many.txt");
        for (size_t i = 0; i <= MaxScriptSteps / 2; ++i) many << "1 Z\n1\n";
    }
    EXPECT_FALSE(ReadInputScript(joinFolder + "/many.txt", joined, &why));
    EXPECT_NE(why.find("steps"), std::string::npos) << why;

    // A '#' in a picked path is part of the path; elsewhere it starts a comment.
    std::string folder = MakeTempFolder("script-hash");
    std::ofstream(folder + "/way.txt") << "1 Z # turn\n" + MenuToEditGame("/m/a #1/x.msn");
    InputScript script;
    std::string error;
    ASSERT_TRUE(ReadInputScript(folder + "/way.txt", script, &error)) << error;
    EXPECT_EQ(script.keySets[script.steps[0].keys], KeyBit(KeyZ));
    ASSERT_EQ(script.picks.size(), 1u);
    EXPECT_EQ(script.picks[0], "/m/a #1/x.msn");
}
}  // namespace
