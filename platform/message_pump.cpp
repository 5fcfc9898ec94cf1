#include "platform/message_pump.h"

#include "platform/platform.h"
#include "rules/screen_state.h"

void PumpMessages(uint32_t waitMs) {
    uint32_t start = PlatformTicks();
    if (QuitFlag) return;
    for (;;) {
        uint32_t passed = PlatformTicks() - start;
        uint32_t left = passed < waitMs ? waitMs - passed : 0;
        if (PlatformWaitEvent(left) == EventResult::Quit) {
            QuitFlag = 1;
            return;
        }
        if (PlatformTicks() - start >= waitMs) return;  // wrap-safe form of now >= start + waitMs
    }
}

bool WaitForEvent(uint32_t waitMs) {
    uint32_t start = PlatformTicks();
    if (QuitFlag) return true;
    for (;;) {
        uint32_t passed = PlatformTicks() - start;
        if (passed >= waitMs) return false;
        EventResult r = PlatformWaitEvent(waitMs - passed);
        if (r == EventResult::Quit) QuitFlag = 1;
        if (r != EventResult::None) return true;
    }
}
