#include "screens/key_table.h"

#include <cctype>

#include "platform/platform.h"
#include "rules/input_words.h"

const ActionInfo Actions[ActionCount] = {
    {"left", BitLeft, KeyLeft, "MOVE LEFT", "ヒダリ"},
    {"right", BitRight, KeyRight, "MOVE RIGHT", "ミギ"},
    {"drop", BitDown, KeyDown, "DROP", "ハヤク オトス"},
    {"up", BitUp, KeyUp, "UP", "ウエ"},
    {"turn_left", BitButton1, KeyZ, "TURN ANTICLOCKWISE", "ヒダリ カイテン"},
    {"turn_right", BitButton2, KeyX, "TURN CLOCKWISE", "ミギ カイテン"},
    {"link", BitButton3, KeyA, "LINK", "リンク"},
    {"pause", BitEnter, KeyEnter, "PAUSE", "ポーズ"},
    {"help", BitF1, KeyF1, "HELP", "ヘルプ"},
    {"options", BitF2, KeyF2, "OPTIONS", "オプション"},
    {"colours", BitC, KeyC, "COLOURS", "イロワケ"},
    {"grid", BitG, KeyG, "GRID", "マスメ"},
    {"language", BitL, KeyL, "LANGUAGE", "ゲンゴ"},
    {"mute", BitM, KeyM, "MUTE", "ミュート"},
    {"undo", BitUndo, KeyBackspace, "UNDO", "ヒトツ モドス"},
    {"date", BitD, KeyD, "DATE AS THE NAME", "キョウ ノ ヒ"},
};

constinit int KeyBinding[ActionCount] = {KeyLeft, KeyRight, KeyDown, KeyUp, KeyZ, KeyX, KeyA, KeyEnter,
                                         KeyF1, KeyF2, KeyC, KeyG, KeyL, KeyM, KeyBackspace, KeyD};
constinit uint8_t MusicLevel = MaxSoundLevel, EffectsLevel = MaxSoundLevel;
constinit bool SoundMuted = false;

std::string KeyLabelText(int key) {
    std::string label = key == KeyEnter ? "Enter" : PlatformKeyLabel(key);  // as most keyboards print it
    for (char& c : label) {
        c = char(std::toupper(static_cast<unsigned char>(c)));
        if (static_cast<unsigned char>(c) < 32 || static_cast<unsigned char>(c) > 95) c = '?';
    }
    return label;
}

std::string WithKeyLabels(const char* text) {
    std::string out;
    for (const char* c = text; *c; ++c) {
        if (c[0] == '@' && c[1] >= 'a' && c[1] < 'a' + ActionCount) out += KeyLabelText(KeyBinding[*++c - 'a']);
        else out += *c;
    }
    return out;
}

int ActionOfKey(int key) {
    for (int a = 0; a < ActionCount; ++a)
        if (KeyBinding[a] == key) return a;
    return -1;
}

void ResetKeyBindings() {
    for (int a = 0; a < ActionCount; ++a) KeyBinding[a] = Actions[a].defaultKey;
}

bool BindKey(int action, int key) {
    int holder = ActionOfKey(key);
    if (holder >= 0 && holder != action) return false;
    KeyBinding[action] = key;
    return true;
}
