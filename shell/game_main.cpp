// The game program: open the window, run the loop, close down.
//   tessmar [--mission FILE [--replay SCRIPT]]
// --mission starts straight on FILE's board entry as an edit game and closes
// after its clear or game-over screen; --replay plays SCRIPT (the headless
// runner's input format) as the input, at normal speed.
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "draw/playfield.h"
#include "platform/platform.h"
#include "platform/replay_input.h"
#include "rules/screen_layout.h"
#include "shell/game_folder.h"
#include "shell/main_loop.h"
#include "shell/mission_start.h"

namespace {
struct GameOptions {
    std::string mission, replay;
};

bool ReadGameOptions(int argc, char** argv, GameOptions& o) {
    for (int i = 1; i < argc; ++i) {
        std::string a = argv[i];
        if ((a == "--mission" || a == "--replay") && i + 1 < argc) {
            (a == "--mission" ? o.mission : o.replay) = argv[++i];
            continue;
        }
        std::fprintf(stderr, "tessmar: %s: usage: tessmar [--mission FILE [--replay SCRIPT]]\n", a.c_str());
        return false;
    }
    return true;
}
}  // namespace

int main(int argc, char** argv) {
    GameOptions options;
    if (!ReadGameOptions(argc, argv, options)) return 2;
    if (!options.mission.empty() && !CheckMissionFile("tessmar", options.mission)) return 2;
    // The game may move to its game folder: keep the mission where it was given.
    if (!options.mission.empty()) options.mission = std::filesystem::absolute(options.mission).string();
    std::vector<ScriptStep> steps;
    std::string error;
    if (!options.replay.empty() && !ReadInputScript(options.replay, steps, &error)) {
        std::fprintf(stderr, "tessmar: %s\n", error.c_str());
        return 2;
    }

    PlatformInit();
    // Without a window nothing could be seen or quit: stop at once instead of
    // running on unseen (the reason is already on stderr).
    if (!PlatformOpenWindow("Tessmar", ScreenWidth, ScreenHeight)) {
        PlatformShutdown();
        return 1;
    }
    EnterGameFolder();
    StartProgram();
    if (!options.mission.empty()) StartMissionGame(options.mission);
    ScriptPlayer script(std::move(steps));
    ReplayActive = !options.replay.empty();
    bool missionGame = !options.mission.empty();
    while (!QuitFlag && !(missionGame && MissionGameEnded())) {
        if (ReplayActive) script.NextFrame(ReplayInput);  // used up: nothing held
        RunFrame();
    }
    EndProgram();
    if (std::getenv("TESSMAR_FPS_LOG")) std::fprintf(stderr, "tessmar: FPS %u\n", unsigned(FpsValue));
    PlatformShutdown();
    return 0;
}
