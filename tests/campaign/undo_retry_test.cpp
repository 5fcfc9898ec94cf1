// Undo, retry and give up played through the runner from the stored ways:
// an undone game plays on exactly as one never spoiled, and each way out of
// a mission lands where it should without a record for what was not cleared.
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "tests/runner_support.h"
#include "tests/test_support.h"

namespace {
namespace fs = std::filesystem;

const fs::path Gamedata = fs::path(TESSMAR_BINARY_DIR) / "gamedata";
const fs::path Solutions = fs::path(TESSMAR_SOURCE_DIR) / "tests" / "campaign" / "solutions";

// A game folder with the built missions and sounds, and records in which
// missions 1 to 29 are cleared (any numbered mission can be chosen).
std::string GameFolder(const std::string& name) {
    std::string folder = MakeTempFolder(name);
    fs::copy(Gamedata, folder, fs::copy_options::recursive);
    std::vector<char> records(197, 0);
    for (int n = 1; n <= 29; ++n) records[size_t(96 + n)] = 1;
    records[196] = 29;
    std::ofstream(folder + "/rcd.dat", std::ios::binary).write(records.data(), std::streamsize(records.size()));
    return folder;
}

std::vector<char> FileBytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<char>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// A script as the keys held in each frame ("" for none), and back.
std::vector<std::string> FramesOf(const fs::path& path) {
    std::vector<std::string> frames;
    std::ifstream in(path);
    for (std::string line; std::getline(in, line);) {
        line = line.substr(0, line.find('#'));
        std::istringstream words(line);
        int count = 0;
        if (!(words >> count)) continue;
        std::string keys, key;
        while (words >> key) keys += " " + key;
        frames.insert(frames.end(), size_t(count), keys);
    }
    return frames;
}

std::string ScriptOf(const std::vector<std::string>& frames) {
    std::string script;
    for (const std::string& keys : frames) script += "1" + keys + "\n";
    return script;
}

// A trace line without what only says when it ran (the frame number, the
// clock, the frame count) or how it got there (the undos and retries
// counted), with the game folder's path taken out.
std::string PlayPart(std::string line, const std::string& folder) {
    for (const char* key : {"frame", "Ticks", "FrameCounter", "FpsWindowStart", "FpsWindowStarted", "FrameDeadline",
                            "FrameDeadlineSet", "FpsValue", "UndoCount", "RetryCount"}) {
        size_t at = line.find("\"" + std::string(key) + "\":");
        if (at == std::string::npos) continue;
        size_t end = line.find_first_of(",}", at);
        line.erase(at, end + (line[end] == ',' ? 1 : 0) - at);
    }
    for (size_t at; (at = line.find(folder)) != std::string::npos;) line.replace(at, folder.size(), "GAME");
    return line;
}

// Mission 14 (five pairs) played to the entry of its second pair; then that
// pair and the next are dropped anyhow, three undos go back to the second
// pair's entry, and the stored way plays on. From there every frame's play
// state equals that of the way played without the detour, the mission is
// cleared and its record written alike.
TEST(Undo, SpoiledPairsUndoneOneByOnePlayOnAsIfNeverPlayed) {
    const int pair = 2;
    std::vector<std::string> way = FramesOf(Solutions / "14.txt");
    std::string cleanFolder = GameFolder("undo-clean");
    RunnerResult first = RunHeadless(GameFolder("undo-first"), ScriptOf(way));
    const int entry = first.FirstFrame("UndoDepth", pair);  // the frame the second pair came in
    ASSERT_GT(entry, 0);
    // Play waits after an undo for a key: the way's next frame holds Up,
    // which moves nothing in play, in both games.
    way[size_t(entry)] += " Up";
    RunnerResult clean = RunHeadless(cleanFolder, ScriptOf(way), "--frames 20");
    ASSERT_GT(clean.FirstFrame("ScreenState", 8), 0) << "the way no longer clears the mission";

    std::vector<std::string> detour(way.begin(), way.begin() + entry);
    for (int p = 0; p < 2; ++p) {
        detour.insert(detour.end(), 15, " Down");
        detour.insert(detour.end(), 30, "");
    }
    const int spoiled = int(detour.size());
    for (int press = 0; press < 3; ++press) {
        detour.push_back(" Backspace");
        detour.insert(detour.end(), 3, "");
    }
    const int resumed = int(detour.size()) + 1;  // the first frame played on
    detour.insert(detour.end(), way.begin() + entry, way.end());
    std::string undoFolder = GameFolder("undo-detour");
    RunnerResult undone = RunHeadless(undoFolder, ScriptOf(detour), "--frames 20");

    ASSERT_EQ(undone.Value(spoiled, "UndoDepth"), pair + 2) << "the detour did not bring in two more pairs";
    EXPECT_EQ(undone.Value(resumed - 1, "UndoDepth"), pair);
    EXPECT_EQ(undone.Value(resumed - 1, "UndoWaiting"), 1);
    EXPECT_EQ(undone.Value(resumed - 1, "PiecesUsed"), clean.Value(entry, "PiecesUsed"));
    ASSERT_EQ(clean.trace.size() - size_t(entry), undone.trace.size() - size_t(resumed - 1));
    for (size_t f = size_t(entry); f < clean.trace.size(); ++f) {
        const size_t g = f - size_t(entry) + size_t(resumed - 1);
        ASSERT_EQ(PlayPart(undone.trace[g], undoFolder), PlayPart(clean.trace[f], cleanFolder))
            << "frame " << g + 1 << " of the undone game, " << f + 1 << " of the clean one";
    }
    EXPECT_GT(undone.FirstFrame("ScreenState", 8), 0);
    EXPECT_EQ(FileBytes(fs::path(undoFolder) / "rcd.dat"), FileBytes(fs::path(cleanFolder) / "rcd.dat"));
}

// From the title to the first frame of mission 1's board entry; its 79
// frames; play until the first pair falls; the pause.
const std::string ToMissionOne = "1 Down\n1\n1 Z\n1\n1 Z\n";
const std::string Entry = "79\n";
const std::string Play = "40\n";
const std::string Pause = "1 Enter\n2\n";
std::string Downs(int n) {
    std::string s;
    for (int i = 0; i < n; ++i) s += "1 Down\n1\n";
    return s;
}
// Mission 1's two pairs dropped at the left wall, away from the ring: lost
// once the pieces are used up; the script ends 59 frames into the 84 of
// the game-over screen.
const std::string LoseMissionOne = ToMissionOne + Entry + "12\n9 Left\n20 Down\n30\n9 Left\n20 Down\n60\n";

// Every way out of a mission and of score attack, each ending in one
// decisive frame (its script's last): where that frame leaves the game, and
// the records file as it was (nothing was cleared). A retry's board entry
// plays again and the first pair comes in as the first time.
TEST(Retry, EveryWayOutOfEveryKindOfGameLandsWhereItShould) {
    const std::string missionFive = (Gamedata / "mission" / "05.msn").string();
    struct Case {
        const char* name;
        std::string options, script;
        int screen;      // ScreenState at the end of the decisive frame
        int pauseFlag;   // PauseFlag then
        bool entersAgain;  // a board entry follows and play begins after it
    } cases[] = {
        {"numbered mission, RETRY", "", ToMissionOne + Entry + Play + Pause + Downs(3) + "1 Z\n", 10, 0, true},
        {"numbered mission, GIVE UP", "", ToMissionOne + Entry + Play + Pause + Downs(4) + "1 Z\n", 7, 0, false},
        {"numbered mission, Backspace then RETRY in the menu", "",
         ToMissionOne + Entry + Play + "1 Backspace\n2\n" + Pause + Downs(3) + "1 Z\n", 10, 0, true},
        {"mission file, RETRY", "--mission " + missionFive, Entry + Play + Pause + Downs(3) + "1 Z\n", 10, 0, true},
        {"mission file, GIVE UP", "--mission " + missionFive, Entry + Play + Pause + Downs(4) + "1 Z\n", 6, 0, false},
        {"mission file, X closes the menu", "--mission " + missionFive, Entry + Play + Pause + Downs(1) + "1 X\n", 0, 0,
         false},
        {"score attack, GIVE UP", "--start-score-attack", Play + Pause + Downs(2) + "1 Z\n", 5, 0, false},
        {"score attack, Backspace does nothing", "--start-score-attack", Play + Pause + "1 Backspace\n", 0, 1, false},
        {"score attack, no RETRY below GIVE UP", "--start-score-attack", Play + Pause + Downs(4) + "1 Z\n", 5, 0, false},
        {"lost numbered mission, Z", "", LoseMissionOne + "1 Z\n", 10, 0, true},
        {"lost numbered mission, Down then Z", "", LoseMissionOne + "1 Down\n1\n1 Z\n", 6, 0, false},
    };
    for (const Case& c : cases) {
        std::string folder = GameFolder("retry");
        const std::vector<char> records = FileBytes(fs::path(folder) / "rcd.dat");
        RunnerResult run = RunHeadless(folder, c.script, c.options + " --frames 100");
        const int decisive = int(FramesOf(fs::path(folder) / "input.txt").size());
        ASSERT_GE(int(run.trace.size()), decisive) << c.name;
        EXPECT_EQ(run.Value(decisive, "ScreenState"), c.screen) << c.name;
        EXPECT_EQ(run.Value(decisive, "PauseFlag"), c.pauseFlag) << c.name;
        EXPECT_EQ(FileBytes(fs::path(folder) / "rcd.dat"), records) << c.name;
        if (c.entersAgain) {
            const int next = decisive + 79;  // the board entry's last frame
            EXPECT_EQ(run.Value(next, "ScreenState"), 3) << c.name;
            EXPECT_EQ(run.Value(next, "UndoDepth"), 0) << c.name;
            EXPECT_GT(run.FirstFrame("UndoDepth", 1, next), 0) << c.name;
        }
    }
}

// A lost numbered mission left alone goes to the title when its game-over
// screen ends, 84 frames on, as it always did.
TEST(Retry, LostNumberedMissionLeftAloneEndsOnTheTitle) {
    RunnerResult run = RunHeadless(GameFolder("lost"), LoseMissionOne, "--frames 100");
    const int over = run.FirstFrame("ScreenState", 5);
    ASSERT_GT(over, 0);
    EXPECT_EQ(run.FirstFrame("ScreenState", 6, over), over + 84);
}

// RETRY in the pause of mission 14 after three pairs, then the stored way
// from its board entry again: every frame from the retry on is the first
// game's from its board entry on, and the mission is cleared.
TEST(Retry, RetriedMissionPlaysAsItFirstBegan) {
    const std::vector<std::string> way = FramesOf(Solutions / "14.txt");
    std::string firstFolder = GameFolder("retry-first");
    RunnerResult first = RunHeadless(firstFolder, ScriptOf(way), "--frames 20");
    const int entry = first.FirstFrame("ScreenState", 10) + 1;  // the board entry's first frame
    const int third = first.FirstFrame("UndoDepth", 3);
    ASSERT_GT(third, entry);
    std::vector<std::string> again(way.begin(), way.begin() + third + 10);
    for (const char* keys : {" Enter", "", " Down", "", " Down", "", " Down", "", " Z"}) again.push_back(keys);
    const int retried = int(again.size()) + 1;
    again.insert(again.end(), way.begin() + (entry - 1), way.end());
    std::string againFolder = GameFolder("retry-again");
    RunnerResult second = RunHeadless(againFolder, ScriptOf(again), "--frames 20");
    ASSERT_EQ(second.trace.size() - size_t(retried), first.trace.size() - size_t(entry));
    for (size_t f = size_t(entry); f <= first.trace.size(); ++f) {
        const size_t g = f - size_t(entry) + size_t(retried);
        ASSERT_EQ(PlayPart(second.trace[g - 1], againFolder), PlayPart(first.trace[f - 1], firstFolder))
            << "frame " << g << " of the retried game, " << f << " of the first";
    }
    EXPECT_GT(second.FirstFrame("ScreenState", 8, retried), 0);
}

}  // namespace
