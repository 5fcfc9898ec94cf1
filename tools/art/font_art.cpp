// The font sheet: 16 x 16 glyphs with a dark outline, and the katakana goal
// labels, images in the top half and masks 256 pixels lower.
#include <string>
#include <string_view>
#include <vector>

#include "draw/kana_layout.h"
#include "draw/sheet_layout.h"
#include "tools/art/art.h"
#include "tools/art/art_draw.h"
#include "tools/art/glyphs.h"

namespace {
const Colour Outline{22, 30, 82};

// Light ink, white at the top warming to gold at the foot of the glyph.
uint32_t InkColour(int row) {
    return ToRgb(Mix({255, 254, 244}, {255, 208, 96}, float(row) / 11.0f));
}

// A strip 16 pixels high being inked before its outline is added.
struct Strip {
    int width;
    std::vector<uint8_t> ink;
    explicit Strip(int w) : width(w), ink(size_t(w) * 16, 0) {}
    bool At(int x, int y) const { return x >= 0 && y >= 0 && x < width && y < 16 && ink[size_t(y * width + x)]; }
};

void PlaceNarrowGlyph(Strip& strip, const NarrowGlyphBits& g, int x) {
    for (int row = 0; row < 12; ++row)
        for (int col = 0; col < 6; ++col)
            if (g.rows[row][col] == '#') strip.ink[size_t((2 + row) * strip.width + x + col)] = 1;
}

void PlaceGlyph(Strip& strip, const GlyphBits& g, int x) {
    for (int row = 0; row < 12; ++row)
        for (int col = 0; col < 12; ++col)
            if (g.rows[row][col] == '#' && x + col < strip.width) strip.ink[size_t((2 + row) * strip.width + x + col)] = 1;
}

// UTF-8 text, one 16-pixel cell per character, spaces left empty.
void PlaceText(Strip& strip, std::string_view text, int x) {
    for (size_t i = 0; i < text.size(); x += 16) {
        size_t len = (text[i] & 0x80) == 0 ? 1 : (text[i] & 0xE0) == 0xC0 ? 2 : (text[i] & 0xF0) == 0xE0 ? 3 : 4;
        if (const GlyphBits* g = FindGlyph(text.substr(i, len))) PlaceGlyph(strip, *g, x + 2);
        i += len;
    }
}

void WriteStrip(Surface& sheet, const Strip& strip, int x0, int y0, int maskOffset = 256) {
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < strip.width; ++x) {
            uint32_t image = White, mask = Black;
            if (strip.At(x, y)) {
                image = InkColour(y - 2);
                mask = White;
            } else {
                for (int dy = -1; dy <= 1; ++dy)
                    for (int dx = -1; dx <= 1; ++dx)
                        if (strip.At(x + dx, y + dy)) {
                            image = ToRgb(Outline);
                            mask = White;
                        }
            }
            sheet.At(x0 + x, y0 + y) = image;
            sheet.At(x0 + x, y0 + y + maskOffset) = mask;
        }
}
}  // namespace

void DrawKanaSheet(Surface& sheet) {
    sheet.Create(KanaSheetWidth, KanaSheetHeight);
    FillRect(sheet, 0, KanaMaskOffset, KanaSheetWidth, KanaMaskOffset, Black);
    const std::string_view order = KanaOrder;
    for (size_t at = 0, cell = 0; at < order.size(); at += 3, ++cell) {  // each katakana is three bytes of UTF-8
        Strip strip(16);
        if (const GlyphBits* g = FindGlyph(order.substr(at, 3))) PlaceGlyph(strip, *g, 2);
        WriteStrip(sheet, strip, 16 * int(cell % 16), 16 * int(cell / 16), KanaMaskOffset);
    }
}

void DrawFontSheet(Surface& sheet) {
    sheet.Create(256, 512);
    FillRect(sheet, 0, 256, 256, 256, Black);
    for (int code = 32; code < 96; ++code) {
        const GlyphBits* g = code == '@' ? nullptr : FindGlyph(std::string(1, char(code)));
        if (g == nullptr) continue;
        Strip strip(16);
        PlaceGlyph(strip, *g, 2);
        int index = code - 32;
        WriteStrip(sheet, strip, 16 * (index % 16), 16 * (index / 16));
    }
    // Goal labels, one row per goal type, where the status panel takes them.
    struct Label { int y, x; const char* text; };
    static const Label labels[] = {
        {64, 0, "レンサ セヨ"},
        {80, 0, "ブロック ケセ"},
        {96, 0, "ブロック ドウジニ ケセ"},
        {112, 0, "ワクブロック スベテ ケセ"},  // its last two letters also end goal type 4's line
        {128, 0, "ワクブロック スベテ ドウジニ"},
        {144, 0, "メンセキ"},
        {144, 80, "ノ ループ ツクレ"},
        {176, 0, "サカナ"},
        {176, 64, "ヒキ トラエヨ"},
    };
    for (int y = 64; y < 192; y += 16) {
        Strip strip(256);
        for (const Label& l : labels)
            if (l.y == y) PlaceText(strip, l.text, l.x);
        if (y == 160) {
            // "Pts." in small letters so that it and "トレ" fit the 80-pixel label.
            PlaceGlyph(strip, *FindGlyph("P"), 2);
            PlaceGlyph(strip, *FindGlyph("t"), 14);
            PlaceGlyph(strip, *FindGlyph("s"), 22);
            PlaceGlyph(strip, *FindGlyph("."), 28);
            PlaceText(strip, "トレ", 36);
        }
        WriteStrip(sheet, strip, 0, y);
    }
    // The narrow face: codes 32 to 95 in 8-pixel cells, 32 to a row, in rows
    // 12 and 13; the English goal lines and the help pages are set in it.
    for (int row = 0; row < 2; ++row) {
        Strip strip(256);
        for (int i = 0; i < 32; ++i)
            if (const NarrowGlyphBits* g = FindNarrowGlyph(char(32 + 32 * row + i))) PlaceNarrowGlyph(strip, *g, 8 * i + 1);
        WriteStrip(sheet, strip, 0, NarrowFontY + 16 * row);
    }
}
