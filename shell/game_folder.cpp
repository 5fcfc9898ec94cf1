#include "shell/game_folder.h"

#include <cstdlib>

#include "platform/data_folder.h"
#include "platform/platform_os.h"

bool HoldsGameData(const std::string& folder) {
    return IsFolder(JoinPath(folder, "snd")) || FolderHasFileEndingIn(JoinPath(folder, "mission"), ".msn");
}

std::string UserGameFolder(const char* xdgDataHome, const char* home) {
    if (xdgDataHome != nullptr && *xdgDataHome != '\0') return JoinPath(xdgDataHome, "tessmar");
    if (home != nullptr && *home != '\0') return JoinPath(home, ".local/share/tessmar");
    return "";
}

GameFolders ChooseGameFolders(const std::string& start, const std::string& exeDir, const std::string& userFolder) {
    if (HoldsGameData(start) || exeDir.empty()) return {start, ""};
    for (const char* beside : {"../share/tessmar", "gamedata"}) {
        std::string data = JoinPath(exeDir, beside);
        if (HoldsGameData(data)) return {data, userFolder};
    }
    return {start, ""};
}

void EnterGameFolder() {
    GameFolders folders = ChooseGameFolders(CurrentDirectory(), ExecutableFolder(),
                                            UserGameFolder(std::getenv("XDG_DATA_HOME"), std::getenv("HOME")));
    // A run folder that cannot be entered leaves the game where it started:
    // the records go there, the data still comes from beside the executable.
    if (!folders.run.empty()) {
        MakeFolders(folders.run);
        EnterFolder(folders.run);
    }
    DataDirectory = folders.data;
}
