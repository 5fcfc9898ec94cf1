#include "screens/board_entry.h"

#include "draw/playfield.h"
#include "draw/surfaces.h"
#include "platform/platform.h"
#include "rules/fish.h"
#include "rules/screen_state.h"
#include "screens/notice.h"
#include "screens/key_table.h"
#include "screens/screens.h"

constinit int32_t EntryCurtainWidth = EntryCurtainStart;
constinit int32_t EntryBoardY = EntryBoardStart;

void DrawCurtains(int32_t w) {
    if (w <= 0) return;
    if (w > ScreenWidth) w = ScreenWidth;
    BlitTiles(0, 0, w, ScreenHeight, 0, 0, Rop::And);
    BlitTiles(ScreenWidth - w, 0, w, ScreenHeight, ScreenWidth - w, 0, Rop::And);
}

void BoardEntryFrame() {
    EntryCurtainWidth -= EntryCurtainStep;
    EntryBoardY += EntryBoardStep;
    UpdateFish();
    DrawPlayfield(EntryBoardY);
    DrawCurtains(EntryCurtainWidth);
    DrawNotice();
    ShowBackBuffer();
    // The last frame: the first pair comes in from the queue.
    if (EntryBoardY >= EntryBoardLast) {
        ScreenState = NextPair;
        if (TuneWanted()) PlatformTunePlay();
        EntryCurtainWidth = EntryCurtainStart;
        EntryBoardY = EntryBoardStart;
    }
}
