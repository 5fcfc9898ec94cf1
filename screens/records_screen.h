// The records screen: the five places of the best-score table.
#pragma once
#include <cstdint>

// Draws `text` so that its last glyph ends at x = right.
void DrawRightAlignedText(const char* text, int right, int y);
