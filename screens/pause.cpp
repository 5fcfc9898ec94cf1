#include "screens/pause.h"

#include <span>

#include "draw/fish.h"
#include "draw/playfield.h"
#include "draw/surfaces.h"
#include "draw/text.h"
#include "platform/platform.h"
#include "rules/falling_pair.h"
#include "rules/game_events.h"
#include "rules/game_mode.h"
#include "rules/input_words.h"
#include "rules/new_game.h"
#include "rules/screen_layout.h"
#include "rules/screen_state.h"
#include "screens/daily.h"
#include "screens/notice.h"
#include "screens/screens.h"

constinit int32_t PauseBlinkTimer;
constinit uint8_t PauseMenuShown;
constinit int32_t PauseMenuCursor;

namespace {
constexpr int WordX = 152, WordY = 240;
constexpr int MenuX = 144, MenuY = 288, MenuStep = 24, PointerX = 124;

enum PauseItem : uint8_t { ItemResume, ItemUndo, ItemRetry, ItemGiveUp };
struct ItemText {
    const char* english;
    const char* japanese;
};
constexpr ItemText Texts[] = {{"RESUME", "サイカイ"}, {"UNDO", "ヒトツ モドス"}, {"RETRY", "ヤリナオシ"}, {"GIVE UP", "ギブアップ"}};
constexpr PauseItem MissionItems[] = {ItemResume, ItemUndo, ItemRetry, ItemGiveUp};
constexpr PauseItem ScoreAttackItems[] = {ItemResume, ItemGiveUp};

std::span<const PauseItem> Items() {
    if (GameMode == ScoreAttack) return ScoreAttackItems;
    return MissionItems;
}

// The first Up or Down opens the menu on RESUME; later ones move the pointer.
void MoveCursor() {
    if (!UpPressed && !DownPressed) return;
    PlayGameSound(GameSound::Cursor);
    if (!PauseMenuShown) {
        PauseMenuShown = 1;
        return;
    }
    const int32_t last = int32_t(Items().size()) - 1;
    if (DownPressed && PauseMenuCursor < last) ++PauseMenuCursor;
    if (UpPressed && PauseMenuCursor > 0) --PauseMenuCursor;
}

// Score attack ends as a game over with the score reached; a numbered
// mission goes back to the mission select, a mission file to the title.
void GiveUp() {
    LeavePause();
    if (GameMode == ScoreAttack) {
        EndPlay();
        return;
    }
    PlayGameSound(GameSound::Decide);
    StopTune();
    NewGame();
    // A day's mission given up counts as not cleared; its DAILY line waits.
    const bool daily = DailyStage == DailyPlaying;
    if (daily) DailyGameLost();
    ScreenState = GameMode == NormalGame || daily ? MissionSelectScreen : TitleScreen;
}

void Choose(PauseItem item) {
    switch (item) {
        case ItemResume:
            PlayGameSound(GameSound::Decide);
            LeavePause();
            break;
        case ItemUndo:
            // Play goes on from there, waiting for a key with the board in sight.
            if (UndoToPairEntry()) LeavePause();
            break;
        case ItemRetry:
            if (RetryMission()) LeavePause();
            break;
        case ItemGiveUp: GiveUp(); break;
    }
}

void DrawMenu() {
    const bool japanese = TextLanguage == Language::Japanese;
    const std::span<const PauseItem> items = Items();
    for (size_t i = 0; i < items.size(); ++i) {
        const ItemText& t = Texts[items[i]];
        const int y = MenuY + MenuStep * int(i);
        if (japanese) DrawKanaText(t.japanese, MenuX, y);
        else DrawGlyphText(t.english, MenuX, y);
    }
    DrawGlyphText(">", PointerX, MenuY + MenuStep * PauseMenuCursor);
}
}  // namespace

void AdvancePauseBlink() { PauseBlinkTimer = (PauseBlinkTimer + 1) % PauseBlinkPeriod; }

int32_t PauseBlinkSteadyFrames() {
    const int32_t half = PauseBlinkPeriod / 2;
    return half - 1 - PauseBlinkTimer % half;
}

void LeavePause() {
    PauseFlag = 0;
    PauseBlinkTimer = 0;
    PauseMenuShown = 0;
    PauseMenuCursor = 0;
}

// Nothing of play advances here, not even the fish.
void PauseScreen() {
    AdvancePauseBlink();
    MoveCursor();
    BlitGradient(0, 0, ScreenWidth, ScreenHeight, 0, 0, Rop::Copy);
    DrawEmptyPlayFrames(GameMode == ScoreAttack);
    DrawFish();
    if (PauseBlinkTimer < PauseBlinkPeriod / 2 || FlashingSteady) DrawGlyphText("PAUSE", WordX, WordY);
    if (PauseMenuShown) DrawMenu();
    DrawNotice();
    ShowBackBuffer();
    // Enter resumes from anywhere in the pause; the press that paused was in an earlier frame.
    if (KeyPressed & BitEnter) {
        LeavePause();
        return;
    }
    if (UndoPressed()) {
        Choose(ItemUndo);
        return;
    }
    if (!PauseMenuShown) return;
    if (Button1Pressed) Choose(Items()[size_t(PauseMenuCursor)]);
    else if (Button2Pressed) Choose(ItemResume);  // back, as in the other menus
}
