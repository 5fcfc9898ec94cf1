#include "screens/title.h"

#include "draw/fish.h"
#include "draw/surfaces.h"
#include "draw/text.h"
#include "rules/game_mode.h"
#include "platform/platform.h"
#include "rules/fish.h"
#include "rules/game_events.h"
#include "rules/input_words.h"
#include "rules/new_game.h"
#include "rules/queue.h"
#include "rules/screen_state.h"
#include "screens/notice.h"
#include "screens/screens.h"

constinit int32_t TitleCursor;

namespace {
const char* const ItemText[4] = {"SCORE ATTACK", "MISSION MODE", "RECORD", "QUIT"};
constexpr int ItemX = 100, ItemY = 300, ItemStep = 24, PointerX = 80;

void MoveCursor() {
    if (DownPressed && TitleCursor < ItemQuit) {
        ++TitleCursor;
        PlayGameSound(GameSound::Cursor);
    }
    if (UpPressed && TitleCursor > ItemScoreAttack) {
        --TitleCursor;
        PlayGameSound(GameSound::Cursor);
    }
}

void ChooseItem() {
    switch (TitleCursor) {
        case ItemScoreAttack:
            PlayGameSound(GameSound::Decide);
            SetUpScoreAttack();
            break;
        case ItemMissionMode:
            PlayGameSound(GameSound::Decide);
            ScreenState = MissionSelectScreen;
            break;
        case ItemRecord: ScreenState = RecordsScreen; break;  // silent, unlike the others
        case ItemQuit:
            PlayGameSound(GameSound::Decide);
            PumpMessages(500);  // the sound is heard while the window keeps answering
            PlatformPostQuit();
            break;
        default: break;
    }
}

void DrawTitle() {
    DrawMenuBackground();
    for (int i = 0; i < 4; ++i) DrawGlyphText(ItemText[i], ItemX, ItemY + ItemStep * i);
    DrawGlyphText(">", PointerX, ItemY + ItemStep * TitleCursor);
    DrawLogo();
    DrawNotice();
    ShowBackBuffer();
}
}  // namespace

void SetUpScoreAttack() {
    NoteGameSetUp();
    GameMode = ScoreAttack;
    MissionGoal.type = GoalChain;
    ScreenState = BoardEntryScreen;
    BoardOriginX = 64;
    BoardOriginY = 80;
    FillRandomQueue();
    ClearQueueFrames();
}

void TitleFrame() {
    UpdateFish();
    MoveCursor();
    if (ConfirmPressed()) ChooseItem();
    DrawTitle();
}
