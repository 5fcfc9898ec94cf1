#include "screens/help.h"

#include <string>

#include "draw/playfield.h"
#include "draw/sheet_layout.h"
#include "draw/surfaces.h"
#include "draw/text.h"
#include "mission/block_kind.h"
#include "platform/platform.h"
#include "rules/game_events.h"
#include "rules/input_words.h"
#include "rules/screen_state.h"
#include "screens/key_table.h"
#include "screens/help_rules.h"
#include "screens/screens.h"

constinit uint8_t HelpOpen;
constinit uint8_t HelpPage;

namespace {
// A line of a page in the narrow face, 8 pixels a character (at most 46 from x 8).
struct HelpLine {
    int x, y;
    const char* text;
};
// A block of the sheet shown on a page: kind, frame flag, top-left corner.
struct HelpBlock {
    uint8_t kind, frame;
    int x, y;
};
struct Page {
    const char* title;
    HelpLine lines[36];
    HelpBlock blocks[12];
    int fishY;  // where a fish is shown at the left; 0: none
};

constexpr int LineStep = 18;
constexpr int Body = 56;

constexpr int Row(int n) { return Body + LineStep * n; }
// Where the first page says what a key does, right of the keys ("@a" and
// the like: the key bound to an action, as its label reads), and where it
// names the pad's buttons, right of what they do ("$a": the button bound to
// an action, by its place on the pad).
constexpr int KeyWhat = 8 + 8 * 15;
constexpr int PadWhich = KeyWhat;

const Page EnglishPages[HelpPageCount] = {
    {"KEYS",
     {{8, Row(0), "@a  @b"}, {KeyWhat, Row(0), "MOVE THE FALLING PAIR"},
      {8, Row(1), "@c"}, {KeyWhat, Row(1), "DROP IT FASTER"},
      {8, Row(2), "@e  @f"}, {KeyWhat, Row(2), "TURN IT LEFT / RIGHT"},
      {8, Row(3), "@g"}, {KeyWhat, Row(3), "LINK ACTION, PAID WITH A FISH"},
      {8, Row(4), "@h"}, {KeyWhat, Row(4), "PAUSE AND GO ON"},
      {8, Row(5), "@k  @l"}, {KeyWhat, Row(5), "COLOURED ROPES / GRID"},
      {8, Row(6), "@m"}, {KeyWhat, Row(6), "ENGLISH / JAPANESE"},
      {8, Row(7), "F11            FULL SCREEN"},
      {8, Row(8), "@i"}, {KeyWhat, Row(8), "THESE PAGES"},
      {8, Row(9), "ESCAPE         QUIT AT ONCE"},
      {8, Row(11), "IN MENUS @e CHOOSES AND @f GOES BACK."},
      {8, Row(13), "GAMEPAD, ITS BUTTONS BY THEIR PLACE:"},
      {8, Row(14), "MOVE"}, {PadWhich, Row(14), "STICK OR $a $b"},
      {8, Row(15), "DROP"}, {PadWhich, Row(15), "STICK OR $c"},
      {8, Row(16), "TURN LEFT"}, {PadWhich, Row(16), "$e (CHOOSES IN MENUS)"},
      {8, Row(17), "TURN RIGHT"}, {PadWhich, Row(17), "$f (GOES BACK)"},
      {8, Row(18), "LINK"}, {PadWhich, Row(18), "$g"},
      {8, Row(19), "PAUSE"}, {PadWhich, Row(19), "$h"},
      {8, Row(20), "OPTIONS, HELP"}, {PadWhich, Row(20), "$j  $i"}},
     {}},
    {"ROPES AND LOOPS",
     {{8, Row(0), "EVERY BLOCK CARRIES A PIECE OF ROPE:"},
      {8, Row(3), "STRAIGHT   CORNER   KNOT   CROSS"},
      {8, Row(4), "A KNOT JOINS ITS THREE ENDS, A CROSS ITS FOUR."},
      {8, Row(6), "WHERE THE ROPE ENDS OF NEIGHBOURS MEET,"},
      {8, Row(7), "THEIR ROPES JOIN. A ROPE THAT CLOSES"},
      {8, Row(8), "INTO A LOOP BLINKS AND IS ERASED WITH"},
      {8, Row(9), "ITS BLOCKS:"},
      {120, Row(11), "FOUR CORNERS MAKE"},
      {120, Row(12), "THE SMALLEST LOOP."},
      {8, Row(15), "THE BLOCKS ABOVE FALL. A NEW LOOP AMONG"},
      {8, Row(16), "THEM IS A CHAIN, WORTH MORE EACH STEP."},
      {8, Row(18), "PAIRS FALL FROM THE MIDDLE OF THE TOP."},
      {8, Row(19), "WHEN THEY CAN NO LONGER COME IN, THE"},
      {8, Row(20), "GAME IS OVER."}},
     {{Horizontal, 0, 16, Row(1)},
      {CornerDownLeft, 0, 104, Row(1)},
      {TeeNoUp, 0, 176, Row(1)},
      {Cross, 0, 232, Row(1)},
      {CornerDownRight, 0, 40, Row(10) + 4},
      {CornerDownLeft, 0, 72, Row(10) + 4},
      {CornerUpRight, 0, 40, Row(10) + 36},
      {CornerUpLeft, 0, 72, Row(10) + 36}}},
    {"JOINERS FRAMES FISH",
     {{56, Row(0), "A JOINER RING HAS NO ROPE OF ITS OWN."},
      {56, Row(1), "WHEN IT LANDS, EVERY ROPE BLOCK BESIDE"},
      {56, Row(2), "IT GROWS AN END TOWARD IT, THEN THE"},
      {56, Row(3), "RING VANISHES: IT TIES THEM TOGETHER."},
      {56, Row(5), "A FRAMED BLOCK IS MARKED IN ITS CORNER."},
      {56, Row(6), "SOME MISSIONS ASK YOU TO ERASE THEM."},
      {56, Row(8), "FISH SWIM ACROSS THE WELL. A LOOP THAT"},
      {56, Row(9), "CLOSES AROUND A FISH CATCHES IT."},
      {56, Row(11), "EACH CAUGHT FISH PAYS FOR ONE LINK"},
      {56, Row(12), "ACTION (A): THE FALLING PAIR IS GIVEN"},
      {56, Row(13), "UP, AND A FISH FLIES IN AND JOINS TWO"},
      {56, Row(14), "NEIGHBOURING ROPES THAT DID NOT MEET,"},
      {56, Row(15), "WHICH MAY CLOSE A LOOP."}},
     {{Joiner, 0, 12, Row(0)}, {Horizontal, 1, 12, Row(5)}},
     Row(8)},
    {"MISSIONS",
     {{8, Row(0), "A MISSION GIVES A BOARD, THE PAIRS TO COME"},
      {8, Row(1), "AND A GOAL, SHOWN ABOVE THE WELL:"},
      {8, Row(3), "MAKE A CHAIN OF N"},
      {8, Row(4), "ERASE N BLOCKS"},
      {8, Row(5), "ERASE N BLOCKS AT ONCE"},
      {8, Row(6), "ERASE ALL FRAMED BLOCKS"},
      {8, Row(7), "ERASE ALL FRAMED BLOCKS AT ONCE"},
      {8, Row(8), "MAKE A LOOP OF AREA N"},
      {8, Row(9), "SCORE N"},
      {8, Row(10), "CATCH N FISH"},
      {8, Row(12), "ERASE N: EVERY ERASE ADDS UP, TO EXACTLY N."},
      {8, Row(13), "AT ONCE: EXACTLY N IN ONE ERASE, NOT A CHAIN."},
      {8, Row(14), "ALL FRAMED: THOSE IN THE PAIRS COUNT TOO."},
      {8, Row(15), "AREA: A LOOP'S BLOCKS AND THE CELLS INSIDE."},
      {8, Row(16), "SCORE AND FISH MISSIONS DEAL RANDOM PAIRS;"},
      {8, Row(17), "THE OTHERS GIVE A FIXED NUMBER OF PAIRS."},
      {8, Row(18), "CLEAR A MISSION TO OPEN THE NEXT ONES."},
      {8, Row(19), "EVERY GAME IS KEPT: R ON THE RECORDS"},
      {8, Row(20), "LISTS THE REPLAYS, Z WATCHES ONE."}},
     {}},
};

// In Japanese, katakana as the goal lines are, 16 pixels a character (at
// most 23 from x 8), on rows 20 pixels apart.
constexpr int KanaStep = 20;
constexpr int KanaBody = 48;
constexpr int KanaRow(int n) { return KanaBody + KanaStep * n; }
constexpr int KeyText = 8 + 16 * 12;
constexpr int PadText = 8 + 16 * 8;  // the pad's buttons, right of what they do

const Page JapanesePages[HelpPageCount] = {
    {"ソウサ",
     {{8, KanaRow(0), "@a @b"}, {KeyText, KanaRow(0), "イドウ"},
      {8, KanaRow(1), "@c"}, {KeyText, KanaRow(1), "ハヤク オトス"},
      {8, KanaRow(2), "@e @f"}, {KeyText, KanaRow(2), "カイテン"},
      {8, KanaRow(3), "@g"}, {KeyText, KanaRow(3), "リンク アクション"},
      {8, KanaRow(4), "@h"}, {KeyText, KanaRow(4), "ポーズ"},
      {8, KanaRow(5), "@k @l"}, {KeyText, KanaRow(5), "イロワケ マスメ"},
      {8, KanaRow(6), "@m"}, {KeyText, KanaRow(6), "ゲンゴ"},
      {8, KanaRow(7), "F11"}, {KeyText, KanaRow(7), "フルスクリーン"},
      {8, KanaRow(8), "@i"}, {KeyText, KanaRow(8), "ヘルプ"},
      {8, KanaRow(9), "ESCAPE"}, {KeyText, KanaRow(9), "シュウリョウ"},
      {8, KanaRow(11), "メニュー ハ @e ケッテイ @f モドル"},
      {8, KanaRow(12), "パッド ノ ボタン ハ イチ デ:"},
      {8, KanaRow(13), "イドウ"}, {PadText, KanaRow(13), "$a $b"},
      {8, KanaRow(14), "ハヤク オトス"}, {PadText, KanaRow(14), "$c"},
      {8, KanaRow(15), "カイテン"}, {PadText, KanaRow(15), "$e $f"},
      {8, KanaRow(16), "リンク"}, {PadText, KanaRow(16), "$g"},
      {8, KanaRow(17), "ポーズ"}, {PadText, KanaRow(17), "$h"},
      {8, KanaRow(18), "オプション"}, {PadText, KanaRow(18), "$j"},
      {8, KanaRow(19), "ヘルプ"}, {PadText, KanaRow(19), "$i"}},
     {}},
    {"ロープ ト ループ",
     {{8, KanaRow(0), "ブロック ニハ ロープ ガ アル"},
      {8, KanaRow(3), "マッスグ"}, {104, KanaRow(3), "カド"}, {168, KanaRow(3), "ムスビ"}, {232, KanaRow(3), "ジュウジ"},
      {8, KanaRow(4), "ムスビ ジュウジ ハ ハシ ガ ミナ ツナガル"},
      {8, KanaRow(6), "トナリ ノ ロープ ノ ハシ ガ"},
      {8, KanaRow(7), "アウト ロープ ガ ツナガル"},
      {8, KanaRow(8), "ロープ ガ ワ ニ ナルト"},
      {8, KanaRow(9), "ブロック ゴト キエル"},
      {120, KanaRow(11), "ヨッツ ノ カド デ"},
      {120, KanaRow(12), "イチバン チイサイ ワ"},
      {8, KanaRow(14), "ウエ ノ ブロック ガ オチテ"},
      {8, KanaRow(15), "マタ ワ ガ デキルト レンサ"},
      {8, KanaRow(16), "レンサ ホド トクテン ガ フエル"},
      {8, KanaRow(17), "ウエ マデ ツマルト オワリ"}},
     {{Horizontal, 0, 16, KanaRow(1)},
      {CornerDownLeft, 0, 104, KanaRow(1)},
      {TeeNoUp, 0, 176, KanaRow(1)},
      {Cross, 0, 232, KanaRow(1)},
      {CornerDownRight, 0, 40, KanaRow(10) + 8},
      {CornerDownLeft, 0, 72, KanaRow(10) + 8},
      {CornerUpRight, 0, 40, KanaRow(10) + 40},
      {CornerUpLeft, 0, 72, KanaRow(10) + 40}}},
    {"ムスビワ ト ワク ト サカナ",
     {{56, KanaRow(0), "ムスビワ ニハ ロープ ガ ナイ"},
      {56, KanaRow(1), "オチルト トナリ ノ ロープ ガ"},
      {56, KanaRow(2), "ムスビワ ヘ ノビテ ツナガリ"},
      {56, KanaRow(3), "ムスビワ ハ キエル"},
      {56, KanaRow(5), "ワク ノ アル ブロック ハ"},
      {56, KanaRow(6), "カド ニ シルシ ガ アル"},
      {56, KanaRow(8), "サカナ ヲ ワ デ カコムト"},
      {56, KanaRow(9), "ツカマエラレル"},
      {56, KanaRow(11), "サカナ イッピキ デ A ノ"},
      {56, KanaRow(12), "リンク アクション ガ デキル"},
      {56, KanaRow(13), "オチル ブロック ノ カワリニ"},
      {56, KanaRow(14), "サカナ ガ トナリアウ フタツ ノ"},
      {56, KanaRow(15), "ロープ ヲ ツナグ"}},
     {{Joiner, 0, 12, KanaRow(0)}, {Horizontal, 1, 12, KanaRow(5)}},
     KanaRow(8)},
    {"ミッション",
     {{8, KanaRow(0), "バン ト オチテクル ブロック ト"},
      {8, KanaRow(1), "モクヒョウ ガ キマッテイル"},
      {8, KanaRow(3), "N レンサ セヨ"},
      {8, KanaRow(4), "N ブロック ケセ"},
      {8, KanaRow(5), "N ブロック ドウジニ ケセ"},
      {8, KanaRow(6), "ワクブロック スベテ ケセ"},
      {8, KanaRow(7), "ワクブロック スベテ ドウジニ ケセ"},
      {8, KanaRow(8), "メンセキ N ノ ループ ツクレ"},
      {8, KanaRow(9), "N PTS.トレ"},
      {8, KanaRow(10), "サカナ N ヒキ トラエヨ"},
      {8, KanaRow(12), "ケセ ハ ゴウケイ ガ チョウド N"},
      {8, KanaRow(13), "ドウジニ ハ イチド ノ ショウキョ デ"},
      {8, KanaRow(14), "ワク ハ オチテクル ブロック モ フクム"},
      {8, KanaRow(15), "メンセキ ハ ワ ト ナカ ノ マス ノ カズ"},
      {8, KanaRow(16), "スコア ト サカナ ノ ミッション ハ"},
      {8, KanaRow(17), "ブロック ガ ランダム"},
      {8, KanaRow(18), "クリア スルト ツギ ガ ヒラク"},
      {8, KanaRow(19), "キロク デ R デ リプレイ ノ イチラン"}},
     {}},
};

void DrawPage(const Page& page, bool japanese) {
    if (japanese) DrawKanaText(page.title, 16, 16);
    else DrawGlyphText(page.title, 16, 16);
    for (const HelpLine& l : page.lines)
        if (l.text != nullptr) DrawHelpLine(l.text, l.x, l.y, japanese);
    for (const HelpBlock& b : page.blocks)
        if (b.kind != Empty) DrawBlock(b.kind, 0, b.frame, b.x, b.y);
    if (page.fishY != 0) {
        MaskedFromSheet(BlockSheet, SheetFishX, SheetMaskY, SheetFishX, SheetImageY, SheetCell, SheetCell, 12, page.fishY);
    }
    const std::string back = WithKeyLabels("@i @f", japanese);
    if (japanese) DrawKanaText(FormatText("%d/%d [] ページ  %s モドル", HelpPage + 1, HelpPageCount, back.c_str()), 8, 456);
    else DrawNarrowText(FormatText("%d/%d   LEFT RIGHT: PAGES   %s: BACK", HelpPage + 1, HelpPageCount, back.c_str()), 8, 456);
}

bool Offered() {
    if (ScreenState == TitleScreen || ScreenState == MissionSelectScreen) return true;
    return ScreenState <= Linking && PauseFlag != 0;
}
}  // namespace

