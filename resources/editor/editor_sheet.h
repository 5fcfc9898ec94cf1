// The mission editor's own pictures: its sheet (448 x 64) and its icon.
// Kept apart from the game's resources so the editor links none of the game.
#pragma once
#include <cstdint>

inline constexpr int EditorSheetWidth = 448;
inline constexpr int EditorSheetHeight = 64;

// Row after row, 0x00RRGGBB.
const uint32_t* EditorSheetPixels();

// The editor's window icon, square, 0xAARRGGBB; `size` receives the side.
const uint32_t* EditorIconPixels(int* size);
