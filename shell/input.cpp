#include "shell/input.h"

#include "platform/platform.h"
#include "shell/message_pump.h"
#include "shell/replay.h"
#include "shell/replay_record.h"
#include "screens/key_table.h"
#include "screens/options.h"

constinit KeySet AllKeysHeld;

namespace {
// The keys a search holds while it samples, or none: the devices are read.
const KeySet* searchKeys = nullptr;

// What this frame sampled, for the recording of the game.
ReplaySample sampled;

// The joystick this frame: none while a search samples, the replay's, or the device's.
bool ReadJoystick(uint32_t& x, uint32_t& y, uint32_t& buttons, bool& pad) {
    if (searchKeys) return false;
    bool present;
    if (!ReplayPlaying()) {
        present = PlatformJoystick(x, y, buttons, pad);
    } else {
        const ScriptedInput& in = ReplayFrame();
        x = in.joyX;
        y = in.joyY;
        buttons = in.joyButtons;
        pad = in.joyPad;
        present = in.joyPresent;
    }
    sampled.joyPresent = present;
    sampled.joyPad = present && pad;
    sampled.joyX = present ? x : JoyCenter;
    sampled.joyY = present ? y : JoyCenter;
    sampled.joyButtons = present ? buttons : 0;
    return present;
}

// The pause a focus loss owes: the replay's, or the window's.
bool OwedPause() {
    sampled.owedPause = ReplayPlaying() ? ReplayFrame().owedPause : TakeOwedPause();
    return sampled.owedPause;
}

// The bits of play, which a pad's buttons set in the joystick's word.
constexpr uint32_t PlayBits = BitButton1 | BitButton2 | BitButton3 | BitRight | BitDown | BitLeft | BitUp;
constexpr uint32_t Across = BitLeft | BitRight, Along = BitUp | BitDown;

// A pad's buttons as the bindings number them: under the Nintendo layout
// the bottom and right ones swap.
uint32_t InLayout(uint32_t buttons) {
    uint32_t out = 0;
    for (int b = 0; b < PadButtonCount; ++b)
        if ((buttons >> b) & 1u) out |= 1u << PadButtonInLayout(b);
    return out;
}

// The actions' bits of the buttons held, through the pad table.
uint32_t PadActionBits(uint32_t buttons) {
    uint32_t bits = 0;
    for (int a = 0; a < ActionCount; ++a)
        if (PadBinding[a] != NoPadButton && ((buttons >> PadBinding[a]) & 1u)) bits |= Actions[a].bit;
    return bits;
}

// A pad's buttons: the play bits into the joystick's word (a d-pad direction
// wins over the stick's on its axis), the others into PadKeyHeld.
void TakePadButtons(uint32_t raw, uint32_t* held) {
    const uint32_t buttons = InLayout(raw);
    const uint32_t bits = PadActionBits(buttons);
    if (bits & Across) *held &= ~Across;
    if (bits & Along) *held &= ~Along;
    *held |= bits & PlayBits;
    PadKeyHeld = bits & ~PlayBits;
    const uint32_t fresh = buttons & ~InLayout(PadButtonsHeld);
    for (int b = 0; b < PadButtonCount && NewestPadButton < 0; ++b)
        if ((fresh >> b) & 1u) NewestPadButton = b;
    PadButtonsHeld = raw & ((1u << PadButtonCount) - 1);
}

// A key this frame. A replay holds its script's keys, the real Escape still
// quitting; otherwise the keyboard's.
bool SampleKey(int key) {
    if (ReplayPlaying()) return ReplayFrame().keys.Has(key) || (key == KeyEscape && PlatformKeyDown(KeyEscape));
    return PlatformKeyDown(key);
}
}  // namespace

void PollJoystick(uint32_t* held, uint32_t* pressed) {
    uint32_t previous = *held, previousPadKeys = PadKeyHeld;
    // A button held since last frame is no new press under a binding or
    // layout chosen meanwhile on the options screen, while it is not let go.
    const uint32_t boundBefore = PadActionBits(InLayout(PadButtonsHeld));
    previous |= boundBefore & PlayBits;
    previousPadKeys |= boundBefore & ~PlayBits;
    *held = 0;
    *pressed = 0;
    PadKeyHeld = PadKeyPressed = 0;
    NewestPadButton = -1;
    uint32_t x = 0, y = 0, buttons = 0;
    bool pad = false;
    if (!ReadJoystick(x, y, buttons, pad)) {
        PadButtonsHeld = 0;
        return;
    }
    if (x > JoyCenter + JoyDeadZone) *held |= BitRight;
    if (y > JoyCenter + JoyDeadZone) *held |= BitDown;
    if (x < JoyCenter - JoyDeadZone) *held |= BitLeft;
    if (y < JoyCenter - JoyDeadZone) *held |= BitUp;
    if (pad) {
        TakePadButtons(buttons, held);
    } else {
        PadButtonsHeld = 0;
        *held |= buttons & 0x1FFFF;  // button 17 shares the right bit
    }
    *pressed = (*held ^ previous) & *held;
    PadKeyPressed = (PadKeyHeld ^ previousPadKeys) & PadKeyHeld;
}

