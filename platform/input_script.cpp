#include "platform/input_script.h"

#include <cerrno>
#include <cstdlib>
#include <sstream>

#include "platform/number_text.h"
#include "platform/platform.h"
#include "platform/platform_os.h"

namespace {
// The keys' names in scripts, in the order a written line lists them.
const struct {
    Key key;
    const char* name;
} KeyNameTable[] = {
    {KeyLeft, "Left"}, {KeyRight, "Right"}, {KeyUp, "Up"}, {KeyDown, "Down"}, {KeyZ, "Z"}, {KeyX, "X"},
    {KeyA, "A"}, {KeyC, "C"}, {KeyD, "D"}, {KeyG, "G"}, {KeyL, "L"}, {KeyF1, "F1"}, {KeyEnter, "Enter"}, {KeyEscape, "Escape"},
};

uint32_t NamedKeyBit(const std::string& name) {
    for (const auto& k : KeyNameTable)
        if (name == k.name) return KeyBit(k.key);
    return 0;
}

// One non-empty line; false with the reason in `why`.
bool ParseLine(const std::string& line, const std::vector<std::string>& w, ScriptStep& s, std::string& why) {
    long long v = 0;
    if (w[0] == "joy") {
        if (w.size() == 2 && w[1] == "none") {
            s.kind = ScriptStep::JoyNone;
            return true;
        }
        long long x, y, b;
        if (w.size() != 4 || !ParseNumber(w[1], 0, 65535, x) || !ParseNumber(w[2], 0, 65535, y) ||
            !ParseNumber(w[3], 0, 0xFFFFFFFFLL, b)) {
            why = "expected 'joy X Y BUTTONS' or 'joy none'";
            return false;
        }
        s.kind = ScriptStep::Joy;
        s.x = uint32_t(x);
        s.y = uint32_t(y);
        s.buttons = uint32_t(b);
        return true;
    }
    if (w[0] == "pick") {
        if (w.size() < 2) {
            why = "expected 'pick PATH' or 'pick cancel'";
            return false;
        }
        s.kind = ScriptStep::Pick;
        if (!(w.size() == 2 && w[1] == "cancel")) {
            std::string rest = line.substr(line.find("pick") + 4);
            s.path = rest.substr(rest.find_first_not_of(" \t"));
            s.path.erase(s.path.find_last_not_of(" \t\r") + 1);
        }
        return true;
    }
    if (!ParseNumber(w[0], 0, 100000000, v)) {
        why = "expected a frame count, 'joy' or 'pick'";
        return false;
    }
    s.kind = ScriptStep::Hold;
    s.frames = v;
    for (size_t i = 1; i < w.size(); ++i) {
        uint32_t bit = NamedKeyBit(w[i]);
        if (bit == 0) {
            why = "unknown key '" + w[i] + "'";
            return false;
        }
        s.keys |= bit;
    }
    return true;
}
constexpr size_t MaxScriptBytes = size_t(64) << 20;
}  // namespace

bool ReadInputScript(const std::string& path, std::vector<ScriptStep>& steps, std::string* error) {
    steps.clear();
    std::vector<uint8_t> bytes;
    if (!ReadFileBytes(path, bytes, MaxScriptBytes)) {
        *error = "cannot read the input script " + path;
        return false;
    }
    std::istringstream in(std::string(bytes.begin(), bytes.end()));
    std::string line;
    for (int number = 1; std::getline(in, line); ++number) {
        // A pick line's path is the rest of the line, '#' and all.
        size_t first = line.find_first_not_of(" \t");
        bool pick = first != std::string::npos && line.compare(first, 5, "pick ") == 0;
        if (auto hash = line.find('#'); hash != std::string::npos && !pick) line.erase(hash);
        std::istringstream words(line);
        std::vector<std::string> w;
        for (std::string word; words >> word;) w.push_back(word);
        if (w.empty()) continue;
        ScriptStep s;
        std::string why;
        if (!ParseLine(line, w, s, why)) {
            *error = path + ":" + std::to_string(number) + ": " + why;
            return false;
        }
        steps.push_back(s);
    }
    return true;
}

std::string KeyNames(uint32_t keys) {
    std::string names;
    for (const auto& k : KeyNameTable)
        if (keys & KeyBit(k.key)) names += std::string(" ") + k.name;
    return names;
}

std::string ScriptLines(const std::vector<HeldKeys>& steps) {
    std::string text;
    for (size_t i = 0; i < steps.size();) {
        HeldKeys run = steps[i++];
        for (; i < steps.size() && steps[i].keys == run.keys; ++i) run.frames += steps[i].frames;
        if (run.frames > 0) text += std::to_string(run.frames) + KeyNames(run.keys) + "\n";
    }
    return text;
}

bool ScriptPlayer::NextFrame(ScriptedInput& input) {
    while (index_ < steps_.size()) {
        const ScriptStep& s = steps_[index_];
        if (s.kind == ScriptStep::Hold) {
            if (framesDone_ < s.frames) {
                ++framesDone_;
                input.keys = s.keys;
                return true;
            }
            framesDone_ = 0;
            ++index_;
            continue;
        }
        switch (s.kind) {
            case ScriptStep::Joy:
                input.joyPresent = true;
                input.joyX = s.x;
                input.joyY = s.y;
                input.joyButtons = s.buttons;
                break;
            case ScriptStep::JoyNone: input.joyPresent = false; break;
            case ScriptStep::Pick: input.picks.push_back(s.path); break;
            case ScriptStep::Hold: break;
        }
        ++index_;
    }
    input.keys = 0;
    return false;
}
