// Screens whose handlers are still to be written show the menus' background,
// so the window keeps answering and looks like the game while they are built.
#include "screens/screens.h"
#include "shell/platform.h"
#include "shell/startup.h"

static void ShowBackground() {
    DrawMenuBackground();
    PlatformPresent(BackBuffer);
}

void PauseScreen() { ShowBackground(); }
void GameOverFrame() { ShowBackground(); }
void TitleFrame() { ShowBackground(); }
void RecordsFrame() { ShowBackground(); }
void BoardEntryFrame() { ShowBackground(); }
