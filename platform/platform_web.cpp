// The browser's platform (emscripten): the picture on the page's canvas, the
// keys by their physical code, focus and visibility, the clock, the date,
// the clipboard and the browser's file picker. Pads are in
// platform_web_pad.cpp, sounds and the tune in platform_web_audio.cpp; the
// page's side of all of them in web/tessmar_pre.js.
//
// With ?step=1 in the page's address the browser test drives the game on a
// virtual clock that, as the headless runner's, moves only by the frames'
// waits, and only as far as the test has granted: the page stops in the wait
// that would pass it, its picture that frame's, and takes the keys the test
// presses there for the next frame. The same keys give the same frames as
// the runner's.
#include <emscripten.h>
#include <emscripten/html5.h>

#include <cstdio>
#include <cstdlib>
#include <algorithm>
#include <cstring>
#include <deque>
#include <string>
#include <vector>

#include "platform/key_names.h"
#include "platform/key_presses.h"
#include "platform/platform.h"
#include "platform/platform_web_parts.h"

namespace {
// USB usage numbers (SDL's scancodes) of the browser's key codes.
struct CodeKey {
    const char* code;
    int key;
};
constexpr CodeKey CodeKeys[] = {
    {"KeyA", 4}, {"KeyB", 5}, {"KeyC", 6}, {"KeyD", 7}, {"KeyE", 8}, {"KeyF", 9}, {"KeyG", 10}, {"KeyH", 11},
    {"KeyI", 12}, {"KeyJ", 13}, {"KeyK", 14}, {"KeyL", 15}, {"KeyM", 16}, {"KeyN", 17}, {"KeyO", 18}, {"KeyP", 19},
    {"KeyQ", 20}, {"KeyR", 21}, {"KeyS", 22}, {"KeyT", 23}, {"KeyU", 24}, {"KeyV", 25}, {"KeyW", 26}, {"KeyX", 27},
    {"KeyY", 28}, {"KeyZ", 29}, {"Digit1", 30}, {"Digit2", 31}, {"Digit3", 32}, {"Digit4", 33}, {"Digit5", 34},
    {"Digit6", 35}, {"Digit7", 36}, {"Digit8", 37}, {"Digit9", 38}, {"Digit0", 39}, {"Enter", 40}, {"Escape", 41},
    {"Backspace", 42}, {"Tab", 43}, {"Space", 44}, {"Minus", 45}, {"Equal", 46}, {"BracketLeft", 47},
    {"BracketRight", 48}, {"Backslash", 49}, {"Semicolon", 51}, {"Quote", 52}, {"Backquote", 53}, {"Comma", 54},
    {"Period", 55}, {"Slash", 56}, {"CapsLock", 57}, {"F1", 58}, {"F2", 59}, {"F3", 60}, {"F4", 61}, {"F5", 62},
    {"F6", 63}, {"F7", 64}, {"F8", 65}, {"F9", 66}, {"F10", 67}, {"F11", 68}, {"F12", 69}, {"PrintScreen", 70},
    {"ScrollLock", 71}, {"Pause", 72}, {"Insert", 73}, {"Home", 74}, {"PageUp", 75}, {"Delete", 76}, {"End", 77},
    {"PageDown", 78}, {"ArrowRight", 79}, {"ArrowLeft", 80}, {"ArrowDown", 81}, {"ArrowUp", 82}, {"NumLock", 83},
    {"NumpadDivide", 84}, {"NumpadMultiply", 85}, {"NumpadSubtract", 86}, {"NumpadAdd", 87}, {"NumpadEnter", 88},
    {"Numpad1", 89}, {"Numpad2", 90}, {"Numpad3", 91}, {"Numpad4", 92}, {"Numpad5", 93}, {"Numpad6", 94},
    {"Numpad7", 95}, {"Numpad8", 96}, {"Numpad9", 97}, {"Numpad0", 98}, {"NumpadDecimal", 99},
    {"IntlBackslash", 100}, {"ContextMenu", 101}, {"NumpadEqual", 103}, {"IntlRo", 135}, {"KanaMode", 136},
    {"IntlYen", 137}, {"Convert", 138}, {"NonConvert", 139}, {"Lang1", 144}, {"Lang2", 145}, {"ControlLeft", 224},
    {"ShiftLeft", 225}, {"AltLeft", 226}, {"MetaLeft", 227}, {"ControlRight", 228}, {"ShiftRight", 229},
    {"AltRight", 230}, {"MetaRight", 231},
};
// Keys the browser keeps for itself: reload, its fullscreen, its tools.
constexpr int KeyF5 = 62, KeyF11 = 68, KeyF12 = 69;

int KeyOfCode(const char* code) {
    for (const CodeKey& c : CodeKeys)
        if (std::strcmp(c.code, code) == 0) return c.key;
    return -1;
}
const char* CodeOfKey(int key) {
    for (const CodeKey& c : CodeKeys)
        if (c.key == key) return c.code;
    return "";
}

// Events as the page gave them, taken one at a time as SDL's queue is.
struct PageEvent {
    PlatformEvent kind;
    int key = -1;  // a key's press or release
    bool down = false;
};
std::deque<PageEvent> events;

// The same key bookkeeping as the desktop's.
KeyPresses keyPresses;
bool focused = true;
bool stepMode = false;
uint32_t virtualClock = 0;
int pictureW = 0, pictureH = 0;
std::vector<uint32_t> rgba;  // the picture in the canvas's byte order
// The page yields to the browser at least this often while the game runs
// without waiting (the day's mission being made), so it stays drawn.
constexpr double YieldEveryMs = 100;
constexpr uint32_t WaitStepMs = 4;
double lastYield = 0;

bool ValidKey(int key) { return key >= 0 && key < KeyCount; }

void ForgetKeys() { keyPresses.Forget(); }

EM_JS(void, web_toggle_fullscreen, (), {
    if (document.fullscreenElement) document.exitFullscreen();
    else if (document.documentElement.requestFullscreen) document.documentElement.requestFullscreen().catch(function() {});
});

EM_BOOL TakeKey(int type, const EmscriptenKeyboardEvent* e, void*) {
    const bool down = type == EMSCRIPTEN_EVENT_KEYDOWN;
    const int key = KeyOfCode(e->code);
    if (key < 0 || e->ctrlKey || e->metaKey || key == KeyF5 || key == KeyF11 || key == KeyF12) return EM_FALSE;
    // Alt+Enter is the page's fullscreen, as the desktop window's; the game never sees it.
    if ((key == KeyEnter || key == KeyKeypadEnter) && e->altKey) {
        if (down && !e->repeat) web_toggle_fullscreen();
        return EM_TRUE;
    }
    if (down && e->repeat) return EM_TRUE;
    events.push_back({PlatformEvent::Other, key, down});
    return EM_TRUE;
}

EM_BOOL TakeFocus(int type, const EmscriptenFocusEvent*, void*) {
    if (stepMode) return EM_FALSE;
    events.push_back({type == EMSCRIPTEN_EVENT_BLUR ? PlatformEvent::FocusLost : PlatformEvent::FocusGained});
    return EM_FALSE;
}

EM_BOOL TakeVisibility(int, const EmscriptenVisibilityChangeEvent* e, void*) {
    if (!stepMode && e->hidden) events.push_back({PlatformEvent::FocusLost});
    return EM_FALSE;
}

PlatformEvent Handle(const PageEvent& e) {
    if (e.key >= 0) {
        keyPresses.Take(e.key, e.down);
        return PlatformEvent::Other;
    }
    if (e.kind == PlatformEvent::FocusLost) {
        focused = false;
        ForgetKeys();
    } else if (e.kind == PlatformEvent::FocusGained) {
        focused = true;
    }
    return e.kind;
}

EM_JS(int, web_step_mode, (), { return Tessmar.step ? 1 : 0; });
EM_JS(int, web_granted, (), { return Tessmar.granted; });
EM_JS(void, web_present, (const void* pixels, int w, int h), { Tessmar.present(pixels, w, h); });
EM_JS(void, web_set_fit, (int fit), { Tessmar.fit = fit != 0; });
EM_JS(int, web_hidden, (), { return document.hidden ? 1 : 0; });
EM_JS(void, web_ended, (), {
    Tessmar.ended = true;
    Tessmar.note('The game has ended. Reload the page to play again.');
});
EM_JS(void, web_set_clipboard, (const char* text), {
    if (navigator.clipboard) navigator.clipboard.writeText(UTF8ToString(text)).catch(function() {});
});
// The test's date, "YYYY-MM-DD" (?today=); 0 when none is given.
EM_JS(int, web_test_day, (int part), {
    var m = /^([0-9]{4})-([0-9]{2})-([0-9]{2})$/.exec(Tessmar.today);
    return m ? parseInt(m[part + 1], 10) : 0;
});
// The label the keyboard's layout prints on a key, where the browser says
// (Chromium's Keyboard API); "" where it does not.
EM_JS(char*, web_key_label, (const char* code), {
    var label = Tessmar.layout ? Tessmar.layout.get(UTF8ToString(code)) : undefined;
    return label ? allocateUTF8(label.toUpperCase()) : 0;
});
EM_JS(void, web_ask_layout, (), {
    if (navigator.keyboard && navigator.keyboard.getLayoutMap)
        navigator.keyboard.getLayoutMap().then(function(m) { Tessmar.layout = m; }, function() {});
});
EM_ASYNC_JS(char*, web_pick_file, (), {
    var path = await Tessmar.pickFile();
    return allocateUTF8(path);
});

EM_JS(void, web_step_wait, (uint32_t clock, int blocked), {
    Tessmar.clock = clock;
    Tessmar.blocked = blocked != 0;
});
}  // namespace

