// The handler of the play sub-states: one step of the rules, the pause key,
// the fish, the picture, and the tune kept looping.
#include "shell/play_frame.h"

#include "draw/playfield.h"
#include "draw/surfaces.h"
#include "platform/platform.h"
#include "rules/falling_pair.h"
#include "rules/fish.h"
#include "rules/link.h"
#include "rules/queue.h"
#include "rules/screen_state.h"
#include "rules/settle.h"
#include "screens/key_table.h"
#include "screens/notice.h"
#include "shell/input.h"
#include "screens/screens.h"

void StepPlayState() {
    switch (ScreenState) {
        case PairFalling: StepFallingPair(); break;
        case BlocksFalling: StepFallingBlocks(); break;
        case Erasing: StepErase(); break;
        case NextPair: AdvanceQueue(); break;
        case Linking: StepLinkSprite(); break;
        default: break;
    }
}

void PlayFrame() {
    StepPlayState();
    if (KeyPressed & BitEnter) PauseFlag = 1;
    UpdateFish();
    DrawPlayfield(0);
    DrawNotice();
    ShowBackBuffer();
    // Play has just ended and stopped the tune: it must stay stopped.
    if (ScreenState == GameOverScreen || ScreenState == MissionClearScreen) return;
    if (TuneWanted() && PlatformTuneStopped()) PlatformTunePlay();
}
