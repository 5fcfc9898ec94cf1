// The game's folders: where it runs (the records file) and where its data
// (snd/, mission/) is read from.
#pragma once
#include <string>

// The folder holding snd/ and mission/. Empty (the default): the folder the
// game runs in, relative paths as they are. Set by the game folder's choice.
extern std::string DataDirectory;
std::string DataPath(const char* name);

// The folder the game runs in, taken at start-up.
extern std::string StartDirectory;

// The folder the editor saves its author's missions in,
// ${XDG_DATA_HOME:-$HOME/.local/share}/tessmar/missions, which EDIT GAME
// lists when it is chosen with the pad. Empty: none known.
extern std::string MissionsDirectory;

// The folder of the records file. Empty: the start folder (the headless
// runner's game folder). RecordsDisabled: no usable records folder, so the
// records are neither read nor written.
extern std::string RecordsDirectory;
extern bool RecordsDisabled;
// A replay file's game is being watched or verified: it is someone's past
// game, so it writes no records, no day's result and nothing to the clipboard.
extern bool ReplayWatched;
