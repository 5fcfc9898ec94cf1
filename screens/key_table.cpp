#include "screens/key_table.h"

#include <cctype>
#include <iterator>

#include "platform/platform.h"
#include "rules/input_words.h"

const ActionInfo Actions[ActionCount] = {
    {"left", BitLeft, KeyLeft, PadDpadLeft, "MOVE LEFT", "ヒダリ"},
    {"right", BitRight, KeyRight, PadDpadRight, "MOVE RIGHT", "ミギ"},
    {"drop", BitDown, KeyDown, PadDpadDown, "DROP", "ハヤク オトス"},
    {"up", BitUp, KeyUp, PadDpadUp, "UP", "ウエ"},
    {"turn_left", BitButton1, KeyZ, PadBottom, "TURN ANTICLOCKWISE", "ヒダリ カイテン"},
    {"turn_right", BitButton2, KeyX, PadRight, "TURN CLOCKWISE", "ミギ カイテン"},
    {"link", BitButton3, KeyA, PadLeft, "LINK", "リンク"},
    {"pause", BitEnter, KeyEnter, PadStart, "PAUSE", "ポーズ"},
    {"help", BitF1, KeyF1, PadTop, "HELP", "ヘルプ"},
    {"options", BitF2, KeyF2, PadBack, "OPTIONS", "オプション"},
    {"colours", BitC, KeyC, NoPadButton, "COLOURS", "イロワケ"},
    {"grid", BitG, KeyG, NoPadButton, "GRID", "マスメ"},
    {"language", BitL, KeyL, NoPadButton, "LANGUAGE", "ゲンゴ"},
    {"mute", BitM, KeyM, NoPadButton, "MUTE", "ミュート"},
    {"undo", BitUndo, KeyBackspace, PadLeftShoulder, "UNDO", "ヒトツ モドス"},
    {"date", BitD, KeyD, NoPadButton, "DATE AS THE NAME", "キョウ ノ ヒ"},
};

constinit int KeyBinding[ActionCount] = {KeyLeft, KeyRight, KeyDown, KeyUp, KeyZ, KeyX, KeyA, KeyEnter,
                                         KeyF1, KeyF2, KeyC, KeyG, KeyL, KeyM, KeyBackspace, KeyD};
constinit int PadBinding[ActionCount] = {PadDpadLeft, PadDpadRight, PadDpadDown, PadDpadUp, PadBottom, PadRight, PadLeft,
                                         PadStart, PadTop, PadBack, NoPadButton, NoPadButton, NoPadButton,
                                         NoPadButton, PadLeftShoulder, NoPadButton};
constinit bool PadNintendo = false;
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

std::string WithKeyLabels(const char* text, bool japanese) {
    std::string out;
    for (const char* c = text; *c; ++c) {
        const bool named = c[1] >= 'a' && c[1] < 'a' + ActionCount;
        if (c[0] == '@' && named) out += KeyLabelText(KeyBinding[*++c - 'a']);
        else if (c[0] == '$' && named) out += PadButtonText(PadBinding[*++c - 'a'], japanese);
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

int ActionOfPadButton(int button) {
    if (button == NoPadButton) return -1;
    for (int a = 0; a < ActionCount; ++a)
        if (PadBinding[a] == button) return a;
    return -1;
}

void ResetPadBindings() {
    for (int a = 0; a < ActionCount; ++a) PadBinding[a] = Actions[a].defaultPadButton;
}

bool BindPadButton(int action, int button) {
    int holder = ActionOfPadButton(button);
    if (holder >= 0 && holder != action) return false;
    PadBinding[action] = button;
    return true;
}

int PadButtonInLayout(int button) {
    if (!PadNintendo) return button;
    if (button == PadBottom) return PadRight;
    if (button == PadRight) return PadBottom;
    return button;
}

std::string PadButtonText(int button, bool japanese) {
    static const char* const English[PadButtonCount] = {
        "BOTTOM", "RIGHT", "LEFT", "TOP", "BACK", "GUIDE", "START", "L STICK", "R STICK", "L SHOULDER",
        "R SHOULDER", "D-UP", "D-DOWN", "D-LEFT", "D-RIGHT", "MISC", "PADDLE 1", "PADDLE 2", "PADDLE 3",
        "PADDLE 4", "TOUCHPAD"};
    static const char* const JapaneseFaces[] = {"シタ", "ミギ", "ヒダリ", "ウエ"};
    if (button < 0 || button >= PadButtonCount) return "-";
    const int placed = PadButtonInLayout(button);  // where the bound button sits
    if (japanese && placed < int(std::size(JapaneseFaces))) return JapaneseFaces[placed];
    return English[placed];
}
