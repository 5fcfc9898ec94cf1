// The game program: open the window, run the loop, close down.
//   tessmar [--language ja|en] [--mission FILE] [--replay SCRIPT|FILE.tsr] [--seed N] | --help | --version
// --mission starts straight on FILE's board entry as an edit game and closes
// after its clear or game-over screen; --replay plays SCRIPT (the headless
// runner's input format) as the input, at normal speed, or a replay file's
// game from where it began (ending with it, writing nothing). Every game
// played is kept as a replay file. --language chooses
// the language of the goal lines and the help over the settings file's
// "language=" and the locale. The settings file's "sounds=classic" chooses
// the classic four sounds over the full set. --seed N deals the pairs and
// the fish of the headless runner's --seed N (the browser's test compares
// the two frame by frame).
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "draw/held_drawing.h"
#include "draw/playfield.h"
#include "draw/surfaces.h"
#include "draw/text.h"
#include "platform/platform.h"
#include "screens/game_over.h"
#include "screens/options.h"
#include "screens/records_file.h"
#include "settings/language.h"
#include "settings/settings.h"
#include "shell/game_folder.h"
#include "shell/game_window.h"
#include "shell/main_loop.h"
#include "shell/message_pump.h"
#include "shell/mission_start.h"
#include "shell/player_settings.h"
#include "shell/replay.h"
#include "shell/replay_file.h"
#include "shell/replay_record.h"
#include "shell/sound_choice.h"
#include "shell/daily_maker.h"
#include "shell/startup.h"
#include "settings/number_text.h"
// The program joins the layers: the solver's, above the shell, makes the day's mission.
#include "tools/solver/daily_mission.h"

namespace {
bool Running = false;  // between the start-up and the end of the loop

// The display going away ends the program through exit() inside the window
// system's library: a score waiting for its name is kept then as at a quit.
void KeepPendingRecordAtExit() {
    if (!Running) return;
    Running = false;
    SavePendingRecord();
    FinishRecordsSave();
}

struct GameOptions {
    std::string mission, replay, language;
    std::optional<unsigned> seed;
    bool help = false, version = false;
};

constexpr const char* UsageLine = "usage: tessmar [--language ja|en] [--mission FILE] [--replay SCRIPT] [--seed N]";
constexpr const char* OptionsHelp =
    "Tessmar, a falling-block puzzle game with ropes. Started without options it\n"
    "opens on the title.\n"
    "\n"
    "  --language ja|en  the language of the goal lines and the help pages, over\n"
    "                    settings.conf's language= and the locale\n"
    "  --mission FILE    start on FILE's board entry as an edit game; the game\n"
    "                    closes after its clear or game-over screen\n"
    "  --replay SCRIPT   play SCRIPT (a headless runner input script) as the\n"
    "                    input, at normal speed; Escape still quits\n"
    "  --replay FILE     watch a replay file (.tsr) of a game\n"
    "  --seed N          deal the pairs and the fish of seed N (0..4294967295)\n"
    "  --help            print this and exit\n"
    "  --version         print the version and exit\n";

bool ReadGameOptions(int argc, char** argv, GameOptions& o) {
    for (int i = 1; i < argc; ++i) {
        std::string a = argv[i];
        if ((a == "--mission" || a == "--replay") && i + 1 < argc) {
            (a == "--mission" ? o.mission : o.replay) = argv[++i];
            continue;
        }
        if (a == "--language" && i + 1 < argc && ParseLanguage(argv[i + 1])) {
            o.language = argv[++i];
            continue;
        }
        long long seed = 0;
        if (a == "--seed" && i + 1 < argc && ParseNumber(argv[i + 1], 0, 0xFFFFFFFFLL, seed)) {
            o.seed = unsigned(seed);
            ++i;
            continue;
        }
        if (a == "--help" || a == "--version") {
            (a == "--help" ? o.help : o.version) = true;
            continue;
        }
        std::fprintf(stderr, "tessmar: %s: %s (--help for more)\n", a.c_str(), UsageLine);
        return false;
    }
    return true;
}
}  // namespace

int main(int argc, char** argv) {
    GameOptions options;
    if (!ReadGameOptions(argc, argv, options)) return 2;
    if (options.help) {
        std::printf("%s\n%s", UsageLine, OptionsHelp);
        return 0;
    }
    if (options.version) {
        std::printf("tessmar %s\n", TESSMAR_VERSION);
        return 0;
    }
    if (!options.mission.empty() && !CheckMissionFile("tessmar", options.mission)) return 2;
    // The game may move to its game folder: keep the mission where it was given.
    if (!options.mission.empty()) options.mission = std::filesystem::absolute(options.mission).string();
    InputScript steps;
    Replay replayFile;
    std::string error;
    const bool watching = !options.replay.empty() && LooksLikeReplay(options.replay);
    if (!options.replay.empty() && !(watching ? ReadReplayFile(options.replay, replayFile, error)
                                              : ReadInputScript(options.replay, steps, &error))) {
        std::fprintf(stderr, "tessmar: %s\n", error.c_str());
        return 2;
    }

    GameSettingsPath = SettingsFilePath(std::getenv("XDG_CONFIG_HOME"), std::getenv("HOME"));
    const DisplaySettings saved = LoadDisplaySettings(GameSettingsPath);
    TextLanguage = ChooseLanguage(options.language.c_str(), saved.language.c_str());
    // "sounds=classic" chooses the classic set; anything else, the full set.
    ChosenSounds = saved.sounds == "classic" ? SoundSet::Classic : SoundSet::Full;
    // The levels, the keys, the palette and the blinking.
    TakePlayerSettings(saved);
    ScaleFit = saved.fit;  // "scale=fit": the picture as large as fits
    FixedSeed = options.seed;

    PlatformInit();
    // Without a window nothing could be seen or quit: stop at once instead of
    // running on unseen (the reason is already on stderr).
    if (!OpenGameWindow(saved)) {
        PlatformShutdown();
        return 1;
    }
    PlatformOpenDevices();
    EnterGameFolder();
    DailyMaker = MakeDailyMissionBytes;
    // Every game played in the window is kept as a replay file.
    if (std::string user = UserGameFolder(std::getenv("XDG_DATA_HOME"), std::getenv("HOME")); !user.empty()) {
        ReplaysFolder = JoinPath(user, "replays");
        RecordingReplays = true;
    }
    StartProgram();
    HoldDrawingOf(&BackBuffer);  // each frame draws only what changed
    Running = true;
    std::atexit(KeepPendingRecordAtExit);
    if (!options.mission.empty()) StartMissionGame(options.mission);
    if (watching && !StartReplayFile(replayFile, error)) {
        std::fprintf(stderr, "tessmar: %s: %s\n", options.replay.c_str(), error.c_str());
        EndProgram();
        PlatformShutdown();
        return 2;
    }
    if (!options.replay.empty() && !watching) StartReplay(std::move(steps));
    bool missionGame = !options.mission.empty();
    // A watched replay file ends the program with its game: the menus after
    // it would be the player's, with the replay's records.
    auto watchedGameEnded = [&] { return watching && (!ReplayKeepsFramesCounted() || !InGameScreen()); };
    while (!QuitFlag && !(missionGame && MissionGameEnded()) && !watchedGameEnded()) RunFrame();
    Running = false;
    EndProgram();
    if (std::getenv("TESSMAR_FPS_LOG")) std::fprintf(stderr, "tessmar: FPS %u\n", unsigned(FpsValue));
    SaveWindowLayout();
    PlatformShutdown();
    return 0;
}
