#include "screens/board_entry.h"

#include "draw/playfield.h"
#include "rules/fish.h"
#include "screens/notice.h"
#include "screens/screens.h"
#include "rules/screen_state.h"
#include "platform/platform.h"
#include "draw/surfaces.h"
#include "platform/data_folder.h"
#include "rules/game_events.h"

int32_t EntryCurtainWidth = EntryCurtainStart;
int32_t EntryBoardY = EntryBoardStart;

void DrawCurtains(int32_t w) {
    if (w <= 0) return;
    if (w > ScreenWidth) w = ScreenWidth;
    BitBlt(BackBuffer, 0, 0, w, ScreenHeight, TileSurface, 0, 0, Rop::And);
    BitBlt(BackBuffer, ScreenWidth - w, 0, w, ScreenHeight, TileSurface, ScreenWidth - w, 0, Rop::And);
}

void BoardEntryFrame() {
    EntryCurtainWidth -= 3;
    EntryBoardY += 6;
    UpdateFish();
    DrawPlayfield(EntryBoardY);
    DrawCurtains(EntryCurtainWidth);
    DrawNotice();
    PlatformPresent(BackBuffer);
    // The 79th frame: the first pair comes in from the queue.
    if (EntryBoardY >= -6) {
        ScreenState = NextPair;
        PlatformTunePlay();
        EntryCurtainWidth = EntryCurtainStart;
        EntryBoardY = EntryBoardStart;
    }
}
