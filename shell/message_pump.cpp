#include "shell/message_pump.h"

#include "rules/game_events.h"
#include "rules/screen_state.h"

constinit uint8_t QuitFlag;

namespace {
bool focusPausePending = false;
bool focusBackSincePending = false;
}  // namespace

bool NoteEvent(PlatformEvent event) {
    switch (event) {
        case PlatformEvent::None: return false;
        case PlatformEvent::Quit: QuitFlag = 1; break;
        case PlatformEvent::FocusLost:
        case PlatformEvent::PadLost:
            focusPausePending = true;
            focusBackSincePending = false;
            break;
        case PlatformEvent::FocusGained: focusBackSincePending = true; break;
        case PlatformEvent::Other: break;
    }
    return true;
}

bool TakeOwedPause() {
    if (!focusPausePending) return false;
    if (ScreenState <= Linking && PauseFlag == 0) {
        focusPausePending = false;
        return true;
    }
    if (ScreenState != BoardEntryScreen || focusBackSincePending) focusPausePending = false;
    return false;
}

void ForgetOwedPause() { focusPausePending = focusBackSincePending = false; }

void PumpMessages(uint32_t waitMs) {
    uint32_t start = PlatformTicks();
    if (QuitFlag) return;
    for (;;) {
        uint32_t passed = PlatformTicks() - start;
        uint32_t left = passed < waitMs ? waitMs - passed : 0;
        if (NoteEvent(PlatformWaitEvent(left)) && QuitFlag) return;
        if (PlatformTicks() - start >= waitMs) return;  // wrap-safe form of now >= start + waitMs
    }
}

bool WaitForEvent(uint32_t waitMs) {
    uint32_t start = PlatformTicks();
    if (QuitFlag) return true;
    for (;;) {
        uint32_t passed = PlatformTicks() - start;
        if (passed >= waitMs) return false;
        if (NoteEvent(PlatformWaitEvent(waitMs - passed))) return true;
    }
}
