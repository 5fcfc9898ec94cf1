// Pixel-drawn glyph bodies, 12 x 12 ('#' = ink), for the bitmap font and the
// katakana goal labels. The outline around the ink is added when they are placed.
#pragma once
#include <string_view>

struct GlyphBits {
    std::string_view key;  // the character (ASCII or one UTF-8 katakana)
    const char* rows[12];
};

// nullptr when the character has no drawing.
const GlyphBits* FindGlyph(std::string_view key);

// The narrow face, 6 x 12, for text set 8 pixels a character.
struct NarrowGlyphBits {
    char code;
    const char* rows[12];
};
const NarrowGlyphBits* FindNarrowGlyph(char code);
