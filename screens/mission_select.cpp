#include "screens/mission_select.h"

#include <string>

#include "draw/surface.h"
#include "draw/surfaces.h"
#include "draw/text.h"
#include "rules/game_mode.h"
#include "settings/data_folder.h"
#include "platform/platform.h"
#include "rules/fish.h"
#include "rules/game_events.h"
#include "rules/input_words.h"
#include "rules/screen_state.h"
#include "screens/daily.h"
#include "screens/mission_list.h"
#include "screens/mission_loader.h"
#include "screens/notice.h"
#include "screens/records_file.h"
#include "screens/screens.h"

constinit int32_t MissionCursor;
constinit int32_t MissionRepeatTimer;
constinit int32_t MissionBlinkTimer;

int HighestOpenMission() {
    int limit = ClearedCount + 5;
    return limit < MissionCount ? limit : MissionCount;
}

static bool CanRaise() { return MissionNumber < HighestOpenMission(); }
static bool CanLower() { return MissionNumber > 1; }

static constexpr int32_t DailyItem = 2;

static void MoveCursor() {
    if (DownPressed && MissionCursor < DailyItem) {
        ++MissionCursor;
        PlayGameSound(GameSound::Cursor);
        if (MissionCursor == DailyItem) MissionBlinkTimer = 0;  // the day's arrows show at once
    }
    if (UpPressed && MissionCursor > 0) {
        --MissionCursor;
        PlayGameSound(GameSound::Cursor);
        if (MissionCursor == 0) MissionBlinkTimer = 0;  // the arrows show at once
    }
}

// On the DAILY line Left goes a day back, Right a day forward, as the
// number steps.
static void ChangeDay() {
    if (LeftHeld && DailyCanGoBack()) {
        ++DailyBack;
        PlayGameSound(GameSound::Cursor);
        MissionRepeatTimer = 1;
    }
    if (RightHeld && DailyCanGoForward()) {
        --DailyBack;
        PlayGameSound(GameSound::Cursor);
        MissionRepeatTimer = 1;
    }
}

// A held direction steps at once, then once every 6 frames; the counter runs
// its course even when the key is let go.
static void ChangeNumber() {
    if (MissionRepeatTimer != 0) {
        if (++MissionRepeatTimer >= MissionRepeatFrames) MissionRepeatTimer = 0;
        return;
    }
    if (MissionCursor == DailyItem) {
        ChangeDay();
        return;
    }
    if (MissionCursor != 0) return;
    if (LeftHeld && CanLower()) {
        --MissionNumber;
        PlayGameSound(GameSound::Cursor);
        MissionRepeatTimer = 1;
    }
    if (RightHeld && CanRaise()) {
        ++MissionNumber;
        PlayGameSound(GameSound::Cursor);
        MissionRepeatTimer = 1;
    }
}

static void StartMission(GameModeValue mode) {
    GameMode = mode;
    if (MissionCursor != DailyItem) DailyStage = DailyNone;
    ScreenState = BoardEntryScreen;
    MissionRepeatTimer = 0;
    MissionBlinkTimer = 0;
}

bool StartPickedMission(const std::string& path) {
    if (!LoadMissionFile(path)) {
        ShowNotice(NoticeCannotReadMission);
        return false;
    }
    PumpMessages(PickedFilePauseMs);
    StartMission(EditGame);
    return true;
}

// The confirm came from the pad (or a joystick): its bottom button, or the
// button that stands for the pause key.
static bool ChosenWithThePad() { return (JoyPressed & BitButton1) != 0 || (PadKeyPressed & BitEnter) != 0; }

// A mission that cannot be read whole is not started: the screen stays and
// says so. EDIT GAME chosen with the pad lists the author's missions instead
// of opening the dialog.
static void Decide() {
    if (MissionCursor == DailyItem) {
        if (!StartDailyMission()) return;
        PlayGameSound(GameSound::Decide);
        StartMission(EditGame);  // played as a mission file is: nothing goes to the records
        return;
    }
    if (MissionCursor == 0) {
        if (!LoadMissionFile(NumberedMissionPath(MissionNumber))) {
            ShowNotice(NoticeCannotReadMission);
            return;
        }
        PlayGameSound(GameSound::Decide);
        StartMission(NormalGame);
        return;
    }
    PlayGameSound(GameSound::Decide);
    if (ChosenWithThePad()) {
        OpenMissionList();
        return;
    }
    std::string path = AskMissionFile(StartDirectory);
    if (path.empty()) return;  // cancelled: the screen stays as it was
    StartPickedMission(path);
}

// boardsTried: -1 but while the day's mission is being made.
static void DrawMissionSelect(int boardsTried) {
    DrawMenuBackground();
    DrawGlyphText("NORMAL GAME", 100, 300);
    DrawGlyphText(FormatText("%02d", MissionNumber), 180, 324);
    MissionBlinkTimer = (MissionBlinkTimer + 1) % 40;
    if (MissionCursor == 0 && MissionBlinkTimer < 20) {
        if (CanLower()) DrawGlyphText("[", 148, 324);
        if (CanRaise()) DrawGlyphText("]", 244, 324);
    }
    if (MissionNumber < sizeof ClearedFlags && ClearedFlags[MissionNumber] != 0) DrawGlyphText("C", 228, 324);
    DrawGlyphText("EDIT GAME", 100, 364);
    if (boardsTried >= 0) DrawDailyProgress(boardsTried);
    else DrawDailyLine(MissionCursor == DailyItem, MissionBlinkTimer < 20);
    DrawGlyphText(">", 80, 300 + 64 * MissionCursor);
    DrawLogo();
    DrawNotice();
    ShowBackBuffer();
}

void MissionSelectFrame() {
    if (MissionListOpen) {
        MissionListFrame();
        return;
    }
    UpdateFish();
    MoveCursor();
    ChangeNumber();
    if (ConfirmPressed()) Decide();
    if (MissionListOpen) {  // the list draws from the next frame on
        DrawMissionSelect(-1);
        return;
    }
    if (Button2Pressed) {
        ScreenState = TitleScreen;
        MissionRepeatTimer = 0;
        MissionBlinkTimer = 0;
    }
    DrawMissionSelect(-1);
}

void DrawMissionSelectMaking(int boardsTried) { DrawMissionSelect(boardsTried); }