bool StepMode() { return stepMode; }

uint32_t PlatformTicks() { return stepMode ? virtualClock : uint32_t(emscripten_get_now()); }

bool PlatformDesktopArea(int&, int&) { return false; }

bool PlatformOpenWindow(const WindowRequest& request) {
    pictureW = request.width;
    pictureH = request.height;
    web_set_fit(request.fit);
    return true;
}

// The page's size is the browser's: the scale is what the page gives, and
// nothing of it is kept.
WindowLayout PlatformWindowLayout() { return {1, false}; }
void PlatformSetPictureFit(bool fit) { web_set_fit(fit); }
void PlatformCloseWindow() {}

void PlatformPresent(const Picture& picture) {
    const size_t count = size_t(picture.width) * size_t(picture.height);
    rgba.resize(count);
    // 0x00RRGGBB to the canvas's bytes R, G, B, A (little-endian words).
    for (size_t i = 0; i < count; ++i) {
        const uint32_t p = picture.pixels[i];
        rgba[i] = 0xFF000000u | ((p & 0xFFu) << 16) | (p & 0xFF00u) | ((p >> 16) & 0xFFu);
    }
    web_present(rgba.data(), picture.width, picture.height);
}

PlatformEvent PlatformTakeEvent() {
    PadPoll();
    if (PadTakeLost()) return PlatformEvent::PadLost;
    if (!stepMode && emscripten_get_now() - lastYield > YieldEveryMs) {
        emscripten_sleep(0);
        lastYield = emscripten_get_now();
    }
    if (events.empty()) return PlatformEvent::None;
    PageEvent e = events.front();
    events.pop_front();
    return Handle(e);
}

