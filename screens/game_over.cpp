#include "screens/game_over.h"

#include <cmath>
#include <cstdio>
#include <cstring>

#include "draw/playfield.h"
#include "draw/surfaces.h"
#include "draw/text.h"
#include "rules/game_mode.h"
#include "platform/platform.h"
#include "rules/fish.h"
#include "rules/game_events.h"
#include "rules/input_words.h"
#include "rules/new_game.h"
#include "rules/scoring.h"
#include "rules/screen_state.h"
#include "screens/daily.h"
#include "screens/board_entry.h"
#include "screens/notice.h"
#include "screens/records_file.h"
#include "screens/records_screen.h"
#include "screens/screens.h"

std::optional<CalendarDay> NameEntryDay;
constinit uint8_t GameOverPhase;
constinit int32_t GameOverTimer;
constinit float BoardFallY, BoardFallSpeed = -5.0f;
constinit float ScoreFlyY, ScoreFlySpeedY = -5.0f, ScoreFlyX, ScoreFlySpeedX;
constinit int32_t NewPlace;
constinit int32_t NameCursor = 1;
constinit int32_t NameRepeatTimer;
constinit uint8_t LostCursor;
constinit uint8_t LostCursorMoved;

namespace {
constexpr float Gravity = 0.3f;
constexpr char NewName[9] = "A@@@@@@@";

// Left edge of the score text so that it ends where the status panel ends it.
int32_t ScoreTextX(const char* text) { return BoardOriginX + 256 - 16 * int32_t(std::strlen(text)) - 8; }

void ResetScreen() {
    GameOverTimer = 0;
    BoardFallY = ScoreFlyY = ScoreFlyX = ScoreFlySpeedX = 0.0f;
    BoardFallSpeed = ScoreFlySpeedY = -5.0f;
    GameOverPhase = PhaseFall;
    LostCursor = LostCursorMoved = 0;
}

void Leave() {
    NewGame();
    ScreenState = TitleScreen;
    ResetScreen();
}

// A lost numbered mission offers RETRY or TITLE while the board falls.
constexpr int LostX = 152, LostY = 240, LostStep = 24, LostPointerX = 132;
bool OffersRetry() { return GameMode == NormalGame; }

void DrawLostChoice() {
    if (TextLanguage == Language::Japanese) {
        DrawKanaText("ヤリナオシ", LostX, LostY);
        DrawKanaText("タイトル", LostX, LostY + LostStep);
    } else {
        DrawGlyphText("RETRY", LostX, LostY);
        DrawGlyphText("TITLE", LostX, LostY + LostStep);
    }
    DrawGlyphText(">", LostPointerX, LostY + LostStep * LostCursor);
}

// Z takes the item pointed at, RETRY unless Up or Down moved the pointer;
// true when it was taken.
bool ChooseAfterLoss() {
    if (DownPressed || UpPressed) {
        LostCursor = DownPressed ? 1 : 0;
        LostCursorMoved = 1;
        PlayGameSound(GameSound::Cursor);
    }
    if (!Button1Pressed) return false;
    if (LostCursor == 1) {
        PlayGameSound(GameSound::Decide);
        Leave();
        return true;
    }
    ResetScreen();
    RetryMission();
    return true;
}

// The records file is written within the half second's wait, not after
// it: the wait stays what it is however long the disk takes (up to that).
void Finish() {
    constexpr uint32_t WaitMs = 500;
    PlayGameSound(GameSound::Decide);
    const uint32_t start = PlatformTicks();
    WriteRecordsFile();
    const uint32_t took = PlatformTicks() - start;
    PumpMessages(took < WaitMs ? WaitMs - took : 0);
    Leave();
}

// Sets the flight toward the table's row of the place, or a bounce off the
// bottom when the score takes no place.
void DecidePlace() {
    NewPlace = FindNewPlace(uint32_t(Score));
    if (NewPlace == 0) {
        ScoreFlySpeedX = 1.0f;  // only marks the decision as made
        ScoreFlySpeedY = -13.0f;
        return;
    }
    float d = float(416 - (48 * NewPlace + 80));
    ScoreFlySpeedY = -float(std::sqrt(0.6 * d));
    float dx = float(334 - (BoardOriginX + 248));
    ScoreFlySpeedX = dx / (-ScoreFlySpeedY / Gravity);
    GameOverPhase = PhaseFly;
}

void FallFrame() {
    GameOverTimer += 3;
    if (BoardFallY < 480.0f) {
        BoardFallY += BoardFallSpeed;
        BoardFallSpeed += Gravity;
    }
    ScoreFlyY += ScoreFlySpeedY;
    ScoreFlySpeedY += Gravity;
    if (GameMode == ScoreAttack && ScoreFlyY > 400.0f && ScoreFlySpeedX == 0.0f) DecidePlace();
    UpdateFish();

    int32_t fallY = int32_t(BoardFallY);
    DrawPlayfield(fallY);
    DrawCurtains(GameOverTimer);
    if (GameMode == ScoreAttack) {
        BlitTiles(BoardOriginX, fallY + 8, 256, 64, BoardOriginX, fallY + 8, Rop::And);
        const char* text = FormatText("%d", Score);
        DrawGlyphText(text, ScoreTextX(text), int32_t(ScoreFlyY) + 48);
    }
    if (OffersRetry()) DrawLostChoice();
    DrawNotice();
    ShowBackBuffer();
    if (OffersRetry() && ChooseAfterLoss()) return;
    // Untouched, the offer ends with the screen, on the title as ever.
    if (ScoreFlyY > 610.0f && !(OffersRetry() && LostCursorMoved)) Leave();
}

void FlyFrame() {
    UpdateFish();
    ScoreFlyY += ScoreFlySpeedY;
    ScoreFlySpeedY += Gravity;
    ScoreFlyX += ScoreFlySpeedX;

    DrawMenuBackground();
    const char* text = FormatText("%d", Score);
    DrawGlyphText(text, ScoreTextX(text) + int32_t(ScoreFlyX), int32_t(ScoreFlyY) + 16);
    DrawNotice();
    ShowBackBuffer();

    if (ScoreFlySpeedY > 0.0f) {  // turned: the score is on its row
        GameOverPhase = PhaseNameEntry;
        InsertNewEntry(NewPlace, uint32_t(Score));
    }
}

// Up and Down step through - . / 0-9 @ A-Z and around; button 2 blanks.
void EditNameCharacter(uint8_t* name) {
    int8_t c = int8_t(name[NameCursor - 1]);
    if (NameRepeatTimer != 0) {
        if (++NameRepeatTimer >= 6) NameRepeatTimer = 0;
    } else {
        if (UpHeld) {
            ++c;
            NameRepeatTimer = 1;
        }
        if (DownHeld) {
            --c;
            NameRepeatTimer = 1;
        }
    }
    if (Button2Pressed) c = '@';
    if (c == '[') c = '-';
    if (c == ',') c = 'Z';
    if (c == '?') c = '9';
    if (c == ':') c = '@';
    name[NameCursor - 1] = uint8_t(c);
}

void WriteDate(uint8_t* name) {
    CalendarDay today = NameEntryDay ? *NameEntryDay : PlatformToday();
    char date[40];
    std::snprintf(date, sizeof date, "%02d/%02d/%02d", today.year % 100, today.month, today.day);
    std::memcpy(name, date, 8);  // always at least 8 characters; a wider one is cut
    name[8] = '\0';
}

void DrawNameEntry() {
    DrawMenuBackground();
    DrawRecordRows("%d.  %s", 50, 334);
    if (GameOverTimer < 20) {
        int x = 50 + 16 * (NameCursor + 3);
        DrawGlyphText(")", x, 48 * NewPlace + 64);  // arrow up, above the character
        DrawGlyphText("(", x, 48 * NewPlace + 96);  // arrow down, below it
    }
    DrawNotice();
    ShowBackBuffer();
}

void NameEntryFrame() {
    GameOverTimer = (GameOverTimer + 1) % 40;
    UpdateFish();
    if (LeftPressed && NameCursor > 1) {
        --NameCursor;
        GameOverTimer = 0;
    }
    if (RightPressed && NameCursor < 8) {
        ++NameCursor;
        GameOverTimer = 0;
    }
    if (Button1Pressed) {
        if (NameCursor < 8) {
            ++NameCursor;
            GameOverTimer = 0;
        } else {
            Finish();
            return;
        }
    }
    uint8_t* name = RecordTable[NewPlace].name;
    EditNameCharacter(name);
    if (KeyPressed & BitD) WriteDate(name);
    if (Button3Pressed || (KeyPressed & BitEnter)) {
        Finish();
        return;
    }
    DrawNameEntry();
}
}  // namespace

