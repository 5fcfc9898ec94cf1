#include "shell/player_settings.h"

#include <cstdio>
#include <string>

#include "draw/playfield.h"
#include "draw/text.h"
#include "platform/platform.h"
#include "rules/scoring.h"
#include "rules/screen_state.h"
#include "screens/key_table.h"
#include "settings/number_text.h"
#include "shell/game_window.h"

namespace {
// The choices as the file holds them: only what changed is written.
struct Choices {
    int music = MaxSoundLevel, effects = MaxSoundLevel;
    bool muted = false, paletteSafe = false, flashingSteady = false, padNintendo = false, briskFall = false;
    Language language = Language::Japanese;
    int keys[ActionCount] = {};
    int pads[ActionCount] = {};
};
Choices inFile;

Choices Current() {
    Choices c;
    c.music = MusicLevel;
    c.effects = EffectsLevel;
    c.muted = SoundMuted;
    c.paletteSafe = PaletteSafe;
    c.flashingSteady = FlashingSteady;
    c.briskFall = BriskFall;
    c.language = TextLanguage;
    c.padNintendo = PadNintendo;
    for (int a = 0; a < ActionCount; ++a) c.keys[a] = KeyBinding[a], c.pads[a] = PadBinding[a];
    return c;
}

// A line longer than this is cut short in the message about it.
constexpr size_t ShownValueBytes = 40;

void PassOver(const std::string& name, const std::string& value, const char* why) {
    std::string shown = value.size() > ShownValueBytes ? value.substr(0, ShownValueBytes) + "..." : value;
    for (char& c : shown)
        if (static_cast<unsigned char>(c) < 32) c = '?';
    std::fprintf(stderr, "tessmar: settings.conf: %s=%s: %s\n", name.c_str(), shown.c_str(), why);
}

int SoundLevel(const std::string& name, const std::string& value) {
    long long level = MaxSoundLevel;
    if (!value.empty() && !ParseNumber(value, 0, MaxSoundLevel, level)) {
        PassOver(name, value, "not a level 0..10; 10 is used");
        level = MaxSoundLevel;
    }
    return int(level);
}

bool Switch(const std::string& name, const std::string& value, const char* off, const char* on) {
    if (value.empty() || value == off) return false;
    if (value == on) return true;
    PassOver(name, value, (std::string("neither ") + off + " nor " + on + "; " + off + " is used").c_str());
    return false;
}

int ActionNamed(const std::string& name) {
    for (int a = 0; a < ActionCount; ++a)
        if (name == Actions[a].name) return a;
    return -1;
}

// A key or button that two actions would share is given up, by the action
// whose line wrote it, for that action's default, until no two share one
// (`none` is no key or button, which any number of actions may have).
void GiveUpShared(int* binding, bool* written, int none, const char* prefix, const char* why, int (*fallback)(int),
                  std::string (*name)(int)) {
    for (bool shared = true; shared;) {
        shared = false;
        for (int a = 0; a < ActionCount && !shared; ++a)
            for (int b = 0; b < ActionCount && !shared; ++b)
                if (a != b && binding[a] != none && binding[a] == binding[b] && written[a]) {
                    PassOver(prefix + std::string(Actions[a].name), name(binding[a]), why);
                    binding[a] = fallback(a);
                    written[a] = false;
                    shared = true;
                }
    }
}

// The keys written, each checked, shared ones given up.
void TakeKeys(const DisplaySettings& saved) {
    ResetKeyBindings();
    bool written[ActionCount] = {};
    for (const auto& [name, value] : saved.bindings) {
        if (!name.starts_with("key.")) continue;
        int action = ActionNamed(name.substr(4));
        int key = PlatformKeyOfName(value);
        if (action < 0) PassOver(name, value, "no such action");
        else if (key < 0 || key == KeyEscape) PassOver(name, value, "no such key; the default is used");
        else KeyBinding[action] = key, written[action] = true;
    }
    GiveUpShared(KeyBinding, written, -1, "key.", "another action has this key; the default is used",
                 [](int a) { return Actions[a].defaultKey; }, PlatformKeyName);
}

// "pad.ACTION=none": the action has no button.
constexpr const char* NoButtonName = "none";
std::string PadName(int button) { return button == NoPadButton ? NoButtonName : PlatformPadButtonName(button); }

// The pad's buttons written, checked as the keys are.
void TakePads(const DisplaySettings& saved) {
    ResetPadBindings();
    bool written[ActionCount] = {};
    for (const auto& [name, value] : saved.bindings) {
        if (!name.starts_with("pad.")) continue;
        int action = ActionNamed(name.substr(4));
        int button = PlatformPadButtonOfName(value);
        if (action >= 0 && value == NoButtonName) PadBinding[action] = NoPadButton;
        else if (action < 0) PassOver(name, value, "no such action");
        else if (button == NoPadButton) PassOver(name, value, "no such pad button; the default is used");
        else PadBinding[action] = button, written[action] = true;
    }
    GiveUpShared(PadBinding, written, NoPadButton, "pad.", "another action has this button; the default is used",
                 [](int a) { return Actions[a].defaultPadButton; }, PlatformPadButtonName);
}
}  // namespace

void TakePlayerSettings(const DisplaySettings& saved) {
    MusicLevel = uint8_t(SoundLevel("music", saved.music));
    EffectsLevel = uint8_t(SoundLevel("effects", saved.effects));
    SoundMuted = Switch("mute", saved.mute, "0", "1");
    PaletteSafe = Switch("palette", saved.palette, "classic", "safe");
    FlashingSteady = Switch("flashing", saved.flashing, "blink", "steady");
    BriskFall = Switch("speed", saved.speed, "classic", "brisk");
    PadNintendo = Switch("pad_layout", saved.padLayout, "positional", "nintendo");
    TakeKeys(saved);
    TakePads(saved);
    inFile = Current();
}

void SavePlayerSettings() {
    const Choices now = Current();
    if (GameSettingsPath.empty()) return;
    const Choices was = inFile;
    bool saved = UpdateDisplaySettings(GameSettingsPath, [&](DisplaySettings& s) {
        if (now.music != was.music) s.music = std::to_string(now.music);
        if (now.effects != was.effects) s.effects = std::to_string(now.effects);
        if (now.muted != was.muted) s.mute = now.muted ? "1" : "0";
        if (now.paletteSafe != was.paletteSafe) s.palette = now.paletteSafe ? "safe" : "classic";
        if (now.flashingSteady != was.flashingSteady) s.flashing = now.flashingSteady ? "steady" : "blink";
        if (now.briskFall != was.briskFall) s.speed = now.briskFall ? "brisk" : "classic";
        if (now.language != was.language) s.language = LanguageName(now.language);
        if (now.padNintendo != was.padNintendo) s.padLayout = now.padNintendo ? "nintendo" : "positional";
        for (int a = 0; a < ActionCount; ++a) {
            const std::string name = Actions[a].name;
            if (now.keys[a] != was.keys[a]) s.bindings["key." + name] = PlatformKeyName(now.keys[a]);
            if (now.pads[a] != was.pads[a]) s.bindings["pad." + name] = PadName(now.pads[a]);
        }
    });
    if (saved) inFile = now;
}

void ApplySoundLevels() {
    const double tune = TuneWanted() ? double(MusicLevel) / MaxSoundLevel : 0;
    const double sounds = SoundsWanted() ? double(EffectsLevel) / MaxSoundLevel : 0;
    PlatformSetVolumes(tune, sounds);
}
