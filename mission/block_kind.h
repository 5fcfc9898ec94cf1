// The kinds of block a cell of the well or a half of a pair holds, as stored
// in a mission file's bytes; shared by the game and the editor.
#pragma once
#include <cstdint>

enum BlockKind : uint8_t {
    Empty = 0,
    Horizontal = 1,
    Vertical = 2,
    CornerDownLeft = 3,
    CornerUpLeft = 4,
    CornerUpRight = 5,
    CornerDownRight = 6,
    TeeNoUp = 7,
    TeeNoRight = 8,
    TeeNoDown = 9,
    TeeNoLeft = 10,
    Cross = 11,
    Joiner = 12,
    Wall = 13,
};
inline constexpr int KindCount = 14;
