// Joystick 1: the first pad or joystick connected. A pad that SDL's
// controller mapping knows is read by position (d-pad and left stick, the
// face buttons, Back, Start); any other joystick by its raw axes and buttons.
#include <SDL.h>

#include "platform/platform.h"
#include "platform/platform_sdl_parts.h"

namespace {
constexpr int AxisOffset = 32768;  // SDL's -32768..32767 to 0..65535
constexpr uint32_t AxisLow = 0, AxisHigh = 65535;
constexpr int MaxButtons = 32;
constexpr uint32_t Button1 = 1u << 0, Button2 = 1u << 1, Button3 = 1u << 2;
constexpr uint32_t ButtonBack = 1u << 8;  // where a joystick has its button 9

SDL_GameController* pad = nullptr;  // joystick 1 when it has a mapping
SDL_Joystick* stick = nullptr;      // joystick 1 when it has none
SDL_JoystickID openId = -1;

bool Held(SDL_GameControllerButton b) { return SDL_GameControllerGetButton(pad, b) != 0; }

uint32_t AxisOf(int16_t value) { return uint32_t(int(value) + AxisOffset); }

void ReadPad(uint32_t& x, uint32_t& y, uint32_t& buttons) {
    x = AxisOf(SDL_GameControllerGetAxis(pad, SDL_CONTROLLER_AXIS_LEFTX));
    y = AxisOf(SDL_GameControllerGetAxis(pad, SDL_CONTROLLER_AXIS_LEFTY));
    if (Held(SDL_CONTROLLER_BUTTON_DPAD_LEFT)) x = AxisLow;
    if (Held(SDL_CONTROLLER_BUTTON_DPAD_RIGHT)) x = AxisHigh;
    if (Held(SDL_CONTROLLER_BUTTON_DPAD_UP)) y = AxisLow;
    if (Held(SDL_CONTROLLER_BUTTON_DPAD_DOWN)) y = AxisHigh;
    buttons = 0;
    if (Held(SDL_CONTROLLER_BUTTON_A)) buttons |= Button1;
    if (Held(SDL_CONTROLLER_BUTTON_B)) buttons |= Button2;
    if (Held(SDL_CONTROLLER_BUTTON_X) || Held(SDL_CONTROLLER_BUTTON_Y)) buttons |= Button3;
    if (Held(SDL_CONTROLLER_BUTTON_BACK)) buttons |= ButtonBack;
}

void ReadStick(uint32_t& x, uint32_t& y, uint32_t& buttons) {
    x = AxisOf(SDL_JoystickGetAxis(stick, 0));
    y = AxisOf(SDL_JoystickGetAxis(stick, 1));
    buttons = 0;
    int count = SDL_JoystickNumButtons(stick);
    for (int i = 0; i < count && i < MaxButtons; ++i)
        if (SDL_JoystickGetButton(stick, i)) buttons |= 1u << i;
}

void CloseOpen() {
    if (pad) SDL_GameControllerClose(pad);
    if (stick) SDL_JoystickClose(stick);
    pad = nullptr;
    stick = nullptr;
    openId = -1;
}
}  // namespace

// SDL lists devices in the order they were connected, so the first that
// opens is the earliest still connected.
void PadOpenFirst() {
    if (pad || stick) return;
    for (int i = 0; i < SDL_NumJoysticks(); ++i) {
        if (SDL_IsGameController(i)) pad = SDL_GameControllerOpen(i);
        else stick = SDL_JoystickOpen(i);
        SDL_Joystick* opened = pad ? SDL_GameControllerGetJoystick(pad) : stick;
        if (opened) {
            openId = SDL_JoystickInstanceID(opened);
            return;
        }
    }
}

bool PadTakeEvent(const SDL_Event& e) {
    if (e.type == SDL_JOYDEVICEADDED) PadOpenFirst();
    if (e.type == SDL_JOYDEVICEREMOVED && e.jdevice.which == openId) {
        CloseOpen();
        PadOpenFirst();
        return true;
    }
    return false;
}

void PadCloseAll() { CloseOpen(); }

bool PadStartHeld() { return pad && Held(SDL_CONTROLLER_BUTTON_START); }

bool PlatformJoystick(uint32_t& x, uint32_t& y, uint32_t& buttons) {
    if (!WindowHasFocus()) return false;
    if (pad && SDL_GameControllerGetAttached(pad)) ReadPad(x, y, buttons);
    else if (stick && SDL_JoystickGetAttached(stick)) ReadStick(x, y, buttons);
    else return false;
    return true;
}
