// Replay files: games recorded by the headless runner through the game's own
// recording, verified back to the records they made; bad files refused.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "platform/platform_headless.h"
#include "rules/screen_state.h"
#include "screens/records_file.h"
#include "shell/main_loop.h"
#include "shell/program_state.h"
#include "shell/replay.h"
#include "shell/replay_file.h"
#include "shell/replay_record.h"
#include "tests/runner_support.h"
#include "tests/test_support.h"

namespace fs = std::filesystem;

namespace {
struct CommandRun {
    int status;
    std::string out, err;
};

CommandRun Command(const std::string& folder, const std::string& args) {
    const std::string out = folder + "/../cmd.out", err = folder + "/../cmd.err";
    const std::string command = "cd " + folder + " && env -u LANG -u LC_ALL " TESSMAR_BINARY_DIR "/tessmar-headless " +
                                args + " >" + out + " 2>" + err;
    int status = std::system(command.c_str());
    CommandRun run{WIFEXITED(status) ? WEXITSTATUS(status) : -1, "", ""};
    for (const std::string& line : ReadLines(out)) run.out += line + "\n";
    for (const std::string& line : ReadLines(err)) run.err += line + "\n";
    return run;
}

std::vector<uint8_t> Bytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

// A hectic score-attack pattern: a key change every 1 to 4 frames.
std::string HecticScript(int lines) {
    const char* keys[] = {"Left", "Right", "Down", "Z", "X", "", "A", "Down Left", "Down Right"};
    std::string script;
    uint32_t x = 5;
    for (int i = 0; i < lines; ++i) {
        x = x * 1103515245u + 12345u;
        script += std::to_string(1 + (x >> 16) % 4) + " " + keys[(x >> 8) % 9] + "\n";
    }
    return script;
}

std::vector<std::string> Replays(const std::string& folder) {
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(folder)) names.push_back(e.path().string());
    std::sort(names.begin(), names.end());
    return names;
}

// Records one run's games into folder/rec; the game folder is folder/game.
std::vector<std::string> RecordGames(const std::string& folder, const std::string& script, unsigned seed = 7) {
    fs::create_directories(folder + "/game");
    std::ofstream(folder + "/input.txt") << script;
    CommandRun run = Command(folder + "/game", "--seed " + std::to_string(seed) + " --dir " + folder + "/game --start-score-attack --input " + folder +
                                            "/input.txt --frames 40 --record " + folder + "/rec");
    EXPECT_EQ(run.status, 0) << run.err;
    return Replays(folder + "/rec");
}

std::string JsonText(const std::string& line, const std::string& key) {
    size_t at = line.find("\"" + key + "\":\"");
    if (at == std::string::npos) return "missing";
    at += key.size() + 4;
    return line.substr(at, line.find('"', at) - at);
}
}  // namespace

TEST(Replay, RecordedGamesVerifyToTheScoresAndEntriesOfTheRecordsFile) {
    const std::string folder = MakeTempFolder("replay-verify");
    // Two runs on one game folder, each a game over and its name entry.
    RecordGames(folder, HecticScript(4000), 7);
    const std::vector<std::string> replays = RecordGames(folder, HecticScript(4000), 8);
    ASSERT_EQ(replays.size(), 2u);
    const std::vector<uint8_t> records = Bytes(folder + "/game/rcd.dat");
    ASSERT_EQ(records.size(), size_t(RecordsFileSize));
    const std::string empty = folder + "/empty";
    fs::create_directories(empty);
    int entries = 0;
    for (const std::string& path : replays) {
        SCOPED_TRACE(path);
        CommandRun run = Command(empty, "--verify " + path);
        ASSERT_EQ(run.status, 0) << run.err;
        EXPECT_EQ(std::count(run.out.begin(), run.out.end(), '\n'), 1);
        const long long score = TraceNumber(run.out, "score");
        EXPECT_NE(path.find("-score-" + std::to_string(score) + ".tsr"), std::string::npos);
        EXPECT_EQ(JsonText(run.out, "mode"), "score attack");
        // Its entry is one of the file's five by name and score.
        EXPECT_NE(run.out.find("\"over\":true"), std::string::npos);
        {
            ++entries;
            const std::string name = JsonText(run.out, "name");
            EXPECT_EQ(TraceNumber(run.out.substr(run.out.find("\"entry\"")), "score"), score);
            bool inFile = false;
            for (int place = 1; place <= LastPlace; ++place) {
                const uint8_t* e = records.data() + place * RecordEntrySize;
                uint32_t s = e[12] | e[13] << 8 | e[14] << 16 | uint32_t(e[15]) << 24;
                if (s == uint32_t(score) && name == reinterpret_cast<const char*>(e)) inFile = true;
            }
            EXPECT_TRUE(inFile) << run.out;
        }
        // Its frames are the file's.
        Replay replay;
        std::string error;
        ASSERT_TRUE(ReadReplayFile(path, replay, error)) << error;
        EXPECT_EQ(TraceNumber(run.out, "frames"), replay.frames);
    }
    EXPECT_EQ(entries, 2);
    EXPECT_TRUE(fs::is_empty(empty));  // verifying writes nothing
}

