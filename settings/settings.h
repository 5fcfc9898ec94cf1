// The small settings file that remembers how the window was left (its
// whole-number scale and whether it was fullscreen) and the player's choices
// of language and sounds. It lives in
// ${XDG_CONFIG_HOME:-$HOME/.config}/tessmar/settings.conf as "name=value"
// lines; the game and the editor read it here, and every writer changes only
// its own keys, keeping comments, other lines and their order. A missing,
// unreadable or damaged file gives the defaults.
#pragma once
#include <cstddef>
#include <functional>
#include <map>
#include <string>
#include <string_view>

inline constexpr int MaxWindowScale = 64;
// A longer file is read this far and never rewritten.
inline constexpr size_t MaxSettingsBytes = size_t(1) << 20;

struct DisplaySettings {
    int scale = 0;  // 0: none chosen yet (the window then fits the screen)
    bool fullscreen = false;
    std::string language;  // "language=" as written ("ja", "en"); empty: none
    std::string sounds;    // "sounds=" as written ("classic"); empty: none
    std::string palette;   // "palette=" as written ("safe", "classic"); empty: none
    std::string flashing;  // "flashing=" as written ("steady", "blink"); empty: none
    bool fit = false;      // "scale=fit": the picture as large as fits, at any factor
    // The options screen's, as written (the game checks them): "music=",
    // "effects=" (0..10), "mute=" (0, 1), "pad_layout=" (positional,
    // nintendo), "speed=" (classic, brisk), and every "key.ACTION=" and
    // "pad.ACTION=" line by its name.
    std::string music, effects, mute, padLayout, speed;
    std::map<std::string, std::string> bindings;
    bool operator==(const DisplaySettings&) const = default;
};

// Lines starting with '#', lines it does not understand and values out of
// range are passed over; of a key given twice, the last line counts.
DisplaySettings ParseDisplaySettings(std::string_view text);
// `text` with the keys whose value differs from `settings` rewritten: the
// last line of each such key gets the new value (a missing key is added at
// the end); every other line stays as it was, in its place.
std::string ApplyDisplaySettings(std::string text, const DisplaySettings& settings);
// A new file's text.
std::string FormatDisplaySettings(const DisplaySettings& settings);

// The file's path from the environment given ("" when neither
// XDG_CONFIG_HOME nor HOME names an absolute folder: a relative one is
// ignored, as the XDG rules say).
std::string SettingsFilePath(const char* xdgConfigHome, const char* home);

DisplaySettings LoadDisplaySettings(const std::string& path);
// Reads the file afresh, lets `change` change what it holds and writes it
// back (atomically, its folders made when needed) when that changed
// anything, with only the changed keys' lines rewritten. False when it had
// to be written and could not be, or the file is longer than
// MaxSettingsBytes (it is kept as it is); the game goes on without it.
bool UpdateDisplaySettings(const std::string& path, const std::function<void(DisplaySettings&)>& change);
