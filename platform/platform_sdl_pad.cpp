// Joystick 1: the first pad or joystick connected. A pad that SDL's
// controller mapping knows is read by position (left stick, every button);
// any other joystick by its raw axes and buttons. What the buttons do is the
// game's affair.
//
// TESSMAR_TEST_PAD=FILE plugs in a virtual pad tapped by FILE ("N NAME...",
// SDL button names, a new N for every tap): real-window tests drive the
// game's pad with it.
#include <SDL.h>

#include <cstdio>
#include <cstdlib>
#include <deque>
#include <sstream>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "platform/platform_os.h"
#include "platform/platform_sdl_parts.h"

namespace {
constexpr int AxisOffset = 32768;  // SDL's -32768..32767 to 0..65535
constexpr int MaxButtons = 32;

SDL_GameController* pad = nullptr;  // joystick 1 when it has a mapping
SDL_Joystick* stick = nullptr;      // joystick 1 when it has none
SDL_JoystickID openId = -1;

uint32_t AxisOf(int16_t value) { return uint32_t(int(value) + AxisOffset); }

void ReadPad(uint32_t& x, uint32_t& y, uint32_t& buttons) {
    x = AxisOf(SDL_GameControllerGetAxis(pad, SDL_CONTROLLER_AXIS_LEFTX));
    y = AxisOf(SDL_GameControllerGetAxis(pad, SDL_CONTROLLER_AXIS_LEFTY));
    buttons = 0;
    for (int b = 0; b < PadButtonCount && b < SDL_CONTROLLER_BUTTON_MAX; ++b)
        if (SDL_GameControllerGetButton(pad, SDL_GameControllerButton(b))) buttons |= 1u << b;
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

// The test pad: a virtual joystick of the standard controller layout.
const char* testPadFile = nullptr;
SDL_Joystick* testPad = nullptr;
std::string testPadText, testPadTap;  // the file as last read, its last tap's number
std::deque<uint32_t> testPadStates;  // buttons held, one read of the pad each
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

void PadCloseAll() {
    CloseOpen();
    if (testPad) SDL_JoystickClose(testPad);
    testPad = nullptr;
}

bool PlatformJoystick(uint32_t& x, uint32_t& y, uint32_t& buttons, bool& isPad) {
    if (!WindowHasFocus()) return false;
    PadTestStep();
    if (pad && SDL_GameControllerGetAttached(pad)) ReadPad(x, y, buttons);
    else if (stick && SDL_JoystickGetAttached(stick)) ReadStick(x, y, buttons);
    else return false;
    isPad = pad != nullptr;
    return true;
}

std::string PlatformPadButtonName(int button) {
    if (button < 0 || button >= SDL_CONTROLLER_BUTTON_MAX) return "";
    const char* name = SDL_GameControllerGetStringForButton(SDL_GameControllerButton(button));
    return name ? name : "";
}

int PlatformPadButtonOfName(const std::string& name) {
    int button = SDL_GameControllerGetButtonFromString(name.c_str());
    return button >= 0 && button < PadButtonCount ? button : NoPadButton;
}

void PadTestOpen() {
    testPadFile = std::getenv("TESSMAR_TEST_PAD");
    if (testPadFile == nullptr || testPadFile[0] == '\0') return;
    SDL_VirtualJoystickDesc desc{};
    desc.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
    desc.type = SDL_JOYSTICK_TYPE_GAMECONTROLLER;
    desc.naxes = SDL_CONTROLLER_AXIS_MAX;
    desc.nbuttons = SDL_CONTROLLER_BUTTON_MAX;
    desc.button_mask = (1u << SDL_CONTROLLER_BUTTON_MAX) - 1;
    desc.axis_mask = (1u << SDL_CONTROLLER_AXIS_MAX) - 1;
    desc.name = "Tessmar test pad";
    int index = SDL_JoystickAttachVirtualEx(&desc);
    if (index >= 0) testPad = SDL_JoystickOpen(index);
    if (testPad == nullptr) std::fprintf(stderr, "tessmar: no test pad: %s\n", SDL_GetError());
}

bool PadTestActive() { return testPad != nullptr; }

// A tap of the test pad: "N NAME..." in the file, N a number that changes
// with every tap. Each tap holds its buttons for one read of the pad and
// lets them go for the next, so no press is lost however soon the next tap
// is written.
void PadTestPoll() {
    if (testPad == nullptr) return;
    std::vector<uint8_t> bytes;
    constexpr size_t MostBytes = 4096;
    if (!ReadFileBytes(testPadFile, bytes, MostBytes)) return;
    std::string text(bytes.begin(), bytes.end());
    if (text == testPadText) return;
    testPadText = text;
    std::istringstream words(text);
    std::string tap, word;
    if (!(words >> tap) || tap == testPadTap) return;
    testPadTap = tap;
    uint32_t held = 0;
    while (words >> word) {
        int b = SDL_GameControllerGetButtonFromString(word.c_str());
        if (b >= 0 && b < SDL_CONTROLLER_BUTTON_MAX) held |= 1u << b;
    }
    testPadStates.push_back(held);
    testPadStates.push_back(0);
}

// The next state of the test pad's queue, given to the virtual pad before it is read.
void PadTestStep() {
    if (testPad == nullptr || testPadStates.empty()) return;
    const uint32_t held = testPadStates.front();
    testPadStates.pop_front();
    for (int b = 0; b < SDL_CONTROLLER_BUTTON_MAX; ++b) SDL_JoystickSetVirtualButton(testPad, b, (held >> b) & 1u);
    SDL_JoystickUpdate();
}
