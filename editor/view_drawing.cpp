#include "editor/view_drawing.h"

#include "editor/editor_model.h"
#include "resources/editor/editor_sheet.h"

namespace {
constexpr int Cell = 32;

// Copies a width x height rectangle of the sheet at (sx, sy) to (dx, dy), opaque.
void CopyFromSheet(ViewImage& view, int dx, int dy, int sx, int sy, int width, int height) {
    const uint32_t* sheet = EditorSheetPixels();
    for (int y = 0; y < height; ++y) {
        const uint32_t* src = sheet + size_t(sy + y) * EditorSheetWidth + size_t(sx);
        uint32_t* dst = view.pixels.data() + size_t(dy + y) * size_t(view.width) + size_t(dx);
        for (int x = 0; x < width; ++x) dst[x] = src[x] | 0xFF000000u;
    }
}

// A block image: the framed row only for kinds that have a framed image, and
// kinds the sheet does not have (from a loaded file) drawn as empty cells.
void DrawBlock(ViewImage& view, int dx, int dy, uint8_t kind, uint8_t frame) {
    if (kind > Wall) kind = Empty;
    bool framed = frame != 0 && kind >= 1 && kind <= 11;
    CopyFromSheet(view, dx, dy, Cell * kind, framed ? Cell : 0, Cell, Cell);
}

// One-pixel ring `inset` pixels inside the 32 x 32 cell at (x, y).
void Ring(ViewImage& view, int x, int y, int inset, uint32_t colour) {
    int first = inset, last = Cell - 1 - inset;
    for (int i = first; i <= last; ++i) {
        view.pixels[size_t(y + first) * size_t(view.width) + size_t(x + i)] = colour;
        view.pixels[size_t(y + last) * size_t(view.width) + size_t(x + i)] = colour;
        view.pixels[size_t(y + i) * size_t(view.width) + size_t(x + first)] = colour;
        view.pixels[size_t(y + i) * size_t(view.width) + size_t(x + last)] = colour;
    }
}

// One-pixel outline of the 32 x 32 cell at (x, y).
void Outline(ViewImage& view, int x, int y) { Ring(view, x, y, 0, OutlineColour); }

void SelectionOutline(ViewImage& view, int x, int y) {
    Outline(view, x, y);
    Ring(view, x, y, 1, SelectionColour);
    Ring(view, x, y, 2, SelectionColour);
}
}  // namespace

void DrawBoardView(ViewImage& view, int column, int row) {
    for (int c = 0; c <= 7; ++c)
        for (int r = 0; r <= 11; ++r) DrawBlock(view, Cell * c, Cell * r, BoardKind(c, r), BoardFrame(c, r));
    CopyFromSheet(view, Cell * 4, 0, 0, Cell, Cell, Cell);  // entry marker
    Outline(view, Cell * column, Cell * row);
}

void DrawQueueView(ViewImage& view, int pair, int half) {
    for (int p = 0; p < MissionPairs; ++p)
        for (int h = 0; h < 2; ++h)
            DrawBlock(view, 48 * (p % 4), 80 * (p / 4) + Cell * h, QueueKind(p, h), QueueFrame(p, h));
    Outline(view, 48 * (pair % 4), 80 * (pair / 4) + Cell * half);
}

void DrawPalettes(ViewImage& plain, ViewImage& framed) {
    CopyFromSheet(plain, 0, 0, 0, 0, PlainPaletteWidth, PaletteHeight);
    CopyFromSheet(framed, 0, 0, Cell, Cell, FramedPaletteWidth, PaletteHeight);
    if (SelectedFrame != 0)
        SelectionOutline(framed, Cell * (SelectedKind - 1), 0);
    else
        SelectionOutline(plain, Cell * SelectedKind, 0);
}
