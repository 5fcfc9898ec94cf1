#include "rules/board.h"

#include <cstring>

constinit BoardLayers Board{};
constinit uint8_t RopeSides[KindCount][4];
constinit uint8_t NextGroupId;

void FillRopeSides() { std::memcpy(RopeSides, KindRopeSides, sizeof KindRopeSides); }

void SetBoardWalls() {
    for (int r = HiddenRow; r <= FloorRow; ++r) {
        SetKind(LeftWallColumn, r, Wall);
        SetKind(RightWallColumn, r, Wall);
    }
    for (int c = 0; c <= RightWallColumn; ++c) SetKind(c, FloorRow, Wall);
}

bool SameSides(const uint8_t a[4], const uint8_t b[4]) {
    return a[0] == b[0] && a[1] == b[1] && a[2] == b[2] && a[3] == b[3];
}

int KindWithSides(const uint8_t sides[4]) {
    for (int k = Horizontal; k <= Cross; ++k)
        if (SameSides(RopeSides[k], sides)) return k;
    return -1;
}

uint8_t AddRopeSide(uint8_t kind, int side) {
    if (kind >= KindCount) return kind;
    uint8_t sides[4];
    std::memcpy(sides, RopeSides[kind], 4);
    sides[side] = 1;
    int k = KindWithSides(sides);
    return k < 0 ? kind : uint8_t(k);
}

bool JoinedTo(int c, int r, int side) {
    return HasSide(GetKind(c, r), side) && HasSide(GetKind(c + SideDx[side], r + SideDy[side]), OppositeSide(side));
}

void ClearBoard() {
    for (int c = 0; c <= LastColumn; ++c) {
        for (int r = HiddenRow; r <= BottomRow; ++r) {
            SetKind(c, r, Empty);
            SetGroup(c, r, 0);
        }
        for (int r = TopRow; r <= BottomRow; ++r) SetFrame(c, r, 0);
    }
}

uint8_t TakeGroupId() {
    uint8_t id = NextGroupId;
    NextGroupId = uint8_t(NextGroupId % GroupLabels + 1);
    return id;
}
