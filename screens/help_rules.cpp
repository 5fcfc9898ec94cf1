#include "screens/help_rules.h"

#include <string>

#include "draw/playfield.h"
#include "draw/sheet_layout.h"
#include "draw/surfaces.h"
#include "draw/text.h"
#include "mission/block_kind.h"
#include "screens/key_table.h"

namespace {
constexpr int Cell = 32;  // a block as the well shows it
constexpr int PictureY = 56;
// The picture before a rule acts at the left, after it at the right, an
// arrow between.
constexpr int BeforeX = 40, AfterX = 232, ArrowX = 184;

struct Block {
    uint8_t kind;
    int col, row;  // cells of the picture, from its top left
    bool after;    // in the right-hand picture
};
// An arrow of the font: "[" left, "]" right, ")" up, "(" down.
struct Mark {
    const char* glyph;
    int x, y;
};
struct Picture {
    Block blocks[16];
    Mark marks[4];
    int fishX, fishY;  // 0, 0: no fish
};

constexpr int MarkY(int row) { return PictureY + Cell * row + 8; }
constexpr int MarkX(int col) { return BeforeX + Cell * col + 8; }

const Picture Pictures[RulePageCount] = {
    // A flat pair resting on the floor slides right under a stone ledge.
    {{{Wall, 3, 0, false}, {Wall, 4, 0, false},
      {Horizontal, 0, 1, false}, {Horizontal, 1, 1, false},
      {Vertical, 0, 2, false}, {Vertical, 1, 2, false}, {Vertical, 2, 2, false}, {Vertical, 3, 2, false},
      {Vertical, 4, 2, false}},
     {{"]", MarkX(2), MarkY(1)}, {"]", MarkX(3) - 8, MarkY(1)}}},
    // Half on a block, half over a gap: the free half drops on its own.
    {{{CornerDownRight, 0, 0, false}, {CornerDownLeft, 1, 0, false}, {Vertical, 0, 1, false},
      {Horizontal, 0, 2, false}, {Horizontal, 1, 2, false},
      {CornerDownRight, 0, 0, true}, {Vertical, 0, 1, true}, {CornerDownLeft, 1, 1, true},
      {Horizontal, 0, 2, true}, {Horizontal, 1, 2, true}},
     {{"(", MarkX(1), MarkY(1)}, {"]", ArrowX, MarkY(1)}}},
    // Four corners close a loop; the knot's loose branch and the block on
    // top are not on it and stay.
    {{{Vertical, 0, 0, false}, {CornerDownRight, 0, 1, false}, {TeeNoUp, 1, 1, false}, {Horizontal, 2, 1, false},
      {CornerUpRight, 0, 2, false}, {CornerUpLeft, 1, 2, false}, {Horizontal, 2, 2, false},
      {Vertical, 0, 0, true}, {Horizontal, 2, 1, true}, {Horizontal, 2, 2, true}},
     {{"]", ArrowX, MarkY(1)}}},
    // The ring: each neighbour, above and below as well as beside, grows an
    // end toward it, then the ring goes.
    {{{Horizontal, 1, 0, false}, {Vertical, 0, 1, false}, {Joiner, 1, 1, false}, {Vertical, 2, 1, false},
      {Horizontal, 1, 2, false},
      {TeeNoUp, 1, 0, true}, {TeeNoLeft, 0, 1, true}, {TeeNoRight, 2, 1, true}, {TeeNoDown, 1, 2, true}},
     {{"]", ArrowX, MarkY(1)}}},
    // A fish joins two neighbours whose ropes did not meet.
    {{{Vertical, 0, 1, false}, {Vertical, 1, 1, false}, {Horizontal, 3, 0, false}, {Horizontal, 3, 1, false},
      {TeeNoLeft, 0, 1, true}, {TeeNoRight, 1, 1, true}},
     {{"]", ArrowX, MarkY(1)}},
     BeforeX + 2 * Cell, PictureY + 2 * Cell},
};

struct Line {
    int y;
    const char* text;
};
struct Text {
    const char* title;
    Line lines[16];
};

constexpr int TextY = 168;
constexpr int Row(int n) { return TextY + 18 * n; }      // the narrow face
constexpr int KanaRow(int n) { return TextY + 20 * n; }  // katakana

const Text English[RulePageCount] = {
    {"SLIDING",
     {{Row(0), "A PAIR RESTING ON SOMETHING IS NOT LOCKED YET:"},
      {Row(1), "FOR ABOUT A SECOND BEFORE ITS NEXT FALL STEP"},
      {Row(2), "IT CAN STILL SLIDE LEFT OR RIGHT, ALSO INTO A"},
      {Row(3), "GAP UNDER A LEDGE. DOWN LOCKS IT AT ONCE."},
      {Row(5), "A MISTAKE? @o (PAD: $o) TAKES"},
      {Row(6), "BACK THE PAIR FALLING NOW, PRESSED AGAIN"},
      {Row(7), "BEFORE YOU PLAY ON, THE ONE BEFORE, BACK TO"},
      {Row(8), "THE FIRST. PLAY WAITS UNTIL YOU MOVE OR TURN."},
      {Row(10), "IN A PAUSED MISSION UP OR DOWN OPENS A MENU:"},
      {Row(11), "RESUME, UNDO, RETRY FROM THE START, GIVE UP."}}},
    {"SPLITTING",
     {{Row(0), "A FLAT PAIR THAT LANDS WITH ONE HALF ON A"},
      {Row(1), "BLOCK AND ONE OVER A GAP SPLITS: THE FREE"},
      {Row(2), "HALF DROPS ON ITS OWN."},
      {Row(4), "LOOPS ARE LOOKED FOR ONLY ONCE EVERYTHING HAS"},
      {Row(5), "STOPPED FALLING, SO A DROPPING HALF CAN STILL"},
      {Row(6), "CLOSE A LOOP WHERE IT COMES TO REST."},
      {Row(8), "A HALF TURNED UP INTO THE ROW ABOVE THE WELL"},
      {Row(9), "OVER A STONE COLUMN STAYS ON THE STONE, OUT"},
      {Row(10), "OF SIGHT, AND ITS PARTNER DROPS ALONE."}}},
    {"WHAT A LOOP ERASES",
     {{Row(0), "ONLY THE BLOCKS ON THE LOOP ARE ERASED. A"},
      {Row(1), "KNOT ON THE LOOP GOES WITH IT, BUT ITS LOOSE"},
      {Row(2), "BRANCH STAYS, AND SO DO BLOCKS RESTING ON THE"},
      {Row(3), "LOOP OR HANGING FROM IT: THEY FALL AFTER."},
      {Row(5), "A CHAIN GOAL COUNTS EXACTLY: A CHAIN OF 4 IS"},
      {Row(6), "NOT A CHAIN OF 3."},
      {Row(7), "A LOOP'S AREA IS ITS OWN BLOCKS AND THE CELLS"},
      {Row(8), "INSIDE IT: FOUR CORNERS MAKE AREA 4, A RING"},
      {Row(9), "OF 8 AROUND ONE CELL AREA 9."}}},
    {"THE JOINER RING",
     {{Row(0), "WHEN THE PAIRS STOP FALLING, EVERY ROPE BLOCK"},
      {Row(1), "NEXT TO A RING GROWS AN END TOWARD IT: THE"},
      {Row(2), "ONES ABOVE AND BELOW IT AS WELL AS THOSE"},
      {Row(3), "BESIDE IT. THEN THE RING VANISHES AND A BLOCK"},
      {Row(4), "ON TOP OF IT FALLS INTO ITS PLACE."}}},
    {"THE LINK ACTION",
     {{Row(0), "@g (PAD: $g BUTTON) SPENDS A FISH. THE"},
      {Row(1), "FALLING PAIR IS GIVEN UP, AND THE FISH PICKS"},
      {Row(2), "TWO NEIGHBOURING BLOCKS AT RANDOM, SIDE BY"},
      {Row(3), "SIDE OR ONE ABOVE THE OTHER, WHOSE ROPES DO"},
      {Row(4), "NOT MEET YET, AND GIVES EACH AN END TOWARD"},
      {Row(5), "THE OTHER."},
      {Row(7), "@g ONLY WORKS WHILE A PAIR IS FALLING: A PRESS"},
      {Row(8), "WHILE LOOPS BLINK, BLOCKS FALL OR A FISH IS"},
      {Row(9), "FLYING IS IGNORED."}}},
};

const Text Japanese[RulePageCount] = {
    {"ヨコ ニ スベラセル",
     {{KanaRow(0), "ナニカ ノ ウエ デ トマッテモ"},
      {KanaRow(1), "ツギ ニ オチル マデ ノ イチビョウ"},
      {KanaRow(2), "ホド ハ ヨコ ニ ウゴカセル"},
      {KanaRow(3), "ダン ノ シタ ノ スキマ ニモ"},
      {KanaRow(4), "DOWN デ スグ ニ トマル"},
      {KanaRow(6), "@o カ パッド ノ"},
      {KanaRow(7), "$o デ イマ ノ ペア ヲ"},
      {KanaRow(8), "ヤリナオス モウイチド オスト"},
      {KanaRow(9), "ヒトツ マエ ヘ ウゴカスト マタ ハジマル"},
      {KanaRow(11), "ミッション ノ ポーズ デ ウエ カ"},
      {KanaRow(12), "シタ ヲ オスト メニュー ガ デル"}}},
    {"ペア ガ ワカレル",
     {{KanaRow(0), "ヨコムキ ノ ペア ノ カタホウ ダケ"},
      {KanaRow(1), "ガ ブロック ニ ノルト ペア ハ"},
      {KanaRow(2), "ワカレテ モウ カタホウ ハ"},
      {KanaRow(3), "ヒトリ デ オチル"},
      {KanaRow(5), "ワ ヲ サガス ノハ スベテ ガ"},
      {KanaRow(6), "オチオワッテ カラ"},
      {KanaRow(7), "オチタ ブロック デモ ワ ニ ナル"},
      {KanaRow(9), "イド ノ ウエ デ イシ ノ ウエ ニ"},
      {KanaRow(10), "マワシタ カタホウ ハ ソコ ニ ノコリ"},
      {KanaRow(11), "モウ カタホウ ハ ヒトリ デ オチル"}}},
    {"ワ デ キエル ブロック",
     {{KanaRow(0), "キエル ノハ ワ ノ ウエ ノ"},
      {KanaRow(1), "ブロック ダケ ムスビ ノ ソト ヘ"},
      {KanaRow(2), "ノビル エダ ト ワ ニ ノッタ"},
      {KanaRow(3), "ブロック ハ ノコッテ オチル"},
      {KanaRow(5), "レンサ ハ ピッタリ ノ カズ"},
      {KanaRow(6), "4 レンサ ハ 3 レンサ デハ ナイ"},
      {KanaRow(7), "メンセキ ハ ワ ノ ブロック ト"},
      {KanaRow(8), "ソノ ナカ ノ マス ノ カズ"},
      {KanaRow(9), "ヨッツ ノ カド ナラ 4"}}},
    {"ムスビワ ノ ハタラキ",
     {{KanaRow(0), "オチオワルト ムスビワ ノ トナリ"},
      {KanaRow(1), "ノ ロープ ガ ムスビワ ヘ ノビル"},
      {KanaRow(2), "ヨコ ダケ デナク ウエ ト シタ モ"},
      {KanaRow(3), "ソノアト ムスビワ ハ キエテ"},
      {KanaRow(4), "ウエ ノ ブロック ガ オチテクル"}}},
    {"リンク アクション",
     {{KanaRow(0), "@g デ サカナ ヲ イッピキ ツカウ"},
      {KanaRow(1), "オチテイル ペア ハ ナクナリ"},
      {KanaRow(2), "サカナ ガ トナリアウ フタツ ノ"},
      {KanaRow(3), "ブロック ヲ ランダム ニ エラブ"},
      {KanaRow(4), "ヨコ カ タテ ニ ナラビ ロープ ガ"},
      {KanaRow(5), "マダ ツナガッテイナイ モノ"},
      {KanaRow(6), "リョウホウ ニ ロープ ガ ノビル"},
      {KanaRow(8), "@g ガ キクノハ ペア ガ オチテイル"},
      {KanaRow(9), "トキ ダケ ワ ガ キエル アイダ ヤ"},
      {KanaRow(10), "サカナ ガ トブ アイダ ハ キカナイ"}}},
};

int DrawWords(int page, bool japanese) {
    const Text& t = (japanese ? Japanese : English)[page];
    int missing = japanese ? DrawKanaText(t.title, 16, 16) : 0;
    if (!japanese) DrawGlyphText(t.title, 16, 16);
    for (const char* c = t.title; !japanese && *c; ++c) missing += *c < 32 || *c > 95;
    for (const Line& l : t.lines)
        if (l.text != nullptr) missing += DrawHelpLine(l.text, 8, l.y, japanese);
    return missing;
}

void DrawPicture(const Picture& p) {
    for (const Block& b : p.blocks)
        if (b.kind != Empty) DrawBlock(b.kind, 0, 0, (b.after ? AfterX : BeforeX) + Cell * b.col, PictureY + Cell * b.row);
    for (const Mark& m : p.marks)
        if (m.glyph != nullptr) DrawGlyphText(m.glyph, m.x, m.y);
    if (p.fishX != 0)
        MaskedFromSheet(BlockSheet, SheetFishX, SheetMaskY, SheetFishX, SheetImageY, SheetCell, SheetCell, p.fishX,
                        p.fishY);
}
}  // namespace

