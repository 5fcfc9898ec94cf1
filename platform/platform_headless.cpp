#include "platform/platform_headless.h"

#include <sys/stat.h>

#include <algorithm>
#include <cstdio>
#include <string>

#include "platform/platform.h"
#include "platform/key_names.h"

HeadlessWorld Headless;

void HeadlessReset() { Headless = HeadlessWorld{}; }

CalendarDay PlatformToday() { return Headless.today ? *Headless.today : SystemToday(); }

void PlatformSetClipboard(const std::string& text) { Headless.clipboard = text; }

bool PlatformDesktopArea(int&, int&) { return false; }

bool PlatformOpenWindow(const WindowRequest& request) {
    Headless.windowOpened = request;
    Headless.windowOpened.title = "";
    Headless.windowOpened.icon = {};
    Headless.windowLayout = {request.scale, request.fullscreen};
    return true;
}
WindowLayout PlatformWindowLayout() { return Headless.windowLayout; }
void PlatformSetPictureFit(bool fit) { Headless.windowOpened.fit = fit; }
void PlatformCloseWindow() {}

void PlatformPresent(const Picture& picture) {
    Headless.lastPresented.assign(picture.pixels, picture.pixels + size_t(picture.width) * size_t(picture.height));
    Headless.lastPresentedWidth = picture.width;
    Headless.lastPresentedHeight = picture.height;
    ++Headless.presents;
    Headless.clock += Headless.presentCostMs;
}

uint32_t PlatformTicks() { return Headless.clock; }

PlatformEvent PlatformTakeEvent() {
    ++Headless.eventsTaken;
    if (Headless.windowClosed || Headless.quitPosted) {
        Headless.quitPosted = false;
        return PlatformEvent::Quit;
    }
    if (!Headless.pendingEvents.empty()) {
        PlatformEvent e = Headless.pendingEvents.front();
        Headless.pendingEvents.erase(Headless.pendingEvents.begin());
        return e;
    }
    return PlatformEvent::None;
}

// No event comes while the virtual clock stands still: a wait takes the
// whole timeout.
PlatformEvent PlatformWaitEvent(uint32_t timeoutMs) {
    PlatformEvent r = PlatformTakeEvent();
    if (r != PlatformEvent::None || timeoutMs == 0) return r;
    if (Headless.eventAt > Headless.clock && Headless.eventAt - Headless.clock <= timeoutMs) {
        Headless.clock = Headless.eventAt;
        Headless.eventAt = 0;
        return PlatformEvent::Other;
    }
    Headless.clock += timeoutMs;
    ++Headless.waits;
    return PlatformEvent::None;
}

bool PlatformMayRest() { return Headless.mayRest; }
bool PlatformWindowShown() { return Headless.clock >= Headless.hiddenUntil; }

void PlatformPostQuit() { Headless.quitPosted = true; }

bool PlatformKeyDown(int key) { return Headless.keys.Has(key); }

// Without a keyboard layout, a key's label is its name.
std::string PlatformKeyName(int key) { return KeyNameOf(key); }
int PlatformKeyOfName(const std::string& name) { return KeyOfNamed(name); }
std::string PlatformKeyLabel(int key) { return KeyNameOf(key); }

bool PlatformJoystick(uint32_t& x, uint32_t& y, uint32_t& buttons, bool& pad) {
    if (!Headless.joyPresent) return false;
    x = Headless.joyX;
    y = Headless.joyY;
    buttons = Headless.joyButtons;
    pad = Headless.joyPad;
    return true;
}
std::string PlatformPadButtonName(int button) { return PadButtonNameOf(button); }
int PlatformPadButtonOfName(const std::string& name) { return PadButtonOfNamed(name); }

void PlatformPrepareSound(SoundImage&) {}
void PlatformPlaySound(const SoundImage& image) { Headless.sounds.push_back(image.name); }
void PlatformStopSound() {}
void PlatformSetVolumes(double tune, double sounds) {
    Headless.tuneVolume = tune;
    Headless.soundVolume = sounds;
}
void PlatformReleaseSound(SoundImage&) {}

static bool TuneFileThere(const char* path) {
    struct stat st {};
    return path != nullptr && stat(path, &st) == 0 && S_ISREG(st.st_mode) && st.st_size > 0;
}

void PlatformTuneOpen(const char* path, const char* fallback) {
    Headless.music.push_back("open");
    Headless.tuneOpen = TuneFileThere(path) || TuneFileThere(fallback);
    Headless.tunePlaying = false;
}

bool PlatformTuneStopped() {
    if (!Headless.tuneOpen) return false;
    if (Headless.tunePlaying && Headless.tuneLengthMs > 0 &&
        Headless.clock - Headless.tuneStartedAt >= Headless.tuneLengthMs)
        Headless.tunePlaying = false;
    return !Headless.tunePlaying;
}

void PlatformTuneOpenSecond(const char* path) {
    const std::string name = path;
    Headless.music.push_back("second " + name.substr(name.find_last_of('/') + 1));
}

void PlatformTuneUseSecond(bool second, double lineMs) {
    char line[32];
    std::snprintf(line, sizeof line, "%.3f", lineMs);
    Headless.music.push_back(std::string(second ? "use second " : "use first ") + line);
}

void PlatformTunePlay() {
    Headless.music.push_back("play");
    if (!Headless.tuneOpen) return;
    Headless.tunePlaying = true;
    Headless.tuneStartedAt = Headless.clock;
}

void PlatformTuneStop() {
    Headless.music.push_back("stop");
    Headless.tunePlaying = false;
}

void PlatformTuneClose() {
    Headless.music.push_back("close");
    Headless.tuneOpen = Headless.tunePlaying = false;
}

std::string PlatformPickMissionFile(const std::string&, DialogLanguage language) {
    Headless.dialogLanguage = language;
    if (Headless.picks.empty()) return "";
    std::string answer = Headless.picks.front();
    Headless.picks.erase(Headless.picks.begin());
    return answer;
}

void PlatformInit() {}
void PlatformOpenDevices() {}
void PlatformShutdown() {}