TEST(Replay, BadFilesAreRefusedWithOneLineAndNothingWritten) {
    const std::string folder = MakeTempFolder("replay-bad");
    const std::vector<std::string> replays = RecordGames(folder, HecticScript(600));
    ASSERT_FALSE(replays.empty());
    const std::vector<uint8_t> good = Bytes(replays[0]);
    Replay decoded;
    std::string error;
    ASSERT_TRUE(DecodeReplay(good.data(), good.size(), decoded, error)) << error;
    // Where the header's fields and the first run lie: the start's fields
    // from byte 85 (the generator, its indices at 209 and 210, the label,
    // colours, grid, daily, its day, the fish from 219, the records), then
    // the frame before (its keys and joystick) and the mission.
    const size_t headerSize = good[6] | good[7] << 8, beforeAt = headerSize;
    int keysBefore = 0;
    for (int key = 0; key < KeyCount; ++key) keysBefore += decoded.start.before.keys.Has(key);
    const size_t framesAt = beforeAt + 2 + 2 * size_t(keysBefore) + 9 + decoded.mission.size(), runsAt = framesAt + 4;
    auto patched = [&](size_t at, std::vector<uint8_t> with) {
        std::vector<uint8_t> b = good;
        std::copy(with.begin(), with.end(), b.begin() + long(at));
        return b;
    };
    auto cut = [&](size_t size) { return std::vector<uint8_t>(good.begin(), good.begin() + long(size)); };
    std::vector<uint8_t> binary(5000);
    for (size_t i = 0; i < binary.size(); ++i) binary[i] = uint8_t(i * 7919 >> 3);
    const struct {
        const char* name;
        std::vector<uint8_t> bytes;
        const char* says;
    } cases[] = {
        {"empty", {}, "not a Tessmar replay"},
        {"magic only", cut(4), "cut short"},
        {"binary", binary, "not a Tessmar replay"},
        {"cut in the header", cut(headerSize / 2), "cut short"},
        {"cut in the records", cut(headerSize - 100), "cut short"},
        {"cut in the frames", cut(good.size() - 1), "frames"},
        {"another format", patched(4, {1, 0}), "format 1"},
        {"header size lies", patched(6, {200, 0}), "header's size"},
        {"mission of 100 bytes", patched(30, {100, 0}), "not 294 bytes"},
        {"generator no seed gives", patched(209, {30, 0}), "no seed leads to"},
        {"generator index past its table", patched(209, {34, 31}), "no seed leads to"},
        {"rope label 0", patched(211, {0}), "rope label"},
        {"grid neither on nor off", patched(213, {2}), "neither on nor off"},
        {"daily of no real day", patched(214, {1, 0, 0, 0, 0}), "no real day"},
        {"daily without its mission", patched(214, {1, 0xEA, 0x07, 12, 9}), "without its mission"},
        {"fish of unknown state", patched(219 + 16, {7}), "a fish"},
        {"fish not a number", patched(219, {0, 0, 0xC0, 0x7F}), "a fish"},
        {"fish swimming both ways", patched(219 + 12, {2, 0, 0, 0}), "a fish"},
        {"frame before not whole", patched(beforeAt, {1}), "not whole"},
        {"begins on the records screen", patched(headerSize - 2, {2}), "no game's first screen"},
        {"speed neither classic nor brisk", patched(headerSize - 1, {2}), "neither on nor off"},
        {"run of 4 billion frames", patched(runsAt, {0xFF, 0xFF, 0xFF, 0xFF, 0x0F}), "run of"},
        {"more frames than said", patched(framesAt, {1, 0, 0, 0}), "more frames"},
        {"over a day of frames", patched(framesAt, {0xFF, 0xFF, 0xFF, 0xFF}), "longer than a day"},
    };
    const std::string empty = folder + "/empty";
    fs::create_directories(empty);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string path = folder + "/bad.tsr";
        std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(c.bytes.data()), long(c.bytes.size()));
        CommandRun run = Command(empty, "--verify " + path);
        EXPECT_EQ(run.status, 2);
        EXPECT_EQ(run.out, "");
        EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << run.err;
        EXPECT_NE(run.err.find(c.says), std::string::npos) << run.err;
    }
    // Not files: a folder and a FIFO, refused unread.
    const std::string fifo = folder + "/fifo.tsr";
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    for (const std::string& path : {empty, fifo}) {
        CommandRun run = Command(empty, "--verify " + path);
        EXPECT_EQ(run.status, 2) << path;
        EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << run.err;
    }
    EXPECT_TRUE(fs::is_empty(empty));
    // Every shorter piece of a good file is refused.
    for (size_t size = 0; size < good.size(); ++size)
        EXPECT_FALSE(DecodeReplay(good.data(), size, decoded, error)) << size;
}

