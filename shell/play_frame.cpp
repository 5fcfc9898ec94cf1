// The handler of the play sub-states: one step of the rules, the pause key,
// the fish, the picture, and the tune kept looping.
#include "shell/play_frame.h"

#include <cstring>

#include "draw/playfield.h"
#include "draw/surfaces.h"
#include "draw/text.h"
#include "platform/platform.h"
#include "rules/falling_pair.h"
#include "rules/fish.h"
#include "rules/game_events.h"
#include "rules/link.h"
#include "rules/queue.h"
#include "rules/screen_state.h"
#include "rules/settle.h"
#include "screens/key_table.h"
#include "screens/notice.h"
#include "shell/input.h"
#include "shell/undo.h"
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

namespace {
// A key that plays on from the moment an undo went back to: a play key, or
// Up, which does nothing in play.
bool PlayKeyPressed() {
    return LeftPressed || RightPressed || DownPressed || UpPressed || Button1Pressed || Button2Pressed ||
           Button3Pressed;
}

// While play waits after an undo: "UNDO" across the middle of the well.
void DrawUndoMark() {
    const bool japanese = TextLanguage == Language::Japanese;
    const char* text = japanese ? "モドシタ" : "UNDO";
    const int glyphs = japanese ? 4 : int(std::strlen(text));
    const ScreenRect well = PlayAreaRect(AreaWell);
    const int x = well.x + (well.w - GlyphCell * glyphs) / 2, y = well.y + (well.h - GlyphCell) / 2;
    if (japanese) DrawKanaText(text, x, y);
    else DrawGlyphText(text, x, y);
}
}  // namespace

// After an undo nothing moves, not even the fish, until a play key: that
// frame then plays as the one after the pair's entry did.
void PlayFrame() {
    if (UndoWaiting && PlayKeyPressed()) UndoWaiting = 0;
    if (UndoPressed()) UndoToPairEntry();
    const bool entering = ScreenState == NextPair;
    if (!UndoWaiting) StepPlayState();
    if (KeyPressed & BitEnter) PauseFlag = 1;
    if (!UndoWaiting) UpdateFish();
    if (entering && ScreenState == PairFalling) SavePairEntry();
    DrawPlayfield(0);
    if (UndoWaiting) DrawUndoMark();
    DrawNotice();
    ShowBackBuffer();
    // Play has just ended and stopped the tune: it must stay stopped.
    if (ScreenState == GameOverScreen || ScreenState == MissionClearScreen) return;
    if (TuneWanted() && PlatformTuneStopped()) PlatformTunePlay();
}