// The bound keys, Escape and the keypad's Enter; while the options screen
// is open every key of the keyboard, and the first one newly pressed (the
// screen binds it).
void SampleKeyboard() {
    KeySet now;
    NewestKey = -1;
    if (searchKeys) {
        for (int a = 0; a < ActionCount; ++a)
            if (searchKeys->Has(Actions[a].defaultKey)) now.Add(KeyBinding[a]);
        for (int key : {int(KeyEscape), int(KeyKeypadEnter)})
            if (searchKeys->Has(key)) now.Add(key);
    } else if (OptionsOpen != OptionsClosed) {
        for (int key = 0; key < KeyCount; ++key)
            if (SampleKey(key)) now.Add(key);
        for (int key = 0; key < KeyCount && NewestKey < 0; ++key)
            if (now.Has(key) && !AllKeysHeld.Has(key)) NewestKey = key;
    } else {
        for (int key : KeyBinding)
            if (SampleKey(key)) now.Add(key);
        for (int key : {int(KeyEscape), int(KeyKeypadEnter)})
            if (SampleKey(key)) now.Add(key);
    }
    AllKeysHeld = now;
    sampled.keys = now;
}

// The bound key of every action, Escape (always quit) and the keypad's
// Enter beside the pause key; the pad's buttons that stand for keys (Start
// for the pause key); and the pause that a focus loss owes.
void PollKeyboard(uint32_t* held, uint32_t* pressed, const KeySet& keysBefore) {
    uint32_t previous = *held;
    // A key held since last frame is no new press under the action it was
    // bound to meanwhile (one chosen on the options screen and not yet let go).
    for (int a = 0; a < ActionCount; ++a)
        if (keysBefore.Has(KeyBinding[a])) previous |= Actions[a].bit;
    *held = 0;
    *pressed = 0;
    for (int a = 0; a < ActionCount; ++a)
        if (AllKeysHeld.Has(KeyBinding[a])) *held |= Actions[a].bit;
    if (AllKeysHeld.Has(KeyKeypadEnter)) *held |= BitEnter;
    if (AllKeysHeld.Has(KeyEscape)) *held |= BitEscape;
    *held |= PadKeyHeld;
    if (!searchKeys && OwedPause()) *held |= BitEnter;
    *pressed = (*held ^ previous) & *held;
}

static uint8_t Either(uint32_t keyWord, uint32_t joyWord, uint32_t bit) {
    return ((keyWord & bit) != 0 || (joyWord & bit) != 0) ? 1 : 0;
}

void SampleInput() {
    PollJoystick(&JoyHeld, &JoyPressed);
    // A search sets the held turn keys of the moment it resumes itself, so
    // only they say what was held before.
    const KeySet keysBefore = searchKeys ? KeySet{} : AllKeysHeld;
    SampleKeyboard();
    PollKeyboard(&KeyHeld, &KeyPressed, keysBefore);
    LeftHeld = Either(KeyHeld, JoyHeld, BitLeft);
    LeftPressed = Either(KeyPressed, JoyPressed, BitLeft);
    RightHeld = Either(KeyHeld, JoyHeld, BitRight);
    RightPressed = Either(KeyPressed, JoyPressed, BitRight);
    DownHeld = Either(KeyHeld, JoyHeld, BitDown);
    DownPressed = Either(KeyPressed, JoyPressed, BitDown);
    UpHeld = Either(KeyHeld, JoyHeld, BitUp);
    UpPressed = Either(KeyPressed, JoyPressed, BitUp);
    Button1Pressed = Either(KeyPressed, JoyPressed, BitButton1);
    Button2Pressed = Either(KeyPressed, JoyPressed, BitButton2);
    Button3Pressed = Either(KeyPressed, JoyPressed, BitButton3);
    if (!searchKeys) RecordSampledFrame(sampled);  // a search's frames are no one's game
}

void SampleSearchInput(const KeySet& keys) {
    searchKeys = &keys;
    SampleInput();
    searchKeys = nullptr;
}
