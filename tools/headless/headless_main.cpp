// tessmar-headless: the real game logic frame by frame, with no window or
// audio, driven by a script. See README for the command line.
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <cerrno>
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "rules/game_mode.h"
#include "shell/input_script.h"
#include "draw/held_drawing.h"
#include "draw/surfaces.h"
#include "draw/text.h"
#include "settings/language.h"
#include "settings/number_text.h"
#include "platform/platform.h"
#include "platform/platform_headless.h"
#include "platform/platform_os.h"
#include "rules/fish.h"
#include "rules/queue.h"
#include "screens/title.h"
#include "shell/sound_choice.h"
#include "shell/main_loop.h"
#include "shell/message_pump.h"
#include "shell/game_folder.h"
#include "shell/game_window.h"
#include "shell/mission_start.h"
#include "shell/player_settings.h"
#include "settings/data_folder.h"
#include "settings/settings.h"
#include "shell/replay.h"
#include "shell/replay_file.h"
#include "shell/replay_record.h"
#include "shell/startup.h"
#include "rules/game_mode.h"
#include "rules/scoring.h"
#include "rules/screen_state.h"
#include "screens/game_over.h"
#include "screens/records_file.h"
#include "shell/daily_maker.h"
#include "tools/solver/daily_mission.h"
#include "tools/headless/trace.h"
#include "tools/png_io.h"

