#include "screens/options.h"

#include <string>

#include "draw/playfield.h"
#include "draw/surfaces.h"
#include "draw/text.h"
#include "platform/platform.h"
#include "rules/game_events.h"
#include "rules/input_words.h"
#include "rules/scoring.h"
#include "rules/screen_state.h"
#include "screens/help.h"
#include "screens/key_table.h"
#include "screens/screens.h"

constinit uint8_t OptionsOpen;
constinit uint8_t OptionsPage;
constinit uint8_t OptionsLine;
constinit uint8_t OptionsCapturing;
constinit uint8_t OptionsRefused;
constinit uint8_t OptionsEscapeHeld;
constinit bool ScaleFit;

namespace {
constexpr uint8_t RefusedFrames = 60;  // a second and a half

bool Japanese() { return TextLanguage == Language::Japanese; }

// Text in the player's language: the glyph face in English, katakana in Japanese.
void DrawText(const char* english, const char* japanese, int x, int y) {
    if (Japanese()) DrawKanaText(japanese, x, y);
    else DrawGlyphText(english, x, y);
}

void StepLevel(uint8_t& level, int step) {
    int next = level + step;
    if (next < 0 || next > MaxSoundLevel) return;
    level = uint8_t(next);
    PlayGameSound(GameSound::Cursor);
    OptionsChanged();
}

void Flip(bool& choice) {
    choice = !choice;
    PlayGameSound(GameSound::Cursor);
    OptionsChanged();
}

// A line of the main page: its label, what Left and Right do, its value,
// what confirm does.
struct OptionLine {
    const char* english;
    const char* japanese;
    void (*change)(int step);  // null: Left and Right do nothing
    void (*value)(int x, int y);
    void (*act)();             // null: confirm does nothing
};

void DrawLevel(uint8_t level, int x, int y) { DrawGlyphText(FormatText("%2d", level), x, y); }
void DrawChoice(bool on, const char* englishOff, const char* japaneseOff, const char* englishOn,
                const char* japaneseOn, int x, int y) {
    if (on) DrawText(englishOn, japaneseOn, x, y);
    else DrawText(englishOff, japaneseOff, x, y);
}

void OpenPage(OptionsPageValue page) {
    OptionsPage = page;
    OptionsLine = 0;
    PlayGameSound(GameSound::Decide);
}
void OpenKeys() { OpenPage(OptionsKeysPage); }
void OpenPad() { OpenPage(OptionsPadPage); }

// The help pages in the screen's place; closing them goes back to the
// screen the options were opened over.
void OpenHelp() {
    OptionsOpen = OptionsClosed;
    HelpOpen = HelpOpening;
    HelpPage = 0;
    PlayGameSound(GameSound::Decide);
}

// C and G's toggles, not kept.
void FlipMode(uint8_t& mode) {
    mode = mode == 0 ? 1 : 0;
    PlayGameSound(GameSound::Cursor);
}

void FlipLanguage() {
    TextLanguage = Japanese() ? Language::English : Language::Japanese;
    PlayGameSound(GameSound::Cursor);
    OptionsChanged();
}

const OptionLine Lines[] = {
    {"MUSIC", "オンガク", [](int step) { StepLevel(MusicLevel, step); },
     [](int x, int y) { DrawLevel(MusicLevel, x, y); }, nullptr},
    {"EFFECTS", "コウカオン", [](int step) { StepLevel(EffectsLevel, step); },
     [](int x, int y) { DrawLevel(EffectsLevel, x, y); }, nullptr},
    {"KEYS", "キー", nullptr, nullptr, OpenKeys},
    {"PAD", "パッド", nullptr, nullptr, OpenPad},
    {"SCALE", "オオキサ", [](int) { Flip(ScaleFit); },
     [](int x, int y) { DrawChoice(ScaleFit, "WHOLE", "セイスウバイ", "FIT", "ピッタリ", x, y); },
     [] { Flip(ScaleFit); }},
    {"COLOURS", "イロ", [](int) { Flip(PaletteSafe); },
     [](int x, int y) { DrawChoice(PaletteSafe, "CLASSIC", "ヒョウジュン", "SAFE", "ミワケヤスイ", x, y); },
     [] { Flip(PaletteSafe); }},
    {"FLASHING", "テンメツ", [](int) { Flip(FlashingSteady); },
     [](int x, int y) { DrawChoice(FlashingSteady, "BLINK", "アリ", "STEADY", "ナシ", x, y); },
     [] { Flip(FlashingSteady); }},
    {"LANGUAGE", "ゲンゴ", [](int) { FlipLanguage(); },
     [](int x, int y) { DrawChoice(Japanese(), "ENGLISH", "ENGLISH", "ニホンゴ", "ニホンゴ", x, y); },
     FlipLanguage},
    {"ROPES", "イロワケ", [](int) { FlipMode(ColourMode); },
     [](int x, int y) { DrawChoice(ColourMode != 0, "PLAIN", "ナシ", "COLOURED", "アリ", x, y); },
     [] { FlipMode(ColourMode); }},
    {"GRID", "マスメ", [](int) { FlipMode(GridMode); },
     [](int x, int y) { DrawChoice(GridMode != 0, "OFF", "ナシ", "ON", "アリ", x, y); }, [] { FlipMode(GridMode); }},
    {"SPEED", "ハヤサ", [](int) { Flip(BriskFall); },
     [](int x, int y) { DrawChoice(BriskFall, "CLASSIC", "ヒョウジュン", "BRISK", "ハヤイ", x, y); },
     [] { Flip(BriskFall); }},
    {"HELP", "ヘルプ", nullptr, nullptr, OpenHelp},
};
constexpr int LineCount = int(std::size(Lines));
constexpr int MaxLines = 12;
static_assert(LineCount <= MaxLines);
constexpr int KeysLine = 2, PadLine = 3;  // where the pages' Back returns to

constexpr int TitleY = 24;
constexpr int LabelX = 40, ValueX = 224, PointerX = 16;
constexpr int MainY = 64, MainStep = 28;
constexpr int KeysY = 56, KeysStep = 22, KeyLabelX = 24, KeyNameX = 232;
constexpr int BottomY = 456;
constexpr int DefaultsLine = ActionCount;  // the keys page's last line
// The pad page: its layout, every action, then DEFAULTS.
constexpr int PadY = 38, PadStep = 22, PadNameX = 200;
constexpr int PadLayoutLine = 0, PadDefaultsLine = ActionCount + 1;

void DrawMainPage() {
    DrawText("OPTIONS", "オプション", 16, TitleY);
    for (int i = 0; i < LineCount; ++i) {
        const int y = MainY + MainStep * i;
        DrawText(Lines[i].english, Lines[i].japanese, LabelX, y);
        if (Lines[i].value) Lines[i].value(ValueX, y);
    }
    DrawGlyphText(">", PointerX, MainY + MainStep * OptionsLine);
    if (SoundMuted) DrawText("MUTED (M)", "ミュート (M)", LabelX, MainY + MainStep * MaxLines);
    if (Japanese()) {
        DrawKanaText("[] エラブ  <> カエル", 8, BottomY - 20);
        DrawKanaText("Z ケッテイ  F2 X モドル", 8, BottomY);
    } else {
        DrawNarrowText("UP DOWN: CHOOSE   LEFT RIGHT: CHANGE", 8, BottomY - 20);
        DrawNarrowText("Z: OPEN   F2 X: BACK", 8, BottomY);
    }
}

void DrawKeysPage() {
    DrawText("KEYS", "キー", 16, 16);
    for (int a = 0; a <= DefaultsLine; ++a) {
        const int y = KeysY + KeysStep * a;
        if (a == DefaultsLine) {
            if (Japanese()) DrawKanaText("モトニ モドス", KeyLabelX, y);
            else DrawNarrowText("DEFAULTS", KeyLabelX, y);
            continue;
        }
        if (Japanese()) DrawKanaText(Actions[a].japanese, KeyLabelX, y);
        else DrawNarrowText(Actions[a].english, KeyLabelX, y);
        if (OptionsCapturing && OptionsLine == a) {
            if (Japanese()) DrawKanaText("キー ヲ オス", KeyNameX, y);
            else DrawNarrowText("PRESS A KEY", KeyNameX, y);
        } else {
            DrawNarrowText(KeyLabelText(KeyBinding[a]).c_str(), KeyNameX, y);
        }
    }
    DrawNarrowText(">", 8, KeysY + KeysStep * OptionsLine);
    if (OptionsRefused > 0) {
        if (Japanese()) DrawKanaText("ソノ キー ハ ツカワレテイル", 8, BottomY - 24);
        else DrawNarrowText("THAT KEY IS IN USE", 8, BottomY - 24);
    }
    if (OptionsCapturing) {
        if (Japanese()) DrawKanaText("ESCAPE デ ヤメル", 8, BottomY);
        else DrawNarrowText("ESCAPE: KEEP THE KEY AS IT WAS", 8, BottomY);
    } else if (Japanese()) {
        DrawKanaText("Z カエル X モドル", 8, BottomY);
    } else {
        DrawNarrowText("Z: CHANGE THE KEY  X: BACK", 8, BottomY);
    }
}

// A line of the pad page in the player's language: the narrow face in
// English, katakana in Japanese.
void DrawPadText(const std::string& english, const std::string& japanese, int x, int y) {
    if (Japanese()) DrawKanaText(japanese.c_str(), x, y);
    else DrawNarrowText(english.c_str(), x, y);
}

void DrawPadPage() {
    DrawText("PAD", "パッド", 16, 12);
    DrawPadText("LAYOUT", "ハイチ", KeyLabelX, PadY);
    DrawPadText(PadNintendo ? "NINTENDO" : "POSITIONAL", PadNintendo ? "ニンテンドウ" : "ボタン ノ イチ", PadNameX, PadY);
    for (int a = 0; a < ActionCount; ++a) {
        const int y = PadY + PadStep * (a + 1);
        DrawPadText(Actions[a].english, Actions[a].japanese, KeyLabelX, y);
        if (OptionsCapturing && OptionsLine == a + 1) DrawPadText("PRESS A BUTTON", "ボタン ヲ オス", PadNameX, y);
        else DrawPadText(PadButtonText(PadBinding[a], false), PadButtonText(PadBinding[a], true), PadNameX, y);
    }
    DrawPadText("DEFAULTS", "モトニ モドス", KeyLabelX, PadY + PadStep * PadDefaultsLine);
    DrawNarrowText(">", 8, PadY + PadStep * OptionsLine);
    if (OptionsRefused > 0) DrawPadText("THAT BUTTON IS IN USE", "ソノ ボタン ハ ツカワレテイル", 8, BottomY - 24);
    if (OptionsCapturing)
        DrawPadText(WithKeyLabels("$j OR ESCAPE: KEEP THE BUTTON AS IT WAS", false), WithKeyLabels("$j ESCAPE デ ヤメル", true), 8,
                    BottomY);
    else
        DrawPadText(WithKeyLabels("@e $e: CHANGE   @f $f: BACK", false), WithKeyLabels("@e $e カエル @f $f モドル", true), 8, BottomY);
}

// The pad's button for the options (Back) gives up the key or button being
// chosen, as Escape does.
bool CaptureCancelled() {
    return NewestPadButton >= 0 && NewestPadButton == PadBinding[int(Action::Options)];
}

void EndCapture() {
    OptionsCapturing = 0;
    OptionsRefused = 0;
    PlayGameSound(GameSound::Decide);
    OptionsChanged();
}

// The key pressed while one is being chosen: Escape keeps the old one, a
// key another action holds is refused.
void CaptureKey() {
    if (CaptureCancelled()) {
        OptionsCapturing = 0;
        PlayGameSound(GameSound::Cursor);
        return;
    }
    if (NewestKey < 0) return;
    if (NewestKey == KeyEscape) {
        OptionsCapturing = 0;
        OptionsEscapeHeld = 1;
        PlayGameSound(GameSound::Cursor);
        return;
    }
    if (!BindKey(OptionsLine, NewestKey)) {
        OptionsRefused = RefusedFrames;
        return;
    }
    EndCapture();
}

// The same for a pad button; the keyboard's other keys do nothing meanwhile.
void CapturePadButton() {
    if (NewestKey == KeyEscape) {
        OptionsCapturing = 0;
        OptionsEscapeHeld = 1;
        PlayGameSound(GameSound::Cursor);
        return;
    }
    if (CaptureCancelled()) {
        OptionsCapturing = 0;
        PlayGameSound(GameSound::Cursor);
        return;
    }
    if (NewestPadButton < 0) return;
    if (!BindPadButton(OptionsLine - 1, NewestPadButton)) {
        OptionsRefused = RefusedFrames;
        return;
    }
    EndCapture();
}

bool ClosePressed() { return (KeyPressed & BitF2) != 0; }

void Close() {
    OptionsOpen = OptionsClosed;
    PlayGameSound(GameSound::Cursor);
}

// X (or the pad's right button) on a page: back to its line on the main page.
void BackToMain(int line) {
    OptionsPage = OptionsMainPage;
    OptionsLine = uint8_t(line);
    PlayGameSound(GameSound::Cursor);
}

void MainPageInput() {
    if (ClosePressed() || Button2Pressed) {
        Close();
        return;
    }
    if (DownPressed && OptionsLine + 1 < LineCount) ++OptionsLine, PlayGameSound(GameSound::Cursor);
    if (UpPressed && OptionsLine > 0) --OptionsLine, PlayGameSound(GameSound::Cursor);
    const OptionLine& line = Lines[OptionsLine];
    if (line.change && RightPressed) line.change(+1);
    if (line.change && LeftPressed) line.change(-1);
    if (line.act && ConfirmPressed()) line.act();
}

void KeysPageInput() {
    if (ClosePressed()) {
        Close();
        return;
    }
    if (Button2Pressed) {
        BackToMain(KeysLine);
        return;
    }
    if (DownPressed && OptionsLine < DefaultsLine) ++OptionsLine, PlayGameSound(GameSound::Cursor);
    if (UpPressed && OptionsLine > 0) --OptionsLine, PlayGameSound(GameSound::Cursor);
    if (!ConfirmPressed()) return;
    PlayGameSound(GameSound::Decide);
    if (OptionsLine == DefaultsLine) {
        ResetKeyBindings();
        OptionsChanged();
    } else {
        OptionsCapturing = 1;
    }
}

void PadPageInput() {
    if (ClosePressed()) {
        Close();
        return;
    }
    if (Button2Pressed) {
        BackToMain(PadLine);
        return;
    }
    if (DownPressed && OptionsLine < PadDefaultsLine) ++OptionsLine, PlayGameSound(GameSound::Cursor);
    if (UpPressed && OptionsLine > 0) --OptionsLine, PlayGameSound(GameSound::Cursor);
    if (OptionsLine == PadLayoutLine && (LeftPressed || RightPressed)) Flip(PadNintendo);
    if (!ConfirmPressed()) return;
    if (OptionsLine == PadLayoutLine) {
        Flip(PadNintendo);
        return;
    }
    PlayGameSound(GameSound::Decide);
    if (OptionsLine == PadDefaultsLine) {
        ResetPadBindings();
        OptionsChanged();
    } else {
        OptionsCapturing = 1;
    }
}

bool Offered() {
    if (HelpOpen != HelpClosed) return false;
    if (ScreenState == TitleScreen || ScreenState == MissionSelectScreen) return true;
    return ScreenState <= Linking && PauseFlag != 0;
}
}  // namespace

