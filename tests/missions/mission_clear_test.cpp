// Whole missions through the headless runner: a loop closed by the one pair
// of the queue clears the mission, the records are written, mission clear
// runs its 100 frames and the next mission or the title follows.
#include <filesystem>

#include "tests/missions/missions_support.h"

using namespace missions_test;

namespace {

std::string Folder(const std::string& name, int cleared) {
    std::string folder = MakeTempFolder("missions-clear-" + name);
    std::filesystem::create_directories(folder + "/mission");
    WriteRecords(folder, cleared);
    return folder;
}

// Mission 2 of these runs: a cross and a vertical on the floor.
MissionImage Marked() {
    MissionImage m = EmptyMission(0, 2, 2);
    SetCell(m, 0, 11, X);
    SetCell(m, 1, 11, V);
    SetPair(m, 0, H, H);
    SetPair(m, 1, H, H);
    return m;
}

// After the choice on mission select: the pair dropped with Down held.
const char* const DropAndWait = "300 Down\n";

struct Clear {
    int first = 0;  // first frame in state 8
    int after = 0;  // first frame after mission clear
};

Clear FindClear(const RunnerResult& run) {
    Clear c;
    c.first = run.FirstFrame("ScreenState", 8);
    if (c.first == 0) {
        ADD_FAILURE() << "mission never cleared";
        return c;
    }
    for (c.after = c.first; c.after <= int(run.trace.size()) && run.Value(c.after, "ScreenState") == 8; ++c.after) {
    }
    return c;
}

class NumberedMission : public testing::Test {
protected:
    std::string folder = Folder("numbered", 0);
    void SetUp() override {
        WriteMission(folder + "/mission/01.msn", RingMission());
        WriteMission(folder + "/mission/02.msn", Marked());
    }
    RunnerResult Play(const std::string& extra = "") {
        return RunHeadless(folder, std::string(ToMissionSelect) + "1\n1 Z\n" + DropAndWait, extra);
    }
};

TEST_F(NumberedMission, LoopClosedByTheOnePairClearsAndTheNextMissionFollows) {
    RunnerResult run = Play();
    Clear c = FindClear(run);
    ASSERT_GT(c.first, 2);
    // The goal is met at the start of the first PairFalling frame after the
    // erase: the next pair had entered (state 0) the frame before, and the
    // pieces had run out by then (limit 1, second pair taken).
    EXPECT_EQ(run.Value(c.first - 1, "ScreenState"), 0);
    EXPECT_EQ(run.Value(c.first - 2, "ScreenState"), 3);
    EXPECT_EQ(run.Value(c.first, "PiecesUsed"), 2);
    EXPECT_NE(TraceList(run.trace[size_t(c.first - 1)], "music").find("\"stop\""), std::string::npos);
    EXPECT_NE(TraceList(run.trace[size_t(c.first - 1)], "files").find("rcd.dat"), std::string::npos);
    EXPECT_EQ(run.Value(c.first, "ClearedCount"), 1);
    // 100 frames of mission clear, then board entry of mission 2.
    EXPECT_EQ(c.after - c.first, 100);
    EXPECT_EQ(run.Value(c.after - 1, "ClearBoardY"), 594);
    EXPECT_EQ(run.Value(c.after, "ScreenState"), 10);
    EXPECT_EQ(run.Value(c.after, "MissionNumber"), 2);
    EXPECT_EQ(run.Value(c.after, "GameMode"), 1);
    EXPECT_EQ(run.Value(c.after, "ClearBoardY"), 0);
    EXPECT_EQ(run.Value(c.after, "Score"), 0);  // NewGame ran before the load

    std::vector<uint8_t> records = ReadBytes(folder + "/rcd.dat");
    ASSERT_EQ(records.size(), 197u);
    EXPECT_EQ(records[96 + 1], 1);
    EXPECT_EQ(records[196], 1);
}

TEST_F(NumberedMission, MessageShowsFromTheFirstToTheLastFrameAndTheNextWellFollows) {
    Clear c = FindClear(Play());
    ASSERT_GT(c.first, 0);
    // The same seed and script give the same run; stop it in board entry.
    std::string script = std::string(ToMissionSelect) + "1\n1 Z\n" + std::to_string(c.after + 2 - 5) + " Down\n";
    RunnerResult run = RunHeadless(folder, script,
                          "--shot " + std::to_string(c.first + 1) + "=" + folder + "/first.png --shot " +
                              std::to_string(c.after) + "=" + folder + "/last.png");
    ASSERT_EQ(int(run.trace.size()), c.after + 2);
    // "MISSION 1 CLEAR": 15 characters, centred at x = 72.
    EXPECT_TRUE(TextDrawn(Shot(folder + "/first.png"), "MISSION 1 CLEAR", 72, 240));
    EXPECT_TRUE(TextDrawn(Shot(folder + "/last.png"), "MISSION 1 CLEAR", 72, 240));
    // Mission 2's well is loaded for its board entry.
    EXPECT_NE(run.state.find("\"b2000000\"]"), std::string::npos) << run.state;
    // Cleared a second time: counted once, the file written again.
    EXPECT_NE(TraceList(run.trace[size_t(c.first - 1)], "files").find("rcd.dat"), std::string::npos);
    std::vector<uint8_t> records = ReadBytes(folder + "/rcd.dat");
    ASSERT_EQ(records.size(), 197u);
    EXPECT_EQ(records[97], 1);
    EXPECT_EQ(records[196], 1);
}

// A next mission that cannot be read is not started after the clear: mission
// select shows its number and says so.
TEST_F(NumberedMission, UnreadableNextMissionLeadsToMissionSelect) {
    WriteBytes(folder + "/mission/02.msn", std::vector<uint8_t>(100, 0));
    Clear c = FindClear(Play());
    ASSERT_GT(c.first, 0);
    RunnerResult run = Play("--shot " + std::to_string(c.after + 1) + "=" + folder + "/select.png 2>/dev/null");
    EXPECT_EQ(run.Value(c.after, "ScreenState"), 7);
    EXPECT_EQ(run.Value(c.after, "MissionNumber"), 2);
    EXPECT_TRUE(TextDrawn(Shot(folder + "/select.png"), "CANNOT READ MISSION", 40, 456));
    EXPECT_TRUE(TextDrawn(Shot(folder + "/select.png"), "02", 180, 324));
}

TEST(MissionClear, EditGameClearsWithoutTouchingTheRecords) {
    std::string folder = Folder("edit", 0);
    std::filesystem::create_directories(folder + "/picked");
    WriteMission(folder + "/picked/ring.msn", RingMission());
    std::vector<uint8_t> before = ReadBytes(folder + "/rcd.dat");
    std::string script = std::string(ToMissionSelect) + "1 Down\n1\npick " + folder + "/picked/ring.msn\n1 Z\n" +
                         DropAndWait;
    Clear c = FindClear(RunHeadless(folder, script));
    ASSERT_GT(c.first, 0);
    RunnerResult run = RunHeadless(folder, script, "--shot " + std::to_string(c.first + 50) + "=" + folder + "/clear.png");
    for (const std::string& line : run.trace) EXPECT_EQ(TraceList(line, "files"), "");
    EXPECT_EQ(ReadBytes(folder + "/rcd.dat"), before);
    EXPECT_EQ(run.Value(c.first, "ClearedCount"), 0);
    EXPECT_EQ(c.after - c.first, 100);
    EXPECT_EQ(run.Value(c.after, "ScreenState"), 6);
    EXPECT_TRUE(TextDrawn(Shot(folder + "/clear.png"), "MISSION E CLEAR", 72, 240));
}

TEST(MissionClear, ClearingMissionThirtyReturnsToTheTitle) {
    std::string folder = Folder("thirty", 25);
    WriteMission(folder + "/mission/30.msn", RingMission());
    std::string script = std::string(ToMissionSelect) + "180 Right\n1\n1 Z\n" + DropAndWait;
    Clear c = FindClear(RunHeadless(folder, script));
    ASSERT_GT(c.first, 0);
    RunnerResult run = RunHeadless(folder, script, "--shot " + std::to_string(c.first + 1) + "=" + folder + "/clear.png");
    EXPECT_EQ(run.Value(c.first - 1, "MissionNumber"), 30);
    // "MISSION 30 CLEAR": 16 characters, centred at x = 64.
    EXPECT_TRUE(TextDrawn(Shot(folder + "/clear.png"), "MISSION 30 CLEAR", 64, 240));
    EXPECT_EQ(c.after - c.first, 100);
    EXPECT_EQ(run.Value(c.after, "ScreenState"), 6);
    EXPECT_EQ(run.Value(c.after, "MissionNumber"), 30);
    std::vector<uint8_t> records = ReadBytes(folder + "/rcd.dat");
    ASSERT_EQ(records.size(), 197u);
    EXPECT_EQ(records[96 + 30], 1);
    EXPECT_EQ(records[196], 26);
}

// A mission whose pairs never close a loop: with a limit of L pairs, L land
// and the game ends in the first frame of pair L + 1.
class PiecesLimit : public testing::TestWithParam<int> {};

TEST_P(PiecesLimit, LimitPlusOneEndsTheGameInItsFirstFrame) {
    int limit = GetParam();
    std::string folder = Folder("pieces-" + std::to_string(limit), 0);
    MissionImage m = EmptyMission(1, 100, uint8_t(limit));
    for (int p = 0; p < 8; ++p) SetPair(m, p, V, V);
    WriteMission(folder + "/mission/01.msn", m);
    RunnerResult run = RunHeadless(folder, std::string(ToMissionSelect) + "1\n1 Z\n" + std::to_string(120 + 40 * limit) +
                                      " Down\n");
    int over = run.FirstFrame("ScreenState", 5);
    ASSERT_GT(over, 2);
    EXPECT_EQ(run.Value(over - 1, "ScreenState"), 0);
    EXPECT_EQ(run.Value(over - 2, "ScreenState"), 3);
    EXPECT_EQ(run.Value(over, "PiecesUsed"), limit + 1);
    int landed = 0;
    for (int f = 2; f < over; ++f)
        if (run.Value(f - 1, "ScreenState") == 0 && run.Value(f, "ScreenState") == 3) ++landed;
    EXPECT_EQ(landed, limit);
}

INSTANTIATE_TEST_SUITE_P(Missions, PiecesLimit, testing::Values(1, 3));

}  // namespace

