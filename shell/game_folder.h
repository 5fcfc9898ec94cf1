// Where the game finds its sounds and missions and where it keeps its records.
#pragma once
#include <string>

struct GameFolders {
    std::string data;  // holds snd/ and mission/
    std::string run;   // the folder to run in (records); empty: stay where started
};

// True when `folder` holds the game's data: a snd/ folder, or a mission/
// folder with mission files in it.
bool HoldsGameData(const std::string& folder);

// ${XDG_DATA_HOME:-$HOME/.local/share}/tessmar, or empty when neither is set.
std::string UserGameFolder(const char* xdgDataHome, const char* home);

// A start folder that holds the game's data is used as it is, for data and
// records alike. Otherwise the data beside the executable is used, in
// `exeDir/../share/tessmar` (installed, or an unpacked package) or in
// `exeDir/gamedata` (the build folder), and the game runs in `userFolder`.
// With no data anywhere the game stays in the start folder and runs silent.
GameFolders ChooseGameFolders(const std::string& start, const std::string& exeDir, const std::string& userFolder);

// The real program's choice: enters the run folder (made if missing) and sets
// DataDirectory for the start-up.
void EnterGameFolder();