constexpr int RightEdge = 384 - 8;  // the pages' right margin

int DrawHelpLine(const char* keyed, int x, int y, bool japanese) {
    const std::string filled = WithKeyLabels(keyed, japanese);  // the keys as they are bound
    const char* text = filled.c_str();
    const int width = japanese ? 16 : 8;
    int missing = 0, at = x;
    for (const char* c = text; *c; ++c) {
        if ((*c & 0xC0) == 0x80) continue;  // inside a character of UTF-8
        at += width;
        missing += at > RightEdge;
        if (!japanese) missing += *c < 32 || *c > 95;
    }
    if (japanese) return missing + DrawKanaText(text, x, y);
    DrawNarrowText(text, x, y);
    return missing;
}

// The rule pages are counted apart, after the four pages before them.
void DrawRulePage(int page, bool japanese) {
    DrawPicture(Pictures[page]);
    DrawWords(page, japanese);
    const std::string back = WithKeyLabels("@i @f", japanese);
    if (japanese) DrawKanaText(FormatText("ルール%d/%d [] ページ %s モドル", page + 1, RulePageCount, back.c_str()), 8, 456);
    else DrawNarrowText(FormatText("RULES %d/%d   LEFT RIGHT: PAGES   %s: BACK", page + 1, RulePageCount, back.c_str()), 8, 456);
}

int RuleCharactersWithoutPicture(bool japanese) {
    int missing = 0;
    for (int page = 0; page < RulePageCount; ++page) missing += DrawWords(page, japanese);
    return missing;
}
