// Text: the game's 16 x 16 bitmap font from the font sheet, the small face of
// the frame-rate figure, and the one shared buffer texts are formatted into.
#pragma once
#include "settings/language.h"

// Formats into the shared 64-byte text buffer (always terminated, never
// overrun) and returns it.
const char* FormatText(const char* format, ...) __attribute__((format(printf, 1, 2)));

// The language of the texts drawn (the goal line, the help pages). The game
// sets it at start-up from the player's choice and toggles it on L; tools
// and tests keep the original Japanese unless they choose.
extern Language TextLanguage;

inline constexpr int GlyphCell = 16;  // a character of the bitmap font, square

// Draws `text` into the back buffer from the font sheet, 16 pixels a
// character. Codes 32..127 have a cell; other codes draw nothing but still
// take their 16 pixels.
void DrawGlyphText(const char* text, int x, int y);

// Japanese text: UTF-8 with the font sheet's characters (codes 32..95) and
// the katakana of the katakana sheet, 16 pixels each. Returns how many
// characters it has no picture for (they take their 16 pixels blank).
int DrawKanaText(const char* text, int x, int y);

// The same in the narrow face, 8 pixels a character (codes 32..95).
void DrawNarrowText(const char* text, int x, int y);

// The same, placed so that the last glyph ends at x = right.
void DrawGlyphTextRightAligned(const char* text, int right, int y);

// The frame-rate line: white, 12 pixels high, transparent background.
void DrawSmallText(const char* text, int x, int y);
