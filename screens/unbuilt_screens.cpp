// Screens whose handlers are still to be written show the menus' background,
// so the window keeps answering and looks like the game while they are built.
#include "screens/screens.h"
#include "rules/falling_pair.h"
#include "rules/fish.h"
#include "rules/link.h"
#include "rules/queue.h"
#include "rules/settle.h"
#include "shell/main_loop.h"
#include "shell/platform.h"
#include "shell/startup.h"

static void ShowBackground() {
    DrawMenuBackground();
    PlatformPresent(BackBuffer);
}

// Play runs its rules and the fish; the playfield picture comes with the renderer.
void PlayFrame() {
    switch (ScreenState) {
        case PairFalling: StepFallingPair(); break;
        case BlocksFalling: StepFallingBlocks(); break;
        case Erasing: StepErase(); break;
        case NextPair: AdvanceQueue(); break;
        case Linking: StepLinkSprite(); break;
        default: break;
    }
    UpdateFish();
    ShowBackground();
}
void PauseScreen() { ShowBackground(); }
void GameOverFrame() { ShowBackground(); }
void TitleFrame() { ShowBackground(); }
void MissionSelectFrame() { ShowBackground(); }
void MissionClearFrame() { ShowBackground(); }
void RecordsFrame() { ShowBackground(); }
void BoardEntryFrame() { ShowBackground(); }
