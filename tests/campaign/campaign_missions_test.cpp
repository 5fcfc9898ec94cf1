// The thirty numbered missions as the game finds them in its folder: the set
// uses every piece, every fixed-queue mission's stored way clears it in the
// real game started from the title, and a simple player clears the
// random-pair missions in half their runs within 90 seconds.
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "mission/mission_file.h"
#include "rules/game_mode.h"
#include "tests/runner_support.h"
#include "tests/test_support.h"
#include "tools/solver/menu_script.h"
#include "tools/solver/simple_player.h"
#include "tools/solver/solver.h"

namespace {
namespace fs = std::filesystem;

const fs::path Gamedata = fs::path(TESSMAR_BINARY_DIR) / "gamedata";
const fs::path Solutions = fs::path(TESSMAR_SOURCE_DIR) / "tests" / "campaign" / "solutions";
constexpr int MissionCount = 30;
constexpr int NinetySeconds = 90 * 40;  // frames of 25 ms
constexpr int FiveMinutes = 5 * 60 * 40;

std::string ReadText(const fs::path& path) {
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

std::string Two(int n) { return (n < 10 ? "0" : "") + std::to_string(n); }

std::vector<uint8_t> FileBytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

MissionImage Mission(int n) {
    std::vector<uint8_t> b = FileBytes(Gamedata / "mission" / (Two(n) + ".msn"));
    EXPECT_EQ(b.size(), MissionFileSize) << "mission " << n;
    MissionImage m;
    DecodeMission(b.data(), b.size(), m);
    return m;
}

// A game folder with the built missions and sounds, and records in which
// missions 1 to `cleared` are cleared.
std::string GameFolder(const std::string& name, int cleared) {
    std::string folder = MakeTempFolder(name);
    fs::copy(Gamedata, folder, fs::copy_options::recursive);
    std::vector<char> records(197, 0);
    for (int n = 1; n <= cleared; ++n) records[96 + n] = 1;
    records[196] = char(cleared);
    std::ofstream(folder + "/rcd.dat", std::ios::binary).write(records.data(), std::streamsize(records.size()));
    return folder;
}

// A frame's trace line without what it sent to the speakers, and with the
// files it wrote as if in the folder `campaign-replay`.
std::string WithoutSound(std::string line) {
    for (size_t at; (at = line.find("campaign-replay-full/")) != std::string::npos;) line.erase(at + 15, 5);
    for (const char* key : {"\"sounds\":[", "\"music\":["}) {
        size_t at = line.find(key);
        if (at != std::string::npos) line.erase(at, line.find(']', at) + 1 - at);
    }
    return line;
}

// The same way played with the full set of sounds: every frame's play state
// is the classic run's; the classic run hears only the four sounds of old;
// the full run hears the clear, one sound per frame of play, a rising chain
// where the mission asks for one, and the missions' tune opened on entry.
void ExpectTheFullSetChangesOnlyWhatIsHeard(int n, const RunnerResult& classic, const std::string& script) {
    std::string folder = GameFolder("campaign-replay-full", n - 1);
    RunnerResult full = RunHeadless(folder, script, "--frames 110 --sounds full");
    ASSERT_EQ(full.trace.size(), classic.trace.size()) << "mission " << n;
    std::string heardInOrder;
    for (size_t f = 0; f < full.trace.size(); ++f) {
        ASSERT_EQ(WithoutSound(full.trace[f]), WithoutSound(classic.trace[f])) << "mission " << n << " frame " << f + 1;
        std::string sounds = TraceList(classic.trace[f], "sounds");
        for (const char* extra : {"Land", "Chain", "Fish", "Link", "GameOver", "Clear", "Full"})
            EXPECT_EQ(sounds.find(extra), std::string::npos) << "mission " << n << " frame " << f + 1 << ": " << sounds;
        std::string heard = TraceList(full.trace[f], "sounds");
        if (TraceNumber(full.trace[f], "ScreenState") <= 4) {
            EXPECT_EQ(heard.find(','), std::string::npos) << "mission " << n << " frame " << f + 1 << ": " << heard;
        }
        if (heard.find("SoundChain") != std::string::npos) heardInOrder += heard;
    }
    int entry = full.FirstFrame("ScreenState", 10), clear = full.FirstFrame("ScreenState", 8);
    // The frame after the one that chose the mission runs board entry's first.
    EXPECT_TRUE(TraceListHas(full.trace[size_t(entry)], "music", "open")) << "mission " << n;
    EXPECT_EQ(TraceList(full.trace[size_t(clear - 1)], "sounds"), "\"SoundClear\"") << "mission " << n;
    MissionImage m = Mission(n);
    // The clearing chain of two rises; a single ring closed earlier on the way
    // sounds its own first step before it.
    const std::string rising = "\"SoundChain1\"\"SoundChain2\"";
    if (m.type == GoalChain && m.target == 2) {
        ASSERT_GE(heardInOrder.size(), rising.size()) << "mission " << n;
        EXPECT_EQ(heardInOrder.substr(heardInOrder.size() - rising.size()), rising) << "mission " << n;
        EXPECT_EQ(heardInOrder.find("SoundChain2"), heardInOrder.rfind("SoundChain2")) << "mission " << n;
    }
}

// What the set as a whole must hold, read from the files: every piece in use,
// knots and crosses in many missions, long queues, few random-pair missions
// and none at the end.
TEST(Campaign, SetUsesEveryPieceLongQueuesAndFewRandomPairMissions) {
    int missionsWith[14] = {}, knotted = 0, random = 0, fourOrMore = 0, sixOrMore = 0;
    bool types[8] = {};
    for (int n = 1; n <= MissionCount; ++n) {
        MissionImage m = Mission(n);
        bool has[14] = {};
        for (int c = 0; c <= 7; ++c)
            for (int r = 0; r <= 11; ++r) has[m.kind[size_t(MissionKindIndex(c, r))]] = true;
        for (int i = 0; i < 2 * m.pieceLimit && FixedQueueMission(m); ++i) has[m.queueKind[size_t(i)]] = true;
        for (int k = 1; k <= 13; ++k) missionsWith[k] += has[k];
        knotted += has[7] || has[8] || has[9] || has[10] || has[11];
        if (FixedQueueMission(m)) {
            fourOrMore += m.pieceLimit >= 4;
            sixOrMore += m.pieceLimit >= 6;
            if (n > MissionCount - 5) {
                EXPECT_GE(m.pieceLimit, 5) << "mission " << n;
            }
        } else {
            ++random;
            types[m.type < 8 ? m.type : 0] = true;
            EXPECT_LE(n, MissionCount - 5) << "mission " << n;
        }
    }
    for (int k = 1; k <= 13; ++k) EXPECT_GE(missionsWith[k], 3) << "kind " << k;
    EXPECT_GE(knotted, 10);
    EXPECT_GE(fourOrMore, 12);
    EXPECT_GE(sixOrMore, 5);
    EXPECT_LE(random, 3);
    EXPECT_TRUE(types[6] && types[7]);
}

// From the title through "MISSION MODE" and "NORMAL GAME" to the mission,
// the stored way played, the mission cleared and the next one entered.
TEST(Campaign, StoredWaysClearEachMissionFromTheTitleAndTheNextOneFollows) {
    for (int n = 1; n <= MissionCount; ++n) {
        if (!FixedQueueMission(Mission(n))) continue;
        fs::path script = Solutions / (Two(n) + ".txt");
        ASSERT_TRUE(fs::exists(script)) << script;
        std::string folder = GameFolder("campaign-replay", n - 1);
        RunnerResult run = RunHeadless(folder, ReadText(script), "--frames 110");
        int entry = run.FirstFrame("ScreenState", 10);
        ASSERT_GT(entry, 0) << "mission " << n << " never entered";
        EXPECT_EQ(run.Value(entry, "MissionNumber"), n);
        int clear = run.FirstFrame("ScreenState", 8, entry);
        ASSERT_GT(clear, 0) << "mission " << n << " not cleared";
        EXPECT_EQ(run.FirstFrame("ScreenState", 5), 0) << "mission " << n << " lost";
        EXPECT_EQ(run.Value(clear, "ClearedCount"), n);
        // The clear reaches the records file in the frame it is counted in.
        int counted = run.FirstFrame("ClearedCount", n, entry);
        ASSERT_GT(counted, 0);
        EXPECT_NE(run.trace[size_t(counted - 1)].find("rcd.dat"), std::string::npos) << "mission " << n;
        // 100 frames of the clear screen, then the next board entry (or the title after the last).
        int after = clear + 100;
        if (n < MissionCount) {
            EXPECT_EQ(run.Value(after, "ScreenState"), 10) << "mission " << n;
            EXPECT_EQ(run.Value(after, "MissionNumber"), n + 1);
        } else {
            EXPECT_EQ(run.Value(after, "ScreenState"), 6);
        }
        std::vector<uint8_t> records = FileBytes(fs::path(folder) / "rcd.dat");
        ASSERT_EQ(records.size(), 197u);
        EXPECT_EQ(records[size_t(96 + n)], 1) << "mission " << n;
        ExpectTheFullSetChangesOnlyWhatIsHeard(n, run, ReadText(script));
    }
}

// The median of five runs is under 90 seconds: at least three clear by then.
TEST(Campaign, RandomPairMissionsAreClearedBySimplePlayerInNinetySeconds) {
    int randomMissions = 0;
    for (int n = 1; n <= MissionCount; ++n) {
        MissionImage m = Mission(n);
        if (FixedQueueMission(m)) continue;
        ++randomMissions;
        int cleared = 0;
        for (unsigned seed = 1; seed <= 5; ++seed) {
            std::string folder = GameFolder("campaign-random", n - 1);
            PlayerRun run = PlayWithSimplePlayer(folder, n, seed, NinetySeconds);
            cleared += run.cleared;
        }
        EXPECT_GE(cleared, 3) << "mission " << n;
    }
    EXPECT_EQ(randomMissions, 2);
}

// The player's run, written as a script, does the same in the headless runner.
TEST(Campaign, SimplePlayersRunReplaysInTheRunner) {
    const int n = 9;
    std::string folder = GameFolder("campaign-player", n - 1);
    PlayerRun run = PlayWithSimplePlayer(folder, n, 2, FiveMinutes);
    ASSERT_TRUE(run.cleared);
    std::string replay = GameFolder("campaign-player-replay", n - 1);
    RunnerResult replayed = RunHeadless(replay, ScriptLines(run.keys), "--frames 1", 2);
    int clear = replayed.FirstFrame("ScreenState", 8);
    ASSERT_GT(clear, 0);
    EXPECT_EQ(clear, int(run.keys.size()));  // the frame after the last key the player held
    EXPECT_EQ(replayed.Value(clear, "MissionNumber"), n);
}

}  // namespace
