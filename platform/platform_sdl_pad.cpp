// Joystick 1: the first pad or joystick connected. A pad that SDL's
// controller mapping knows is read by position (left stick, every button);
// any other joystick by its raw axes and buttons. What the buttons do is the
// game's affair.
//
// TESSMAR_TEST_PAD=FILE plugs in a virtual pad whose held buttons are the
// SDL button names FILE holds, read again whenever it changes: real-window
// tests drive the game's pad with it.
#include <SDL.h>
#include <sys/stat.h>

#include <cstdio>
#include <cstdlib>
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
struct timespec testPadChanged {};
off_t testPadSize = -1;
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

// The file's names held, the others let go; read only when it changed.
void PadTestPoll() {
    if (testPad == nullptr) return;
    struct stat st {};
    if (stat(testPadFile, &st) != 0) return;
    if (st.st_mtim.tv_sec == testPadChanged.tv_sec && st.st_mtim.tv_nsec == testPadChanged.tv_nsec &&
        st.st_size == testPadSize)
        return;
    testPadChanged = st.st_mtim;
    testPadSize = st.st_size;
    std::vector<uint8_t> bytes;
    constexpr size_t MostBytes = 4096;
    ReadFileBytes(testPadFile, bytes, MostBytes);
    std::string text(bytes.begin(), bytes.end()), word;
    bool held[SDL_CONTROLLER_BUTTON_MAX] = {};
    text += ' ';
    for (char c : text) {
        if (c != ' ' && c != '\n' && c != '\t') {
            word += c;
            continue;
        }
        int b = SDL_GameControllerGetButtonFromString(word.c_str());
        if (b >= 0 && b < SDL_CONTROLLER_BUTTON_MAX) held[b] = true;
        word.clear();
    }
    for (int b = 0; b < SDL_CONTROLLER_BUTTON_MAX; ++b) SDL_JoystickSetVirtualButton(testPad, b, held[b] ? 1 : 0);
}
