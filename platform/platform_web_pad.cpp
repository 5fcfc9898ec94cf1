// Joystick 1 in the browser: the Gamepad API. A pad in the browser's
// standard mapping is a game controller, its buttons by position as SDL
// numbers them; any other is read by its first two axes and buttons 1..32.
// The first pad connected is the one read, as on the desktop.
#include <emscripten/html5.h>

#include <cmath>
#include <iterator>
#include <string>

#include "platform/key_names.h"
#include "platform/platform.h"
#include "platform/platform_web_parts.h"

namespace {
constexpr int NoPad = -1;
int padIndex = NoPad;
bool sampling = false;
bool lost = false;
EmscriptenGamepadEvent state{};
bool stateRead = false;

// The standard mapping's buttons 0..16 as SDL's pad buttons (the triggers,
// 6 and 7, are axes to SDL: none).
constexpr int StandardButtons[] = {PadBottom,     PadRight,       PadLeft,      PadTop,        PadLeftShoulder,
                                   PadRightShoulder, NoPadButton,  NoPadButton,  PadBack,       PadStart,
                                   PadLeftStick,  PadRightStick,  PadDpadUp,    PadDpadDown,   PadDpadLeft,
                                   PadDpadRight,  PadGuide};
constexpr int StickButtons = 32;

uint32_t AxisOf(double value) {
    const double clamped = value < -1 ? -1 : value > 1 ? 1 : value;
    return uint32_t(std::lround((clamped + 1) * 32767.5));
}

bool Standard() { return std::string(state.mapping) == "standard"; }
}  // namespace

void PadOpen() { sampling = emscripten_sample_gamepad_data() == EMSCRIPTEN_RESULT_SUCCESS; }

void PadPoll() {
    stateRead = false;
    if (!sampling || emscripten_sample_gamepad_data() != EMSCRIPTEN_RESULT_SUCCESS) return;
    const int count = emscripten_get_num_gamepads();
    if (padIndex != NoPad) {
        EmscriptenGamepadEvent now{};
        if (padIndex < count && emscripten_get_gamepad_status(padIndex, &now) == EMSCRIPTEN_RESULT_SUCCESS &&
            now.connected) {
            state = now;
            stateRead = true;
            return;
        }
        padIndex = NoPad;
        lost = true;
    }
    for (int i = 0; i < count; ++i) {
        EmscriptenGamepadEvent now{};
        if (emscripten_get_gamepad_status(i, &now) == EMSCRIPTEN_RESULT_SUCCESS && now.connected) {
            padIndex = i;
            state = now;
            stateRead = true;
            return;
        }
    }
}

bool PadTakeLost() {
    const bool was = lost;
    lost = false;
    return was;
}

bool PlatformJoystick(uint32_t& x, uint32_t& y, uint32_t& buttons, bool& pad) {
    if (!PageHasFocus() || !stateRead) return false;
    x = AxisOf(state.numAxes > 0 ? state.axis[0] : 0);
    y = AxisOf(state.numAxes > 1 ? state.axis[1] : 0);
    buttons = 0;
    pad = Standard();
    for (int b = 0; b < state.numButtons; ++b) {
        if (!state.digitalButton[b]) continue;
        if (!pad && b < StickButtons) buttons |= 1u << b;
        if (pad && b < int(std::size(StandardButtons)) && StandardButtons[b] != NoPadButton)
            buttons |= 1u << StandardButtons[b];
    }
    return true;
}

std::string PlatformPadButtonName(int button) { return PadButtonNameOf(button); }
int PlatformPadButtonOfName(const std::string& name) { return PadButtonOfNamed(name); }
