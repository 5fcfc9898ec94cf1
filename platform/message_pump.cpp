#include "platform/message_pump.h"

#include "platform/platform.h"
#include "rules/screen_state.h"

void PumpMessages(uint32_t waitMs) {
    uint32_t start = PlatformTicks();
    if (QuitFlag) return;
    for (;;) {
        if (PlatformTakeEvent() == EventResult::Quit) {
            QuitFlag = 1;
            return;
        }
        if (waitMs > 0) PlatformSleep(1);
        uint32_t now = PlatformTicks();
        if (now - start >= waitMs) return;  // wrap-safe form of now >= start + waitMs
    }
}