int HelpCharactersWithoutPicture(Language language) {
    int missing = 0;
    for (const Page& page : language == Language::Japanese ? JapanesePages : EnglishPages) {
        const bool japanese = language == Language::Japanese;
        auto count = [&](const char* text, int x, int y) {
            if (japanese) missing += DrawKanaText(text, x, y);
            else
                for (const char* c = text; *c; ++c) missing += *c < 32 || *c > 95;
        };
        count(page.title, 16, 16);
        for (const HelpLine& l : page.lines)
            if (l.text != nullptr) missing += DrawHelpLine(l.text, l.x, l.y, japanese);
    }
    return missing + RuleCharactersWithoutPicture(language == Language::Japanese);
}

bool OfferHelp() {
    if (HelpOpen != HelpClosed) return true;
    if ((KeyPressed & BitF1) == 0 || !Offered()) return false;
    HelpOpen = HelpOpening;
    HelpPage = 0;
    PlayGameSound(GameSound::Decide);
    return true;
}

bool HelpShown() { return HelpOpen == HelpOnScreen; }

void HelpFrame() {
    // The F1 that opened the pages does not close them in the same frame.
    if (HelpOpen == HelpOnScreen && ((KeyPressed & BitF1) != 0 || Button2Pressed)) {
        HelpOpen = HelpClosed;
        PlayGameSound(GameSound::Cursor);
    } else {
        HelpOpen = HelpOnScreen;
    }
    if (RightPressed && HelpPage + 1 < HelpPageCount + RulePageCount) ++HelpPage, PlayGameSound(GameSound::Cursor);
    if (LeftPressed && HelpPage > 0) --HelpPage, PlayGameSound(GameSound::Cursor);
    BlitGradient(0, 0, BackBuffer.width, BackBuffer.height, 0, 0, Rop::Copy);
    BlitTiles(0, 0, BackBuffer.width, BackBuffer.height, 0, 0, Rop::And);
    const bool japanese = TextLanguage == Language::Japanese;
    if (HelpPage < HelpPageCount) DrawPage((japanese ? JapanesePages : EnglishPages)[HelpPage], japanese);
    else DrawRulePage(HelpPage - HelpPageCount, japanese);
    ShowBackBuffer();
}