namespace {
// The picture the headless window showed last.
Surface ShownPicture() {
    Surface s;
    s.width = Headless.lastPresentedWidth;
    s.height = Headless.lastPresentedHeight;
    s.pixels = Headless.lastPresented;
    return s;
}
[[noreturn]] void Fail(const std::string& message) {
    std::fprintf(stderr, "tessmar-headless: %s\n", message.c_str());
    std::exit(2);
}

struct Options {
    std::optional<unsigned> seed;
    std::string dir, input, trace, state, mission, verify, record;
    long long idleFrames = 0;
    std::map<int, std::string> shots;
    bool startScoreAttack = false, languageGiven = false;
    std::optional<CalendarDay> today;
    // The classic sounds unless asked for the full set.
    SoundSet sounds = SoundSet::Classic;
};

// What the title's "SCORE ATTACK" sets up, straight into the first NextPair
// without board entry.
void StartScoreAttack() {
    SetUpScoreAttack();
    ScreenState = NextPair;
}

Options ReadOptions(int argc, char** argv) {
    Options o;
    for (int i = 1; i < argc; ++i) {
        std::string a = argv[i];
        auto value = [&]() -> std::string {
            if (i + 1 >= argc) Fail("option " + a + " needs a value");
            return argv[++i];
        };
        long long v = 0;
        if (a == "--seed") {
            if (!ParseNumber(value(), 0, 0xFFFFFFFFLL, v)) Fail("--seed needs a number 0..4294967295");
            o.seed = unsigned(v);
        } else if (a == "--dir") {
            o.dir = value();
        } else if (a == "--input") {
            o.input = value();
        } else if (a == "--frames") {
            if (!ParseNumber(value(), 0, 100000000, v)) Fail("--frames needs a number");
            o.idleFrames = v;
        } else if (a == "--trace") {
            o.trace = value();
        } else if (a == "--state") {
            o.state = value();
        } else if (a == "--shot") {
            std::string shotArg = value();
            auto eq = shotArg.find('=');
            if (eq == std::string::npos || !ParseNumber(shotArg.substr(0, eq), 1, 100000000, v) || eq + 1 == shotArg.size())
                Fail("--shot needs FRAME=FILE.png");
            o.shots[int(v)] = shotArg.substr(eq + 1);
        } else if (a == "--mission") {
            o.mission = value();
        } else if (a == "--language") {
            auto language = ParseLanguage(value());
            if (!language) Fail("--language needs ja or en");
            TextLanguage = *language;
            o.languageGiven = true;
        } else if (a == "--sounds") {
            auto sounds = ParseSoundSet(value());
            if (!sounds) Fail("--sounds needs classic or full");
            o.sounds = *sounds;
        } else if (a == "--today") {
            // The platform's date, as a clock may give it: also out of the
            // years of the day's missions, or no day at all (2026-02-30).
            std::string text = value();
            long long y = 0, m = 0, d = 0;
            if (text.size() != 10 || text[4] != '-' || text[7] != '-' || !ParseNumber(text.substr(0, 4), 0, 9999, y) ||
                !ParseNumber(text.substr(5, 2), 0, 99, m) || !ParseNumber(text.substr(8, 2), 0, 99, d))
                Fail("--today needs a date YYYY-MM-DD");
            o.today = CalendarDay{int(y), int(m), int(d)};
        } else if (a == "--record") {
            o.record = value();
        } else if (a == "--verify") {
            o.verify = value();
        } else if (a == "--start-score-attack") {
            o.startScoreAttack = true;
        } else {
            Fail("unknown option " + a);
        }
    }
    return o;
}
const char* ModeName(uint8_t mode) {
    switch (mode) {
        case ScoreAttack: return "score attack";
        case NormalGame: return "mission";
        case EditGame: return "mission file";
        default: return "unknown";
    }
}

// --verify FILE: plays the replay without window or sound, writing nothing,
// and prints what the game came to as one JSON line.
int PlayVerified(const Options& o, const Replay& replay) {
    std::string error;
    if (!o.dir.empty() && chdir(o.dir.c_str()) != 0) Fail("cannot enter the game folder " + o.dir);
    RecordsDisabled = true;  // the records are the replay's own, and never written
    GameSettingsPath.clear();
    PlatformInit();
    PlatformOpenWindow({"Tessmar", ScreenWidth, ScreenHeight});
    StartProgram();
    HoldDrawingOf(&BackBuffer);  // drawn as the game draws
    if (!StartReplayFile(replay, error)) Fail(o.verify + ": " + error);
    const RecordEntry before[RecordEntries] = {RecordTable[0], RecordTable[1], RecordTable[2], RecordTable[3],
                                               RecordTable[4], RecordTable[5]};
    const uint8_t clearedBefore = replay.missionNumber < ClearedFlagCount ? ClearedFlags[replay.missionNumber] : 0;
    long long frames = 0;
    int32_t score = 0;
    bool cleared = false;
    while (!QuitFlag) {
        RunFrame();
        if (!ReplayKeepsFramesCounted()) break;
        ++frames;
        if (!InGameScreen()) break;  // the game is over: later frames belong to no game
        if (Score > score) score = Score;
        if (ScreenState == MissionClearScreen) cleared = true;
    }
    const bool over = !InGameScreen();
    std::string entry = "null";
    for (int place = 1; place <= LastPlace && replay.mode == ScoreAttack; ++place)
        if (std::memcmp(&RecordTable[place], &before[place], sizeof(RecordEntry)) != 0) {
            char name[ShownNameSize];
            CopyShownName(RecordTable[place], name);
            std::string shown;
            for (const char* c = name; *c; ++c) {
                if (*c == '"' || *c == '\\') shown += '\\';
                if (uint8_t(*c) >= 0x20 && uint8_t(*c) < 0x7F) shown += *c;
            }
            entry = "{\"place\":" + std::to_string(place) + ",\"name\":\"" + shown + "\",\"score\":" +
                    std::to_string(RecordTable[place].score) + "}";
            break;
        }
    if (replay.mode != ScoreAttack && replay.missionNumber < ClearedFlagCount && clearedBefore == 0 &&
        ClearedFlags[replay.missionNumber] != 0)
        entry = "{\"mission cleared\":" + std::to_string(replay.missionNumber) + "}";
    std::printf("{\"mode\":\"%s\",\"mission\":%d,\"score\":%d,\"cleared\":%s,\"frames\":%lld,\"over\":%s,\"entry\":%s}\n",
                ModeName(replay.mode), replay.mode == NormalGame ? int(replay.missionNumber) : 0, int(score),
                cleared ? "true" : "false", frames, over ? "true" : "false", entry.c_str());
    Shutdown();
    PlatformShutdown();
    return 0;
}

// A replay holds only input and what the player brought into the game, each
// value checked, and the game is set up here as the menus set it up; still,
// input from anyone could find a fault of the game, so it is played in a
// child process whose crash is reported as one line.
int Verify(const Options& o) {
    Replay replay;
    std::string error;
    if (!ReadReplayFile(o.verify, replay, error)) Fail(error);
    std::fflush(nullptr);
    const pid_t child = fork();
    if (child < 0) Fail("cannot start the replay: " + std::string(std::strerror(errno)));
    if (child == 0) {
        const int status = PlayVerified(o, replay);
        std::fflush(nullptr);
        _exit(status);
    }
    int status = 0;
    while (waitpid(child, &status, 0) < 0 && errno == EINTR) {}
    if (WIFEXITED(status)) return WEXITSTATUS(status);
    Fail(o.verify + ": its game state cannot be played (signal " + std::to_string(WTERMSIG(status)) + ")");
}
}  // namespace