bool OfferOptions() {
    if (OptionsOpen != OptionsClosed) return true;
    if (!ClosePressed() || !Offered()) return false;
    OptionsOpen = OptionsOpening;
    OptionsPage = OptionsMainPage;
    OptionsLine = 0;
    OptionsCapturing = 0;
    OptionsRefused = 0;
    PlayGameSound(GameSound::Decide);
    return true;
}

bool OptionsTakeKeys() {
    if (OptionsEscapeHeld && (KeyHeld & BitEscape) == 0) OptionsEscapeHeld = 0;
    return OptionsCapturing != 0 || OptionsEscapeHeld != 0;
}

void OptionsFrame() {
    if (OptionsRefused > 0) --OptionsRefused;
    // The F2 that opened the screen does not close it in the same frame.
    if (OptionsOpen == OptionsOpening) OptionsOpen = OptionsOnScreen;
    else if (OptionsCapturing && OptionsPage == OptionsPadPage) CapturePadButton();
    else if (OptionsCapturing) CaptureKey();
    else if (OptionsPage == OptionsMainPage) MainPageInput();
    else if (OptionsPage == OptionsKeysPage) KeysPageInput();
    else PadPageInput();
    // The help pages chosen on the main page take this frame's picture.
    if (OptionsOpen == OptionsClosed && HelpOpen != HelpClosed) {
        HelpFrame();
        return;
    }
    BlitGradient(0, 0, BackBuffer.width, BackBuffer.height, 0, 0, Rop::Copy);
    BlitTiles(0, 0, BackBuffer.width, BackBuffer.height, 0, 0, Rop::And);
    if (OptionsPage == OptionsMainPage) DrawMainPage();
    else if (OptionsPage == OptionsKeysPage) DrawKeysPage();
    else DrawPadPage();
    ShowBackBuffer();
}

