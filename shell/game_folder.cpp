#include "shell/game_folder.h"

#include <cstdio>
#include <cstdlib>

#include "settings/data_folder.h"
#include "platform/platform_os.h"

bool HoldsGameData(const std::string& folder) {
    return IsFolder(JoinPath(folder, "snd")) || FolderHasFileEndingIn(JoinPath(folder, "mission"), ".msn");
}

// Relative values are not used: the XDG rules say to ignore them.
std::string UserGameFolder(const char* xdgDataHome, const char* home) {
    if (xdgDataHome != nullptr && xdgDataHome[0] == '/') return JoinPath(xdgDataHome, "tessmar");
    if (home != nullptr && home[0] == '/') return JoinPath(home, ".local/share/tessmar");
    return "";
}

GameFolders ChooseGameFolders(const std::string& start, const std::string& exeDir, const std::string& userFolder) {
    if (!userFolder.empty() && SameFolder(start, userFolder) && HoldsGameData(start)) return {start, userFolder};
    for (const char* beside : {"../share/tessmar", "gamedata"}) {
        std::string data = JoinPath(exeDir, beside);
        if (!exeDir.empty() && HoldsGameData(data)) return {data, userFolder};
    }
    return {exeDir.empty() ? userFolder : JoinPath(exeDir, "gamedata"), userFolder};
}

void EnterGameFolder() {
    std::string user = UserGameFolder(std::getenv("XDG_DATA_HOME"), std::getenv("HOME"));
    if (!user.empty()) MissionsDirectory = JoinPath(user, "missions");
    std::string reason = "neither XDG_DATA_HOME nor HOME names an absolute folder";
    if (!user.empty() && !MakeWritableFolder(user, &reason)) {
        reason = user + ": " + reason;
        user.clear();
    }
    GameFolders folders = ChooseGameFolders(CurrentDirectory(), ExecutableFolder(), user);
    DataDirectory = folders.data;
    if (folders.run.empty()) {
        // Nowhere to keep them: the game plays on without records rather
        // than leave a file in whatever folder it was started in.
        std::fprintf(stderr, "tessmar: the records are not saved: %s\n", reason.c_str());
        RecordsDisabled = true;
        return;
    }
    RecordsDirectory = folders.run;
    EnterFolder(folders.run);
}
