// The small settings file that remembers how the window was left (its
// whole-number scale and whether it was fullscreen) and the player's choices
// of language and sounds. It lives in
// ${XDG_CONFIG_HOME:-$HOME/.config}/tessmar/settings.conf as "name=value"
// lines; a missing, unreadable or damaged file gives the defaults.
#pragma once
#include <functional>
#include <string>
#include <string_view>

inline constexpr int MaxWindowScale = 64;

struct DisplaySettings {
    int scale = 0;  // 0: none chosen yet (the window then fits the screen)
    bool fullscreen = false;
    std::string language;  // "language=" as written ("ja", "en"); empty: none
    std::string sounds;    // "sounds=" as written ("classic"); empty: none
    bool operator==(const DisplaySettings&) const = default;
};

// Lines it does not understand and values out of range are passed over.
DisplaySettings ParseDisplaySettings(std::string_view text);
std::string FormatDisplaySettings(const DisplaySettings& settings);

// The file's path from the environment given ("" when neither
// XDG_CONFIG_HOME nor HOME names an absolute folder).
std::string SettingsFilePath(const char* xdgConfigHome, const char* home);

DisplaySettings LoadDisplaySettings(const std::string& path);
// Creates the folder when needed and replaces the file whole; false when it
// could not be written (the game goes on without it).
bool SaveDisplaySettings(const std::string& path, const DisplaySettings& settings);
// Reads the file afresh, lets `change` change what it holds and writes it
// back when that changed anything, so that two writers of one file keep
// each other's lines. False when it had to be written and could not be.
bool UpdateDisplaySettings(const std::string& path, const std::function<void(DisplaySettings&)>& change);
