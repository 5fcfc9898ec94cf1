#include "shell/input_script.h"

#include <cerrno>
#include <algorithm>
#include <cstdlib>
#include <iterator>
#include <map>
#include <string_view>

#include "settings/number_text.h"
#include "platform/platform.h"
#include "platform/platform_os.h"

namespace {
// A key of a script line: SDL's name with '_' for each blank, or "Enter"
// (as scripts have always called Return); -1 for none.
int NamedKey(std::string name) {
    if (name == "Enter") return KeyEnter;
    for (char& c : name)
        if (c == '_') c = ' ';
    return PlatformKeyOfName(name);
}

struct KeySetOrder {
    bool operator()(const KeySet& a, const KeySet& b) const {
        return std::lexicographical_compare(std::begin(a.words), std::end(a.words), std::begin(b.words),
                                            std::end(b.words));
    }
};
using KeySetIndices = std::map<KeySet, uint32_t, KeySetOrder>;

// The index of `keys` in the script's sets, added when new.
uint32_t KeySetIndex(InputScript& script, KeySetIndices& indices, const KeySet& keys) {
    auto [at, added] = indices.try_emplace(keys, uint32_t(script.keySets.size()));
    if (added) script.keySets.push_back(keys);
    return at->second;
}

// One non-empty line, its words in `w`; false with the reason in `why`.
bool ParseLine(std::string_view line, const std::vector<std::string_view>& w, InputScript& script,
               KeySetIndices& indices, std::string& why) {
    long long v = 0;
    if (w[0] == "joy") {
        if (w.size() == 2 && w[1] == "none") {
            script.steps.push_back({ScriptStep::JoyNone, 0, 0});
            return true;
        }
        long long x, y, b;
        if (w.size() != 4 || !ParseNumber(w[1], 0, 65535, x) || !ParseNumber(w[2], 0, 65535, y) ||
            !ParseNumber(w[3], 0, 0xFFFFFFFFLL, b)) {
            why = "expected 'joy X Y BUTTONS' or 'joy none'";
            return false;
        }
        script.steps.push_back({ScriptStep::Joy, uint32_t(script.joys.size()), 0});
        script.joys.push_back({uint32_t(x), uint32_t(y), uint32_t(b)});
        return true;
    }
    if (w[0] == "pad") {
        ScriptJoy joy{32767, 32767, 0, true};
        for (size_t i = 1; i < w.size(); ++i) {
            int button = PlatformPadButtonOfName(std::string(w[i]));
            if (button == NoPadButton) {
                why = "unknown pad button '" + std::string(w[i]) + "'";
                return false;
            }
            joy.buttons |= 1u << button;
        }
        script.steps.push_back({ScriptStep::Joy, uint32_t(script.joys.size()), 0});
        script.joys.push_back(joy);
        return true;
    }
    if (w[0] == "pick") {
        if (w.size() < 2) {
            why = "expected 'pick PATH' or 'pick cancel'";
            return false;
        }
        std::string path;
        if (!(w.size() == 2 && w[1] == "cancel")) {
            std::string_view rest = line.substr(line.find("pick") + 4);
            rest.remove_prefix(rest.find_first_not_of(" \t"));
            path = rest.substr(0, rest.find_last_not_of(" \t\r") + 1);
        }
        script.steps.push_back({ScriptStep::Pick, uint32_t(script.picks.size()), 0});
        script.picks.push_back(std::move(path));
        return true;
    }
    if (!ParseNumber(w[0], 0, 100000000, v)) {
        why = "expected a frame count, 'joy', 'pad' or 'pick'";
        return false;
    }
    KeySet held;
    for (size_t i = 1; i < w.size(); ++i) {
        int key = NamedKey(std::string(w[i]));
        if (key < 0) {
            why = "unknown key '" + std::string(w[i]) + "'";
            return false;
        }
        held.Add(key);
    }
    const uint32_t keys = KeySetIndex(script, indices, held);
    // The same keys as the step before: one step (a count stays far below
    // the limit of its 32 bits: 100000000 a line, joined up to 4000000000).
    constexpr uint32_t MostJoinedFrames = 4000000000u;
    if (!script.steps.empty()) {
        ScriptStep& last = script.steps.back();
        if (last.kind == ScriptStep::Hold && last.keys == keys && last.frames <= MostJoinedFrames - uint32_t(v)) {
            last.frames += uint32_t(v);
            return true;
        }
    }
    script.steps.push_back({ScriptStep::Hold, uint32_t(v), keys});
    return true;
}
}  // namespace

bool ReadInputScript(const std::string& path, InputScript& script, std::string* error) {
    script = InputScript{};
    std::vector<uint8_t> bytes;
    if (!ReadFileBytes(path, bytes, MaxScriptBytes + 1)) {
        *error = "cannot read the input script " + path;
        return false;
    }
    if (bytes.size() > MaxScriptBytes) {
        *error = path + ": longer than " + std::to_string(MaxScriptBytes) + " bytes";
        return false;
    }
    std::string_view text(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    std::vector<std::string_view> w;
    KeySetIndices indices;
    int number = 0;
    while (!text.empty()) {
        ++number;
        size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        // A pick line's path is the rest of the line, '#' and all.
        size_t first = line.find_first_not_of(" \t");
        bool pick = first != std::string_view::npos && line.substr(first, 5) == "pick ";
        if (size_t hash = line.find('#'); hash != std::string_view::npos && !pick) line = line.substr(0, hash);
        w.clear();
        for (size_t at = 0; at < line.size();) {
            at = line.find_first_not_of(" \t\r\v\f", at);
            if (at == std::string_view::npos) break;
            size_t stop = line.find_first_of(" \t\r\v\f", at);
            if (stop == std::string_view::npos) stop = line.size();
            w.push_back(line.substr(at, stop - at));
            at = stop;
        }
        if (w.empty()) continue;
        std::string why;
        if (!ParseLine(line, w, script, indices, why)) {
            *error = path + ":" + std::to_string(number) + ": " + why;
            return false;
        }
        if (script.steps.size() > MaxScriptSteps) {
            *error = path + ":" + std::to_string(number) + ": more than " + std::to_string(MaxScriptSteps) + " steps";
            return false;
        }
    }
    script.steps.shrink_to_fit();
    return true;
}

std::string KeyNames(uint32_t keys) {
    std::string names;
    for (Key key : WordKeys)
        if (keys & WordBit(key)) names += " " + (key == KeyEnter ? std::string("Enter") : PlatformKeyName(key));
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
    const std::vector<ScriptStep>& steps = script_.steps;
    input.owedPause = false;
    while (index_ < steps.size()) {
        const ScriptStep& s = steps[index_];
        if (s.kind == ScriptStep::Hold) {
            if (framesDone_ < s.frames) {
                ++framesDone_;
                input.keys = script_.keySets[s.keys];
                return true;
            }
            framesDone_ = 0;
            ++index_;
            continue;
        }
        switch (s.kind) {
            case ScriptStep::Joy: {
                const ScriptJoy& joy = script_.joys[s.frames];
                input.joyPresent = true;
                input.joyX = joy.x;
                input.joyY = joy.y;
                input.joyButtons = joy.buttons;
                input.joyPad = joy.pad;
                break;
            }
            case ScriptStep::JoyNone: input.joyPresent = false; break;
            case ScriptStep::Pick: input.picks.push_back(script_.picks[s.frames]); break;
            case ScriptStep::OwedPause: input.owedPause = true; break;
            case ScriptStep::Hold: break;
        }
        ++index_;
    }
    input.keys = {};
    return false;
}
