// The day's mission: dates read and refused, the same bytes for the same
// date whatever the game's own random numbers, a proof that holds when the
// solver is asked again with its whole budget, and the command line.
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <string>

#include <gtest/gtest.h>

#include "rules/game_random.h"
#include "tests/test_support.h"
#include "tools/fnv.h"
#include "tools/solver/daily_mission.h"

namespace {
uint64_t Hash(const MissionImage& m) {
    uint64_t h = FnvOffsetBasis;
    for (uint8_t b : EncodeMission(m)) h = FnvAdd(h, b);
    return h;
}

int RopeBlocks(const MissionImage& m) {
    int n = 0;
    for (int c = 0; c < 8; ++c)
        for (int r = 0; r < 12; ++r) n += m.kind[MissionKindIndex(c, r)] >= 1 && m.kind[MissionKindIndex(c, r)] <= 11;
    for (int h = 0; h < 2 * m.pieceLimit; ++h) n += m.queueKind[h] >= 1 && m.queueKind[h] <= 12;
    return n;
}

TEST(DailyDate, ReadsOnlyDaysTheCalendarHasFrom1970To2100) {
    struct Row {
        const char* text;
        bool valid;
        int weekday;  // 0 Monday
    };
    const Row rows[] = {
        {"1970-01-01", true, 3}, {"2000-02-29", true, 1}, {"2024-02-29", true, 3}, {"2026-12-09", true, 2},
        {"2100-12-31", true, 4}, {"2100-02-29", false, 0}, {"2026-02-29", false, 0}, {"1969-12-31", false, 0},
        {"2101-01-01", false, 0}, {"2026-04-31", false, 0}, {"2026-13-01", false, 0}, {"2026-00-10", false, 0},
        {"2026-12-00", false, 0}, {"2026-1-09", false, 0},  {"2026-12-09x", false, 0}, {"2026/12/09", false, 0},
        {"+026-12-09", false, 0}, {"", false, 0},
    };
    for (const Row& row : rows) {
        CalendarDate d;
        EXPECT_EQ(ParseDailyDate(row.text, d), row.valid) << row.text;
        if (!row.valid) continue;
        EXPECT_EQ(DailyDateText(d), row.text);
        EXPECT_EQ(DailyWeekday(d), row.weekday) << row.text;
    }
}

// The bytes of two days are fixed: a change of the random sequence, of the
// way boards are drawn or of the checks shows here first. The game's own
// generator, wherever it stands, changes nothing.
TEST(DailyMission, SameDateSameBytesWhateverTheGamesRandomState) {
    struct Row {
        CalendarDate date;
        uint64_t hash;
    };
    const Row rows[] = {{{2026, 12, 9}, 10893816093781671728ull}, {{2027, 3, 14}, 17537706194132138350ull}};
    for (const Row& row : rows) {
        SeedGameRandom(7);
        uint64_t first = Hash(MakeDailyMission(row.date).image);
        SeedGameRandom(99);
        GameRandom();
        EXPECT_EQ(Hash(MakeDailyMission(row.date).image), first) << DailyDateText(row.date);
        EXPECT_EQ(first, row.hash) << DailyDateText(row.date);
    }
}

// A week: seven different missions, each proven again by a search with the
// solver's whole budget, none a formality, and harder day by day.
TEST(DailyMission, AWeekOfMissionsIsProvenAndRisesFromMondayToSunday) {
    std::set<uint64_t> seen;
    double previous = -1;
    for (int day = 7; day <= 13; ++day) {  // 2026-12-07 is a Monday
        CalendarDate date{2026, 12, day};
        DailyMission daily = MakeDailyMission(date);
        const MissionImage& m = daily.image;
        EXPECT_TRUE(seen.insert(Hash(m)).second) << DailyDateText(date);
        SolveResult r = SolveMission(m);
        ASSERT_TRUE(r.complete && r.decided && r.clearable) << DailyDateText(date);
        EXPECT_EQ(r.shortest, m.pieceLimit) << DailyDateText(date);
        EXPECT_FALSE(r.oneAheadClears) << DailyDateText(date);
        EXPECT_LE(3 * r.first.open, r.first.placements) << DailyDateText(date);
        EXPECT_LT(int(m.target), RopeBlocks(m)) << DailyDateText(date);
        EXPECT_EQ(r.ways, daily.proof.ways) << DailyDateText(date);
        EXPECT_GT(r.difficulty, previous) << DailyDateText(date);
        previous = r.difficulty;
    }
}

std::pair<int, std::string> SolveDaily(const std::string& args) {
    std::string out = MakeTempFolder("daily-cli") + "/out.txt";
    int status = std::system((TESSMAR_BINARY_DIR "/tessmar-solve --daily " + args + " >" + out + " 2>&1").c_str());
    std::ifstream in(out);
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    return {WEXITSTATUS(status), text};
}

TEST(DailyCommand, WritesTheDaysBytesAndRefusesDaysThatAreNone) {
    std::string folder = MakeTempFolder("daily-files");
    auto [status, json] = SolveDaily("2026-12-09 " + folder + "/day.msn --json");
    EXPECT_EQ(status, 0) << json;
    for (const char* key : {"\"clearable\":true", "\"decided\":true", "\"one_ahead_clears\":false", "\"shortest\":",
                            "\"ways\":", "\"difficulty\":", "\"date\":\"2026-12-09\""})
        EXPECT_NE(json.find(key), std::string::npos) << key << " in " << json;
    std::ifstream in(folder + "/day.msn", std::ios::binary);
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    MissionBytes expected = EncodeMission(MakeDailyMission({2026, 12, 9}).image);
    EXPECT_EQ(bytes, std::string(expected.begin(), expected.end()));
    for (const char* bad : {"2026-02-30", "1969-12-31", "2101-01-01", "tomorrow"}) {
        auto [code, text] = SolveDaily(std::string(bad) + " " + folder + "/bad.msn");
        EXPECT_EQ(code, 2) << bad;
        EXPECT_EQ(text.rfind("tessmar-solve: ", 0), 0u) << text;
        EXPECT_EQ(text.find('\n'), text.size() - 1) << text;
    }
    EXPECT_FALSE(std::filesystem::exists(folder + "/bad.msn"));
}
}  // namespace
