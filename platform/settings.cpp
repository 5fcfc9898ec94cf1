#include "platform/settings.h"

#include <charconv>
#include <cstdint>
#include <vector>

#include "platform/number_text.h"
#include "platform/platform_os.h"

namespace {
constexpr size_t MaxSettingsBytes = 4096;

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

void ApplyLine(std::string_view line, DisplaySettings& settings) {
    size_t equals = line.find('=');
    if (equals == std::string_view::npos) return;
    std::string_view name = Trim(line.substr(0, equals)), value = Trim(line.substr(equals + 1));
    int number = 0;
    if (name == "scale" && ReadNumber(value, 1, MaxWindowScale, number)) settings.scale = number;
    if (name == "fullscreen" && ReadNumber(value, 0, 1, number)) settings.fullscreen = number == 1;
    if (name == "language") settings.language = value;
    if (name == "sounds") settings.sounds = value;
}

std::string ParentFolder(const std::string& path) {
    size_t slash = path.find_last_of('/');
    return slash == std::string::npos || slash == 0 ? std::string() : path.substr(0, slash);
}

}  // namespace

DisplaySettings ParseDisplaySettings(std::string_view text) {
    DisplaySettings settings;
    while (!text.empty()) {
        size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        if (!line.empty() && line.front() != '#') ApplyLine(line, settings);
        if (end == std::string_view::npos) break;
        text.remove_prefix(end + 1);
    }
    return settings;
}

std::string FormatDisplaySettings(const DisplaySettings& settings) {
    std::string text = "# Tessmar's window as it was last left\n";
    if (settings.scale > 0) text += "scale=" + std::to_string(settings.scale) + "\n";
    text += settings.fullscreen ? "fullscreen=1\n" : "fullscreen=0\n";
    if (!settings.language.empty()) text += "language=" + settings.language + "\n";
    if (!settings.sounds.empty()) text += "sounds=" + settings.sounds + "\n";
    return text;
}

std::string SettingsFilePath(const char* xdgConfigHome, const char* home) {
    if (xdgConfigHome && xdgConfigHome[0] == '/') return JoinPath(JoinPath(xdgConfigHome, "tessmar"), "settings.conf");
    if (home && home[0] == '/') return JoinPath(JoinPath(home, ".config/tessmar"), "settings.conf");
    return "";
}

DisplaySettings LoadDisplaySettings(const std::string& path) {
    std::vector<uint8_t> bytes;
    if (path.empty() || !ReadFileBytes(path, bytes, MaxSettingsBytes)) return {};
    return ParseDisplaySettings(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
}

bool SaveDisplaySettings(const std::string& path, const DisplaySettings& settings) {
    if (path.empty()) return false;
    MakeFolders(ParentFolder(path));
    std::string text = FormatDisplaySettings(settings);
    return WriteFileAtomically(path, text.data(), text.size(), nullptr);
}

bool UpdateDisplaySettings(const std::string& path, const std::function<void(DisplaySettings&)>& change) {
    DisplaySettings before = LoadDisplaySettings(path), after = before;
    change(after);
    return after == before || SaveDisplaySettings(path, after);
}