TEST(Replay, TenHecticMinutesTakeWellUnder100KB) {
    // 24,000 frames with a new key every 2.5 frames: encoded as the game does.
    Replay r;
    r.frames = 24000;
    const std::string script = HecticScript(9600);
    size_t at = 0;
    for (int i = 0; i < 9600; ++i) {
        size_t end = script.find('\n', at);
        const std::string line = script.substr(at, end - at);
        at = end + 1;
        ReplaySample s;
        s.keys.Add(int(line.size()));  // a key per pattern
        r.samples.push_back(s);
        r.runs.push_back({uint32_t(std::stoi(line)), uint32_t(i), -1});
    }
    r.runs[0].frames = 10000;  // a key held for over four minutes: cut into runs, read back whole
    uint32_t frames = 0;
    for (const ReplayRun& run : r.runs) frames += run.frames;
    r.frames = frames;
    const std::vector<uint8_t> bytes = EncodeReplay(r);
    std::printf("%u frames in %zu bytes\n", frames, bytes.size());
    EXPECT_LT(bytes.size(), 60000u);
    Replay back;
    std::string error;
    ASSERT_TRUE(DecodeReplay(bytes.data(), bytes.size(), back, error)) << error;
    EXPECT_EQ(back.frames, frames);
    EXPECT_EQ(back.runs.size(), r.runs.size() + 2);  // 10,000 frames as 4,096 + 4,096 + 1,808
}

TEST(Replay, PruningKeepsTheLatestTheBestFiveAndFirstClears) {
    FreshProgram();
    std::vector<std::string> names;
    for (int i = 0; i < 30; ++i) names.push_back("20260101-0000" + std::to_string(10 + i) + "-score-" + std::to_string(100 + i) + ".tsr");
    names.insert(names.begin(), {"20251201-000000-mission03-clear.tsr", "20251202-000000-mission03-clear.tsr",
                                 "20251203-000000-mission04.tsr"});
    std::sort(names.begin(), names.end());
    std::memcpy(RecordTable[1].name, "AB", 3);
    RecordTable[1].score = 101;  // an old game's score in the table
    std::memcpy(RecordTable[2].name, "CD", 3);
    RecordTable[2].score = 999;  // no replay of it
    const std::vector<std::string> pruned = ReplaysToPrune(names);
    std::vector<std::string> expected = {"20251202-000000-mission03-clear.tsr", "20251203-000000-mission04.tsr"};
    for (int i = 0; i < 10; ++i)
        if (i != 1) expected.push_back("20260101-0000" + std::to_string(10 + i) + "-score-" + std::to_string(100 + i) + ".tsr");
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(pruned, expected);
    FreshProgram();
}

TEST(Replay, TheDateKeyWritesTheDayTheGameWasPlayed) {
    // Pairs dropped down the middle: the name entry from frame 518, D, Enter.
    const std::string folder = MakeTempFolder("replay-date");
    const std::vector<std::string> replays =
        RecordGames(folder, "11\n1 Left Right Down\n107 Down\n420\n1 D\n5\n1 Enter\n60\n");
    ASSERT_EQ(replays.size(), 1u);
    std::vector<uint8_t> bytes = Bytes(replays[0]);
    // Another day in the header (at byte 32: year, month, day).
    const uint8_t day[4] = {2001 & 0xFF, 2001 >> 8, 2, 3};
    std::copy(day, day + 4, bytes.begin() + 32);
    const std::string moved = folder + "/moved.tsr";
    std::ofstream(moved, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), long(bytes.size()));
    fs::create_directories(folder + "/empty");
    CommandRun run = Command(folder + "/empty", "--verify " + moved);
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(JsonText(run.out, "name"), "01/02/03") << run.out;
}