int32_t FindNewPlace(uint32_t score) {
    for (int32_t i = 1; i <= 5; ++i)
        if (RecordTable[i].score < score) return i;
    return 0;
}

void InsertNewEntry(int32_t place, uint32_t score) {
    if (place < 1 || place > 5) return;  // entry 0 is never touched
    for (int32_t i = 5; i > place; --i) RecordTable[i] = RecordTable[i - 1];
    RecordTable[place].score = score;
    std::memcpy(RecordTable[place].name, NewName, sizeof NewName);
}

void SavePendingRecord() {
    if (ScreenState != GameOverScreen || GameMode != ScoreAttack) return;
    if (GameOverPhase == PhaseFall) {
        if (ScoreFlySpeedX != 0.0f) return;  // decided: it takes no place
        NewPlace = FindNewPlace(uint32_t(Score));
        if (NewPlace == 0) return;
    }
    if (GameOverPhase != PhaseNameEntry) InsertNewEntry(NewPlace, uint32_t(Score));
    WriteRecordsFile();
}

void GameOverFrame() {
    if (DailyStage == DailyPlaying) DailyGameLost();  // kept as soon as it is lost
    switch (GameOverPhase) {
        case PhaseFall: FallFrame(); break;
        case PhaseFly: FlyFrame(); break;
        case PhaseNameEntry: NameEntryFrame(); break;
        default: break;
    }
}
