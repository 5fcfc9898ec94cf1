// The four views' pictures, composed from the editor sheet and EditorMission
// into plain pixel buffers (0xAARRGGBB; alpha 0 where a view shows what lies
// beneath it, the gaps of the queue view). The widgets only show them.
#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

struct ViewImage {
    ViewImage(int w, int h) : width(w), height(h), pixels(size_t(w) * size_t(h)) {}
    uint32_t At(int x, int y) const { return pixels[size_t(y) * size_t(width) + size_t(x)]; }
    int width;
    int height;
    std::vector<uint32_t> pixels;
};

inline constexpr uint32_t OutlineColour = 0xFF000000;
// The palettes' selection: the black outline with a two-pixel band of this
// inside it, which reads on the framed blocks' red marks too.
inline constexpr uint32_t SelectionColour = 0xFF1E64FF;
// The keyboard cursor of the view that has the focus: a band inside its cell.
inline constexpr uint32_t FocusColour = 0xFFFF8C00;

// The whole board (rows 0..11), the entry marker on column 4, row 0, and the
// outline on (column, row).
void DrawBoardView(ViewImage& view, int column, int row);
// The eight pairs and the outline on (pair, half).
void DrawQueueView(ViewImage& view, int pair, int half);
// Both palette strips and the selection outline on one of them.
void DrawPalettes(ViewImage& plain, ViewImage& framed);
