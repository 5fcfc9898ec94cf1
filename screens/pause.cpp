#include "screens/pause.h"

#include <cstring>

#include "draw/fish.h"
#include "draw/playfield.h"
#include "draw/surfaces.h"
#include "draw/text.h"
#include "mission/mission_goal.h"
#include "platform/platform.h"
#include "rules/fish.h"
#include "rules/input_words.h"
#include "rules/screen_state.h"
#include "screens/notice.h"
#include "screens/screens.h"

constinit int32_t PauseBlinkTimer;

namespace {
constexpr int WordX = 152, WordY = 240;

// Between blinks only the word's rows change. While the back buffer still
// holds the last pause picture, a blink puts back those rows as they were
// before the word was drawn and hands only them to the window.
bool pictureStands;
uint32_t rowsUnderWord[GlyphCell][ScreenWidth];

void AndTile(int x, int y, int w, int h) { BlitTiles(x, y, w, h, x, y, Rop::And); }

// The background patches of the play screen with nothing drawn in them.
void DrawEmptyFrames() {
    const int32_t X = BoardOriginX, Y = BoardOriginY;
    AndTile(X, Y, 256, 384);
    AndTile(X + 272, Y, 32, 384);
    if (GameMode != ScoreAttack) BlitTiles(X + 320, Y, 32, 384, X + 272, Y, Rop::And);
    if (GameMode == ScoreAttack) AndTile(6, 200, 52, 54);
    AndTile(X, 8, StatusPanelWidth(), 64);
}

// The pause picture but for the word, keeping the rows the word goes on.
void DrawPausePicture() {
    BlitGradient(0, 0, ScreenWidth, ScreenHeight, 0, 0, Rop::Copy);
    DrawEmptyFrames();
    DrawFish();
    std::memcpy(rowsUnderWord, BackBuffer.Ptr(0, WordY), sizeof rowsUnderWord);
}
}  // namespace

void AdvancePauseBlink() { PauseBlinkTimer = (PauseBlinkTimer + 1) % PauseBlinkPeriod; }

int32_t PauseBlinkSteadyFrames() {
    const int32_t half = PauseBlinkPeriod / 2;
    return half - 1 - PauseBlinkTimer % half;
}

void ForgetPausePicture() { pictureStands = false; }

// Nothing of play advances here, not even the fish.
void PauseScreen() {
    AdvancePauseBlink();
    const bool wordOnly = pictureStands && NoticeFrames == 0;
    if (wordOnly) std::memcpy(&BackBuffer.At(0, WordY), rowsUnderWord, sizeof rowsUnderWord);
    else DrawPausePicture();
    if (PauseBlinkTimer < PauseBlinkPeriod / 2) DrawGlyphText("PAUSE", WordX, WordY);
    pictureStands = NoticeFrames == 0;  // a notice drawn now is wiped by the next frame
    DrawNotice();
    if (wordOnly) PlatformPresentRows(BackBuffer, WordY, WordY + GlyphCell);
    else PlatformPresent(BackBuffer);
    // Only the keyboard's Enter resumes; the press that paused was in an earlier frame.
    if (KeyPressed & BitEnter) {
        PauseFlag = 0;
        PauseBlinkTimer = 0;
    }
}
