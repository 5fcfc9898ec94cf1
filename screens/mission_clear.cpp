#include "screens/mission_clear.h"

#include <cstring>

#include "draw/playfield.h"
#include "draw/surface.h"
#include "draw/surfaces.h"
#include "draw/text.h"
#include "rules/game_mode.h"
#include "platform/platform.h"
#include "rules/fish.h"
#include "rules/new_game.h"
#include "rules/screen_state.h"
#include "screens/board_entry.h"
#include "screens/daily.h"
#include "screens/mission_loader.h"
#include "screens/mission_select.h"
#include "screens/notice.h"
#include "screens/screens.h"

constinit int32_t ClearCurtainWidth;
constinit int32_t ClearBoardY;

static void DrawClearMessage() {
    const char* text = GameMode == NormalGame    ? FormatText("MISSION %d CLEAR", MissionNumber)
                       : DailyStage != DailyNone ? FormatText("DAILY CLEAR")
                                                 : FormatText("MISSION E CLEAR");
    int length = int(std::strlen(text));
    DrawGlyphText(text, (ScreenWidth - 16 * length) / 2, 240);
}

// After the last frame: the next numbered mission straight away (the unlock
// limit does not apply), or back to the title. A next mission that cannot be
// read is not started: mission select shows it and says so.
static void MoveOn() {
    NewGame();
    if (GameMode == NormalGame && MissionNumber < MissionCount) {
        ++MissionNumber;
        if (LoadMissionFile(NumberedMissionPath(MissionNumber))) {
            ScreenState = BoardEntryScreen;
        } else {
            ShowNotice(NoticeCannotReadMission);
            ScreenState = MissionSelectScreen;
        }
    } else {
        ScreenState = TitleScreen;
    }
    ClearCurtainWidth = 0;
    ClearBoardY = 0;
    DailyResultDone();
}

void MissionClearFrame() {
    if (DailyStage == DailyPlaying) DailyGameCleared();  // kept, and the result line on the clipboard
    ClearCurtainWidth += 3;
    ClearBoardY += 6;
    UpdateFish();
    DrawPlayfield(ClearBoardY);
    DrawCurtains(ClearCurtainWidth);
    DrawClearMessage();
    if (DailyStage == DailyCleared) DrawDailyResult();
    DrawNotice();
    ShowBackBuffer();
    if (ClearBoardY >= ClearBoardEndY) MoveOn();
}
