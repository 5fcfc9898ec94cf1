#include "shell/main_loop.h"

#include "draw/playfield.h"
#include "draw/text.h"
#include "shell/message_pump.h"
#include "platform/platform.h"
#include "rules/new_game.h"
#include "screens/board_entry.h"
#include "screens/game_over.h"
#include "screens/help.h"
#include "screens/key_table.h"
#include "screens/notice.h"
#include "screens/options.h"
#include "screens/pause.h"
#include "screens/records_file.h"
#include "screens/screens.h"
#include "shell/game_window.h"
#include "shell/input.h"
#include "shell/play_frame.h"
#include "shell/player_settings.h"
#include "shell/replay.h"
#include "shell/replay_list.h"
#include "shell/replay_record.h"
#include "shell/sound_choice.h"
#include "shell/startup.h"
#include "shell/undo.h"

constinit uint32_t FrameCounter, FpsWindowStart;
constinit bool FpsWindowStarted;
constinit uint32_t FrameDeadline;
constinit bool FrameDeadlineSet;

// A frame that ends within a period of its deadline counts as ending on it:
// a wake-up a millisecond late does not make a second of 41 frames. (A frame
// followed by a rest is counted before its deadline, which the rest waits for.)
void CountFrame(uint32_t* fpsOut) {
    uint32_t now = PlatformTicks();
    int32_t off = int32_t(now - FrameDeadline);
    if (FrameDeadlineSet && off > -int32_t(FramePeriodMs) && off < int32_t(FramePeriodMs)) now = FrameDeadline;
    if (!FpsWindowStarted) {
        FpsWindowStarted = true;
        FpsWindowStart = now;
    }
    if (now - FpsWindowStart >= 1000) {
        FpsWindowStart = now;
        *fpsOut = FrameCounter;
        FrameCounter = 0;
    }
    ++FrameCounter;
}

void CallScreenHandler() {
    if (ReplayListFrame()) return;
    if (OfferOptions()) {
        OptionsFrame();
        return;
    }
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
            if (EntryBoardY == EntryBoardStart) SaveRetryPoint();  // a game begins
            BoardEntryFrame();
            break;
    }
}

namespace {
// Escape quits; C, G and L toggle, M mutes. While the options screen is
// open its own lines toggle instead, and a key being chosen there is the
// screen's alone.
void ApplyGlobalKeys() {
    if (OptionsTakeKeys()) return;
    if (KeyHeld & BitEscape) PlatformPostQuit();
    if (KeyPressed & BitM) {
        SoundMuted = !SoundMuted;
        OptionsChanged();
    }
    if (OptionsOpen != OptionsClosed) return;
    if (KeyPressed & BitC) ColourMode = ColourMode == 0 ? 1 : 0;
    if (KeyPressed & BitG) GridMode = GridMode == 0 ? 1 : 0;
    if (KeyPressed & BitL) {
        TextLanguage = TextLanguage == Language::Japanese ? Language::English : Language::Japanese;
        RememberLanguage(TextLanguage);
    }
}

// The loop may rest while nothing moves in a real window, but not while a
// replay plays, which counts on every frame.
bool MayRest() { return PlatformMayRest() && !ReplayKeepsFramesCounted(); }

// Frames keep to a grid of deadlines 25 ms apart: a frame that ends a little
// late shortens the next wait rather than pushing every later frame back.
void StartFramePeriod() {
    uint32_t now = PlatformTicks();
    int32_t late = int32_t(now - FrameDeadline);
    if (!FrameDeadlineSet || late < 0 || late > int32_t(MaxLateFrames * FramePeriodMs)) FrameDeadline = now;
    FrameDeadlineSet = true;
    FrameDeadline += FramePeriodMs;
}

void WaitForFrameDeadline() {
    uint32_t now = PlatformTicks();
    int32_t left = int32_t(FrameDeadline - now);
    PumpMessages(left > 0 ? uint32_t(left) : 0);
}

// A minimised window runs no frames: nothing moves until it is
// shown again, and the frame rate is counted afresh from then.
void RestWhileHidden() {
    if (PlatformWindowShown()) return;
    while (!QuitFlag && !PlatformWindowShown()) WaitForEvent(HiddenWakeMs);
    FrameDeadline = PlatformTicks();
    FrameCounter = 0;
    FpsWindowStarted = false;
}

// A frame in which nothing is drawn because nothing would change: only the
// pause's blink (not under the help pages) and the frame count go on.
void SkipStillFrame() {
    if (!HelpShown()) AdvancePauseBlink();
    CountFrame(&FpsValue);
}

// While the picture stays the same the loop sleeps, from within the frame
// just drawn, until a window event comes or the picture is due to change,
// then counts the frames that went by. One sleep, not one to the frame's
// deadline and another after it.
void RestWhileStill(uint32_t still) {
    int32_t left = int32_t(FrameDeadline + still * FramePeriodMs - PlatformTicks());
    if (left > 0) WaitForEvent(uint32_t(left));
    // An event within the frame just drawn: the next one still starts on the grid.
    if (int32_t(FrameDeadline - PlatformTicks()) > 0) WaitForFrameDeadline();
    uint32_t passed = (PlatformTicks() - FrameDeadline) / FramePeriodMs;
    if (passed > still) passed = still;
    for (uint32_t i = 0; i < passed; ++i) SkipStillFrame();
    FrameDeadline += passed * FramePeriodMs;
}
}  // namespace

uint32_t StillFrames() {
    if (KeyHeld != 0 || JoyHeld != 0 || NoticeShowing()) return 0;  // auto-repeat and the notice count frames
    if (OptionsOpen != OptionsClosed) return 0;
    if (HelpShown()) return HelpRestFrames;
    if (ScreenState <= Linking && PauseFlag != 0) return uint32_t(PauseBlinkSteadyFrames());
    return 0;
}

void RunFrame() {
    StartFramePeriod();
    WatchGameForReplay();
    // One frame of the game; a replay watched from the list may run none
    // (paused) or two or four (sped up).
    for (int i = 0, frames = WatchedFramesThisFrame(); i < frames; ++i) {
        StepReplay();
        SampleInput();
        CallScreenHandler();
        PlayFrameSound();
        FollowLevelWithTune();
        ApplyGlobalKeys();
    }
    FinishWatchedFrame();
    // A save asked for in the frame, or one waiting for another game's
    // lock: after the frame is shown, in the time it waits anyway.
    ContinueRecordsSave();
    const uint32_t still = !QuitFlag && MayRest() && PlatformWindowShown() ? StillFrames() : 0;
    if (still == 0) WaitForFrameDeadline();  // else the rest waits for it
    CountFrame(&FpsValue);
    if (QuitFlag || !MayRest()) return;
    RestWhileHidden();
    if (still > 0) RestWhileStill(still);
}

void StartProgram() {
    Startup();
    ApplySoundLevels();
    NewGame();
    ScreenState = TitleScreen;
}

// A quit (window closed, Escape) keeps a best score whose name is pending;
// a headless run that merely runs out of script does not count as one.
void EndProgram() {
    if (QuitFlag) SavePendingRecord();
    FinishReplayRecording();
    FinishRecordsSave();
    Shutdown();
}