int main(int argc, char** argv) {
    Options o = ReadOptions(argc, argv);
    if (!o.verify.empty()) return Verify(o);
    // Paths are taken relative to where we were started, not the game folder.
    auto absolute = [](std::string& p) { if (!p.empty()) p = std::filesystem::absolute(p).string(); };
    absolute(o.state);
    absolute(o.mission);
    absolute(o.record);
    for (auto& [frame, path] : o.shots) absolute(path);
    InputScript steps;
    std::string error;
    if (!o.input.empty() && !ReadInputScript(o.input, steps, &error)) Fail(error);
    if (!o.mission.empty() && !CheckMissionFile("tessmar-headless", o.mission)) return 2;
    std::FILE* trace = nullptr;
    if (!o.trace.empty() && (trace = std::fopen(o.trace.c_str(), "w")) == nullptr) Fail("cannot write " + o.trace);
    if (!o.dir.empty() && chdir(o.dir.c_str()) != 0) Fail("cannot enter the game folder " + o.dir);

    // The settings of its folders, as the game reads them; the language only
    // when the file or --language names one (else the original Japanese).
    GameSettingsPath = SettingsFilePath(std::getenv("XDG_CONFIG_HOME"), std::getenv("HOME"));
    const DisplaySettings saved = LoadDisplaySettings(GameSettingsPath);
    if (auto language = ParseLanguage(saved.language); language && !o.languageGiven) TextLanguage = *language;
    TakePlayerSettings(saved);
    // EDIT GAME's list with the pad: the author's missions of its folders.
    if (std::string user = UserGameFolder(std::getenv("XDG_DATA_HOME"), std::getenv("HOME")); !user.empty())
        MissionsDirectory = JoinPath(user, "missions");
    FixedSeed = o.seed;
    ChosenSounds = o.sounds;
    // Replays only when asked: the games of the run, kept as the game keeps them.
    ReplaysFolder = o.record;
    RecordingReplays = !o.record.empty();
    PlatformInit();
    Headless.today = o.today;
    DailyMaker = MakeDailyMissionBytes;
    PlatformOpenWindow({"Tessmar", ScreenWidth, ScreenHeight});
    StartProgram();
    HoldDrawingOf(&BackBuffer);  // drawn as the game draws
    if (o.startScoreAttack) StartScoreAttack();
    if (!o.mission.empty()) StartMissionGame(o.mission);

    // A file that could not be written whole ends the run with status 1 and
    // one line naming it, once the run is over (the game still ends as it
    // would).
    std::vector<std::string> unwritten;
    auto failedWrite = [&](const std::string& path) {
        for (const std::string& p : unwritten)
            if (p == path) return;
        std::fprintf(stderr, "tessmar-headless: cannot write %s: %s\n", path.c_str(), std::strerror(errno));
        unwritten.push_back(path);
    };
    int frame = 0;
    auto runFrame = [&]() {
        Headless.sounds.clear();
        Headless.music.clear();
        FilesWritten.clear();
        ++frame;
        int presentsBefore = Headless.presents;
        RunFrame();
        if (auto shot = o.shots.find(frame); shot != o.shots.end() && Headless.presents > presentsBefore)
            if (!WritePng(shot->second, ShownPicture())) failedWrite(shot->second);
        if (trace && std::fprintf(trace, "%s\n", TraceObject(frame, false).c_str()) < 0) failedWrite(o.trace);
    };
    // A game started on a mission file closes itself after its clear or
    // game-over screen, as the game does.
    bool missionGame = !o.mission.empty();
    auto over = [&] { return QuitFlag || (missionGame && MissionGameEnded()); };

    ScriptPlayer script(std::move(steps));
    ScriptedInput input;
    auto apply = [&] {
        Headless.keys = input.keys;
        Headless.joyPresent = input.joyPresent;
        Headless.joyPad = input.joyPad;
        Headless.joyX = input.joyX;
        Headless.joyY = input.joyY;
        Headless.joyButtons = input.joyButtons;
        for (std::string& pick : input.picks) Headless.picks.push_back(std::move(pick));
        input.picks.clear();
    };
    bool more = true;
    while (!over() && (more = script.NextFrame(input))) {
        apply();
        runFrame();
    }
    if (!more) apply();  // joystick and pick lines after the last hold
    Headless.keys = {};
    for (long long i = 0; i < o.idleFrames && !over(); ++i) runFrame();

    if (trace && (std::fflush(trace) != 0 || std::ferror(trace) || std::fclose(trace) != 0)) failedWrite(o.trace);
    if (!o.state.empty()) {
        std::FILE* f = std::fopen(o.state.c_str(), "w");
        bool written = f != nullptr && std::fprintf(f, "%s\n", TraceObject(frame, true).c_str()) >= 0;
        if (f != nullptr && std::fclose(f) != 0) written = false;
        if (!written) failedWrite(o.state);
    }
    EndProgram();
    PlatformShutdown();
    return unwritten.empty() ? 0 : 1;
}