TEST(Replay, AClearedMissionVerifiesAsItsFirstClear) {
    // The stored way of mission 5, from the title on a fresh game folder.
    const std::string folder = MakeTempFolder("replay-mission");
    fs::create_directories(folder + "/game");
    fs::copy(TESSMAR_BINARY_DIR "/gamedata/mission", folder + "/game/mission");
    CommandRun run = Command(folder + "/game", "--seed 7 --dir " + folder + "/game --input " TESSMAR_SOURCE_DIR
                                               "/tests/campaign/solutions/05.txt --frames 40 --record " + folder + "/rec");
    ASSERT_EQ(run.status, 0) << run.err;
    const std::vector<std::string> replays = Replays(folder + "/rec");
    ASSERT_EQ(replays.size(), 1u);
    EXPECT_NE(replays[0].find("-mission05-clear.tsr"), std::string::npos) << replays[0];
    fs::create_directories(folder + "/empty");
    run = Command(folder + "/empty", "--dir " + folder + "/game --verify " + replays[0]);
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(JsonText(run.out, "mode"), "mission");
    EXPECT_NE(run.out.find("\"mission\":5,"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("\"cleared\":true"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("\"entry\":{\"mission cleared\":5}"), std::string::npos) << run.out;
    // The numbered mission is this game's own: a replay of another mission 5 is refused.
    Replay replay;
    std::string error;
    ASSERT_TRUE(ReadReplayFile(replays[0], replay, error)) << error;
    ASSERT_EQ(replay.mission.size(), 294u);
    replay.mission[100] ^= 1;
    const std::vector<uint8_t> bytes = EncodeReplay(replay);
    const std::string other = folder + "/other.tsr";
    std::ofstream(other, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), long(bytes.size()));
    run = Command(folder + "/empty", "--dir " + folder + "/game --verify " + other);
    EXPECT_EQ(run.status, 2);
    EXPECT_NE(run.err.find("mission 5 of another version"), std::string::npos) << run.err;
}

TEST(Replay, AFolderThatCannotBeWrittenKeepsNoReplaysAndTheGamePlaysOn) {
    const std::string folder = MakeTempFolder("replay-full");
    std::ofstream(folder + "/file") << "a file, not a folder";
    fs::create_directories(folder + "/game");
    std::ofstream(folder + "/input.txt") << HecticScript(4000);
    CommandRun run = Command(folder + "/game", "--seed 7 --dir " + folder + "/game --start-score-attack --input " + folder +
                                                   "/input.txt --frames 40 --record " + folder + "/file/replays");
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_NE(run.err.find("replays are not kept"), std::string::npos) << run.err;
    EXPECT_EQ(fs::file_size(folder + "/game/rcd.dat"), size_t(RecordsFileSize));  // the game went on to its records
}

TEST(Replay, TheListWatchesAGameAtFourTimesTheSpeedAndGivesTheRecordsBack) {
    const std::string folder = MakeTempFolder("replay-watch");
    const std::vector<std::string> replays =
        RecordGames(folder, "11\n1 Left Right Down\n107 Down\n420\n1 D\n5\n1 Enter\n60\n");
    ASSERT_EQ(replays.size(), 1u);
    Replay replay;
    std::string error;
    ASSERT_TRUE(ReadReplayFile(replays[0], replay, error)) << error;
    fs::create_directories(folder + "/play");
    StartInFolder(folder + "/play");
    ReplaysFolder = folder + "/rec";
    ScreenState = RecordsScreen;
    std::memcpy(RecordTable[1].name, "MINE", 5);
    RecordTable[1].score = 77;
    constexpr int None = -1;
    auto frame = [](int key) {
        Headless.keys = key == None ? KeySet{} : KeyBit(key);
        RunFrame();
    };
    WriteRecordsFile();
    const std::vector<uint8_t> onDisk = Bytes(folder + "/play/rcd.dat");
    ASSERT_EQ(onDisk.size(), size_t(RecordsFileSize));
    for (int key : {None, int(KeyR), None, int(KeyZ), None, int(KeyRight), None, int(KeyRight), None}) frame(key);
    ASSERT_NE(ScreenState, RecordsScreen);  // the replayed game on screen
    int frames = 5;                         // of the replay's, at x1 then x2 while Right was pressed
    while (ScreenState != RecordsScreen && frames < int(replay.frames) * 2) {
        frame(None);
        ++frames;
    }
    // About a quarter of the replay's frames, and the records as they were.
    EXPECT_LT(frames, int(replay.frames) / 4 + 10);
    EXPECT_GT(frames, int(replay.frames) / 4 - 10);
    EXPECT_EQ(RecordTable[1].score, 77u);
    EXPECT_STREQ(reinterpret_cast<const char*>(RecordTable[1].name), "MINE");
    EXPECT_EQ(Bytes(folder + "/play/rcd.dat"), onDisk) << "the watched game's name entry wrote the records";
    // X leaves the list for the records screen; X again for the title.
    for (int key : {int(KeyX), None, int(KeyX), None}) frame(key);
    EXPECT_EQ(ScreenState, TitleScreen);
    ReplaysFolder.clear();
    FreshProgram();
}

// A replay holds no state of the game: the verifier sets the game up as the
// menus did, from what the player brought into it. Set up again and played
// from its replay, every variable of play stands as in the player's game,
// frame for frame: after wandering the menus with fish swimming and the
// grid on, on a numbered mission, and in a second game after a game over
// and its name entry (whose leftovers the new game overwrites before it
// reads them), and on a pad with the window losing its focus in play.
TEST(Replay, AGameSetUpFromItsReplayPlaysAsThePlayersDid) {
    const std::string folder = MakeTempFolder("replay-setup");
    fs::create_directories(folder + "/play");
    fs::copy(TESSMAR_BINARY_DIR "/gamedata/mission", folder + "/play/mission");
    // Menus, clocks and the frame rate are not the game's; a finished
    // game's falling blocks and place in the table are left as they were.
    const std::vector<std::string> notPlay = {"FrameCounter", "FpsWindowStart", "FpsWindowStarted", "FrameDeadline",
                                              "FrameDeadlineSet", "FpsValue", "TitleCursor", "MissionCursor",
                                              "MissionRepeatTimer", "MissionBlinkTimer", "Notice", "NoticeFrames",
                                              "FallingBlocks", "NewPlace"};
    // Left by the game before until the new one's first pair comes in.
    const std::vector<std::string> untilFirstPair = {"FallingPair", "FallTimer", "RetrySaved"};
    constexpr int None = -1, PlayFrames = 700, FirstPairFrames = 100;
    const struct {
        const char* name;
        std::vector<std::pair<int, int>> keys;  // (key, frames) up to the frame that sets the game up
        bool pad = false;                       // the keys are a pad's buttons
    } ways[] = {
        {"score attack after the title's fish", {{None, 300}, {int(KeyG), 1}, {None, 1}, {int(KeyZ), 1}}},
        {"mission 1 from the mission select", {{None, 20}, {int(KeyDown), 1}, {None, 1}, {int(KeyZ), 1}, {None, 30}, {int(KeyZ), 1}}},
        {"a second score attack", {{int(KeyZ), 1}, {None, 90}, {int(KeyDown), 430}, {None, 300}, {int(KeyEnter), 1},
                                   {None, 200}, {int(KeyZ), 1}}},
        {"score attack on a pad", {{None, 60}, {int(PadBottom), 1}}, true},
    };
    const int hecticPad[] = {int(PadDpadLeft), int(PadDpadRight), int(PadDpadDown), int(PadBottom), int(PadRight),
                             int(PadStart), None};
    const int hectic[] = {int(KeyLeft), int(KeyRight), int(KeyDown), int(KeyZ), int(KeyX), None, None};
    for (const auto& way : ways) {
        SCOPED_TRACE(way.name);
        StartInFolder(folder + "/play");
        RecordingReplays = true;
        ReplaysFolder = folder + "/rec";
        auto hold = [&](int key) {
            Headless.joyPresent = Headless.joyPad = way.pad;
            Headless.joyButtons = way.pad && key != None ? 1u << key : 0;
            Headless.keys = way.pad || key == None ? KeySet{} : KeyBit(key);
        };
        int setUpFrames = 0;
        for (const auto& [key, frames] : way.keys)
            for (int i = 0; i < frames; ++i) {
                hold(key);
                RunFrame();
                ++setUpFrames;
            }
        ASSERT_EQ(ScreenState, BoardEntryScreen) << "after " << setUpFrames << " frames";
        // The player's game, a key change every few frames (Z held into its first frame).
        std::vector<std::vector<uint8_t>> players;
        uint32_t x = 11;
        for (int frame = 0; frame <= PlayFrames && InGameScreen(); ++frame) {
            std::vector<uint8_t> image(ProgramStateBytes);
            SaveProgramState(*reinterpret_cast<ProgramStateImage*>(image.data()));
            players.push_back(std::move(image));
            x = x * 1103515245u + 12345u;
            if (way.pad) hold(frame == 0 ? int(PadBottom) : hecticPad[(x >> 16) % std::size(hecticPad)]);
            else hold(frame == 0 ? int(KeyZ) : hectic[(x >> 16) % std::size(hectic)]);
            if (way.pad && frame == 250) Headless.pendingEvents.push_back(PlatformEvent::FocusLost);
            if (way.pad && frame == 260) Headless.pendingEvents.push_back(PlatformEvent::FocusGained);
            RunFrame();
        }
        const Replay replay = RecordedReplay();
        ForgetReplayRecording();
        RecordingReplays = false;
        hold(None);
        Headless.joyPresent = false;
        std::string error;
        ASSERT_TRUE(StartReplayFile(replay, error)) << error;
        int differ = 0;
        EXPECT_GT(players.size(), size_t(FirstPairFrames)) << "the game ended early";
        for (size_t frame = 0; frame < players.size() && differ < 5; ++frame) {
            ProgramStateImage again;
            SaveProgramState(again);
            size_t at = 0;
            for (const StateVariable& v : ProgramState) {
                const bool skipped = std::find(notPlay.begin(), notPlay.end(), v.name) != notPlay.end() ||
                                     (frame < size_t(FirstPairFrames) &&
                                      std::find(untilFirstPair.begin(), untilFirstPair.end(), v.name) != untilFirstPair.end());
                if (!skipped && std::memcmp(players[frame].data() + at, again + at, v.size) != 0) {
                    ADD_FAILURE() << v.name << " differs in frame " << frame;
                    ++differ;
                }
                at += v.size;
            }
            RunFrame();
        }
        StopReplay();
        if (way.pad) {
            int owed = 0;
            for (const ReplayRun& run : replay.runs) owed += replay.samples[run.sample].owedPause ? 1 : 0;
            EXPECT_EQ(owed, 1) << "the focus loss's pause is in the replay";
        }
    }
    ReplaysFolder.clear();
    FreshProgram();
}

// A day's mission kept as a replay verifies as a day's mission, and leaves
// the day's results alone: verifying someone's past game is not playing it.
TEST(Replay, ADailyGameVerifiesWithoutTouchingTheDaysResults) {
    const std::string folder = MakeTempFolder("replay-daily");
    fs::create_directories(folder + "/game");
    fs::copy(TESSMAR_BINARY_DIR "/gamedata/mission", folder + "/game/mission");
    // Mission mode, Down twice to DAILY, Z; every pair dropped until the game is lost.
    std::ofstream(folder + "/input.txt") << "20\n1 Down\n3\n1 Z\n40\n1 Down\n3\n1 Down\n3\n1 Z\n100\n1500 Down\n200\n";
    CommandRun run = Command(folder + "/game", "--seed 3 --today 2026-12-09 --dir " + folder + "/game --input " + folder +
                                                   "/input.txt --frames 40 --record " + folder + "/rec");
    ASSERT_EQ(run.status, 0) << run.err;
    const std::vector<std::string> replays = Replays(folder + "/rec");
    ASSERT_EQ(replays.size(), 1u);
    Replay replay;
    std::string error;
    ASSERT_TRUE(ReadReplayFile(replays[0], replay, error)) << error;
    EXPECT_TRUE(replay.start.daily);
    EXPECT_EQ(replay.start.dailyDay.day, 9);
    ASSERT_TRUE(fs::remove(folder + "/game/daily/days.txt")) << "the game kept its result";
    run = Command(folder + "/game", "--dir " + folder + "/game --verify " + replays[0]);
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_NE(run.out.find("\"over\":true"), std::string::npos) << run.out;
    EXPECT_FALSE(fs::exists(folder + "/game/daily/days.txt")) << "the verified game kept a result";
}
