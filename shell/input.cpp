#include "shell/input.h"

#include "platform/platform.h"
#include "shell/message_pump.h"
#include "shell/replay.h"

namespace {
// The joystick this frame: the replay's, or the device's.
bool ReadJoystick(uint32_t& x, uint32_t& y, uint32_t& buttons) {
    if (!ReplayPlaying()) return PlatformJoystick(x, y, buttons);
    const ScriptedInput& in = ReplayFrame();
    x = in.joyX;
    y = in.joyY;
    buttons = in.joyButtons;
    return in.joyPresent;
}

// A key this frame. A replay holds its script's keys, the real Escape still
// quitting; otherwise the keyboard's, and Enter once more for a pause that a
// focus loss owes.
bool SampleKey(Key key) {
    if (ReplayPlaying())
        return ((ReplayFrame().keys >> key) & 1u) != 0 || (key == KeyEscape && PlatformKeyDown(KeyEscape));
    bool down = PlatformKeyDown(key);
    if (key != KeyEnter) return down;
    return TakeOwedPause() || down;
}
}  // namespace

void PollJoystick(uint32_t* held, uint32_t* pressed) {
    uint32_t previous = *held;
    *held = 0;
    *pressed = 0;
    uint32_t x = 0, y = 0, buttons = 0;
    if (!ReadJoystick(x, y, buttons)) return;
    if (x > JoyCenter + JoyDeadZone) *held |= BitRight;
    if (y > JoyCenter + JoyDeadZone) *held |= BitDown;
    if (x < JoyCenter - JoyDeadZone) *held |= BitLeft;
    if (y < JoyCenter - JoyDeadZone) *held |= BitUp;
    *held |= buttons & 0x1FFFF;  // button 17 shares the right bit
    *pressed = (*held ^ previous) & *held;
}

void PollKeyboard(uint32_t* held, uint32_t* pressed) {
    static const struct { Key key; uint32_t bit; } map[] = {
        {KeyRight, BitRight}, {KeyDown, BitDown}, {KeyLeft, BitLeft}, {KeyUp, BitUp},
        {KeyZ, BitButton1}, {KeyX, BitButton2}, {KeyA, BitButton3}, {KeyC, BitC},
        {KeyD, BitD}, {KeyG, BitG}, {KeyL, BitL}, {KeyF1, BitF1}, {KeyEnter, BitEnter}, {KeyEscape, BitEscape},
        {KeyBackspace, BitUndo},
    };
    uint32_t previous = *held;
    *held = 0;
    *pressed = 0;
    for (const auto& m : map)
        if (SampleKey(m.key)) *held |= m.bit;
    *pressed = (*held ^ previous) & *held;
}

static uint8_t Either(uint32_t keyWord, uint32_t joyWord, uint32_t bit) {
    return ((keyWord & bit) != 0 || (joyWord & bit) != 0) ? 1 : 0;
}

void SampleInput() {
    PollJoystick(&JoyHeld, &JoyPressed);
    PollKeyboard(&KeyHeld, &KeyPressed);
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
}
