#include "shell/game_folder.h"

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>

#include "shell/files.h"
#include "shell/startup.h"

static bool IsDirectory(const std::string& path) {
    struct stat st {};
    return stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

static bool HasMissionFiles(const std::string& folder) {
    DIR* dir = opendir(folder.c_str());
    if (dir == nullptr) return false;
    bool found = false;
    while (dirent* entry = readdir(dir)) {
        size_t n = std::strlen(entry->d_name);
        if (n > 4 && std::strcmp(entry->d_name + n - 4, ".msn") == 0) {
            found = true;
            break;
        }
    }
    closedir(dir);
    return found;
}

bool HoldsGameData(const std::string& folder) {
    return IsDirectory(JoinPath(folder, "snd")) || HasMissionFiles(JoinPath(folder, "mission"));
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

static void MakeFolders(const std::string& path) {
    for (size_t slash = path.find('/', 1); slash != std::string::npos; slash = path.find('/', slash + 1))
        mkdir(path.substr(0, slash).c_str(), 0755);
    mkdir(path.c_str(), 0755);
}

static std::string ExecutableDirectory() {
    char buffer[4096];
    ssize_t n = readlink("/proc/self/exe", buffer, sizeof buffer - 1);
    if (n <= 0) return "";
    std::string path(buffer, size_t(n));
    return path.substr(0, path.rfind('/'));
}

void EnterGameFolder() {
    GameFolders folders = ChooseGameFolders(CurrentDirectory(), ExecutableDirectory(),
                                            UserGameFolder(std::getenv("XDG_DATA_HOME"), std::getenv("HOME")));
    // A run folder that cannot be entered leaves the game where it started:
    // the records go there, the data still comes from beside the executable.
    if (!folders.run.empty()) {
        MakeFolders(folders.run);
        int entered = chdir(folders.run.c_str());
        (void)entered;
    }
    DataDirectory = folders.data;
}
