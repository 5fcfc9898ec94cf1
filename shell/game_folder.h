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

// ${XDG_DATA_HOME:-$HOME/.local/share}/tessmar, or empty when neither is set
// to an absolute path.
std::string UserGameFolder(const char* xdgDataHome, const char* home);

// The records always go to `userFolder` (the run folder; empty when there is
// no usable one). The data is read from the start folder only when that is
// `userFolder` itself holding data (the game folder ./tessmar play fills);
// any other folder, even one with snd/ or missions, is not the game's.
// Otherwise the data beside the executable is used, in
// `exeDir/../share/tessmar` (installed, or an unpacked package) or in
// `exeDir/gamedata` (the build folder); with none the game runs silent.
GameFolders ChooseGameFolders(const std::string& start, const std::string& exeDir, const std::string& userFolder);

// The real program's choice: makes and enters the records folder and sets
// DataDirectory and RecordsDirectory for the start-up. A records folder that
// cannot be made or written is said on stderr and sets RecordsDisabled.
void EnterGameFolder();
