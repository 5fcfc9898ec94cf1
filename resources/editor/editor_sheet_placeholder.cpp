// Stand-in editor pictures until the generated art is embedded: each kind a
// grey cell with its number of dark dots, the framed row with a dark border.
#include <array>

#include "resources/editor/editor_sheet.h"

namespace {
std::array<uint32_t, EditorSheetWidth * EditorSheetHeight> sheet;
std::array<uint32_t, 32 * 32> icon;

void Build() {
    for (int y = 0; y < EditorSheetHeight; ++y)
        for (int x = 0; x < EditorSheetWidth; ++x) {
            int kind = x / 32, cx = x % 32, cy = y % 32;
            uint32_t c = kind == 0 ? 0xFFFFFF : 0xC8D0E0;
            if (y >= 32 && (cx < 2 || cy < 2 || cx > 29 || cy > 29)) c = 0x404060;
            if (cy >= 8 && cy < 12 && cx >= 2 && cx < 2 + 2 * kind && cx % 2 == 0) c = 0x202020;
            sheet[size_t(y) * EditorSheetWidth + size_t(x)] = c;
        }
    for (auto& p : icon) p = 0xFF3278C8;
}
}  // namespace

const uint32_t* EditorSheetPixels() {
    if (sheet[0] == 0) Build();
    return sheet.data();
}

const uint32_t* EditorIconPixels(int* size) {
    if (sheet[0] == 0) Build();
    *size = 32;
    return icon.data();
}
