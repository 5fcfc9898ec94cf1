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
// clock, the frame count), with the game folder's path taken out.
std::string PlayPart(std::string line, const std::string& folder) {
    for (const char* key : {"frame", "Ticks", "FrameCounter", "FpsWindowStart", "FpsWindowStarted", "FrameDeadline",
                            "FrameDeadlineSet", "FpsValue"}) {
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

}  // namespace