namespace {

// --mission: frame 1 is the first board-entry frame of the file's mission,
// played as an edit game; the runner stops with the game after its clear or
// game-over screen, which ends on the title state.
TEST(MissionOption, StartsOnBoardEntryAndEndsAfterTheClear) {
    std::string folder = Folder("option-clear", 0);
    WriteMission(folder + "/ring.msn", RingMission());
    std::vector<uint8_t> before = ReadBytes(folder + "/rcd.dat");
    RunnerResult run = RunHeadless(folder, DropAndWait, "--mission " + folder + "/ring.msn --frames 500");
    ASSERT_GT(run.trace.size(), 80u);
    EXPECT_EQ(run.Value(1, "ScreenState"), 10);
    EXPECT_EQ(run.Value(1, "GameMode"), 2);
    EXPECT_EQ(run.Value(78, "ScreenState"), 10);
    EXPECT_EQ(run.Value(79, "ScreenState"), 3);
    EXPECT_TRUE(TraceListHas(run.trace[78], "music", "play"));
    Clear c = FindClear(run);
    EXPECT_EQ(c.after - c.first, 100);
    EXPECT_EQ(int(run.trace.size()), c.after);  // closed at once: no title frame
    EXPECT_EQ(run.Value(c.after, "ScreenState"), 6);
    EXPECT_EQ(ReadBytes(folder + "/rcd.dat"), before);
}

TEST(MissionOption, EndsAfterTheGameOverScreen) {
    std::string folder = Folder("option-over", 0);
    MissionImage m = EmptyMission(1, 100, 1);
    for (int p = 0; p < 8; ++p) SetPair(m, p, V, V);
    WriteMission(folder + "/lost.msn", m);
    RunnerResult run = RunHeadless(folder, "3000 Down\n", "--mission " + folder + "/lost.msn");
    int over = run.FirstFrame("ScreenState", 5);
    ASSERT_GT(over, 79);
    ASSERT_LT(run.trace.size(), 3000u);
    EXPECT_EQ(run.Value(int(run.trace.size()) - 1, "ScreenState"), 5);
    EXPECT_EQ(TraceNumber(run.trace.back(), "ScreenState"), 6);
}

// A file that cannot be a mission: one line on stderr and exit status 2,
// before anything runs.
TEST(MissionOption, RefusesWhatIsNotAMissionFile) {
    std::string folder = Folder("option-bad", 0);
    WriteBytes(folder + "/short.msn", std::vector<uint8_t>(293, 0));
    std::filesystem::create_directories(folder + "/folder.msn");
    for (const char* name : {"short.msn", "missing.msn", "folder.msn"}) {
        std::string err = folder + "/err.txt";
        std::string command = std::string(TESSMAR_BINARY_DIR "/tessmar-headless") + " --dir " + folder +
                              " --frames 5 --trace " + folder + "/t.jsonl --mission " + folder + "/" + name +
                              " 2>" + err;
        int status = std::system(command.c_str());
        ASSERT_TRUE(WIFEXITED(status)) << name;
        EXPECT_EQ(WEXITSTATUS(status), 2) << name;
        std::vector<std::string> lines;
        std::ifstream in(err);
        for (std::string line; std::getline(in, line);) lines.push_back(line);
        ASSERT_EQ(lines.size(), 1u) << name;
        EXPECT_NE(lines[0].find(name), std::string::npos) << lines[0];
    }
}

}  // namespace
