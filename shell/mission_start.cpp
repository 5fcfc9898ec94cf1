#include "shell/mission_start.h"

#include <cstdio>
#include <vector>

#include "mission/mission_file.h"
#include "rules/game_mode.h"
#include "platform/platform_os.h"
#include "rules/screen_state.h"
#include "screens/mission_loader.h"

bool CheckMissionFile(const char* program, const std::string& path) {
    std::vector<uint8_t> bytes;
    const char* why = nullptr;
    if (!ReadFileBytes(path, bytes, MissionFileSize))
        why = "not a readable mission file";
    else if (bytes.size() < MissionFileSize)
        why = "too short for a mission file (294 bytes)";
    if (why == nullptr) return true;
    std::fprintf(stderr, "%s: %s: %s\n", program, path.c_str(), why);
    return false;
}

void StartMissionGame(const std::string& path) {
    LoadMissionFile(path);
    GameMode = EditGame;
    ScreenState = BoardEntryScreen;
}

bool MissionGameEnded() { return ScreenState == TitleScreen; }