int OptionsCharactersWithoutPicture(Language language) {
    if (language != Language::Japanese) return 0;
    int missing = 0;
    for (const OptionLine& l : Lines) missing += DrawKanaText(l.japanese, 0, 0);
    for (const ActionInfo& a : Actions) missing += DrawKanaText(a.japanese, 0, 0);
    for (const char* t : {"オプション", "セイスウバイ", "ピッタリ", "ヒョウジュン", "ミワケヤスイ", "アリ", "ナシ", "ニホンゴ", "ミュート (M)",
                          "[] エラブ  <> カエル", "Z ケッテイ  F2 X モドル", "モトニ モドス", "キー ヲ オス",
                          "ソノ キー ハ ツカワレテイル", "ESCAPE デ ヤメル", "Z カエル X モドル", "パッド", "ハイチ",
                          "ニンテンドウ", "ボタン ノ イチ", "ボタン ヲ オス", "ソノ ボタン ハ ツカワレテイル", "ナシ", "アリ"})
        missing += DrawKanaText(t, 0, 0);
    for (const char* t : {"$j ESCAPE デ ヤメル", "@e $e カエル @f $f モドル"})
        missing += DrawKanaText(WithKeyLabels(t, true).c_str(), 0, 0);
    for (int b = 0; b < PadButtonCount; ++b) missing += DrawKanaText(PadButtonText(b, true).c_str(), 0, 0);
    return missing;
}
