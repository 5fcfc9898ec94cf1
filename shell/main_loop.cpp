#include "shell/main_loop.h"

#include "draw/playfield.h"
#include "draw/text.h"
#include "platform/message_pump.h"
#include "platform/platform.h"
#include "rules/new_game.h"
#include "screens/game_over.h"
#include "screens/help.h"
#include "screens/screens.h"
#include "shell/game_events.h"
#include "shell/input.h"
#include "shell/play_frame.h"
#include "shell/startup.h"

constinit uint32_t FrameCounter, FpsWindowStart;
constinit bool FpsWindowStarted;

void CountFrame(uint32_t* fpsOut) {
    if (!FpsWindowStarted) {
        FpsWindowStarted = true;
        FpsWindowStart = PlatformTicks();
    }
    uint32_t now = PlatformTicks();
    if (now - FpsWindowStart >= 1000) {
        FpsWindowStart = now;
        *fpsOut = FrameCounter;
        FrameCounter = 0;
    }
    ++FrameCounter;
}

void CallScreenHandler() {
    if (OfferHelp()) {
        HelpFrame();
        return;
    }
    switch (ScreenState) {
        case PairFalling:
        case BlocksFalling:
        case Erasing:
        case NextPair:
        case Linking:
            if (PauseFlag) PauseScreen();
            else PlayFrame();
            break;
        case GameOverScreen: GameOverFrame(); break;
        case TitleScreen: TitleFrame(); break;
        case MissionSelectScreen: MissionSelectFrame(); break;
        case MissionClearScreen: MissionClearFrame(); break;
        case RecordsScreen: RecordsFrame(); break;
        case BoardEntryScreen:
            ChooseTuneForGame();
            BoardEntryFrame();
            break;
    }
}

void RunFrame() {
    uint32_t t0 = PlatformTicks();
    SampleInput();
    CallScreenHandler();
    PlayFrameSound();
    if (KeyHeld & BitEscape) PlatformPostQuit();
    if (KeyPressed & BitC) ColourMode = ColourMode == 0 ? 1 : 0;
    if (KeyPressed & BitG) GridMode = GridMode == 0 ? 1 : 0;
    if (KeyPressed & BitL) {
        TextLanguage = TextLanguage == Language::Japanese ? Language::English : Language::Japanese;
        PlatformRememberLanguage(TextLanguage);
    }
    uint32_t elapsed = PlatformTicks() - t0;
    PumpMessages(elapsed < FramePeriodMs ? FramePeriodMs - elapsed : 0);
    CountFrame(&FpsValue);
}

void StartProgram() {
    Startup();
    NewGame();
    ScreenState = TitleScreen;
}

// A quit (window closed, Escape) keeps a best score whose name is pending;
// a headless run that merely runs out of script does not count as one.
void EndProgram() {
    if (QuitFlag) SavePendingRecord();
    Shutdown();
}
