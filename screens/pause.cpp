#include "screens/pause.h"

#include "draw/fish.h"
#include "draw/playfield.h"
#include "draw/surfaces.h"
#include "draw/text.h"
#include "rules/game_mode.h"
#include "platform/platform.h"
#include "rules/input_words.h"
#include "rules/screen_layout.h"
#include "rules/screen_state.h"
#include "screens/notice.h"
#include "screens/screens.h"

constinit int32_t PauseBlinkTimer;

namespace {
constexpr int WordX = 152, WordY = 240;
}  // namespace

void AdvancePauseBlink() { PauseBlinkTimer = (PauseBlinkTimer + 1) % PauseBlinkPeriod; }

int32_t PauseBlinkSteadyFrames() {
    const int32_t half = PauseBlinkPeriod / 2;
    return half - 1 - PauseBlinkTimer % half;
}

// Nothing of play advances here, not even the fish.
void PauseScreen() {
    AdvancePauseBlink();
    BlitGradient(0, 0, ScreenWidth, ScreenHeight, 0, 0, Rop::Copy);
    DrawEmptyPlayFrames(GameMode == ScoreAttack);
    DrawFish();
    if (PauseBlinkTimer < PauseBlinkPeriod / 2 || FlashingSteady) DrawGlyphText("PAUSE", WordX, WordY);
    DrawNotice();
    ShowBackBuffer();
    // Only the keyboard's Enter resumes; the press that paused was in an earlier frame.
    if (KeyPressed & BitEnter) {
        PauseFlag = 0;
        PauseBlinkTimer = 0;
    }
}