// Real time: sleeps in short steps until an event comes or the time is up.
// Step mode: as the headless runner, a wait with no event takes the whole
// timeout on the virtual clock.
PlatformEvent PlatformWaitEvent(uint32_t timeoutMs) {
    const uint32_t start = PlatformTicks();
    for (;;) {
        PlatformEvent e = PlatformTakeEvent();
        if (e != PlatformEvent::None) return e;
        if (stepMode) {
            // The clock goes no further than the test has granted; keys the
            // test presses meanwhile are taken before it goes on.
            if (uint64_t(virtualClock) + timeoutMs > uint64_t(uint32_t(web_granted()))) {
                web_step_wait(virtualClock, 1);
                while (events.empty() && uint64_t(virtualClock) + timeoutMs > uint64_t(uint32_t(web_granted())))
                    emscripten_sleep(WaitStepMs);
                web_step_wait(virtualClock, 0);
                continue;  // the keys and the pad as the test left them
            }
            virtualClock += timeoutMs;
            return PlatformEvent::None;
        }
        const uint32_t passed = PlatformTicks() - start;
        if (passed >= timeoutMs) return PlatformEvent::None;
        emscripten_sleep(std::min(timeoutMs - passed, WaitStepMs));
        lastYield = emscripten_get_now();
    }
}

void PlatformPostQuit() { events.push_back({PlatformEvent::Quit}); }

// The test counts on every frame, as the headless runner does.
bool PlatformMayRest() { return !stepMode; }
bool PlatformWindowShown() { return stepMode || !web_hidden(); }

bool PlatformKeyDown(int key) { return keyPresses.Sample(key); }

bool PageHasFocus() { return focused; }

std::string PlatformKeyName(int key) { return KeyNameOf(key); }
int PlatformKeyOfName(const std::string& name) { return KeyOfNamed(name); }
std::string PlatformKeyLabel(int key) {
    if (!ValidKey(key)) return "";
    char* label = web_key_label(CodeOfKey(key));
    if (label == nullptr) return KeyNameOf(key);
    std::string text = label;
    std::free(label);
    // Letters as the layout prints them; other keys by their names.
    return text.size() == 1 && text[0] > ' ' ? text : KeyNameOf(key);
}

std::string PlatformPickMissionFile(const std::string&, DialogLanguage) {
    char* picked = web_pick_file();
    std::string path = picked != nullptr ? picked : "";
    std::free(picked);
    // Keys pressed while the picker was open were the picker's.
    events.clear();
    ForgetKeys();
    return path;
}

CalendarDay PlatformToday() {
    if (stepMode && web_test_day(0) != 0) return {web_test_day(0), web_test_day(1), web_test_day(2)};
    return SystemToday();
}

void PlatformSetClipboard(const std::string& text) { web_set_clipboard(text.c_str()); }

void PlatformInit() {
    stepMode = web_step_mode() != 0;
    const char* window = EMSCRIPTEN_EVENT_TARGET_WINDOW;
    emscripten_set_keydown_callback(window, nullptr, true, TakeKey);
    emscripten_set_keyup_callback(window, nullptr, true, TakeKey);
    emscripten_set_blur_callback(window, nullptr, true, TakeFocus);
    emscripten_set_focus_callback(window, nullptr, true, TakeFocus);
    emscripten_set_visibilitychange_callback(nullptr, true, TakeVisibility);
    web_ask_layout();
    lastYield = emscripten_get_now();
}

void PlatformOpenDevices() {
    PadOpen();
    SoundOpen();
}

void PlatformShutdown() { web_ended(); }
