#include "settings/settings.h"

#include <sys/stat.h>

#include <cstdint>
#include <filesystem>
#include <vector>

#include "settings/number_text.h"
#include "platform/platform_os.h"

namespace {
std::string_view Trim(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r')) s.remove_suffix(1);
    return s;
}

// A whole decimal number from min to max, nothing else on the line.
bool ReadNumber(std::string_view text, int min, int max, int& out) {
    long long value = 0;
    if (!ParseNumber(text, min, max, value)) return false;
    out = int(value);
    return true;
}

// The key a line sets ("" for a comment or a line without '=') and its value.
std::string_view KeyOf(std::string_view line, std::string_view* value = nullptr) {
    std::string_view trimmed = Trim(line);
    size_t equals = trimmed.find('=');
    if (trimmed.empty() || trimmed.front() == '#' || equals == std::string_view::npos) return {};
    if (value) *value = Trim(trimmed.substr(equals + 1));
    return Trim(trimmed.substr(0, equals));
}

void ApplyLine(std::string_view line, DisplaySettings& settings) {
    std::string_view value;
    std::string_view name = KeyOf(line, &value);
    int number = 0;
    if (name == "scale" && ReadNumber(value, 1, MaxWindowScale, number)) settings.scale = number, settings.fit = false;
    if (name == "scale" && value == "fit") settings.fit = true;
    if (name == "fullscreen" && ReadNumber(value, 0, 1, number)) settings.fullscreen = number == 1;
    if (name == "language") settings.language = value;
    if (name == "sounds") settings.sounds = value;
    if (name == "palette") settings.palette = value;
    if (name == "flashing") settings.flashing = value;
    if (name == "speed") settings.speed = value;
    if (name == "music") settings.music = value;
    if (name == "effects") settings.effects = value;
    if (name == "mute") settings.mute = value;
    if (name == "pad_layout") settings.padLayout = value;
    if (name.starts_with("key.") || name.starts_with("pad.")) settings.bindings[std::string(name)] = value;
}

// Calls `each` with the start and length of every line (without its '\n').
template <typename Each>
void ForEachLine(std::string_view text, Each each) {
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string_view::npos) end = text.size();
        each(start, end - start);
        start = end + 1;
    }
}

// `text` with the last line setting `key` made "key=value" (its line ending
// kept), or the line added at the end.
void SetKey(std::string& text, std::string_view key, const std::string& value) {
    size_t at = std::string::npos, length = 0;
    ForEachLine(text, [&](size_t start, size_t n) {
        if (KeyOf(std::string_view(text).substr(start, n)) == key) at = start, length = n;
    });
    std::string line = std::string(key) + "=" + value;
    if (at == std::string::npos) {
        if (!text.empty() && text.back() != '\n') text += '\n';
        text += line + "\n";
        return;
    }
    if (length > 0 && text[at + length - 1] == '\r') line += '\r';
    text.replace(at, length, line);
}

// The file's text, at most MaxSettingsBytes + 1 bytes (one more tells a
// longer file); false when it is there but cannot be read.
bool ReadSettingsText(const std::string& path, std::string& text) {
    std::vector<uint8_t> bytes;
    text.clear();
    struct stat st {};
    if (lstat(path.c_str(), &st) != 0) return true;  // none yet
    if (!ReadFileBytes(path, bytes, MaxSettingsBytes + 1)) return false;
    text.assign(bytes.begin(), bytes.end());
    return true;
}
}  // namespace

DisplaySettings ParseDisplaySettings(std::string_view text) {
    DisplaySettings settings;
    ForEachLine(text, [&](size_t start, size_t n) { ApplyLine(text.substr(start, n), settings); });
    return settings;
}

std::string ApplyDisplaySettings(std::string text, const DisplaySettings& settings) {
    DisplaySettings now = ParseDisplaySettings(text);
    // "scale=fit" stands in for a number; a number chosen again replaces it.
    if (settings.fit && !now.fit) SetKey(text, "scale", "fit");
    const bool numberChanged = settings.scale != now.scale || (now.fit && !settings.fit);
    if (!settings.fit && numberChanged && settings.scale > 0) SetKey(text, "scale", std::to_string(settings.scale));
    if (settings.fullscreen != now.fullscreen) SetKey(text, "fullscreen", settings.fullscreen ? "1" : "0");
    if (settings.language != now.language) SetKey(text, "language", settings.language);
    if (settings.sounds != now.sounds) SetKey(text, "sounds", settings.sounds);
    if (settings.palette != now.palette) SetKey(text, "palette", settings.palette);
    if (settings.flashing != now.flashing) SetKey(text, "flashing", settings.flashing);
    if (settings.speed != now.speed) SetKey(text, "speed", settings.speed);
    if (settings.music != now.music) SetKey(text, "music", settings.music);
    if (settings.effects != now.effects) SetKey(text, "effects", settings.effects);
    if (settings.mute != now.mute) SetKey(text, "mute", settings.mute);
    if (settings.padLayout != now.padLayout) SetKey(text, "pad_layout", settings.padLayout);
    for (const auto& [name, value] : settings.bindings) {
        auto was = now.bindings.find(name);
        if (was == now.bindings.end() || was->second != value) SetKey(text, name, value);
    }
    return text;
}

std::string FormatDisplaySettings(const DisplaySettings& settings) {
    return ApplyDisplaySettings("# Tessmar's settings: the window as it was last left, the language, the sounds\n",
                                settings);
}

std::string SettingsFilePath(const char* xdgConfigHome, const char* home) {
    if (xdgConfigHome && xdgConfigHome[0] == '/') return JoinPath(JoinPath(xdgConfigHome, "tessmar"), "settings.conf");
    if (home && home[0] == '/') return JoinPath(JoinPath(home, ".config/tessmar"), "settings.conf");
    return "";
}

DisplaySettings LoadDisplaySettings(const std::string& path) {
    std::string text;
    if (path.empty() || !ReadSettingsText(path, text)) return {};
    if (text.size() > MaxSettingsBytes) text.resize(MaxSettingsBytes);
    return ParseDisplaySettings(text);
}

bool UpdateDisplaySettings(const std::string& path, const std::function<void(DisplaySettings&)>& change) {
    std::string text;
    if (path.empty() || !ReadSettingsText(path, text) || text.size() > MaxSettingsBytes) return false;
    DisplaySettings before = ParseDisplaySettings(text), after = before;
    change(after);
    if (after == before) return true;
    std::string written = text.empty() ? FormatDisplaySettings(after) : ApplyDisplaySettings(text, after);
    MakeFolders(std::filesystem::path(path).parent_path().string());
    return WriteFileAtomically(path, written.data(), written.size(), nullptr);
}
