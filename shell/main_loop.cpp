#include "shell/main_loop.h"

#include "screens/game_over.h"
#include "screens/screens.h"
#include "shell/input.h"
#include "shell/new_game.h"
#include "shell/platform.h"
#include "shell/play_frame.h"
#include "shell/startup.h"

uint32_t ScreenState = TitleScreen;
uint8_t PauseFlag;
uint8_t QuitFlag;
uint32_t FpsValue, FrameCounter, FpsWindowStart;
bool FpsWindowStarted;
uint8_t ColourMode, GridMode;

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
    if (ScreenState <= Linking) {
        if (PauseFlag) PauseScreen();
        else PlayFrame();
        return;
    }
    switch (ScreenState) {
        case GameOverScreen: GameOverFrame(); break;
        case TitleScreen: TitleFrame(); break;
        case MissionSelectScreen: MissionSelectFrame(); break;
        case MissionClearScreen: MissionClearFrame(); break;
        case RecordsScreen: RecordsFrame(); break;
        case BoardEntryScreen: BoardEntryFrame(); break;
        default: break;  // no handler: the frame only waits
    }
}

void RunFrame() {
    uint32_t t0 = PlatformTicks();
    SampleInput();
    CallScreenHandler();
    if (KeyHeld & BitEscape) PlatformPostQuit();
    if (KeyPressed & BitC) ColourMode = ColourMode == 0 ? 1 : 0;
    if (KeyPressed & BitG) GridMode = GridMode == 0 ? 1 : 0;
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

int RunMainLoop() {
    StartProgram();
    while (!QuitFlag) RunFrame();
    EndProgram();
    return 0;
}
