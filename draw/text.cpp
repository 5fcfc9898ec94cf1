#include "draw/text.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <string_view>

#include "draw/kana_layout.h"
#include "draw/sheet_layout.h"
#include "draw/surface.h"
#include "draw/surfaces.h"

constinit Language TextLanguage = Language::Japanese;

static char TextBuffer[64];

const char* FormatText(const char* format, ...) {
    va_list args;
    va_start(args, format);
    std::vsnprintf(TextBuffer, sizeof TextBuffer, format, args);
    va_end(args);
    return TextBuffer;
}

void DrawGlyphText(const char* text, int x, int y) {
    for (int i = 0; text[i] != '\0'; ++i) {
        int code = static_cast<unsigned char>(text[i]);
        if (code < 32 || code > 127) continue;
        int g = code - 32;
        int sx = 16 * (g % 16), sy = 16 * (g / 16);
        MaskedFromSheet(FontSheet, sx, sy + FontMaskOffset, sx, sy, 16, 16, x + 16 * i, y);
    }
}

int DrawKanaText(const char* text, int x, int y) {
    const std::string_view s = text;
    int missing = 0;
    for (size_t at = 0; at < s.size(); x += 16) {
        unsigned char c = static_cast<unsigned char>(s[at]);
        if (c < 0x80) {
            if (c >= 32 && c <= 95) {
                int g = c - 32;
                int sx = 16 * (g % 16), sy = 16 * (g / 16);
                MaskedFromSheet(FontSheet, sx, sy + FontMaskOffset, sx, sy, 16, 16, x, y);
            } else {
                ++missing;
            }
            ++at;
            continue;
        }
        size_t length = c >= 0xF0 ? 4 : c >= 0xE0 ? 3 : 2;
        size_t found = KanaOrder.find(s.substr(at, length));
        if (length == 3 && found != std::string_view::npos && found % 3 == 0) {
            int cell = int(found / 3), sx = 16 * (cell % 16), sy = 16 * (cell / 16);
            MaskedFromSheet(KanaSheet, sx, sy + KanaMaskOffset, sx, sy, 16, 16, x, y);
        } else {
            ++missing;
        }
        at += length;
    }
    return missing;
}

void DrawNarrowText(const char* text, int x, int y) {
    for (int i = 0; text[i] != '\0'; ++i) {
        int code = static_cast<unsigned char>(text[i]);
        if (code < 32 || code > 95) continue;
        int g = code - 32;
        int sx = NarrowCell * (g % 32), sy = NarrowFontY + 16 * (g / 32);
        MaskedFromSheet(FontSheet, sx, sy + FontMaskOffset, sx, sy, NarrowCell, 16, x + NarrowCell * i, y);
    }
}

void DrawGlyphTextRightAligned(const char* text, int right, int y) {
    DrawGlyphText(text, right - 16 * int(std::strlen(text)), y);
}

// A plain 5 x 8 face for the frame-rate line, drawn in a 7 x 12 cell: each
// glyph is eight rows of five bits, most significant bit on the left.
namespace {
struct SmallGlyph {
    char code;
    unsigned char rows[8];
};
const SmallGlyph SmallFace[] = {
    {'0', {0x0E, 0x11, 0x13, 0x15, 0x19, 0x11, 0x0E, 0}}, {'1', {0x04, 0x0C, 0x04, 0x04, 0x04, 0x04, 0x0E, 0}},
    {'2', {0x0E, 0x11, 0x01, 0x02, 0x04, 0x08, 0x1F, 0}}, {'3', {0x1F, 0x02, 0x04, 0x02, 0x01, 0x11, 0x0E, 0}},
    {'4', {0x02, 0x06, 0x0A, 0x12, 0x1F, 0x02, 0x02, 0}}, {'5', {0x1F, 0x10, 0x1E, 0x01, 0x01, 0x11, 0x0E, 0}},
    {'6', {0x06, 0x08, 0x10, 0x1E, 0x11, 0x11, 0x0E, 0}}, {'7', {0x1F, 0x01, 0x02, 0x04, 0x08, 0x08, 0x08, 0}},
    {'8', {0x0E, 0x11, 0x11, 0x0E, 0x11, 0x11, 0x0E, 0}}, {'9', {0x0E, 0x11, 0x11, 0x0F, 0x01, 0x02, 0x0C, 0}},
    {'F', {0x1F, 0x10, 0x10, 0x1E, 0x10, 0x10, 0x10, 0}}, {'P', {0x1E, 0x11, 0x11, 0x1E, 0x10, 0x10, 0x10, 0}},
    {'S', {0x0F, 0x10, 0x10, 0x0E, 0x01, 0x01, 0x1E, 0}}, {'-', {0, 0, 0, 0x1F, 0, 0, 0, 0}},
};
}  // namespace

void DrawSmallText(const char* text, int x, int y) {
    for (int i = 0; text[i] != '\0'; ++i) {
        for (const SmallGlyph& g : SmallFace) {
            if (g.code != text[i]) continue;
            for (int row = 0; row < 8; ++row)
                for (int col = 0; col < 5; ++col)
                    if (g.rows[row] & (0x10 >> col)) FillRect(BackBuffer, x + 7 * i + col, y + 2 + row, 1, 1, White);
        }
    }
}
